// Stage II, second block: the tables of transfers, bank-statement lines,
// transfer templates, the club's bank accounts (filled once from the club
// master record) and booking texts; bank columns of the debits, the leading
// zero setting, the direct-debit flag of statement lines and the waiver flags
// of the bookkeeping.
#include <optional>
#include <string>

#include "club_bank_slots.h"
#include "db/sql_text.h"
#include "steps/schema_steps.h"
#include "upgrade/stages.h"

namespace upgrade {
namespace {

using steps::ColumnAddition;
using steps::kNoStep;
using steps::Lines;

// Transfers: the ordering party's account (Auft_), the payee's account and
// two remittance lines; Erl, BenutzerErl and DatumErl record completion.
const Lines kMgUeberw[] = {
    {"CREATE TABLE dbo.MgUeberw (",
     "LfdNr [int] IDENTITY(1,1) NOT NULL,",
     "Datum datetime NULL,",
     "Auft_BLZ varchar(40) NULL,",
     "Auft_Bank varchar(120) NULL,",
     "Auft_KontoNr varchar(40) NULL,",
     "Auftraggeber varchar(120) NULL,",
     "AdrNr integer NULL,",
     "Auswahl char(1) NULL,",
     "Erl char(1) NULL,",
     "Vorgangsart varchar(80) NULL,",
     "Empfaenger varchar(120) NULL,",
     "BLZ varchar(40) NULL,",
     "Bankname varchar(120) NULL,",
     "Kontonummer varchar(40) NULL,",
     "WZ1 varchar(40) NULL,",
     "WZ2 varchar(40) NULL,",
     "Betrag float NULL,",
     "Fibukonto int NULL,",
     "AusfArt char(1) NULL,",
     "Benutzer varchar(40) NULL,",
     "BenutzerErl varchar(40) NULL,",
     "DatumErl datetime NULL)"},
    {"ALTER TABLE [dbo].[MgUeberw]  ADD", "CONSTRAINT [PK_MgUeberw] PRIMARY KEY CLUSTERED", "([LfdNr]) ON [PRIMARY]"},
};

// Bank-statement lines.
const Lines kMgKontoUms[] = {
    {"CREATE TABLE dbo.MgKontoUms (", "LfdNr [int] IDENTITY(1,1) NOT NULL,", "Status VARCHAR (50) NULL,",
     "Datum DateTime NULL,", "Werstellung varchar(120) NULL,", "Empfanger varchar(120) NULL,", "WZ1 varchar(120) NULL,",
     "Soll numeric (18,8) NULL,", "Haben numeric (18,8) NULL,", "Auswahl char(1) NULL,", "Erl char(1) NULL,",
     "Fibukonto int NULL,", "Benutzer varchar(40) NULL,", "BenutzerErl varchar(40) NULL,", "DatumErl datetime NULL)"},
    {"ALTER TABLE [dbo].[MgKontoUms]  ADD", "CONSTRAINT [PK_MgKontoUms] PRIMARY KEY CLUSTERED",
     "([LfdNr]) ON [PRIMARY]"},
};

// Transfer templates.
const Lines kMgUeberwVorl[] = {
    {"CREATE TABLE dbo.MgUeberwVorl (", "LfdNr [int] IDENTITY(1,1) NOT NULL,", "Bezeichnung varchar (120) NULL,",
     "Auftraggeber varchar (120) NULL,", "AdrNr integer NULL,", "Vorgangsart varchar (80) NULL,",
     "Empfaenger varchar (120) NULL,", "BLZ varchar (40) NULL,", "Bankname varchar (120) NULL,",
     "Kontonummer varchar (40) NULL,", "WZ1 varchar (40) NULL,", "WZ2 varchar (40) NULL,", "Betrag float NULL,",
     "Fibukonto int NULL,", "AusfArt char (1) NULL)"},
    {"ALTER TABLE [dbo].[MgUeberwVorl]  ADD", "CONSTRAINT [PK_MgUeberwVorl] PRIMARY KEY CLUSTERED",
     "([LfdNr]) ON [PRIMARY]"},
};

constexpr ColumnAddition kStatementLineColumns[] = {
    {kNoStep, "MgKontoUms", "KoSt", "int", "", "Null"},
    {kNoStep, "MgKontoUms", "AdrNr", "int", "", "Null"},
    {kNoStep, "MgKontoUms", "WZ2", "varchar", "(120)", "Null"},
    {kNoStep, "MgKontoUms", "ID", "varchar", "(40)", "Null"},
    {kNoStep, "MgKontoUms", "OnlineBlz", "varchar", "(40)", "Null"},
    {kNoStep, "MgKontoUms", "OnlineKonto", "varchar", "(40)", "Null"},
};

// The club's own bank accounts.
const Lines kMandKonten[] = {
    {"CREATE TABLE dbo.MandKonten (", "LfdNr [int] IDENTITY(1,1) NOT NULL,", "Bank varchar (80) NOT NULL,",
     "Konto varchar (15) NOT NULL,", "BLZ varchar (10) NOT NULL,", "FibuKonto int NULL)"},
    {"ALTER TABLE [dbo].[MandKonten]  ADD", "CONSTRAINT [PK_MandKonten] PRIMARY KEY CLUSTERED",
     "([LfdNr]) ON [PRIMARY]"},
};

constexpr ColumnAddition kDebitBankColumns[] = {
    {kNoStep, "MgLast", "Bankkonto", "varchar", "(30)", "Null"},
    {kNoStep, "MgLast", "BankBLZ", "varchar", "(30)", "Null"},
    {kNoStep, "MgLast", "BankFibuKonto", "int", "", "Null"},
};

const Lines kMgBuText[] = {
    {"CREATE TABLE dbo.MgBuText (", "Buchungstext [varchar] (120) NOT NULL,", "KontoNr INT NULL,", "KoSt INT NULL)"},
    {"ALTER TABLE [dbo].[MgBuText]  ADD", "CONSTRAINT [PK_MgBuText] PRIMARY KEY CLUSTERED",
     "([Buchungstext]) ON [PRIMARY]"},
};

// The row of one slot. Names and numbers are quoted, so that a bank called
// O'Neill is stored rather than refused. The ledger account goes in as read:
// it comes from an int column.
Lines mand_konten_row(const stage2::BankSlot& slot, const std::string& ledger_account) {
  bool has_ledger = !db::trimmed(ledger_account).empty();
  return {"INSERT INTO MandKonten (Bank, Konto, BLZ",
          has_ledger ? ",FibuKonto)" : ")",
          "VALUES",
          "(" + db::quoted(slot.bank) + ",",
          db::quoted(slot.account) + ",",
          db::quoted(slot.bank_code),
          has_ledger ? "," + ledger_account + ")" : ")"};
}

// A new MandKonten starts with the accounts the club master record holds;
// from then on the application keeps it.
void create_club_accounts(Tenant& t) {
  steps::create_if_missing(t, "MandKonten", kMandKonten, db::Guard::warning(), [&] {
    db::Rowset mandstam = t.read("SELECT * FROM Mandstam");
    for (int i = 1; i <= 3; ++i) {
      std::optional<stage2::BankSlot> slot = stage2::bank_slot(mandstam, i);
      if (!slot) continue;
      t.lines(mand_konten_row(*slot, mandstam.text(0, "Fibukonto" + std::to_string(i))), db::Guard::warning());
    }
  });
}

// Account 3220 is the donation account of the standard chart.
void add_leading_zero_setting(Tenant& t) {
  t.atomically([&] {
    t.sql.AddField("Mandstam", "BankKontoFuerendeNull", "char", "(1)", "Null");
    if (!t.sql.added()) return;
    t.exec("UPDATE Mandstam SET BankKontoFuerendeNull='N'", db::Guard::unguarded());
    t.exec("UPDATE F5kont SET Spende='J' WHERE KONTONR=3220", db::Guard::unguarded());
  });
}

void add_waiver_flags(Tenant& t) {
  t.atomically([&] {
    t.sql.AddField("F5BW4SGA", "Verzicht", "char", "(1)", "NULL");
    if (t.sql.added()) t.exec("UPDATE F5BW4SGA SET Verzicht='N'", db::Guard::unguarded());
  });
  t.atomically([&] {
    t.sql.AddField("F5BEW4SG", "Verzicht", "char", "(1)", "NULL");
    if (t.sql.added()) t.exec("UPDATE F5BEW4SG SET Verzicht='N'", db::Guard::unguarded());
  });
  t.sql.AddField("F5Sicht", "Verzicht_G", "char", "(1)", "NULL");
}

}  // namespace

void transfer_statement_and_bank_account_tables(Tenant& t) {
  steps::create_if_missing(t, "MgUeberw", kMgUeberw);
  t.step();
  t.sql.AddField("MgUeberw", "Vorlage", "char", "(1)", "Null");
  steps::create_if_missing(t, "MgKontoUms", kMgKontoUms);
  t.step();
  steps::create_if_missing(t, "MgUeberwVorl", kMgUeberwVorl);
  t.step();
  steps::add_columns(t, kStatementLineColumns);
  create_club_accounts(t);
  t.step();
  steps::add_columns(t, kDebitBankColumns);
  steps::create_if_missing(t, "MgBuText", kMgBuText);
  t.step();
  add_leading_zero_setting(t);
  t.sql.AddField("MgKontoUms", "Lastschrift", "char", "(1)", "Null");
  t.step();
  add_waiver_flags(t);
  t.step();
}

}  // namespace upgrade
