#include "tds/tokens.h"

#include <algorithm>

namespace standin::tds {

namespace {

constexpr uint8_t kInterfaceSql = 1;
constexpr uint8_t kProgramVersion[4] = {15, 0, 0x07, 0xD0};
constexpr uint16_t kColumnNullable = 0x01;
constexpr uint16_t kColumnUpdatableUnknown = 0x08;
constexpr uint16_t kNoColumns = 0xFFFF;
constexpr int kFirstErrorSeverity = 11;

}  // namespace

size_t TokenWriter::open_length(Token t) {
  out_.u8(t);
  size_t at = out_.size();
  out_.u16(0);
  return at;
}

void TokenWriter::close_length(size_t at) {
  size_t length = out_.size() - at - 2;
  out_.patch_u16(at, static_cast<uint16_t>(std::min<size_t>(length, 0xFFFF)));
}

void TokenWriter::login_ack(uint32_t tds_version) {
  size_t at = open_length(kTokenLoginAck);
  out_.u8(kInterfaceSql);
  // The version goes out in the byte order of the login message's field
  // read as big-endian: 74 00 00 04 for 7.4.
  out_.u8(static_cast<uint8_t>(tds_version >> 24));
  out_.u8(static_cast<uint8_t>(tds_version >> 16));
  out_.u8(static_cast<uint8_t>(tds_version >> 8));
  out_.u8(static_cast<uint8_t>(tds_version));
  out_.b_varchar("Microsoft SQL Server");
  out_.raw(std::string_view(reinterpret_cast<const char*>(kProgramVersion), 4));
  close_length(at);
}

void TokenWriter::feature_ext_ack() {
  out_.u8(kTokenFeatureExtAck);
  out_.u8(0xFF);  // terminator: no feature acknowledged
}

void TokenWriter::env_change(EnvChange type, std::string_view new_value, std::string_view old_value) {
  size_t at = open_length(kTokenEnvChange);
  out_.u8(static_cast<uint8_t>(type));
  out_.b_varchar(new_value);
  out_.b_varchar(old_value);
  close_length(at);
}

void TokenWriter::collation_change() {
  size_t at = open_length(kTokenEnvChange);
  out_.u8(static_cast<uint8_t>(EnvChange::Collation));
  out_.u8(static_cast<uint8_t>(kCollation.size()));
  out_.raw(kCollation);
  out_.u8(0);
  close_length(at);
}

void TokenWriter::transaction_change(EnvChange type, uint64_t descriptor) {
  size_t at = open_length(kTokenEnvChange);
  out_.u8(static_cast<uint8_t>(type));
  bool began = type == EnvChange::BeginTransaction;
  if (!began) out_.u8(0);  // no new value
  out_.u8(sizeof descriptor);
  out_.u64(descriptor);
  if (began) out_.u8(0);  // no old value
  close_length(at);
}

void TokenWriter::message(const Error& e) {
  size_t at = open_length(e.severity >= kFirstErrorSeverity ? kTokenError : kTokenInfo);
  out_.u32(static_cast<uint32_t>(e.number));
  out_.u8(static_cast<uint8_t>(std::clamp(e.state, 0, 255)));
  out_.u8(static_cast<uint8_t>(std::clamp(e.severity, 0, 255)));
  out_.us_varchar(e.message);
  out_.b_varchar(kServerName);
  out_.b_varchar("");  // procedure
  out_.u32(static_cast<uint32_t>(e.line));
  close_length(at);
}

void TokenWriter::info(int number, std::string_view text) { message(Error{number, 0, 1, 1, std::string(text)}); }

void TokenWriter::columns(const std::vector<ColumnInfo>& columns) {
  out_.u8(kTokenColMetadata);
  if (columns.empty()) return out_.u16(kNoColumns);
  out_.u16(static_cast<uint16_t>(columns.size()));
  for (const auto& c : columns) {
    out_.u32(0);  // user type
    out_.u16(static_cast<uint16_t>((c.nullable ? kColumnNullable : 0) | kColumnUpdatableUnknown));
    write_type_info(out_, c.type, dialect_);
    out_.b_varchar(c.name);
  }
}

void TokenWriter::row(const std::vector<ColumnInfo>& columns, const std::vector<Value>& values) {
  size_t n = std::min(columns.size(), values.size());
  bool any_null = std::any_of(values.begin(), values.begin() + static_cast<ptrdiff_t>(n),
                              [](const Value& v) { return v.is_null(); });
  if (!any_null || n != columns.size()) {
    out_.u8(kTokenRow);
    for (size_t i = 0; i < columns.size(); ++i)
      write_value(out_, columns[i].type, i < n ? values[i] : Value::null(columns[i].type), dialect_);
    return;
  }
  out_.u8(kTokenNbcRow);
  std::string bitmap((columns.size() + 7) / 8, '\0');
  for (size_t i = 0; i < n; ++i)
    if (values[i].is_null()) bitmap[i / 8] = static_cast<char>(bitmap[i / 8] | 1 << (i % 8));
  out_.raw(bitmap);
  for (size_t i = 0; i < n; ++i)
    if (!values[i].is_null()) write_value(out_, columns[i].type, values[i], dialect_);
}

void TokenWriter::result_set(const ResultSet& rs) {
  columns(rs.columns);
  for (const auto& r : rs.rows) row(rs.columns, r);
}

void TokenWriter::return_status(int32_t status) {
  out_.u8(kTokenReturnStatus);
  out_.u32(static_cast<uint32_t>(status));
}

void TokenWriter::return_value(uint16_t ordinal, std::string_view name, const Value& value) {
  out_.u8(kTokenReturnValue);
  out_.u16(ordinal);
  out_.b_varchar(name);
  out_.u8(0x01);  // output parameter
  out_.u32(0);    // user type
  out_.u16(kColumnNullable);
  write_type_info(out_, value.type(), dialect_);
  write_value(out_, value.type(), value, dialect_);
}

void TokenWriter::done(Token kind, uint16_t status, uint64_t row_count) {
  out_.u8(kind);
  out_.u16(status);
  out_.u16(0xC1);  // current command: SELECT, as servers report for a batch
  out_.u64(row_count);
}

}  // namespace standin::tds
