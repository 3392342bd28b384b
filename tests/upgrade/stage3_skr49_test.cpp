// The SKR 49 result categories and chart block of stage III on a scripted
// backend: when the categories are reloaded, what a missing detail table and
// the repeated detail keys leave in the transcript, and which flag column
// gates which reload.
#include <gmock/gmock.h>

#include "stage1_fixture.h"
#include "upgrade/stages.h"

namespace stage1_testing {
namespace {

using testing::IsEmpty;

constexpr const char* kDeleteCategories = "DELETE FROM  dbo.GuVKennz49";
constexpr const char* kIdeeller = "SELECT * FROM GuVKennz49 WHERE Bezeichnung='Ideeller Bereich'";

class Skr49Test : public StageOneTest {
 protected:
  int count_starting(std::string_view prefix, bool skipped = false) const {
    int n = 0;
    for (const auto& r : transcript) n += r.text.starts_with(prefix) && r.skipped == skipped;
    return n;
  }
  const db::StatementRecord* first_skip() const {
    for (const auto& r : transcript)
      if (r.skipped) return &r;
    return nullptr;
  }
  // Everything exists except the queries for which `missing` holds.
  void all_present_but(std::function<bool(const std::string&)> missing) {
    catalogue.present = [missing](const std::string& q) { return !missing(q); };
  }
};

TEST_F(Skr49Test, BothMarkersPresentKeepTheCategoriesAndOnlyCorrectNames) {
  catalogue.present = [](const std::string&) { return true; };
  upgrade::skr49_result_categories(tenant);
  EXPECT_FALSE(tenant.reload);
  EXPECT_FALSE(sent(kDeleteCategories));
  EXPECT_EQ(count_starting("INSERT INTO GuVKennz49"), 0);
  EXPECT_EQ(count_starting("UPDATE GuVKennz49 SET Bezeichnung=\r\n"), 2);
  EXPECT_THAT(feedback.reports, IsEmpty());
}

TEST_F(Skr49Test, OneMissingMarkerReloadsTheWholeSet) {
  all_present_but([](const std::string& q) { return q == kIdeeller; });
  upgrade::skr49_result_categories(tenant);
  EXPECT_TRUE(tenant.reload);
  EXPECT_TRUE(sent(kDeleteCategories));
  EXPECT_TRUE(sent("DELETE FROM  dbo.GuVKennz49D"));
  EXPECT_EQ(count_starting("INSERT INTO GuVKennz49 ("), 24);
  EXPECT_EQ(count_starting("INSERT INTO GuVKennz49D ("), 68);
  EXPECT_TRUE(
      sent("INSERT INTO GuVKennz49 (RimNr, Kennz, Bezeichnung)\r\n"
           "VALUES ('II','A','Ideeller Bereich')\r\n"));
  EXPECT_TRUE(
      sent("INSERT INTO GuVKennz49D (RimNr, Kennz, Nr, Bezeichnung, EA)\r\n"
           "VALUES ('VII','A',19,'Sonstige Zinsen und \xC3\xA4hnliche Einnahmen','E')\r\n"));
}

TEST_F(Skr49Test, FirstRunSkipsTheMissingDetailTableAndTheRepeatedKeysQuietly) {
  // A database before its first upgrade: neither table, no rows.
  upgrade::skr49_result_categories(tenant);
  const db::StatementRecord* skip = first_skip();
  ASSERT_NE(skip, nullptr);
  EXPECT_EQ(skip->text, "DELETE FROM  dbo.GuVKennz49D: the table does not exist yet");
  EXPECT_FALSE(sent("DELETE FROM  dbo.GuVKennz49D"));
  EXPECT_EQ(count_starting("INSERT INTO GuVKennz49D (", true), 2);
  // The first line of a key stays.
  EXPECT_TRUE(
      sent("INSERT INTO GuVKennz49D (RimNr, Kennz, Nr, Bezeichnung, EA)\r\n"
           "VALUES ('II','B',1,'Schenkungen','E')\r\n"));
  EXPECT_FALSE(
      sent("INSERT INTO GuVKennz49D (RimNr, Kennz, Nr, Bezeichnung, EA)\r\n"
           "VALUES ('II','B',1,'Steuerneutrale Einnahmen','E')\r\n"));
  // The detail table is created before its lines go in.
  int create = -1;
  for (size_t i = 0; i < transcript.size(); ++i)
    if (create < 0 && transcript[i].text.starts_with("CREATE TABLE dbo.GuVKennz49D (")) create = int(i);
  ASSERT_GE(create, 0);
  EXPECT_LT(create, index_of("INSERT INTO GuVKennz49D (RimNr, Kennz, Nr, Bezeichnung, EA)\r\n"
                             "VALUES ('II','B',1,'Schenkungen','E')\r\n"));
  EXPECT_THAT(feedback.reports, IsEmpty());
}

TEST_F(Skr49Test, SectionOneIsLeftAloneWhenItsFirstRowExists) {
  catalogue.present = [](const std::string& q) {
    return q == "SELECT * FROM GuVKennz49 WHERE RimNr='I' and Kennz='A'" ||
           q.starts_with("SELECT * FROM Information_Schema.Columns") || q.starts_with("SELECT * FROM sysobjects");
  };
  upgrade::skr49_chart_and_reference_reloads(tenant);
  EXPECT_EQ(count_starting("INSERT INTO GuVKennz49"), 0);
  EXPECT_EQ(count_starting("DELETE FROM"), 0);
}

TEST_F(Skr49Test, ExistingFlagColumnsReloadNothingButTheSportsKeyIsRebuilt) {
  catalogue.present = [](const std::string&) { return true; };
  upgrade::skr49_chart_and_reference_reloads(tenant);
  EXPECT_EQ(count_starting("DELETE FROM"), 0);
  int separate = 0;
  for (const auto& r : transcript) separate += r.channel == db::Channel::Separate;
  EXPECT_EQ(separate, 1);  // the padding of the sports numbers, no script
  int widen = index_of("ALTER TABLE VerbSportArt ALTER COLUMN NUMMER varchar (20) NOT NULL");
  ASSERT_GE(widen, 0);
  EXPECT_EQ(transcript[widen].guard, db::Guard::unguarded());
  EXPECT_EQ(transcript[widen - 1].text, "ALTER TABLE dbo.VerbSportArt\r\n DROP CONSTRAINT PK_VerbSportArt\r\n");
}

TEST_F(Skr49Test, MissingDsaFlagReloadsSportNumbersBeforeTheyArePadded) {
  all_present_but([](const std::string& q) { return is_column_probe(q, "PASSDB", "DSA"); });
  upgrade::skr49_chart_and_reference_reloads(tenant);
  int deletion = index_of("DELETE FROM VerbSportArt\r\n");
  int pad = index_of("update VerbSportArt set Nummer='0'+Nummer\r\nwhere 1=1\r\nand LEN(Nummer)<4\r\n");
  ASSERT_GE(deletion, 0);
  ASSERT_GE(pad, 0);
  EXPECT_EQ(transcript[deletion + 1].channel, db::Channel::Separate);  // cmdVerbSportArt
  EXPECT_TRUE(sent("DELETE FROM DSAFachverband\r\n"));
  EXPECT_LT(deletion, pad);
  EXPECT_EQ(transcript[pad].channel, db::Channel::Separate);
  EXPECT_EQ(transcript[pad].guard, db::Guard::unguarded());
  EXPECT_FALSE(sent("DELETE FROM F5SKR49\r\n"));
}

TEST_F(Skr49Test, OnlyTheLastFlagOfAGroupGatesItsReload) {
  // DOSB1 and GuV49 are missing, the flags after them exist.
  all_present_but([](const std::string& q) {
    return is_column_probe(q, "PASSDB", "DOSB1") || is_column_probe(q, "Einst", "GuV49");
  });
  upgrade::skr49_chart_and_reference_reloads(tenant);
  EXPECT_EQ(count_starting("DELETE FROM"), 0);
}

TEST_F(Skr49Test, MissingDosb4ReplacesAllFederationsAndTheBankCodesInOrder) {
  // LfdNr is missing too, as it is after each of its drops.
  all_present_but([](const std::string& q) {
    return is_column_probe(q, "PASSDB", "DOSB4") || is_column_probe(q, "fachverbaende", "LfdNr");
  });
  upgrade::skr49_chart_and_reference_reloads(tenant);
  const std::vector<std::string> order = {
      "DELETE FROM fachverbaende\r\n",
      "ALTER TABLE dbo.fachverbaende DROP COLUMN LfdNr",
      "ALTER TABLE dbo.fachverbaende ADD LfdNr  INT  NOT NULL",
      "ALTER TABLE dbo.fachverbaende ADD LfdNr  INT IDENTITY (1,1) NOT NULL",
      "ALTER TABLE [dbo].[fachverbaende] ADD CONSTRAINT [PK_fachverbaende] PRIMARY KEY CLUSTERED ([KZ],[NUMMER],[LfdNr]) ON [PRIMARY]",
      "DELETE FROM D_blz\r\n",
  };
  int previous = -1;
  for (const auto& text : order) {
    EXPECT_GT(index_of(text), previous) << text;
    previous = index_of(text);
  }
  EXPECT_EQ(count_starting("DELETE FROM fachverbaende where"), 0);
  int scripts = 0;
  for (const auto& r : transcript) scripts += r.channel == db::Channel::Separate;
  EXPECT_EQ(scripts, 1 + 3 + 1);  // federations, three bank-code parts, the padding
}

}  // namespace
}  // namespace stage1_testing
