// Whole runs over demo club 2, whose old release bound DEFAULT constraints
// to columns the upgrade converts. The server refuses to change the type of
// a column bound to a default, so the upgrade takes the default off and puts
// the same one back around each such change: every column converted, every
// default still in place, and a second run leaves both alone.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "db/connection_factory.h"
#include "support/demo_server.h"
#include "support/recording_ui.h"
#include "support/temp_dir.h"
#include "upgrade/run_driver.h"

namespace {

using Rows = std::vector<std::vector<std::string>>;

// Every default of the database: table, column, name, definition.
const char* kDefaults =
    "SELECT OBJECT_NAME(dc.parent_object_id), c.name, dc.name, dc.definition FROM sys.default_constraints AS dc"
    " INNER JOIN sys.columns AS c ON c.object_id = dc.parent_object_id AND c.column_id = dc.parent_column_id"
    " ORDER BY 1, 2";

class DemoDefaultsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    {
      auto server = standin::Server::open(data());
      testing_support::seed_demo_database(*server, "DRAVOK", "demo/catalogue.sql");
      testing_support::seed_demo_database(*server, "DRAVOK02", "demo/club_02.sql");
      testing_support::seed_demo_database(*server, "dravokTMP02", "demo/club_02.sql");
    }
    std::ofstream(settings()) << "[Datenbank]\nProvider=Embedded\nData Source=data\n";
  }
  std::filesystem::path settings() const { return dir.path() / "SysDBAdo.INI"; }
  std::filesystem::path data() const { return dir.path() / "data"; }

  upgrade::RunOutcome run() {
    ui = {};
    auto factory = db::make_backend_factory();
    upgrade::RunDriver driver(ui, *factory, settings());
    return driver.run();
  }

  Rows rows(const std::string& query, const std::string& database = "DRAVOK02") {
    auto server = standin::Server::open(data(), standin::OpenMode::MustExist);
    standin::BatchResult result = server->connect(database)->execute(query);
    Rows out;
    EXPECT_TRUE(result.ok()) << (result.ok() ? "" : result.errors.front().message);
    if (!result.ok() || result.result_sets.empty()) return out;
    for (const auto& row : result.result_sets.front().rows) {
      std::vector<std::string> values;
      for (const auto& v : row) values.push_back(v.is_null() ? "NULL" : v.to_display());
      out.push_back(values);
    }
    return out;
  }

  // "type nullable" of a column as the catalogue shows it.
  std::string type_of(const std::string& table, const std::string& column, const std::string& database = "DRAVOK02") {
    Rows r = rows("SELECT DATA_TYPE, IS_NULLABLE FROM INFORMATION_SCHEMA.COLUMNS WHERE TABLE_NAME = '" + table +
                      "' AND COLUMN_NAME = '" + column + "'",
                  database);
    return r.empty() ? "missing" : r[0][0] + " " + r[0][1];
  }

  testing_support::TempDir dir;
  testing_support::RecordingUi ui;
};

TEST_F(DemoDefaultsTest, FirstRunConvertsEveryColumnAndKeepsEveryDefault) {
  const Rows before = rows(kDefaults);
  ASSERT_EQ(before.size(), 12u);

  upgrade::RunOutcome outcome = run();
  EXPECT_EQ(outcome.exit_code(), 0);
  ASSERT_FALSE(ui.dialogs.empty());
  EXPECT_EQ(ui.dialogs.back().text, "UPDATE erfolgreich ausgeführt!");

  EXPECT_EQ(type_of("Sportarten", "VerbandNr"), "varchar YES");
  EXPECT_EQ(type_of("SportartenV", "VerbandNr"), "varchar YES");
  EXPECT_EQ(type_of("AdrSArt", "VerbandNr"), "varchar YES");
  EXPECT_EQ(type_of("MgSolln", "RgNr"), "varchar YES");
  EXPECT_EQ(type_of("F5Dat", "STEUERSCHL"), "numeric NO");
  EXPECT_EQ(type_of("F5Kont", "STSCHL"), "numeric YES");
  EXPECT_EQ(type_of("F5BEW4", "STSCHL"), "numeric YES");
  EXPECT_EQ(rows("SELECT name FROM sys.indexes WHERE is_primary_key = 1 AND OBJECT_NAME(object_id) = 'F5Dat'"),
            (Rows{{"PK_F5DAT"}}));
  // Same names, generated ones included, and the same definitions.
  EXPECT_EQ(rows(kDefaults), before);
}

// The main loop skips the TMP copy; the finishing pass alone widens its
// tax-key columns, those bound to a default among them. Its tax-key table
// keeps the old key (the copy never got the running number), so the key
// column stays as it was.
TEST_F(DemoDefaultsTest, FinishingPassWidensTheTmpCopyUnderItsDefaults) {
  const Rows before = rows(kDefaults, "dravokTMP02");
  ASSERT_EQ(before.size(), 12u);
  ASSERT_EQ(run().exit_code(), 0);

  EXPECT_EQ(type_of("F5Kont", "STSCHL", "dravokTMP02"), "numeric YES");
  EXPECT_EQ(type_of("F5BEW4", "STSCHL", "dravokTMP02"), "numeric YES");
  EXPECT_EQ(type_of("Sportarten", "VerbandNr", "dravokTMP02"), "int YES");
  EXPECT_EQ(rows("SELECT COUNT(*) FROM sysobjects WHERE name = 'UpdS'", "dravokTMP02"), (Rows{{"1"}}));
  EXPECT_EQ(rows(kDefaults, "dravokTMP02"), before);
}

// The converted columns are found converted: no default is taken off
// again, and the catalogue stays as the first run left it.
TEST_F(DemoDefaultsTest, SecondRunLeavesDefaultsAndTypesAlone) {
  ASSERT_EQ(run().exit_code(), 0);
  const char* kTypesAndDefaults =
      "SELECT OBJECT_NAME(c.object_id), c.name, TYPE_NAME(c.system_type_id), c.max_length, c.is_nullable,"
      " dc.name, dc.definition, dc.object_id FROM sys.columns AS c INNER JOIN sys.default_constraints AS dc"
      " ON dc.parent_object_id = c.object_id AND dc.parent_column_id = c.column_id ORDER BY 1, 2";
  const Rows after_first = rows(kTypesAndDefaults);
  ASSERT_EQ(after_first.size(), 12u);
  upgrade::RunOutcome outcome = run();
  EXPECT_EQ(outcome.exit_code(), 0);
  EXPECT_EQ(rows(kTypesAndDefaults), after_first);
}

}  // namespace
