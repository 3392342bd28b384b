// Catalog views as the upgrade's probes read them.
#include "engine_fixture.h"

namespace standin::test {
namespace {

TEST(EngineCatalog, TableProbeFindsEveryKindOfObject) {
  Engine e;
  e.ok("CREATE TABLE AdrFunktion (AdrNr integer NOT NULL, Funktion Varchar(80) NOT NULL)");
  e.ok(
      "ALTER TABLE [dbo].[AdrFunktion]  ADD\r\nCONSTRAINT [PK_AdrFunktion] PRIMARY KEY CLUSTERED\r\n([AdrNr],[Funktion]) ON [PRIMARY]");
  EXPECT_EQ(e.rows("SELECT * FROM sysobjects WHERE name='AdrFunktion'").size(), 1u);
  EXPECT_EQ(e.rows("SELECT * FROM sysobjects WHERE NAME='pk_adrfunktion'").size(), 1u);
  EXPECT_EQ(e.rows("SELECT * FROM sysobjects WHERE name='UpdS'").size(), 0u);
  EXPECT_EQ(e.rows("SELECT xtype FROM sysobjects WHERE name='PK_AdrFunktion'"), (Rows{{"PK"}}));
}

TEST(EngineCatalog, DatabaseListsOfDiscovery) {
  Engine e;
  auto master = e.server().connect("master");
  for (const char* db : {"DRAVOK01", "dravokTMP01", "DRAVOK", "XDRAVOK01"})
    ASSERT_TRUE(master->execute(std::string("CREATE DATABASE ") + db).ok());
  EXPECT_EQ(e.rows("SELECT name FROM master.dbo.sysdatabases where UPPER(name) LIKE 'DRAVOK%' AND "
                   "UPPER(SUBSTRING(name,7,3))<>'TMP'"),
            (Rows{{"DRAVOK01"}, {"DRAVOK"}}));
  EXPECT_EQ(e.rows("SELECT name FROM master.dbo.sysdatabases where UPPER(name) LIKE 'DRAVOK%'"),
            (Rows{{"DRAVOK01"}, {"dravokTMP01"}, {"DRAVOK"}}));
}

TEST(EngineCatalog, TaxKeyColumnQueryListsSysnameTwice) {
  Engine e;
  e.ok("CREATE TABLE F5Dat (STEUERSCHL smallint NOT NULL, Klasse char(1))");
  e.ok("CREATE TABLE F5Kont (KONTONR int NOT NULL, STSCHL smallint NULL, Name nvarchar(20), xstschlx nvarchar(5))");
  Rows r = e.rows(
      "SELECT tbl.name AS TableName, clmns.name AS FieldName, tps.name AS DataType, clmns.length As DataLength, clmns.isnullable\r\n"
      "FROM dbo.sysobjects AS tbl\r\n"
      "INNER JOIN syscolumns  AS clmns ON clmns.id=tbl.id\r\n"
      "LEFT OUTER JOIN systypes AS tps ON tps.xtype=clmns.xtype\r\n"
      "WHERE (UPPER(clmns.name))='STEUERSCHL' OR (UPPER(clmns.name) LIKE '%StSchl%' ) \r\n"
      "ORDER BY tbl.name,clmns.name ASC");
  ASSERT_EQ(r.size(), 4u);
  EXPECT_EQ(r[0], (std::vector<std::string>{"F5Dat", "STEUERSCHL", "smallint", "2", "0"}));
  EXPECT_EQ(r[1], (std::vector<std::string>{"F5Kont", "STSCHL", "smallint", "2", "1"}));
  EXPECT_EQ(r[2][1], "xstschlx");
  EXPECT_EQ(r[3][1], "xstschlx");
}

// TYPE_NAME takes a user type id: sys.columns.system_type_id names the
// storage type, so sysname columns read as nvarchar; an unknown id is NULL.
// https://learn.microsoft.com/en-us/sql/t-sql/functions/type-name-transact-sql
TEST(EngineCatalog, TypeNameOfColumnTypes) {
  Engine e;
  e.ok("CREATE TABLE Sportarten (VerbandNr int NULL, RgNr varchar(10), Betrag numeric(19,2), Name sysname NULL)");
  EXPECT_EQ(e.rows("SELECT c.name, TYPE_NAME(c.system_type_id), TYPE_NAME(c.user_type_id) FROM sys.columns AS c"
                   " WHERE c.object_id = OBJECT_ID('dbo.Sportarten') ORDER BY c.column_id"),
            (Rows{{"VerbandNr", "int", "int"},
                  {"RgNr", "varchar", "varchar"},
                  {"Betrag", "numeric", "numeric"},
                  {"Name", "nvarchar", "sysname"}}));
  EXPECT_EQ(e.rows("SELECT TYPE_NAME(52), TYPE_NAME(0), TYPE_NAME(NULL)"), (Rows{{"smallint", "NULL", "NULL"}}));
}

TEST(EngineCatalog, InformationSchemaTablesAndDropIfExists) {
  Engine e;
  e.ok("CREATE TABLE F5DatX (a int)");
  e.ok("IF EXISTS (SELECT TABLE_NAME FROM INFORMATION_SCHEMA.TABLES WHERE TABLE_NAME ='F5DatX') DROP TABLE F5DatX");
  e.ok("IF EXISTS (SELECT TABLE_NAME FROM INFORMATION_SCHEMA.TABLES WHERE TABLE_NAME ='F5DatX') DROP TABLE F5DatX");
  EXPECT_EQ(e.rows("SELECT * FROM sysobjects WHERE name='F5DatX'").size(), 0u);
}

TEST(EngineCatalog, InlineTableValuedFunction) {
  Engine e;
  e.ok("CREATE TABLE MgVert (AdrNr int, Sollstellung varchar(20), FalligkeitDatum1 datetime)");
  e.ok("INSERT INTO MgVert VALUES (1, 'jährlich', '29.02.2016'), (2, 'quartal', NULL)");
  e.ok(
      "CREATE FUNCTION dbo.fF(@Year INT)\r\nRETURNS TABLE\r\nAS\r\nRETURN\r\n(SELECT AdrNr, 1 AS Zeitraum, "
      "DATEADD(yy, @Year-1900, DATEADD(mm, MONTH(FalligkeitDatum1)-1, DATEADD(dd, DAY(FalligkeitDatum1)-1, 0))) AS FalligkeitDatum "
      "FROM MgVert WHERE Sollstellung='jährlich' AND FalligkeitDatum1 IS NOT NULL\r\n"
      "UNION ALL SELECT AdrNr, 7, NULL FROM MgVert WHERE 1=0)");
  EXPECT_EQ(e.rows("SELECT AdrNr, Zeitraum, FalligkeitDatum FROM dbo.fF(2020)"),
            (Rows{{"1", "1", "2020-02-28 00:00:00.000"}}));
  EXPECT_EQ(e.error("GRANT EXECUTE ON dbo.fF TO Public"), 4606);  // inline table-valued: no EXECUTE
  EXPECT_EQ(e.rows("SELECT xtype FROM sysobjects WHERE name='fF'"), (Rows{{"IF"}}));
  EXPECT_EQ(e.error("SELECT 1 CREATE FUNCTION dbo.g(@p INT) RETURNS TABLE AS RETURN (SELECT 1 AS a)"), 111);
  e.ok("DROP FUNCTION dbo.fF");
  EXPECT_EQ(e.error("DROP FUNCTION dbo.fF"), 3701);
  EXPECT_EQ(e.error("CREATE FUNCTION dbo.h(@p INT) RETURNS TABLE AS RETURN (SELECT Missing FROM MgVert)"), 207);
}

}  // namespace
}  // namespace standin::test
