#include "db_fixture.h"

using db::Channel;
using db::Guard;
using testing::ElementsAre;
using testing_support::FakeServer;

namespace {

const char* kIbanProbe =
    "SELECT * FROM Information_Schema.Columns WHERE Table_Catalog='DRAVOK01' AND "
    "Table_Schema='dbo' AND Table_Name='Adresse' AND Column_Name='IBAN1'";

class AddFieldTest : public DbFixture {};

TEST_F(AddFieldTest, MissingColumnIsAddedWithTheExactTextAndSetsTheFlag) {
  sql.AddField("Adresse", "IBAN1", "varchar", "(40)", "Null");
  EXPECT_TRUE(sql.added());
  ASSERT_EQ(transcript.size(), 2u);
  EXPECT_EQ(transcript[0].text, kIbanProbe);
  EXPECT_EQ(transcript[0].channel, Channel::Probe);
  EXPECT_EQ(transcript[0].guard, Guard::unguarded());
  EXPECT_EQ(transcript[1].text, "ALTER TABLE dbo.Adresse ADD IBAN1  varchar (40) Null");
  EXPECT_EQ(transcript[1].channel, Channel::Single);
  EXPECT_EQ(transcript[1].guard, Guard::silent());
}

TEST_F(AddFieldTest, EmptySizeAndSizeCarryingIdentityGiveTheirBlanks) {
  sql.AddField("inter", "Nr", "Int", "", "Null");
  sql.AddField("F5DAT", "LfdNr", "INT", "IDENTITY (1,1)", "NOT NULL");
  EXPECT_EQ(transcript[1].text, "ALTER TABLE dbo.inter ADD Nr  Int  Null");
  EXPECT_EQ(transcript[3].text, "ALTER TABLE dbo.F5DAT ADD LfdNr  INT IDENTITY (1,1) NOT NULL");
}

TEST_F(AddFieldTest, ExistingColumnSendsOnlyTheProbeAndClearsTheFlag) {
  sql.AddField("inter", "Nr", "Int", "", "Null");
  ASSERT_TRUE(sql.added());
  server.results[kIbanProbe] = FakeServer::one_row();
  sql.AddField("Adresse", "IBAN1", "varchar", "(40)", "Null");
  EXPECT_FALSE(sql.added());
  EXPECT_EQ(transcript.back().text, kIbanProbe);
  EXPECT_EQ(transcript.size(), 3u);
}

TEST_F(AddFieldTest, RefusedAdditionIsSilentAndStillSetsTheFlag) {
  server.refusals["ALTER TABLE dbo.Adresse ADD IBAN1  varchar (40) Null"] = "Invalid object name";
  sql.AddField("Adresse", "IBAN1", "varchar", "(40)", "Null");
  EXPECT_TRUE(sql.added());
  EXPECT_FALSE(transcript.back().ok());
  EXPECT_TRUE(feedback.reports.empty());
}

TEST_F(AddFieldTest, FailingProbeEndsTheRunWithTheCursorRestored) {
  server.refusals[kIbanProbe] = "lost connection";
  EXPECT_THROW(sql.AddField("Adresse", "IBAN1", "varchar", "(40)", "Null"), db::DbError);
  EXPECT_EQ(feedback.cursor, (std::vector<bool>{true, false}));
}

TEST_F(AddFieldTest, ProbeFiltersOnTheDatabaseOfTheLastSwitch) {
  connections.MandantChange("DRAVOK02");
  sql.AddField("Adresse", "IBAN1", "varchar", "(40)", "Null");
  ASSERT_EQ(transcript.size(), 3u);  // the session settings of the switch first
  EXPECT_EQ(transcript[0].channel, Channel::Session);
  EXPECT_NE(transcript[1].text.find("Table_Catalog='DRAVOK02'"), std::string::npos);
  EXPECT_EQ(transcript[1].database, "DRAVOK02");
}

class IndexAndConstraintTest : public DbFixture {};

TEST_F(IndexAndConstraintTest, AddIndexJoinsTheGivenColumns) {
  sql.AddIndex("F5BEW4", "iSuchText", "BUCHJAHR", "InterneNr", "SUCHTEXT", "");
  EXPECT_THAT(texts(), ElementsAre("SELECT * FROM SysIndexes WHERE Name='iSuchText'",
                                   "CREATE NONCLUSTERED INDEX iSuchText ON F5BEW4 (BUCHJAHR, "
                                   "InterneNr, SUCHTEXT)"));
  EXPECT_EQ(transcript[1].guard, Guard::warning());
}

TEST_F(IndexAndConstraintTest, AddIndexOfAnExistingNameSendsNothing) {
  server.results["SELECT * FROM SysIndexes WHERE Name='iSuchText'"] = FakeServer::one_row();
  sql.AddIndex("Other", "iSuchText", "A");
  EXPECT_EQ(transcript.size(), 1u);
}

TEST_F(IndexAndConstraintTest, RefusedIndexIsShownAsWarningAndTheRunGoesOn) {
  server.refusals["CREATE NONCLUSTERED INDEX i ON T (A)"] = "Invalid column name 'A'.";
  sql.AddIndex("T", "i", "A");
  ASSERT_EQ(feedback.reports.size(), 1u);
  EXPECT_EQ(feedback.reports[0].kind, db::Report::Warning);
  EXPECT_EQ(feedback.reports[0].text, "Invalid column name 'A'.");
}

TEST_F(IndexAndConstraintTest, DropConstraintSendsTwoLinesOnlyWhenTheObjectExists) {
  sql.DropConstraint("F5Dat", "PK_F5DAT");
  EXPECT_EQ(transcript.size(), 1u);
  EXPECT_EQ(transcript[0].text, "SELECT * FROM sysobjects WHERE NAME='PK_F5DAT'");

  server.results["SELECT * FROM sysobjects WHERE NAME='PK_F5DAT'"] = FakeServer::one_row();
  sql.DropConstraint("F5Dat", "PK_F5DAT");
  ASSERT_EQ(transcript.size(), 3u);
  EXPECT_EQ(transcript[2].text, "ALTER TABLE dbo.F5Dat\r\n DROP CONSTRAINT PK_F5DAT\r\n");
  EXPECT_EQ(transcript[2].channel, Channel::Lines);
  EXPECT_EQ(transcript[2].guard, Guard::warning());
}

TEST_F(IndexAndConstraintTest, DropPrimaryKeyDropsTheKeyFoundUnderAnyName) {
  const std::string probe =
      " SELECT  distinct i.name AS IndexName\r\n"
      " FROM    sys.indexes AS i INNER JOIN\r\n"
      " sys.index_columns AS ic ON  i.OBJECT_ID = ic.OBJECT_ID\r\n"
      " AND i.index_id = ic.index_id\r\n"
      " WHERE   i.is_primary_key = 1\r\n"
      " and OBJECT_NAME(ic.OBJECT_ID)='O''Brien'\r\n";
  sql.DropPrimaryKey("O'Brien");
  EXPECT_THAT(texts(), ElementsAre(probe));

  server.results[probe] = FakeServer::rows({"IndexName"}, {{"PK__x__123"}});
  sql.DropPrimaryKey("O'Brien");
  EXPECT_EQ(transcript.back().text, "ALTER TABLE dbo.O'Brien\r\n DROP CONSTRAINT PK__x__123\r\n");
}

TEST_F(IndexAndConstraintTest, TableProbeCountsAnyObjectOfTheName) {
  EXPECT_FALSE(sql.TableExists("AdrFunktion"));
  server.results["SELECT * FROM sysobjects WHERE name='AdrFunktion'"] = FakeServer::one_row();
  EXPECT_TRUE(sql.TableExists("AdrFunktion"));
}

}  // namespace
