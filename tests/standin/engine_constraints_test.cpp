// DEFAULT constraints: objects of their own, bound to one column each, named
// by the user or by the server, shown in the catalog and kept on disk.
#include <unistd.h>

#include <filesystem>

#include "engine_fixture.h"

namespace standin::test {
namespace {

// sys.default_constraints:
// https://learn.microsoft.com/en-us/sql/relational-databases/system-catalog-views/sys-default-constraints-transact-sql
TEST(EngineDefaults, AreCatalogObjectsWithTheirDefinitionText) {
  Engine e;
  e.ok(
      "CREATE TABLE t (id int NOT NULL, flag char(1) NOT NULL CONSTRAINT DF_t_flag DEFAULT 'N', amount money "
      "DEFAULT 0, note nvarchar(10) CONSTRAINT DF_t_note DEFAULT N'x''y', delta int CONSTRAINT DF_t_delta DEFAULT -1)");
  EXPECT_EQ(e.rows("SELECT d.name, c.name, d.definition, d.is_system_named FROM sys.default_constraints d "
                   "JOIN sys.columns c ON c.object_id = d.parent_object_id AND c.column_id = d.parent_column_id "
                   "WHERE d.parent_object_id = OBJECT_ID('t') AND d.name LIKE 'DF[_]t[_]%' ORDER BY d.name"),
            (Rows{{"DF_t_delta", "delta", "((-1))", "0"},
                  {"DF_t_flag", "flag", "('N')", "0"},
                  {"DF_t_note", "note", "(N'x''y')", "0"}}));
  EXPECT_EQ(e.scalar("SELECT definition FROM sys.default_constraints WHERE is_system_named = 1"), "((0))");
  // sysobjects lists each one as xtype 'D ' under its table; OBJECT_ID finds it.
  EXPECT_EQ(e.scalar("SELECT COUNT(*) FROM sysobjects WHERE xtype = 'D' AND parent_obj = OBJECT_ID('t')"), "4");
  EXPECT_EQ(e.scalar("SELECT type_desc FROM sys.objects WHERE object_id = OBJECT_ID('DF_t_flag')"),
            "DEFAULT_CONSTRAINT");
  EXPECT_EQ(e.scalar("SELECT COLUMN_DEFAULT FROM INFORMATION_SCHEMA.COLUMNS WHERE COLUMN_NAME = 'flag'"), "('N')");
  e.ok("INSERT INTO t (id) VALUES (1)");
  EXPECT_EQ(e.rows("SELECT flag, amount, note, delta FROM t"), (Rows{{"N", "0.0000", "x'y", "-1"}}));
}

// An unnamed default gets DF__, the table's name cut to nine characters,
// the column's to five, and the object id as eight hex digits.
TEST(EngineDefaults, UnnamedOnesGetAGeneratedName) {
  Engine e;
  e.ok("CREATE TABLE MitgliederListe (Beitragsart smallint DEFAULT 0)");
  std::string name = e.scalar("SELECT name FROM sysobjects WHERE xtype = 'D'");
  const std::string prefix = "DF__Mitgliede__Beitr__";
  ASSERT_EQ(name.size(), prefix.size() + 8) << name;
  EXPECT_EQ(name.substr(0, prefix.size()), prefix);
  EXPECT_EQ(name.find_first_not_of("0123456789ABCDEF", prefix.size()), std::string::npos) << name;
  EXPECT_EQ(e.scalar("SELECT CAST(OBJECT_ID('" + name + "') AS varchar(20))"),
            e.scalar("SELECT CAST(id AS varchar(20)) FROM sysobjects WHERE xtype = 'D'"));
}

// ALTER TABLE ... ADD CONSTRAINT n DEFAULT v FOR c, and 1781 for a second one:
// https://learn.microsoft.com/en-us/sql/t-sql/statements/alter-table-transact-sql
TEST(EngineDefaults, AddedForAColumnAtMostOnce) {
  Engine e;
  e.ok("CREATE TABLE t (a int, b varchar(5)) INSERT INTO t (a) VALUES (1)");
  e.ok("ALTER TABLE t ADD CONSTRAINT DF_t_a DEFAULT 7 FOR a");
  e.ok("ALTER TABLE t ADD DEFAULT 'z' FOR b");
  EXPECT_EQ(e.rows("SELECT a, b FROM t"), (Rows{{"1", "NULL"}}));  // existing rows keep their values
  e.ok("INSERT INTO t DEFAULT VALUES");
  EXPECT_EQ(e.rows("SELECT a, b FROM t WHERE a = 7"), (Rows{{"7", "z"}}));
  EXPECT_EQ(e.error("ALTER TABLE t ADD CONSTRAINT DF_t_a2 DEFAULT 8 FOR a"), 1781);
  EXPECT_EQ(e.message("ALTER TABLE t ADD DEFAULT 8 FOR a"), "Column already has a DEFAULT bound to it.");
  EXPECT_EQ(e.error("CREATE TABLE u (x int CONSTRAINT DF_t_a DEFAULT 1)"), 2714);
  EXPECT_EQ(e.scalar("SELECT COUNT(*) FROM sys.default_constraints"), "2");
}

TEST(EngineDefaults, AddedWithANewColumnFillExistingRowsOnlyWithValues) {
  Engine e;
  e.ok("CREATE TABLE t (id int) INSERT INTO t VALUES (1)");
  e.ok("ALTER TABLE t ADD plain char(1) NULL CONSTRAINT DF_t_plain DEFAULT 'N'");
  e.ok("ALTER TABLE t ADD filled char(1) NULL CONSTRAINT DF_t_filled DEFAULT 'J' WITH VALUES");
  e.ok("ALTER TABLE t ADD unnamed int NULL DEFAULT 3 WITH VALUES");
  e.ok("ALTER TABLE t ADD required int NOT NULL DEFAULT 4");
  EXPECT_EQ(e.rows("SELECT plain, filled, unnamed, required FROM t"), (Rows{{"NULL", "J", "3", "4"}}));
  EXPECT_EQ(e.scalar("SELECT COUNT(*) FROM sys.default_constraints WHERE parent_object_id = OBJECT_ID('t')"), "4");
}

TEST(EngineDefaults, DroppedByName) {
  Engine e;
  e.ok("CREATE TABLE t (a int CONSTRAINT DF_t_a DEFAULT 5)");
  e.ok("ALTER TABLE t DROP CONSTRAINT DF_t_a");
  EXPECT_EQ(e.scalar("SELECT COUNT(*) FROM sysobjects WHERE xtype = 'D'"), "0");
  EXPECT_EQ(e.scalar("SELECT OBJECT_ID('DF_t_a')"), "NULL");
  e.ok("INSERT INTO t DEFAULT VALUES");
  EXPECT_EQ(e.scalar("SELECT a FROM t"), "NULL");
  EXPECT_EQ(e.error("ALTER TABLE t DROP CONSTRAINT DF_t_a"), 3728);
  e.ok("ALTER TABLE t ADD CONSTRAINT DF_t_a DEFAULT 6 FOR a");  // the name is free again
}

// A default allows a change of length, precision or scale, not of the type,
// and keeps its column from being dropped (5074, ALTER TABLE page).
TEST(EngineDefaults, ProtectTheirColumnsType) {
  Engine e;
  e.ok(
      "CREATE TABLE t (id int, amount decimal(9,2) CONSTRAINT DF_t_amount DEFAULT 0, "
      "flag varchar(1) CONSTRAINT DF_t_flag DEFAULT 'N', code smallint CONSTRAINT DF_t_code DEFAULT 0)");
  e.ok("INSERT INTO t (id) VALUES (1)");
  e.ok("ALTER TABLE t ALTER COLUMN amount decimal(19,2) NULL");
  e.ok("ALTER TABLE t ALTER COLUMN flag varchar(3) NULL");
  BatchResult r = e.run("ALTER TABLE t ALTER COLUMN code int NULL");
  ASSERT_FALSE(r.ok());
  EXPECT_EQ(r.errors[0].number, 5074);
  EXPECT_NE(r.errors[0].message.find("The object 'DF_t_code' is dependent on column 'code'."), std::string::npos);
  EXPECT_EQ(e.error("ALTER TABLE t DROP COLUMN flag"), 5074);
  EXPECT_EQ(e.scalar("SELECT definition FROM sys.default_constraints WHERE name = 'DF_t_amount'"), "((0))");
  e.ok("INSERT INTO t (id) VALUES (2)");
  EXPECT_EQ(e.rows("SELECT amount, flag, code FROM t WHERE id = 2"), (Rows{{"0.00", "N", "0"}}));
  e.ok("ALTER TABLE t DROP CONSTRAINT DF_t_code ALTER TABLE t ALTER COLUMN code int NULL");
}

TEST(EngineDefaults, SurviveAReopen) {
  auto dir = std::filesystem::temp_directory_path() / ("standin_defaults_" + std::to_string(getpid()));
  std::filesystem::remove_all(dir);
  std::string generated;
  {
    auto server = Server::open(dir);
    server->connect("master")->execute("CREATE DATABASE D");
    auto s = server->connect("D");
    ASSERT_TRUE(s->execute("CREATE TABLE t (a char(1) CONSTRAINT DF_t_a DEFAULT 'N', b int DEFAULT 0)").ok());
    auto r = s->execute("SELECT name FROM sys.default_constraints WHERE is_system_named = 1");
    ASSERT_TRUE(r.ok());
    generated = r.result_sets.at(0).rows.at(0).at(0).to_display();
  }
  auto server = Server::open(dir);
  auto s = server->connect("D");
  ASSERT_NE(s, nullptr);
  auto r = s->execute("SELECT name, definition FROM sys.default_constraints ORDER BY name");
  ASSERT_TRUE(r.ok());
  ASSERT_EQ(r.result_sets.at(0).rows.size(), 2u);
  EXPECT_EQ(r.result_sets[0].rows[0][0].to_display(), generated);
  EXPECT_EQ(r.result_sets[0].rows[0][1].to_display(), "((0))");
  EXPECT_EQ(r.result_sets[0].rows[1][0].to_display(), "DF_t_a");
  EXPECT_EQ(s->execute("ALTER TABLE t ADD DEFAULT 'J' FOR a").errors.at(0).number, 1781);
  ASSERT_TRUE(s->execute("INSERT INTO t DEFAULT VALUES").ok());
  auto row = s->execute("SELECT a, b FROM t");
  EXPECT_EQ(row.result_sets.at(0).rows.at(0).at(0).to_display(), "N");
  s.reset();
  server.reset();
  std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace standin::test
