// Stage I, first block: club settings on Mandstam, bank and phone columns on
// the address tables, AdrFunktion, the F5DAT key conversion with the tax-key
// renumbering, and the parent link of the bookings.
#include <array>

#include "steps/schema_steps.h"
#include "upgrade/stages.h"

namespace upgrade {
namespace {

using steps::ColumnAddition;
using steps::kNoStep;
using steps::kStepBefore;
using steps::Lines;

constexpr ColumnAddition kClubAndAddressColumns[] = {
    {kStepBefore, "Mandstam", "VereinUebUntgliedAbt", "smallint", "", "Null"},
    {kStepBefore, "Mandstam", "Mitgliederverwaltung", "char", "(1)", "Null"},
    {kStepBefore, "Mandstam", "Beitragseinzug", "char", "(1)", "Null"},
    {kStepBefore, "Mandstam", "Finanzbuchaltung", "char", "(1)", "Null"},
    {kStepBefore, "Mandstam", "FinanzbuchaltungMitKoSt", "char", "(1)", "Null"},
    {kStepBefore, "Mandstam", "VereinUMStPflichtig", "char", "(1)", "Null"},
    {kNoStep, "Mandstam", "Vereinsart", "char", "(1)", "Null"},
    {kStepBefore, "inter", "Nr", "Int", "", "Null"},
    {kNoStep, "Adresse", "IBAN1", "varchar", "(40)", "Null"},
    {kNoStep, "Adresse", "IBAN2", "varchar", "(40)", "Null"},
    {kNoStep, "Adresse", "IBAN3", "varchar", "(40)", "Null"},
    {kNoStep, "Adresse", "BIC1", "varchar", "(40)", "Null"},
    {kNoStep, "Adresse", "BIC2", "varchar", "(40)", "Null"},
    {kNoStep, "Adresse", "BIC3", "varchar", "(40)", "Null"},
    {kNoStep, "Adresse", "Vorwahl2", "varchar", "(10)", "Null"},
    {kNoStep, "Adresse", "Vorwahl3", "varchar", "(10)", "Null"},
    {kNoStep, "Adresse", "Vorwahl4", "varchar", "(10)", "Null"},
    {kNoStep, "Inter", "Landesverband", "varchar", "(30)", "Null"},
    {kNoStep, "Inter", "VerbandNr", "integer", "", "Null"},
    // The trailing blanks are part of the names the application has always
    // passed; the server ignores them in the probe and in ALTER TABLE.
    {kNoStep, "Interes", "Eintritt ", "datetime", "", "Null"},
    {kNoStep, "Interes", "Austritt ", "datetime", "", "Null"},
    {kNoStep, "Interes", "Status ", "varchar", "(50)", "Null"},
    {kStepBefore, "HyAdresse", "IBAN1", "varchar", "(40)", "Null"},
    {kNoStep, "HyAdresse", "IBAN2", "varchar", "(40)", "Null"},
    {kNoStep, "HyAdresse", "IBAN3", "varchar", "(40)", "Null"},
    {kNoStep, "HyAdresse", "BIC1", "varchar", "(40)", "Null"},
    {kNoStep, "HyAdresse", "BIC2", "varchar", "(40)", "Null"},
    {kNoStep, "HyAdresse", "BIC3", "varchar", "(40)", "Null"},
    {kNoStep, "HyAdresse", "Vorwahl2", "varchar", "(10)", "Null"},
    {kNoStep, "HyAdresse", "Vorwahl3", "varchar", "(10)", "Null"},
    {kNoStep, "HyAdresse", "Vorwahl4", "varchar", "(10)", "Null"},
    {kNoStep, "F5Kont", "Steuersammelkonto", "varchar", "(1)", "Null"},
    {kStepBefore, "F6KOST", "Kostenart", "varchar", "(10)", "Null"},
    {kStepBefore, "F6KOST", "Etat", "numeric", "(18,8)", "Null"},
};

// The functions an address holds; taken over once from Adresse.Funktion.
// The filter lets an empty Funktion through: every non-NULL value counts.
const Lines kAdrFunktion[] = {
    {"CREATE TABLE dbo.AdrFunktion (", "AdrNr integer NOT NULL,", "Funktion Varchar(80) NOT NULL,", "Nr integer NULL,",
     "DatumVon datetime NULL,", "DatumBis datetime NULL)"},
    {"ALTER TABLE [dbo].[AdrFunktion]  ADD", "CONSTRAINT [PK_AdrFunktion] PRIMARY KEY CLUSTERED",
     "([AdrNr],[Funktion]) ON [PRIMARY]"},
    {"ALTER TABLE [dbo].[AdrFunktion]  WITH CHECK ADD  CONSTRAINT [FK_AdrFunktion_Adresse] FOREIGN KEY([AdrNr])",
     "REFERENCES [dbo].[Adresse] ([AdrNr])"},
    {"INSERT INTO AdrFunktion (AdrNr, Funktion, Nr)",
     "SELECT AdrNr, Funktion, 1 FROM Adresse WHERE (Funktion IS NOT NULL OR Funktion<>'')"},
};

constexpr ColumnAddition kInterestColumns[] = {
    {kNoStep, "Interes1", "Nr", "integer", "", "Null"},
    {kStepBefore, "Interes1", "Datum", "datetime", "", "Null"},
};

// F5DAT gets a running row number as second key column, so that one tax key
// may have several rows; only then may the old four-digit keys be folded
// onto the new ones.
constexpr const char* kF5DatKeyConversion[] = {
    "Alter Table F5DAT Drop Constraint PK_F5DAT",
    "ALTER TABLE [dbo].[F5DAT] WITH NOCHECK ADD  CONSTRAINT [PK_F5DAT] PRIMARY KEY  CLUSTERED ([STEUERSCHL],[LfdNr])  ON [PRIMARY] ",
    "UPDATE F5Dat SET STEUERSCHL=19 WHERE STEUERSCHL=1190",
    "UPDATE F5Dat SET STEUERSCHL=17 WHERE STEUERSCHL=1170",
    "UPDATE F5Dat SET STEUERSCHL=7 WHERE STEUERSCHL=1070",
    "UPDATE F5Dat SET STEUERSCHL=16 WHERE STEUERSCHL=1160",
};

// Every run: accounts may still carry old keys written by the application.
constexpr const char* kF5KontTaxKeys[] = {
    "UPDATE F5Kont SET STSCHL=19 WHERE STSCHL=1190",
    "UPDATE F5Kont SET STSCHL=17 WHERE STSCHL=1170",
    "UPDATE F5Kont SET STSCHL=7 WHERE STSCHL=1070",
    "UPDATE F5Kont SET STSCHL=16 WHERE STSCHL=1160",
};

void convert_f5dat_key(Tenant& t) {
  t.sql.AddField("F5DAT", "LfdNr", "INT", "IDENTITY (1,1)", "NOT NULL");
  steps::exec_each(t, kF5DatKeyConversion, db::Guard::unguarded());
}

}  // namespace

void club_settings_and_bank_columns(Tenant& t) {
  steps::add_columns(t, kClubAndAddressColumns);
  t.step();

  steps::create_if_missing(t, "AdrFunktion", kAdrFunktion);
  t.step();

  steps::add_columns(t, kInterestColumns);
  t.step();
  // The Klasse column is the marker: the run that creates it converts F5DAT,
  // whether or not LfdNr exists already. Column and conversion are one
  // transaction, so that no run finds the marker without the conversion.
  t.atomically([&] {
    if (t.sql.AddField("F5Dat", "Klasse", "char", "(1)", "Null")) convert_f5dat_key(t);
  });

  steps::exec_each(t, kF5KontTaxKeys, db::Guard::unguarded());

  t.sql.AddField("F5BEW4", "Parent", "int", "", "Null");
}

}  // namespace upgrade
