// Catalog views leave out the rows a query's WHERE rules out while they are
// built. The answers must be those of the whole view filtered by WHERE: the
// collation still decides equality, and conditions the view cannot use
// (OR, another column, a join) still see every row.
#include "engine_fixture.h"

namespace standin::test {
namespace {

class CatalogFilter : public ::testing::Test {
 protected:
  void SetUp() override {
    e.ok("CREATE TABLE Kunden (Nr int NOT NULL, Name varchar(20), CONSTRAINT PK_Kunden PRIMARY KEY (Nr))");
    e.ok("CREATE TABLE Orte (Plz varchar(5), Name varchar(30))");
  }
  Engine e;
};

TEST_F(CatalogFilter, ColumnProbeMatchesUnderTheCollation) {
  const char* probe =
      "SELECT TABLE_NAME, COLUMN_NAME FROM Information_Schema.Columns WHERE Table_Catalog='T' AND "
      "Table_Schema='dbo' AND Table_Name='%s' AND Column_Name='%s'";
  auto ask = [&](const char* table, const char* column) {
    char text[400];
    std::snprintf(text, sizeof text, probe, table, column);
    return e.rows(text);
  };
  EXPECT_EQ(ask("Kunden", "Name"), (Rows{{"Kunden", "Name"}}));
  EXPECT_EQ(ask("KUNDEN", "name  "), (Rows{{"Kunden", "Name"}}));  // case and trailing blanks
  EXPECT_EQ(ask("Kunden", "Plz"), Rows{});
  EXPECT_EQ(ask("Kündén", "Name"), Rows{});  // accents count
  EXPECT_EQ(e.rows("SELECT COUNT(*) FROM INFORMATION_SCHEMA.COLUMNS WHERE TABLE_CATALOG = 'other'"), (Rows{{"0"}}));
}

TEST_F(CatalogFilter, ConditionsTheViewCannotUseSeeEveryRow) {
  EXPECT_EQ(e.rows("SELECT TABLE_NAME, COLUMN_NAME FROM INFORMATION_SCHEMA.COLUMNS "
                   "WHERE COLUMN_NAME = 'Name' OR TABLE_NAME = 'Orte' ORDER BY TABLE_NAME, ORDINAL_POSITION"),
            (Rows{{"Kunden", "Name"}, {"Orte", "Plz"}, {"Orte", "Name"}}));
  EXPECT_EQ(e.rows("SELECT c.TABLE_NAME FROM INFORMATION_SCHEMA.COLUMNS AS c WHERE c.COLUMN_NAME = c.TABLE_NAME"),
            Rows{});
  // Qualified by the alias, the equality is used; NOT around it is not.
  EXPECT_EQ(e.rows("SELECT c.COLUMN_NAME FROM INFORMATION_SCHEMA.COLUMNS c WHERE c.TABLE_NAME = 'Orte' "
                   "AND NOT c.COLUMN_NAME = 'Plz'"),
            (Rows{{"Name"}}));
  // In a join the WHERE may speak of the other source.
  EXPECT_EQ(e.rows("SELECT o.name, t.TABLE_NAME FROM sysobjects o JOIN INFORMATION_SCHEMA.TABLES t "
                   "ON t.TABLE_NAME = o.name WHERE name = 'Orte'"),
            (Rows{{"Orte", "Orte"}}));
}

TEST_F(CatalogFilter, ObjectAndIndexProbes) {
  EXPECT_EQ(e.rows("SELECT name, xtype FROM sysobjects WHERE name = 'pk_kunden'"), (Rows{{"PK_Kunden", "PK"}}));
  EXPECT_EQ(e.rows("SELECT name FROM sys.tables WHERE name = 'Orte'"), (Rows{{"Orte"}}));
  EXPECT_EQ(e.rows("SELECT name FROM sys.tables WHERE name = 'PK_Kunden'"), Rows{});
  // A heap's row in sysindexes has no name and never equals one.
  EXPECT_EQ(e.rows("SELECT COUNT(*) FROM SysIndexes WHERE Name = 'PK_Kunden'"), (Rows{{"1"}}));
  EXPECT_EQ(e.rows("SELECT COUNT(*) FROM sysindexes WHERE name IS NULL"), (Rows{{"1"}}));
  // Inside EXISTS, the subquery's own WHERE filters its view.
  e.ok("IF NOT EXISTS (SELECT * FROM sysobjects WHERE name = 'Orte') CREATE TABLE Fehler (x int)");
  EXPECT_EQ(e.rows("SELECT COUNT(*) FROM sysobjects WHERE name = 'Fehler'"), (Rows{{"0"}}));
}

}  // namespace
}  // namespace standin::test
