#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <set>
#include <string>

#include "storage/codec.h"
#include "storage/crc32c.h"
#include "storage/file_names.h"

namespace standin::storage {
namespace {

TEST(StorageCodec, IntegersAndStringsRoundTripAtTheirLimits) {
  const uint64_t unsigned_cases[] = {0, 1, 127, 128, 16383, 16384, UINT32_MAX, std::numeric_limits<uint64_t>::max()};
  const int64_t signed_cases[] = {
      0, -1, 1, -64, 64, std::numeric_limits<int64_t>::min(), std::numeric_limits<int64_t>::max()};
  const std::string strings[] = {"", std::string("a\0b", 3), std::string(300, 'x'), "Fälligkeit €"};

  Writer out;
  for (uint64_t v : unsigned_cases) out.varint(v);
  for (int64_t v : signed_cases) out.svarint(v);
  for (const auto& s : strings) out.str(s);
  out.u32(0xDEADBEEF);
  out.u64(0x0102030405060708ULL);

  Reader in(out.bytes());
  for (uint64_t expected : unsigned_cases) {
    uint64_t v = 0;
    ASSERT_TRUE(in.varint(&v));
    EXPECT_EQ(v, expected);
  }
  for (int64_t expected : signed_cases) {
    int64_t v = 0;
    ASSERT_TRUE(in.svarint(&v));
    EXPECT_EQ(v, expected);
  }
  for (const auto& expected : strings) {
    std::string s;
    ASSERT_TRUE(in.str(&s));
    EXPECT_EQ(s, expected);
  }
  uint32_t a = 0;
  uint64_t b = 0;
  ASSERT_TRUE(in.u32(&a));
  ASSERT_TRUE(in.u64(&b));
  EXPECT_EQ(a, 0xDEADBEEFu);
  EXPECT_EQ(b, 0x0102030405060708ULL);
  EXPECT_TRUE(in.at_end());
}

TEST(StorageCodec, SmallSignedNumbersStayShort) {
  Writer out;
  out.svarint(-1);
  out.svarint(63);
  EXPECT_EQ(out.bytes().size(), 2u);
}

// Every strict prefix of a valid encoding must be refused, never misread.
TEST(StorageCodec, ReaderRefusesEveryTruncation) {
  Writer out;
  out.varint(1ULL << 40);
  out.svarint(-123456789);
  out.str("statement text");
  out.u64(42);
  const std::string& full = out.bytes();
  for (size_t n = 0; n < full.size(); ++n) {
    Reader in(std::string_view(full).substr(0, n));
    uint64_t u = 0, w = 0;
    int64_t s = 0;
    std::string text;
    bool ok = in.varint(&u) && in.svarint(&s) && in.str(&text) && in.u64(&w);
    EXPECT_FALSE(ok) << "prefix of " << n << " bytes";
  }
}

TEST(StorageCodec, ReaderRefusesMalformedInput) {
  // Eleven continuation bytes: longer than any 64-bit varint.
  std::string overlong(11, '\x80');
  uint64_t v = 0;
  EXPECT_FALSE(Reader(overlong).varint(&v));

  // A ten-byte varint whose value needs more than 64 bits.
  std::string too_big(9, '\xFF');
  too_big.push_back('\x7F');
  EXPECT_FALSE(Reader(too_big).varint(&v));

  // A string length far beyond the input.
  Writer out;
  out.varint(1000);
  out.raw("abc");
  std::string s;
  EXPECT_FALSE(Reader(out.bytes()).str(&s));
}

TEST(StorageCodec, FailureIsSticky) {
  Writer out;
  out.u8(7);
  Reader in(out.bytes());
  uint32_t big = 0;
  uint8_t small = 0;
  EXPECT_FALSE(in.u32(&big));
  EXPECT_FALSE(in.u8(&small));  // the byte is there, but the reader has failed
  EXPECT_FALSE(in.ok());
  EXPECT_FALSE(in.at_end());
}

TEST(StorageChecksum, MatchesTheCrc32cCheckValueAndExtends) {
  EXPECT_EQ(crc32c("123456789"), 0xE3069283u);
  EXPECT_EQ(crc32c(""), 0u);
  std::string text = "The quick brown fox jumps over the lazy dog";
  for (size_t split = 0; split <= text.size(); ++split) {
    std::string_view view(text);
    EXPECT_EQ(crc32c_extend(crc32c(view.substr(0, split)), view.substr(split)), crc32c(text));
  }
}

TEST(StorageFileNames, AnyDatabaseNameGivesASafeDistinctFileName) {
  const std::string names[] = {"master",
                               "Master",
                               "..",
                               ".",
                               "",
                               "a/b",
                               "a%2Fb",
                               "Dravok TMP",
                               "Däne",
                               std::string(300, 'x'),
                               std::string(299, 'x') + "y",
                               std::string(150, '/')};
  std::set<std::string> seen;
  for (const auto& name : names) {
    std::string file = escape_database_name(name);
    EXPECT_FALSE(file.empty()) << name;
    EXPECT_EQ(file.find('/'), std::string::npos) << name;
    EXPECT_EQ(file.find('.'), std::string::npos) << name;
    EXPECT_LE(snapshot_file_name(name, UINT64_MAX).size() + 4, 255u) << name;
    EXPECT_TRUE(seen.insert(file).second) << "collision for " << name;
  }
  EXPECT_EQ(escape_database_name("Dravok_01"), "Dravok_01");
}

}  // namespace
}  // namespace standin::storage
