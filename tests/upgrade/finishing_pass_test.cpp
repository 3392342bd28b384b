#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "db/connections.h"
#include "db/primitives.h"
#include "db/tenant_discovery.h"
#include "support/fake_connection.h"
#include "support/recording_ui.h"
#include "upgrade/finishing_pass.h"
#include "upgrade/ui_feedback.h"

using testing::ElementsAre;
using testing_support::FakeServer;

namespace {

const char* kMarkerProbe = "SELECT * FROM sysobjects WHERE name='UpdS'";
const char* kLfdnrProbe =
    "SELECT * FROM Information_Schema.Columns WHERE Table_Catalog='DRAVOK01' AND "
    "Table_Schema='dbo' AND Table_Name='F5Dat' AND Column_Name='LFDNR'";

class FinishingPassTest : public ::testing::Test {
 protected:
  FinishingPassTest() {
    runner.add_observer([this](const db::StatementRecord& r) {
      // Reads: the probes, the tenant list, a connection's session settings.
      if (r.channel == db::Channel::Discovery || r.channel == db::Channel::Session) return;
      if (r.channel != db::Channel::Probe) sent.push_back(r.text);
      const bool bound = r.text == "BEGIN TRANSACTION" || r.text == "COMMIT TRANSACTION";
      EXPECT_TRUE(bound || r.channel == db::Channel::Probe || r.guard == db::Guard::silent()) << r.text;
    });
    server.results[db::kAllTenantsQuery] = FakeServer::rows({"name"}, {{"DRAVOK01"}});
  }
  void convert() { upgrade::ConvertAllTaxKeys(sql, ui, feedback); }

  FakeServer server;
  testing_support::FakeFactory factory{server};
  testing_support::RecordingUi ui;
  upgrade::UiFeedback feedback{ui};
  db::Connections connections{factory, "/nonexistent/SysDBAdo.INI", feedback};
  db::StatementRunner runner{connections, feedback};
  db::Primitives sql{runner};
  std::vector<std::string> sent;
};

TEST_F(FinishingPassTest, ConvertedDatabaseIsOnlySwitchedCaptionedAndProbed) {
  server.results[kMarkerProbe] = FakeServer::one_row();
  convert();
  EXPECT_TRUE(sent.empty());
  EXPECT_THAT(ui.captions, ElementsAre("Corvena verdalis - SQL Update Datenbank: DRAVOK01"));
  EXPECT_TRUE(ui.progress.empty());
}

TEST_F(FinishingPassTest, MarkerKeyRebuildAndWideningsAreOneTransaction) {
  server.results[kLfdnrProbe] = FakeServer::one_row();
  server.results[upgrade::kTaxKeyColumnsQuery] =
      FakeServer::rows({"TableName", "FieldName", "DataType", "DataLength", "isnullable"},
                       {{"F5Dat", "STEUERSCHL", "int", "4", "0"}, {"F5Kont", "STSCHL", "int", "4", "1"}});
  // A refused statement changes nothing about what follows.
  server.refusals["ALTER TABLE F5Dat ALTER COLUMN STEUERSCHL numeric (19,2) NOT NULL"] = "key";
  convert();
  EXPECT_THAT(sent,
              ElementsAre("BEGIN TRANSACTION", "CREATE TABLE dbo.UpdS (\r\nID INT IDENTITY (1,1) NOT NULL)\r\n",
                          "ALTER TABLE F5Dat DROP CONSTRAINT PK_F5DAT\r\n",
                          "ALTER TABLE F5Dat ALTER COLUMN STEUERSCHL NUMERIC (19,2) NOT NULL\r\n",
                          "ALTER TABLE F5Dat ADD CONSTRAINT PK_F5DAT PRIMARY KEY CLUSTERED "
                          "(STEUERSCHL, LFDNR) ON [PRIMARY]\r\n",
                          "SET ANSI_WARNINGS OFF ", "ALTER TABLE F5Dat ALTER COLUMN STEUERSCHL numeric (19,2) NOT NULL",
                          "SET ANSI_WARNINGS ON ", "SET ANSI_WARNINGS OFF ",
                          "ALTER TABLE F5Kont ALTER COLUMN STSCHL numeric (19,2) NULL", "SET ANSI_WARNINGS ON ",
                          "COMMIT TRANSACTION"));
  EXPECT_TRUE(ui.dialogs.empty());
}

TEST_F(FinishingPassTest, KeyIsNotDroppedWhenF5DatHasNoLfdnr) {
  convert();
  EXPECT_THAT(sent, ElementsAre("BEGIN TRANSACTION", "CREATE TABLE dbo.UpdS (\r\nID INT IDENTITY (1,1) NOT NULL)\r\n",
                                "ALTER TABLE F5Dat ALTER COLUMN STEUERSCHL NUMERIC (19,2) NOT NULL\r\n",
                                "ALTER TABLE F5Dat ADD CONSTRAINT PK_F5DAT PRIMARY KEY CLUSTERED "
                                "(STEUERSCHL, LFDNR) ON [PRIMARY]\r\n",
                                "COMMIT TRANSACTION"));
}

TEST_F(FinishingPassTest, TaxKeyColumnQueryTextIsExact) {
  EXPECT_STREQ(upgrade::kTaxKeyColumnsQuery,
               "SELECT tbl.name AS TableName, clmns.name AS FieldName, tps.name AS DataType, "
               "clmns.length As DataLength, clmns.isnullable\r\n"
               "FROM dbo.sysobjects AS tbl\r\n"
               "INNER JOIN syscolumns  AS clmns ON clmns.id=tbl.id\r\n"
               "LEFT OUTER JOIN systypes AS tps ON tps.xtype=clmns.xtype\r\n"
               "WHERE (UPPER(clmns.name))='STEUERSCHL' OR (UPPER(clmns.name) LIKE '%StSchl%' ) \r\n"
               "ORDER BY tbl.name,clmns.name ASC");
}

}  // namespace
