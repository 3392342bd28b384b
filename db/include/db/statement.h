// The vocabulary of a statement: the channel it travels on, the guard that
// decides what its failure does, and the record an observer receives.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "db/connection.h"
#include "db/feedback.h"

namespace db {

enum class Channel {
  Single,     // one command text (qryExec)
  Lines,      // a multi-line statement, every line ended by CR LF (qryUpd)
  Probe,      // a query whose rows are counted or read (qrySel and other queries)
  Separate,   // a command object of its own (cmd, the stored command scripts)
  Discovery,  // a tenant list on the discovery connection (qryMand, qryMandAll)
  Session,    // a session setting sent right after a connection opened
};

class Guard {
 public:
  enum class Kind { Silent, Reported, Unguarded };

  static Guard silent() { return Guard(Kind::Silent, Report::Plain); }
  static Guard unguarded() { return Guard(Kind::Unguarded, Report::Plain); }
  static Guard warning() { return Guard(Kind::Reported, Report::Warning); }
  static Guard error() { return Guard(Kind::Reported, Report::Error); }
  static Guard plain() { return Guard(Kind::Reported, Report::Plain); }

  Kind kind() const { return kind_; }
  // The dialog of a reported guard.
  Report report() const { return report_; }
  bool operator==(const Guard&) const = default;

 private:
  Guard(Kind kind, Report report) : kind_(kind), report_(report) {}
  Kind kind_;
  Report report_;
};

// One statement as it was sent, and how it ended.
struct StatementRecord {
  Channel channel;
  Guard guard;
  std::string text;
  std::optional<std::string> error;  // nullopt: the server accepted it
  std::vector<Parameter> params;     // the values of a parameterised statement
  // Not sent: the step could not apply (an empty script, a table that does
  // not exist yet). The text says what was left out and why.
  bool skipped = false;
  // The database of the connection it went to.
  std::string database;
  int error_number = 0;  // the server's message number of a failure, 0 if none
  // Rows affected (a query: rows read); -1 when the server did not say.
  long long rows = -1;

  bool ok() const { return !error; }
};

const char* to_string(Channel channel);
std::string to_string(const Guard& guard);
// "@name=value" as a transcript shows it: integers in decimal, texts in
// single quotes, dates as yyyy-mm-dd, NULL.
std::string to_string(const Parameter& param);

}  // namespace db
