// Stage I on the embedded engine, over the demo club of an old release: the
// state it leaves, the approved transcripts of a first and a second run, and
// the tenants that an earlier release or the application left half way.
#include <gmock/gmock.h>

#include <algorithm>

#include "demo_tenant.h"
#include "stage1_fixture.h"
#include "stage1_transcript.h"
#include "standin_tenant.h"
#include "support/recording_ui.h"
#include "upgrade/run_driver.h"

namespace stage1_testing {
namespace {

using testing::ElementsAre;
using testing::IsEmpty;

class StageOneDemoTest : public DemoTenantTest {
 protected:
  void run_again() {
    log.clear();
    transcript.clear();
    run_stage_one();
  }
};

TEST_F(StageOneDemoTest, FirstRunAddsEveryColumnAndTableWithTheirTypes) {
  run_stage_one();
  EXPECT_THAT(feedback.reports, IsEmpty());
  EXPECT_EQ(progress.counter(), 60);
  EXPECT_EQ(column("Mandstam", "Vereinsart"), "char 1 YES");
  EXPECT_EQ(column("Mandstam", "VereinUebUntgliedAbt"), "smallint NULL YES");
  EXPECT_EQ(column("Adresse", "BIC3"), "varchar 40 YES");
  EXPECT_EQ(column("HyAdresse", "Vorwahl4"), "varchar 10 YES");
  EXPECT_EQ(column("Interes", "Eintritt"), "datetime NULL YES");
  EXPECT_EQ(column("F5DAT", "LfdNr"), "int NULL NO");
  EXPECT_EQ(column("F6KOST", "DezemberE"), "numeric NULL YES");
  EXPECT_EQ(column("SportartenV", "LV"), "varchar 60 YES");
  EXPECT_EQ(column("GuVKennzD", "EA"), "char 1 YES");
  EXPECT_EQ(column("PASS", "Vorlage_V"), "varchar 240 YES");
  EXPECT_EQ(column("Kontakt", "WordFile"), "varchar 240 YES");
  EXPECT_EQ(column("Adresse", "Firma4"), "varchar 100 YES");
  EXPECT_EQ(column("W_Vorl", "DatumBis"), "datetime NULL YES");
  EXPECT_EQ(column("mandstam", "LSB"), "varchar 50 YES");
  for (const char* table : {"AdrFunktion", "F5kennzD", "GuVKennz", "GuVKennzD", "F6KoStGr", "tblLSB"})
    EXPECT_EQ(value(std::string("SELECT COUNT(*) FROM sysobjects WHERE name='PK_") + table + "'"), "1") << table;
  EXPECT_EQ(value("SELECT COUNT(*) FROM sysobjects WHERE name='FK_AdrFunktion_Adresse'"), "1");
  EXPECT_EQ(value("SELECT COUNT(*) FROM sysobjects WHERE name='FK_GuVKennzD_GuVKennz'"), "1");
}

TEST_F(StageOneDemoTest, FirstRunConvertsTheClubsData) {
  run_stage_one();
  // Every address with a Funktion, the empty one included.
  EXPECT_EQ(rows("SELECT AdrNr, Funktion, Nr FROM AdrFunktion ORDER BY AdrNr"),
            (Rows{{"1", "Vorsitzender", "1"},
                  {"2", "", "1"},
                  {"5", "Kassenwart", "1"},
                  {"6", "Schriftführerin", "1"},
                  {"8", "Übungsleiterin", "1"},
                  {"10", "Ehrenvorsitzender", "1"}}));
  EXPECT_EQ(rows("SELECT STEUERSCHL, BEG FROM F5Dat ORDER BY STEUERSCHL"),
            (Rows{{"7", "NULL"}, {"16", "NULL"}, {"17", "alt"}, {"19", "NULL"}}));
  EXPECT_EQ(rows("SELECT KONTONR, STSCHL FROM F5Kont WHERE STSCHL IS NOT NULL ORDER BY KONTONR"),
            (Rows{{"4300", "7"}, {"4400", "19"}, {"4410", "16"}, {"4420", "17"}, {"6300", "19"}, {"6800", "19"}}));
  // The key is (STEUERSCHL, LfdNr): a second row of a key goes in.
  exec("INSERT INTO F5Dat (STEUERSCHL, BEG) VALUES (19, 'neu')");
  EXPECT_EQ(value("SELECT COUNT(*) FROM F5Dat WHERE STEUERSCHL=19"), "2");

  EXPECT_EQ(rows("SELECT AdrNr, Telefon1 FROM Adresse WHERE AdrNr IN (1, 2, 3, 6) ORDER BY AdrNr"),
            (Rows{{"1", "08214567890"}, {"2", "0821"}, {"3", ""}, {"6", "0821 903311"}}));
  EXPECT_EQ(value("SELECT COUNT(*) FROM Adresse WHERE Vorwahl IS NOT NULL"), "0");

  EXPECT_EQ(rows("SELECT CONVERT(varchar(19), DatumVon, 120), CONVERT(varchar(19), DatumBis, 120) "
                 "FROM W_Vorl ORDER BY G_DATUM, BENUTZER"),
            (Rows{{"NULL", "NULL"},
                  {"2015-03-04 09:05:00", "2015-03-04 09:48:12"},
                  {"2015-06-01 16:45:00", "2015-06-01 17:28:12"}}));

  EXPECT_EQ(rows("SELECT [Text] FROM F5BuText ORDER BY Nr"),
            (Rows{{"Aufnahmegebühren"}, {"Beitrag"}, {"Spende"}, {"Hallenmiete"}}));
  EXPECT_EQ(rows("SELECT DISTINCT KB FROM F5Kasses"), (Rows{{"B"}}));
  for (const char* table : {"F5bew4s", "F5bew4sg", "F5bw4sa", "F5bw4sga"})
    EXPECT_EQ(value(std::string("SELECT COUNT(*) FROM ") + table + " WHERE Stapel='Kassenbuch'"), "0");
  EXPECT_EQ(value("SELECT COUNT(*) FROM F5BEW4 WHERE DIALOG_STAP='K'"), "0");
  EXPECT_EQ(value("SELECT COUNT(*) FROM F5BEW4 WHERE SUCHTEXT='HAUPT'"), "4");
  EXPECT_EQ(value("SELECT COUNT(*) FROM F5BEW4 WHERE Parent=-1"), "5");
  EXPECT_EQ(rows("SELECT DISTINCT AutoDatSichDeaktiv FROM PASS"), (Rows{{"N"}}));
  EXPECT_EQ(rows("SELECT FibuKost FROM mandstam"), (Rows{{"N"}}));
}

TEST_F(StageOneDemoTest, FirstRunLoadsTheReferenceRows) {
  run_stage_one();
  EXPECT_EQ(value("SELECT COUNT(*) FROM GuVKennz"), "13");
  EXPECT_EQ(value("SELECT Bezeichnung FROM GuVKennz WHERE RimNr='VI' AND Kennz='B'"),
            "Geschäftsbetriebe Nebentätigkeiten Sport");
  EXPECT_EQ(value("SELECT COUNT(*) FROM tblLSB"), "18");
  EXPECT_EQ(value("SELECT Bezeichnung FROM tblLSB WHERE Kennung='LSB \xE2\x80\x93 Saarland'"),
            "Landessportverband für das Saarland");
  for (const char* table :
       {"F5KontMonosportverein", "F5KontSportvereinOhneAnlagevermogen", "F5KontSportvereinMitAnlagevermogen",
        "F5KontMitBezahltenSport", "F5KontKulturverein", "F5KontKulturvereinUndSportverein", "F5KontSonstiger",
        "F5DatMonosportverein", "F5DatSportvereinOhneAnlagevermogen", "F5DatSportvereinMitAnlagevermogen",
        "F5DatMitBezahltenSport", "F5DatKulturverein", "F5DatKulturUndSportverein", "F5DatSonstiger"})
    EXPECT_NE(value(std::string("SELECT COUNT(*) FROM ") + table), "0") << table;
}

TEST_F(StageOneDemoTest, TranscriptsOfAFirstAndASecondRun) {
  run_stage_one();
  EXPECT_TRUE(matches_approved("stage1_demo_first_run.txt", format_transcript(log)));
  run_again();
  EXPECT_EQ(progress.counter(), 60);
  EXPECT_TRUE(matches_approved("stage1_demo_second_run.txt", format_transcript(log)));
}

TEST_F(StageOneDemoTest, SecondRunChangesNothing) {
  run_stage_one();
  std::string before = dump();
  run_again();
  EXPECT_THAT(feedback.reports, IsEmpty());
  EXPECT_EQ(dump(), before);
}

// The tenants that an interrupted or older upgrade, or the application, left.

TEST_F(StageOneDemoTest, KlasseWithoutLfdNrLeavesTheTaxKeysAlone) {
  exec("ALTER TABLE F5Dat ADD Klasse char(1) NULL");
  run_stage_one();
  EXPECT_EQ(value("SELECT COUNT(*) FROM INFORMATION_SCHEMA.COLUMNS WHERE TABLE_NAME='F5DAT' AND "
                  "COLUMN_NAME='LfdNr'"),
            "0");
  EXPECT_EQ(rows("SELECT STEUERSCHL FROM F5Dat ORDER BY STEUERSCHL"), (Rows{{"1070"}, {"1160"}, {"1170"}, {"1190"}}));
  EXPECT_THAT(feedback.reports, IsEmpty());
}

TEST_F(StageOneDemoTest, FunctionsWithoutTheirOldColumnAreReportedOnce) {
  exec("ALTER TABLE Adresse DROP COLUMN Funktion");
  run_stage_one();
  ASSERT_EQ(feedback.reports.size(), 1u);
  EXPECT_EQ(feedback.reports[0].kind, db::Report::Warning);
  EXPECT_EQ(value("SELECT COUNT(*) FROM AdrFunktion"), "0");
  EXPECT_EQ(value("SELECT COUNT(*) FROM sysobjects WHERE name='FK_AdrFunktion_Adresse'"), "1");
  run_again();
  EXPECT_EQ(feedback.reports.size(), 1u);  // the take-over is not retried
}

TEST_F(StageOneDemoTest, SectionsWithoutVIIAreRestoredAndTheirDetailsKept) {
  run_stage_one();
  exec("INSERT INTO GuVKennzD (RimNr, Kennz, Nr, Bezeichnung) VALUES ('I', 'A', 1, 'Beiträge')");
  exec("INSERT INTO GuVKennzD (RimNr, Kennz, Nr, Bezeichnung) VALUES ('II', 'B', 1, 'Verkauf')");
  exec("DELETE FROM GuVKennz WHERE RimNr='VII'");
  exec("UPDATE GuVKennz SET Bezeichnung='umbenannt' WHERE RimNr='II' AND Kennz='B'");
  exec("INSERT INTO GuVKennz (RimNr, Kennz, Bezeichnung) VALUES ('IX', 'A', 'eigene')");
  run_again();
  EXPECT_THAT(feedback.reports, IsEmpty());
  EXPECT_EQ(value("SELECT COUNT(*) FROM GuVKennz"), "13");
  EXPECT_EQ(value("SELECT COUNT(*) FROM GuVKennz WHERE RimNr='IX'"), "0");
  EXPECT_EQ(value("SELECT Bezeichnung FROM GuVKennz WHERE RimNr='II' AND Kennz='B'"),
            "Sonstige wirtschaftliche Geschäftsbetriebe");
  EXPECT_EQ(value("SELECT Bezeichnung FROM GuVKennz WHERE RimNr='VII'"), "Sonstige Geschäftsbetriebe");
  EXPECT_EQ(rows("SELECT RimNr, Kennz, Bezeichnung FROM GuVKennzD ORDER BY RimNr"),
            (Rows{{"I", "A", "Beiträge"}, {"II", "B", "Verkauf"}}));
}

TEST_F(StageOneDemoTest, DetailsOfAnOlderReleaseGetTheirIncomeExpenseMarker) {
  exec(
      "CREATE TABLE dbo.GuVKennz (RimNr varchar (4) NOT NULL, Kennz Varchar (1) NOT NULL, "
      "Bezeichnung varchar (50) NOT NULL, CONSTRAINT PK_GuVKennz PRIMARY KEY (RimNr, Kennz))");
  exec("INSERT INTO GuVKennz VALUES ('I', 'A', 'Einnahmen'), ('I', 'B', 'Ausgaben'), ('VII', 'A', 'x')");
  exec(
      "CREATE TABLE dbo.GuVKennzD (RimNr varchar (4) NOT NULL, Kennz Varchar (1) NOT NULL, Nr int NOT NULL, "
      "Bezeichnung varchar (50) NOT NULL)");
  exec("INSERT INTO GuVKennzD VALUES ('I', 'A', 1, 'Beiträge'), ('I', 'B', 1, 'Miete'), ('I', 'C', 1, 'frei')");
  run_stage_one();
  EXPECT_EQ(rows("SELECT Kennz, EA FROM GuVKennzD ORDER BY Kennz"), (Rows{{"A", "E"}, {"B", "A"}, {"C", "NULL"}}));
}

TEST_F(StageOneDemoTest, ExistingFederationTableKeepsItsRows) {
  exec("CREATE TABLE dbo.tblLSB (Kennung varchar (50) NOT NULL, Bezeichnung varchar (50) NOT NULL)");
  exec("INSERT INTO tblLSB VALUES ('BLSV', 'Bayerischer Landessportverband')");
  run_stage_one();
  EXPECT_EQ(rows("SELECT Kennung FROM tblLSB"), (Rows{{"BLSV"}}));
}

TEST_F(StageOneDemoTest, AreaCodeThatDoesNotFitStaysInVorwahl) {
  exec("ALTER TABLE Adresse ALTER COLUMN Telefon1 varchar(30) NULL");
  exec("UPDATE Adresse SET Telefon1='123456789012345678901234567890' WHERE AdrNr=1");
  run_stage_one();
  EXPECT_THAT(feedback.reports, IsEmpty());
  EXPECT_EQ(rows("SELECT Vorwahl, Telefon1 FROM Adresse WHERE AdrNr IN (1, 5) ORDER BY AdrNr"),
            (Rows{{"0821", "123456789012345678901234567890"}, {"0821", "812233"}}));
}

TEST(DemoRun, MissingKontaktEndsTheRunAtTheWideningInTheErrorBox) {
  auto server = standin::Server::in_memory();
  testing_support::seed_demo_database(*server, "DRAVOK01", "demo/club_01.sql");
  server->connect("DRAVOK01")->execute("DROP TABLE Kontakt");
  // The discovery connection only lists the databases.
  StandinFactory factory(*server, {{"Dravok", "master"}});
  testing_support::RecordingUi ui;
  upgrade::RunDriver driver(ui, factory, "/nonexistent/SysDBAdo.INI");
  std::vector<std::string> sent;
  driver.add_observer([&](const db::StatementRecord& r) { sent.push_back(r.text); });
  upgrade::RunOutcome outcome = driver.run();
  EXPECT_EQ(outcome.exit_code(), 2);
  ASSERT_FALSE(ui.dialogs.empty());
  EXPECT_EQ(ui.dialogs.back().kind, upgrade::DialogKind::ErrorBox);
  EXPECT_EQ(ui.dialogs.back().text, outcome.abort_text);
  EXPECT_THAT(outcome.abort_text, testing::HasSubstr("Kontakt"));
  EXPECT_EQ(sent.back(), "ALTER TABLE dbo.Kontakt ALTER COLUMN WordFile varchar(240) Null");
}

}  // namespace
}  // namespace stage1_testing
