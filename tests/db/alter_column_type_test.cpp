// AlterColumnType against the stand-in engine: a column bound to a DEFAULT
// constraint is converted with its default kept (same name, same
// definition); any other column gets the ALTER alone, after the probe.
// The server refuses a type change of a column bound to a default (5074,
// 4922): https://learn.microsoft.com/en-us/sql/t-sql/statements/alter-table-transact-sql
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "db/connections.h"
#include "db/primitives.h"
#include "support/embedded_tool_test.h"

using db::Channel;
using db::Guard;
using testing::ElementsAre;
using Rows = std::vector<std::vector<std::string>>;

namespace {

const char* kWidening = "ALTER TABLE dbo.Sportarten ALTER COLUMN VerbandNr varchar(20) NULL";

const char* kDefaultProbe =
    "SELECT dc.name, dc.definition FROM sys.default_constraints AS dc INNER JOIN sys.columns AS c ON c.object_id = "
    "dc.parent_object_id AND c.column_id = dc.parent_column_id WHERE dc.parent_object_id = "
    "OBJECT_ID('dbo.Sportarten') AND c.name = 'VerbandNr' AND TYPE_NAME(c.system_type_id) <> 'varchar'";

const char* kDefaultsOfSportarten =
    "SELECT dc.name, c.name, dc.definition FROM sys.default_constraints AS dc INNER JOIN sys.columns AS c"
    " ON c.object_id = dc.parent_object_id AND c.column_id = dc.parent_column_id"
    " WHERE dc.parent_object_id = OBJECT_ID('Sportarten') ORDER BY c.name";

const char* kVerbandNrType =
    "SELECT TYPE_NAME(system_type_id), max_length, is_nullable FROM sys.columns"
    " WHERE object_id = OBJECT_ID('Sportarten') AND name = 'VerbandNr'";

class AlterColumnTypeTest : public testing_support::EmbeddedToolTest {
 protected:
  void SetUp() override {
    engine.create_databases({"DRAVOK01"});
    engine.run("DRAVOK01",
               "CREATE TABLE Sportarten (KZ varchar(10) NOT NULL, VerbandNr int NOT NULL "
               "CONSTRAINT DF_Sportarten_VerbandNr DEFAULT (0), Aktiv char(1) NULL DEFAULT 'J')\n"
               "INSERT INTO Sportarten (KZ, VerbandNr) VALUES ('BLSV', 14)");
  }

  // The tool's connection, opened on first use: until then the test may
  // write to the directory itself.
  db::Primitives& tool() {
    if (!sql) {
      open_tool();
      connections->MandantChange("DRAVOK01");
      transcript.clear();  // the session settings of the switch
    }
    return *sql;
  }

  bool widen(const char* statement = kWidening, Guard guard = Guard::unguarded()) {
    return tool().AlterColumnType("dbo.Sportarten", "VerbandNr", "varchar", statement, Channel::Single, guard);
  }

  std::vector<std::string> texts() const {
    std::vector<std::string> out;
    for (const auto& r : transcript) out.push_back(r.text);
    return out;
  }
};

TEST_F(AlterColumnTypeTest, ColumnBoundToADefaultIsConvertedAndKeepsItsDefault) {
  EXPECT_TRUE(widen());
  EXPECT_THAT(texts(), ElementsAre(kDefaultProbe, "BEGIN TRANSACTION",
                                   "ALTER TABLE dbo.Sportarten DROP CONSTRAINT [DF_Sportarten_VerbandNr]", kWidening,
                                   "ALTER TABLE dbo.Sportarten ADD CONSTRAINT [DF_Sportarten_VerbandNr] DEFAULT ((0)) "
                                   "FOR VerbandNr",
                                   "COMMIT TRANSACTION"));
  for (const auto& r : transcript) EXPECT_TRUE(r.ok()) << r.text << ": " << *r.error;
  EXPECT_EQ(rows(kVerbandNrType), (Rows{{"varchar", "20", "1"}}));
  Rows defaults = engine.rows("DRAVOK01", kDefaultsOfSportarten);
  ASSERT_EQ(defaults.size(), 2u);
  EXPECT_EQ(defaults[1], (std::vector<std::string>{"DF_Sportarten_VerbandNr", "VerbandNr", "((0))"}));
  // The default still fills the column, now as text.
  engine.run("DRAVOK01", "INSERT INTO Sportarten (KZ) VALUES ('HFV')");
  EXPECT_EQ(engine.rows("DRAVOK01", "SELECT VerbandNr FROM Sportarten WHERE KZ = 'HFV'"), (Rows{{"0"}}));
}

TEST_F(AlterColumnTypeTest, ConvertedColumnGetsOnlyTheProbeAndTheAlter) {
  ASSERT_TRUE(widen());
  transcript.clear();
  // A second run, or a change of length alone, which the server allows.
  EXPECT_TRUE(widen("ALTER TABLE dbo.Sportarten ALTER COLUMN VerbandNr varchar(30) NULL"));
  EXPECT_THAT(texts(),
              ElementsAre(kDefaultProbe, "ALTER TABLE dbo.Sportarten ALTER COLUMN VerbandNr varchar(30) NULL"));
  EXPECT_EQ(rows(kVerbandNrType), (Rows{{"varchar", "30", "1"}}));
  EXPECT_EQ(engine.rows("DRAVOK01", kDefaultsOfSportarten).size(), 2u);
}

TEST_F(AlterColumnTypeTest, ColumnWithoutADefaultGetsOnlyTheProbeAndTheAlter) {
  engine.run("DRAVOK01", "CREATE TABLE INTER (VerbandNr int NULL)");
  EXPECT_TRUE(tool().AlterColumnType("dbo.INTER", "VerbandNr", "varchar",
                                     "ALTER TABLE dbo.INTER ALTER COLUMN VerbandNr varchar(20) NULL", Channel::Single,
                                     Guard::silent()));
  ASSERT_EQ(transcript.size(), 2u);
  EXPECT_EQ(transcript[1].text, "ALTER TABLE dbo.INTER ALTER COLUMN VerbandNr varchar(20) NULL");
}

TEST_F(AlterColumnTypeTest, UnnamedDefaultComesBackUnderItsGeneratedName) {
  Rows before = engine.rows("DRAVOK01", kDefaultsOfSportarten);
  ASSERT_EQ(before.size(), 2u);
  ASSERT_EQ(before[0][0].rfind("DF__Sportarte__Aktiv__", 0), 0u) << before[0][0];
  EXPECT_TRUE(tool().AlterColumnType("Sportarten", "Aktiv", "varchar",
                                     "ALTER TABLE Sportarten ALTER COLUMN Aktiv varchar(1) NULL", Channel::Single,
                                     Guard::silent()));
  EXPECT_EQ(rows(kDefaultsOfSportarten), before);
}

// A failure under a guard that ends the run takes the whole unit back: the
// column keeps its type and its default, and the next run does it again.
TEST_F(AlterColumnTypeTest, RefusedConversionThatEndsTheRunLeavesTheDefaultBound) {
  engine.run("DRAVOK01",
             "CREATE TABLE F5Kont (KONTONR int NOT NULL, STSCHL varchar(10) NULL CONSTRAINT DF_STSCHL "
             "DEFAULT '0')\nINSERT INTO F5Kont VALUES (1000, 'ohne')");
  EXPECT_THROW(tool().AlterColumnType("F5Kont", "STSCHL", "numeric",
                                      "ALTER TABLE F5Kont ALTER COLUMN STSCHL numeric (19,2) NULL", Channel::Separate,
                                      Guard::unguarded()),
               db::DbError);
  EXPECT_EQ(rows("SELECT dc.name, dc.definition, TYPE_NAME(c.system_type_id) FROM sys.default_constraints AS dc"
                 " INNER JOIN sys.columns AS c ON c.object_id = dc.parent_object_id AND c.column_id = "
                 "dc.parent_column_id WHERE dc.parent_object_id = OBJECT_ID('F5Kont')"),
            (Rows{{"DF_STSCHL", "('0')", "varchar"}}));
}

// A refusal under a silent guard does not end the unit: the default is put
// back on the column that stayed as it was.
TEST_F(AlterColumnTypeTest, SilentlyRefusedConversionStillPutsTheDefaultBack) {
  engine.run("DRAVOK01",
             "CREATE TABLE INTER (Nr int NOT NULL, VerbandNr int NULL CONSTRAINT DF_INTER_VerbandNr "
             "DEFAULT 0)\nINSERT INTO INTER (Nr, VerbandNr) VALUES (1, NULL)");
  EXPECT_FALSE(tool().AlterColumnType("INTER", "VerbandNr", "varchar",
                                      "ALTER TABLE INTER ALTER COLUMN VerbandNr varchar(20) NOT NULL", Channel::Single,
                                      Guard::silent()));
  ASSERT_EQ(transcript.size(), 6u);
  EXPECT_FALSE(transcript[3].ok());
  EXPECT_TRUE(transcript[4].ok()) << *transcript[4].error;
  EXPECT_EQ(rows("SELECT TYPE_NAME(c.system_type_id), dc.name FROM sys.columns AS c LEFT JOIN "
                 "sys.default_constraints AS dc ON dc.parent_object_id = c.object_id AND dc.parent_column_id = "
                 "c.column_id WHERE c.object_id = OBJECT_ID('INTER') AND c.name = 'VerbandNr'"),
            (Rows{{"int", "DF_INTER_VerbandNr"}}));
}

}  // namespace
