// Command texts of several statements, syntax errors, error granularity,
// names and literals.
#include "engine_fixture.h"

namespace standin::test {
namespace {

TEST(EngineBatch, RunsStatementsInOrderWithOrWithoutSemicolons) {
  Engine e;
  e.ok("CREATE TABLE a (x int) INSERT INTO a VALUES (1); INSERT INTO a VALUES (2)\r\nINSERT INTO a VALUES (3)");
  EXPECT_EQ(e.scalar("SELECT COUNT(*) FROM a"), "3");
}

TEST(EngineBatch, SyntaxErrorRunsNothing) {
  Engine e;
  e.ok("CREATE TABLE a (x int)");
  BatchResult r = e.run("INSERT INTO a VALUES (1)\nINSERT INTO a VALUESS (2)");
  ASSERT_EQ(r.errors.size(), 1u);
  EXPECT_EQ(r.errors[0].number, 102);
  EXPECT_EQ(r.errors[0].line, 2);
  EXPECT_EQ(e.scalar("SELECT COUNT(*) FROM a"), "0");
}

// Text nested deeper than the engine's limit is refused before anything
// runs, however it nests; text within the limit runs.
TEST(EngineBatch, TooDeeplyNestedTextIsRefusedNotACrash) {
  Engine e;
  auto repeat = [](std::string_view piece, int n) {
    std::string out;
    for (int i = 0; i < n; ++i) out += piece;
    return out;
  };
  EXPECT_EQ(e.scalar("SELECT " + repeat("(", 100) + "1" + repeat(")", 100)), "1");
  EXPECT_EQ(e.scalar("SELECT 0" + repeat("+1", 200)), "200");
  const std::string too_deep[] = {
      "SELECT " + repeat("(", 5000) + "1" + repeat(")", 5000),
      "SELECT 0" + repeat("+1", 5000),
      "SELECT 1 WHERE 1=1" + repeat(" AND 1=1", 5000),
      "SELECT " + repeat("- ", 5000) + "1",
      "SELECT 1 WHERE " + repeat("NOT ", 5000) + "1=0",
      repeat("IF 1=1 ", 5000) + "SELECT 1",
      "SELECT * FROM " + repeat("(SELECT 1 AS x FROM ", 2000) + "sys.objects" + repeat(") t", 2000),
  };
  for (const std::string& text : too_deep) {
    BatchResult r = e.run(text);
    ASSERT_EQ(r.errors.size(), 1u) << text.substr(0, 40);
    EXPECT_EQ(r.errors[0].number, 191) << text.substr(0, 40);
    EXPECT_EQ(r.errors[0].severity, 15);
    EXPECT_TRUE(r.result_sets.empty());
  }
}

TEST(EngineBatch, StatementErrorKeepsEarlierStatementsAndGoesOn) {
  Engine e;
  e.ok("CREATE TABLE a (x int NOT NULL, CONSTRAINT PK_a PRIMARY KEY CLUSTERED (x))");
  BatchResult r = e.run("INSERT INTO a VALUES (1)\nINSERT INTO a VALUES (1)\nINSERT INTO a VALUES (2)");
  ASSERT_EQ(r.errors.size(), 1u);
  EXPECT_EQ(r.errors[0].number, 2627);
  EXPECT_EQ(r.errors[0].message,
            "Violation of PRIMARY KEY constraint 'PK_a'. Cannot insert duplicate key in object 'dbo.a'. "
            "The duplicate key value is (1).");
  EXPECT_EQ(r.errors[0].line, 2);
  EXPECT_EQ(e.scalar("SELECT COUNT(*) FROM a"), "2");
}

TEST(EngineBatch, InvalidObjectEndsTheBatch) {
  Engine e;
  e.ok("CREATE TABLE a (x int)");
  BatchResult r = e.run("INSERT INTO a VALUES (1) INSERT INTO missing VALUES (1) INSERT INTO a VALUES (2)");
  ASSERT_EQ(r.errors.size(), 1u);
  EXPECT_EQ(r.errors[0].message, "Invalid object name 'missing'.");
  EXPECT_EQ(e.scalar("SELECT COUNT(*) FROM a"), "1");
}

TEST(EngineBatch, FailingStatementChangesNothing) {
  Engine e;
  e.ok("CREATE TABLE a (x int NOT NULL PRIMARY KEY) INSERT INTO a VALUES (1)");
  EXPECT_EQ(e.error("INSERT INTO a SELECT 2 UNION ALL SELECT 1"), 2627);
  EXPECT_EQ(e.scalar("SELECT COUNT(*) FROM a"), "1");
  EXPECT_EQ(e.error("UPDATE a SET x = NULL"), 515);
  EXPECT_EQ(e.scalar("SELECT x FROM a"), "1");
}

TEST(EngineBatch, CommentsNamesAndLiterals) {
  Engine e;
  e.ok("-- a comment\nCREATE TABLE [dbo].[Tab le] ([x y] varchar(10)) /* block /* nested */ */");
  e.ok("INSERT INTO dbo.[Tab le] VALUES (N'Grüße'), ('it''s')");
  EXPECT_EQ(e.rows("SELECT [x y] FROM T.dbo.[Tab le] ORDER BY 1"), (Rows{{"Grüße"}, {"it's"}}));
  EXPECT_EQ(e.rows("SELECT name FROM master.dbo.sysdatabases WHERE name = 'T'"), (Rows{{"T"}}));
}

// Cut-off and malformed text is refused with a syntax message, not a crash
// and not a statement half run.
TEST(EngineBatch, BadInputIsRefusedWithASyntaxError) {
  Engine e;
  const struct {
    const char* text;
    int number;
  } cases[] = {
      {"(", 102},
      {"SELECT", 102},
      {"SELECT 'unterminated", 105},
      {"SELECT [x", 102},
      {"INSERT INTO", 102},
      {")))", 102},
      {"SELECT 1 +", 102},
      {"CREATE TABLE t (", 102},
      {"SELECT * FROM (SELECT 1) ", 102},
      {"ALTER TABLE x ADD", 102},
  };
  for (const auto& c : cases) EXPECT_EQ(e.error(c.text), c.number) << c.text;
  EXPECT_EQ(e.error(""), 0);
  EXPECT_EQ(e.scalar("SELECT COUNT(*) FROM sysobjects WHERE name = 't'"), "0");
}

TEST(EngineBatch, SessionsHaveTheirOwnDatabaseAndSettings) {
  Engine e;
  auto other = e.server().connect("master");
  e.ok("SET DATEFORMAT ymd");
  EXPECT_EQ(other->current_database(), "master");
  EXPECT_EQ(e.session().current_database(), "T");
  auto r = other->execute("SELECT CAST('20.02.2013' AS datetime)");
  ASSERT_TRUE(r.ok()) << r.errors[0].message;
  EXPECT_EQ(r.result_sets[0].rows[0][0].to_display(), "2013-02-20 00:00:00.000");
}

TEST(EngineBatch, MissingDatabaseRefusesTheConnection) {
  Engine e;
  Error err;
  EXPECT_EQ(e.server().connect("nowhere", &err), nullptr);
  EXPECT_EQ(err.number, 4060);
}

}  // namespace
}  // namespace standin::test
