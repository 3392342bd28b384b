// Turns one session's requests into the engine's work and its answers into
// tokens. A SQL batch runs as one command text; an RPC to sp_executesql runs
// its statement with the typed parameters; sp_prepare keeps a statement
// under a handle for sp_execute, until sp_unprepare or the session's end.
//
// Transaction-manager requests run the T-SQL statements they stand for
// (BEGIN TRANSACTION, COMMIT, ROLLBACK, SAVE TRANSACTION) on the session,
// so a client may begin a transaction one way and end it the other. Every
// request reports a transaction that began or ended, whichever way, with an
// ENVCHANGE that carries its 8-byte descriptor. The session has no
// isolation levels to choose from (no locks: see standin.h), so the level a
// request names is taken and ignored; it has no savepoints, so a savepoint
// request is refused; and there is no distributed-transaction coordinator.
#pragma once

#include <cstdint>
#include <map>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "standin/standin.h"
#include "tds/requests.h"
#include "tds/tokens.h"

namespace standin::server {

class RequestHandler {
 public:
  RequestHandler(Session& session, tds::WireDialect dialect) : session_(session), dialect_(dialect) {}

  // The tokens answering a SQL batch / an RPC message, up to the final DONE.
  std::string batch(std::string_view text);
  std::string rpc(const std::vector<tds::RpcCall>& calls);
  std::string transaction(const tds::TransactionRequest& request);

 private:
  struct Prepared {
    std::string text;
    std::vector<std::string> names;  // declared parameter names, in order
  };
  // What a command text's tokens reported, for the DONE that closes it.
  struct Outcome {
    bool failed = false;
    bool count_pending = false;  // rows_affected not yet in a DONE token
    int64_t rows_affected = -1;
  };

  Outcome run(tds::TokenWriter& out, std::string_view text, std::span<const Param> params, tds::Token statement_done);
  void call(tds::TokenWriter& out, const tds::RpcCall& call, bool more);
  // Runs `statement` with values after the first `skip` parameters of
  // `call`, named by themselves or by position in `names`.
  Outcome execute_with(tds::TokenWriter& out, const tds::RpcCall& call, size_t skip, const std::string& statement,
                       const std::vector<std::string>& names);
  Outcome execute_sql(tds::TokenWriter& out, const tds::RpcCall& call);
  Outcome prepare_call(tds::TokenWriter& out, const tds::RpcCall& call, bool execute, int32_t* handle);
  Outcome execute_prepared(tds::TokenWriter& out, const tds::RpcCall& call);
  int32_t prepare(const tds::RpcCall& call, size_t params_at);
  void fail(tds::TokenWriter& out, Outcome* outcome, int number, std::string message);
  void report_transaction_changes(tds::TokenWriter& out, const std::vector<TransactionChange>& changes);
  Outcome end_transaction(tds::TokenWriter& out, const tds::TransactionRequest& request);

  Session& session_;
  tds::WireDialect dialect_;
  std::map<int32_t, Prepared> prepared_;
  int32_t next_handle_ = 1;
  uint64_t descriptor_ = 0;  // of the open transaction, 0 when there is none
};

}  // namespace standin::server
