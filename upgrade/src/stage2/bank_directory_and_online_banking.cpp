// Stage II, fourth block: the bank directory grows from the old four columns
// to the full bank-code record with a surrogate ID and the key (BLZ, ID);
// the online-banking tables (per-user work copy of the statement lines, the
// log, the balances); the certificate and ELSTER settings of the club, the
// running number of the SEPA log, the mandate reference of the addresses
// and the balance date of the statement lines.
#include <string_view>

#include "steps/schema_steps.h"
#include "upgrade/stages.h"

namespace upgrade {
namespace {

using steps::ColumnAddition;
using steps::kNoStep;
using steps::Lines;

// ID comes last: the run that creates it rebuilds the directory. The size
// "identity" makes the server number the rows already there.
constexpr ColumnAddition kBankDirectoryColumns[] = {
    {kNoStep, "d_blz", "Merkmal", "integer", "", "Null"},
    {kNoStep, "d_blz", "Bezeichnung", "VARCHAR", "(255)", "Null"},
    {kNoStep, "d_blz", "PAN", "VARCHAR", "(10)", "Null"},
    {kNoStep, "d_blz", "PLZ", "VARCHAR", "(10)", "Null"},
    {kNoStep, "d_blz", "BIC", "VARCHAR", "(80)", "Null"},
    {kNoStep, "d_blz", "Pr_Ziff", "VARCHAR", "(10)", "Null"},
    {kNoStep, "d_blz", "Datensatznummer", "VARCHAR", "(10)", "Null"},
    {kNoStep, "d_blz", "AendKz", "CHAR", "(1)", "Null"},
    {kNoStep, "d_blz", "BLZ_Loe", "integer", "", "Null"},
    {kNoStep, "d_blz", "NACHFOLGE_BLZ", "VARCHAR", "(20)", "Null"},
    {kNoStep, "d_blz", "Postfach", "VARCHAR", "(20)", "Null"},
    {kNoStep, "d_blz", "Bundesland", "VARCHAR", "(50)", "Null"},
    {kNoStep, "d_blz", "Email", "VARCHAR", "(255)", "Null"},
    {kNoStep, "d_blz", "Telefon", "VARCHAR", "(80)", "Null"},
    {kNoStep, "d_blz", "FAx", "VARCHAR", "(80)", "Null"},
    {kNoStep, "d_blz", "Homepage", "VARCHAR", "(255)", "Null"},
    {kNoStep, "d_blz", "Land", "VARCHAR", "(4)", "Null"},
    {kNoStep, "d_blz", "Kennzeichen", "VARCHAR", "(20)", "Null"},
    {kNoStep, "d_blz", "Sektor", "VARCHAR", "(50)", "Null"},
    {kNoStep, "d_blz", "Strasse", "VARCHAR", "(255)", "Null"},
    {kNoStep, "d_blz", "ID", "integer", "identity", "NOT NULL"},
};

// Older releases kept bank name and town narrower than the names of the
// bank-code directory that stage III loads.
constexpr const char* kNameAndTownWidening[] = {
    "ALTER TABLE dbo.D_BLZ ALTER COLUMN BANK varchar(255) NULL",
    "ALTER TABLE dbo.D_BLZ ALTER COLUMN Ort varchar(255) NULL",
};

const Lines kBankDirectoryKey = {"ALTER TABLE [dbo].[D_BLZ] ADD", "CONSTRAINT [PK_D_BLZ] PRIMARY KEY CLUSTERED",
                                 "([BLZ],[ID]) ON [PRIMARY]"};

constexpr ColumnAddition kClubOnlineSettings[] = {
    {kNoStep, "mandstam", "Zertifikat", "VARCHAR", "(250)", "Null"},
    {kNoStep, "mandstam", "ElsterPIN", "VARCHAR", "(20)", "Null"},
};

// The statement lines a user fetched online, kept apart until he takes them
// over. WZ1 is wider here than in MgKontoUms.
const Lines kTmpMgKontoUms[] = {
    {"CREATE TABLE dbo.tmpMgKontoUms (",
     "LfdNr int IDENTITY (1,1) NOT NULL,",
     "Benutzer varchar(40) NOT NULL,",
     "Status VARCHAR (50) NULL,",
     "Datum DateTime NULL,",
     "Werstellung varchar(120) NULL,",
     "Empfanger varchar(120) NULL,",
     "WZ1 varchar(140) NULL,",
     "Soll numeric (18,8) NULL,",
     "Haben numeric (18,8) NULL,",
     "Fibukonto int NULL,",
     "KoSt int NULL,",
     "AdrNr int NULL,",
     "WZ2 varchar (120) NULL,",
     "ID varchar (40) NULL,",
     "Bank varchar (80) NULL,",
     "OnlineBlz varchar (40) NULL,",
     "OnlineKonto varchar (40) NULL,",
     "Lastschrift char (1) NULL,",
     "IBAN varchar (30) NULL,",
     "BIC varchar (30) NULL)"},
    {"ALTER TABLE [dbo].[tmpMgKontoUms]  ADD", "CONSTRAINT [PK_tmpMgKontoUms] PRIMARY KEY CLUSTERED",
     "([LfdNr]) ON [PRIMARY]"},
};

const Lines kTblOnlLog[] = {
    {"CREATE TABLE dbo.tblOnlLog (", "ID int IDENTITY (1,1) NOT NULL,", "NR int NOT NULL,", "Status int NOT NULL,",
     "Vorgang varchar (200) NULL,", "Komentar varchar (200) NULL,", "Ergebnis varchar (200) NULL)"},
    {"ALTER TABLE [dbo].[tblOnlLog]  ADD", "CONSTRAINT [PK_tblOnlLog] PRIMARY KEY CLUSTERED", "([ID]) ON [PRIMARY]"},
};

// One balance per account and day.
const Lines kOnlKontoStand[] = {
    {"CREATE TABLE dbo.OnlKontoStand (", " Konto varchar (15) NOT NULL,", " Datum DateTime NOT NULL,",
     " Saldo numeric (18,8) NOT NULL)"},
    {"ALTER TABLE [dbo].[OnlKontoStand]  ADD", "CONSTRAINT [PK_OnlKontoStand] PRIMARY KEY CLUSTERED",
     "([Konto], [Datum]) ON [PRIMARY]"},
};

constexpr ColumnAddition kBalanceDates[] = {
    {kNoStep, "MgKontoUms", "OnlSaldoDat", "DateTime", "", "Null"},
    {kNoStep, "tmpMgKontoUms", "OnlSaldoDat", "DateTime", "", "Null"},
};

// Unguarded: a directory that cannot take the longer names would truncate
// every bank that stage III loads, so the run stops here.
void widen_name_and_town(Tenant& t) { steps::exec_each(t, kNameAndTownWidening, db::Guard::unguarded()); }

void run_bank_directory_script(Tenant& t) {
  std::string_view text = steps::stored_script("MemoBLZ1");
  // The script carries no statements (the directory is loaded in stage III),
  // and the client layer refuses an empty command: sending it would put a
  // warning in front of the user on every tenant for nothing.
  if (text.empty()) {
    t.sql.runner().skip(db::Channel::Lines, "MemoBLZ1: the stored script is empty", db::Guard::warning());
    return;
  }
  t.sql.Execute(text, db::Channel::Lines, db::Guard::warning());
}

// The old rows carry no ID worth keeping; the directory is emptied so that
// the new key is set on an empty table and stage III reloads it whole.
void rebuild_bank_directory(Tenant& t) {
  t.lines({"DELETE FROM D_BLZ"}, db::Guard::warning());
  widen_name_and_town(t);
  t.lines(kBankDirectoryKey, db::Guard::warning());
  run_bank_directory_script(t);
}

}  // namespace

void bank_directory_and_online_banking(Tenant& t) {
  // The ID column marks the rebuild: both are one transaction, so that a run
  // cut off inside the rebuild leaves the old directory to be rebuilt again.
  t.atomically([&] {
    steps::add_columns(t, kBankDirectoryColumns);
    if (t.sql.added()) rebuild_bank_directory(t);
  });
  widen_name_and_town(t);

  steps::add_columns(t, kClubOnlineSettings);
  steps::create_if_missing(t, "tmpMgKontoUms", kTmpMgKontoUms);
  steps::create_if_missing(t, "tblOnlLog", kTblOnlLog);

  t.sql.AddField("SEPA_Protokol", "LfdNr", "int", "", "Null");
  t.sql.AddIndex("SEPA_Protokol", "i_SEPA_Protokol_LfdNr", "LfdNr");
  // Filled later in stage II, together with the SEPA mandate tables.
  t.sql.AddField("Adresse", "mandatsrefenz", "varchar", "(35)", "Null");

  steps::create_if_missing(t, "OnlKontoStand", kOnlKontoStand);

  // A work copy created by an earlier release lacks the balance date too.
  steps::add_columns(t, kBalanceDates);
  t.sql.AddIndex("MgKontoUms", "i_MgKontoUms_OnlSaldoDat", "OnlSaldoDat");
}

}  // namespace upgrade
