// Views: their definition is checked when created, they show the base
// tables as they are when read, the catalog lists them, transactions undo
// them and a data directory keeps them.
#include <unistd.h>

#include <filesystem>

#include "engine_fixture.h"

namespace standin::test {
namespace {

void make_people(Engine& e) {
  e.ok("CREATE TABLE people (id int, name varchar(20), club int)");
  e.ok("INSERT INTO people VALUES (1, 'Ann', 10), (2, 'Bob', 20), (3, 'Cem', 10)");
}

TEST(EngineViews, ReadLikeTablesAndFollowTheirBaseTables) {
  Engine e;
  make_people(e);
  e.ok("CREATE VIEW club10 AS SELECT id, name FROM people WHERE club = 10");
  EXPECT_EQ(e.rows("SELECT name FROM club10 ORDER BY id"), (Rows{{"Ann"}, {"Cem"}}));
  e.ok("INSERT INTO people VALUES (4, 'Dan', 10)");
  EXPECT_EQ(e.scalar("SELECT COUNT(*) FROM club10"), "3");
  EXPECT_EQ(e.rows("SELECT v.name, p.club FROM club10 v JOIN people p ON p.id = v.id WHERE v.id = 3"),
            (Rows{{"Cem", "10"}}));
  e.ok("CREATE VIEW counts (club, members) AS SELECT club, COUNT(*) FROM people GROUP BY club");
  EXPECT_EQ(e.rows("SELECT members FROM counts WHERE club = 10"), (Rows{{"3"}}));
  e.ok("CREATE VIEW on_view AS SELECT name FROM club10 WHERE id > 1");
  EXPECT_EQ(e.rows("SELECT name FROM on_view ORDER BY name"), (Rows{{"Cem"}, {"Dan"}}));
}

TEST(EngineViews, AlterAndDrop) {
  Engine e;
  make_people(e);
  e.ok("CREATE VIEW v AS SELECT id FROM people");
  e.ok("ALTER VIEW v AS SELECT name FROM people WHERE id = 2");
  EXPECT_EQ(e.scalar("SELECT name FROM v"), "Bob");
  e.ok("DROP VIEW v");
  EXPECT_EQ(e.error("SELECT * FROM v"), 208);
  e.ok("DROP VIEW IF EXISTS v");
  EXPECT_EQ(e.error("ALTER VIEW v AS SELECT 1 AS one"), 208);
}

TEST(EngineViews, RefusedDefinitionsAndNames) {
  Engine e;
  make_people(e);
  e.ok("CREATE VIEW v AS SELECT id FROM people");
  EXPECT_EQ(e.message("CREATE VIEW v AS SELECT id FROM people"),
            "There is already an object named 'v' in the database.");
  EXPECT_EQ(e.error("CREATE VIEW people AS SELECT 1 AS one"), 2714);
  EXPECT_EQ(e.error("CREATE TABLE v (x int)"), 2714);
  EXPECT_EQ(e.message("DROP VIEW nothing"),
            "Cannot drop the view 'nothing', because it does not exist or you do not have permission.");
  EXPECT_EQ(e.error("DROP VIEW people"), 3705);
  EXPECT_EQ(e.error("CREATE VIEW w AS SELECT id + 1 FROM people"), 4511);
  EXPECT_EQ(e.error("CREATE VIEW w AS SELECT id, name AS id FROM people"), 4506);
  EXPECT_EQ(e.error("CREATE VIEW w (a) AS SELECT id, name FROM people"), 8158);
  EXPECT_EQ(e.error("CREATE VIEW w (a, b, c) AS SELECT id, name FROM people"), 8159);
  EXPECT_EQ(e.error("CREATE VIEW w AS SELECT nothing FROM people"), 207);
  EXPECT_EQ(e.error("CREATE VIEW w AS SELECT x FROM missing"), 208);
  EXPECT_EQ(e.error("SELECT 1 CREATE VIEW w AS SELECT id FROM people"), 111);
  EXPECT_EQ(e.scalar("SELECT COUNT(*) FROM sysobjects WHERE name = 'w'"), "0");
}

TEST(EngineViews, CatalogListsThem) {
  Engine e;
  make_people(e);
  e.ok("CREATE VIEW club10 AS SELECT id FROM people WHERE club = 10");
  EXPECT_EQ(e.rows("SELECT xtype FROM sysobjects WHERE name = 'club10'"), (Rows{{"V "}}));
  EXPECT_EQ(e.rows("SELECT type_desc FROM sys.objects WHERE name = 'club10'"), (Rows{{"VIEW"}}));
  EXPECT_EQ(e.rows("SELECT TABLE_NAME, VIEW_DEFINITION FROM INFORMATION_SCHEMA.VIEWS"),
            (Rows{{"club10", "CREATE VIEW club10 AS SELECT id FROM people WHERE club = 10"}}));
  EXPECT_EQ(e.rows("SELECT TABLE_NAME FROM INFORMATION_SCHEMA.TABLES WHERE TABLE_TYPE = 'VIEW'"), (Rows{{"club10"}}));
  EXPECT_NE(e.scalar("SELECT OBJECT_ID('club10')"), "NULL");
}

TEST(EngineViews, RollbackUndoesCreateAlterAndDrop) {
  Engine e;
  make_people(e);
  e.ok("CREATE VIEW kept AS SELECT id FROM people");
  e.ok("BEGIN TRAN");
  e.ok("CREATE VIEW gone AS SELECT id FROM people");
  e.ok("ALTER VIEW kept AS SELECT name FROM people");
  e.ok("ROLLBACK");
  EXPECT_EQ(e.error("SELECT * FROM gone"), 208);
  EXPECT_EQ(e.scalar("SELECT COUNT(*) FROM kept WHERE id = 1"), "1");
  e.ok("BEGIN TRAN DROP VIEW kept ROLLBACK");
  EXPECT_EQ(e.scalar("SELECT COUNT(*) FROM kept"), "3");
}

std::string count_in(Server& server, const char* text) {
  auto s = server.connect("D");
  BatchResult r = s->execute(text);
  if (!r.ok() || r.result_sets.empty()) return r.ok() ? "<none>" : "Msg " + std::to_string(r.errors[0].number);
  return r.result_sets[0].rows[0][0].to_display();
}

TEST(EngineViews, DataDirectoryKeepsThemThroughJournalAndSnapshot) {
  auto dir = std::filesystem::temp_directory_path() / ("standin_views_" + std::to_string(getpid()));
  std::filesystem::remove_all(dir);
  {
    auto server = Server::open(dir);
    server->connect("master")->execute("CREATE DATABASE D");
    auto s = server->connect("D");
    ASSERT_TRUE(s->execute("CREATE TABLE t (x int) INSERT INTO t VALUES (1), (2), (3)").ok());
    ASSERT_TRUE(s->execute("CREATE VIEW big (v) AS SELECT x FROM t WHERE x > 1").ok());
    ASSERT_TRUE(s->execute("CREATE VIEW dropped AS SELECT x FROM t").ok());
    ASSERT_TRUE(s->execute("DROP VIEW dropped").ok());
  }  // closing writes a checkpoint
  {
    auto server = Server::open(dir);
    EXPECT_EQ(count_in(*server, "SELECT COUNT(v) FROM big"), "2");
    EXPECT_EQ(count_in(*server, "SELECT COUNT(*) FROM dropped"), "Msg 208");
    ASSERT_TRUE(server->connect("D")->execute("ALTER VIEW big AS SELECT x AS v FROM t").ok());
  }
  auto server = Server::open(dir);
  EXPECT_EQ(count_in(*server, "SELECT COUNT(v) FROM big"), "3");
  EXPECT_EQ(count_in(*server, "SELECT COUNT(*) FROM sysobjects WHERE xtype = 'V'"), "1");
  server.reset();
  std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace standin::test
