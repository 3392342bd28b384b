// Stage II, first block: the wider contact column of the address tables, the
// SEPA columns of members and club, the e-mail dispatch columns and invoice
// lines 11 to 15 of RECHN, the contribution-assistant log, the journal work
// table, the remittance lines of the club and two invoice references.
#include <string>

#include "steps/schema_steps.h"
#include "upgrade/stages.h"

namespace upgrade {
namespace {

using steps::ColumnAddition;
using steps::kNoStep;
using steps::Lines;

// Telefon3 holds e-mail addresses too, which outgrew the old width.
// AdresseZukunft is unguarded: the application cannot work without it, so a
// database lacking it must not be upgraded further.
void widen_contact_column(Tenant& t) {
  t.exec("ALTER TABLE dbo.Adresse ALTER COLUMN Telefon3 varchar(240) Null", db::Guard::silent());
  t.exec("ALTER TABLE dbo.HyAdresse ALTER COLUMN Telefon3 varchar(240) Null", db::Guard::silent());
  t.exec("ALTER TABLE dbo.AdresseZukunft ALTER COLUMN Telefon3 varchar(240) Null", db::Guard::unguarded());
  t.exec("ALTER TABLE dbo.LogAdr ALTER COLUMN Telefon3 varchar(240) Null", db::Guard::silent());
}

void add_member_sepa_columns(Tenant& t) {
  t.sql.AddField("Adresse", "DtOfSgntr", "datetime", "", "Null");
  // Existing members start without the SEPA flag set.
  t.atomically([&] {
    t.sql.AddField("Adresse", "SEPA_FE", "char", "(1)", "Null");
    if (t.sql.added()) t.exec("UPDATE Adresse SET SEPA_FE='N'", db::Guard::unguarded());
  });
}

// The trailing blank of "GlaeubigerId " is what the application has always
// passed; the server ignores it in the probe and in ALTER TABLE.
constexpr ColumnAddition kCreditorAndEMailColumns[] = {
    {kNoStep, "Mandstam", "GlaeubigerId ", "varchar", "(20)", "Null"},
    {kNoStep, "mandstam", "IBAN1", "varchar", "(30)", "NULL"},
    {kNoStep, "mandstam", "BIC1", "varchar", "(30)", "NULL"},
    {kNoStep, "RECHN", "EMailGesendet", "char", "(1)", "Null"},
    {kNoStep, "RECHN", "EMailSendeDatum", "datetime", "", "Null"},
};

// One field of an invoice line. The older fields carry an underscore before
// the line number; the ledger account and cost fields never had one.
struct InvoiceLineField {
  const char* stem;
  const char* type;
  const char* size;
};

constexpr InvoiceLineField kInvoiceLineFields[] = {
    {"ArtikelNr_", "varchar", "(10)"},  // article number
    {"Anzahl_", "numeric", "(19,8)"},   // quantity
    {"Text1_", "varchar", "(60)"},
    {"Text2_", "varchar", "(60)"},
    {"Netto_", "numeric", "(19,8)"},
    {"MwSt_", "numeric", "(19,8)"},      // VAT rate
    {"MwSt_Bet_", "numeric", "(19,8)"},  // VAT amount
    {"Brutto_", "numeric", "(19,8)"},
    {"EK_Art_", "numeric", "(19,8)"},  // purchase price
    {"Spanne_", "numeric", "(19,8)"},  // margin
    {"Rabatt_", "numeric", "(19,8)"},  // discount
    {"VK_Art_", "numeric", "(19,8)"},  // sales price of the article
    {"VK_Preis_", "numeric", "(19,8)"},
    {"Konto", "int", ""},         // ledger account
    {"KoSt", "varchar", "(10)"},  // cost centre
    {"KoTr", "int", ""},          // cost unit
};

// Invoices had ten lines; lines 11 to 15 are new.
void add_invoice_lines(Tenant& t) {
  for (int line = 11; line <= 15; ++line) {
    for (const InvoiceLineField& f : kInvoiceLineFields)
      t.sql.AddField("RECHN", f.stem + std::to_string(line), f.type, f.size, "Null");
    t.step();
  }
}

// The log of the contribution assistant.
const Lines kTblBeitassProt[] = {
    {"CREATE TABLE dbo.tblBeitassProt (", "ID INT IDENTITY (1,1) NOT NULL,", "Bezeichnung varchar (120) NOT NULL,",
     "Datum datetime NOT NULL,", "AdrNr int NOT NULL,", "VertragNr VarChar (10) NOT NULL,", "Art smallint NOT NULL,",
     "ArtName VarChar (120) NULL,", "Sollstellung VarChar (10) NULL,", "VertragBegin datetime NULL,",
     "VertragEnde datetime NULL,", "Betrag numeric (19,8) NULL)"},
    {"ALTER TABLE [dbo].[tblBeitassProt]  ADD", "CONSTRAINT [PK_tblBeitassProt] PRIMARY KEY CLUSTERED",
     "([ID]) ON [PRIMARY]"},
};

// A work table the application fills and empties itself; it needs no key.
const Lines kTmpJournal[] = {
    {"CREATE TABLE dbo.tmpJournal (", "ID INT IDENTITY (1,1) NOT NULL,", "Soll numeric (19,8) NULL,",
     "Haben numeric (19,8) NULL,", "SollSt numeric (19,8) NULL,", "HabenSt numeric (19,8) NULL)"},
};

constexpr ColumnAddition kHolderAndDepartment[] = {
    {kNoStep, "Adresse", "AdrNrKIH", "int", "", "Null"},  // address of the account holder
    {kNoStep, "Rechn", "Abteilung", "varchar", "(50)", "Null"},
};

// Four 27-character lines: the width of a remittance line in the bank
// formats. Then the invoice references of contracts and debit entries.
constexpr ColumnAddition kRemittanceAndInvoiceReferences[] = {
    {kNoStep, "Mandstam", "VerwZw1r", "varchar", "(27)", "Null"},
    {kNoStep, "Mandstam", "VerwZw2r", "varchar", "(27)", "Null"},
    {kNoStep, "Mandstam", "VerwZw3r", "varchar", "(27)", "Null"},
    {kNoStep, "Mandstam", "VerwZw4r", "varchar", "(27)", "Null"},
    {kNoStep, "MgVert", "RgNr", "integer", "", "Null"},
    {kNoStep, "MgSolln", "AdrNrRg", "integer", "", "Null"},
};

}  // namespace

void contact_creditor_and_invoice_columns(Tenant& t) {
  widen_contact_column(t);
  add_member_sepa_columns(t);
  steps::add_columns(t, kCreditorAndEMailColumns);
  add_invoice_lines(t);
  steps::create_if_missing(t, "tblBeitassProt", kTblBeitassProt);
  steps::add_columns(t, kHolderAndDepartment);
  steps::create_if_missing(t, "tmpJournal", kTmpJournal);
  steps::add_columns(t, kRemittanceAndInvoiceReferences);
}

}  // namespace upgrade
