// Stage I, second block: the key-figure detail table F5kennzD, the
// profit-and-loss sections GuVKennz with their fixed thirteen rows, the
// section details GuVKennzD, the EUR key of F5Kont and the monthly columns
// of the cost centres.
#include "section_reload.h"
#include "steps/schema_steps.h"
#include "upgrade/stages.h"

namespace upgrade {
namespace {

using steps::ColumnAddition;
using steps::kNoStep;
using steps::kStepBefore;
using steps::Lines;

const Lines kF5kennzD[] = {
    {"CREATE TABLE dbo.F5kennzD (", "BILANZ_GUV varchar (6) NOT NULL,", "KENNZAHLH varchar (4) NOT NULL,",
     "Nr int NOT NULL,", "BEZEICHG varchar (100) NULL)"},
    {"ALTER TABLE [dbo].[F5kennzD]  ADD", "CONSTRAINT [PK_F5kennzD] PRIMARY KEY CLUSTERED",
     "([BILANZ_GUV],[KENNZAHLH],[Nr]) ON [PRIMARY]"},
    {"ALTER TABLE [dbo].[F5kennzD]  WITH CHECK ADD  CONSTRAINT [FK_F5kennzD_F5kennz] FOREIGN KEY([BILANZ_GUV],[KENNZAHLH])",
     "REFERENCES [dbo].[F5kennz] ([BILANZ_GUV],[KENNZAHLH])"},
};

const Lines kGuVKennz[] = {
    {"CREATE TABLE dbo.GuVKennz (", "RimNr varchar (4) NOT NULL,", "Kennz Varchar (1) NOT NULL,",
     "Bezeichnung varchar (50) NOT NULL)"},
    {"ALTER TABLE [dbo].[GuVKennz]  ADD", "CONSTRAINT [PK_GuVKennz] PRIMARY KEY CLUSTERED",
     "([RimNr],[Kennz]) ON [PRIMARY]"},
};

const Lines kGuVKennzD[] = {
    {"CREATE TABLE dbo.GuVKennzD (", "RimNr varchar (4) NOT NULL,", "Kennz Varchar (1) NOT NULL,", "Nr int NOT NULL,",
     "Bezeichnung varchar (50) NOT NULL)"},
    {"ALTER TABLE [dbo].[GuVKennzD]  ADD", "CONSTRAINT [PK_GuVKennzD] PRIMARY KEY CLUSTERED",
     "([Nr], [RimNr], [Kennz]) ON [PRIMARY]"},
    {"ALTER TABLE [dbo].[GuVKennzD]  WITH CHECK ADD  CONSTRAINT [FK_GuVKennzD_GuVKennz] FOREIGN KEY([RimNr],[Kennz])",
     "REFERENCES [dbo].[GuVKennz] ([RimNr],[Kennz]) ON UPDATE CASCADE ON DELETE CASCADE"},
};

// February and March are spelt as the application has always named them.
constexpr ColumnAddition kMonthlyCostCentreColumns[] = {
    {kNoStep, "F5Kont", "KennzEUR", "varchar", "(7)", "Null"},
    {kNoStep, "F6KOST", "JanuarK", "numeric", "(19,8)", "Null"},
    {kStepBefore, "F6KOST", "FebrurarK", "numeric", "(19,8)", "Null"},
    {kStepBefore, "F6KOST", "MarzK", "numeric", "(19,8)", "Null"},
    {kStepBefore, "F6KOST", "AprilK", "numeric", "(19,8)", "Null"},
    {kStepBefore, "F6KOST", "MaiK", "numeric", "(19,8)", "Null"},
    {kStepBefore, "F6KOST", "JuniK", "numeric", "(19,8)", "Null"},
    {kStepBefore, "F6KOST", "JuliK", "numeric", "(19,8)", "Null"},
    {kStepBefore, "F6KOST", "AugustK", "numeric", "(19,8)", "Null"},
    {kStepBefore, "F6KOST", "SeptemberK", "numeric", "(19,8)", "Null"},
    {kStepBefore, "F6KOST", "OktoberK", "numeric", "(19,8)", "Null"},
    {kStepBefore, "F6KOST", "NovemberK", "numeric", "(19,8)", "Null"},
    {kStepBefore, "F6KOST", "DezemberK", "numeric", "(19,8)", "Null"},
    {kStepBefore, "F6KOST", "JanuarE", "numeric", "(19,8)", "Null"},
    {kStepBefore, "F6KOST", "FebrurarE", "numeric", "(19,8)", "Null"},
    {kStepBefore, "F6KOST", "MarzE", "numeric", "(19,8)", "Null"},
    {kStepBefore, "F6KOST", "AprilE", "numeric", "(19,8)", "Null"},
    {kStepBefore, "F6KOST", "MaiE", "numeric", "(19,8)", "Null"},
    {kStepBefore, "F6KOST", "JuniE", "numeric", "(19,8)", "Null"},
    {kStepBefore, "F6KOST", "JuliE", "numeric", "(19,8)", "Null"},
    {kStepBefore, "F6KOST", "AugustE", "numeric", "(19,8)", "Null"},
    {kStepBefore, "F6KOST", "SeptemberE", "numeric", "(19,8)", "Null"},
    {kStepBefore, "F6KOST", "OktoberE", "numeric", "(19,8)", "Null"},
    {kStepBefore, "F6KOST", "NovemberE", "numeric", "(19,8)", "Null"},
    {kStepBefore, "F6KOST", "DezemberE", "numeric", "(19,8)", "Null"},
};

}  // namespace

void profit_and_loss_key_tables(Tenant& t) {
  steps::create_if_missing(t, "F5kennzD", kF5kennzD);

  steps::create_if_missing(t, "GuVKennz", kGuVKennz);
  // The VII row marks the list as loaded; once it is there the application
  // owns the table. The reload is one transaction, so that the marker never
  // stands beside a list that is only partly there.
  if (!t.sql.RowsExist("SELECT * FROM GuVKennz WHERE RimNr='VII'")) t.atomically([&] { stage1::reload_sections(t); });
  t.step();

  steps::create_if_missing(t, "GuVKennzD", kGuVKennzD);
  t.step();

  steps::add_columns(t, kMonthlyCostCentreColumns);
  t.step();
  t.step();
}

}  // namespace upgrade
