// The bank-directory and DSA blocks of stage II on their own: what hangs on
// the marker columns (d_blz.ID, tblDSAExport.Landname, tblDSA7.AdrNr,
// Adresse.DSABeantragt), what runs on every run, and which failures end it.
#include <gmock/gmock.h>

#include "scripts/catalog.h"
#include "stage1_fixture.h"
#include "upgrade/stages.h"

namespace stage1_testing {
namespace {

using testing::ElementsAre;
using testing::IsEmpty;

constexpr const char* kWidenBank = "ALTER TABLE dbo.D_BLZ ALTER COLUMN BANK varchar(255) NULL";
constexpr const char* kWidenOrt = "ALTER TABLE dbo.D_BLZ ALTER COLUMN Ort varchar(255) NULL";
constexpr const char* kAddId = "ALTER TABLE dbo.d_blz ADD ID  integer identity NOT NULL";
constexpr const char* kDirectoryKey =
    "ALTER TABLE [dbo].[D_BLZ] ADD\r\nCONSTRAINT [PK_D_BLZ] PRIMARY KEY CLUSTERED\r\n"
    "([BLZ],[ID]) ON [PRIMARY]\r\n";

const std::vector<std::string> kContractTypeNames = {
    "UPDATE MgVert SET ArtName=A.Bezeichnung FROM MgVert V LEFT JOIN MgArt A ON A.Art=V.Art",
    "ALTER TABLE MgSolln ALTER COLUMN ArtName varchar(120) NULL",
    "UPDATE MgSolln SET ArtName=A.Bezeichnung FROM MgSolln V LEFT JOIN MgArt A ON A.Art=V.Art",
};

class StageTwoBlocksTest : public StageOneTest {
 protected:
  void everything_present() {
    catalogue.present = [](const std::string&) { return true; };
  }
  void all_present_but(std::string table, std::string column) {
    catalogue.present = [=](const std::string& q) { return !is_column_probe(q, table, column); };
  }
  // What was sent or left out, without the catalogue probes.
  std::vector<std::string> statements() const {
    std::vector<std::string> out;
    for (const auto& r : transcript)
      if (r.channel != db::Channel::Probe) out.push_back(r.text);
    return out;
  }
  int count(std::string_view text) const {
    int n = 0;
    for (const auto& r : transcript) n += r.text == text;
    return n;
  }
};

TEST_F(StageTwoBlocksTest, ExistingDirectoryIdOnlyWidensNameAndTown) {
  everything_present();
  upgrade::bank_directory_and_online_banking(tenant);
  EXPECT_THAT(statements(), ElementsAre(kWidenBank, kWidenOrt));
  EXPECT_THAT(feedback.reports, IsEmpty());
}

TEST_F(StageTwoBlocksTest, NewDirectoryIdEmptiesKeysAndSkipsTheEmptyScript) {
  all_present_but("d_blz", "ID");
  upgrade::bank_directory_and_online_banking(tenant);
  ASSERT_TRUE(scripts::find("MemoBLZ1")->text.empty());
  int add = index_of(kAddId);
  ASSERT_GE(add, 1);
  // The new column and the rebuild it marks are one transaction.
  EXPECT_EQ(transcript[add - 1].text, "BEGIN TRANSACTION");
  EXPECT_EQ(index_of("DELETE FROM D_BLZ\r\n"), add + 1);
  EXPECT_EQ(index_of(kWidenBank), add + 2);
  EXPECT_EQ(index_of(kWidenOrt), add + 3);
  EXPECT_EQ(index_of(kDirectoryKey), add + 4);
  const db::StatementRecord& skipped = transcript[add + 5];
  EXPECT_TRUE(skipped.skipped);
  EXPECT_EQ(skipped.channel, db::Channel::Lines);
  EXPECT_EQ(skipped.guard, db::Guard::warning());
  EXPECT_EQ(transcript[add + 6].text, "COMMIT TRANSACTION");
  EXPECT_EQ(transcript[add + 7].text, kWidenBank);
  EXPECT_EQ(transcript[add + 8].text, kWidenOrt);
  EXPECT_EQ(count(kWidenBank), 2);
  EXPECT_THAT(feedback.reports, IsEmpty());
}

TEST_F(StageTwoBlocksTest, MissingBankDirectoryEndsTheRunAtTheWidening) {
  everything_present();
  catalogue.refusals["dbo.D_BLZ"] = "Cannot find the object \"dbo.D_BLZ\".";
  EXPECT_THROW(upgrade::bank_directory_and_online_banking(tenant), db::DbError);
  EXPECT_EQ(transcript.back().text, kWidenBank);
}

TEST_F(StageTwoBlocksTest, FreshDatabaseLoadsTheAssociationsBeforeCleaningTheirNames) {
  upgrade::dsa_export_tables_and_contract_type_names(tenant);
  std::string script(scripts::find("MemoDSAFach")->text);
  int load = index_of(script + "\r\n");
  ASSERT_GE(load, 0);
  EXPECT_EQ(transcript[load].channel, db::Channel::Lines);
  int first_cleanup = index_of("UPDATE DSAFachverband SET Bezeichnung=REPLACE(Bezeichnung,'\r\n',' ')");
  EXPECT_GT(first_cleanup, load);
  EXPECT_EQ(transcript[first_cleanup + 1].text, "UPDATE DSAFachverband SET Bezeichnung=REPLACE(Bezeichnung,'\n',' ')");
  EXPECT_EQ(transcript[first_cleanup + 2].text, "UPDATE DSAFachverband SET Bezeichnung=REPLACE(Bezeichnung,'\r',' ')");
  EXPECT_EQ(transcript[first_cleanup + 3].text, "UPDATE DSAFachverband SET Bezeichnung=REPLACE(Bezeichnung,'  ',' ')");
  EXPECT_TRUE(sent("DELETE FROM tblDSA7"));
  EXPECT_TRUE(sent("UPDATE Adresse SET DSA_SMK='N', DSA_SVK='N', DSABeantragt='N'"));
  const std::vector<std::string> all = statements();
  ASSERT_GE(all.size(), 2u);
  EXPECT_EQ(all[all.size() - 2], "UPDATE Mandstam SET VereinOhneOnlKonten='N'");
  EXPECT_EQ(all.back(), "COMMIT TRANSACTION");
  EXPECT_THAT(feedback.reports, IsEmpty());
}

TEST_F(StageTwoBlocksTest, SecondDsaRunOnlyCopiesContractTypeNames) {
  everything_present();
  upgrade::dsa_export_tables_and_contract_type_names(tenant);
  EXPECT_EQ(statements(), kContractTypeNames);
}

TEST_F(StageTwoBlocksTest, CardFlagsAreSetOnlyInTheRunThatAddsDsaBeantragt) {
  all_present_but("Adresse", "DSA_SMK");
  upgrade::dsa_export_tables_and_contract_type_names(tenant);
  EXPECT_TRUE(sent("ALTER TABLE dbo.Adresse ADD DSA_SMK  char (1) Null"));
  EXPECT_FALSE(sent("UPDATE Adresse SET DSA_SMK='N', DSA_SVK='N', DSABeantragt='N'"));

  transcript.clear();
  all_present_but("Adresse", "DSABeantragt");
  upgrade::dsa_export_tables_and_contract_type_names(tenant);
  EXPECT_TRUE(sent("UPDATE Adresse SET DSA_SMK='N', DSA_SVK='N', DSABeantragt='N'"));
}

TEST_F(StageTwoBlocksTest, MissingContractTypesEndTheRun) {
  everything_present();
  catalogue.refusals["JOIN MgArt"] = "Invalid object name 'MgArt'.";
  EXPECT_THROW(upgrade::dsa_export_tables_and_contract_type_names(tenant), db::DbError);
  EXPECT_EQ(transcript.back().text, kContractTypeNames[0]);
}

}  // namespace
}  // namespace stage1_testing
