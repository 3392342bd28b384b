// The SEPA mandates on a scripted work connection: which selected members
// get a mandate, the values of the row written, what a failure does, and the
// end of stage II around the mandate creation.
#include <gmock/gmock.h>

#include <ctime>

#include "platform/local_time.h"
#include "stage1_fixture.h"
#include "upgrade/stages.h"

namespace stage1_testing {
namespace {

using testing::ElementsAre;
using testing::IsEmpty;

const std::string kSelection =
    "SELECT A.AdrNr, A.MITGLNR, A.mandatsrefenz,1,A.IBAN1, A.BIC1 FROM Adresse AS A WHERE "
    "A.Austritt IS NULL AND A.Zahlungsart='L'            \r\n"
    "AND ISNULL(AbwKtoInhCB,'')<>'J'  AND ISNULL(A.mandatsrefenz,'')<>'' \r\n"
    "AND A.AdrNr NOT IN (SELECT DISTINCT H.AdrNr FROM AdrSepa AS H WHERE H.AdrNr=A.AdrNr)";

const std::string kInsert =
    "INSERT INTO AdrSepa (AdrNr, MandatsNr, MandKey, Lastschriftart, Typ, Status, AngelegtAm, "
    "UnterschriftDatum, GueltigAb) VALUES (@AdrNr, @MandatsNr, @MandKey, @Lastschriftart, @Typ, "
    "@Status, @AngelegtAm, @UnterschriftDatum, @GueltigAb)";

using Row = std::vector<std::optional<std::string>>;

db::Rowset members(std::vector<Row> rows) {
  db::Rowset r;
  r.columns = {"AdrNr", "MITGLNR", "mandatsrefenz", "", "IBAN1", "BIC1"};
  r.rows = std::move(rows);
  return r;
}

db::Rowset one_value(const char* column, const char* value) {
  db::Rowset r;
  r.columns = {column};
  r.rows.push_back({std::string(value)});
  return r;
}

std::string mandate_check(int adr_nr) { return "SELECT * FROM AdrSepa \r\nWHERE AdrNr=" + std::to_string(adr_nr); }
std::string count_query(int adr_nr) {
  return "SELECT COUNT(*)+1 AS MaxBr FROM AdrSepa WHERE AdrNr=" + std::to_string(adr_nr);
}

std::tm local_today() { return platform::local_time(std::time(nullptr)); }

bool is_day(const db::Parameter& p, const std::tm& day) {
  return p.kind == db::Parameter::Kind::Date && p.year == day.tm_year + 1900 && p.month == day.tm_mon + 1 &&
         p.day == day.tm_mday;
}

class MandateCreationTest : public StageOneTest {
 protected:
  std::vector<db::StatementRecord> inserts() const {
    std::vector<db::StatementRecord> out;
    for (const auto& r : transcript)
      if (r.text.rfind("INSERT INTO AdrSepa", 0) == 0) out.push_back(r);
    return out;
  }
  static const db::Parameter* param(const db::StatementRecord& r, std::string_view name) {
    for (const auto& p : r.params)
      if (p.name == name) return &p;
    return nullptr;
  }
  static std::string text_of(const db::StatementRecord& r, std::string_view name) {
    const db::Parameter* p = param(r, name);
    EXPECT_TRUE(p && p->kind == db::Parameter::Kind::Text) << name;
    return p ? p->text : std::string();
  }
};

TEST_F(MandateCreationTest, OnlySelectedMembersWithoutMandateGetOneRow) {
  catalogue.rows[kSelection] =
      members({{"5", "B-1", "5B-1", "1", "DE02", "X"}, {"7", " A-3 ", "7 A-3 ", "1", "DE01", "Y"}});
  catalogue.rows[mandate_check(5)] = one_value("AdrNr", "5");  // a mandate exists already
  catalogue.rows[count_query(7)] = one_value("MaxBr", "1");
  std::tm before = local_today();
  upgrade::pMandatErstellen(tenant);
  std::tm after = local_today();

  EXPECT_TRUE(sent(mandate_check(5)));
  EXPECT_FALSE(sent(count_query(5)));
  ASSERT_EQ(inserts().size(), 1u);
  const db::StatementRecord insert = inserts().front();
  EXPECT_EQ(insert.text, kInsert);
  EXPECT_EQ(insert.guard, db::Guard::unguarded());
  EXPECT_LT(index_of(count_query(7)), index_of(kInsert));

  const db::Parameter* adr_nr = param(insert, "AdrNr");
  ASSERT_NE(adr_nr, nullptr);
  EXPECT_EQ(adr_nr->kind, db::Parameter::Kind::Integer);
  EXPECT_EQ(adr_nr->integer, 7);
  // The member's own reference is taken as it stands; only the key is trimmed.
  EXPECT_EQ(text_of(insert, "MandatsNr"), "7 A-3 ");
  EXPECT_EQ(text_of(insert, "MandKey"), "7A-31");
  EXPECT_EQ(text_of(insert, "Lastschriftart"), "Basis");
  EXPECT_EQ(text_of(insert, "Typ"), "W");
  EXPECT_EQ(text_of(insert, "Status"), "Aktiv");
  for (const char* date : {"AngelegtAm", "UnterschriftDatum", "GueltigAb"}) {
    const db::Parameter* p = param(insert, date);
    ASSERT_NE(p, nullptr) << date;
    EXPECT_TRUE(is_day(*p, before) || is_day(*p, after)) << date;
  }
  EXPECT_EQ(insert.params.size(), 9u);
}

TEST_F(MandateCreationTest, KeyAndFallbackNumberFollowTheCountAndAMissingMembershipNumber) {
  // No membership number and no reference; the count answers 2, which the
  // key must take over as the running number.
  catalogue.rows[kSelection] = members({{"12", std::nullopt, std::nullopt, "1", "DE03", "Z"}});
  catalogue.rows[count_query(12)] = one_value("MaxBr", "2");
  upgrade::pMandatErstellen(tenant);

  ASSERT_EQ(inserts().size(), 1u);
  EXPECT_EQ(text_of(inserts().front(), "MandKey"), "122");
  EXPECT_EQ(text_of(inserts().front(), "MandatsNr"), "1221");
}

TEST_F(MandateCreationTest, EmptySelectionWritesNothing) {
  upgrade::pMandatErstellen(tenant);
  EXPECT_THAT(texts(), ElementsAre(kSelection));
}

TEST_F(MandateCreationTest, RefusedCountEndsTheRunBeforeAnyRowIsWritten) {
  catalogue.rows[kSelection] = members({{"7", "A-3", "7A-3", "1", "DE01", "Y"}});
  catalogue.refusals["SELECT COUNT(*)+1"] = "Invalid object name 'AdrSepa'.";
  EXPECT_THROW(upgrade::pMandatErstellen(tenant), db::DbError);
  EXPECT_THAT(inserts(), IsEmpty());
  EXPECT_THAT(feedback.reports, IsEmpty());
}

// The end of stage II, first run on a tenant that lacks everything.
TEST_F(MandateCreationTest, StageTwoEndSurvivesAFailingKeyProbeAndSendsTheHolderFillWithLineFeeds) {
  catalogue.refusals["NAME='FK_AdrFunktion_Adresse'"] = "probe failed";
  progress.start();
  upgrade::sepa_mandate_tables_and_due_dates(tenant);

  const std::string holder_fill =
      "UPDATE MgVert SET\n"
      "StrasseKIH=(SELECT A.Strasse FROM Adresse AS A WHERE A.AdrNr=MgVert.AbwAdrNr),\n"
      "PlzKIH=(SELECT A.PLZ FROM Adresse AS A WHERE A.AdrNr=MgVert.AbwAdrNr),\n"
      "OrtKIH=(SELECT A.Ort FROM Adresse AS A WHERE A.AdrNr=MgVert.AbwAdrNr),\n"
      "EmailKIH=(SELECT A.Telefon3 FROM Adresse AS A WHERE A.AdrNr=MgVert.AbwAdrNr)\n"
      "WHERE AbwAdrNr IS NOT NULL OR AbwAdrNr<>0";
  EXPECT_TRUE(sent(holder_fill));
  // The mandates are created after the references are derived and the
  // SEPA defaults are set, before the print flags.
  int references = index_of("UPDATE Adresse SET mandatsrefenz=CAST(AdrNr as varchar)+CAST(MitglNr as varchar)");
  int lead_time = index_of("UPDATE mandstam SET SEPAFolgeTage=2 WHERE SEPAFolgeTage IS NULL");
  int selection = index_of(kSelection);
  int print_flag = index_of("UPDATE f5bew4sg SET Druck='N'");
  EXPECT_GE(references, 0);
  EXPECT_LT(references, lead_time);
  EXPECT_LT(lead_time, selection);
  EXPECT_LT(selection, print_flag);

  ASSERT_EQ(feedback.reports.size(), 1u);
  EXPECT_EQ(feedback.reports[0].kind, db::Report::Plain);
  EXPECT_EQ(feedback.reports[0].text, "probe failed");
  EXPECT_GT(index_of("ALTER TABLE MgSolln ALTER COLUMN RgNr VARCHAR (10) NULL"), print_flag);
  // No progress step anywhere in the block or in stage III.
  EXPECT_EQ(progress.counter(), 1);
}

}  // namespace
}  // namespace stage1_testing
