// Writes a run's statements and what the user saw in the one plain-text
// form that both the approved transcripts and the statement log use: one
// entry per statement with its channel, guard and outcome, then its exact
// text. CR and LF are written as \r and \n (a real line break follows each
// \n) and the text ends in "|", so that trailing blanks and line ends show.
// Parameter values follow the text, one per line.
//
// Two abbreviations keep it readable: a statement whose text is a whole
// stored script shows the script's name (`sqlupdate --print-script NAME`
// prints the text exactly), and the batches of the GO-batch runner (plain
// message box guard, lines ended by LF) are folded into one entry with their
// count of failures and the first failure's text; they are written when the
// next entry comes or at finish().
#pragma once

#include <functional>
#include <ostream>
#include <string>
#include <string_view>

#include "db/statement.h"

namespace upgrade {

struct TranscriptStyle {
  // A date parameter that is today's shows as "today", so that an approved
  // file holds on any day.
  bool today_as_word = true;
  // The outcome with the rows affected (or read) and the server's message
  // number of a failure, which the approved transcripts leave out.
  bool show_counts = false;
  // Written before the first line of every entry, given the entry's
  // database (the log's time and database columns); none when empty.
  std::function<std::string(std::string_view database)> stamp;
};

class TranscriptWriter {
 public:
  explicit TranscriptWriter(std::ostream& out, TranscriptStyle style = {});
  ~TranscriptWriter() { finish(); }
  TranscriptWriter(const TranscriptWriter&) = delete;
  TranscriptWriter& operator=(const TranscriptWriter&) = delete;

  void statement(const db::StatementRecord& record);
  // A line on what the user saw ("[progress] counter 3", a dialog, ...),
  // written as given.
  void note(std::string_view text);
  // Writes the batches still folded. Every entry is flushed to the stream.
  void finish();

 private:
  void write_statement(const db::StatementRecord& record);
  void begin_entry(std::string_view database);

  std::ostream& out_;
  TranscriptStyle style_;
  std::string last_database_;
  size_t batches_ = 0;
  size_t failed_batches_ = 0;
  std::string first_batch_failure_;
};

// `text` with CR and LF made visible (see above).
std::string escaped(std::string_view text);

// The name of the stored script that `text` is, sent whole (its text, or its
// lines each followed by CR LF); empty when it is none.
std::string stored_script_name(std::string_view text);

// A batch of the GO-batch runner: sent on qryExec under the plain message
// box, its lines each ended by LF.
bool is_script_batch(const db::StatementRecord& record);

}  // namespace upgrade
