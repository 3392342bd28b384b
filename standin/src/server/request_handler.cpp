#include "server/request_handler.h"

#include <atomic>

#include "server/parameter_declarations.h"

namespace standin::server {

using tds::ProcId;
using tds::RpcCall;
using tds::Token;
using tds::TokenWriter;

namespace {

constexpr int kFirstErrorSeverity = 11;
constexpr int kMsgProcedureNotFound = 2812;
constexpr int kMsgBadParameter = 8144;
constexpr int kMsgNoPreparedHandle = 8179;
constexpr int kMsgNoCoordinator = 8501;
constexpr int kMsgEngineRefusal = 50000;

// Transaction descriptors are unique across the server's sessions, never 0
// (what a client sends outside a transaction).
std::atomic<uint64_t> last_descriptor{0};

std::string bracketed(std::string_view name) {
  std::string out = "[";
  for (char c : name) out += c == ']' ? std::string("]]") : std::string(1, c);
  return out + "]";
}

std::string text_of(const Value& v) { return v.is_null() ? std::string() : v.string_value(); }

bool is_text(const RpcCall& call, size_t i) {
  return i < call.parameters.size() && call.parameters[i].value.type().is_string();
}

std::string procedure_name(const RpcCall& call) {
  return call.name.empty() ? "#" + std::to_string(static_cast<int>(call.id)) : call.name;
}

}  // namespace

RequestHandler::Outcome RequestHandler::run(TokenWriter& out, std::string_view text, std::span<const Param> params,
                                            Token statement_done) {
  std::string database = session_.current_database();
  BatchResult result = session_.execute(text, params);
  Outcome outcome;
  for (const auto& rs : result.result_sets) {
    out.result_set(rs);
    out.done(statement_done, tds::kDoneMore | tds::kDoneCount, rs.rows.size());
  }
  for (const auto& e : result.errors) {
    out.message(e);
    outcome.failed |= e.severity >= kFirstErrorSeverity;
  }
  report_transaction_changes(out, result.transaction_changes);
  std::string now = session_.current_database();
  if (now != database) {
    out.env_change(tds::EnvChange::Database, now, database);
    out.info(5701, "Changed database context to '" + now + "'.");
  }
  outcome.rows_affected = result.rows_affected;
  // A SELECT's row count is already in its DONE; a count that differs
  // belongs to a later statement that changed rows.
  bool reported = !result.result_sets.empty() &&
                  static_cast<int64_t>(result.result_sets.back().rows.size()) == result.rows_affected;
  outcome.count_pending = result.rows_affected >= 0 && !reported;
  return outcome;
}

std::string RequestHandler::batch(std::string_view text) {
  TokenWriter out(dialect_);
  Outcome o = run(out, text, {}, tds::kTokenDone);
  uint16_t status = (o.failed ? tds::kDoneError : 0) | (o.count_pending ? tds::kDoneCount : 0);
  out.done(tds::kTokenDone, status, o.count_pending ? static_cast<uint64_t>(o.rows_affected) : 0);
  return out.take();
}

void RequestHandler::report_transaction_changes(TokenWriter& out, const std::vector<TransactionChange>& changes) {
  for (TransactionChange change : changes) {
    if (change == TransactionChange::Began) {
      descriptor_ = ++last_descriptor;
      out.transaction_change(tds::EnvChange::BeginTransaction, descriptor_);
      continue;
    }
    out.transaction_change(change == TransactionChange::Committed ? tds::EnvChange::CommitTransaction
                                                                  : tds::EnvChange::RollbackTransaction,
                           descriptor_);
    descriptor_ = 0;
  }
}

// Commit or rollback, and with fBeginXact the next transaction, begun only
// when the first one did end.
RequestHandler::Outcome RequestHandler::end_transaction(TokenWriter& out, const tds::TransactionRequest& request) {
  bool commit = request.type == tds::TransactionRequestType::Commit;
  Outcome o = run(out, commit ? "COMMIT TRANSACTION" : "ROLLBACK TRANSACTION", {}, tds::kTokenDone);
  if (o.failed || !request.begin_after) return o;
  return run(out, "BEGIN TRANSACTION", {}, tds::kTokenDone);
}

std::string RequestHandler::transaction(const tds::TransactionRequest& request) {
  using Request = tds::TransactionRequestType;
  TokenWriter out(dialect_);
  Outcome o;
  switch (request.type) {
    case Request::GetDtcAddress: {
      // No coordinator: its address is empty, one row of one binary column.
      const TypeInfo binary{Type::VarBinary, 1};
      ResultSet address;
      address.columns.push_back(ColumnInfo{"", binary, true});
      address.rows.push_back({Value::binary("", binary)});
      out.result_set(address);
      out.done(tds::kTokenDone, tds::kDoneMore | tds::kDoneCount, 1);
      break;
    }
    case Request::Propagate:
    case Request::Promote:
      fail(out, &o, kMsgNoCoordinator, "MSDTC on server '" + std::string(tds::kServerName) + "' is unavailable.");
      break;
    case Request::Begin: o = run(out, "BEGIN TRANSACTION", {}, tds::kTokenDone); break;
    case Request::Commit:
    case Request::Rollback: o = end_transaction(out, request); break;
    case Request::Save:
      // The engine keeps one undo for the whole transaction, with no marks
      // inside it; it refuses SAVE TRANSACTION in T-SQL text as well.
      fail(out, &o, kMsgEngineRefusal,
           "Savepoints are not supported: SAVE TRANSACTION " + bracketed(request.name) +
               " was refused; the transaction stays open.");
      break;
  }
  out.done(tds::kTokenDone, o.failed ? tds::kDoneError : tds::kDoneFinal);
  return out.take();
}

std::string RequestHandler::rpc(const std::vector<RpcCall>& calls) {
  TokenWriter out(dialect_);
  for (size_t i = 0; i < calls.size(); ++i) call(out, calls[i], i + 1 < calls.size());
  return out.take();
}

void RequestHandler::fail(TokenWriter& out, Outcome* outcome, int number, std::string message) {
  out.message(Error{number, 16, 1, 1, std::move(message)});
  outcome->failed = true;
}

RequestHandler::Outcome RequestHandler::execute_with(TokenWriter& out, const RpcCall& call, size_t skip,
                                                     const std::string& statement,
                                                     const std::vector<std::string>& names) {
  std::vector<Param> params;
  for (size_t i = skip; i < call.parameters.size(); ++i) {
    const auto& p = call.parameters[i];
    size_t position = i - skip;
    std::string name = !p.name.empty() ? p.name : position < names.size() ? names[position] : "";
    if (name.empty()) {
      Outcome o;
      fail(out, &o, kMsgBadParameter, "Parameter " + std::to_string(position + 1) + " has no declared name.");
      return o;
    }
    params.push_back(Param{name, p.value});
  }
  return run(out, statement, params, tds::kTokenDoneInProc);
}

int32_t RequestHandler::prepare(const RpcCall& call, size_t params_at) {
  // sp_prepare / sp_prepexec: @handle OUTPUT, @params, @stmt
  int32_t handle = next_handle_++;
  prepared_[handle] = Prepared{text_of(call.parameters[params_at + 1].value),
                               declared_parameter_names(text_of(call.parameters[params_at].value))};
  return handle;
}

RequestHandler::Outcome RequestHandler::execute_sql(TokenWriter& out, const RpcCall& call) {
  // sp_executesql @stmt [, @params, values...]
  Outcome o;
  if (!is_text(call, 0)) {
    fail(out, &o, kMsgBadParameter, "Procedure expects parameter '@statement' of type 'ntext/nchar/nvarchar'.");
    return o;
  }
  bool declared = call.parameters.size() > 1;
  return execute_with(
      out, call, declared ? 2 : 1, text_of(call.parameters[0].value),
      declared ? declared_parameter_names(text_of(call.parameters[1].value)) : std::vector<std::string>{});
}

RequestHandler::Outcome RequestHandler::prepare_call(TokenWriter& out, const RpcCall& call, bool execute,
                                                     int32_t* handle) {
  // sp_prepare / sp_prepexec @handle OUTPUT, @params, @stmt [, values...]
  Outcome o;
  bool params_ok = is_text(call, 1) || (call.parameters.size() > 1 && call.parameters[1].value.is_null());
  if (!params_ok || !is_text(call, 2)) {
    fail(out, &o, kMsgBadParameter, "Procedure expects parameters '@handle', '@params' and '@stmt'.");
    return o;
  }
  *handle = prepare(call, 1);
  if (!execute) return o;
  const Prepared& p = prepared_[*handle];
  return execute_with(out, call, 3, p.text, p.names);
}

RequestHandler::Outcome RequestHandler::execute_prepared(TokenWriter& out, const RpcCall& call) {
  // sp_execute @handle [, values...]
  Outcome o;
  const Value* handle = call.parameters.empty() ? nullptr : &call.parameters[0].value;
  auto it = handle && !handle->is_null() && handle->type().is_integer()
                ? prepared_.find(static_cast<int32_t>(handle->int_value()))
                : prepared_.end();
  if (it == prepared_.end()) {
    fail(out, &o, kMsgNoPreparedHandle,
         "Could not find prepared statement with handle " + (handle ? handle->to_display() : "NULL") + ".");
    return o;
  }
  Prepared p = it->second;  // a copy: the statement may not outlive an unprepare
  return execute_with(out, call, 1, p.text, p.names);
}

void RequestHandler::call(TokenWriter& out, const RpcCall& call, bool more) {
  Outcome o;
  int32_t handle = 0;
  bool returns_handle = false;
  switch (tds::procedure_of(call)) {
    case ProcId::ExecuteSql: o = execute_sql(out, call); break;
    case ProcId::Prepare:
    case ProcId::PrepExec:
      handle = 0;
      o = prepare_call(out, call, tds::procedure_of(call) == ProcId::PrepExec, &handle);
      returns_handle = handle != 0;
      break;
    case ProcId::Execute: o = execute_prepared(out, call); break;
    case ProcId::Unprepare:
      if (!call.parameters.empty() && call.parameters[0].value.type().is_integer() &&
          !call.parameters[0].value.is_null())
        prepared_.erase(static_cast<int32_t>(call.parameters[0].value.int_value()));
      break;
    case ProcId::None:
      fail(out, &o, kMsgProcedureNotFound, "Could not find stored procedure '" + procedure_name(call) + "'.");
      break;
  }
  if (o.count_pending)
    out.done(tds::kTokenDoneInProc, tds::kDoneMore | tds::kDoneCount, static_cast<uint64_t>(o.rows_affected));
  out.return_status(o.failed ? 1 : 0);
  if (returns_handle) out.return_value(0, call.parameters[0].name, Value::integer(handle));
  uint16_t status = (more ? tds::kDoneMore : 0) | (o.failed ? tds::kDoneError : 0);
  out.done(tds::kTokenDoneProc, status);
}

}  // namespace standin::server
