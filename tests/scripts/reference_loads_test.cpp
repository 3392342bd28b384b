// The data scripts on the stand-in server: each loads into the table layout
// its stage gives it, one row per source record, and fails with the
// column-count error when the layout has a column too many or too few.
#if SQLUPDATE_SCRIPTS_ON_STANDIN
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "common/account_rules.h"
#include "common/chart_file.h"
#include "common/csv.h"
#include "common/text_file.h"
#include "script_session.h"
#include "table_layouts.h"

namespace {

constexpr int kColumnCountError = 213;  // "Column name or number of supplied values does not match ..."

std::string data_file(const std::string& relative) {
  const char* root = std::getenv("SQLUPDATE_SOURCE_DIR");
  return std::string(root ? root : ".") + "/data/" + relative;
}

long long csv_records(const std::string& relative) {
  return static_cast<long long>(tools::CsvTable::load(data_file(relative)).size());
}

long long chart_accounts() {
  return static_cast<long long>(tools::chart_rows(tools::parse_chart(tools::read_file(SQLUPDATE_SKR49_FILE))).size());
}

void expect_column_count_error(const standin::BatchResult& result) {
  ASSERT_FALSE(result.ok());
  EXPECT_EQ(result.errors.front().number, kColumnCountError) << ScriptSession::first_error(result);
}

TEST(ReferenceLoads, DepreciationTableLoadsEveryListedAsset) {
  ScriptSession db;
  db.ok(layouts::kDepreciationTable);
  db.load("cmdAnlageTyp");
  EXPECT_EQ(db.count("SELECT COUNT(*) FROM AnlageTabelle"), csv_records("afa_tabelle_av.csv"));
  EXPECT_EQ(db.rows("SELECT Nutzungsdauer, Fundstelle FROM AnlageTabelle WHERE Name='Computer, Personal-'"),
            (std::vector<std::vector<std::string>>{{"3", "6.14.3.2"}}));
  EXPECT_EQ(db.value("SELECT Nutzungsdauer FROM AnlageTabelle WHERE Name='GwG bis 410,- €'"), "1");
}

TEST(ReferenceLoads, PositionalScriptsNeedExactlyTheirColumnCount) {
  {
    ScriptSession db;  // one column too many
    db.ok(layouts::kDepreciationTable);
    db.ok("ALTER TABLE Anlagetabelle ADD Bemerkung varchar(20) NULL");
    expect_column_count_error(db.run_script("cmdAnlageTyp"));
  }
  {
    ScriptSession db;  // the chart table before its two added columns
    db.ok(layouts::account_table("F5SKR49", false));
    expect_column_count_error(db.run_script("cmdSKR49"));
  }
  {
    ScriptSession db;  // the numbered sports list before LfdNr is added
    db.ok(
        "CREATE TABLE VerbSportArt (Nummer varchar(3) NOT NULL PRIMARY KEY, Sportart varchar(120) NULL, "
        "Kennung varchar(50) NULL)");
    expect_column_count_error(db.run_script("cmdVerbSportArt"));
  }
  {
    ScriptSession db;  // an identity column does not count
    db.ok(
        "CREATE TABLE AnlageTabelle (Nr int IDENTITY(1,1) NOT NULL, Name varchar(240) NOT NULL, "
        "Nutzungsdauer integer NOT NULL, Fundstelle varchar(20) NOT NULL)");
    db.load("cmdAnlageTyp");
  }
}

TEST(ReferenceLoads, ChartOfAccountsAndItsTaxKeys) {
  ScriptSession db;
  db.ok(layouts::account_table("F5SKR49", true));
  db.ok(layouts::kTaxKeyTable);
  db.load("cmdSKR49");
  db.load("cmdF5DATSKR49");
  EXPECT_EQ(db.count("SELECT COUNT(*) FROM F5SKR49"), chart_accounts());
  EXPECT_EQ(db.count("SELECT COUNT(*) FROM F5SKR49 WHERE BUCHJAHR=2015 AND KTOART='Sachkonto'"), chart_accounts());
  EXPECT_EQ(db.rows("SELECT BEZEICHG, Bank, VORLABHAB, VORLABSOLL FROM F5SKR49 WHERE KONTONR=945"),
            (std::vector<std::vector<std::string>>{{"Bank", "Wahr", "0.00000000", "0.00000000"}}));
  EXPECT_EQ(db.count("SELECT COUNT(*) FROM F5SKR49 WHERE VORLABHAB IS NOT NULL"), 1);
  EXPECT_EQ(db.count("SELECT COUNT(*) FROM F5SKR49 WHERE STSCHL IS NOT NULL AND STSCHL NOT IN (7, 19)"), 0);
  EXPECT_EQ(db.count("SELECT COUNT(*) FROM F5SKR49 WHERE LEN(BEZEICHG) > 40"), 0);
  EXPECT_EQ(db.count("SELECT COUNT(*) FROM F5DATSKR49"), 10);
  EXPECT_EQ(db.rows("SELECT STEUERSCHL, MWSTKTO, VORST_KTO, Klasse, LfdNr FROM F5DATSKR49 WHERE MWSTKTO=8142"),
            (std::vector<std::vector<std::string>>{{"19", "8142", "8932", "8", "10"}}));
}

TEST(ReferenceLoads, SportsListsPerRegionalFederation) {
  ScriptSession db;
  db.ok(layouts::sports_table("INT"));
  db.ok(layouts::federations_table("INT"));
  db.load("MemoSport2014");
  EXPECT_EQ(db.count("SELECT COUNT(*) FROM Sportarten"), csv_records("sports/sportarten.csv"));
  EXPECT_EQ(db.count("SELECT COUNT(*) FROM fachverbaende"), csv_records("sports/fachverbaende.csv"));
  EXPECT_EQ(db.count("SELECT MAX(LfdNr) FROM Sportarten"), csv_records("sports/sportarten.csv"));
  // The en dash of the Saarland code survives the round trip.
  EXPECT_GT(db.count("SELECT COUNT(*) FROM Sportarten WHERE KZ='LSB – Saarland'"), 0);
  EXPECT_EQ(db.value("SELECT MIN(KZ) FROM fachverbaende WHERE KZ LIKE 'LSB _ Saarland'"), "LSB – Saarland");
  EXPECT_EQ(db.count("SELECT COUNT(*) FROM fachverbaende WHERE Kn IS NOT NULL"), 0);

  // The second loads of the three federations, with LfdNr an identity.
  db.ok("DROP TABLE Sportarten");
  db.ok("DROP TABLE fachverbaende");
  db.ok(layouts::sports_table("INT IDENTITY (1,1)"));
  db.ok(layouts::federations_table("INT IDENTITY (1,1)"));
  db.load("cmdSportarten");
  db.load("cmdfachverbaende");
  EXPECT_EQ(db.count("SELECT COUNT(*) FROM Sportarten"), csv_records("sports/sportarten_bayern_nrw_thueringen.csv"));
  EXPECT_EQ(db.count("SELECT COUNT(*) FROM fachverbaende"),
            csv_records("sports/fachverbaende_bayern_nrw_thueringen.csv"));
  EXPECT_EQ(db.count("SELECT COUNT(*) FROM Sportarten WHERE KZ NOT IN ('BLSV','LSB Thüringen','LSB NRW')"), 0);

  // The current federation list, LfdNr given again.
  db.ok("DROP TABLE fachverbaende");
  db.ok(layouts::federations_table("INT"));
  db.load("cmdFachverbaendeNeu");
  EXPECT_EQ(db.count("SELECT COUNT(*) FROM fachverbaende"), csv_records("sports/fachverbaende_current.csv"));
  EXPECT_EQ(db.count("SELECT COUNT(*) FROM fachverbaende WHERE Kn=' '"),
            csv_records("sports/fachverbaende_current.csv"));
}

TEST(ReferenceLoads, NationalSportsAndFederations) {
  ScriptSession db;
  db.ok(layouts::kNumberedSports);
  db.ok(layouts::kNationalFederations);
  db.load("cmdVerbSportArt");
  db.load("cmdDSAFachverband");
  EXPECT_EQ(db.count("SELECT COUNT(*) FROM VerbSportArt"), csv_records("sports/verbsportart.csv"));
  EXPECT_EQ(db.count("SELECT COUNT(*) FROM VerbSportArt WHERE Kennung IS NULL AND LfdNr IS NULL"),
            csv_records("sports/verbsportart.csv"));
  EXPECT_EQ(db.count("SELECT COUNT(*) FROM DSAFachverband"), csv_records("sports/dsa_fachverband.csv"));
  EXPECT_EQ(db.value("SELECT Bezeichnung FROM DSAFachverband WHERE Nr='999'"), "Sonstige");
}

TEST(ReferenceLoads, ThreeLineFederationMemoKeepsTheBreakInTheName) {
  ScriptSession db;
  db.ok(layouts::kNationalFederations);
  db.load("MemoDSAFach");
  tools::CsvTable list = tools::CsvTable::load(data_file("sports/dsa_fachverband.csv"));
  EXPECT_EQ(db.count("SELECT COUNT(*) FROM DSAFachverband"), static_cast<long long>(list.size()));
  EXPECT_EQ(db.value("SELECT Bezeichnung FROM DSAFachverband WHERE Nr='003'"), "Bund \r\nDeutscher Radfahrer (BDR)");
  // The clean-up of the stage turns every name back into the listed one.
  for (const char* text : {"\r\n", "\n", "\r", "  "}) {
    db.ok(std::string("UPDATE DSAFachverband SET Bezeichnung=REPLACE(Bezeichnung,'") + text + "',' ')");
  }
  for (size_t i = 0; i < list.size(); ++i) {
    EXPECT_EQ(db.value("SELECT Bezeichnung FROM DSAFachverband WHERE Nr='" + list.at(i, "Nr") + "'"),
              list.at(i, "Bezeichnung"));
  }
}

TEST(ReferenceLoads, HelpTopicsAreReplacedOnEveryRun) {
  ScriptSession db;
  db.ok(layouts::kHelpTopics);
  db.load("memoHelp");
  db.load("memoHelp");
  EXPECT_EQ(db.count("SELECT COUNT(*) FROM tblHelp"), 10);
  EXPECT_EQ(db.rows("SELECT Bezeichnung, Gruppe, RadDat, CAST(Memo AS varchar(10)) FROM tblHelp WHERE FORM='frmMgOP'"),
            (std::vector<std::vector<std::string>>{
                {"Lastschriften/Beitragseinzug", "Beitragsverwaltung", "2013-02-21 00:00:00.000", " "}}));
}

}  // namespace
#endif
