// Stage II, third block: the help catalogue (tables, groups and topics, the
// latter two rewritten on every run), the help-change flag of the users, the
// online flags and second and third IBAN/BIC of the club, the version marker,
// IBAN and BIC on transfers, statement lines and club accounts (with a
// rebuild of the club accounts), the SEPA log tables, the SEPA flags of
// transfers and their templates, and the online-account registration.
//
// Every statement of this block goes through qryUpd. Failures are shown in
// the error dialog, except the help topics and the club-account rebuild,
// which only warn.
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "club_bank_slots.h"
#include "db/sql_text.h"
#include "steps/schema_steps.h"
#include "upgrade/stages.h"

namespace upgrade {
namespace {

using steps::ColumnAddition;
using steps::kNoStep;
using steps::Lines;

// A one-line statement through qryUpd.
void send(Tenant& t, const char* statement, db::Guard guard = db::Guard::error()) { t.lines({statement}, guard); }

void create(Tenant& t, std::string_view table, std::span<const Lines> statements) {
  steps::create_if_missing(t, table, statements, db::Guard::error());
}

// Help texts per window (FORM) and control (CID) of each program.
const Lines kTblHelp[] = {
    {"CREATE TABLE [dbo].[tblHelp](", "ID INT IDENTITY (1,1) NOT NULL,", "PARENTID INT NULL,",
     "FORM varchar (50) NOT NULL,", "CID varchar (50) NOT NULL,", "Bezeichnung varchar (80) NOT NULL,",
     "Memo text NOT NULL,", "Notes text NULL,", "Benutzer varchar (50) NOT NULL,", "RadDat datetime NOT NULL,",
     "Gruppe varchar (50) NULL,", "PROGRAM varchar (5) NOT NULL)"},
    {"ALTER TABLE tblHelp ADD CONSTRAINT [PK_tblHelp1] PRIMARY KEY CLUSTERED (Form, CID, PROGRAM) ON [PRIMARY]"},
};

const Lines kTblHelpGruppe[] = {
    {"CREATE TABLE [dbo].[tblHelpGruppe](", "[Kennung] [varchar] (50) NOT NULL,", "[Nr] [int] NULL)"},
    {"ALTER TABLE tblHelpGruppe ADD CONSTRAINT [PK_tblHelpGruppe] PRIMARY KEY CLUSTERED (Kennung) ON [PRIMARY]"},
};

// The three groups are the program's own: whatever else the table holds goes.
constexpr const char* kHelpGroups[] = {
    "DELETE FROM [dbo].[tblHelpGruppe]",
    "INSERT INTO [dbo].[tblHelpGruppe] (Kennung,Nr) VALUES ('Mitgliederverwaltung',1)",
    "INSERT INTO [dbo].[tblHelpGruppe] (Kennung,Nr) VALUES ('Beitragsverwaltung',2)",
    "INSERT INTO [dbo].[tblHelpGruppe] (Kennung,Nr) VALUES ('Finanzbuchhaltung',3)",
};

void load_help(Tenant& t) {
  create(t, "tblHelp", kTblHelp);
  t.atomically([&] {
    t.sql.AddField("PASS", "HelpAend", "char", "(1)", "NULL");
    if (t.sql.added()) send(t, "UPDATE PASS SET HelpAend='N'");
  });
  create(t, "tblHelpGruppe", kTblHelpGruppe);
  for (const char* statement : kHelpGroups) send(t, statement);
  // The script empties tblHelp and inserts the topics again; it holds no
  // batch separators and goes to the server as one command.
  t.lines(db::split_lines(steps::stored_script("memoHelp")), db::Guard::warning());
}

constexpr ColumnAddition kClubOnlineColumns[] = {
    {kNoStep, "mandstam", "Online1", "char", "(1)", "NULL"},
    {kNoStep, "mandstam", "IBAN2", "varchar", "(30)", "NULL"},
    {kNoStep, "mandstam", "BIC2", "varchar", "(30)", "NULL"},
    {kNoStep, "mandstam", "Online2", "char", "(1)", "NULL"},
    {kNoStep, "mandstam", "IBAN3", "varchar", "(30)", "NULL"},
    {kNoStep, "mandstam", "BIC3", "varchar", "(30)", "NULL"},
    {kNoStep, "mandstam", "Online3", "char", "(1)", "NULL"},
};

// A new table starts at '0' and is then raised to this release like an
// existing one.
const Lines kTblVersion[] = {
    {"CREATE TABLE [dbo].[tblVersion](", "[Version] [varchar] (50) NOT NULL)"},
    {"INSERT INTO tblVersion (Version) VALUES ('0')"},
};

void set_version(Tenant& t) {
  create(t, "tblVersion", kTblVersion);
  if (!t.read("SELECT * FROM tblVersion").empty())
    send(t, "UPDATE tblVersion SET Version='10'");
  else
    send(t, "INSERT INTO tblVersion (Version) VALUES('10')");
}

// The last row adds MandKonten.BIC: its added flag decides the rebuild.
constexpr ColumnAddition kIbanBicColumns[] = {
    {kNoStep, "MandKonten", "Online", "char", "(1)", "NULL"},
    {kNoStep, "MgUeberw", "IBAN", "varchar", "(30)", "NULL"},
    {kNoStep, "MgUeberw", "BIC", "varchar", "(30)", "NULL"},
    {kNoStep, "MgUeberw", "Auft_IBAN", "varchar", "(30)", "NULL"},
    {kNoStep, "MgUeberw", "Auft_BIC", "varchar", "(30)", "NULL"},
    {kNoStep, "MgKontoUms", "IBAN", "varchar", "(30)", "NULL"},
    {kNoStep, "MgKontoUms", "BIC", "varchar", "(30)", "NULL"},
    {kNoStep, "MandKonten", "IBAN", "varchar", "(30)", "NULL"},
    {kNoStep, "MandKonten", "BIC", "varchar", "(30)", "NULL"},
};

// `value` quoted and followed by `tail`, or `fallback` when it is empty.
std::string value_or(const std::string& value, const char* tail, const char* fallback) {
  return value.empty() ? fallback : db::quoted(value) + tail;
}

// The row of one slot, with its online flag ('N' unless set), IBAN, BIC and
// ledger account. Values are quoted, so that a bank called O'Neill is stored
// rather than refused.
Lines mand_konten_row(const db::Rowset& mandstam, const stage2::BankSlot& slot, int i) {
  return {"INSERT INTO MandKonten (Bank, Konto, BLZ, Online, IBAN, BIC, FibuKonto)",
          "VALUES (",
          db::quoted(slot.bank) + ",",
          db::quoted(slot.account) + ",",
          db::quoted(slot.bank_code) + ",",
          value_or(stage2::slot_value(mandstam, "Online", i), ",", "'N',"),
          value_or(stage2::slot_value(mandstam, "IBAN", i), ",", "NULL,"),
          value_or(stage2::slot_value(mandstam, "BIC", i), ",", "NULL,"),
          value_or(stage2::slot_value(mandstam, "Fibukonto", i), ")", "NULL)")};
}

// With their new columns the club accounts are taken over again from the
// club master record, which by now carries the IBAN and BIC of each slot.
void rebuild_club_accounts(Tenant& t) {
  db::Rowset mandstam = t.read("SELECT * FROM Mandstam");
  send(t, "DELETE FROM MandKonten", db::Guard::warning());
  for (int i = 1; i <= 3; ++i) {
    std::optional<stage2::BankSlot> slot = stage2::bank_slot(mandstam, i);
    if (slot) t.lines(mand_konten_row(mandstam, *slot, i), db::Guard::warning());
  }
}

const Lines kSepaProtokol[] = {
    {"CREATE TABLE [dbo].[SEPA_Protokol](", "[ID] INT IDENTITY (1,1) NOT NULL,", "[Auswahl] CHAR (1) NOT NULL,",
     "[Datum] DateTime NOT NULL,", "[Konto] varchar (50) NOT NULL,", "[Kontoname] varchar (120) NULL,",
     "[Adr_Nummer] INT NULL,", "[Adr_Name] varchar (120) NULL,", "[Zweck_1] varchar (120) NULL,",
     "[Zweck_2] varchar (120) NULL,", "[Zeile_13] varchar (120) NULL,", "[Zeile_14] varchar (120) NULL,",
     "[Betrag_Eu] numeric (18,8) NULL,", "[Auft_IBAN] varchar (30) NULL,", "[Auft_BIC] varchar (30) NULL,",
     "[Gesamt] numeric (18,8) NULL,", "[Erf] char (1) NOT NULL,", "[ErfBenutzer] varchar (30) NULL,",
     "[ErfDatum] DateTime NULL)"},
    {"ALTER TABLE SEPA_Protokol ADD CONSTRAINT [PK_SEPA_Protokol] PRIMARY KEY CLUSTERED (ID) ON [PRIMARY]"},
};

// The key keeps the name it was first given.
const Lines kSepaProtokolS[] = {
    {"CREATE TABLE [dbo].[SEPA_ProtokolS](", "ID INT NOT NULL,", "LfdNr INT NOT NULL)"},
    {"ALTER TABLE SEPA_ProtokolS ADD CONSTRAINT [PK_SEPA_UberProtS] PRIMARY KEY CLUSTERED (ID,LfdNr) ON [PRIMARY]"},
};

// SEPA comes last: its added flag decides the fill.
constexpr ColumnAddition kTemplateSepaColumns[] = {
    {kNoStep, "MgUeberwVorl", "IBAN", "varchar", "(30)", "NULL"},
    {kNoStep, "MgUeberwVorl", "BIC", "varchar", "(30)", "NULL"},
    {kNoStep, "MgUeberwVorl", "Auft_IBAN", "varchar", "(30)", "NULL"},
    {kNoStep, "MgUeberwVorl", "Auft_BIC", "varchar", "(30)", "NULL"},
    {kNoStep, "MgUeberwVorl", "SEPA", "char", "(1)", "NULL"},
};

void add_sepa_flags(Tenant& t) {
  t.atomically([&] {
    steps::add_columns(t, kTemplateSepaColumns);
    if (t.sql.added()) send(t, "UPDATE MgUeberwVorl SET SEPA='N'");
  });
  t.atomically([&] {
    t.sql.AddField("MgUeberw", "SEPA", "char", "(1)", "NULL");
    if (t.sql.added()) send(t, "UPDATE MgUeberw SET SEPA='N'");
  });
}

const Lines kOnlKontAnm[] = {
    {"CREATE TABLE [dbo].[OnlKontAnm] (", "Bank varchar (80) NOT NULL,", "Konto varchar (15) NOT NULL,",
     "BLZ varchar (10) NOT NULL,", "Online char (1) NOT NULL,", "Auswahl char (1) NOT NULL,",
     "AuszugeLesenAb DateTime NULL,", "LetztesAbholdatum  DateTime NULL)"},
    {"ALTER TABLE OnlKontAnm ADD CONSTRAINT [PK_OnlKontAnm] PRIMARY KEY CLUSTERED (Bank,Konto,BLZ) ON [PRIMARY]"},
};

}  // namespace

void help_version_sepa_log_and_online_accounts(Tenant& t) {
  load_help(t);
  steps::add_columns(t, kClubOnlineColumns);
  set_version(t);
  t.atomically([&] {
    steps::add_columns(t, kIbanBicColumns);
    if (t.sql.added()) rebuild_club_accounts(t);
  });
  create(t, "SEPA_Protokol", kSepaProtokol);
  create(t, "SEPA_ProtokolS", kSepaProtokolS);
  add_sepa_flags(t);
  create(t, "OnlKontAnm", kOnlKontAnm);
}

}  // namespace upgrade
