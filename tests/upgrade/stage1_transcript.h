// The log of a run in the approved form: one entry per statement with
// its channel, guard and outcome, then its exact text. CR and LF are written
// as \r and \n (a real line break follows each \n) and the text ends in "|",
// so that trailing blanks and line ends show in a diff. Progress values
// (with the counter), dialogs and close requests show where they happen. The batches of a
// stored script (plain message box guard) are folded into one entry with
// their count and a checksum of their texts: the scripts have their own
// tests, the transcript guards where and how often they run. For the same
// reason a statement whose text is a whole stored script shows the script's
// name instead of its text. Parameter values follow the text; a date that
// is today's shows as "today", so that the approved file holds on any day.
// A step left out shows as "skipped" with the reason.
#pragma once

#include <ctime>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "db/statement.h"
#include "scripts/catalog.h"
#include "stage1_fixture.h"

namespace stage1_testing {

inline std::string escaped(const std::string& text) {
  std::string out;
  for (char c : text) {
    if (c == '\r')
      out += "\\r";
    else if (c == '\n')
      out += "\\n\n";
    else
      out += c;
  }
  return out;
}

// The name of the stored script that `text` is, sent whole (its text, or
// its lines each followed by CR LF); empty when it is none.
inline std::string stored_script_name(const std::string& text) {
  for (const scripts::Script& s : scripts::all()) {
    if (s.text.empty() || text.size() < s.text.size() || text.size() > s.text.size() + 2) continue;
    const std::string_view rest = std::string_view(text).substr(s.text.size());
    if (text.compare(0, s.text.size(), s.text) == 0 && (rest.empty() || rest == "\r\n"))
      return std::string(s.name);
  }
  return {};
}

inline std::string shown_parameter(const db::Parameter& p) {
  if (p.kind == db::Parameter::Kind::Date) {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    if (local.tm_year + 1900 == p.year && local.tm_mon + 1 == p.month && local.tm_mday == p.day)
      return "@" + p.name + "=today";
  }
  return db::to_string(p);
}

inline std::string shown_outcome(const db::StatementRecord& r) {
  if (r.skipped) return "skipped";
  return r.ok() ? "ok" : "failed: " + *r.error;
}

// A batch of the GO-batch runner: sent on qryExec under the plain message
// box, its lines each ended by LF.
inline bool is_script_batch(const Entry& e) {
  return e.statement && e.statement->channel == db::Channel::Single &&
         e.statement->guard == db::Guard::plain() && !e.statement->text.empty() &&
         e.statement->text.back() == '\n';
}

inline std::string format_transcript(const std::vector<Entry>& log) {
  std::ostringstream out;
  for (size_t i = 0; i < log.size();) {
    if (!log[i].statement) {
      out << log[i++].note << "\n";
      continue;
    }
    if (is_script_batch(log[i])) {
      size_t failed = 0;
      std::string first_failure;
      for (; i < log.size() && is_script_batch(log[i]); ++i) {
        const db::StatementRecord& batch = *log[i].statement;
        if (!batch.ok() && failed++ == 0) first_failure = *batch.error;
      }
      out << "[script batches] " << failed << " failed" << (failed ? ", first: " + first_failure : "")
          << "\n";
      continue;
    }
    const db::StatementRecord& r = *log[i++].statement;
    out << "[" << db::to_string(r.channel) << " " << db::to_string(r.guard) << " " << shown_outcome(r)
        << "]\n";
    if (std::string script = stored_script_name(r.text); !script.empty())
      out << "<stored script " << script << ">|\n";
    else
      out << escaped(r.text) << "|\n";
    for (const db::Parameter& p : r.params) out << "  " << shown_parameter(p) << "\n";
  }
  return out.str();
}

inline std::filesystem::path approved_path(const std::string& name) {
  const char* source = std::getenv("SQLUPDATE_SOURCE_DIR");
  std::filesystem::path root = source ? source : ".";
  return root / "tests" / "approved" / name;
}

// Compares `received` with the approved file; on a difference writes it
// beside the approved one as <name>.received for review.
inline ::testing::AssertionResult matches_approved(const std::string& name,
                                                   const std::string& received) {
  std::filesystem::path path = approved_path(name);
  std::ifstream in(path, std::ios::binary);
  std::stringstream approved;
  approved << in.rdbuf();
  if (in && approved.str() == received) return ::testing::AssertionSuccess();
  std::filesystem::path out = path;
  out += ".received";
  std::ofstream(out, std::ios::binary) << received;
  return ::testing::AssertionFailure() << "transcript differs from " << path << "; see " << out;
}

}  // namespace stage1_testing
