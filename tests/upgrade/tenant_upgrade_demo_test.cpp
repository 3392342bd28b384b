// The whole per-tenant upgrade (stages I to III) on the embedded engine over
// the demo club of an old release: what a first run leaves, the approved
// transcripts of a first and a second run, what a second and a third run
// change, and the SEPA mandates a later run adds.
#include <gmock/gmock.h>

#include <string>
#include <string_view>
#include <vector>

#include "db/sql_text.h"
#include "demo_tenant.h"
#include "scripts/catalog.h"
#include "stage1_transcript.h"
#include "upgrade/stages.h"

namespace stage1_testing {
namespace {

using testing::IsEmpty;

// The statements of a stored script that insert into `table`, and of those
// the ones whose KZ is not one of `except`.
int script_inserts(std::string_view script, std::string_view table, const std::vector<std::string>& except_kz = {}) {
  int count = 0;
  const std::string head = "Insert Into " + std::string(table) + " ";
  for (const std::string& line : db::split_lines(scripts::find(script)->text)) {
    if (!db::iequals(line.substr(0, head.size()), head)) continue;
    bool excluded = false;
    for (const std::string& kz : except_kz) excluded |= line.find("KZ='" + kz + "'") != std::string::npos;
    count += excluded ? 0 : 1;
  }
  return count;
}

class TenantUpgradeTest : public DemoTenantTest {
 protected:
  void run_all() {
    clear_log();
    progress.start();
    upgrade::run_stages(tenant);
  }
  std::string count(const std::string& table) { return value("SELECT COUNT(*) FROM " + table); }
  bool object(const std::string& name) {
    return value("SELECT COUNT(*) FROM sysobjects WHERE name='" + name + "'") == "1";
  }
};

TEST_F(TenantUpgradeTest, FirstRunIsQuietAndMakesEveryProgressStep) {
  run_all();
  EXPECT_THAT(feedback.reports, IsEmpty());
  EXPECT_EQ(progress.counter(), 72);  // stage I 59 steps, stage II 12, stage III none
}

TEST_F(TenantUpgradeTest, FirstRunCopiesTheClubAccountsQuoteAndAll) {
  run_all();
  // Created and filled, then rebuilt in the same run when its BIC column came.
  EXPECT_EQ(rows("SELECT Bank, Konto, BLZ, Online, IBAN, BIC, FibuKonto FROM MandKonten ORDER BY LfdNr"),
            (Rows{{"Stadtsparkasse Augsburg", "0012345678", "72050000", "N", "NULL", "NULL", "1200"},
                  {"Raiffeisenbank 'Lechfeld' eG", "0000456789", "72069329", "N", "NULL", "NULL", "1210"},
                  {"Augusta-Bank eG", "0001234567", "72090000", "N", "NULL", "NULL", "NULL"}}));
  EXPECT_EQ(rows("SELECT Version FROM tblVersion"), (Rows{{"10"}}));
  EXPECT_EQ(count("tblHelp"), "10");
  EXPECT_EQ(rows("SELECT Kennung, Nr FROM tblHelpGruppe ORDER BY Nr"),
            (Rows{{"Mitgliederverwaltung", "1"}, {"Beitragsverwaltung", "2"}, {"Finanzbuchhaltung", "3"}}));
  EXPECT_EQ(value("SELECT COUNT(*) FROM F5Kont WHERE Spende='J'"), "1");
  EXPECT_EQ(value("SELECT KONTONR FROM F5Kont WHERE Spende='J'"), "3220");
  EXPECT_EQ(rows("SELECT SEPAErstTage, SEPAFolgeTage, GlaeubigerId FROM Mandstam"), (Rows{{"5", "2", "NULL"}}));
  EXPECT_EQ(column("Mandstam", "GlaeubigerId"), "varchar 35 YES");
  EXPECT_EQ(column("Adresse", "Telefon3"), "varchar 240 YES");
  EXPECT_EQ(column("RECHN", "Konto15"), "int NULL YES");
  EXPECT_EQ(column("RECHN", "ArtikelNr_15"), "varchar 10 YES");
  EXPECT_EQ(column("MgSolln", "RgNr"), "varchar 10 YES");
}

TEST_F(TenantUpgradeTest, FirstRunDerivesReferencesAndCreatesTheMandates) {
  run_all();
  // Address number and membership number as text; none without a number.
  EXPECT_EQ(rows("SELECT AdrNr, mandatsrefenz FROM Adresse WHERE AdrNr IN (1, 6, 7) ORDER BY AdrNr"),
            (Rows{{"1", "11001"}, {"6", "NULL"}, {"7", "7J-12"}}));
  // Direct-debit members who have not left and have a reference: 1, 2, 3, 7
  // and 10 (4 left, 6 has no reference, 5, 8 and 9 pay otherwise).
  EXPECT_EQ(rows("SELECT AdrNr, MandatsNr, MandKey, Lastschriftart, Typ, Status FROM AdrSepa ORDER BY AdrNr"),
            (Rows{{"1", "11001", "110011", "Basis", "W", "Aktiv"},
                  {"2", "21002", "210021", "Basis", "W", "Aktiv"},
                  {"3", "31003", "310031", "Basis", "W", "Aktiv"},
                  {"7", "7J-12", "7J-121", "Basis", "W", "Aktiv"},
                  {"10", "101010", "1010101", "Basis", "W", "Aktiv"}}));
  // Today at midnight in the three date columns, nothing in the others.
  EXPECT_EQ(count("AdrSepa WHERE AngelegtAm=UnterschriftDatum AND GueltigAb=AngelegtAm AND "
                  "AngelegtAm=CAST(CONVERT(varchar(8), GETDATE(), 112) AS datetime) AND "
                  "GultigBis IS NULL AND WiderrufenAm IS NULL"),
            "5");
  EXPECT_EQ(rows("SELECT DISTINCT EinzugLastMandLiegtVor FROM Adresse WHERE Zahlungsart='L'"), (Rows{{"J"}}));
  // Lukas's contract is paid from his mother's account (address 2).
  EXPECT_EQ(rows("SELECT StrasseKIH, PlzKIH, OrtKIH, EmailKIH FROM MgVert WHERE VertragNr='1003-1'"),
            (Rows{{"Lindenstraße 4", "86199", "Augsburg", "maria.huber@example.de"}}));
  EXPECT_EQ(rows("SELECT ArtName FROM MgVert WHERE VertragNr IN ('1001-1', '1005-2') ORDER BY VertragNr"),
            (Rows{{"Erwachsene"}, {"NULL"}}));
}

TEST_F(TenantUpgradeTest, FirstRunRebuildsTheSportsKeysAndRoundsTheBatches) {
  run_all();
  for (const char* key : {"PK_Sportarten", "PK_fachverbaende", "PK_SportartenV", "PK_AdrSArt", "PK_VerbSportArt",
                          "PK_W_vorl", "PK_D_BLZ", "PK_GuVKennz49D", "PK_F5SKR49", "PK_AdrSepa"})
    EXPECT_TRUE(object(key)) << key;
  EXPECT_EQ(column("Sportarten", "LfdNr"), "int NULL NO");
  EXPECT_EQ(column("AdrSArt", "SArt"), "varchar 20 NO");
  EXPECT_EQ(column("VerbSportArt", "Nummer"), "varchar 20 NO");
  EXPECT_EQ(column("Adresse", "DSASportArt"), "varchar 4 YES");
  // The address sports keep their rows, numbered 1.. by the new identity.
  EXPECT_EQ(rows("SELECT AdrNr, SArt, LfdNr FROM AdrSArt ORDER BY LfdNr"),
            (Rows{{"1", "14", "1"}, {"3", "14", "2"}, {"7", "14", "3"}, {"8", "40", "4"}}));
  EXPECT_EQ(count("AdrSepaVer"), "0");
  EXPECT_EQ(value("SELECT MIN(LfdNr) FROM fachverbaende"), "1");
  EXPECT_EQ(value("SELECT COUNT(DISTINCT LfdNr) FROM Sportarten"), count("Sportarten"));
  // Up to the next cent, also below zero; whole cents and NULL stay.
  EXPECT_EQ(rows("SELECT Soll, Haben FROM f5bew4s ORDER BY BelegNr"),
            (Rows{{"12.35000000", "0.00000000"}, {"0.00000000", "2.95000000"}, {"15.00000000", "NULL"}}));
  EXPECT_EQ(value("SELECT COUNT(*) FROM f5bew4sg WHERE Soll=12.35"), "1");
  EXPECT_EQ(rows("SELECT MONATBIS FROM F5einst"), (Rows{{"3"}}));
}

TEST_F(TenantUpgradeTest, FirstRunLoadsTheReferenceData) {
  run_all();
  const std::vector<std::string> partly = {"BLSV", "LSB Thüringen", "LSB NRW"};
  EXPECT_EQ(count("Sportarten"), std::to_string(script_inserts("MemoSport2014", "Sportarten", partly) +
                                                script_inserts("cmdSportarten", "Sportarten")));
  EXPECT_EQ(count("fachverbaende"), std::to_string(script_inserts("cmdFachverbaendeNeu", "fachverbaende")));
  EXPECT_EQ(count("VerbSportArt"), std::to_string(script_inserts("cmdVerbSportArt", "VerbSportArt")));
  EXPECT_EQ(count("DSAFachverband"), std::to_string(script_inserts("cmdDSAFachverband", "DSAFachverband")));
  EXPECT_EQ(count("F5SKR49"), std::to_string(script_inserts("cmdSKR49", "F5SKR49")));
  EXPECT_EQ(count("F5DATSKR49"), "10");
  EXPECT_EQ(count("AnlageTabelle"), std::to_string(script_inserts("cmdAnlageTyp", "AnlageTabelle")));
  EXPECT_EQ(count("d_blz"), std::to_string(script_inserts("cmdD_blz1", "D_blz") + script_inserts("cmdD_blz2", "D_blz") +
                                           script_inserts("cmdD_blz3", "D_blz")));
  EXPECT_EQ(value("SELECT COUNT(*) FROM VerbSportArt WHERE LEN(Nummer)<>4"), "0");
  EXPECT_EQ(count("GuVKennz49"), "26");
  // Seventy detail lines less the two that repeat the key of an earlier one.
  EXPECT_EQ(count("GuVKennz49D"), "68");
  EXPECT_EQ(rows("SELECT Bezeichnung FROM GuVKennz49D WHERE RimNr='II' AND Kennz='B' AND Nr IN (1, 2) ORDER BY Nr"),
            (Rows{{"Schenkungen"}, {"Erbschaften/Vermächtnisse"}}));
  // Seventeen rights for each of the three users.
  EXPECT_EQ(rows("SELECT BENUTZER, COUNT(*), SUM(RB) FROM tblRechte GROUP BY BENUTZER ORDER BY BENUTZER"),
            (Rows{{"ADMIN", "17", "147"}, {"KASSE", "17", "147"}, {"SCHRIFTF", "17", "147"}}));
  EXPECT_EQ(rows("SELECT DISTINCT Verwalter FROM PASS"), (Rows{{"J"}}));
  EXPECT_EQ(count("tblLSB"), "21");
}

TEST_F(TenantUpgradeTest, DueDatesOfTheClubsContracts) {
  run_all();
  exec("UPDATE MgVert SET FalligkeitDatum1='29.02.2016' WHERE VertragNr='1001-1'");
  exec("UPDATE MgVert SET FalligkeitDatum1='15.01.2015', FalligkeitDatum2='15.07.2015' WHERE VertragNr='1003-1'");
  exec("UPDATE MgVert SET FalligkeitTag=30 WHERE VertragNr='6-1'");
  // 1002-1 (quarterly) has no due dates and yields nothing.
  EXPECT_EQ(rows("SELECT VertragNr, Zeitraum, CONVERT(varchar(10), FalligkeitDatum, 104) "
                 "FROM dbo.fFalligkeitDatum(2020) WHERE VertragNr<>'6-1' ORDER BY VertragNr, Zeitraum"),
            (Rows{{"1001-1", "1", "28.02.2020"}, {"1003-1", "1", "15.01.2020"}, {"1003-1", "7", "15.07.2020"}}));
  EXPECT_EQ(rows("SELECT CONVERT(varchar(5), FalligkeitDatum, 104) FROM dbo.fFalligkeitDatum(2021) "
                 "WHERE VertragNr='6-1' ORDER BY Zeitraum"),
            (Rows{{"31.01"},
                  {"28.02"},
                  {"30.03"},
                  {"30.04"},
                  {"31.05"},
                  {"30.06"},
                  {"31.07"},
                  {"31.08"},
                  {"30.09"},
                  {"31.10"},
                  {"30.11"},
                  {"31.12"}}));
}

TEST_F(TenantUpgradeTest, TranscriptsOfAFirstAndASecondRun) {
  run_all();
  EXPECT_TRUE(matches_approved("tenant_demo_first_run.txt", format_transcript(log)));
  run_all();
  EXPECT_THAT(feedback.reports, IsEmpty());
  EXPECT_TRUE(matches_approved("tenant_demo_second_run.txt", format_transcript(log)));
}

// The help topics are loaded anew on every run (new identities); the rest
// must stay as the run before left it.
const std::vector<std::string> kReloadedEveryRun = {"tblHelp"};

TEST_F(TenantUpgradeTest, SecondAndThirdRunChangeNothing) {
  run_all();
  const std::string first = dump(kReloadedEveryRun);
  run_all();
  EXPECT_THAT(feedback.reports, IsEmpty());
  const std::string second = dump(kReloadedEveryRun);
  EXPECT_EQ(second, first);
  run_all();
  EXPECT_THAT(feedback.reports, IsEmpty());
  EXPECT_EQ(dump(kReloadedEveryRun), second);
}

// The bank directory is loaded in stage III, after stage II has completed
// and corrected the BICs of the run; what a loaded edition brings in needs
// the next run. The installed edition has neither the outdated BIC nor a
// record without one (an empty BIC is '' there, which the completion leaves
// alone), so the rows are made as an older edition would have loaded them.
TEST_F(TenantUpgradeTest, BankCodesLoadedByARunAreCorrectedByTheNext) {
  run_all();
  exec("UPDATE d_blz SET BIC='COBADEFF570' WHERE BLZ='57040044'");
  exec("UPDATE d_blz SET BIC=NULL WHERE BLZ='10010010'");
  exec("INSERT INTO d_blz (BLZ, LfdNr, BANK, ORT, BIC) VALUES ('10010010', 2, 'Postbank', 'Berlin', 'PBNKDEFFXXX')");
  exec("UPDATE Adresse SET BIC1='COBADEFF570', BIC2='COBADEFF570' WHERE AdrNr=1");
  ASSERT_NE(count("d_blz WHERE BIC='COBADEFF570'"), "0");
  run_all();
  EXPECT_THAT(feedback.reports, IsEmpty());
  EXPECT_EQ(count("d_blz WHERE BIC='COBADEFF570'"), "0");
  EXPECT_EQ(rows("SELECT DISTINCT BIC FROM d_blz WHERE BLZ='10010010'"), (Rows{{"PBNKDEFFXXX"}}));
  EXPECT_EQ(rows("SELECT BIC1, BIC2 FROM Adresse WHERE AdrNr=1"), (Rows{{"COBADEFFXXX", "COBADEFF570"}}));
}

TEST_F(TenantUpgradeTest, LaterRunCreatesMandatesOnlyForNewlyEligibleMembers) {
  run_all();
  const std::string insert =
      "INSERT INTO Adresse (AdrNr, MitglNr, Name, Zahlungsart, Austritt, AbwKtoInhCB, mandatsrefenz) VALUES ";
  exec(insert + "(20, '2020', 'neu', 'L', NULL, NULL, '202020')");
  exec(insert + "(21, '2021', 'Kontoinhaber', 'L', NULL, 'J', '212021')");
  exec(insert + "(22, '2022', 'ausgetreten', 'L', '20200101', NULL, '222022')");
  exec(insert + "(23, '2023', 'ohne Referenz', 'L', NULL, NULL, '')");
  exec(insert + "(24, '2024', 'Überweiser', 'U', NULL, NULL, '242024')");
  std::string before = value("SELECT COUNT(*) FROM AdrSepa");
  run_all();
  EXPECT_THAT(feedback.reports, IsEmpty());
  EXPECT_EQ(before, "5");
  EXPECT_EQ(rows("SELECT AdrNr, MandatsNr, MandKey FROM AdrSepa WHERE AdrNr>=20"), (Rows{{"20", "202020", "2020201"}}));
  run_all();
  EXPECT_EQ(count("AdrSepa"), "6");
}

TEST_F(TenantUpgradeTest, ExistingSepaFlagAndVersionRowsAreKept) {
  exec("ALTER TABLE Adresse ADD SEPA_FE char(1) NULL");
  exec("UPDATE Adresse SET SEPA_FE='J' WHERE AdrNr=1");
  exec("CREATE TABLE dbo.tblVersion ([Version] [varchar] (50) NOT NULL)");
  exec("INSERT INTO tblVersion (Version) VALUES ('8')");
  exec("INSERT INTO tblVersion (Version) VALUES ('9')");
  run_all();
  EXPECT_THAT(feedback.reports, IsEmpty());
  EXPECT_EQ(rows("SELECT AdrNr, SEPA_FE FROM Adresse WHERE AdrNr IN (1, 2) ORDER BY AdrNr"),
            (Rows{{"1", "J"}, {"2", "NULL"}}));
  EXPECT_EQ(rows("SELECT Version FROM tblVersion"), (Rows{{"10"}, {"10"}}));
}

TEST_F(TenantUpgradeTest, EmptyVersionTableGetsItsRow) {
  exec("CREATE TABLE dbo.tblVersion ([Version] [varchar] (50) NOT NULL)");
  run_all();
  EXPECT_EQ(rows("SELECT Version FROM tblVersion"), (Rows{{"10"}}));
}

}  // namespace
}  // namespace stage1_testing
