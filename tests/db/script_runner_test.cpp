#include "db_fixture.h"

using testing::ElementsAre;

namespace {

class SqlExecTest : public DbFixture {};

TEST_F(SqlExecTest, TextAfterTheLastGoLineIsNotSent) {
  sql.SQLExec("SELECT 1\r\nGO\r\nSELECT 2");
  EXPECT_THAT(texts(), ElementsAre("SELECT 1\n"));
  EXPECT_EQ(transcript[0].channel, db::Channel::Single);
  EXPECT_EQ(transcript[0].guard, db::Guard::plain());
  EXPECT_EQ(feedback.close_requests, 1);
}

TEST_F(SqlExecTest, GoLinesInAnyCaseAndBlanksCutBatchesKeepingEmptyLines) {
  sql.SQLExec("SELECT 1\r\ngo\r\n\r\nSELECT 2\r\n GO \r\n");
  EXPECT_THAT(texts(), ElementsAre("SELECT 1\n", "\nSELECT 2\n"));
}

TEST_F(SqlExecTest, LinesBreakAtCrLfOrCrOrLfAndKeepTheirBlanks) {
  sql.SQLExec("  a  \rb\nc\r\n\tGo\t");
  EXPECT_THAT(texts(), ElementsAre("  a  \nb\nc\n"));
}

TEST_F(SqlExecTest, LookalikeSeparatorsStayInsideTheBatch) {
  sql.SQLExec("x\nGO;\nGO 2\nGO\n");
  EXPECT_THAT(texts(), ElementsAre("x\nGO;\nGO 2\n"));
}

TEST_F(SqlExecTest, FailingBatchIsShownInThePlainBoxAndTheNextOneIsSent) {
  server.refusals["bad\n"] = "Incorrect syntax near 'bad'.";
  sql.SQLExec("bad\nGO\ngood\nGO\n");
  EXPECT_THAT(texts(), ElementsAre("bad\n", "good\n"));
  EXPECT_TRUE(transcript[1].ok());
  ASSERT_EQ(feedback.reports.size(), 1u);
  EXPECT_EQ(feedback.reports[0].kind, db::Report::Plain);
  EXPECT_EQ(feedback.reports[0].text, "Incorrect syntax near 'bad'.");
}

TEST_F(SqlExecTest, EmptyBatchIsRefusedAndReported) {
  sql.SQLExec("GO\nGO\nx\nGO");
  ASSERT_EQ(transcript.size(), 3u);
  EXPECT_FALSE(transcript[0].ok());
  EXPECT_TRUE(transcript[2].ok());
  EXPECT_EQ(feedback.reports.size(), 2u);
  // The empty text never reached the server.
  EXPECT_EQ(server.sent, std::vector<std::string>{"x\n"});
}

TEST_F(SqlExecTest, ScriptWithoutGoSendsNothingButStillRequestsClose) {
  sql.SQLExec("SELECT 1\nSELECT 2\n");
  EXPECT_TRUE(transcript.empty());
  EXPECT_EQ(feedback.close_requests, 1);
  EXPECT_FALSE(feedback.waiting());
}

TEST_F(SqlExecTest, LostConnectionNeverEscapesTheRunner) {
  server.open_errors["DRAVOK01"] = "gone";
  connections.work().close();
  EXPECT_NO_THROW(sql.SQLExec("a\nGO\nb\nGO\n"));
  EXPECT_EQ(feedback.reports.size(), 2u);
  EXPECT_EQ(feedback.close_requests, 1);
}

TEST(GoLine, Recognition) {
  EXPECT_TRUE(db::is_go_line("GO"));
  EXPECT_TRUE(db::is_go_line("gO"));
  EXPECT_TRUE(db::is_go_line(" \t Go \x01"));
  EXPECT_FALSE(db::is_go_line("GO;"));
  EXPECT_FALSE(db::is_go_line("GO 5"));
  EXPECT_FALSE(db::is_go_line("G O"));
  EXPECT_FALSE(db::is_go_line(""));
}

}  // namespace
