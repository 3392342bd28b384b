// The sqllogictest runner's reading of scripts and its comparison of results:
// a fault here would let the suite pass records it should fail.
#include <gtest/gtest.h>

#include "slt_record.h"
#include "slt_values.h"

namespace {

using slt::Record;

TEST(SltScript, ReadsRecordsConditionsAndExpectedLines) {
  auto records = slt::parse_script(
      "# comment\n"
      "hash-threshold 8\n\n"
      "statement ok\nCREATE TABLE t(a INT)\n\n"
      "skipif mssql # not here\nstatement error\nbad\n\n"
      "onlyif sqlite\nquery IT rowsort label-1\nSELECT a,\n b FROM t\n----\n1\nx\n\n"
      "halt\n");
  ASSERT_EQ(records.size(), 5u);
  EXPECT_EQ(records[0].kind, Record::Kind::HashThreshold);
  EXPECT_EQ(records[0].threshold, 8);
  EXPECT_EQ(records[1].line, 4);
  EXPECT_FALSE(records[1].expect_error);
  EXPECT_TRUE(records[2].expect_error);
  EXPECT_FALSE(slt::applies_to(records[2], "mssql"));
  EXPECT_TRUE(slt::applies_to(records[2], "sqlite"));
  EXPECT_EQ(records[3].sql, "SELECT a,\n b FROM t");
  EXPECT_EQ(records[3].types, "IT");
  EXPECT_EQ(records[3].sort, Record::Sort::Rows);
  EXPECT_EQ(records[3].expected, (std::vector<std::string>{"1", "x"}));
  EXPECT_FALSE(slt::applies_to(records[3], "mssql"));
  EXPECT_EQ(records[4].kind, Record::Kind::Halt);
  EXPECT_THROW(slt::parse_script("select 1\n"), std::runtime_error);
}

TEST(SltValues, FormatsByColumnLetter) {
  using standin::Value;
  EXPECT_EQ(slt::format_value(Value::null(), 'I'), "NULL");
  EXPECT_EQ(slt::format_value(Value::integer(-7), 'I'), "-7");
  EXPECT_EQ(slt::format_value(Value::integer(2), 'R'), "2.000");
  EXPECT_EQ(slt::format_value(Value::floating(-2.5), 'I'), "-2");
  EXPECT_EQ(slt::format_value(Value::varchar(""), 'T'), "(empty)");
  EXPECT_EQ(slt::format_value(Value::varchar("a\tb"), 'T'), "a@b");
}

TEST(SltValues, HashesEachValueWithANewline) {
  EXPECT_EQ(slt::hash_values({"1", "2"}), "6ddb4095eb719e2a9f0a3f95677d24e0");
  EXPECT_EQ(slt::hash_values({}), "d41d8cd98f00b204e9800998ecf8427e");
}

TEST(SltValues, ComparesValuesRowsOrHash) {
  std::vector<std::string> values{"1", "2", "3", "4"};
  EXPECT_TRUE(slt::matches_expected(values, 2, {"1", "2", "3", "4"}));
  EXPECT_TRUE(slt::matches_expected(values, 2, {"1 2", "3 4"}));
  EXPECT_FALSE(slt::matches_expected(values, 2, {"1 2", "4 3"}));
  EXPECT_FALSE(slt::matches_expected(values, 1, {"1", "2", "3"}));
  EXPECT_TRUE(slt::matches_expected({"1", "2"}, 1, {"2 values hashing to 6ddb4095eb719e2a9f0a3f95677d24e0"}));
  EXPECT_FALSE(slt::matches_expected({"1", "2"}, 1, {"3 values hashing to 6ddb4095eb719e2a9f0a3f95677d24e0"}));
}

TEST(SltValues, SortsRowsOrValues) {
  standin::ResultSet rs;
  rs.columns.resize(2);
  rs.rows = {{standin::Value::integer(2), standin::Value::integer(1)},
             {standin::Value::integer(1), standin::Value::integer(9)}};
  EXPECT_EQ(slt::format_result(rs, "II", Record::Sort::None), (std::vector<std::string>{"2", "1", "1", "9"}));
  EXPECT_EQ(slt::format_result(rs, "II", Record::Sort::Rows), (std::vector<std::string>{"1", "9", "2", "1"}));
  EXPECT_EQ(slt::format_result(rs, "II", Record::Sort::Values), (std::vector<std::string>{"1", "1", "2", "9"}));
}

}  // namespace
