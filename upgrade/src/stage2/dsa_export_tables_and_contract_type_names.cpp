// Stage II, fifth block: what the DSA export of membership-card data needs
// (DSA columns and house number on the addresses, the export tables, the
// login table, the association list with its names cleaned of line breaks,
// the association number of a sport), the contract-type names copied into
// contracts and claims on every run, and the setting for clubs without
// online accounts.
#include <string>

#include "steps/schema_steps.h"
#include "upgrade/stages.h"

namespace upgrade {
namespace {

using steps::ColumnAddition;
using steps::kNoStep;
using steps::Lines;

constexpr ColumnAddition kCardColumns[] = {
    {kNoStep, "Adresse", "DSAKennziffer", "varchar", "(30)", "Null"},
    {kNoStep, "Adresse", "DSAMitglNr", "varchar", "(30)", "Null"},
    {kNoStep, "Adresse", "Hausnummer", "varchar", "(10)", "Null"},
    {kNoStep, "Adresse", "Ausweisnummer", "varchar", "(20)", "Null"},
    {kNoStep, "Adresse", "Gueltigkeitsdatum", "datetime", "", "Null"},
};

const Lines kTblDSA7[] = {
    {"CREATE TABLE tblDSA7 (",           "[LfdNr] [int] IDENTITY(1,1) NOT NULL,",
     "MitglNr varchar (15) NULL,",       "DSAKennziffer varchar (20)  NULL,",
     "DSAMitglNr varchar (10)  NULL,",   "Ausweisnummer varchar (20) NULL,",
     "Gueltigkeitsdatum datetime NULL,", "Anrede varchar (20) NULL,",
     "Anredetitel varchar (60) NULL,",   "Vorname varchar (30) NULL,",
     "Nachname varchar (40) NULL,",      "Geburtsdatum datetime NULL,",
     "Strasse varchar (40) NULL,",       "Hausnummer varchar (10) NULL,",
     "LandISO varchar (2) NULL,",        "PLZ varchar (15) NULL,",
     "Ort varchar (40) NULL,",           "Telefon1 varchar (40) NULL,",
     "Telefon5 varchar (40) NULL,",      "Telefon6 varchar (40) NULL,",
     "Fax varchar (40) NULL,",           "Telefon3 varchar (40) NULL)"},
    {"ALTER TABLE [dbo].[tblDSA7]  ADD", "CONSTRAINT [PK_tblDSA7] PRIMARY KEY CLUSTERED", "([LfdNr]) ON [PRIMARY]"},
};

// Only the application fills it; it needs no key.
const Lines kTblDSALogin[] = {
    {"CREATE TABLE tblDSALogin (", "Benutzer varchar (30) NOT NULL,", "Passwort varchar (30) NOT NULL,",
     "Firmename varchar (30) NOT NULL)"},
};

const Lines kDSAFachverband[] = {
    {"CREATE TABLE DSAFachverband (", "Nr VARCHAR (3) NOT NULL,", "Bezeichnung VARCHAR (200) NOT NULL)"},
    {"ALTER TABLE [dbo].[DSAFachverband]  ADD", "CONSTRAINT [PK_DSAFachverband] PRIMARY KEY CLUSTERED",
     "([Nr]) ON [PRIMARY]"},
};

const Lines kTblDSAExport[] = {
    {"CREATE TABLE tblDSAExport (", "Benutzer varchar (50) NOT NULL,", "AdrNr int NOT NULL,",
     "MitglNr varchar (15) NULL,", "Anrede varchar (20) NULL,", "Anredetitel varchar (60) NULL,",
     "Vorname varchar (30) NULL,", "Nachname varchar (40) NULL,", "Geburtsdatum datetime NULL,",
     "Strasse varchar (40) NULL,", "PLZ varchar (15) NULL,", "Ort varchar (40) NULL,", "Telefon1 varchar (40) NULL,",
     "Telefon5 varchar (40) NULL,", "Telefon6 varchar (40) NULL,", "Fax varchar (40) NULL,",
     "Telefon3 varchar (40) NULL,", "Sportart numeric (18,0) NULL,", "Auswahl char (1) NOT NULL)"},
    {"ALTER TABLE [dbo].[tblDSAExport]  ADD", "CONSTRAINT [PK_tblDSAExport] PRIMARY KEY CLUSTERED",
     "([Benutzer],[AdrNr]) ON [PRIMARY]"},
};

// Some association names of the loaded list span several lines; the export
// wants them on one. CR LF goes first so that a pair becomes one blank, not
// two; the last statement then folds the double blanks once.
constexpr const char* kAssociationNameCleanup[] = {
    "UPDATE DSAFachverband SET Bezeichnung=REPLACE(Bezeichnung,'\r\n',' ')",
    "UPDATE DSAFachverband SET Bezeichnung=REPLACE(Bezeichnung,'\n',' ')",
    "UPDATE DSAFachverband SET Bezeichnung=REPLACE(Bezeichnung,'\r',' ')",
    "UPDATE DSAFachverband SET Bezeichnung=REPLACE(Bezeichnung,'  ',' ')",
};

// Every run: the application renames contribution types, and contracts and
// claims show the name. A type without a row in MgArt leaves the name NULL.
constexpr const char* kContractTypeNames[] = {
    "UPDATE MgVert SET ArtName=A.Bezeichnung FROM MgVert V LEFT JOIN MgArt A ON A.Art=V.Art",
    "ALTER TABLE MgSolln ALTER COLUMN ArtName varchar(120) NULL",
    "UPDATE MgSolln SET ArtName=A.Bezeichnung FROM MgSolln V LEFT JOIN MgArt A ON A.Art=V.Art",
};

// DSABeantragt comes last: the run that creates it sets all three flags.
constexpr ColumnAddition kAssociationColumns[] = {
    {kNoStep, "Adresse", "DSAVerband", "varchar", "(250)", "Null"},
    {kNoStep, "Adresse", "DSASportArt", "varchar", "(4)", "Null"},
    {kNoStep, "Adresse", "DSA_SMK", "char", "(1)", "Null"},
    {kNoStep, "Adresse", "DSA_SVK", "char", "(1)", "Null"},
    {kNoStep, "Adresse", "DSABeantragt", "char", "(1)", "Null"},
};

// The list is loaded only with its table; an existing list is left as it is.
void create_association_list(Tenant& t) {
  steps::create_if_missing(t, "DSAFachverband", kDSAFachverband, db::Guard::warning(),
                           [&] { t.lines({std::string(steps::stored_script("MemoDSAFach"))}, db::Guard::warning()); });
}

// Landname marks the export table as of this release; the run that adds it
// cleans the association names once.
void clean_association_names(Tenant& t) {
  t.atomically([&] {
    t.sql.AddField("tblDSAExport", "Landname", "varchar", "(30)", "Null");
    if (!t.sql.added()) return;
    steps::exec_each(t, kAssociationNameCleanup, db::Guard::unguarded());
  });
}

// Export rows written before AdrNr existed cannot be tied to an address.
void link_export_rows(Tenant& t) {
  t.atomically([&] {
    t.sql.AddField("tblDSA7", "AdrNr", "int", "", "Null");
    if (t.sql.added()) t.exec("DELETE FROM tblDSA7", db::Guard::unguarded());
  });
  t.sql.AddIndex("tblDSA7", "IX_tblDSA7_AdrNr", "AdrNr");
}

void add_association_columns(Tenant& t) {
  t.atomically([&] {
    steps::add_columns(t, kAssociationColumns);
    if (t.sql.added()) t.exec("UPDATE Adresse SET DSA_SMK='N', DSA_SVK='N', DSABeantragt='N'", db::Guard::unguarded());
  });
}

}  // namespace

void dsa_export_tables_and_contract_type_names(Tenant& t) {
  steps::add_columns(t, kCardColumns);
  steps::create_if_missing(t, "tblDSA7", kTblDSA7);
  steps::create_if_missing(t, "tblDSALogin", kTblDSALogin);
  create_association_list(t);
  t.sql.AddField("SportartenV", "DSAFach", "varchar", "(3)", "Null");
  steps::create_if_missing(t, "tblDSAExport", kTblDSAExport);
  clean_association_names(t);
  link_export_rows(t);

  steps::exec_each(t, kContractTypeNames, db::Guard::unguarded());

  add_association_columns(t);
  t.atomically([&] {
    t.sql.AddField("Mandstam", "VereinOhneOnlKonten", "char", "(1)", "Null");
    if (t.sql.added()) t.exec("UPDATE Mandstam SET VereinOhneOnlKonten='N'", db::Guard::unguarded());
  });
}

}  // namespace upgrade
