// Stage III, first block: the federation numbers widened to texts, the
// one-time restructuring of the sports and federation keys around a running
// number LfdNr, three more regional federations, the due-date function
// reinstalled, wider purpose-of-payment and name columns, the entry and
// leaving date indexes, the new key of W_vorl, the SEPA format version and
// booking amounts rounded up to whole cents. Stage III makes no progress
// step of its own.
#include <span>

#include "steps/schema_steps.h"
#include "upgrade/stages.h"

namespace upgrade {
namespace {

// Every run: federation numbers were integers in older releases, where a
// default of 0 may be bound to them.
constexpr steps::TypeChange kFederationNumberWidening[] = {
    {"dbo.SportartenV", "VerbandNr", "varchar", "ALTER TABLE dbo.SportartenV ALTER COLUMN VerbandNr varchar(20) NULL"},
    {"dbo.Sportarten", "VerbandNr", "varchar", "ALTER TABLE dbo.Sportarten ALTER COLUMN VerbandNr varchar(20) NULL"},
    {"dbo.AdrSART", "VerbandNr", "varchar", "ALTER TABLE dbo.AdrSART ALTER COLUMN VerbandNr varchar(20) NULL"},
    {"dbo.INTER", "VerbandNr", "varchar", "ALTER TABLE dbo.INTER ALTER COLUMN VerbandNr varchar(20) NULL"},
};

// The two lists are reloaded from scratch; AdrSepaVer is emptied with them.
constexpr const char* kEmptiedLists[] = {
    "DELETE FROM AdrSepaVer",
    "DELETE FROM dbo.Sportarten",
    "DELETE FROM dbo.fachverbaende",
};

// The report work tables carry federation numbers and sports codes too.
constexpr const char* kReportWorkTableWidening[] = {
    "ALTER TABLE tmpKSBja ALTER COLUMN Fachverband varchar (20)",
    "ALTER TABLE tmpKSBja ALTER COLUMN Skz2 varchar (20)",
    "ALTER TABLE tmpKSBjaList ALTER COLUMN Skz2 varchar (20)",
    "ALTER TABLE tmpKSBjaList ALTER COLUMN Fachverband varchar (20)",
};

// Only possible once the old keys are gone: a key column cannot be altered.
constexpr const char* kWiderKeyColumns[] = {
    "ALTER TABLE [dbo].[AdrSArt] ALTER COLUMN SArt VARCHAR (20) NOT NULL",
    "ALTER TABLE [dbo].[Sportarten] ALTER COLUMN NUMMER VARCHAR (20) NOT NULL",
    "ALTER TABLE [dbo].[Sportarten] ALTER COLUMN KZ VARCHAR (50) NOT NULL",
    "ALTER TABLE [dbo].[Fachverbaende] ALTER COLUMN KZ VARCHAR (50) NOT NULL",
    "ALTER TABLE dbo.fachverbaende ALTER COLUMN NUMMER varchar(20) NOT NULL",
};

// The new keys, each around the identity column LfdNr.
constexpr const char* kNewKeys[] = {
    "ALTER TABLE [dbo].[fachverbaende] ADD CONSTRAINT [PK_fachverbaende] PRIMARY KEY CLUSTERED ([KZ],[NUMMER],[LfdNr]) ON [PRIMARY]",
    "ALTER TABLE [dbo].[Sportarten] ADD CONSTRAINT [PK_Sportarten] PRIMARY KEY CLUSTERED ([KZ],[NUMMER],[LfdNr]) ON [PRIMARY]",
    "ALTER TABLE [dbo].[SportartenV] ALTER COLUMN NUMMER VARCHAR (20) NOT NULL",
    "ALTER TABLE [dbo].[SportartenV] ADD CONSTRAINT [PK_SportartenV] PRIMARY KEY CLUSTERED ([LfdNr]) ON [PRIMARY]",
    "ALTER TABLE [dbo].[AdrSArt] ADD CONSTRAINT [PK_AdrSArt] PRIMARY KEY CLUSTERED ([AdrNr],[SArt],[LfdNr]) ON [PRIMARY]",
};

// Silent: from the second run on the key Kennung refuses them.
constexpr const char* kRhinelandPalatinateFederations[] = {
    "INSERT INTO tblLSB (Kennung,Bezeichnung) VALUES ('Sportbund Rheinland','Sportbund Rheinland')",
    "INSERT INTO tblLSB (Kennung,Bezeichnung) VALUES ('Sportbund Pfalz','Sportbund Pfalz')",
    "INSERT INTO tblLSB (Kennung,Bezeichnung) VALUES ('Sportbund Rheinhessen','Sportbund Rheinhessen')",
};

// SEPA purpose-of-payment lines: 140 characters on a statement line, 70 on
// each of the two transfer lines.
constexpr const char* kPurposeWidening[] = {
    "ALTER TABLE dbo.MgKontoUms ALTER COLUMN WZ1 varchar(140) Null",
    "ALTER TABLE dbo.tmpMgKontoUms ALTER COLUMN WZ1 varchar(140) Null",
    "ALTER TABLE dbo.MgUeberw ALTER COLUMN WZ1 varchar(70) Null",
    "ALTER TABLE dbo.MgUeberw ALTER COLUMN WZ2 varchar(70) Null",
    "ALTER TABLE dbo.MgUeberwVorl ALTER COLUMN WZ1 varchar(70) Null",
    "ALTER TABLE dbo.MgUeberwVorl ALTER COLUMN WZ2 varchar(70) Null",
};

// The names of the new lists are longer than the old columns allowed.
constexpr const char* kNameWidening[] = {
    "ALTER TABLE dbo.Sportarten ALTER COLUMN SPORTART varchar(120) Null",
    "ALTER TABLE dbo.SportartenV ALTER COLUMN SPORTART varchar(120) Null",
    "ALTER TABLE dbo.fachverbaende ALTER COLUMN FACHVERBAN varchar(120) Null",
    "ALTER TABLE dbo.ADRSART ALTER COLUMN FACHVERBAN varchar(120) Null",
};

// Up to the next whole cent, towards positive infinity; whole cents stay,
// so repeating it changes nothing.
constexpr const char* kRoundedAmounts[] = {
    "update f5bew4s set soll=ROUND(CEILING(Soll*100),0)/100,haben=ROUND(CEILING(Haben*100),0)/100",
    "update f5bew4sg set soll=ROUND(CEILING(Soll*100),0)/100,haben=ROUND(CEILING(Haben*100),0)/100",
};

void drop_old_keys(Tenant& t) {
  t.sql.DropConstraint("Sportarten", "PK_Sportarten_1");
  t.sql.DropConstraint("Sportarten", "PK_Sportarten");
  t.sql.DropConstraint("fachverbaende", "PK_fachverbaende");
  // These two keys go whatever name an older release gave them.
  t.sql.DropPrimaryKey("AdrSArt");
  t.sql.DropPrimaryKey("SportartenV");
}

// The script writes explicit running numbers, so LfdNr is a plain integer
// while it loads and becomes an identity column afterwards.
void reload_lists(Tenant& t) {
  t.exec("ALTER TABLE dbo.Sportarten DROP COLUMN LfdNr", db::Guard::silent());
  t.exec("ALTER TABLE dbo.fachverbaende DROP COLUMN LfdNr", db::Guard::silent());
  t.sql.AddField("Sportarten", "LfdNr", "INT", "", "NULL");
  t.sql.AddField("fachverbaende", "LfdNr", "INT", "", "NOT NULL");
  t.sql.Execute(steps::stored_script("MemoSport2014"), db::Channel::Single, db::Guard::plain());
  t.exec("ALTER TABLE dbo.Sportarten DROP COLUMN LfdNr", db::Guard::unguarded());
  t.sql.AddField("Sportarten", "LfdNr", "INT", "IDENTITY (1,1)", "NOT NULL");
  t.exec("ALTER TABLE dbo.fachverbaende DROP COLUMN LfdNr", db::Guard::unguarded());
  t.sql.AddField("fachverbaende", "LfdNr", "INT", "IDENTITY (1,1)", "NOT NULL");
}

// Runs once, in the run that creates EINST.Kn5a: the sports and federation
// lists are replaced by the current ones and all four tables get keys
// around a running number.
void restructure_sports_keys(Tenant& t) {
  steps::exec_each(t, kEmptiedLists, db::Guard::unguarded());
  t.sql.AddField("SportartenV", "LfdNr", "INT", "IDENTITY (1,1)", "NOT NULL");
  t.sql.AddField("AdrSArt", "LfdNr", "INT", "IDENTITY (1,1)", "NOT NULL");
  steps::exec_each(t, kReportWorkTableWidening, db::Guard::unguarded());
  drop_old_keys(t);
  steps::exec_each(t, kWiderKeyColumns, db::Guard::warning());
  reload_lists(t);
  steps::exec_each(t, kNewKeys, db::Guard::warning());
}

// The function is recreated on every run so that its definition always
// matches this release; the drop fails silently where it is missing. One
// transaction, so that the application never finds the function dropped.
void reinstall_due_date_function(Tenant& t) {
  t.atomically([&] {
    t.exec("DROP FUNCTION dbo.fFalligkeitDatum", db::Guard::silent());
    t.sql.Execute(steps::stored_script("MemoFDat"), db::Channel::Single, db::Guard::plain());
    t.exec("GRANT EXECUTE ON dbo.fFalligkeitDatum TO Public", db::Guard::silent());
  });
}

// LfdNrN stays empty: it only marks that the key was rebuilt around the
// existing LfdNr, so that a failed rebuild is not tried again.
// Marker and rebuild are one transaction: a run cut off between the drop
// and the new key leaves neither a table without key nor the marker.
void rebuild_w_vorl_key(Tenant& t) {
  t.atomically([&] {
    t.sql.AddField("W_vorl", "LfdNrN", "INT", "", "NULL");
    if (!t.sql.added()) return;
    t.exec("Alter Table W_vorl Drop Constraint PK_W_vorl", db::Guard::plain());
    t.exec(
        "ALTER TABLE [dbo].[W_vorl] WITH NOCHECK ADD  CONSTRAINT [PK_W_vorl] PRIMARY KEY  CLUSTERED ([G_DATUM],[BENUTZER],[ADRNR],[ZEIT],[LfdNr])  ON [PRIMARY] ",
        db::Guard::plain());
  });
}

void add_sepa_version(Tenant& t) {
  t.atomically([&] {
    t.sql.AddField("EINST", "SEPAVersion", "varchar", "(25)", "Null");
    if (t.sql.added()) t.lines({"UPDATE EINST SET SEPAVersion='2.6'"}, db::Guard::warning());
  });
  t.exec("ALTER TABLE dbo.EINST ALTER COLUMN SEPAVersion varchar(25) Null", db::Guard::unguarded());
}

}  // namespace

void sports_keys_due_date_function_and_widenings(Tenant& t) {
  steps::change_types(t, kFederationNumberWidening, db::Guard::unguarded());
  t.sql.AddField("fachverbaende", "Kn", "char", "(1)", "NULL");
  // Kn5a marks the restructuring: one transaction with it, so that a run cut
  // off inside never leaves emptied lists or missing keys behind the marker.
  t.atomically([&] {
    t.sql.AddField("EINST", "Kn5a", "char", "(1)", "NULL");
    if (t.sql.added()) restructure_sports_keys(t);
  });

  steps::exec_each(t, kRhinelandPalatinateFederations, db::Guard::silent());
  reinstall_due_date_function(t);

  steps::exec_each(t, kPurposeWidening, db::Guard::unguarded());
  t.sql.AddIndex("Adresse", "IX_Eintritt", "Eintritt");
  t.sql.AddIndex("Adresse", "IX_Austritt", "Austritt");
  // A contract type renamed since the claim was made: the claim shows the
  // current name; a claim whose type is gone gets NULL.
  t.exec("update MgSolln set ArtName=(select Bezeichnung from MgArt where MgArt.Art=mgSolln.Art)",
         db::Guard::unguarded());
  steps::exec_each(t, kNameWidening, db::Guard::unguarded());

  rebuild_w_vorl_key(t);
  add_sepa_version(t);
  steps::exec_each(t, kRoundedAmounts, db::Guard::unguarded());
}

}  // namespace upgrade
