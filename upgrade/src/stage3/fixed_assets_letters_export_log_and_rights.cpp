// Stage III, second block: the fixed-asset tables with the depreciation
// table loaded once, the letter layout settings, the DATEV export log, the
// user rights with one row per user and right, and the columns for export
// dates, booking amounts and account kinds, the users' e-mail address and
// administrator mark, and the end month of the bookkeeping settings.
#include "steps/schema_steps.h"
#include "upgrade/reference_rows.h"
#include "upgrade/stages.h"

namespace upgrade {
namespace {

using steps::ColumnAddition;
using steps::kNoStep;
using steps::Lines;

// Only Anlagegut is probed; where it exists the other two are taken to
// exist as well.
const Lines kFixedAssets[] = {
    {"CREATE TABLE dbo.Anlagegut (",
     "InventarNr varchar(20) NOT NULL,",
     "Name varchar(240) NOT NULL,",
     "Typ varchar(240) NOT NULL,",
     "Abschreibungsart char(1) NOT NULL,",
     "Nutzungsdauer integer NOT NULL,",
     "Anschaffungsdatum datetime NOT NULL,",
     "Anschaffungskosten numeric (18,8) NOT NULL,",
     "Nebenkosten numeric (18,8) NOT NULL,",
     "Investitionsabzug numeric (18,8) NOT NULL,",
     "Restwert numeric (18,8) NOT NULL,",
     "SonderAfa numeric (18,8) NOT NULL,",
     "Wahlrecht char(1) NULL,",
     "WahlrechtBez varchar(240) NULL,",
     "Runden char(1) NULL,",
     "Vereinfachnug char(1) NULL,",
     "Anlagekonto integer NULL,",
     "Abschkonto integer NULL,",
     "KoSt integer NULL,",
     "Abteilung varchar(40) NULL,",
     "GaeretNr varchar(40) NULL,",
     "Sonstige text NULL)"},
    {"ALTER TABLE [dbo].[Anlagegut]  ADD", "CONSTRAINT [PK_Anlagegut] PRIMARY KEY CLUSTERED",
     "([InventarNr]) ON [PRIMARY]"},
    // The depreciation script inserts positionally: these three columns in
    // this order.
    {"CREATE TABLE dbo.Anlagetabelle (", "Name varchar(240) NOT NULL,", "Nutzungsdauer integer NOT NULL,",
     "Fundstelle varchar(20) NOT NULL)"},
    {"ALTER TABLE [dbo].[Anlagetabelle]  ADD", "CONSTRAINT [PK_Anlagetabelle] PRIMARY KEY CLUSTERED",
     "([Name]) ON [PRIMARY]"},
    {"CREATE TABLE dbo.AnlageAbschr (", "InventarNr varchar(20) NOT NULL,", "Jahr integer NOT NULL,",
     "LaufzeitBis integer NOT NULL,", "Anschaffungskosten numeric (18,8) NOT NULL,",
     "AfaBetrag numeric (18,8) NOT NULL,", "Buchwert numeric (18,8) NOT NULL,", "Kummuliert numeric (18,8) NOT NULL,",
     "Abschreibungsart char(1) NOT NULL,", "Gerundet char(1) NOT NULL)"},
    {"ALTER TABLE [dbo].[AnlageAbschr]  ADD", "CONSTRAINT [PK_AnlageAbschr] PRIMARY KEY CLUSTERED",
     "([InventarNr],[Jahr]) ON [PRIMARY]"},
};

// Letterhead, address block, footer and print switches; the table has no key
// until ID is added below.
const Lines kLetterSettings[] = {
    {"CREATE TABLE [dbo].[tblBriefEinst](",
     " [Layout] [int] NULL,",
     " [Name] [varchar] (250) NULL,",
     " [NameFontName] [varchar] (50) NULL,",
     " [NameFontSize] [int] NULL,",
     " [Slogan] [varchar] (250) NULL,",
     " [AnschriftZeile1] [varchar] (250) NULL,",
     " [AnschriftZeile2] [varchar] (250) NULL,",
     " [AnschriftZeile3] [varchar] (250) NULL,",
     " [AnschriftZeile4] [varchar] (250) NULL,",
     " [AnschriftZeile5] [varchar] (250) NULL,",
     " [Logo] [image]  NULL,",
     " [Breiftext] [text] NULL,",
     " [AbsenderZeile] [varchar] (250) NULL,",
     " [AbsenderZeileDrucken] [char] (1) NULL,",
     " [FusstexteLinks] [text] NULL,",
     " [FusstexteRechts] [text] NULL,",
     " [FusstexteDrucken] [char] (1) NULL,",
     " [BlattmarkenDrucken] [char] (1) NULL",
     ") ON [PRIMARY]"},
};

constexpr ColumnAddition kLetterAndAssetColumns[] = {
    {kNoStep, "tblBriefEinst", "Breiftext", "text", "", "Null"},
    {kNoStep, "tblBriefEinst", "Datum", "DateTime", "", "Null"},
    {kNoStep, "AnlageAbschr", "SonderAfa", "numeric", "(18,8)", "NULL"},
    {kNoStep, "Anlagegut", "Optionen", "text", "", "Null"},
    {kNoStep, "AnlageAbschr", "ID", "int", "IDENTITY (1,1)", "NOT NULL"},
    {kNoStep, "Anlagegut", "Abgang", "numeric", "(18,8)", "NULL"},
    {kNoStep, "F5einst", "MONATBIS", "smallint", "", "Null"},
};

// One row per export run.
const Lines kExportLog[] = {
    {"CREATE TABLE DEEinzelProt (", "[LfdNr] [int] IDENTITY(1,1) NOT NULL,", "[Benutzer] [varchar](50) NULL,",
     "[Datum] [datetime] NULL,", "[Mandant] [int] NULL,", " CONSTRAINT [PK_DEEinzelProt] PRIMARY KEY CLUSTERED",
     "([LfdNr] ASC) ON [PRIMARY]) ON [PRIMARY]"},
};

// The booking lines of an export run; DELfdNr is the run's LfdNr. The tab in
// the last line is part of the text as the application has always sent it.
const Lines kExportLogLines[] = {
    {"CREATE TABLE DEEinzelProtS (", "[ID] [int] IDENTITY(1,1) NOT NULL,", "[DELfdNr] [int] NULL,",
     "[HKonto] [int] NULL,", "[Konto] [int] NULL,", "[InterneNr] [int] NULL,", "[LfdNr] [int] NULL,",
     "[AktDatum] [datetime] NULL,", "[AktZeit] [datetime] NULL,", "[BelegNr] [int] NULL,",
     "[Brutto] [numeric](18, 8) NULL,", "[KoSt] [varchar](10) NULL,", "[KoTr] [varchar](24) NULL,",
     "[BText] [varchar](240) NULL,", "CONSTRAINT [PK_DEEinzelProtS] PRIMARY KEY CLUSTERED",
     "(\t[ID] ASC) ON [PRIMARY]) ON [PRIMARY]"},
};

constexpr ColumnAddition kExportDatesAndAmounts[] = {
    {kNoStep, "F5bw4sgA", "DATEVDatum", "datetime", "", "NULL"},
    {kNoStep, "F5bew4sg", "DATEVDatum", "datetime", "", "NULL"},
    {kNoStep, "F5Kont", "DatevAuto", "char", "(1)", "Null"},
    {kNoStep, "tblBriefEinst", "Betreff", "varchar", "(200)", "Null"},
    // The whole column definition travels as the type.
    {kNoStep, "tblBriefEinst", "ID", "INT IDENTITY (1,1)", "", "Not Null"},
    {kNoStep, "F5Bew4s", "Betrag", "numeric", "(18,8)", "NULL"},
    {kNoStep, "F5Bw4sa", "Betrag", "numeric", "(18,8)", "NULL"},
    {kNoStep, "Einst", "Anlage3", "char", "(1)", "NULL"},
};

constexpr ColumnAddition kAccountKindsAndUsers[] = {
    {kNoStep, "AnlageGut", "AbgangDatum", "datetime", "", "NULL"},
    {kNoStep, "F5Bew4s", "Kontoart", "varchar", "(10)", "NULL"},
    {kNoStep, "F5Bw4sa", "Kontoart", "varchar", "(10)", "NULL"},
    {kNoStep, "F5Bew4s", "Soll_Haben", "varchar", "(10)", "NULL"},
    {kNoStep, "F5Bw4sa", "Soll_Haben", "varchar", "(10)", "NULL"},
    {kNoStep, "PASS", "EMail", "varchar", "(200)", "NULL"},
    {kNoStep, "PASS", "Verwalter", "char", "(1)", "NULL"},
};

const Lines kRights[] = {
    {"CREATE TABLE tblRechte (", "[ID] [int] IDENTITY (1, 1) NOT NULL,", "[BENUTZER] [varchar] (12) NOT NULL,",
     "[RB] [int] NOT NULL,", "[Bezeichnung] [varchar] (100) NOT NULL,", "[Kurzname] [varchar] (50) NOT NULL,",
     "[Ind] [char] (1) NOT NULL,", "CONSTRAINT [PK_tblRechte] PRIMARY KEY CLUSTERED",
     "([ID] ASC) ON [PRIMARY]) ON [PRIMARY]"},
};

struct Right {
  int rb;
  const char* bezeichnung;
  const char* kurzname;
};

// Granted to every user when the table is created. Number 11 stands for two
// rights and there is no number 17: the rows are as the application expects
// them.
constexpr Right kRightsPerUser[] = {
    {1, "Vereinsdaten anlegen, bearbeiten", "Vereinsdaten"},
    {2, "Adressen anlegen, bearbeiten", "Adressen"},
    {3, "Beiträge anlegen, bearbeiten", "Beitrage"},
    {4, "Sollstellungen durchführen", "Sollstellung"},
    {5, "Sollstellungen löschen", "SollstellungLoschen"},
    {6, "SEPA einrichten", "SEPA"},
    {7, "Beitragseinzug erstellen", "BeitragseinzugErstellen"},
    {8, "Beitragsrechnungen schreiben", "BeitragrechnungenSchreiben"},
    {9, "Bezahlte Beiträge ausgleichen", "BezahlteBeitrageAusgleichen"},
    {10, "Rücklastschriften buchen", "RucklastschriftenBuchen"},
    {11, "offene Beitragszahlungen anmahnen", "OffeneBeitragszahlungenAnmahnen"},
    {11, "Bankgeschäfte durchführen", "BankgeschafteDurchfuhren"},
    {12, "Statistische Auswertungen (Mitglieder)", "StatistischeAuswertungen"},
    {13, "Korrespondenz", "Korrespondenz"},
    {14, "Zuwendungsbestätigungen erstellen", "ZuwendungsbestatigungenErstellen"},
    {15, "Buchhaltung", "Buchhaltung"},
    {16, "Faktura", "Faktura"},
};

void add_month_range(Tenant& t) {
  t.atomically([&] {
    steps::add_columns(t, kLetterAndAssetColumns);
    // MONATBIS was added last: the range starts as a single month.
    if (t.sql.added()) t.exec("UPDATE F5einst SET MONATBIS=MONAT", db::Guard::unguarded());
  });
}

// Loaded only in the run that adds Einst.Anlage3; later edits by the
// application stay.
void load_depreciation_table(Tenant& t) {
  t.atomically([&] {
    steps::add_columns(t, kExportDatesAndAmounts);
    if (!t.sql.added()) return;
    t.lines({"DELETE FROM AnlageTabelle"}, db::Guard::warning());
    t.sql.Execute(steps::stored_script("cmdAnlageTyp"), db::Channel::Separate, db::Guard::warning());
  });
}

// Every user that exists at the upgrade becomes an administrator.
void add_user_columns(Tenant& t) {
  t.atomically([&] {
    steps::add_columns(t, kAccountKindsAndUsers);
    if (t.sql.added()) t.lines({"UPDATE PASS SET Verwalter='J'"}, db::Guard::warning());
  });
}

// The rows go in only with the table; an existing table belongs to the
// application.
void create_rights(Tenant& t) {
  steps::create_if_missing(t, "tblRechte", kRights, db::Guard::warning(), [&] {
    for (const Right& r : kRightsPerUser) AddRight(t.sql.runner(), r.rb, r.bezeichnung, r.kurzname);
  });
  t.sql.AddIndex("tblRechte", "iBenutzer", "BENUTZER", "Kurzname");
}

}  // namespace

void fixed_assets_letters_export_log_and_rights(Tenant& t) {
  steps::create_if_missing(t, "Anlagegut", kFixedAssets);
  steps::create_if_missing(t, "tblBriefEinst", kLetterSettings, db::Guard::error());
  add_month_range(t);

  steps::create_if_missing(t, "DEEinzelProt", kExportLog);
  steps::create_if_missing(t, "DEEinzelProtS", kExportLogLines);
  load_depreciation_table(t);
  add_user_columns(t);

  create_rights(t);
  t.sql.AddField("AnlageGut", "AfaArt", "varchar", "(255)", "NULL");
  t.sql.AddField("F5BuText", "SollHaben", "varchar", "(5)", "NULL");
  // Every run: right 8 keeps this title, whatever an earlier release wrote.
  t.lines({"UPDATE tblRechte SET Bezeichnung='Beitragsrechnungen schreiben' WHERE RB=8"}, db::Guard::warning());
}

}  // namespace upgrade
