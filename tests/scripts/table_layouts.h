// The tables the stored scripts load into, in the layout the upgrade gives
// them at the moment each script runs.
#pragma once

#include <string>

#include "scripts/account_layout.h"

namespace layouts {

// "CREATE TABLE dbo.<name> (" with the account layout and, for the chart,
// its two added columns, and the clustered key on (BUCHJAHR, KONTONR).
inline std::string account_table(const std::string& name, bool with_chart_columns) {
  std::string sql = "CREATE TABLE dbo." + name + " (\r\n";
  auto add = [&](const scripts::LayoutColumn& c) {
    sql += "[" + std::string(c.name) + "] [" + std::string(c.type) + "]";
    if (!c.size.empty()) sql += "(" + std::string(c.size) + ")";
    sql += c.not_null ? " NOT NULL,\r\n" : " NULL,\r\n";
  };
  for (const auto& column : scripts::kAccountColumns) add(column);
  if (with_chart_columns) {
    for (const auto& column : scripts::kChartExtraColumns) add(column);
  }
  sql += "CONSTRAINT [PK_" + name + "] PRIMARY KEY CLUSTERED ([BUCHJAHR], [KONTONR])) ON [PRIMARY]";
  return sql;
}

inline const char* kTaxKeyTable =
    "CREATE TABLE dbo.F5DatSKR49 (\r\n[STEUERSCHL] [smallint] NOT NULL,\r\n[MWSTKTO] [int] NULL,\r\n"
    "[VORST_KTO] [int] NULL,\r\n[BFG_BASIS] [smallint] NULL,\r\n[BFB_GGKTO] [smallint] NULL,\r\n"
    "[BEG] [varchar](5) NULL,\r\n[Klasse] [char](1) NULL,\r\n[LfdNr] [int] IDENTITY(1,1) NOT NULL\r\n"
    ") ON [PRIMARY]\r\n"
    "ALTER TABLE [dbo].[F5DatSKR49]  ADD CONSTRAINT [PK_F5DatSKR49] PRIMARY KEY CLUSTERED (\r\n"
    "[STEUERSCHL] ASC,\r\n[LfdNr] ASC\r\n)WITH (IGNORE_DUP_KEY = OFF) ON [PRIMARY]";

inline const char* kDepreciationTable =
    "CREATE TABLE dbo.Anlagetabelle (\r\nName varchar(240) NOT NULL,\r\nNutzungsdauer integer NOT NULL,\r\n"
    "Fundstelle varchar(20) NOT NULL)\r\n"
    "ALTER TABLE [dbo].[Anlagetabelle] ADD CONSTRAINT [PK_Anlagetabelle] PRIMARY KEY CLUSTERED ([Name])";

inline const char* kNumberedSports =
    "CREATE TABLE dbo.VerbSportArt (\r\n[Nummer] [varchar](3) NOT NULL,\r\n[Sportart] [varchar](120) NULL,\r\n"
    "[Kennung] [varchar](50) NULL,\r\n) ON [PRIMARY]\r\n"
    "ALTER TABLE [dbo].[VerbSportArt]  ADD CONSTRAINT [PK_VerbSportArt] PRIMARY KEY CLUSTERED (\r\n"
    "[Nummer] ASC\r\n)WITH (IGNORE_DUP_KEY = OFF) ON [PRIMARY]\r\n"
    "ALTER TABLE VerbSportArt ADD LfdNr int NULL";

inline const char* kNationalFederations =
    "CREATE TABLE DSAFachverband (\r\nNr VARCHAR (3) NOT NULL,\r\nBezeichnung VARCHAR (200) NOT NULL)\r\n"
    "ALTER TABLE [dbo].[DSAFachverband]  ADD\r\nCONSTRAINT [PK_DSAFachverband] PRIMARY KEY CLUSTERED\r\n"
    "([Nr]) ON [PRIMARY]";

// Sports and federations per regional federation; `running_number` is the
// type of LfdNr: "INT" while a script gives it, "INT IDENTITY (1,1)" while
// a script leaves it out.
inline std::string sports_table(const std::string& running_number) {
  return "CREATE TABLE dbo.Sportarten (KZ varchar(50) NOT NULL, NUMMER varchar(20) NOT NULL, "
         "SPORTART varchar(120) NULL, VerbandNr varchar(20) NULL, LfdNr " +
         running_number +
         " NOT NULL, "
         "CONSTRAINT PK_Sportarten PRIMARY KEY CLUSTERED (KZ, NUMMER, LfdNr))";
}
inline std::string federations_table(const std::string& running_number) {
  return "CREATE TABLE dbo.fachverbaende (KZ varchar(50) NOT NULL, NUMMER varchar(20) NOT NULL, "
         "FACHVERBAN varchar(120) NULL, Kn char(1) NULL, LfdNr " +
         running_number +
         " NOT NULL, "
         "CONSTRAINT PK_fachverbaende PRIMARY KEY CLUSTERED (KZ, NUMMER, LfdNr))";
}

inline const char* kHelpTopics =
    "CREATE TABLE dbo.tblHelp (PARENTID INT NULL, FORM varchar(50) NOT NULL, CID varchar(50) NOT NULL, "
    "Bezeichnung varchar(80) NULL, Memo text NULL, Notes text NULL, Benutzer varchar(50) NULL, "
    "RadDat datetime NULL, Gruppe varchar(50) NULL, PROGRAM varchar(5) NOT NULL, "
    "CONSTRAINT PK_tblHelp PRIMARY KEY CLUSTERED (FORM, CID, PROGRAM))";

// The bank directory after stage II: the old columns, the added ones and
// the identity ID in the key.
inline const char* kBankDirectory =
    "CREATE TABLE dbo.D_blz (BLZ varchar(8) NOT NULL, LfdNr int NULL, BANK varchar(255) NULL, "
    "ORT varchar(255) NULL, Merkmal integer NULL, Bezeichnung VARCHAR(255) NULL, PAN VARCHAR(10) NULL, "
    "PLZ VARCHAR(10) NULL, BIC VARCHAR(80) NULL, Pr_Ziff VARCHAR(10) NULL, Datensatznummer VARCHAR(10) NULL, "
    "AendKz CHAR(1) NULL, BLZ_Loe integer NULL, NACHFOLGE_BLZ VARCHAR(20) NULL, Postfach VARCHAR(20) NULL, "
    "ID integer IDENTITY(1,1) NOT NULL, CONSTRAINT PK_D_BLZ PRIMARY KEY CLUSTERED (BLZ, ID))";

}  // namespace layouts
