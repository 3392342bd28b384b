// Stage I, last block: the template scripts that replace the fourteen
// template tables with filled ones, keys on the street and town directories,
// the widened path columns, start and end times of W_Vorl, the cost-centre
// groups, the regional sports federations and two club settings.
#include <stdexcept>
#include <string>

#include "scripts/catalog.h"
#include "steps/schema_steps.h"
#include "upgrade/reference_rows.h"
#include "upgrade/stages.h"

namespace upgrade {
namespace {

using steps::ColumnAddition;
using steps::kNoStep;
using steps::Lines;

constexpr ColumnAddition kPassPathColumns[] = {
    {kNoStep, "PASS", "Vorlage_V", "varchar", "(240)", "Null"},
    {kNoStep, "PASS", "Vorl_SB_V", "varchar", "(240)", "Null"},
    {kNoStep, "PASS", "Rechn_Ver", "varchar", "(240)", "Null"},
    {kNoStep, "PASS", "Liste_Verz", "varchar", "(240)", "Null"},
    {kNoStep, "PASS", "VORLAGE_SP", "varchar", "(240)", "Null"},
};

// Every run: older releases created these columns narrower.
constexpr const char* kPathWidening[] = {
    "ALTER TABLE dbo.Kontakt ALTER COLUMN WordFile varchar(240) Null",
    "ALTER TABLE dbo.Pass ALTER COLUMN Vorlage_V varchar(240) Null",
    "ALTER TABLE dbo.Pass ALTER COLUMN Vorl_SB_V varchar(240) Null",
    "ALTER TABLE dbo.Pass ALTER COLUMN Rechn_Ver varchar(240) Null",
    "ALTER TABLE dbo.Pass ALTER COLUMN Liste_Verz varchar(240) Null",
    "ALTER TABLE dbo.Pass ALTER COLUMN VORLAGE_SP varchar(240) Null",
};

// The calendar day of Datum at midnight plus hour and minute of UhrZeit
// (seconds dropped); NULL when UhrZeit is NULL.
constexpr const char* kStartTime =
    "DATEADD(dd, DATEDIFF(dd,0,Datum), 0) + CAST(CAST(DATEPART(hh, UhrZeit) AS VarChar)+':'+Right('0'+CAST(DATEPART(mi, UhrZeit) AS VarChar),2) AS DateTime)";

const Lines kF6KoStGr[] = {
    {"CREATE TABLE dbo.F6KoStGr (", "KoStGr integer NOT NULL,", "Bezeichnung varchar (60) NOT NULL)"},
    {"ALTER TABLE [dbo].[F6KoStGr]  ADD", "CONSTRAINT [PK_F6KoStGr] PRIMARY KEY CLUSTERED", "([KoStGr]) ON [PRIMARY]"},
};

const Lines kTblLSB[] = {
    {"CREATE TABLE dbo.tblLSB (", "Kennung varchar (50) NOT NULL,", "Bezeichnung varchar (50) NOT NULL)"},
    {"ALTER TABLE [dbo].[tblLSB]  ADD", "CONSTRAINT [PK_tblLSB] PRIMARY KEY CLUSTERED", "([Kennung]) ON [PRIMARY]"},
};

struct Federation {
  const char* kennung;
  const char* bezeichnung;
};

// The dash of the Saarland entry is an en dash with a blank on each side.
constexpr Federation kRegionalFederations[] = {
    {"BSB Nord", "Badischer Sportbund Nord"},
    {"BSB Süd", "Badischer Sportbund Freiburg"},
    {"WLSB", "Württembergischer Landessportverband"},
    {"BLSV", "Bayerischer Landessportverband"},
    {"HSB", "Hamburger Sportbund"},
    {"LSB Berlin", "Landessportbund Berlin"},
    {"LSB Brandenburg", "Landessportbund Brandenburg"},
    {"LSB Bremen", "Landessportbund Bremen"},
    {"LSB Hessen", "Landessportbund Hessen"},
    {"LSB Mecklenburg-Vorpommern", "Landessportbund Mecklenburg-Vorpommern"},
    {"LSB Niedersachsen", "Landessportbund Niedersachsen"},
    {"LSB NRW", "Landessportbund Nordrhein-Westfalen"},
    {"LSB Rheinland-Pfalz", "Landessportbund Rheinland-Pfalz"},
    {"LSB Sachsen", "Landessportbund Sachsen"},
    {"LSB Sachsen-Anhalt", "Landessportbund Sachsen-Anhalt"},
    {"LSB Thüringen", "Landessportbund Thüringen"},
    {"LSB – Saarland", "Landessportverband für das Saarland"},
    {"LSB Schleswig-Holstein", "Landessportverband Schleswig-Holstein"},
};

void run_template_scripts(Tenant& t) {
  t.sql.SQLExec(steps::stored_script("Memo1"));  // the seven account templates
  t.sql.SQLExec(steps::stored_script("Memo2"));  // the seven tax-key templates
}

void add_directory_keys(Tenant& t) {
  // Silent: from the second run on the keys exist and the server refuses.
  t.exec("ALTER TABLE d_str ADD CONSTRAINT [PK_d_str] PRIMARY KEY CLUSTERED ([Nr]) ON [PRIMARY]", db::Guard::silent());
  t.exec("ALTER TABLE d_orte ADD CONSTRAINT [PK_d_orte] PRIMARY KEY CLUSTERED ([Nr]) ON [PRIMARY]",
         db::Guard::silent());
}

void widen_paths(Tenant& t) {
  steps::add_columns(t, kPassPathColumns);
  steps::exec_each(t, kPathWidening, db::Guard::unguarded());
}

// The new columns mark the fill as done, so they come with it.
void add_start_and_end_times(Tenant& t) {
  std::string start_time = kStartTime;
  t.atomically([&] {
    t.sql.AddField("W_Vorl", "DatumVon", "datetime", "", "NULL");
    t.sql.AddField("W_Vorl", "DatumBis", "datetime", "", "NULL");
    if (!t.sql.added()) return;
    t.exec("UPDATE W_Vorl SET DatumVon=" + start_time, db::Guard::unguarded());
    // 0.03 of a day: 43 minutes 12 seconds.
    t.exec("UPDATE W_Vorl SET DatumBis=DatumVon+0.03", db::Guard::unguarded());
  });
}

void create_regional_federations(Tenant& t) {
  // The rows go in only with the table; an existing table is left as it is.
  steps::create_if_missing(t, "tblLSB", kTblLSB, db::Guard::warning(), [&] {
    for (const Federation& f : kRegionalFederations) AddLandessportbund(t.sql.runner(), f.kennung, f.bezeichnung);
  });
}

}  // namespace

void template_scripts_and_federations(Tenant& t) {
  run_template_scripts(t);
  add_directory_keys(t);
  widen_paths(t);
  add_start_and_end_times(t);
  t.sql.AddField("F5Kont", "KoSt", "int", "", "NULL");
  steps::create_if_missing(t, "F6KoStGr", kF6KoStGr);
  create_regional_federations(t);
  t.sql.AddField("mandstam", "LSB", "varchar", "(50)", "NULL");
  t.exec("ALTER TABLE dbo.Adresse ALTER COLUMN Firma4 varchar(100) Null", db::Guard::silent());
  t.atomically([&] {
    t.sql.AddField("mandstam", "FibuKost", "char", "(1)", "NULL");
    if (t.sql.added()) t.exec("UPDATE mandstam SET FibuKost='N'", db::Guard::unguarded());
  });
}

}  // namespace upgrade
