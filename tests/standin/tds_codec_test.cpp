#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tds/data_types.h"
#include "tds/login7.h"
#include "tds/packet.h"
#include "tds/prelogin.h"
#include "tds/requests.h"
#include "tds/tokens.h"
#include "tds/wire.h"
#include "tds_test_client.h"

namespace standin::tds {
namespace {

using testing::login7_message;
using testing::utf16;

class StringSource : public ByteSource {
 public:
  explicit StringSource(std::string bytes, size_t step = 3) : bytes_(std::move(bytes)), step_(step) {}
  size_t read(char* buffer, size_t size) override {
    size_t n = std::min({size, step_, bytes_.size() - at_});
    bytes_.copy(buffer, n, at_);
    at_ += n;
    return n;
  }

 private:
  std::string bytes_;
  size_t step_;  // hands out few bytes at a time, as a socket may
  size_t at_ = 0;
};

std::string header(uint8_t type, uint8_t status, uint16_t length) {
  WireWriter w;
  w.u8(type);
  w.u8(status);
  w.u16_be(length);
  w.u16_be(0);
  w.u8(1);
  w.u8(0);
  return w.take();
}

TEST(TdsPackets, AMessageSplitIntoPacketsComesBackWhole) {
  std::string body(3000, 'x');
  for (size_t i = 0; i < body.size(); ++i) body[i] = static_cast<char>(i * 7);
  uint8_t id = 0;
  std::string wire = frame_message(PacketType::SqlBatch, body, 512, &id);
  EXPECT_EQ(id, 6);  // 3000 bytes in packets of 504
  wire += frame_message(PacketType::Rpc, "", 512, &id);
  StringSource source(wire);
  MessageReader reader(source);
  auto first = reader.next();
  ASSERT_TRUE(first);
  EXPECT_EQ(first->type, PacketType::SqlBatch);
  EXPECT_EQ(first->body, body);
  auto second = reader.next();
  ASSERT_TRUE(second);
  EXPECT_EQ(second->type, PacketType::Rpc);
  EXPECT_TRUE(second->body.empty());
  EXPECT_FALSE(reader.next());  // a clean end between messages
}

TEST(TdsPackets, HostilePacketsAreRefused) {
  struct Case {
    const char* what;
    std::string bytes;
  };
  const std::vector<Case> cases = {
      {"truncated header", header(1, 1, 20).substr(0, 5)},
      {"length below the header", header(1, 1, 7)},
      {"length above the largest packet", header(1, 1, 40000)},
      {"payload cut short", header(1, 1, 100) + std::string(50, 'a')},
      {"unknown type", header(99, 1, 8)},
      {"type changes inside a message", header(1, 0, 10) + "ab" + header(3, 1, 10) + "cd"},
      {"no end of message before the stream ends", header(1, 0, 10) + "ab"},
  };
  for (const auto& c : cases) {
    StringSource source(c.bytes);
    MessageReader reader(source);
    EXPECT_THROW(reader.next(), ProtocolError) << c.what;
  }
}

TEST(TdsPackets, AMessageAboveTheLimitIsRefusedBeforeItIsRead) {
  std::string wire;
  uint8_t id = 0;
  wire = frame_message(PacketType::SqlBatch, std::string(5000, 'q'), 4096, &id);
  StringSource source(wire);
  MessageReader reader(source, 4096);
  EXPECT_THROW(reader.next(), ProtocolError);
}

TEST(TdsPrelogin, EncryptionWishesAreReadAndTheAnswerOffersNone) {
  EXPECT_FALSE(demands_encryption(parse_prelogin(testing::TestClient::prelogin_request(0))));
  EXPECT_FALSE(demands_encryption(parse_prelogin(testing::TestClient::prelogin_request(2))));
  EXPECT_TRUE(demands_encryption(parse_prelogin(testing::TestClient::prelogin_request(1))));
  EXPECT_TRUE(demands_encryption(parse_prelogin(testing::TestClient::prelogin_request(3))));

  PreLogin answer = parse_prelogin(prelogin_response());
  EXPECT_EQ(answer.encryption, Encryption::NotSupported);
  EXPECT_FALSE(answer.mars);
}

TEST(TdsPrelogin, AnOptionOutsideTheMessageOrAMissingTerminatorIsRefused) {
  std::string request = testing::TestClient::prelogin_request();
  std::string past_end = request;
  past_end[4] = 0x7F;  // the version's length
  EXPECT_THROW(parse_prelogin(past_end), ProtocolError);
  EXPECT_THROW(parse_prelogin(request.substr(0, 10)), ProtocolError);  // no terminator
}

TEST(TdsLogin7, NamesAndThePasswordAreRead) {
  Login7 login = parse_login7(login7_message("Kassenwart", "gëheim!", "club1", kTds74, 8000));
  EXPECT_EQ(login.tds_version, kTds74);
  EXPECT_EQ(login.packet_size, 8000u);
  EXPECT_EQ(login.user_name, "Kassenwart");
  EXPECT_EQ(login.password, "gëheim!");
  EXPECT_EQ(login.database, "club1");
  EXPECT_EQ(login.host_name, "testhost");
  EXPECT_EQ(login.app_name, "tds-test");
  EXPECT_FALSE(login.integrated_security);
}

TEST(TdsLogin7, PasswordObfuscationMatchesTheKnownBytes) {
  // 'a' (0x61 0x00): nibbles swapped 0x16 0x00, XOR 0xA5 -> 0xB3 0xA5
  EXPECT_EQ(obfuscate_password(std::string("a\0", 2)), "\xB3\xA5");
  std::string all;
  for (int i = 0; i < 256; ++i) all += static_cast<char>(i);
  EXPECT_EQ(clarify_password(obfuscate_password(all)), all);
}

TEST(TdsLogin7, HostileLoginsAreRefused) {
  std::string good = login7_message("sa", "x", "master");
  EXPECT_THROW(parse_login7(good.substr(0, 60)), ProtocolError);  // shorter than the fixed part
  std::string long_length = good;
  long_length[0] = static_cast<char>(0xFF);  // declares more than was sent
  long_length[1] = static_cast<char>(0xFF);
  EXPECT_THROW(parse_login7(long_length), ProtocolError);
  std::string name_past_end = good;
  name_past_end[40 + 2] = static_cast<char>(0xFF);  // user name length
  EXPECT_THROW(parse_login7(name_past_end), ProtocolError);
  std::string offset_past_end = good;
  offset_past_end[68] = static_cast<char>(0xF0);  // database offset
  offset_past_end[69] = static_cast<char>(0xFF);
  EXPECT_THROW(parse_login7(offset_past_end), ProtocolError);
}

// A value written as a column and read back as a parameter.
Value round_trip(const TypeInfo& type, const Value& v, WireDialect dialect = {}) {
  WireWriter out;
  write_type_info(out, type, dialect);
  write_value(out, type, v, dialect);
  WireReader in(out.bytes());
  Value back = read_typed_value(in);
  EXPECT_TRUE(in.at_end()) << type.sql_name();
  return back;
}

TEST(TdsDataTypes, EveryEngineTypeRoundTrips) {
  const std::vector<Value> values = {
      Value::bit(true),
      Value::integer(-7, Type::SmallInt),
      Value::integer(255, Type::TinyInt),
      Value::integer(-2147483647 - 1),
      Value::integer(INT64_MIN, Type::BigInt),
      Value::decimal(Decimal(-123456789012345678, 8), TypeInfo::decimal(19, 8)),
      Value::decimal(Decimal(static_cast<__int128>(99999999999999999) * 1000000000000000000 + 999999999999999999, 2),
                     TypeInfo::decimal(35, 2)),
      Value::money(Decimal(-12345678901234, 4)),
      Value::floating(-0.1),
      Value::floating(2.5, Type::Real),
      Value::string("Müller €", TypeInfo::varchar(40)),
      Value::string("Straße ☃", TypeInfo::nvarchar(20)),
      Value::string("x", TypeInfo{Type::Char, 1}),
      Value::string(std::string(9000, 'v'), TypeInfo::varchar(TypeInfo::kMax)),
      Value::string(std::string(5000, 'n'), TypeInfo::nvarchar(TypeInfo::kMax)),
      Value::string("", TypeInfo::varchar(10)),
      Value::binary(std::string("\x00\xFF\x10", 3), TypeInfo{Type::VarBinary, 8}),
      Value::datetime(DateTime::from_civil(2015, 3, 4, 9, 5, 0, 997)),
      Value::datetime(DateTime::from_civil(1899, 12, 31)),
      Value::datetime(DateTime::from_civil(2079, 6, 6, 23, 59), Type::SmallDateTime),
      Value::datetime(DateTime::from_civil(1, 1, 1), Type::Date),
      Value::guid("6F9619FF-8B86-D011-B42D-00C04FC964FF"),
  };
  for (const Value& v : values) {
    Value back = round_trip(v.type(), v);
    EXPECT_EQ(back.to_display(), v.to_display()) << v.type().sql_name();
    EXPECT_EQ(back.type().type, v.type().type) << v.type().sql_name();
    EXPECT_FALSE(back.is_null());
    Value null = round_trip(v.type(), Value::null(v.type()));
    EXPECT_TRUE(null.is_null()) << v.type().sql_name();
  }
}

TEST(TdsDataTypes, ColumnsDescribeLengthPrecisionAndCollation) {
  WireWriter out;
  write_type_info(out, TypeInfo::decimal(12, 3));
  EXPECT_EQ(out.bytes(), std::string("\x6A\x09\x0C\x03", 4));
  WireWriter varchar;
  write_type_info(varchar, TypeInfo::varchar(40));
  EXPECT_EQ(varchar.bytes(), std::string("\xA7\x28\x00", 3) + std::string(kCollation));
  WireWriter nvarchar_max;
  write_type_info(nvarchar_max, TypeInfo::nvarchar(TypeInfo::kMax));
  EXPECT_EQ(nvarchar_max.bytes(), std::string("\xE7\xFF\xFF", 3) + std::string(kCollation));
  WireWriter old_date;
  write_type_info(old_date, TypeInfo::of(Type::Date), WireDialect{false});
  EXPECT_EQ(old_date.bytes(), "\x6F\x08");  // datetime before 7.3
}

TEST(TdsDataTypes, ARowValueOfAnotherTypeIsConvertedToItsColumn) {
  Value back = round_trip(TypeInfo::decimal(10, 2), Value::integer(42));
  EXPECT_EQ(back.to_display(), "42.00");
  Value text = round_trip(TypeInfo::nvarchar(10), Value::integer(7));
  EXPECT_EQ(text.string_value(), "7");
}

std::string typed(std::initializer_list<int> bytes) {
  std::string s;
  for (int b : bytes) s += static_cast<char>(b);
  return s;
}

TEST(TdsDataTypes, ParametersOfClientOnlyTypesBecomeEngineValues) {
  // datetime2(7) 2015-03-04 09:05:00.5: 327005000000 units of 100 ns, day 735660 from year one
  WireWriter w;
  w.u8(0x2A);
  w.u8(7);
  w.u8(8);
  uint64_t units = 327005000000ULL;
  for (int i = 0; i < 5; ++i) w.u8(static_cast<uint8_t>(units >> (8 * i)));
  uint32_t day = 735660;
  for (int i = 0; i < 3; ++i) w.u8(static_cast<uint8_t>(day >> (8 * i)));
  WireReader in(w.bytes());
  EXPECT_EQ(read_typed_value(in).to_display(), "2015-03-04 09:05:00.500");

  // ntext, as drivers send the statement text: no text pointer in a parameter
  std::string ntext = typed({0x63, 0, 0, 0, 0, 9, 4, 0xD0, 0, 0, 4, 0, 0, 0, 'a', 0, 'b', 0});
  WireReader text_in(ntext);
  Value text = read_typed_value(text_in);
  EXPECT_EQ(text.string_value(), "ab");
  EXPECT_EQ(text.type().type, Type::NVarChar);
  std::string null_text = typed({0x63, 0, 0, 0, 0, 9, 4, 0xD0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF});
  WireReader null_in(null_text);
  EXPECT_TRUE(read_typed_value(null_in).is_null());

  std::string int8_fixed = typed({0x7F, 0xFE, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF});
  WireReader fixed(int8_fixed);
  EXPECT_EQ(read_typed_value(fixed).int_value(), -2);
}

TEST(TdsDataTypes, HostileValuesAreRefused) {
  const std::vector<std::string> cases = {
      typed({0x99}),                                                        // unknown type
      typed({0xE7, 0x10, 0x00}),                                            // collation missing
      typed({0x26, 0x04, 0x04, 0x01}),                                      // int shorter than its length
      typed({0x26, 0x04, 0x03, 1, 2, 3}),                                   // int of three bytes
      typed({0x6A, 0x11, 0x50, 0x00}),                                      // precision 80
      typed({0x6A, 0x05, 0x02, 0x00, 0x05, 0x01, 0xFF, 0xFF, 0xFF, 0x00}),  // 5 digits in precision 2
      typed({0xA7, 0xFF, 0xFF, 9, 4, 0xD0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x0F}),  // PLP 2^60
      typed({0xA7, 0xFF, 0xFF, 9,    4,    0xD0, 0,    0,    0xFE, 0xFF,
             0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x7F}),  // unknown-length PLP with a huge chunk
      typed({0x2A, 0x09}),                                                  // datetime2 scale 9
      typed({0x24, 0x10, 0x10, 1, 2, 3}),                                   // guid cut short
      typed({0x6F, 0x08, 0x08, 0, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF}),        // ticks past the day
  };
  for (const auto& c : cases) {
    WireReader in(c);
    EXPECT_THROW(read_typed_value(in), ProtocolError) << ::testing::PrintToString(c);
  }
}

TEST(TdsRequests, BatchTextIsReadWithOrWithoutHeaders) {
  EXPECT_EQ(parse_sql_batch(testing::sql_batch_message("SELECT N'ä'")), "SELECT N'ä'");
  EXPECT_EQ(parse_sql_batch(utf16("SELECT 1")), "SELECT 1");
  std::string bad_header = testing::all_headers();
  bad_header[4] = 40;  // the first header claims more than the block holds
  EXPECT_THROW(parse_sql_batch(bad_header + utf16("SELECT 1")), ProtocolError);
  EXPECT_THROW(parse_sql_batch(testing::all_headers() + "x"), ProtocolError);  // half a character
}

std::string rpc_parameter(std::string_view name, const Value& v) {
  WireWriter w;
  w.b_varchar(name);
  w.u8(0);
  write_type_info(w, v.type());
  write_value(w, v.type(), v);
  return w.take();
}

TEST(TdsRequests, BatchedCallsAndTheirParametersAreRead) {
  WireWriter w;
  w.raw(testing::all_headers());
  w.u16(0xFFFF);
  w.u16(10);  // sp_executesql
  w.u16(0);
  w.raw(rpc_parameter("", Value::string("SELECT @P1", TypeInfo::nvarchar(10))));
  w.raw(rpc_parameter("", Value::string("@P1 int", TypeInfo::nvarchar(7))));
  w.raw(rpc_parameter("@P1", Value::integer(5)));
  w.u8(0x80);
  w.u16(16);
  w.utf16("sys.sp_unprepare");
  w.u16(0);
  w.raw(rpc_parameter("", Value::integer(1)));
  auto calls = parse_rpc(w.bytes());
  ASSERT_EQ(calls.size(), 2u);
  EXPECT_EQ(procedure_of(calls[0]), ProcId::ExecuteSql);
  ASSERT_EQ(calls[0].parameters.size(), 3u);
  EXPECT_EQ(calls[0].parameters[2].name, "@P1");
  EXPECT_EQ(calls[0].parameters[2].value.int_value(), 5);
  EXPECT_EQ(procedure_of(calls[1]), ProcId::Unprepare);
  EXPECT_THROW(parse_rpc(w.bytes().substr(0, w.size() - 2)), ProtocolError);
  EXPECT_THROW(parse_rpc(testing::all_headers()), ProtocolError);
}

// The bytes FreeTDS's ODBC driver sends (observed): TM_BEGIN_XACT with
// level 0 and no name; TM_COMMIT_XACT with no name and fBeginXact, then
// level 0 and no name. Older clients leave out the flags of a commit.
TEST(TdsRequests, TransactionManagerRequestsAreRead) {
  using testing::transaction_message;
  using testing::transaction_name;
  TransactionRequest begin = parse_transaction_request(transaction_message(5, std::string("\0\0", 2)));
  EXPECT_EQ(begin.type, TransactionRequestType::Begin);
  EXPECT_EQ(begin.name, "");
  TransactionRequest named = parse_transaction_request(transaction_message(5, "\x02" + transaction_name("Übertrag")));
  EXPECT_EQ(named.isolation_level, 2);
  EXPECT_EQ(named.name, "Übertrag");

  TransactionRequest commit = parse_transaction_request(transaction_message(7, std::string("\0\x01\0\0", 4), 9));
  EXPECT_EQ(commit.type, TransactionRequestType::Commit);
  EXPECT_TRUE(commit.begin_after);
  TransactionRequest next =
      parse_transaction_request(transaction_message(8, transaction_name("alt") + "\x01\x04" + transaction_name("neu")));
  EXPECT_EQ(next.type, TransactionRequestType::Rollback);
  EXPECT_EQ(next.name, "alt");
  EXPECT_TRUE(next.begin_after);
  EXPECT_EQ(next.new_isolation_level, 4);
  EXPECT_EQ(next.new_name, "neu");
  TransactionRequest bare = parse_transaction_request(transaction_message(7, std::string("\0", 1)));
  EXPECT_FALSE(bare.begin_after);

  EXPECT_THROW(parse_transaction_request(transaction_message(3, "")), ProtocolError);         // no such type
  EXPECT_THROW(parse_transaction_request(transaction_message(9, "\x03xyz")), ProtocolError);  // odd name
  EXPECT_THROW(parse_transaction_request(transaction_message(5, std::string("\0\x08", 2))), ProtocolError);  // cut
}

TEST(TdsTokens, DoneAndMessageTokensCarryTheirFields) {
  TokenWriter t;
  t.message(Error{547, 16, 0, 3, "Konflikt"});
  WireReader in(t.bytes());
  EXPECT_EQ(in.u8(), kTokenError);
  EXPECT_EQ(in.u16(), t.bytes().size() - 3);
  EXPECT_EQ(in.u32(), 547u);
  EXPECT_EQ(in.u8(), 0);   // state
  EXPECT_EQ(in.u8(), 16);  // class
  EXPECT_EQ(in.us_varchar(), "Konflikt");
  EXPECT_EQ(in.b_varchar(), kServerName);
  EXPECT_EQ(in.b_varchar(), "");
  EXPECT_EQ(in.u32(), 3u);
  EXPECT_TRUE(in.at_end());

  TokenWriter info;
  info.info(5701, "Changed database context to 'club1'.");
  EXPECT_EQ(static_cast<uint8_t>(info.bytes()[0]), kTokenInfo);

  TokenWriter done;
  done.done(kTokenDoneProc, kDoneMore | kDoneCount, 1ULL << 40);
  auto d = testing::final_done(" " + done.bytes());
  EXPECT_EQ(d.token, kTokenDoneProc);
  EXPECT_EQ(d.status, kDoneMore | kDoneCount);
  EXPECT_EQ(d.rows, 1ULL << 40);
}

TEST(TdsTokens, RowsWithNullsUseTheNullBitmap) {
  std::vector<ColumnInfo> columns(9, ColumnInfo{"c", TypeInfo::of(Type::Int), true});
  std::vector<Value> values(9, Value::integer(1));
  values[8] = Value::null();
  TokenWriter t;
  t.row(columns, values);
  ASSERT_EQ(static_cast<uint8_t>(t.bytes()[0]), kTokenNbcRow);
  EXPECT_EQ(t.bytes().substr(1, 2), std::string("\x00\x01", 2));
  EXPECT_EQ(t.bytes().size(), 1 + 2 + 8 * 5u);
  values[8] = Value::integer(2);
  TokenWriter full;
  full.row(columns, values);
  EXPECT_EQ(static_cast<uint8_t>(full.bytes()[0]), kTokenRow);
}

}  // namespace
}  // namespace standin::tds
