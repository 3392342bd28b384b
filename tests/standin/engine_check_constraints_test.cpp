// CHECK constraints: enforced on INSERT and UPDATE and on the rows already
// there when one is added, objects of their own in the catalog, dropped by
// name and kept on disk.
#include <unistd.h>

#include <filesystem>

#include "engine_fixture.h"

namespace standin::test {
namespace {

// A row fails when the expression is FALSE; UNKNOWN (a NULL operand) passes.
// 547 names the column when the constraint reads one column.
// CREATE TABLE, "CHECK": https://learn.microsoft.com/en-us/sql/t-sql/statements/create-table-transact-sql
// Error 547: https://learn.microsoft.com/en-us/sql/relational-databases/errors-events/database-engine-events-and-errors
TEST(EngineCheckConstraints, RefuseRowsWhoseExpressionIsFalse) {
  Engine e;
  e.ok("CREATE TABLE t (id int, a int CONSTRAINT CK_t_a CHECK (a > 0), b int, CONSTRAINT CK_t_ab CHECK (b >= a))");
  e.ok("INSERT INTO t VALUES (1, 5, 7)");
  e.ok("INSERT INTO t VALUES (2, NULL, NULL)");  // UNKNOWN passes
  BatchResult r = e.run("INSERT INTO t VALUES (3, 0, 9)");
  ASSERT_FALSE(r.ok());
  EXPECT_EQ(r.errors[0].number, 547);
  EXPECT_EQ(r.errors[0].severity, 16);
  EXPECT_EQ(r.errors[0].message,
            "The INSERT statement conflicted with the CHECK constraint \"CK_t_a\". The conflict occurred in database "
            "\"T\", table \"dbo.t\", column 'a'.");
  // A constraint reading two columns names no column.
  EXPECT_EQ(e.message("UPDATE t SET b = 1 WHERE id = 1"),
            "The UPDATE statement conflicted with the CHECK constraint \"CK_t_ab\". The conflict occurred in database "
            "\"T\", table \"dbo.t\".");
  // A multi-row statement is undone as a whole; the batch goes on.
  r = e.run("INSERT INTO t VALUES (4, 1, 1), (5, -1, 1) SELECT COUNT(*) FROM t");
  EXPECT_EQ(r.errors.size(), 1u);
  ASSERT_EQ(r.result_sets.size(), 1u);
  EXPECT_EQ(r.result_sets[0].rows[0][0].to_display(), "2");
  EXPECT_EQ(e.rows("SELECT a, b FROM t WHERE id = 1"), (Rows{{"5", "7"}}));
}

// ALTER TABLE ... ADD CHECK checks the rows already there unless WITH
// NOCHECK, which leaves the constraint not trusted.
// ALTER TABLE, "WITH CHECK | WITH NOCHECK": https://learn.microsoft.com/en-us/sql/t-sql/statements/alter-table-transact-sql
TEST(EngineCheckConstraints, AddedToATableWithRows) {
  Engine e;
  e.ok("CREATE TABLE t (flag char(1), n int)");
  e.ok("INSERT INTO t VALUES ('N', 1), ('X', 2)");
  EXPECT_EQ(e.message("ALTER TABLE t ADD CONSTRAINT CK_t_flag CHECK (flag IN ('N', 'J'))"),
            "The ALTER TABLE statement conflicted with the CHECK constraint \"CK_t_flag\". The conflict occurred in "
            "database \"T\", table \"dbo.t\", column 'flag'.");
  EXPECT_EQ(e.scalar("SELECT COUNT(*) FROM sys.check_constraints"), "0");
  e.ok("ALTER TABLE t WITH NOCHECK ADD CONSTRAINT CK_t_flag CHECK (flag IN ('N', 'J'))");
  EXPECT_EQ(e.rows("SELECT is_not_trusted, is_disabled, uses_database_collation FROM sys.check_constraints"),
            (Rows{{"1", "0", "1"}}));
  EXPECT_EQ(e.error("INSERT INTO t VALUES ('X', 3)"), 547);
  e.ok("INSERT INTO t VALUES ('J', 3)");
  e.ok("ALTER TABLE t ADD CHECK (n < 10)");
  EXPECT_EQ(e.scalar("SELECT is_not_trusted FROM sys.check_constraints WHERE parent_column_id = 2"), "0");
  // A new column's own constraint is checked against the rows it gets.
  EXPECT_EQ(e.error("ALTER TABLE t ADD m int NOT NULL CONSTRAINT DF_t_m DEFAULT 0 CONSTRAINT CK_t_m CHECK (m > 0)"),
            547);
  EXPECT_EQ(e.error("SELECT m FROM t"), 207);
}

// sys.check_constraints: https://learn.microsoft.com/en-us/sql/relational-databases/system-catalog-views/sys-check-constraints-transact-sql
// The definition is stored decoded, white space removed, names bracketed.
TEST(EngineCheckConstraints, AreCatalogObjects) {
  Engine e;
  e.ok(
      "CREATE TABLE Mitglieder (Nummer int CHECK (Nummer > 0), a int, b int, CONSTRAINT CK_ab CHECK (a < b OR b IS "
      "NULL))");
  EXPECT_EQ(e.rows("SELECT c.name, k.parent_column_id, k.definition FROM sys.check_constraints k "
                   "JOIN sys.columns c ON c.object_id = k.parent_object_id AND c.column_id = k.parent_column_id"),
            (Rows{{"Nummer", "1", "([Nummer]>(0))"}}));
  EXPECT_EQ(e.rows("SELECT parent_column_id, definition, is_system_named, uses_database_collation FROM "
                   "sys.check_constraints WHERE name = 'CK_ab'"),
            (Rows{{"0", "([a]<[b] OR [b] IS NULL)", "0", "0"}}));
  std::string generated = e.scalar("SELECT name FROM sys.check_constraints WHERE is_system_named = 1");
  EXPECT_EQ(generated.substr(0, 22), "CK__Mitgliede__Numme__");
  EXPECT_EQ(generated.size(), 30u);
  EXPECT_EQ(e.scalar("SELECT xtype FROM sysobjects WHERE name = '" + generated + "'"), "C ");
  EXPECT_EQ(e.scalar("SELECT COUNT(*) FROM sysobjects WHERE xtype = 'C' AND parent_obj = OBJECT_ID('Mitglieder')"),
            "2");
  EXPECT_EQ(e.rows("SELECT type, type_desc FROM sys.objects WHERE name = 'CK_ab'"), (Rows{{"C ", "CHECK_CONSTRAINT"}}));
  EXPECT_NE(e.scalar("SELECT OBJECT_ID('CK_ab', 'C')"), "NULL");
  EXPECT_EQ(e.scalar("SELECT OBJECT_ID('CK_ab', 'U')"), "NULL");
  // The name is taken among the database's objects.
  EXPECT_EQ(e.error("CREATE TABLE CK_ab (x int)"), 2714);
  EXPECT_EQ(e.error("ALTER TABLE Mitglieder ADD CONSTRAINT CK_ab CHECK (a > 0)"), 2714);
}

TEST(EngineCheckConstraints, DefinitionsOfOtherForms) {
  Engine e;
  e.ok("CREATE TABLE t (s varchar(10), n decimal(9,2), d int)");
  e.ok(
      "ALTER TABLE t ADD CONSTRAINT CK_in CHECK (s IN ('N', 'J')), CONSTRAINT CK_between CHECK (n BETWEEN -1 AND "
      "2.5), CONSTRAINT CK_like CHECK (s LIKE 'A%' AND len(s) > 1), CONSTRAINT CK_arith CHECK ((d + 1) * 2 <> 0), "
      "CONSTRAINT CK_nested CHECK (d > 0 AND s NOT IN ('a', 'b')), CONSTRAINT CK_date CHECK (DATEADD(day, d, "
      "'20260101') > '20251231')");
  EXPECT_EQ(e.rows("SELECT name, definition FROM sys.check_constraints ORDER BY name"),
            (Rows{{"CK_arith", "((([d]+(1))*(2))<>(0))"},
                  {"CK_between", "([n]>=(-1) AND [n]<=(2.5))"},
                  {"CK_date", "(dateadd(day,[d],'20260101')>'20251231')"},
                  {"CK_in", "([s]='J' OR [s]='N')"},
                  {"CK_like", "([s] like 'A%' AND len([s])>(1))"},
                  {"CK_nested", "([d]>(0) AND [s]<>'b' AND [s]<>'a')"}}));
  // Each stored definition is what is enforced.
  EXPECT_EQ(e.error("INSERT INTO t VALUES ('J', 1, 1)"), 547);  // CK_like
  EXPECT_EQ(e.error("INSERT INTO t (n) VALUES (3)"), 547);
  EXPECT_EQ(e.error("INSERT INTO t (d) VALUES (-1)"), 547);
  EXPECT_EQ(e.error("INSERT INTO t (d) VALUES (0)"), 547);
  e.ok("INSERT INTO t (n, d) VALUES (-1, 1)");
}

TEST(EngineCheckConstraints, RefusedDefinitions) {
  Engine e;
  e.ok("CREATE TABLE p (x int)");
  EXPECT_EQ(e.message("CREATE TABLE t (a int CHECK (b > 0), b int)"),
            "Column CHECK constraint for column 'a' references another column, table 't'.");
  EXPECT_EQ(e.error("CREATE TABLE t (a int, CHECK (c > 0))"), 207);
  EXPECT_EQ(e.error("CREATE TABLE t (a int, CHECK (a IN (SELECT x FROM p)))"), 1046);
  // Refused when written, on an empty table, not when a row first meets it.
  EXPECT_EQ(e.error("CREATE TABLE t (a int, CHECK (nosuchfunction(a) > 0))"), 195);
  EXPECT_EQ(e.error("CREATE TABLE t (a int, CHECK (SUM(a) > 0))"), 147);
  EXPECT_EQ(e.error("SELECT * FROM t"), 208);  // nothing of a refused CREATE TABLE stays
}

// DROP CONSTRAINT drops a CHECK constraint; the rule goes with it.
TEST(EngineCheckConstraints, DroppedByName) {
  Engine e;
  e.ok("CREATE TABLE t (a int CONSTRAINT CK_t_a CHECK (a > 0))");
  e.ok("ALTER TABLE t DROP CONSTRAINT CK_t_a");
  e.ok("INSERT INTO t VALUES (-5)");
  EXPECT_EQ(e.scalar("SELECT COUNT(*) FROM sysobjects WHERE xtype = 'C'"), "0");
  EXPECT_EQ(e.error("ALTER TABLE t DROP CONSTRAINT CK_t_a"), 3728);
}

// NOCHECK CONSTRAINT disables a CHECK or FOREIGN KEY constraint and leaves
// it not trusted; CHECK CONSTRAINT enables it again, checking the rows (and
// trusting it) only WITH CHECK. Keys and defaults cannot be toggled.
// ALTER TABLE, "{ CHECK | NOCHECK } CONSTRAINT":
// https://learn.microsoft.com/en-us/sql/t-sql/statements/alter-table-transact-sql
TEST(EngineCheckConstraints, DisabledAndEnabledAgain) {
  Engine e;
  e.ok("CREATE TABLE p (id int NOT NULL, CONSTRAINT PK_p PRIMARY KEY (id))");
  e.ok("INSERT INTO p VALUES (1)");
  e.ok(
      "CREATE TABLE c (a int CONSTRAINT CK_c_a CHECK (a > 0), p int, CONSTRAINT FK_c_p FOREIGN KEY (p) REFERENCES p "
      "(id))");
  e.ok("ALTER TABLE c NOCHECK CONSTRAINT ALL");
  EXPECT_EQ(e.rows("SELECT is_disabled, is_not_trusted FROM sys.check_constraints"), (Rows{{"1", "1"}}));
  e.ok("INSERT INTO c VALUES (-1, 9)");
  e.ok("ALTER TABLE c CHECK CONSTRAINT CK_c_a");  // WITH NOCHECK by default: the row stays
  EXPECT_EQ(e.rows("SELECT is_disabled, is_not_trusted FROM sys.check_constraints"), (Rows{{"0", "1"}}));
  EXPECT_EQ(e.error("INSERT INTO c VALUES (-2, 1)"), 547);
  EXPECT_EQ(e.message("ALTER TABLE c WITH CHECK CHECK CONSTRAINT CK_c_a"),
            "The ALTER TABLE statement conflicted with the CHECK constraint \"CK_c_a\". The conflict occurred in "
            "database \"T\", table \"dbo.c\", column 'a'.");
  EXPECT_EQ(e.message("ALTER TABLE c WITH CHECK CHECK CONSTRAINT FK_c_p"),
            "The ALTER TABLE statement conflicted with the FOREIGN KEY constraint \"FK_c_p\". The conflict occurred in "
            "database \"T\", table \"dbo.p\", column 'id'.");
  e.ok("UPDATE c SET a = 1, p = 1");
  e.ok("ALTER TABLE c WITH CHECK CHECK CONSTRAINT ALL");
  EXPECT_EQ(e.scalar("SELECT is_not_trusted FROM sys.check_constraints"), "0");
  EXPECT_EQ(e.error("INSERT INTO c VALUES (1, 9)"), 547);
  EXPECT_EQ(e.message("ALTER TABLE p NOCHECK CONSTRAINT PK_p"),
            "Object 'PK_p' cannot be disabled or enabled. This action applies only to foreign key and check "
            "constraints.");
  EXPECT_EQ(e.message("ALTER TABLE c NOCHECK CONSTRAINT PK_p"), "Constraint 'PK_p' does not exist.");
}

TEST(EngineCheckConstraints, SurviveAReopen) {
  auto dir = std::filesystem::temp_directory_path() / ("standin_checks_" + std::to_string(getpid()));
  std::filesystem::remove_all(dir);
  {
    auto server = Server::open(dir);
    server->connect("master")->execute("CREATE DATABASE D");
    auto s = server->connect("D");
    ASSERT_TRUE(s->execute("CREATE TABLE t (a int CHECK (a > 0), b char(1))").ok());
    ASSERT_TRUE(s->execute("INSERT INTO t VALUES (1, 'X')").ok());
    ASSERT_TRUE(s->execute("ALTER TABLE t WITH NOCHECK ADD CONSTRAINT CK_t_b CHECK (b = 'N')").ok());
    ASSERT_TRUE(s->execute("CREATE TABLE p (id int NOT NULL, CONSTRAINT PK_p PRIMARY KEY (id)) CREATE TABLE c (p int, "
                           "CONSTRAINT FK_c_p FOREIGN KEY (p) REFERENCES p (id), CONSTRAINT CK_c CHECK (p < 5)) "
                           "ALTER TABLE c NOCHECK CONSTRAINT ALL")
                    .ok());
    server->checkpoint();  // the snapshot, not only the journal, holds them
  }
  auto server = Server::open(dir);
  auto s = server->connect("D");
  ASSERT_NE(s, nullptr);
  auto r = s->execute(
      "SELECT name, is_not_trusted, parent_column_id, definition FROM sys.check_constraints WHERE parent_object_id = "
      "OBJECT_ID('t') ORDER BY parent_column_id");
  ASSERT_TRUE(r.ok());
  ASSERT_EQ(r.result_sets.at(0).rows.size(), 2u);
  EXPECT_EQ(r.result_sets[0].rows[0][0].to_display().substr(0, 10), "CK__t__a__");
  EXPECT_EQ(r.result_sets[0].rows[1][0].to_display(), "CK_t_b");
  EXPECT_EQ(r.result_sets[0].rows[1][1].to_display(), "1");
  EXPECT_EQ(r.result_sets[0].rows[1][3].to_display(), "([b]='N')");
  EXPECT_EQ(s->execute("INSERT INTO t VALUES (0, 'N')").errors.at(0).number, 547);
  EXPECT_EQ(s->execute("INSERT INTO t VALUES (2, 'J')").errors.at(0).number, 547);
  EXPECT_TRUE(s->execute("INSERT INTO t VALUES (2, 'N')").ok());
  EXPECT_TRUE(s->execute("INSERT INTO c VALUES (7)").ok());  // both of c's constraints stay disabled
  s.reset();
  server.reset();
  std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace standin::test
