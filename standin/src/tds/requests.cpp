#include "tds/requests.h"

#include "tds/data_types.h"
#include "tds/wire.h"
#include "types/ascii.h"

namespace standin::tds {

namespace {

constexpr uint16_t kProcIdFollows = 0xFFFF;
constexpr uint8_t kByRefValue = 0x01;
// Separators between batched calls: the newer and the older one.
constexpr uint8_t kBatchFlag = 0x80;
constexpr uint8_t kNoExecFlag = 0xFF;

// Skips ALL_HEADERS when the message opens with it. Its total length counts
// itself; a length that cannot be one (under 4, or past the end) means the
// message has none, as with clients of protocol versions before 7.2, unless
// the first header is plausibly there.
void skip_all_headers(WireReader& in) {
  if (in.remaining() < 4) return;
  WireReader peek(in.input().substr(in.position()));
  uint32_t total = peek.u32();
  if (total < 4 || total > in.remaining()) return;
  if (total > 4) {
    // each header: its length (counting itself), a type, data
    size_t at = 4;
    while (at < total) {
      WireReader header(in.input().substr(in.position() + at, total - at));
      uint32_t length = header.u32();
      if (length < 6 || length > total - at) throw ProtocolError("malformed request header");
      at += length;
    }
  }
  in.skip(total);
}

RpcParameter read_parameter(WireReader& in) {
  RpcParameter p;
  p.name = in.b_varchar();
  p.output = (in.u8() & kByRefValue) != 0;
  p.value = read_typed_value(in);
  return p;
}

RpcCall read_call(WireReader& in) {
  RpcCall call;
  uint16_t name_length = in.u16();
  if (name_length == kProcIdFollows)
    call.id = static_cast<ProcId>(in.u16());
  else
    call.name = in.utf16(name_length);
  in.u16();  // option flags (recompile, no metadata)
  while (!in.at_end()) {
    uint8_t next = static_cast<uint8_t>(in.input()[in.position()]);
    if (next == kBatchFlag || next == kNoExecFlag) break;
    call.parameters.push_back(read_parameter(in));
  }
  return call;
}

}  // namespace

std::string parse_sql_batch(std::string_view body) {
  WireReader in(body);
  skip_all_headers(in);
  if (in.remaining() % 2 != 0) throw ProtocolError("batch text of an odd number of bytes");
  return in.utf16(in.remaining() / 2);
}

std::vector<RpcCall> parse_rpc(std::string_view body) {
  WireReader in(body);
  skip_all_headers(in);
  std::vector<RpcCall> calls;
  do {
    if (!calls.empty()) in.u8();  // the separator
    if (in.at_end()) break;       // a separator may close the message
    calls.push_back(read_call(in));
  } while (!in.at_end());
  if (calls.empty()) throw ProtocolError("RPC message without a call");
  return calls;
}

namespace {

constexpr uint8_t kBeginXactFlag = 0x01;

// A name as B_VARBYTE: a length in bytes, then UTF-16LE.
std::string name_bytes(WireReader& in) {
  uint8_t length = in.u8();
  if (length % 2 != 0) throw ProtocolError("transaction name of an odd number of bytes");
  return in.utf16(length / 2);
}

// Commit and rollback: the name, the flags and, with fBeginXact, what the
// next transaction is to be. A client may leave out the flags altogether.
void read_transaction_end(WireReader& in, TransactionRequest& r) {
  r.name = name_bytes(in);
  if (in.at_end()) return;
  r.begin_after = (in.u8() & kBeginXactFlag) != 0;
  if (!r.begin_after || in.at_end()) return;
  r.new_isolation_level = in.u8();
  if (!in.at_end()) r.new_name = name_bytes(in);
}

}  // namespace

TransactionRequest parse_transaction_request(std::string_view body) {
  WireReader in(body);
  skip_all_headers(in);
  TransactionRequest r;
  uint16_t type = in.u16();
  switch (type) {
    case static_cast<uint16_t>(TransactionRequestType::GetDtcAddress):
    case static_cast<uint16_t>(TransactionRequestType::Propagate):
      // an opaque US_VARBYTE, of no use without a coordinator
      if (!in.at_end()) in.skip(in.u16());
      break;
    case static_cast<uint16_t>(TransactionRequestType::Begin):
      r.isolation_level = in.u8();
      r.name = name_bytes(in);
      break;
    case static_cast<uint16_t>(TransactionRequestType::Promote): break;
    case static_cast<uint16_t>(TransactionRequestType::Commit):
    case static_cast<uint16_t>(TransactionRequestType::Rollback): read_transaction_end(in, r); break;
    case static_cast<uint16_t>(TransactionRequestType::Save): r.name = name_bytes(in); break;
    default: throw ProtocolError("unknown transaction manager request " + std::to_string(type));
  }
  r.type = static_cast<TransactionRequestType>(type);
  return r;
}

ProcId procedure_of(const RpcCall& call) {
  if (call.id != ProcId::None) return call.id;
  std::string name = ascii_lowered(call.name);
  size_t dot = name.find_last_of('.');
  if (dot != std::string::npos) name = name.substr(dot + 1);
  if (name == "sp_executesql") return ProcId::ExecuteSql;
  if (name == "sp_prepare") return ProcId::Prepare;
  if (name == "sp_execute") return ProcId::Execute;
  if (name == "sp_prepexec") return ProcId::PrepExec;
  if (name == "sp_unprepare") return ProcId::Unprepare;
  return ProcId::None;
}

}  // namespace standin::tds
