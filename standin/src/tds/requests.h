// The client's requests after the login: a SQL batch (text), remote
// procedure calls (a procedure by number or name, and its parameters), or a
// transaction-manager request (begin, commit, roll back, savepoint, and the
// distributed-transaction calls). Each may open with ALL_HEADERS
// (transaction descriptor, outstanding requests, trace activity), which this
// server reads past without using: a session has one transaction at a time,
// so the descriptor a client sends names nothing the session does not know.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "standin/value.h"

namespace standin::tds {

// Procedure numbers a client may send instead of a name.
enum class ProcId : uint16_t {
  None = 0,
  ExecuteSql = 10,  // sp_executesql
  Prepare = 11,
  Execute = 12,
  PrepExec = 13,
  Unprepare = 15,
};

struct RpcParameter {
  std::string name;  // as sent, with its '@'; may be empty (positional)
  bool output = false;
  Value value;
};

struct RpcCall {
  ProcId id = ProcId::None;
  std::string name;  // when sent by name
  std::vector<RpcParameter> parameters;
};

enum class TransactionRequestType : uint16_t {
  GetDtcAddress = 0,
  Propagate = 1,
  Begin = 5,
  Promote = 6,
  Commit = 7,
  Rollback = 8,
  Save = 9,
};

// A transaction-manager request. Begin carries an isolation level and a
// name; Commit and Rollback a name and, when `begin_after` is set, the
// isolation level and name of a transaction to begin right after; Save the
// savepoint's name. Names are UTF-8; isolation levels as sent (0 for the
// session's own).
struct TransactionRequest {
  TransactionRequestType type = TransactionRequestType::Begin;
  uint8_t isolation_level = 0;
  std::string name;
  bool begin_after = false;
  uint8_t new_isolation_level = 0;
  std::string new_name;
};

// Throws ProtocolError, also for a request type this server does not know.
TransactionRequest parse_transaction_request(std::string_view body);

// The batch text as UTF-8. Throws ProtocolError.
std::string parse_sql_batch(std::string_view body);

// Every call of an RPC message (several may be batched). Throws
// ProtocolError.
std::vector<RpcCall> parse_rpc(std::string_view body);

// The procedure a call names, by number or by one of the names it is known
// under ("sp_executesql", "sys.sp_executesql", "master..sp_prepare").
ProcId procedure_of(const RpcCall& call);

}  // namespace standin::tds
