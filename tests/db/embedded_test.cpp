// The primitives and the embedded backend against the stand-in engine.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "db/connections.h"
#include "db/primitives.h"
#include "db/tenant_discovery.h"
#include "support/embedded_tool_test.h"

using testing::ElementsAre;
using Rows = std::vector<std::vector<std::string>>;

namespace {

class EngineTest : public testing_support::EmbeddedToolTest {
 protected:
  void SetUp() override {
    engine.create_databases({"DRAVOK01", "dravokTMP01", "DRAVOK", "XDRAVOK01"});
    engine.run("DRAVOK01",
               "CREATE TABLE Adresse (AdrNr int NOT NULL PRIMARY KEY, Name varchar(40) NULL, "
               "Eintritt datetime NULL)\n"
               "CREATE TABLE PASS (BENUTZER varchar(20) NOT NULL)\n"
               "CREATE TABLE tblRechte (ID int IDENTITY(1,1) NOT NULL, BENUTZER varchar(20), RB int, "
               "Bezeichnung varchar(80), Kurzname varchar(20), Ind char(1))\n"
               "CREATE TABLE tblLSB (Kennung varchar(20) NOT NULL PRIMARY KEY, Bezeichnung varchar(80))\n"
               "CREATE TABLE Other (X int NOT NULL, CONSTRAINT PK_Other PRIMARY KEY (X))\n"
               "CREATE INDEX iName ON Adresse (Name)");
    open_tool();
  }

  void switch_to_tenant() {
    connections->MandantChange("DRAVOK01");
    ASSERT_TRUE(connections->work_is_open());
    transcript.clear();  // the session settings of the switch
  }
};

TEST_F(EngineTest, DiscoveryListsTenantsInServerOrderWithAndWithoutTmpCopies) {
  connections->pConn(db::kDiscoveryCatalogue);
  EXPECT_THAT(db::list_tenants(*runner, false), ElementsAre("DRAVOK01", "DRAVOK"));
  EXPECT_THAT(db::list_tenants(*runner, true), ElementsAre("DRAVOK01", "dravokTMP01", "DRAVOK"));
}

TEST_F(EngineTest, MissingDatabaseGivesTheConnectionDialog) {
  connections->MandantChange("DRAVOK99");
  EXPECT_FALSE(connections->work_is_open());
  ASSERT_EQ(feedback.reports.size(), 1u);
  EXPECT_EQ(feedback.reports[0].text.rfind("False parameters for database connection.\n"
                                           "Unable to connect to database 'DRAVOK99'.\n\n",
                                           0),
            0u);
}

TEST_F(EngineTest, AddFieldFindsColumnsRegardlessOfTrailingBlanksAndAddsMissingOnes) {
  switch_to_tenant();
  EXPECT_FALSE(sql->AddField("Adresse", "Eintritt ", "datetime", "", "Null"));
  EXPECT_TRUE(sql->AddField("Adresse", "IBAN1", "varchar", "(40)", "Null"));
  EXPECT_TRUE(transcript.back().ok()) << *transcript.back().error;
  EXPECT_FALSE(sql->AddField("Adresse", "IBAN1", "varchar", "(40)", "Null"));
  EXPECT_FALSE(sql->added());
  EXPECT_TRUE(sql->AddField("Missing", "X", "int", "", "Null"));
  EXPECT_TRUE(sql->added());
  EXPECT_FALSE(transcript.back().ok());
  EXPECT_TRUE(feedback.reports.empty());
}

TEST_F(EngineTest, IndexAndConstraintOperationsAskTheCatalogue) {
  switch_to_tenant();
  sql->AddIndex("Other", "iName", "X");  // the name exists on Adresse
  EXPECT_EQ(transcript.size(), 1u);
  sql->DropPrimaryKey("PASS");  // no key: only the probe
  EXPECT_EQ(transcript.size(), 2u);
  sql->DropConstraint("Adresse", "PK_Other");  // belongs to another table
  ASSERT_EQ(feedback.reports.size(), 1u);
  EXPECT_EQ(feedback.reports[0].kind, db::Report::Warning);
  sql->DropPrimaryKey("Other");
  EXPECT_TRUE(transcript.back().ok()) << *transcript.back().error;
  EXPECT_EQ(transcript.back().text, "ALTER TABLE dbo.Other\r\n DROP CONSTRAINT PK_Other\r\n");
  EXPECT_TRUE(rows("SELECT name FROM sys.indexes WHERE is_primary_key = 1 AND "
                   "OBJECT_NAME(object_id)='Other'")
                  .empty());
}

TEST_F(EngineTest, LaterErrorOfAMultiStatementTextIsReportedAndEarlierOnesStay) {
  switch_to_tenant();
  EXPECT_FALSE(runner->run(db::Channel::Single, "INSERT INTO PASS VALUES ('A')\nINSERT INTO NoSuchTable VALUES (1)",
                           db::Guard::warning()));
  EXPECT_EQ(feedback.reports.size(), 1u);
  // The record carries the server's message number for the log.
  EXPECT_EQ(transcript.back().error_number, 208);
  EXPECT_EQ(rows("SELECT COUNT(*) FROM PASS"), Rows{{"1"}});
}

// The log shows how many rows a statement changed and a query read.
TEST_F(EngineTest, RecordsCountTheRowsAffectedAndRead) {
  switch_to_tenant();
  runner->run(db::Channel::Single, "INSERT INTO PASS VALUES ('A') INSERT INTO PASS VALUES ('B')",
              db::Guard::unguarded());
  runner->run(db::Channel::Single, "UPDATE PASS SET BENUTZER='C'", db::Guard::unguarded());
  EXPECT_EQ(transcript.back().rows, 2);
  runner->query(db::Channel::Probe, "SELECT * FROM PASS WHERE BENUTZER='C'", db::Guard::unguarded());
  EXPECT_EQ(transcript.back().rows, 2);
  runner->run(db::Channel::Single, "CREATE TABLE T (X int)", db::Guard::unguarded());
  EXPECT_EQ(transcript.back().rows, -1);
}

// The name comes from the server and is written into the catalogue probes;
// a quote in it must not break them.
TEST_F(EngineTest, TenantNamedWithAQuoteIsListedAndProbedByItsName) {
  engine.run("master", "CREATE DATABASE [DRAVOK'Q]");
  engine.run("DRAVOK'Q", "CREATE TABLE Adresse (AdrNr int NOT NULL, IBAN1 varchar(40) NULL)");
  connections->pConn(db::kDiscoveryCatalogue);
  EXPECT_THAT(db::list_tenants(*runner, false), testing::Contains("DRAVOK'Q"));
  connections->MandantChange("DRAVOK'Q");
  ASSERT_TRUE(connections->work_is_open());
  sql->AddField("Adresse", "IBAN1", "varchar", "(40)", "Null");
  EXPECT_FALSE(sql->added());
  EXPECT_THAT(transcript.back().text, testing::HasSubstr("Table_Catalog='DRAVOK''Q'"));
  sql->AddField("Adresse", "BIC1", "varchar", "(11)", "Null");
  EXPECT_TRUE(sql->added());
  EXPECT_TRUE(transcript.back().ok()) << *transcript.back().error;
  EXPECT_TRUE(feedback.reports.empty());
}

TEST_F(EngineTest, DatesAreReadDayMonthYear) {
  switch_to_tenant();
  runner->run(db::Channel::Single, "INSERT INTO Adresse (AdrNr, Eintritt) VALUES (1, '20.02.2013')",
              db::Guard::unguarded());
  EXPECT_EQ(rows("SELECT Eintritt FROM Adresse"), Rows{{"2013-02-20 00:00:00.000"}});
}

}  // namespace
