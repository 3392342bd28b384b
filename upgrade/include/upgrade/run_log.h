// The statement log of a run (sqlupdate --log FILE), for the administrator
// who has to say afterwards what the tool did to which database. It is
// appended to as the run goes and flushed after every entry, so that a
// crash loses nothing written before it.
//
// Every entry begins with the wall-clock time and the database it concerns,
// then follows the form of the approved transcripts (transcript_writer.h):
// each statement with channel, guard and outcome (rows affected, or the
// server's message number and text), its text as sent and its parameter
// values; each caption, progress value and dialog as a note; the run's
// summary last. No password reaches it: statement texts carry none, and
// the connections filter it out of every error they pass on.
#pragma once

#include <filesystem>
#include <fstream>
#include <ostream>
#include <string_view>

#include "db/statement.h"
#include "upgrade/transcript_writer.h"

namespace upgrade {

class RunLog {
 public:
  // Appends to `path`. Throws std::runtime_error naming the file and the
  // reason when it cannot be opened for writing.
  explicit RunLog(const std::filesystem::path& path);
  // Writes to `out` instead of a file.
  explicit RunLog(std::ostream& out);

  void statement(const db::StatementRecord& record) { writer_.statement(record); }
  void note(std::string_view text) { writer_.note(text); }

 private:
  std::ofstream file_;
  TranscriptWriter writer_;
};

// "2026-03-09 14:02:11.372", local time: the first column of every entry.
std::string log_time_stamp();

}  // namespace upgrade
