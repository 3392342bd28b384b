// Transactions: commit, rollback of data and schema, nesting by count,
// errors inside a transaction, session end, and writes against another
// session's open transaction.
#include "engine_fixture.h"

namespace standin::test {
namespace {

class Txn : public ::testing::Test {
 protected:
  void SetUp() override {
    e.ok("CREATE TABLE k (id int NOT NULL, name varchar(20) NULL, CONSTRAINT PK_k PRIMARY KEY CLUSTERED (id))");
    e.ok("INSERT INTO k VALUES (1, 'one') INSERT INTO k VALUES (2, 'two')");
  }
  Rows all_k() { return e.rows("SELECT id, name FROM k ORDER BY id"); }
  Engine e;
  const Rows initial{{"1", "one"}, {"2", "two"}};
};

TEST_F(Txn, CommitKeepsAndRollbackUndoesEveryKindOfRowChange) {
  e.ok(
      "BEGIN TRAN INSERT INTO k VALUES (3, 'three') UPDATE k SET name = 'uno' WHERE id = 1 "
      "DELETE FROM k WHERE id = 2 INSERT INTO k VALUES (4, 'four')");
  EXPECT_EQ(all_k(), (Rows{{"1", "uno"}, {"3", "three"}, {"4", "four"}}));
  e.ok("ROLLBACK");
  EXPECT_EQ(all_k(), initial);

  e.ok(
      "BEGIN TRANSACTION step1 UPDATE k SET name = 'uno' WHERE id = 1 TRUNCATE TABLE k "
      "INSERT INTO k VALUES (7, 'seven') COMMIT TRANSACTION step1");
  EXPECT_EQ(all_k(), (Rows{{"7", "seven"}}));
  EXPECT_EQ(e.error("ROLLBACK"), 3903);
  EXPECT_EQ(all_k(), (Rows{{"7", "seven"}}));
}

// Rows appended in one statement and changed in a later one: the row copy
// taken by the later statement must still be kept by the transaction.
TEST_F(Txn, RollbackRestoresRowsInsertedThenChangedInLaterStatements) {
  e.ok("BEGIN TRAN");
  e.ok("INSERT INTO k VALUES (3, 'three')");
  e.ok("UPDATE k SET name = 'x'");
  e.ok("INSERT INTO k VALUES (4, 'four')");
  e.ok("DELETE FROM k WHERE id IN (1, 4)");
  e.ok("ROLLBACK TRAN");
  EXPECT_EQ(all_k(), initial);
}

TEST_F(Txn, RollbackUndoesSchemaChanges) {
  e.ok("CREATE TABLE gone (a int) INSERT INTO gone VALUES (5)");
  e.ok("BEGIN TRAN");
  e.ok("CREATE TABLE fresh (a int) INSERT INTO fresh VALUES (1)");
  e.ok("DROP TABLE gone");
  e.ok("ALTER TABLE k DROP CONSTRAINT PK_k");
  e.ok("INSERT INTO k VALUES (1, 'dup')");
  e.ok("ALTER TABLE k ADD extra int NULL");
  e.ok("CREATE UNIQUE INDEX IX_k_name ON k (name)");
  e.ok("CREATE FUNCTION dbo.f() RETURNS TABLE AS RETURN (SELECT 1 AS one)");
  e.ok("ROLLBACK");
  EXPECT_EQ(e.rows("SELECT name FROM sysobjects WHERE name IN ('fresh', 'f', 'IX_k_name')"), Rows{});
  EXPECT_EQ(e.scalar("SELECT a FROM gone"), "5");
  EXPECT_EQ(e.error("SELECT extra FROM k"), 207);
  EXPECT_EQ(all_k(), initial);
  // The primary key is back in force.
  EXPECT_EQ(e.error("INSERT INTO k VALUES (1, 'dup')"), 2627);
}

TEST_F(Txn, NestsByCountAndRollbackEndsAllLevels) {
  EXPECT_EQ(e.scalar("SELECT @@TRANCOUNT"), "0");
  e.ok("BEGIN TRAN INSERT INTO k VALUES (3, 'three') BEGIN TRANSACTION INSERT INTO k VALUES (4, 'four')");
  EXPECT_EQ(e.scalar("SELECT @@TRANCOUNT"), "2");
  e.ok("COMMIT WORK");
  EXPECT_EQ(e.scalar("SELECT @@trancount"), "1");
  e.ok("ROLLBACK WORK");
  EXPECT_EQ(e.scalar("SELECT @@TRANCOUNT"), "0");
  EXPECT_EQ(all_k(), initial);

  e.ok("BEGIN TRAN BEGIN TRAN INSERT INTO k VALUES (3, 'three') COMMIT TRAN COMMIT");
  EXPECT_EQ(e.scalar("SELECT @@TRANCOUNT"), "0");
  EXPECT_EQ(e.error("ROLLBACK"), 3903);
  EXPECT_EQ(all_k().size(), 3u);
}

// What a front end tells its client: only the outermost BEGIN and the end
// of the whole transaction, by a statement or by an error that ends it.
TEST_F(Txn, ReportsWhenATransactionBeginsAndHowItEnds) {
  using C = TransactionChange;
  using Changes = std::vector<TransactionChange>;
  EXPECT_EQ(e.run("BEGIN TRAN BEGIN TRAN INSERT INTO k VALUES (3, 'three') COMMIT").transaction_changes,
            Changes{C::Began});
  EXPECT_EQ(e.run("COMMIT BEGIN TRAN ROLLBACK").transaction_changes, (Changes{C::Committed, C::Began, C::RolledBack}));
  EXPECT_TRUE(e.run("SELECT 1").transaction_changes.empty());
  EXPECT_TRUE(e.run("COMMIT").transaction_changes.empty());  // 3902: nothing ended

  e.ok("SET XACT_ABORT ON");
  e.ok("BEGIN TRAN");
  BatchResult failed = e.run("INSERT INTO k VALUES (1, 'dup')");
  ASSERT_FALSE(failed.ok());
  EXPECT_EQ(failed.transaction_changes, Changes{C::RolledBack});
  EXPECT_EQ(e.scalar("SELECT @@TRANCOUNT"), "0");
}

TEST_F(Txn, CommitOrRollbackWithoutTransactionIsAStatementError) {
  BatchResult r = e.run("COMMIT\nROLLBACK TRANSACTION\nINSERT INTO k VALUES (3, 'three')");
  ASSERT_EQ(r.errors.size(), 2u);
  EXPECT_EQ(r.errors[0].number, 3902);
  EXPECT_EQ(r.errors[0].severity, 16);
  EXPECT_EQ(r.errors[0].message, "The COMMIT TRANSACTION request has no corresponding BEGIN TRANSACTION.");
  EXPECT_EQ(r.errors[1].number, 3903);
  EXPECT_EQ(r.errors[1].line, 2);
  EXPECT_EQ(r.errors[1].message, "The ROLLBACK TRANSACTION request has no corresponding BEGIN TRANSACTION.");
  EXPECT_EQ(all_k().size(), 3u);
}

TEST_F(Txn, DatabasesCannotBeCreatedOrDroppedInsideATransaction) {
  Error err;
  auto master = e.server().connect("master", &err);
  master->execute("CREATE DATABASE Other");
  BatchResult r = master->execute("BEGIN TRAN CREATE DATABASE X DROP DATABASE Other");
  ASSERT_EQ(r.errors.size(), 2u);
  EXPECT_EQ(r.errors[0].number, 226);
  EXPECT_EQ(r.errors[0].message, "CREATE DATABASE statement not allowed within multi-statement transaction.");
  EXPECT_EQ(r.errors[1].message, "DROP DATABASE statement not allowed within multi-statement transaction.");
  EXPECT_EQ(master->execute("SELECT @@TRANCOUNT").result_sets[0].rows[0][0].to_display(), "1");
  master->execute("COMMIT");
  EXPECT_EQ(e.server().database_names(), (std::vector<std::string>{"master", "T", "Other"}));
}

TEST_F(Txn, FailedStatementUndoesItselfAndLeavesTheTransactionOpen) {
  BatchResult r = e.run(
      "BEGIN TRAN INSERT INTO k VALUES (3, 'three') INSERT INTO k VALUES (1, 'dup') "
      "UPDATE k SET name = 'z' WHERE id = 3");
  ASSERT_EQ(r.errors.size(), 1u);
  EXPECT_EQ(r.errors[0].number, 2627);
  EXPECT_EQ(e.scalar("SELECT name FROM k WHERE id = 3"), "z");
  // A batch-level error ends the batch but not the transaction.
  EXPECT_EQ(e.error("INSERT INTO k VALUES (4, 'four') SELECT * FROM missing"), 208);
  EXPECT_EQ(e.scalar("SELECT @@TRANCOUNT"), "1");
  EXPECT_EQ(all_k().size(), 4u);
  e.ok("ROLLBACK");
  EXPECT_EQ(all_k(), initial);
}

TEST_F(Txn, IdentityValuesAreNotHandedOutAgainAfterRollback) {
  e.ok("CREATE TABLE n (id int IDENTITY(1,1) NOT NULL, v int NULL)");
  e.ok("BEGIN TRAN ALTER TABLE n ADD w int NULL INSERT INTO n (v) VALUES (1) INSERT INTO n (v) VALUES (2) ROLLBACK");
  e.ok("INSERT INTO n (v) VALUES (3)");
  EXPECT_EQ(e.rows("SELECT id, v FROM n"), (Rows{{"3", "3"}}));
}

TEST_F(Txn, TransactionStatementsRunInsideIfButNotBesideChanges) {
  e.ok("BEGIN TRAN INSERT INTO k VALUES (3, 'three')");
  e.ok("IF @@TRANCOUNT > 0 ROLLBACK");
  EXPECT_EQ(all_k(), initial);
  e.ok("IF @@TRANCOUNT = 0 BEGIN BEGIN TRAN END");
  EXPECT_EQ(e.scalar("SELECT @@TRANCOUNT"), "1");
  // A block cannot be split at a COMMIT: the change before it is undone
  // with the block, the change after it is refused.
  EXPECT_EQ(e.error("IF 1 = 1 BEGIN INSERT INTO k VALUES (5, 'five') COMMIT END"), 50000);
  EXPECT_EQ(e.scalar("SELECT @@TRANCOUNT"), "1");
  EXPECT_EQ(e.error("IF 1 = 1 BEGIN COMMIT INSERT INTO k VALUES (5, 'five') END"), 50000);
  EXPECT_EQ(e.scalar("SELECT @@TRANCOUNT"), "0");
  EXPECT_EQ(all_k(), initial);
}

TEST(TxnSessions, EndingASessionRollsItsTransactionBack) {
  Engine e;
  e.ok("CREATE TABLE t (a int)");
  auto other = e.server().connect("T");
  EXPECT_TRUE(other->execute("BEGIN TRAN INSERT INTO t VALUES (1) CREATE TABLE u (b int)").ok());
  other.reset();
  EXPECT_EQ(e.scalar("SELECT COUNT(*) FROM t"), "0");
  EXPECT_EQ(e.error("SELECT * FROM u"), 208);
}

TEST(TxnSessions, WritesToAnotherSessionsChangedTablesAreRefused) {
  Engine e;
  e.ok("CREATE TABLE t (a int) CREATE TABLE u (b int) CREATE TABLE gone (c int)");
  auto a = e.server().connect("T");
  ASSERT_TRUE(a->execute("BEGIN TRAN INSERT INTO t VALUES (1) DROP TABLE gone").ok());

  // Uncommitted rows are visible; writing them is not possible.
  EXPECT_EQ(e.scalar("SELECT COUNT(*) FROM t"), "1");
  BatchResult r = e.run("UPDATE t SET a = 2\nINSERT INTO u VALUES (9)");
  ASSERT_EQ(r.errors.size(), 1u);
  EXPECT_EQ(r.errors[0].number, 1222);
  EXPECT_EQ(r.errors[0].severity, 16);
  EXPECT_EQ(r.errors[0].message, "Lock request time out period exceeded.");
  EXPECT_EQ(e.error("CREATE TABLE gone (c int)"), 1222);
  EXPECT_EQ(e.error("ALTER TABLE t ADD z int NULL"), 1222);
  EXPECT_EQ(e.error("TRUNCATE TABLE t"), 1222);
  EXPECT_EQ(e.scalar("SELECT a FROM t"), "1");

  // A table the other session committed stays as committed when this
  // transaction writes to it and rolls back.
  EXPECT_TRUE(a->execute("INSERT INTO u VALUES (10) ROLLBACK").ok());
  EXPECT_EQ(e.rows("SELECT b FROM u"), (Rows{{"9"}}));
  EXPECT_EQ(e.scalar("SELECT COUNT(*) FROM t"), "0");
  e.ok("INSERT INTO t VALUES (3) CREATE TABLE gone2 (c int)");
  EXPECT_EQ(e.error("CREATE TABLE gone (c int)"), 2714);  // dropped table is back
}

TEST(TxnSessions, ADatabaseAnotherTransactionChangedCannotBeDropped) {
  Engine e;
  auto master = e.server().connect("master");
  master->execute("CREATE DATABASE D");
  auto d = e.server().connect("D");
  ASSERT_TRUE(d->execute("CREATE TABLE t (a int) BEGIN TRAN INSERT INTO t VALUES (1)").ok());
  BatchResult r = master->execute("DROP DATABASE D");
  ASSERT_EQ(r.errors.size(), 1u);
  EXPECT_EQ(r.errors[0].number, 1222);
  d->execute("COMMIT");
  d.reset();
  EXPECT_TRUE(master->execute("DROP DATABASE D").ok());
}

}  // namespace
}  // namespace standin::test
