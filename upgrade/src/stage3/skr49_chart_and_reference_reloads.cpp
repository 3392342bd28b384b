// Stage III, last block: the SKR 49 chart of accounts with its tax keys, the
// numbered sports list VerbSportArt, and the one-time reloads of reference
// data from the stored command scripts. Each reload hangs on a flag column
// of its own: the run that creates the column deletes the old rows and runs
// the script, so a reload happens once per database.
#include <span>
#include <string_view>

#include "steps/schema_steps.h"
#include "steps/template_layouts.h"
#include "upgrade/stages.h"

namespace upgrade {
namespace {

using steps::Lines;

// The trailing comma after Kennung is accepted by the server.
const Lines kVerbSportArt[] = {
    {"CREATE TABLE dbo.VerbSportArt (", "[Nummer] [varchar](3) NOT NULL,", "[Sportart] [varchar](120) NULL,",
     "[Kennung] [varchar](50) NULL,", ") ON [PRIMARY]"},
    {"ALTER TABLE [dbo].[VerbSportArt]  ADD CONSTRAINT [PK_VerbSportArt] PRIMARY KEY CLUSTERED (", "[Nummer] ASC",
     ")WITH (IGNORE_DUP_KEY = OFF) ON [PRIMARY]"},
};

// One list of a reload: its rows go (through qryUpd), then its script
// loads it again.
struct Reload {
  const char* deletion;
  std::string_view script;
};

constexpr Reload kSportNumbersAndDsaFederations[] = {
    {"DELETE FROM VerbSportArt", "cmdVerbSportArt"},
    {"DELETE FROM DSAFachverband", "cmdDSAFachverband"},
};

constexpr Reload kSkr49Chart[] = {
    {"DELETE FROM F5SKR49", "cmdSKR49"},
    {"DELETE FROM F5DATSKR49", "cmdF5DATSKR49"},
};

// The three regional federations whose lists changed; the others keep
// their rows.
constexpr Reload kThreeFederations[] = {
    {"DELETE FROM fachverbaende where KZ in ('BLSV','LSB Thüringen','LSB NRW')", "cmdfachverbaende"},
};

constexpr Reload kThreeFederationsSports[] = {
    {"DELETE FROM Sportarten where KZ in ('BLSV','LSB Thüringen','LSB NRW')", "cmdSportarten"},
};

constexpr std::string_view kBankCodeScripts[] = {"cmdD_blz1", "cmdD_blz2", "cmdD_blz3"};

// Sports numbers get a leading zero per run until they have four digits.
// Sent on the spare command object, every line ended by CR LF.
constexpr std::string_view kPadSportNumbers =
    "update VerbSportArt set Nummer='0'+Nummer\r\nwhere 1=1\r\nand LEN(Nummer)<4\r\n";

// A command script on its own command object; a failure part-way leaves the
// rows inserted so far.
void run_script(Tenant& t, std::string_view name) {
  t.sql.Execute(steps::stored_script(name), db::Channel::Separate, db::Guard::warning());
}

void reload(Tenant& t, std::span<const Reload> lists) {
  for (const Reload& list : lists) {
    t.lines({list.deletion}, db::Guard::warning());
    run_script(t, list.script);
  }
}

void create_chart_tables(Tenant& t) {
  const Lines chart[] = {steps::create_statement("F5SKR49", scripts::kAccountColumns),
                         steps::key_statement("F5SKR49", "BUCHJAHR", "KONTONR")};
  steps::create_if_missing(t, "F5SKR49", chart);
  const Lines tax_keys[] = {steps::create_statement("F5DatSKR49", scripts::kTaxKeyColumns),
                            steps::key_statement("F5DatSKR49", "STEUERSCHL", "LfdNr")};
  steps::create_if_missing(t, "F5DatSKR49", tax_keys);
  steps::create_if_missing(t, "VerbSportArt", kVerbSportArt);
}

// Every run: the sports numbers grow from three to four digits. The key
// has to go while the column changes; NOT NULL is stated with the widening
// because a column altered without it may come back nullable, and a
// nullable column cannot carry the key again. One transaction, so that the
// table is never left without its key.
void widen_sport_numbers(Tenant& t) {
  t.atomically([&] {
    t.sql.DropConstraint("VerbSportArt", "PK_VerbSportArt");
    t.exec("ALTER TABLE VerbSportArt ALTER COLUMN NUMMER varchar (20) NOT NULL", db::Guard::unguarded());
    t.sql.Execute(kPadSportNumbers, db::Channel::Separate, db::Guard::unguarded());
    t.exec(
        "ALTER TABLE [dbo].[VerbSportArt] ADD CONSTRAINT [PK_VerbSportArt] PRIMARY KEY CLUSTERED ([NUMMER]) ON [PRIMARY]",
        db::Guard::warning());
  });
}

// Section I of the result categories; ('I','A') stands for the pair, so
// the two rows go in as one transaction.
void add_section_one(Tenant& t) {
  if (t.sql.RowsExist("SELECT * FROM GuVKennz49 WHERE RimNr='I' and Kennz='A'")) return;
  t.atomically([&] {
    t.lines({"INSERT INTO GuVKennz49 (RimNr, Kennz, Bezeichnung)", "VALUES ('I','A','Einnahmen')"},
            db::Guard::warning());
    t.lines({"INSERT INTO GuVKennz49 (RimNr, Kennz, Bezeichnung)", "VALUES ('I','B','Ausgaben')"},
            db::Guard::warning());
  });
}

// All federations and the bank codes. The federation list brings its own
// running numbers, so LfdNr is a plain column while it loads and becomes
// an identity column again afterwards.
void reload_federations_and_bank_codes(Tenant& t) {
  t.lines({"DELETE FROM fachverbaende"}, db::Guard::warning());
  t.sql.DropConstraint("fachverbaende", "PK_fachverbaende");
  t.exec("ALTER TABLE dbo.fachverbaende DROP COLUMN LfdNr", db::Guard::unguarded());
  t.sql.AddField("fachverbaende", "LfdNr", "INT", "", "NOT NULL");
  run_script(t, "cmdFachverbaendeNeu");
  t.exec("ALTER TABLE dbo.fachverbaende DROP COLUMN LfdNr", db::Guard::unguarded());
  t.sql.AddField("fachverbaende", "LfdNr", "INT", "IDENTITY (1,1)", "NOT NULL");
  t.exec(
      "ALTER TABLE [dbo].[fachverbaende] ADD CONSTRAINT [PK_fachverbaende] PRIMARY KEY CLUSTERED ([KZ],[NUMMER],[LfdNr]) ON [PRIMARY]",
      db::Guard::warning());

  t.lines({"DELETE FROM D_blz"}, db::Guard::warning());
  for (std::string_view script : kBankCodeScripts) run_script(t, script);
}

}  // namespace

void skr49_chart_and_reference_reloads(Tenant& t) {
  create_chart_tables(t);

  // Each reload is one transaction with the flag column that marks it.
  t.sql.AddField("VerbSportArt", "LfdNr", "int", "", "NULL");
  t.atomically([&] {
    t.sql.AddField("PASSDB", "DSA", "bit", "", "NULL");
    if (t.sql.added()) reload(t, kSportNumbersAndDsaFederations);
  });

  widen_sport_numbers(t);

  t.sql.AddField("F5butext", "Kontoart", "varchar", "(10)", "NULL");
  t.exec("ALTER TABLE Adresse ALTER COLUMN DSASportArt varchar(4) NULL", db::Guard::unguarded());
  add_section_one(t);

  // KoSt and DatevAuto complete the row that the chart script inserts.
  t.sql.AddField("F5SKR49", "KoSt", "int", "", "NULL");
  t.sql.AddField("F5SKR49", "DatevAuto", "char(1)", "", "NULL");
  t.atomically([&] {
    t.sql.AddField("EINST", "GuVSKR49", "bit", "", "NULL");
    if (t.sql.added()) reload(t, kSkr49Chart);
  });

  // DOSB1 and GuV49 mark nothing any more; only the flag after them counts.
  t.sql.AddField("PASSDB", "DOSB1", "bit", "", "NULL");
  t.atomically([&] {
    t.sql.AddField("PASSDB", "DOSB2", "bit", "", "NULL");
    if (t.sql.added()) reload(t, kThreeFederations);
  });

  t.sql.AddField("Einst", "GuV49", "bit", "", "NULL");
  t.atomically([&] {
    t.sql.AddField("PASSDB", "DOSB3", "bit", "", "NULL");
    if (t.sql.added()) reload(t, kThreeFederationsSports);
  });

  t.atomically([&] {
    t.sql.AddField("PASSDB", "DOSB4", "bit", "", "NULL");
    if (t.sql.added()) reload_federations_and_bank_codes(t);
  });

  t.sql.AddField("F5bew4sg", "BetragDerGutschrift", "char", "(1)", "Null");
  t.sql.AddField("F5bw4sga", "BetragDerGutschrift", "char", "(1)", "Null");
}

}  // namespace upgrade
