// Whole runs against the stand-in engine: discovery, the finishing pass over
// tenant databases and TMP copies, and a second run that finds everything
// converted.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "db/connection_factory.h"
#include "db/connections.h"
#include "db/primitives.h"
#include "support/engine_server.h"
#include "support/recording_ui.h"
#include "upgrade/finishing_pass.h"
#include "upgrade/run_driver.h"

using testing::ElementsAre;
using Rows = std::vector<std::vector<std::string>>;

namespace {

const char* kTaxKeyTables =
    "CREATE TABLE F5Dat (STEUERSCHL int NOT NULL, LFDNR int IDENTITY(1,1) NOT NULL, "
    "Bezeichnung varchar(40) NULL, CONSTRAINT PK_F5DAT PRIMARY KEY CLUSTERED (STEUERSCHL, LFDNR))\n"
    "CREATE TABLE F5Kont (KONTO int NOT NULL, STSCHL int NULL)\n"
    "CREATE TABLE F5KontTemplate (KONTO int NOT NULL, stschl int NOT NULL)\n"
    "INSERT INTO F5Dat (STEUERSCHL, Bezeichnung) VALUES (19, 'Umsatzsteuer')\n"
    "INSERT INTO F5Kont VALUES (8400, 19)";

// A TMP copy that the stages never reached: F5Dat without LFDNR.
const char* kOldTaxKeyTable =
    "CREATE TABLE F5Dat (STEUERSCHL int NOT NULL, Bezeichnung varchar(40) NULL, "
    "CONSTRAINT PK_F5DAT PRIMARY KEY CLUSTERED (STEUERSCHL))";

const char* kColumnType =
    "SELECT tps.name, clmns.isnullable FROM syscolumns AS clmns INNER JOIN sysobjects AS tbl ON "
    "tbl.id=clmns.id LEFT OUTER JOIN systypes AS tps ON tps.xtype=clmns.xtype WHERE tbl.name='%T' "
    "AND clmns.name='%C'";

const char* kPrimaryKey =
    "SELECT i.name FROM sys.indexes AS i WHERE i.is_primary_key = 1 AND "
    "OBJECT_NAME(i.object_id)='F5Dat'";

std::string column_type(const std::string& table, const std::string& column) {
  std::string q = kColumnType;
  q.replace(q.find("%T"), 2, table);
  q.replace(q.find("%C"), 2, column);
  return q;
}

class WholeRunTest : public ::testing::Test {
 protected:
  void SetUp() override {
    engine.create_databases({"DRAVOK", "DRAVOK01", "dravokTMP01", "XDRAVOK01"});
    engine.run("DRAVOK01", kTaxKeyTables);
    engine.run("dravokTMP01", kOldTaxKeyTable);
    engine.run("XDRAVOK01", kTaxKeyTables);
  }

  upgrade::RunOutcome run(std::vector<db::StatementRecord>* transcript = nullptr) {
    auto factory = db::make_backend_factory();
    upgrade::RunDriver driver(ui, *factory, engine.settings_file());
    if (transcript) driver.add_observer([transcript](const db::StatementRecord& r) { transcript->push_back(r); });
    return driver.run();
  }

  // The finishing pass alone, as the run driver calls it after the loop.
  void convert(std::vector<db::StatementRecord>* transcript = nullptr) {
    auto factory = db::make_backend_factory();
    upgrade::UiFeedback feedback(ui);
    db::Connections connections(*factory, engine.settings_file(), feedback);
    db::StatementRunner runner(connections, feedback);
    if (transcript) runner.add_observer([transcript](const db::StatementRecord& r) { transcript->push_back(r); });
    db::Primitives sql(runner);
    upgrade::ConvertAllTaxKeys(sql, ui, feedback);
    EXPECT_TRUE(feedback.failures().empty());
  }

  testing_support::EngineServer engine;
  testing_support::RecordingUi ui;
};

TEST_F(WholeRunTest, FinishingPassConvertsEveryTenantOnceAndKeepsKeysAndNullability) {
  convert();

  for (const char* db : {"DRAVOK", "DRAVOK01", "dravokTMP01"})
    EXPECT_EQ(engine.rows(db, "SELECT name FROM sysobjects WHERE name='UpdS'").size(), 1u) << db;
  EXPECT_TRUE(engine.rows("XDRAVOK01", "SELECT name FROM sysobjects WHERE name='UpdS'").empty());

  // Rebuilt key, widened key column; the other tax-key columns widened with
  // their nullability, the lower-case one found through the collation.
  EXPECT_EQ(engine.rows("DRAVOK01", kPrimaryKey), Rows{{"PK_F5DAT"}});
  EXPECT_EQ(engine.rows("DRAVOK01", column_type("F5Dat", "STEUERSCHL")), (Rows{{"numeric", "0"}}));
  EXPECT_EQ(engine.rows("DRAVOK01", column_type("F5Kont", "STSCHL")), (Rows{{"numeric", "1"}}));
  EXPECT_EQ(engine.rows("DRAVOK01", column_type("F5KontTemplate", "stschl")), (Rows{{"numeric", "0"}}));
  EXPECT_EQ(engine.rows("DRAVOK01", "SELECT STSCHL FROM F5Kont"), Rows{{"19.00"}});

  // The TMP copy without LFDNR keeps its key.
  EXPECT_EQ(engine.rows("dravokTMP01", kPrimaryKey), Rows{{"PK_F5DAT"}});
}

TEST_F(WholeRunTest, SecondRunOnlySwitchesAndProbes) {
  convert();
  std::vector<db::StatementRecord> transcript;
  ui = {};
  convert(&transcript);
  // Switching sends the session settings; the tenant list is a read too.
  for (const auto& r : transcript)
    EXPECT_TRUE(r.channel == db::Channel::Probe || r.channel == db::Channel::Discovery ||
                r.channel == db::Channel::Session)
        << r.text;
  EXPECT_THAT(ui.captions, testing::IsSupersetOf({"Corvena verdalis - SQL Update Datenbank: DRAVOK",
                                                  "Corvena verdalis - SQL Update Datenbank: DRAVOK01",
                                                  "Corvena verdalis - SQL Update Datenbank: dravokTMP01"}));
}

TEST_F(WholeRunTest, MissingDiscoveryCatalogueEndsTheRunBeforeAnyTenant) {
  engine.run("master", "DROP DATABASE DRAVOK");
  upgrade::RunOutcome outcome = run();
  EXPECT_EQ(outcome.exit_code(), 2);
  EXPECT_EQ(ui.dialogs.front().kind, upgrade::DialogKind::Error);
  EXPECT_EQ(ui.dialogs.back().kind, upgrade::DialogKind::ErrorBox);
  EXPECT_TRUE(engine.rows("DRAVOK01", "SELECT name FROM sysobjects WHERE name='UpdS'").empty());
}

}  // namespace
