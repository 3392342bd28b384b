// Stage II, last block: the SEPA mandate tables AdrSepa and AdrSepaVer, the
// return-debit reasons, the SEPA columns of contracts, debits, invoices and
// addresses, the mandate references and the mandates themselves, the due-date
// columns and a few settings. It ends with stage III; the frame around the
// tenant (run driver) then restores the cursor and empties the progress bar.
#include "steps/schema_steps.h"
#include "upgrade/stages.h"

namespace upgrade {
namespace {

using steps::ColumnAddition;
using steps::kNoStep;
using steps::Lines;

// One row per direct-debit mandate of a member.
const Lines kAdrSepa[] = {
    {"CREATE TABLE AdrSepa (", "[AdrNr] [int] NOT NULL,", "[MandatsNr] [varchar](35) NOT NULL,",
     "[MandKey] [varchar](35) NOT NULL,", "[Lastschriftart] [varchar](20) NOT NULL,", "[Typ] [char] (1) NOT NULL,",
     "[Status] [varchar] (20) NOT NULL,", "[AngelegtAm] [datetime] NULL,", "[GultigBis] [datetime] NULL,",
     "[UnterschriftDatum] [datetime] NULL,", "[ErsteVerwendung] [datetime] NULL,",
     "[LetzteVerwendung] [datetime] NULL,", "[WiderrufenAm] [datetime] NULL)"},
    {"ALTER TABLE [dbo].[AdrSepa]  ADD", "CONSTRAINT [PK_AdrSepa] PRIMARY KEY CLUSTERED",
     "([AdrNr],[MandatsNr]) ON [PRIMARY]"},
};

// The versions of a mandate, numbered by LfdNr.
const Lines kAdrSepaVer[] = {
    {"CREATE TABLE AdrSepaVer (", "[AdrNr] [int] NOT NULL,", "[MandatsNr] [varchar](35) NOT NULL,",
     "[MandKey] [varchar](35) NOT NULL,", "[LfdNr] [int] NOT NULL,", "[Lastschriftart] [varchar](20) NOT NULL,",
     "[Typ] [char] (1) NOT NULL,", "[Status] [varchar] (20) NOT NULL,", "[AngelegtAm] [datetime] NULL,",
     "[GultigBis] [datetime] NULL,", "[UnterschriftDatum] [datetime] NULL,", "[ErsteVerwendung] [datetime] NULL,",
     "[LetzteVerwendung] [datetime] NULL,", "[WiderrufenAm] [datetime] NULL)"},
    {"ALTER TABLE [dbo].[AdrSepaVer]  ADD", "CONSTRAINT [PK_AdrSepaVer] PRIMARY KEY CLUSTERED",
     "([AdrNr],[MandatsNr],[LfdNr]) ON [PRIMARY]"},
};

// Reasons for returned debits.
const Lines kRuckLastGrund[] = {
    {"CREATE TABLE RuckLastGrund (", "[Kennung] [varchar](50) NOT NULL)"},
    {"ALTER TABLE [dbo].[RuckLastGrund]  ADD", "CONSTRAINT [PK_RuckLastGrund] PRIMARY KEY CLUSTERED",
     "([Kennung]) ON [PRIMARY]"},
};

// The deviating account holder of a contract; its address comes from the
// address the contract points to through AbwAdrNr.
constexpr ColumnAddition kContractAccountHolder[] = {
    {kNoStep, "MgVert", "AbwKontoInh", "varchar", "(50)", "Null"},
    {kNoStep, "MgVert", "StrasseKIH", "varchar", "(40)", "Null"},
    {kNoStep, "MgVert", "PlzKIH", "varchar", "(15)", "Null"},
    {kNoStep, "MgVert", "OrtKIH", "varchar", "(40)", "Null"},
    {kNoStep, "MgVert", "EmailKIH", "varchar", "(240)", "Null"},
};

// The lines are joined by a bare LF. The filter's OR lets contracts with
// AbwAdrNr 0 through as well; they take the data of address 0 if any.
// Telefon3 is the address column that holds the e-mail address.
constexpr const char* kContractAccountHolderFill =
    "UPDATE MgVert SET\nStrasseKIH=(SELECT A.Strasse FROM Adresse AS A WHERE A.AdrNr=MgVert.AbwAdrNr),\nPlzKIH=(SELECT A.PLZ FROM Adresse AS A WHERE A.AdrNr=MgVert.AbwAdrNr),\nOrtKIH=(SELECT A.Ort FROM Adresse AS A WHERE A.AdrNr=MgVert.AbwAdrNr),\nEmailKIH=(SELECT A.Telefon3 FROM Adresse AS A WHERE A.AdrNr=MgVert.AbwAdrNr)\nWHERE AbwAdrNr IS NOT NULL OR AbwAdrNr<>0";

// The account holder's address on the member himself.
constexpr ColumnAddition kAddressAccountHolder[] = {
    {kNoStep, "Adresse", "StrasseKIH", "varchar", "(40)", "Null"},
    {kNoStep, "Adresse", "PlzKIH", "varchar", "(15)", "Null"},
    {kNoStep, "Adresse", "OrtKIH", "varchar", "(40)", "Null"},
    {kNoStep, "Adresse", "EmailKIH", "varchar", "(240)", "Null"},
};

constexpr ColumnAddition kDebitAndInvoiceMandateColumns[] = {
    {kNoStep, "MgSolln", "MandatsNr", "varchar", "(35)", "Null"},
    {kNoStep, "MgSolln", "IBAN", "varchar", "(40)", "Null"},
    {kNoStep, "MgSolln", "BIC", "varchar", "(40)", "Null"},
    {kNoStep, "MgSolln", "LetzteVerwendung", "datetime", "", "Null"},
    {kNoStep, "MgSolln", "GultigBis", "datetime", "", "Null"},
    {kNoStep, "MgLast", "MandatsNr", "varchar", "(35)", "Null"},
    {kNoStep, "MgLast", "IBAN", "varchar", "(40)", "Null"},
    {kNoStep, "MgLast", "BIC", "varchar", "(40)", "Null"},
    {kNoStep, "MgLast", "LetzteVerwendung", "datetime", "", "Null"},
    {kNoStep, "MgLast", "GultigBis", "datetime", "", "Null"},
    {kNoStep, "Rechn", "Prenotified", "char", "(1)", "Null"},
    {kNoStep, "Rechn", "DatumPren", "DateTime", "", "Null"},
    {kNoStep, "Rechn", "DatumBankeinzug", "DateTime", "", "Null"},
    {kNoStep, "Rechn", "MandatsNr", "varchar", "(35)", "Null"},
    {kNoStep, "MgSolln", "ErsteVerwendung", "datetime", "", "Null"},
    {kNoStep, "MgLast", "ErsteVerwendung", "datetime", "", "Null"},
    {kNoStep, "MgSolln", "SEPATyp", "char", "(1)", "Null"},
    {kNoStep, "MgLast", "SEPATyp", "char", "(1)", "Null"},
    {kNoStep, "MgLast", "Bemerkung", "varchar", "(100)", "Null"},
};

// Lead times of the club, the XML file and GUID of every debit and invoice.
// IndSepa comes last: its creation marks the first fill.
constexpr ColumnAddition kSepaSettingsAndXmlColumns[] = {
    {kNoStep, "mandstam", "SEPAErstTage", "integer", "", "Null"},
    {kNoStep, "mandstam", "SEPAFolgeTage", "integer", "", "Null"},
    {kNoStep, "MgLast", "BankUeb", "char", "(1)", "Null"},
    {kNoStep, "MgLast", "DatumBankeinzug", "DateTime", "", "Null"},
    {kNoStep, "MgLast", "SEPAKenn", "VARCHAR", "(4)", "Null"},
    {kNoStep, "MgLast", "Ausfuhrungsdatum", "DateTime", "", "Null"},
    {kNoStep, "MgLast", "SEPAXML", "varchar", "(250)", "Null"},
    {kNoStep, "MgLast", "GUID", "UNIQUEIDENTIFIER", "", "NULL"},
    {kNoStep, "MgSolln", "SEPAXML", "varchar", "(250)", "Null"},
    {kNoStep, "MgSolln", "GUID", "UNIQUEIDENTIFIER", "", "NULL"},
    {kNoStep, "RECHN", "SEPAXML", "varchar", "(250)", "Null"},
    {kNoStep, "RECHN", "GUID", "UNIQUEIDENTIFIER", "", "NULL"},
    {kNoStep, "Adresse", "AbwKtoInhCB", "char", "(1)", "Null"},
    {kNoStep, "MgLast", "IndSepa", "char", "(1)", "NULL"},
};

// Every run; each statement touches only rows that still need it.
constexpr const char* kSepaDefaults[] = {
    "UPDATE MgLast SET IndSepa='N' WHERE SEPAXML IS NULL OR SEPAXML=''",
    // A bank without BIC takes the BIC of another row with the same code.
    "UPDATE d_blz SET BIC= (select TOP 1 BIC from d_blz B where B.BLZ=d_blz.BLZ AND ISNULL(bic,'')<>'')  where bic IS NULL",
    // Lead times in days of a first and of a recurring debit.
    "UPDATE mandstam SET SEPAErstTage=5 WHERE SEPAErstTage IS NULL",
    "UPDATE mandstam SET SEPAFolgeTage=2 WHERE SEPAFolgeTage IS NULL",
};

// Every run, reported in the plain message box.
constexpr const char* kWidenings[] = {
    "ALTER TABLE dbo.SportartenV ALTER COLUMN SPORTART varchar(120) Null",
    "ALTER TABLE dbo.ADRSART ALTER COLUMN SPORTART varchar(120) Null",
};

constexpr ColumnAddition kDueDateColumns[] = {
    {kNoStep, "Mgart", "FalligkeitDatum1", "DateTime", "", "NULL"},
    {kNoStep, "Mgart", "FalligkeitDatum2", "DateTime", "", "NULL"},
    {kNoStep, "Mgart", "FalligkeitDatum3", "DateTime", "", "NULL"},
    {kNoStep, "Mgart", "FalligkeitDatum4", "DateTime", "", "NULL"},
    {kNoStep, "Mgart", "FalligkeitTag", "int", "", "NULL"},
    {kNoStep, "MgVert", "FalligkeitDatum1", "DateTime", "", "NULL"},
    {kNoStep, "MgVert", "FalligkeitDatum2", "DateTime", "", "NULL"},
    {kNoStep, "MgVert", "FalligkeitDatum3", "DateTime", "", "NULL"},
    {kNoStep, "MgVert", "FalligkeitDatum4", "DateTime", "", "NULL"},
    {kNoStep, "MgVert", "FalligkeitTag", "int", "", "NULL"},
    {kNoStep, "MgSolln", "FalligkeitDatum", "DateTime", "", "NULL"},
    {kNoStep, "EINST", "AutoShowFalligBeitrag", "char", "(1)", "NULL"},
};

void create_mandate_tables(Tenant& t) {
  steps::create_if_missing(t, "AdrSepa", kAdrSepa);

  t.atomically([&] {
    t.sql.AddField("Adresse", "EinzugLastMandLiegtVor", "char", "(1)", "Null");
    if (t.sql.added()) t.exec("UPDATE Adresse SET EinzugLastMandLiegtVor='N'", db::Guard::unguarded());
  });

  steps::create_if_missing(t, "AdrSepaVer", kAdrSepaVer);

  t.atomically([&] {
    t.sql.AddField("MgVert", "Prenotifikation", "char", "(1)", "Null");
    if (t.sql.added()) t.exec("UPDATE MgVert SET Prenotifikation='N'", db::Guard::unguarded());
  });
}

void add_account_holders(Tenant& t) {
  t.atomically([&] {
    steps::add_columns(t, kContractAccountHolder);
    if (t.sql.added()) t.exec(kContractAccountHolderFill, db::Guard::unguarded());
  });
  steps::add_columns(t, kAddressAccountHolder);
}

// EINST.mRef marks that the references were derived. The derivation
// overwrites every reference; an address without membership number gets
// NULL.
void derive_mandate_references(Tenant& t) {
  t.atomically([&] {
    t.sql.AddField("EINST", "mRef", "char", "(1)", "Null");
    if (t.sql.added())
      t.exec("UPDATE Adresse SET mandatsrefenz=CAST(AdrNr as varchar)+CAST(MitglNr as varchar)",
             db::Guard::unguarded());
  });
}

// The run that creates GueltigAb counts every direct-debit payer as holding
// a mandate.
void flag_mandate_holders(Tenant& t) {
  t.atomically([&] {
    t.sql.AddField("adrsepa", "GueltigAb", "datetime", "", "Null");
    if (t.sql.added())
      t.exec("UPDATE Adresse SET EinzugLastMandLiegtVor='J' WHERE Zahlungsart='L'", db::Guard::unguarded());
  });
}

// A debit counts as a SEPA debit once it went out in an XML file.
void add_sepa_settings_and_xml_columns(Tenant& t) {
  t.atomically([&] {
    steps::add_columns(t, kSepaSettingsAndXmlColumns);
    if (!t.sql.added()) return;
    t.exec("UPDATE MgLast SET IndSepa='J' WHERE SEPAXML IS NOT NULL AND SEPAXML<>''", db::Guard::unguarded());
    t.exec("UPDATE MgLast SET IndSepa='N' WHERE IndSepa IS NULL", db::Guard::unguarded());
  });
  steps::exec_each(t, kSepaDefaults, db::Guard::unguarded());
}

void add_print_flags_and_letter_setting(Tenant& t) {
  t.atomically([&] {
    t.sql.AddField("f5bew4sg", "Druck", "char", "(1)", "NULL");
    if (t.sql.added()) t.exec("UPDATE f5bew4sg SET Druck='N'", db::Guard::unguarded());
  });
  t.atomically([&] {
    t.sql.AddField("f5bw4sgA", "Druck", "char", "(1)", "NULL");
    if (t.sql.added()) t.exec("UPDATE f5bw4sgA SET Druck='N'", db::Guard::unguarded());
  });

  t.atomically([&] {
    t.sql.AddField("EINST", "Firma4Vor", "char", "(1)", "NULL");
    if (t.sql.added()) t.exec("UPDATE EINST SET Firma4Vor='J'", db::Guard::plain());
  });
}

// Stage I creates this foreign key together with AdrFunktion; it goes again
// here, on every run. A failing probe is shown like a refused statement and
// the block goes on.
void drop_function_address_key(Tenant& t) {
  try {
    t.sql.DropConstraint("AdrFunktion", "FK_AdrFunktion_Adresse");
  } catch (const db::DbError& e) {
    t.sql.runner().feedback().report(db::Report::Plain, e.what());
  }
}

// The creditor identifier and the sport names outgrew their columns; an
// outdated BIC is corrected in the bank directory and in the first of the
// three BIC columns of an address.
void widen_and_correct_bic(Tenant& t) {
  t.sql.AddField("SEPA_Protokol", "IBAN", "varchar", "(35)", "NULL");
  t.sql.AddField("SEPA_Protokol", "BIC", "varchar", "(35)", "NULL");
  t.exec("ALTER TABLE dbo.mandstam ALTER COLUMN GlaeubigerId varchar(35) Null", db::Guard::plain());
  t.exec("UPDATE D_BLZ SET BIC='COBADEFFXXX' WHERE BIC='COBADEFF570'", db::Guard::plain());
  t.exec("UPDATE Adresse SET BIC1='COBADEFFXXX' WHERE BIC1='COBADEFF570'", db::Guard::plain());
  // Maximum number of debits per XML file; no limit unless the club sets one.
  t.sql.AddField("EINST", "MaxAnzLastProXmlDatei", "int", "", "NULL");
  steps::exec_each(t, kWidenings, db::Guard::plain());
}

void add_due_dates_and_settings(Tenant& t) {
  t.atomically([&] {
    steps::add_columns(t, kDueDateColumns);
    if (t.sql.added()) t.exec("UPDATE EINST SET AutoShowFalligBeitrag='J'", db::Guard::plain());
  });
  t.sql.AddField("MgLast", "FalligkeitDatum", "datetime", "", "Null");

  t.atomically([&] {
    t.sql.AddField("f5kasses", "BlgNumNichtAutoHZ", "char", "(1)", "NULL");
    if (t.sql.added()) t.exec("UPDATE f5kasses SET BlgNumNichtAutoHZ='N'", db::Guard::plain());
  });

  t.sql.AddField("Rechn", "AssBeitID", "UNIQUEIDENTIFIER", "", "Null");
  t.sql.AddField("MgSolln", "AssBeitID", "UNIQUEIDENTIFIER", "", "Null");
  // Invoice numbers were integers, possibly with a default of 0.
  t.sql.AlterColumnType("MgSolln", "RgNr", "varchar", "ALTER TABLE MgSolln ALTER COLUMN RgNr VARCHAR (10) NULL",
                        db::Channel::Single, db::Guard::plain());
}

}  // namespace

void sepa_mandate_tables_and_due_dates(Tenant& t) {
  create_mandate_tables(t);
  add_account_holders(t);
  derive_mandate_references(t);
  steps::add_columns(t, kDebitAndInvoiceMandateColumns);
  steps::create_if_missing(t, "RuckLastGrund", kRuckLastGrund);
  flag_mandate_holders(t);
  add_sepa_settings_and_xml_columns(t);

  pMandatErstellen(t);

  add_print_flags_and_letter_setting(t);
  drop_function_address_key(t);
  widen_and_correct_bic(t);
  add_due_dates_and_settings(t);

  // Stage III. The cursor and the progress bar are reset by the tenant
  // frame once this returns, not here.
  Update1(t);
}

}  // namespace upgrade
