// The first three blocks of stage II on a scripted work connection: the
// invoice-line columns and their progress steps, the one-time fills behind
// their marker columns, the take-over of the club's bank accounts from
// Mandstam (trimmed, quoted, incomplete slots skipped), the version marker
// and the dialogs of the help and version block.
#include <gmock/gmock.h>

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "scripts/catalog.h"
#include "stage1_fixture.h"
#include "upgrade/stages.h"

namespace stage1_testing {
namespace {

using testing::IsEmpty;

// A Mandstam of one row holding `values` (column, value; nullopt is NULL).
db::Rowset mandstam_row(const std::vector<std::pair<std::string, std::optional<std::string>>>& values) {
  db::Rowset r;
  r.rows.emplace_back();
  for (const auto& [column, value] : values) {
    r.columns.push_back(column);
    r.rows[0].push_back(value);
  }
  return r;
}

class OpeningBlocksTest : public StageOneTest {
 protected:
  OpeningBlocksTest() { progress.start(); }

  void everything_present() {
    catalogue.present = [](const std::string&) { return true; };
  }
  // Every table and column exists except `table`.`column`.
  void all_present_but(std::string table, std::string column) {
    catalogue.present = [table, column](const std::string& q) { return !is_column_probe(q, table, column); };
  }
  int count_starting(std::string_view prefix) const {
    int n = 0;
    for (const auto& text : texts()) n += text.starts_with(prefix);
    return n;
  }
  const db::StatementRecord* record(std::string_view text) const {
    int i = index_of(text);
    return i < 0 ? nullptr : &transcript[static_cast<size_t>(i)];
  }
  // Index in the log of the progress note for `counter`.
  int progress_note(int counter) const {
    for (size_t i = 0; i < log.size(); ++i)
      if (log[i].note == "[progress] counter " + std::to_string(counter)) return static_cast<int>(i);
    return -1;
  }
};

// --- contact, creditor and invoice-line columns ---------------------------

TEST_F(OpeningBlocksTest, InvoiceLinesGetSixteenColumnsEachAndOneStepAfterTheLast) {
  upgrade::contact_creditor_and_invoice_columns(tenant);
  EXPECT_TRUE(sent("ALTER TABLE dbo.RECHN ADD ArtikelNr_11  varchar (10) Null"));
  EXPECT_TRUE(sent("ALTER TABLE dbo.RECHN ADD Konto11  int  Null"));
  EXPECT_TRUE(sent("ALTER TABLE dbo.RECHN ADD MwSt_Bet_13  numeric (19,8) Null"));
  EXPECT_TRUE(sent("ALTER TABLE dbo.RECHN ADD KoTr15  int  Null"));
  // 80 line columns and the two e-mail columns.
  EXPECT_EQ(count_starting("ALTER TABLE dbo.RECHN ADD "), 82);
  EXPECT_EQ(progress.counter(), 6);
  for (int line = 11; line <= 15; ++line) {
    int note = progress_note(line - 9);
    ASSERT_GT(note, 0);
    EXPECT_EQ(log[static_cast<size_t>(note) - 1].statement->text,
              "ALTER TABLE dbo.RECHN ADD KoTr" + std::to_string(line) + "  int  Null");
  }
}

TEST_F(OpeningBlocksTest, SepaFlagIsFilledOnlyWhenItsColumnIsNew) {
  all_present_but("Adresse", "SEPA_FE");
  upgrade::contact_creditor_and_invoice_columns(tenant);
  ASSERT_TRUE(sent("UPDATE Adresse SET SEPA_FE='N'"));
  EXPECT_EQ(record("UPDATE Adresse SET SEPA_FE='N'")->guard, db::Guard::unguarded());
}

TEST_F(OpeningBlocksTest, SecondRunOfTheOpeningSendsOnlyTheWideningsAndProbes) {
  everything_present();
  upgrade::contact_creditor_and_invoice_columns(tenant);
  std::vector<std::string> changes;
  for (const auto& r : transcript)
    if (r.channel != db::Channel::Probe) changes.push_back(r.text);
  EXPECT_EQ(changes, (std::vector<std::string>{"ALTER TABLE dbo.Adresse ALTER COLUMN Telefon3 varchar(240) Null",
                                               "ALTER TABLE dbo.HyAdresse ALTER COLUMN Telefon3 varchar(240) Null",
                                               "ALTER TABLE dbo.AdresseZukunft ALTER COLUMN Telefon3 varchar(240) Null",
                                               "ALTER TABLE dbo.LogAdr ALTER COLUMN Telefon3 varchar(240) Null"}));
  EXPECT_EQ(progress.counter(), 6);
}

TEST_F(OpeningBlocksTest, MissingAdresseZukunftEndsTheRunButMissingLogAdrDoesNot) {
  catalogue.refusals["dbo.LogAdr"] = "Cannot find the object \"dbo.LogAdr\".";
  EXPECT_NO_THROW(upgrade::contact_creditor_and_invoice_columns(tenant));
  EXPECT_THAT(feedback.reports, IsEmpty());

  catalogue.refusals["dbo.AdresseZukunft"] = "Cannot find the object \"dbo.AdresseZukunft\".";
  transcript.clear();
  EXPECT_THROW(upgrade::contact_creditor_and_invoice_columns(tenant), db::DbError);
  EXPECT_EQ(transcript.back().text, "ALTER TABLE dbo.AdresseZukunft ALTER COLUMN Telefon3 varchar(240) Null");
}

// --- transfer, statement-line and club-account tables ---------------------

const char* const kSlot1Insert =
    "INSERT INTO MandKonten (Bank, Konto, BLZ\r\n,FibuKonto)\r\nVALUES\r\n"
    "('Sparkasse O''Neill',\r\n'0012345678',\r\n'72050000'\r\n,1200)\r\n";
const char* const kSlot3Insert =
    "INSERT INTO MandKonten (Bank, Konto, BLZ\r\n)\r\nVALUES\r\n"
    "('Augusta-Bank eG',\r\n'0001234567',\r\n'72090000'\r\n)\r\n";

db::Rowset three_slots() {
  return mandstam_row({{"MandNr", "1"},
                       {"Bank1", " Sparkasse O'Neill\t"},
                       {"Konto1", "0012345678"},
                       {"BLZ1", "72050000"},
                       {"Fibukonto1", "1200"},
                       {"Bank2", "Kasseler Bank eG"},
                       {"Konto2", "0004455667"},
                       {"BLZ2", "  "},
                       {"Fibukonto2", "1210"},
                       {"Bank3", "  Augusta-Bank eG  "},
                       {"Konto3", "0001234567"},
                       {"BLZ3", "72090000"},
                       {"Fibukonto3", std::nullopt}});
}

TEST_F(OpeningBlocksTest, NewClubAccountsTakeTheCompleteSlotsTrimmedAndQuoted) {
  catalogue.rows["SELECT * FROM Mandstam"] = three_slots();
  upgrade::transfer_statement_and_bank_account_tables(tenant);
  EXPECT_EQ(count_starting("INSERT INTO MandKonten"), 2);
  int first = index_of(kSlot1Insert);
  ASSERT_GE(first, 0);
  EXPECT_EQ(index_of(kSlot3Insert), first + 1);
  EXPECT_EQ(transcript[static_cast<size_t>(first)].guard, db::Guard::warning());
  EXPECT_LT(index_of("ALTER TABLE [dbo].[MandKonten]  ADD\r\nCONSTRAINT [PK_MandKonten] PRIMARY KEY "
                     "CLUSTERED\r\n([LfdNr]) ON [PRIMARY]\r\n"),
            index_of("SELECT * FROM Mandstam"));
}

TEST_F(OpeningBlocksTest, ExistingClubAccountsLeaveMandstamUnread) {
  everything_present();
  catalogue.rows["SELECT * FROM Mandstam"] = three_slots();
  upgrade::transfer_statement_and_bank_account_tables(tenant);
  EXPECT_FALSE(sent("SELECT * FROM Mandstam"));
  EXPECT_EQ(count_starting("INSERT INTO MandKonten"), 0);
}

TEST_F(OpeningBlocksTest, MandstamWithoutRowsLeavesTheNewClubAccountsEmpty) {
  upgrade::transfer_statement_and_bank_account_tables(tenant);
  EXPECT_TRUE(sent("SELECT * FROM Mandstam"));
  EXPECT_EQ(count_starting("INSERT INTO MandKonten"), 0);
}

TEST_F(OpeningBlocksTest, TransferBlockMakesSevenStepsAndFillsOnlyNewFlags) {
  everything_present();
  upgrade::transfer_statement_and_bank_account_tables(tenant);
  EXPECT_EQ(progress.counter(), 8);
  EXPECT_EQ(count_starting("UPDATE "), 0);

  all_present_but("F5BEW4SG", "Verzicht");
  transcript.clear();
  upgrade::transfer_statement_and_bank_account_tables(tenant);
  std::vector<std::string> updates;
  for (const auto& text : texts())
    if (text.starts_with("UPDATE ")) updates.push_back(text);
  EXPECT_EQ(updates, std::vector<std::string>{"UPDATE F5BEW4SG SET Verzicht='N'"});
}

// --- help catalogue, version marker, SEPA log, online accounts -----------

TEST_F(OpeningBlocksTest, EmptyVersionTableGetsTheVersionInserted) {
  everything_present();
  catalogue.rows["SELECT * FROM tblVersion"] = db::Rowset{};
  upgrade::help_version_sepa_log_and_online_accounts(tenant);
  EXPECT_TRUE(sent("INSERT INTO tblVersion (Version) VALUES('10')\r\n"));
  EXPECT_FALSE(sent("UPDATE tblVersion SET Version='10'\r\n"));
}

TEST_F(OpeningBlocksTest, VersionRowsAreUpdatedWhateverTheirNumber) {
  everything_present();
  db::Rowset two;
  two.columns = {"Version"};
  two.rows = {{std::string("9")}, {std::string("9")}};
  catalogue.rows["SELECT * FROM tblVersion"] = two;
  upgrade::help_version_sepa_log_and_online_accounts(tenant);
  ASSERT_TRUE(sent("UPDATE tblVersion SET Version='10'\r\n"));
  EXPECT_EQ(record("UPDATE tblVersion SET Version='10'\r\n")->guard, db::Guard::error());
  EXPECT_EQ(count_starting("INSERT INTO tblVersion"), 0);
}

TEST_F(OpeningBlocksTest, ClubAccountsAreRebuiltWhenTheirBicColumnIsNew) {
  all_present_but("MandKonten", "BIC");
  catalogue.rows["SELECT * FROM Mandstam"] = mandstam_row({{"Bank1", "Sparkasse O'Neill"},
                                                           {"Konto1", "0012345678"},
                                                           {"BLZ1", "72050000"},
                                                           {"Fibukonto1", "1200"},
                                                           {"Online1", ""},
                                                           {"IBAN1", " DE02120300000000202051 "},
                                                           {"BIC1", std::nullopt},
                                                           {"Bank2", "Kasseler Bank eG"},
                                                           {"Konto2", ""},
                                                           {"BLZ2", "52050353"}});
  upgrade::help_version_sepa_log_and_online_accounts(tenant);
  int remove = index_of("DELETE FROM MandKonten\r\n");
  ASSERT_GT(remove, index_of("SELECT * FROM Mandstam"));
  EXPECT_EQ(transcript[static_cast<size_t>(remove)].guard, db::Guard::warning());
  EXPECT_EQ(count_starting("INSERT INTO MandKonten"), 1);
  EXPECT_EQ(index_of("INSERT INTO MandKonten (Bank, Konto, BLZ, Online, IBAN, BIC, FibuKonto)\r\n"
                     "VALUES (\r\n'Sparkasse O''Neill',\r\n'0012345678',\r\n'72050000',\r\n'N',\r\n"
                     "'DE02120300000000202051',\r\nNULL,\r\n'1200')\r\n"),
            remove + 1);
}

TEST_F(OpeningBlocksTest, ExistingBicColumnLeavesTheClubAccountsAlone) {
  everything_present();
  upgrade::help_version_sepa_log_and_online_accounts(tenant);
  EXPECT_FALSE(sent("SELECT * FROM Mandstam"));
  EXPECT_FALSE(sent("DELETE FROM MandKonten\r\n"));
}

TEST_F(OpeningBlocksTest, HelpBlockSendsEverythingThroughTheLineQueryWithErrorDialogs) {
  upgrade::help_version_sepa_log_and_online_accounts(tenant);
  std::string help = std::string(scripts::find("memoHelp")->text) + "\r\n";
  ASSERT_TRUE(sent(help));
  EXPECT_EQ(record(help)->guard, db::Guard::warning());
  EXPECT_TRUE(
      sent("ALTER TABLE SEPA_ProtokolS ADD CONSTRAINT [PK_SEPA_UberProtS] PRIMARY KEY CLUSTERED "
           "(ID,LfdNr) ON [PRIMARY]\r\n"));
  for (const auto& r : transcript) {
    if (r.channel == db::Channel::Probe) continue;
    if (r.text == "BEGIN TRANSACTION" || r.text == "COMMIT TRANSACTION") continue;
    if (r.channel == db::Channel::Single) {
      EXPECT_TRUE(r.text.starts_with("ALTER TABLE dbo.") && r.guard == db::Guard::silent()) << r.text;
      continue;
    }
    bool warns = r.text == help || r.text.find("MandKonten") != std::string::npos;
    EXPECT_EQ(r.guard, warns ? db::Guard::warning() : db::Guard::error()) << r.text;
  }
  EXPECT_EQ(progress.counter(), 1);
}

TEST_F(OpeningBlocksTest, HelpGroupsAreRewrittenOnEveryRunWithErrorDialogs) {
  everything_present();
  catalogue.refusals["[dbo].[tblHelpGruppe]"] = "Invalid object name 'tblHelpGruppe'.";
  upgrade::help_version_sepa_log_and_online_accounts(tenant);
  ASSERT_EQ(feedback.reports.size(), 4u);
  for (const auto& shown : feedback.reports) EXPECT_EQ(shown.kind, db::Report::Error);
}

}  // namespace
}  // namespace stage1_testing
