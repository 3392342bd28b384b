// The tokens of a server's answer, written into one tabular-result message:
// the login acknowledgement and environment changes, column metadata and
// rows, errors and informational messages, return status and output
// parameters, and the DONE tokens that close each statement and the whole
// request.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "standin/standin.h"
#include "tds/data_types.h"
#include "tds/wire.h"

namespace standin::tds {

enum Token : uint8_t {
  kTokenColMetadata = 0x81,
  kTokenError = 0xAA,
  kTokenInfo = 0xAB,
  kTokenReturnValue = 0xAC,
  kTokenLoginAck = 0xAD,
  kTokenFeatureExtAck = 0xAE,
  kTokenRow = 0xD1,
  kTokenNbcRow = 0xD2,
  kTokenEnvChange = 0xE3,
  kTokenReturnStatus = 0x79,
  kTokenDone = 0xFD,
  kTokenDoneProc = 0xFE,
  kTokenDoneInProc = 0xFF,
};

// Status bits of the DONE tokens.
enum DoneStatus : uint16_t {
  kDoneFinal = 0x00,
  kDoneMore = 0x01,
  kDoneError = 0x02,
  kDoneCount = 0x10,
  kDoneAttention = 0x20,
};

enum class EnvChange : uint8_t {
  Database = 1,
  Language = 2,
  PacketSize = 4,
  Collation = 7,
  BeginTransaction = 8,
  CommitTransaction = 9,
  RollbackTransaction = 10,
};

// The server name that messages carry.
inline constexpr std::string_view kServerName = "standin";

class TokenWriter {
 public:
  explicit TokenWriter(WireDialect dialect = {}) : dialect_(dialect) {}

  void login_ack(uint32_t tds_version);
  void feature_ext_ack();  // no features acknowledged
  void env_change(EnvChange type, std::string_view new_value, std::string_view old_value);
  void collation_change();
  // A transaction began (the descriptor is the new value, the old one
  // empty), or it committed or rolled back (the other way round). The
  // descriptor is what the client's later requests carry in ALL_HEADERS.
  void transaction_change(EnvChange type, uint64_t descriptor);
  // An ERROR token for severity 11 and above, an INFO token below.
  void message(const Error& e);
  void info(int number, std::string_view text);
  void columns(const std::vector<ColumnInfo>& columns);
  // ROW, or NBCROW when it is shorter (some values NULL).
  void row(const std::vector<ColumnInfo>& columns, const std::vector<Value>& values);
  void result_set(const ResultSet& rs);  // metadata and every row
  void return_status(int32_t status);
  void return_value(uint16_t ordinal, std::string_view name, const Value& value);
  void done(Token kind, uint16_t status, uint64_t row_count = 0);

  const std::string& bytes() const { return out_.bytes(); }
  std::string take() { return out_.take(); }

 private:
  // Opens a token with a two-byte length; close_length fills it in.
  size_t open_length(Token t);
  void close_length(size_t at);

  WireDialect dialect_;
  WireWriter out_;
};

}  // namespace standin::tds
