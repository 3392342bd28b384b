// How far a run-time error reaches: its statement, the rest of its batch,
// or the open transaction as well; and SET XACT_ABORT, which makes every
// run-time error reach the transaction. The rule per error is that of
// https://learn.microsoft.com/en-us/sql/relational-databases/errors-events/database-engine-error-severities
// and https://learn.microsoft.com/en-us/sql/t-sql/statements/set-xact-abort-transact-sql
#include "engine_fixture.h"

namespace standin::test {
namespace {

constexpr const char* kSchema =
    "CREATE TABLE P (id int NOT NULL PRIMARY KEY, name varchar(5) NOT NULL, memo text NULL) "
    "CREATE TABLE C (p int, CONSTRAINT FK_C_P FOREIGN KEY (p) REFERENCES P (id)) "
    "CREATE TABLE L (step int) CREATE TABLE V (v varchar(10)) INSERT INTO P VALUES (1, 'a', NULL) "
    "INSERT INTO P VALUES (2, 'b', NULL) INSERT INTO V VALUES ('abc')";

enum class Reach { Statement, Batch, Transaction };

struct Case {
  const char* statement;
  int number;
  Reach reach;
};

// Runs the statement inside a transaction that has written step 0, with a
// write of step 1 after it in the same batch; tells how far its error reached.
void expect_reach(const Case& c, bool xact_abort = false) {
  Engine e;
  e.ok(kSchema);
  if (xact_abort) e.ok("SET XACT_ABORT ON");
  e.ok("BEGIN TRANSACTION INSERT INTO L VALUES (0)");
  BatchResult r = e.run(std::string(c.statement) + "\nINSERT INTO L VALUES (1)");
  ASSERT_FALSE(r.ok()) << c.statement;
  EXPECT_EQ(r.errors[0].number, c.number) << c.statement;
  std::string trancount = e.scalar("SELECT @@TRANCOUNT");
  std::string steps = e.scalar("SELECT COUNT(*) FROM L");
  switch (c.reach) {
    case Reach::Statement:
      EXPECT_EQ(trancount, "1") << c.statement;
      EXPECT_EQ(steps, "2") << c.statement;
      break;
    case Reach::Batch:
      EXPECT_EQ(trancount, "1") << c.statement;
      EXPECT_EQ(steps, "1") << c.statement;
      break;
    case Reach::Transaction:
      EXPECT_EQ(trancount, "0") << c.statement;
      EXPECT_EQ(steps, "0") << c.statement;
      break;
  }
}

TEST(EngineErrorScope, ConstraintKeyAndTruncationErrorsEndOnlyTheStatement) {
  const Case cases[] = {
      {"INSERT INTO C VALUES (9)", 547, Reach::Statement},
      {"INSERT INTO P VALUES (1, 'x', NULL)", 2627, Reach::Statement},
      {"INSERT INTO P VALUES (3, NULL, NULL)", 515, Reach::Statement},
      {"INSERT INTO P VALUES (3, 'abcdefgh', NULL)", 8152, Reach::Statement},
      {"UPDATE P SET name = 'abcdefgh'", 8152, Reach::Statement},
      {"SELECT (SELECT id FROM P)", 512, Reach::Statement},
      {"DROP TABLE Nowhere", 3701, Reach::Statement},
  };
  for (const Case& c : cases) expect_reach(c);
}

TEST(EngineErrorScope, NameAndTypeErrorsEndTheBatchAndKeepTheTransaction) {
  const Case cases[] = {
      {"SELECT * FROM Nowhere", 208, Reach::Batch},
      {"SELECT @missing", 137, Reach::Batch},
      {"SELECT id FROM P WHERE memo = 'a'", 402, Reach::Batch},
      {"SELECT id FROM P ORDER BY memo", 306, Reach::Batch},
  };
  for (const Case& c : cases) expect_reach(c);
}

TEST(EngineErrorScope, ConversionAndArithmeticErrorsRollBackTheTransaction) {
  const Case cases[] = {
      {"SELECT CAST('abc' AS int)", 245, Reach::Transaction},
      // The same conversion error reaches as far in every statement.
      {"INSERT INTO L SELECT CAST(v AS int) FROM V", 245, Reach::Transaction},
      {"ALTER TABLE V ALTER COLUMN v int", 245, Reach::Transaction},
      {"SELECT CAST('abc' AS decimal(5, 2))", 8114, Reach::Transaction},
      {"SELECT CAST('notadate' AS datetime)", 241, Reach::Transaction},
      {"SELECT 1 / 0", 8134, Reach::Transaction},
      {"INSERT INTO L VALUES (CAST(300 AS tinyint))", 8115, Reach::Transaction},
  };
  for (const Case& c : cases) expect_reach(c);
}

TEST(EngineErrorScope, XactAbortMakesEveryRunTimeErrorRollBack) {
  const Case cases[] = {
      {"INSERT INTO C VALUES (9)", 547, Reach::Transaction},
      {"INSERT INTO P VALUES (1, 'x', NULL)", 2627, Reach::Transaction},
      {"UPDATE P SET name = 'abcdefgh'", 8152, Reach::Transaction},
      {"SELECT CAST('abc' AS int)", 245, Reach::Transaction},
      // Compile errors are left as they are.
      {"SELECT @missing", 137, Reach::Batch},
  };
  for (const Case& c : cases) expect_reach(c, true);
}

TEST(EngineErrorScope, XactAbortIsASettingOfTheSession) {
  Engine e;
  e.ok(kSchema);
  e.ok("SET XACT_ABORT ON");
  // Outside a transaction the batch still ends at the failed statement.
  BatchResult r = e.run("INSERT INTO C VALUES (9)\nINSERT INTO L VALUES (1)");
  ASSERT_FALSE(r.ok());
  EXPECT_EQ(e.scalar("SELECT COUNT(*) FROM L"), "0");
  // Another session has its own setting.
  auto other = e.server().connect("T");
  other->execute("BEGIN TRANSACTION INSERT INTO L VALUES (5)");
  other->execute("INSERT INTO C VALUES (9)");
  BatchResult count = other->execute("SELECT @@TRANCOUNT");
  ASSERT_TRUE(count.ok());
  EXPECT_EQ(count.result_sets.back().rows[0][0].to_display(), "1");
  other->execute("ROLLBACK");
  // OFF restores statement-only errors.
  e.ok("SET XACT_ABORT OFF");
  e.run("INSERT INTO C VALUES (9)\nINSERT INTO L VALUES (1)");
  EXPECT_EQ(e.scalar("SELECT COUNT(*) FROM L"), "1");
}

}  // namespace
}  // namespace standin::test
