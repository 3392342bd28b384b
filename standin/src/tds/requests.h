// The client's requests after the login: a SQL batch (text), or remote
// procedure calls (a procedure by number or name, and its parameters). Both
// may open with ALL_HEADERS (transaction descriptor, outstanding requests,
// trace activity), which this server reads past without using.
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

// The batch text as UTF-8. Throws ProtocolError.
std::string parse_sql_batch(std::string_view body);

// Every call of an RPC message (several may be batched). Throws
// ProtocolError.
std::vector<RpcCall> parse_rpc(std::string_view body);

// The procedure a call names, by number or by one of the names it is known
// under ("sp_executesql", "sys.sp_executesql", "master..sp_prepare").
ProcId procedure_of(const RpcCall& call);

}  // namespace standin::tds
