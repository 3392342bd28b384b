// Tables, columns, keys and indexes as the upgrade creates and changes them.
#include "engine_fixture.h"

namespace standin::test {
namespace {

TEST(EngineSchema, AddColumnTextsOfTheUpgrade) {
  Engine e;
  e.ok("CREATE TABLE Adresse (AdrNr int NOT NULL) CREATE TABLE Interes (x int) CREATE TABLE SportartenV (y int)");
  e.ok("ALTER TABLE dbo.Adresse ADD IBAN1  varchar (40) Null");
  e.ok("ALTER TABLE dbo.Adresse ADD Nr  Int  Null");
  e.ok("ALTER TABLE dbo.Interes ADD Eintritt   datetime  Null");
  e.ok("ALTER TABLE dbo.SportartenV ADD LV  varchar  (60)");
  EXPECT_EQ(
      e.rows("SELECT COLUMN_NAME, DATA_TYPE, CHARACTER_MAXIMUM_LENGTH, IS_NULLABLE FROM Information_Schema.Columns "
             "WHERE Table_Name='SportartenV' AND Column_Name='LV'"),
      (Rows{{"LV", "varchar", "60", "YES"}}));
  // A trailing blank in the probe still finds the column.
  EXPECT_EQ(e.rows("SELECT * FROM Information_Schema.Columns WHERE Table_Catalog='T' AND Table_Schema='dbo' AND "
                   "Table_Name='Interes' AND Column_Name='Eintritt '")
                .size(),
            1u);
  EXPECT_EQ(e.error("ALTER TABLE dbo.Adresse ADD IBAN1  varchar (40) Null"), 2705);
  EXPECT_EQ(e.error("ALTER TABLE dbo.Missing ADD x  int  Null"), 4902);
}

TEST(EngineSchema, AddingAnIdentityColumnNumbersTheRows) {
  Engine e;
  e.ok("CREATE TABLE F5DAT (STEUERSCHL smallint NOT NULL, CONSTRAINT PK_F5DAT PRIMARY KEY (STEUERSCHL))");
  e.ok("INSERT INTO F5DAT VALUES (1190) INSERT INTO F5DAT VALUES (1070)");
  e.ok("ALTER TABLE dbo.F5DAT ADD LfdNr  INT IDENTITY (1,1) NOT NULL");
  EXPECT_EQ(e.rows("SELECT STEUERSCHL, LfdNr FROM F5Dat ORDER BY LfdNr"), (Rows{{"1190", "1"}, {"1070", "2"}}));
  e.ok("Alter Table F5DAT Drop Constraint PK_F5DAT");
  e.ok(
      "ALTER TABLE [dbo].[F5DAT] WITH NOCHECK ADD  CONSTRAINT [PK_F5DAT] PRIMARY KEY  CLUSTERED ([STEUERSCHL],[LfdNr])  ON [PRIMARY] ");
  e.ok("INSERT INTO F5DAT (STEUERSCHL) VALUES (1190)");
  EXPECT_EQ(e.scalar("SELECT MAX(LfdNr) FROM F5DAT"), "3");
  EXPECT_EQ(e.rows(" SELECT  distinct i.name AS IndexName\r\n FROM    sys.indexes AS i INNER JOIN\r\n"
                   " sys.index_columns AS ic ON  i.OBJECT_ID = ic.OBJECT_ID\r\n AND i.index_id = ic.index_id\r\n"
                   " WHERE   i.is_primary_key = 1\r\n and OBJECT_NAME(ic.OBJECT_ID)='F5DAT'\r\n"),
            (Rows{{"PK_F5DAT"}}));
}

TEST(EngineSchema, IdentityOutsideItsRangeIsAnErrorNotACrash) {
  Engine e;
  e.ok("CREATE TABLE F5DAT (STEUERSCHL smallint NOT NULL)");
  e.ok("INSERT INTO F5DAT VALUES (19)");
  // A seed or increment beyond bigint is refused while the text is read.
  EXPECT_EQ(e.error("ALTER TABLE dbo.F5DAT ADD LfdNr INT IDENTITY (1,11111111111111111111111) NOT NULL"), 8115);
  EXPECT_EQ(e.rows("SELECT COUNT(*) FROM INFORMATION_SCHEMA.COLUMNS WHERE TABLE_NAME='F5DAT'"), (Rows{{"1"}}));
  // The next value past bigint's end is an overflow, in either place the
  // engine hands out identity values.
  e.ok("CREATE TABLE Nummern (Nr bigint IDENTITY (9223372036854775806, 1), Text varchar(5))");
  e.ok("INSERT INTO Nummern (Text) VALUES ('a')");
  e.ok("INSERT INTO Nummern (Text) VALUES ('b')");
  EXPECT_EQ(e.error("INSERT INTO Nummern (Text) VALUES ('c')"), 8115);
  EXPECT_EQ(e.scalar("SELECT MAX(Nr) FROM Nummern"), "9223372036854775807");
  e.ok("CREATE TABLE Zwei (Text varchar(5))");
  e.ok("INSERT INTO Zwei VALUES ('a') INSERT INTO Zwei VALUES ('b')");
  EXPECT_EQ(e.error("ALTER TABLE Zwei ADD Nr bigint IDENTITY (9223372036854775807, 1)"), 8115);
  EXPECT_EQ(e.rows("SELECT * FROM Zwei"), (Rows{{"a"}, {"b"}})) << "the failed statement is undone";
}

TEST(EngineSchema, NotNullColumnWithoutDefaultIsRefusedOnRows) {
  Engine e;
  e.ok("CREATE TABLE t (a int) INSERT INTO t VALUES (1)");
  EXPECT_EQ(e.error("ALTER TABLE t ADD b int NOT NULL"), 4901);
  e.ok("CREATE TABLE u (a int)");
  e.ok("ALTER TABLE u ADD b int NOT NULL");
}

TEST(EngineSchema, AlterColumnRefusedOnKeyAndIndexColumns) {
  Engine e;
  e.ok(
      "CREATE TABLE F5Dat (STEUERSCHL smallint NOT NULL, LFDNR int NOT NULL, x varchar(5) NULL, "
      "CONSTRAINT PK_F5DAT PRIMARY KEY CLUSTERED (STEUERSCHL, LFDNR))");
  e.ok("CREATE NONCLUSTERED INDEX ix ON F5Dat (x)");
  EXPECT_EQ(e.error("ALTER TABLE F5Dat ALTER COLUMN STEUERSCHL NUMERIC (19,2) NOT NULL"), 5074);
  EXPECT_EQ(e.error("ALTER TABLE F5Dat ALTER COLUMN x varchar(3) NULL"), 5074);
  e.ok("ALTER TABLE F5Dat DROP CONSTRAINT PK_F5DAT");
  e.ok("INSERT INTO F5Dat VALUES (19, 1, 'a')");
  e.ok("ALTER TABLE F5Dat ALTER COLUMN STEUERSCHL NUMERIC (19,2) NOT NULL");
  EXPECT_EQ(e.scalar("SELECT STEUERSCHL FROM F5Dat"), "19.00");
  e.ok("ALTER TABLE F5Dat ADD CONSTRAINT PK_F5DAT PRIMARY KEY CLUSTERED (STEUERSCHL, LFDNR) ON [PRIMARY]");
}

// ALTER COLUMN without NULL or NOT NULL makes the column nullable (ALTER
// TABLE, "ALTER COLUMN ... NULL | NOT NULL"), so a key on it is then refused:
// https://learn.microsoft.com/en-us/sql/t-sql/statements/alter-table-transact-sql
TEST(EngineSchema, AlterColumnWithoutNullTextMakesTheColumnNullable) {
  Engine e;
  e.ok("CREATE TABLE VerbSportArt ([Nummer] [varchar](3) NOT NULL, [Sportart] [varchar](120) NULL,)");
  e.ok("ALTER TABLE VerbSportArt ALTER COLUMN NUMMER varchar (20)");
  EXPECT_EQ(e.scalar("SELECT is_nullable FROM sys.columns WHERE name = 'Nummer'"), "1");
  EXPECT_EQ(e.error("ALTER TABLE [dbo].[VerbSportArt] ADD CONSTRAINT [PK_VerbSportArt] PRIMARY KEY CLUSTERED "
                    "([NUMMER]) ON [PRIMARY]"),
            8111);
  e.ok("ALTER TABLE VerbSportArt ALTER COLUMN NUMMER varchar (20) NOT NULL");
  e.ok(
      "ALTER TABLE [dbo].[VerbSportArt] ADD CONSTRAINT [PK_VerbSportArt] PRIMARY KEY CLUSTERED ([NUMMER]) ON [PRIMARY]");
  e.ok("ALTER TABLE VerbSportArt ALTER COLUMN Sportart varchar (200) NOT NULL");
  e.ok("ALTER TABLE VerbSportArt ALTER COLUMN Sportart varchar (200)");
  EXPECT_EQ(e.scalar("SELECT is_nullable FROM sys.columns WHERE name = 'Sportart'"), "1");
}

TEST(EngineSchema, TruncationUnderAnsiWarnings) {
  Engine e;
  e.ok("CREATE TABLE t (s varchar(3))");
  EXPECT_EQ(e.message("INSERT INTO t VALUES ('abcd')"), "String or binary data would be truncated.");
  e.ok("SET ANSI_WARNINGS OFF");
  e.ok("INSERT INTO t VALUES ('abcd')");
  EXPECT_EQ(e.scalar("SELECT s FROM t"), "abc");
}

TEST(EngineSchema, TemplateTableScriptForm) {
  Engine e;
  e.ok(
      "CREATE TABLE dbo.F5KontX (\r\n[BUCHJAHR] [smallint] NOT NULL,\r\n[KONTONR] [int] NOT NULL,\r\n"
      "[MOUMSHMÄRZ] [numeric](19, 8) NULL,\r\n[KennzEUR] [varchar](7) NULL\r\n) ON [PRIMARY]\r\n");
  e.ok(
      "ALTER TABLE [dbo].[F5KontX]  ADD CONSTRAINT [PK_F5KontX] PRIMARY KEY CLUSTERED (\r\n[BUCHJAHR] ASC,\r\n"
      "[KONTONR] ASC\r\n)WITH (IGNORE_DUP_KEY = OFF) ON [PRIMARY]\r\n");
  e.ok("INSERT INTO F5KontX SELECT BUCHJAHR=2015, KONTONR=1, MOUMSHMÄRZ=0.123456789, KennzEUR='VIB15'");
  EXPECT_EQ(e.rows("SELECT MOUMSHMÄRZ, moumshmärz FROM F5KontX"), (Rows{{"0.12345679", "0.12345679"}}));
  EXPECT_EQ(e.error("INSERT INTO F5KontX SELECT BUCHJAHR=2015, KONTONR=2, KennzEUR='x'"), 213);
}

TEST(EngineSchema, ForeignKeysCheckAndCascade) {
  Engine e;
  e.ok(
      "CREATE TABLE dbo.GuVKennz (\r\nRimNr varchar (4) NOT NULL,\r\nKennz Varchar (1) NOT NULL,\r\nBezeichnung varchar (50) NOT NULL)");
  e.ok(
      "ALTER TABLE [dbo].[GuVKennz]  ADD\r\nCONSTRAINT [PK_GuVKennz] PRIMARY KEY CLUSTERED\r\n([RimNr],[Kennz]) ON [PRIMARY]");
  e.ok(
      "CREATE TABLE dbo.GuVKennzD (RimNr varchar (4) NOT NULL, Kennz Varchar (1) NOT NULL, Nr int NOT NULL, "
      "Bezeichnung varchar (50) NOT NULL)");
  e.ok(
      "ALTER TABLE [dbo].[GuVKennzD]  WITH CHECK ADD  CONSTRAINT [FK_GuVKennzD_GuVKennz] FOREIGN KEY([RimNr],[Kennz])\r\n"
      "REFERENCES [dbo].[GuVKennz] ([RimNr],[Kennz]) ON UPDATE CASCADE ON DELETE CASCADE");
  e.ok("INSERT INTO GuVKennz (RimNr, Kennz, Bezeichnung)\r\nVALUES ('I','A','Einnahmen')");
  e.ok("INSERT INTO GuVKennzD VALUES ('i','a',1,'x')");  // the collation matches the parent key
  EXPECT_EQ(e.message("INSERT INTO GuVKennzD VALUES ('II','A',1,'x')"),
            "The INSERT statement conflicted with the FOREIGN KEY constraint \"FK_GuVKennzD_GuVKennz\". "
            "The conflict occurred in database \"T\", table \"dbo.GuVKennz\".");
  e.ok("UPDATE GuVKennz SET Kennz='B'");
  EXPECT_EQ(e.scalar("SELECT Kennz FROM GuVKennzD"), "B");
  e.ok("DELETE FROM  dbo.GuVKennz");
  EXPECT_EQ(e.scalar("SELECT COUNT(*) FROM GuVKennzD"), "0");
  EXPECT_EQ(e.error("ALTER TABLE GuVKennz DROP CONSTRAINT PK_GuVKennz"), 3725);
  EXPECT_EQ(e.error("ALTER TABLE GuVKennzD DROP CONSTRAINT PK_GuVKennz"), 3728);
}

TEST(EngineSchema, SingleColumnReferenceConflictNamesTheColumn) {
  Engine e;
  e.ok("CREATE TABLE Adresse (AdrNr int NOT NULL CONSTRAINT PK_Adresse PRIMARY KEY)");
  e.ok("CREATE TABLE AdrFunktion (AdrNr int NOT NULL, Funktion varchar(80) NULL)");
  e.ok("ALTER TABLE AdrFunktion ADD CONSTRAINT FK_AdrFunktion_Adresse FOREIGN KEY (AdrNr) REFERENCES Adresse (AdrNr)");
  e.ok("INSERT INTO Adresse VALUES (1) INSERT INTO AdrFunktion VALUES (1, 'Kassenwart')");
  EXPECT_EQ(e.message("INSERT INTO AdrFunktion VALUES (2, NULL)"),
            "The INSERT statement conflicted with the FOREIGN KEY constraint \"FK_AdrFunktion_Adresse\". "
            "The conflict occurred in database \"T\", table \"dbo.Adresse\", column 'AdrNr'.");
  EXPECT_EQ(e.message("DELETE FROM Adresse"),
            "The DELETE statement conflicted with the REFERENCE constraint \"FK_AdrFunktion_Adresse\". "
            "The conflict occurred in database \"T\", table \"dbo.AdrFunktion\", column 'AdrNr'.");
}

TEST(EngineSchema, IndexesAndDrops) {
  Engine e;
  e.ok("CREATE TABLE F5BEW4 (BUCHJAHR smallint, InterneNr int, SUCHTEXT varchar(20))");
  e.ok("CREATE NONCLUSTERED INDEX iSuchText ON F5BEW4 (BUCHJAHR, InterneNr, SUCHTEXT)");
  EXPECT_EQ(e.rows("SELECT * FROM SysIndexes WHERE Name='iSuchText'").size(), 1u);
  EXPECT_EQ(e.error("CREATE NONCLUSTERED INDEX iSuchText ON F5BEW4 (BUCHJAHR)"), 1913);
  EXPECT_EQ(e.error("ALTER TABLE F5BEW4 DROP COLUMN SUCHTEXT"), 5074);
  e.ok("DROP INDEX iSuchText ON F5BEW4");
  e.ok("ALTER TABLE F5BEW4 DROP COLUMN InterneNr, SUCHTEXT");
  EXPECT_EQ(e.rows("SELECT * FROM F5BEW4").size(), 0u);
  e.ok("DROP TABLE F5BEW4");
  EXPECT_EQ(e.error("DROP TABLE F5BEW4"), 3701);
}

}  // namespace
}  // namespace standin::test
