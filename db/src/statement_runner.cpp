#include "db/statement_runner.h"

#include "db/sql_text.h"

namespace db {
namespace {

// What ADO answers for an empty command text; we refuse it the same way for
// every backend, before anything reaches the server.
constexpr const char* kEmptyCommandText = "Command text was not set for the command object.";

// Sent on every connection the tool opens, before anything else.
constexpr const char* kSessionDateFormat = "SET DATEFORMAT dmy";

}  // namespace

StatementRunner::StatementRunner(Connections& connections, Feedback& feedback)
    : connections_(connections), feedback_(feedback) {
  connections_.set_session_setup(
      [this](Connection& c, std::string_view catalogue) { send_session_settings(c, catalogue); });
}

StatementRunner::~StatementRunner() { connections_.set_session_setup({}); }

void StatementRunner::notify(const StatementRecord& record) {
  for (const auto& observer : observers_) observer(record);
}

StatementRecord StatementRunner::record_of(Channel channel, std::string_view text, Guard guard,
                                           std::span<const Parameter> params) const {
  const std::string& database =
      channel == Channel::Discovery ? connections_.discovery_catalogue() : connections_.current_database();
  return StatementRecord{
      channel, guard,   std::string(text), std::nullopt, std::vector<Parameter>(params.begin(), params.end()),
      false,   database};
}

Connection& StatementRunner::target(Channel channel) {
  return channel == Channel::Discovery ? connections_.discovery() : connections_.work();
}

// `send` obtains its connection itself (opening it again may send the
// session settings first, and those are recorded before this statement) and
// returns the rows affected or read.
template <typename Send>
bool StatementRunner::guarded(StatementRecord record, Send send) {
  try {
    if (record.text.empty()) throw DbError(kEmptyCommandText);
    record.rows = send();
  } catch (const DbError& e) {
    record.error = e.what();
    record.error_number = e.number();
  }
  notify(record);
  if (record.ok()) return true;
  switch (record.guard.kind()) {
    case Guard::Kind::Silent: break;
    case Guard::Kind::Reported: feedback_.report(record.guard.report(), *record.error); break;
    case Guard::Kind::Unguarded: throw DbError(*record.error, record.error_number);
  }
  return false;
}

// Unguarded: a connection without its date order would read the dates of
// the stored scripts wrongly, so its opening fails instead.
void StatementRunner::send_session_settings(Connection& connection, std::string_view catalogue) {
  StatementRecord record = record_of(Channel::Session, kSessionDateFormat, Guard::unguarded());
  record.database = std::string(catalogue);
  guarded(std::move(record), [&] {
    connection.execute(kSessionDateFormat);
    return connection.rows_affected();
  });
}

void StatementRunner::begin_unit() { ++unit_depth_; }

void StatementRunner::end_unit(bool commit) {
  if (--unit_depth_ > 0 || !unit_transaction_open_) return;
  unit_transaction_open_ = false;
  if (commit)
    run(Channel::Single, "COMMIT TRANSACTION", Guard::unguarded());
  else
    run(Channel::Single, "ROLLBACK TRANSACTION", Guard::silent());
}

// Probes never open the transaction: a unit whose marker is in place writes
// nothing and needs none.
void StatementRunner::open_unit_transaction() {
  if (unit_depth_ == 0 || unit_transaction_open_) return;
  unit_transaction_open_ = true;
  run(Channel::Single, "BEGIN TRANSACTION", Guard::unguarded());
}

bool StatementRunner::run(Channel channel, std::string_view text, Guard guard) {
  open_unit_transaction();
  return guarded(record_of(channel, text, guard), [&] {
    Connection& connection = target(channel);
    connection.execute(text);
    return connection.rows_affected();
  });
}

bool StatementRunner::run_lines(const std::vector<std::string>& lines, Guard guard) {
  return run(Channel::Lines, join_lines_crlf(lines), guard);
}

bool StatementRunner::run_with(Channel channel, std::string_view text, std::span<const Parameter> params, Guard guard) {
  open_unit_transaction();
  return guarded(record_of(channel, text, guard, params), [&] {
    Connection& connection = target(channel);
    connection.execute(text, params);
    return connection.rows_affected();
  });
}

void StatementRunner::skip(Channel channel, std::string_view what, Guard guard) {
  StatementRecord record = record_of(channel, what, guard);
  record.skipped = true;
  notify(record);
}

Rowset StatementRunner::query(Channel channel, std::string_view text, Guard guard) {
  Rowset rows;
  guarded(record_of(channel, text, guard), [&] {
    rows = target(channel).query(text);
    return static_cast<long long>(rows.rows.size());
  });
  return rows;
}

}  // namespace db
