// A long command text (a data script of thousands of inserts) is read
// statement by statement instead of being held as trees all at once. It
// must still behave as one batch: a syntax error anywhere runs nothing, an
// error that ends the batch ends it where it stands, and errors name the
// line of their statement.
#include <functional>
#include <string>

#include "engine_fixture.h"

namespace standin::test {
namespace {

constexpr int kRows = 3000;  // about 150 KB of text: far beyond what is parsed only once

// INSERTs of ids 1..kRows, one per line; `replace(line)` may swap a line.
std::string insert_script(const std::function<std::string(int)>& replace = nullptr) {
  std::string text;
  for (int line = 1; line <= kRows; ++line) {
    std::string statement = replace ? replace(line) : "";
    if (statement.empty())
      statement = "INSERT INTO t (id, v) VALUES (" + std::to_string(line) + ", 'some text of the row')";
    text += statement + "\r\n";
  }
  return text;
}

class LongBatch : public ::testing::Test {
 protected:
  void SetUp() override { e.ok("CREATE TABLE t (id int NOT NULL PRIMARY KEY, v varchar(30))"); }
  std::string count() { return e.rows("SELECT COUNT(*) FROM t")[0][0]; }
  Engine e;
};

TEST_F(LongBatch, RunsEveryStatement) {
  EXPECT_TRUE(e.run(insert_script()).ok());
  EXPECT_EQ(count(), std::to_string(kRows));
  EXPECT_EQ(e.rows("SELECT v FROM t WHERE id = 2999"), (Rows{{"some text of the row"}}));
}

TEST_F(LongBatch, SyntaxErrorAtTheEndRunsNothing) {
  BatchResult r = e.run(insert_script() + "INSERT INTO t VALUES (");
  ASSERT_EQ(r.errors.size(), 1u);
  EXPECT_EQ(r.errors[0].number, 102);
  EXPECT_EQ(r.errors[0].line, kRows + 1);
  EXPECT_EQ(count(), "0");
}

TEST_F(LongBatch, StatementErrorGoesOnAndNamesItsLine) {
  BatchResult r = e.run(insert_script([](int line) {
    return line == 1500 ? std::string("INSERT INTO t (id, v) VALUES (7, 'duplicate')") : std::string();
  }));
  ASSERT_EQ(r.errors.size(), 1u);
  EXPECT_EQ(r.errors[0].number, 2627);
  EXPECT_EQ(r.errors[0].line, 1500);
  EXPECT_EQ(count(), std::to_string(kRows - 1));
}

TEST_F(LongBatch, BatchEndingErrorStopsWhereItStands) {
  BatchResult r = e.run(insert_script([](int line) {
    return line == 2000 ? std::string("INSERT INTO t (id, v) VALUES ('abc', 'x')") : std::string();
  }));
  ASSERT_EQ(r.errors.size(), 1u);
  EXPECT_EQ(r.errors[0].line, 2000);
  EXPECT_EQ(count(), "1999");
}

TEST_F(LongBatch, CreateFunctionMustStillComeFirst) {
  BatchResult r = e.run(insert_script() + "CREATE FUNCTION f() RETURNS TABLE AS RETURN SELECT 1 AS x");
  ASSERT_EQ(r.errors.size(), 1u);
  EXPECT_EQ(r.errors[0].number, 111);
  EXPECT_EQ(count(), "0");
}

}  // namespace
}  // namespace standin::test
