// The first two blocks of stage III on the scripted backend: the one-time
// restructuring of the sports keys hangs on EINST.Kn5a alone and runs in its
// order, the one-time fills hang on their own marker columns, and the rights
// go in only with their table.
#include <gmock/gmock.h>

#include <algorithm>

#include "db/sql_text.h"
#include "scripts/catalog.h"
#include "stage1_fixture.h"
#include "upgrade/stages.h"

namespace stage1_testing {
namespace {

using testing::IsEmpty;

class StageThreeTest : public StageOneTest {
 protected:
  void run_both_blocks() {
    upgrade::sports_keys_due_date_function_and_widenings(tenant);
    upgrade::fixed_assets_letters_export_log_and_rights(tenant);
  }

  // Every table, constraint and column exists except the column `table`.`column`.
  void all_present_but(std::string table, std::string column) {
    catalogue.present = [=](const std::string& q) { return !is_column_probe(q, table, column); };
  }

  // The primary key that DropPrimaryKey finds on `table`.
  void primary_key(std::string_view table, std::string name) {
    std::string probe = db::join_lines_crlf({
        " SELECT  distinct i.name AS IndexName",
        " FROM    sys.indexes AS i INNER JOIN",
        " sys.index_columns AS ic ON  i.OBJECT_ID = ic.OBJECT_ID",
        " AND i.index_id = ic.index_id",
        " WHERE   i.is_primary_key = 1",
        " and OBJECT_NAME(ic.OBJECT_ID)=" + db::quoted(table),
    });
    catalogue.rows[probe] = db::Rowset{{"IndexName"}, {{name}}};
  }

  // The statements sent (probes left out), each as "guard | text".
  std::vector<std::string> sent_with_guards() const {
    std::vector<std::string> out;
    for (const auto& r : transcript)
      if (r.channel != db::Channel::Probe) out.push_back(db::to_string(r.guard) + " | " + r.text);
    return out;
  }

  static std::string script(std::string_view name) { return std::string(scripts::find(name)->text); }
};

TEST_F(StageThreeTest, RestructuringIsSkippedWhenKn5aExists) {
  all_present_but("fachverbaende", "Kn");  // Kn is added, but it is not the marker
  run_both_blocks();
  for (const char* text :
       {"DELETE FROM AdrSepaVer", "DELETE FROM dbo.Sportarten", "ALTER TABLE dbo.Sportarten DROP COLUMN LfdNr",
        "ALTER TABLE [dbo].[AdrSArt] ADD CONSTRAINT [PK_AdrSArt] PRIMARY KEY CLUSTERED "
        "([AdrNr],[SArt],[LfdNr]) ON [PRIMARY]"})
    EXPECT_FALSE(sent(text)) << text;
  EXPECT_TRUE(sent("ALTER TABLE dbo.fachverbaende ADD Kn  char (1) NULL"));
  EXPECT_FALSE(sent(script("MemoSport2014")));
  // The steps around it still run.
  EXPECT_TRUE(sent("ALTER TABLE dbo.INTER ALTER COLUMN VerbandNr varchar(20) NULL"));
  EXPECT_TRUE(sent(script("MemoFDat")));
}

TEST_F(StageThreeTest, RestructuringRunsInItsOrderWhenKn5aIsAdded) {
  catalogue.present = [](const std::string& q) { return q.find("Information_Schema.Columns") == std::string::npos; };
  primary_key("AdrSArt", "PK_AdrSArt");
  primary_key("SportartenV", "PK_SportartenV_Alt");
  upgrade::sports_keys_due_date_function_and_widenings(tenant);

  // Each landmark after the one before: the lists are emptied, the old keys
  // dropped before their columns change, LfdNr is a plain integer while the
  // script loads and an identity column before the new keys are made.
  const std::vector<std::string> landmarks = {
      "unguarded | BEGIN TRANSACTION",
      "silent | ALTER TABLE dbo.EINST ADD Kn5a  char (1) NULL",
      "unguarded | DELETE FROM AdrSepaVer",
      "silent | ALTER TABLE dbo.AdrSArt ADD LfdNr  INT IDENTITY (1,1) NOT NULL",
      "reported:warning | ALTER TABLE dbo.fachverbaende\r\n DROP CONSTRAINT PK_fachverbaende\r\n",
      "reported:warning | ALTER TABLE dbo.SportartenV\r\n DROP CONSTRAINT PK_SportartenV_Alt\r\n",
      "reported:warning | ALTER TABLE [dbo].[AdrSArt] ALTER COLUMN SArt VARCHAR (20) NOT NULL",
      "silent | ALTER TABLE dbo.fachverbaende DROP COLUMN LfdNr",
      "silent | ALTER TABLE dbo.fachverbaende ADD LfdNr  INT  NOT NULL",
      "reported:plain | " + script("MemoSport2014"),
      "unguarded | ALTER TABLE dbo.Sportarten DROP COLUMN LfdNr",
      "silent | ALTER TABLE dbo.fachverbaende ADD LfdNr  INT IDENTITY (1,1) NOT NULL",
      "reported:warning | ALTER TABLE [dbo].[fachverbaende] ADD CONSTRAINT [PK_fachverbaende] PRIMARY KEY "
      "CLUSTERED ([KZ],[NUMMER],[LfdNr]) ON [PRIMARY]",
      "reported:warning | ALTER TABLE [dbo].[AdrSArt] ADD CONSTRAINT [PK_AdrSArt] PRIMARY KEY CLUSTERED "
      "([AdrNr],[SArt],[LfdNr]) ON [PRIMARY]",
  };
  std::vector<std::string> all = sent_with_guards();
  auto at = all.begin();
  for (const auto& landmark : landmarks) {
    at = std::find(at, all.end(), landmark);
    ASSERT_NE(at, all.end()) << "missing or out of order: " << landmark;
  }
  // The marker and the restructuring are committed together.
  EXPECT_EQ(at[1], "unguarded | COMMIT TRANSACTION");
  EXPECT_TRUE(at[2].starts_with("silent | INSERT INTO tblLSB (Kennung,Bezeichnung)"));
}

TEST_F(StageThreeTest, KeyOfWVorlIsRebuiltOnlyWithItsMarker) {
  const char* rebuild =
      "ALTER TABLE [dbo].[W_vorl] WITH NOCHECK ADD  CONSTRAINT [PK_W_vorl] PRIMARY KEY  CLUSTERED "
      "([G_DATUM],[BENUTZER],[ADRNR],[ZEIT],[LfdNr])  ON [PRIMARY] ";
  all_present_but("W_vorl", "LfdNrN");
  catalogue.refusals["Drop Constraint PK_W_vorl"] = "'PK_W_vorl' is not a constraint.";
  run_both_blocks();
  EXPECT_EQ(index_of(rebuild), index_of("Alter Table W_vorl Drop Constraint PK_W_vorl") + 1);
  // The refused drop is shown in the plain box; the rebuild is still tried.
  ASSERT_EQ(feedback.reports.size(), 1u);
  EXPECT_EQ(feedback.reports[0].kind, db::Report::Plain);
  EXPECT_FALSE(sent("UPDATE EINST SET SEPAVersion='2.6'\r\n"));
  EXPECT_TRUE(sent("UPDATE tblRechte SET Bezeichnung='Beitragsrechnungen schreiben' WHERE RB=8\r\n"));
}

// A marker column and the fill that runs only in the run that adds it.
struct Marker {
  const char* table;
  const char* column;
  std::vector<std::string> fills;
};

const Marker kMarkers[] = {
    {"EINST", "SEPAVersion", {"UPDATE EINST SET SEPAVersion='2.6'\r\n"}},
    {"F5einst", "MONATBIS", {"UPDATE F5einst SET MONATBIS=MONAT"}},
    {"Einst", "Anlage3", {"DELETE FROM AnlageTabelle\r\n", "<cmdAnlageTyp>"}},
    {"PASS", "Verwalter", {"UPDATE PASS SET Verwalter='J'\r\n"}},
};

class StageThreeMarkerTest : public StageThreeTest, public testing::WithParamInterface<Marker> {
 protected:
  std::vector<std::string> all_fills_sent() const {
    std::vector<std::string> out;
    for (const Marker& m : kMarkers)
      for (const auto& fill : m.fills)
        if (sent(fill == "<cmdAnlageTyp>" ? script("cmdAnlageTyp") : fill)) out.push_back(fill);
    return out;
  }
};

TEST_P(StageThreeMarkerTest, OnlyTheFillOfTheAddedMarkerRuns) {
  all_present_but(GetParam().table, GetParam().column);
  run_both_blocks();
  EXPECT_EQ(all_fills_sent(), GetParam().fills);
  EXPECT_THAT(feedback.reports, IsEmpty());
}

INSTANTIATE_TEST_SUITE_P(StageThree, StageThreeMarkerTest, testing::ValuesIn(kMarkers),
                         [](const auto& info) { return std::string(info.param.column); });

TEST_F(StageThreeTest, DepreciationScriptRunsOnItsOwnCommandAfterTheDelete) {
  all_present_but("Einst", "Anlage3");
  run_both_blocks();
  int del = index_of("DELETE FROM AnlageTabelle\r\n");
  ASSERT_GE(del, 0);
  EXPECT_EQ(transcript[del + 1].text, script("cmdAnlageTyp"));
  EXPECT_EQ(transcript[del + 1].channel, db::Channel::Separate);
  EXPECT_EQ(transcript[del + 1].guard, db::Guard::warning());
}

TEST_F(StageThreeTest, RightsGoInForEveryRightWithTheNewTable) {
  catalogue.present = [](const std::string& q) {
    return q.find("'tblRechte'") == std::string::npos && q.find("'iBenutzer'") == std::string::npos;
  };
  run_both_blocks();
  std::vector<std::string> rights;
  for (const auto& r : transcript)
    if (r.text.starts_with("INSERT INTO tblRechte")) {
      EXPECT_EQ(r.guard, db::Guard::unguarded());
      rights.push_back(r.text.substr(r.text.find(" SELECT BENUTZER, ")));
    }
  ASSERT_EQ(rights.size(), 17u);
  EXPECT_EQ(rights[0], " SELECT BENUTZER, 1, 'Vereinsdaten anlegen, bearbeiten', 'Vereinsdaten', 'J' FROM PASS\r\n");
  EXPECT_EQ(rights[10],
            " SELECT BENUTZER, 11, 'offene Beitragszahlungen anmahnen', 'OffeneBeitragszahlungenAnmahnen', 'J' "
            "FROM PASS\r\n");
  EXPECT_EQ(rights[11],
            " SELECT BENUTZER, 11, 'Bankgesch\xC3\xA4"
            "fte durchf\xC3\xBChren', 'BankgeschafteDurchfuhren', 'J' "
            "FROM PASS\r\n");
  EXPECT_EQ(rights[16], " SELECT BENUTZER, 16, 'Faktura', 'Faktura', 'J' FROM PASS\r\n");
  // After the table, before its index.
  int create = -1, first_right = -1;
  for (size_t i = 0; i < transcript.size(); ++i) {
    if (create < 0 && transcript[i].text.starts_with("CREATE TABLE tblRechte (")) create = static_cast<int>(i);
    if (first_right < 0 && transcript[i].text.starts_with("INSERT INTO tblRechte")) first_right = static_cast<int>(i);
  }
  EXPECT_LT(create, first_right);
  EXPECT_GT(index_of("CREATE NONCLUSTERED INDEX iBenutzer ON tblRechte (BENUTZER, Kurzname)"), first_right);
}

TEST_F(StageThreeTest, NoRightsAreAddedToAnExistingTable) {
  catalogue.present = [](const std::string&) { return true; };
  run_both_blocks();
  for (const auto& text : texts()) EXPECT_FALSE(text.starts_with("INSERT INTO tblRechte")) << text;
}

TEST_F(StageThreeTest, LetterSettingsTableIsReportedWithTheErrorDialog) {
  catalogue.present = [](const std::string& q) { return q.find("'tblBriefEinst'") == std::string::npos; };
  catalogue.refusals["CREATE TABLE [dbo].[tblBriefEinst]("] = "There is already an object named 'tblBriefEinst'.";
  run_both_blocks();
  ASSERT_EQ(feedback.reports.size(), 1u);
  EXPECT_EQ(feedback.reports[0].kind, db::Report::Error);
}

}  // namespace
}  // namespace stage1_testing
