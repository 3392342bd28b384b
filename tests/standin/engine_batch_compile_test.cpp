// A batch is compiled before it runs: a column that an existing table lacks
// fails the whole batch with 207 before its first statement runs, while a
// table missing when the batch starts is resolved when its statement runs
// (deferred name resolution).
// https://learn.microsoft.com/en-us/previous-versions/sql/sql-server-2008/ms190686(v=sql.100)
// ("when you reference an existing table ... you cannot list nonexistent
// columns for that table") and
// https://learn.microsoft.com/en-us/previous-versions/sql/sql-server-2008-r2/ms175502(v=sql.105)
// ("A compile error ... no statements in the batch are executed"; "A table
// cannot be changed and then the new columns referenced in the same batch";
// its CREATE TABLE dbo.t3 example of a deferred statement).
#include <string>

#include "engine_fixture.h"

namespace standin::test {
namespace {

class EngineBatchCompile : public ::testing::Test {
 protected:
  void SetUp() override {
    e.ok("CREATE TABLE PASS (Nr int NOT NULL, Name varchar(20) NULL) INSERT INTO PASS VALUES (1, 'a')");
  }

  // The batch fails with 207 for `column` and leaves PASS as it was.
  void expect_refused_whole(const std::string& batch, const std::string& column) {
    BatchResult r = e.run(batch);
    ASSERT_EQ(r.errors.size(), 1u) << batch;
    EXPECT_EQ(r.errors[0].number, 207) << batch;
    EXPECT_EQ(r.errors[0].message, "Invalid column name '" + column + "'.") << batch;
    EXPECT_EQ(e.scalar("SELECT COUNT(*) FROM INFORMATION_SCHEMA.COLUMNS WHERE TABLE_NAME = 'PASS'"), "2") << batch;
    EXPECT_EQ(e.scalar("SELECT COUNT(*) FROM PASS"), "1") << batch;
  }

  Engine e;
};

TEST_F(EngineBatchCompile, ColumnAddedAndUsedInOneBatchRunsNeither) {
  expect_refused_whole("ALTER TABLE PASS ADD X int NULL\nUPDATE PASS SET X = 1", "X");
  expect_refused_whole("ALTER TABLE PASS ADD X int NULL\nINSERT INTO PASS (Nr, X) VALUES (2, 1)", "X");
  expect_refused_whole("INSERT INTO PASS VALUES (2, 'b')\nSELECT Nr, X FROM PASS WHERE X = 1", "X");
  expect_refused_whole("DELETE FROM PASS WHERE Nr = 1\nDELETE FROM PASS WHERE X = 1", "X");
  // In either branch of an IF: the whole batch is compiled.
  expect_refused_whole("INSERT INTO PASS VALUES (2, 'b')\nIF 1 = 0 UPDATE PASS SET X = 1", "X");
  // A join's condition and a qualified name.
  expect_refused_whole("CREATE TABLE Other (Nr int)\nSELECT p.Nr FROM PASS AS p INNER JOIN PASS AS q ON q.X = p.Nr",
                       "X");
  // The same column named twice is reported once; the line is the statement's.
  BatchResult r = e.run("INSERT INTO PASS VALUES (2, 'b')\nUPDATE PASS SET X = 1 WHERE X = 2");
  ASSERT_EQ(r.errors.size(), 1u);
  EXPECT_EQ(r.errors[0].line, 2);
}

TEST_F(EngineBatchCompile, SeparateBatchesSeeTheNewColumn) {
  e.ok("ALTER TABLE PASS ADD X int NULL");
  e.ok("UPDATE PASS SET X = 1");
  EXPECT_EQ(e.scalar("SELECT X FROM PASS"), "1");
}

TEST_F(EngineBatchCompile, TableCreatedInTheBatchIsResolvedWhenItsStatementRuns) {
  e.ok("CREATE TABLE Neu (A int NULL)\nINSERT INTO Neu (A) VALUES (1)\nUPDATE Neu SET A = 2");
  EXPECT_EQ(e.scalar("SELECT A FROM Neu"), "2");
  // A missing column of a deferred table ends the batch as its statement
  // runs; what ran before stays done.
  BatchResult r =
      e.run("CREATE TABLE Spaet (A int NULL)\nINSERT INTO Spaet (B) VALUES (1)\nINSERT INTO PASS VALUES (3, 'c')");
  ASSERT_FALSE(r.ok());
  EXPECT_EQ(r.errors[0].number, 207);
  EXPECT_EQ(e.scalar("SELECT COUNT(*) FROM sysobjects WHERE name = 'Spaet'"), "1");
  EXPECT_EQ(e.scalar("SELECT COUNT(*) FROM PASS"), "1");
}

// A table dropped and created again in one batch is compiled as it stood
// when the batch began.
TEST_F(EngineBatchCompile, TableRecreatedInTheBatchIsCompiledAsItStoodBefore) {
  expect_refused_whole(
      "DROP TABLE PASS\nCREATE TABLE PASS (Nr int, Name varchar(20), X int)\nINSERT INTO PASS (Nr, X) VALUES (2, 1)",
      "X");
}

// A syntax error anywhere is reported alone, before any name is bound.
TEST_F(EngineBatchCompile, SyntaxErrorComesBeforeTheMissingColumn) {
  BatchResult r = e.run("UPDATE PASS SET X = 1\nSELECT FROM WHERE");
  ASSERT_EQ(r.errors.size(), 1u);
  EXPECT_EQ(r.errors[0].number, 156);  // "Incorrect syntax near the keyword 'FROM'."
}

// A long data script is checked too, its inserts of literals included.
TEST_F(EngineBatchCompile, LongScriptWithAMissingColumnRunsNone) {
  std::string script;
  for (int i = 0; i < 4000; ++i)
    script += "INSERT INTO PASS (Nr, Name) VALUES (" + std::to_string(i + 10) + ", 'abcdefghij')\n";
  script += "INSERT INTO PASS (Nr, X) VALUES (1, 2)\n";
  ASSERT_GT(script.size(), size_t{64} * 1024);
  expect_refused_whole(script, "X");
}

// What the compile step cannot bind is left to the statement as it runs:
// subqueries (bound against their own tables first), views, system views,
// ORDER BY (which may name the select list's aliases), statements after USE.
TEST_F(EngineBatchCompile, WhatCannotBeBoundBeforehandStillRuns) {
  e.ok("CREATE VIEW V AS SELECT Nr FROM PASS");
  e.ok("SELECT Nr AS Nummer FROM PASS ORDER BY Nummer");
  e.ok("SELECT Nr FROM PASS WHERE EXISTS (SELECT * FROM V WHERE V.Nr = PASS.Nr)");
  e.ok("SELECT name FROM sysobjects WHERE name = 'PASS'");
  e.ok("SELECT Nr FROM V");
  EXPECT_EQ(e.error("SELECT Nr FROM PASS WHERE EXISTS (SELECT * FROM V WHERE V.Missing = 1)"), 207);
}

}  // namespace
}  // namespace standin::test
