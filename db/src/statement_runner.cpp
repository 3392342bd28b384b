#include "db/statement_runner.h"

#include "db/sql_text.h"

namespace db {
namespace {

// What ADO answers for an empty command text; we refuse it the same way for
// every backend, before anything reaches the server.
constexpr const char* kEmptyCommandText = "Command text was not set for the command object.";

}  // namespace

StatementRunner::StatementRunner(Connections& connections, Feedback& feedback)
    : connections_(connections), feedback_(feedback) {}

void StatementRunner::notify(const StatementRecord& record) {
  for (const auto& observer : observers_) observer(record);
}

template <typename Send>
bool StatementRunner::guarded(Channel channel, std::string_view text, Guard guard, Send send,
                              std::span<const Parameter> params) {
  StatementRecord record{channel, guard, std::string(text), std::nullopt,
                         std::vector<Parameter>(params.begin(), params.end())};
  try {
    if (text.empty()) throw DbError(kEmptyCommandText);
    send(connections_.work());
  } catch (const DbError& e) {
    record.error = e.what();
  }
  notify(record);
  if (record.ok()) return true;
  switch (guard.kind()) {
    case Guard::Kind::Silent: break;
    case Guard::Kind::Reported: feedback_.report(guard.report(), *record.error); break;
    case Guard::Kind::Unguarded: throw DbError(*record.error);
  }
  return false;
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
  return guarded(channel, text, guard, [&](Connection& c) { c.execute(text); });
}

bool StatementRunner::run_lines(const std::vector<std::string>& lines, Guard guard) {
  return run(Channel::Lines, join_lines_crlf(lines), guard);
}

bool StatementRunner::run_with(Channel channel, std::string_view text,
                               std::span<const Parameter> params, Guard guard) {
  open_unit_transaction();
  return guarded(
      channel, text, guard, [&](Connection& c) { c.execute(text, params); }, params);
}

void StatementRunner::skip(Channel channel, std::string_view what, Guard guard) {
  StatementRecord record{channel, guard, std::string(what), std::nullopt, {}};
  record.skipped = true;
  notify(record);
}

Rowset StatementRunner::query(Channel channel, std::string_view text, Guard guard) {
  Rowset rows;
  guarded(channel, text, guard, [&](Connection& c) { rows = c.query(text); });
  return rows;
}

}  // namespace db
