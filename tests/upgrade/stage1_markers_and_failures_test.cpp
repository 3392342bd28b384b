// The one-time fills that hang on the added flag of their marker column, and
// the statements whose failure must end the run or must be survived.
#include <gmock/gmock.h>

#include "stage1_fixture.h"

namespace stage1_testing {
namespace {

using testing::ElementsAre;
using testing::IsEmpty;

// A marker column and the fills that run only in the run that adds it.
struct Marker {
  const char* table;
  const char* column;
  std::vector<std::string> fills;
};

const Marker kMarkers[] = {
    {"F5Dat",
     "Klasse",
     {"Alter Table F5DAT Drop Constraint PK_F5DAT",
      "ALTER TABLE [dbo].[F5DAT] WITH NOCHECK ADD  CONSTRAINT [PK_F5DAT] PRIMARY KEY  CLUSTERED ([STEUERSCHL],[LfdNr])  ON [PRIMARY] ",
      "UPDATE F5Dat SET STEUERSCHL=19 WHERE STEUERSCHL=1190", "UPDATE F5Dat SET STEUERSCHL=17 WHERE STEUERSCHL=1170",
      "UPDATE F5Dat SET STEUERSCHL=7 WHERE STEUERSCHL=1070", "UPDATE F5Dat SET STEUERSCHL=16 WHERE STEUERSCHL=1160"}},
    {"PASS", "AutoDatSichDeaktiv", {"UPDATE PASS SET AutoDatSichDeaktiv='N'"}},
    {"GuVKennzD", "EA", {"UPDATE GuVKennzD SET EA='E' WHERE Kennz='A'", "UPDATE GuVKennzD SET EA='A' WHERE Kennz='B'"}},
    {"W_Vorl",
     "DatumBis",
     {"UPDATE W_Vorl SET DatumVon=DATEADD(dd, DATEDIFF(dd,0,Datum), 0) + "
      "CAST(CAST(DATEPART(hh, UhrZeit) AS VarChar)+':'+Right('0'+CAST(DATEPART(mi, UhrZeit) AS "
      "VarChar),2) AS DateTime)",
      "UPDATE W_Vorl SET DatumBis=DatumVon+0.03"}},
    {"mandstam", "FibuKost", {"UPDATE mandstam SET FibuKost='N'"}},
};

class MarkerTest : public StageOneTest, public testing::WithParamInterface<Marker> {
 protected:
  // Everything exists except the marker column (and, when asked, one more).
  void all_present_but(std::string_view table, std::string_view column) {
    catalogue.present = [table = std::string(table), column = std::string(column)](const std::string& q) {
      return !is_column_probe(q, table, column);
    };
  }
  std::vector<std::string> fills_sent() const {
    std::vector<std::string> out;
    for (const auto& fill : GetParam().fills)
      if (sent(fill)) out.push_back(fill);
    return out;
  }
};

TEST_P(MarkerTest, FillsRunInTheRunThatAddsTheMarkerInTheirOrder) {
  all_present_but(GetParam().table, GetParam().column);
  run_stage_one();
  EXPECT_EQ(fills_sent(), GetParam().fills);
  int previous = -1;
  for (const auto& fill : GetParam().fills) {
    EXPECT_GT(index_of(fill), previous) << fill;
    previous = index_of(fill);
  }
  EXPECT_EQ(progress.counter(), 60);
}

TEST_P(MarkerTest, FillsDoNotRunWhenTheMarkerExists) {
  catalogue.present = [](const std::string&) { return true; };
  run_stage_one();
  EXPECT_THAT(fills_sent(), IsEmpty());
}

INSTANTIATE_TEST_SUITE_P(StageOne, MarkerTest, testing::ValuesIn(kMarkers),
                         [](const auto& info) { return std::string(info.param.column); });

TEST_F(StageOneTest, KeyConversionHangsOnKlasseNotOnLfdNr) {
  // Klasse exists, LfdNr does not: the conversion is not started.
  catalogue.present = [](const std::string& q) { return !is_column_probe(q, "F5DAT", "LfdNr"); };
  run_stage_one();
  EXPECT_FALSE(sent("ALTER TABLE dbo.F5DAT ADD LfdNr  INT IDENTITY (1,1) NOT NULL"));
  EXPECT_FALSE(sent("Alter Table F5DAT Drop Constraint PK_F5DAT"));
}

TEST_F(StageOneTest, KeyConversionAddsLfdNrBeforeTheNewKeyAndRenumbersAfterIt) {
  run_stage_one();
  int lfdnr = index_of("ALTER TABLE dbo.F5DAT ADD LfdNr  INT IDENTITY (1,1) NOT NULL");
  int drop = index_of("Alter Table F5DAT Drop Constraint PK_F5DAT");
  int first_update = index_of("UPDATE F5Dat SET STEUERSCHL=19 WHERE STEUERSCHL=1190");
  int accounts = index_of("UPDATE F5Kont SET STSCHL=19 WHERE STSCHL=1190");
  ASSERT_GE(lfdnr, 0);
  EXPECT_LT(lfdnr, drop);
  EXPECT_LT(drop, first_update);
  EXPECT_LT(first_update, accounts);
}

TEST_F(StageOneTest, WVorlFillsHangOnDatumBisOnly) {
  // DatumVon is missing but DatumBis exists: the flag after DatumBis is false.
  catalogue.present = [](const std::string& q) { return !is_column_probe(q, "W_Vorl", "DatumVon"); };
  run_stage_one();
  EXPECT_TRUE(sent("ALTER TABLE dbo.W_Vorl ADD DatumVon  datetime  NULL"));
  EXPECT_FALSE(sent("UPDATE W_Vorl SET DatumBis=DatumVon+0.03"));
}

// The run ends, and the marker column goes back with the conversion, so that
// the next run converts again.
TEST_F(StageOneTest, FailedKeyConversionEndsTheRunAndTakesTheMarkerBack) {
  catalogue.refusals["Drop Constraint PK_F5DAT"] = "'PK_F5DAT' is not a constraint.";
  EXPECT_THROW(run_stage_one(), db::DbError);
  ASSERT_GE(transcript.size(), 2u);
  EXPECT_EQ(transcript[transcript.size() - 2].text, "Alter Table F5DAT Drop Constraint PK_F5DAT");
  EXPECT_EQ(transcript.back().text, "ROLLBACK TRANSACTION");
  EXPECT_EQ(progress.counter(), 15);
}

TEST_F(StageOneTest, MissingKontaktEndsTheRunAtTheWidening) {
  catalogue.present = [](const std::string&) { return true; };
  catalogue.refusals["dbo.Kontakt"] = "Cannot find the object \"dbo.Kontakt\".";
  try {
    run_stage_one();
    FAIL() << "the widening must end the run";
  } catch (const db::DbError& e) {
    EXPECT_STREQ(e.what(), "Cannot find the object \"dbo.Kontakt\".");
  }
  EXPECT_EQ(transcript.back().text, "ALTER TABLE dbo.Kontakt ALTER COLUMN WordFile varchar(240) Null");
  EXPECT_EQ(progress.counter(), 60);
}

TEST_F(StageOneTest, FailedTakeOverOfFunctionsIsReportedAndTheStageGoesOn) {
  catalogue.refusals["SELECT AdrNr, Funktion, 1 FROM Adresse"] = "Invalid column name 'Funktion'.";
  run_stage_one();
  ASSERT_EQ(feedback.reports.size(), 1u);
  EXPECT_EQ(feedback.reports[0].kind, db::Report::Warning);
  EXPECT_EQ(feedback.reports[0].text, "Invalid column name 'Funktion'.");
  EXPECT_EQ(progress.counter(), 60);
}

TEST_F(StageOneTest, AreaCodesAreClearedOnlyAfterASuccessfulMerge) {
  run_stage_one();
  int merge = index_of("UPDATE Adresse SET Telefon1=ISNULL(Vorwahl,'')+ + ISNULL(Telefon1,'')");
  EXPECT_EQ(index_of("UPDATE Adresse SET Vorwahl=NULL"), merge + 1);
}

TEST_F(StageOneTest, FailedAreaCodeMergeKeepsTheAreaCodesSilently) {
  catalogue.refusals["SET Telefon1="] = "String or binary data would be truncated.";
  run_stage_one();
  EXPECT_FALSE(sent("UPDATE Adresse SET Vorwahl=NULL"));
  EXPECT_THAT(feedback.reports, IsEmpty());
  EXPECT_EQ(progress.counter(), 60);
}

TEST_F(StageOneTest, FederationsAreInsertedOnlyWithTheirTable) {
  catalogue.present = [](const std::string& q) { return q.find("'tblLSB'") != std::string::npos; };
  run_stage_one();
  for (const auto& text : texts()) EXPECT_EQ(text.find("INSERT INTO tblLSB"), std::string::npos);
}

TEST_F(StageOneTest, FederationsKeepTheirUmlautsAndTheEnDash) {
  run_stage_one();
  EXPECT_TRUE(
      sent("INSERT INTO tblLSB (Kennung, Bezeichnung)\r\nVALUES\r\n"
           "('LSB \xE2\x80\x93 Saarland', 'Landessportverband f\xC3\xBCr das Saarland')\r\n"));
  int inserts = 0;
  for (const auto& text : texts()) inserts += text.starts_with("INSERT INTO tblLSB");
  EXPECT_EQ(inserts, 18);
}

}  // namespace
}  // namespace stage1_testing
