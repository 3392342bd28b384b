// Units of work: the transaction opens with the unit's first change, ends
// with the unit, and goes back when a failure ends the run.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "db/transaction.h"
#include "db_fixture.h"

using testing::ElementsAre;

namespace {

class UnitOfWorkTest : public DbFixture {
 protected:
  void probe(const char* text) { runner.query(db::Channel::Probe, text, db::Guard::unguarded()); }
  void change(const char* text, db::Guard guard = db::Guard::unguarded()) {
    runner.run(db::Channel::Single, text, guard);
  }
};

TEST_F(UnitOfWorkTest, OpensWithTheFirstChangeAndCommitsAtTheEnd) {
  db::in_one_transaction(runner, [&] {
    probe("SELECT * FROM sysobjects WHERE name='T'");
    change("CREATE TABLE T (a int)");
    change("INSERT INTO T VALUES (1)");
  });
  EXPECT_THAT(texts(), ElementsAre("SELECT * FROM sysobjects WHERE name='T'", "BEGIN TRANSACTION",
                                   "CREATE TABLE T (a int)", "INSERT INTO T VALUES (1)", "COMMIT TRANSACTION"));
  EXPECT_EQ(transcript[1].guard, db::Guard::unguarded());
}

TEST_F(UnitOfWorkTest, UnitThatOnlyProbesSendsNoTransaction) {
  db::in_one_transaction(runner, [&] { probe("SELECT * FROM sysobjects WHERE name='T'"); });
  EXPECT_THAT(texts(), ElementsAre("SELECT * FROM sysobjects WHERE name='T'"));
}

TEST_F(UnitOfWorkTest, InnerUnitBelongsToTheOuterOne) {
  db::in_one_transaction(runner, [&] {
    change("DELETE FROM T");
    db::in_one_transaction(runner, [&] { change("INSERT INTO T VALUES (1)"); });
    change("UPDATE T SET a=2");
  });
  EXPECT_THAT(texts(), ElementsAre("BEGIN TRANSACTION", "DELETE FROM T", "INSERT INTO T VALUES (1)", "UPDATE T SET a=2",
                                   "COMMIT TRANSACTION"));
}

// A refused statement under a guard is the step's own business: the unit
// goes on and commits, as the run did before it had transactions.
TEST_F(UnitOfWorkTest, GuardedFailureKeepsTheUnitGoing) {
  server.refusals["INSERT INTO T VALUES (1)"] = "duplicate key";
  db::in_one_transaction(runner, [&] {
    change("INSERT INTO T VALUES (1)", db::Guard::warning());
    change("UPDATE T SET a=2");
  });
  EXPECT_THAT(texts(),
              ElementsAre("BEGIN TRANSACTION", "INSERT INTO T VALUES (1)", "UPDATE T SET a=2", "COMMIT TRANSACTION"));
  EXPECT_EQ(feedback.reports.size(), 1u);
}

TEST_F(UnitOfWorkTest, FailureThatEndsTheRunRollsTheUnitBack) {
  server.refusals["ALTER TABLE T DROP CONSTRAINT PK_T"] = "'PK_T' is not a constraint.";
  EXPECT_THROW(db::in_one_transaction(runner,
                                      [&] {
                                        change("ALTER TABLE T ADD b int");
                                        db::in_one_transaction(runner,
                                                               [&] { change("ALTER TABLE T DROP CONSTRAINT PK_T"); });
                                        change("never sent");
                                      }),
               db::DbError);
  EXPECT_THAT(texts(), ElementsAre("BEGIN TRANSACTION", "ALTER TABLE T ADD b int", "ALTER TABLE T DROP CONSTRAINT PK_T",
                                   "ROLLBACK TRANSACTION"));
  EXPECT_EQ(transcript.back().guard, db::Guard::silent());
  // The next unit starts a transaction of its own.
  transcript.clear();
  db::in_one_transaction(runner, [&] { change("ALTER TABLE T ADD c int"); });
  EXPECT_THAT(texts(), ElementsAre("BEGIN TRANSACTION", "ALTER TABLE T ADD c int", "COMMIT TRANSACTION"));
}

TEST_F(UnitOfWorkTest, LostConnectionAtTheRollbackStillReportsTheFirstFailure) {
  server.refusals["UPDATE T SET a=2"] = "connection lost";
  server.refusals["ROLLBACK TRANSACTION"] = "connection lost";
  try {
    db::in_one_transaction(runner, [&] { change("UPDATE T SET a=2"); });
    FAIL() << "the unguarded failure must end the run";
  } catch (const db::DbError& e) {
    EXPECT_EQ(std::string(e.what()), "connection lost");
  }
  EXPECT_EQ(transcript.back().text, "ROLLBACK TRANSACTION");
  EXPECT_FALSE(transcript.back().ok());
}

}  // namespace
