// A server over a data directory holds only the databases in use: a
// database's objects are read from its snapshot when it is first used, and
// a database no session is in is unloaded once its snapshot holds it. Its
// rows, identities, object ids, views and functions come back unchanged, and
// a change made before it was unloaded survives a killed process.
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <iterator>

#include "catalog/catalog.h"
#include "engine_fixture.h"
#include "exec/server_impl.h"

namespace standin::test {
namespace {

class DatabaseLoading : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = std::filesystem::temp_directory_path() / ("standin_loading_" + std::to_string(getpid()));
    std::filesystem::remove_all(dir_);
    auto server = Server::open(dir_);
    auto master = server->connect("master");
    for (const char* db : {"A", "B", "C"}) {
      ASSERT_TRUE(master->execute(std::string("CREATE DATABASE ") + db).ok());
      auto s = server->connect(db);
      ASSERT_TRUE(s->execute("CREATE TABLE t (id int IDENTITY(1,1) PRIMARY KEY, v varchar(10))\n"
                             "INSERT INTO t (v) VALUES ('one') INSERT INTO t (v) VALUES ('two')")
                      .ok());
      ASSERT_TRUE(s->execute("CREATE VIEW two AS SELECT v FROM t WHERE id = 2").ok());
      ASSERT_TRUE(
          s->execute("CREATE FUNCTION f (@id int) RETURNS TABLE AS RETURN SELECT v FROM t WHERE id = @id").ok());
    }
  }
  void TearDown() override { std::filesystem::remove_all(dir_); }

  static bool loaded(Server& server, const char* name) {
    for (const auto& db : server.impl().catalog.databases)
      if (db->name == name) return db->loaded;
    ADD_FAILURE() << "no database " << name;
    return false;
  }

  // Runs one command text in `db` on a session of its own, as the upgrade
  // does; the rows of its first result set, each row's values joined by |.
  static std::string in(Server& server, const char* db, const std::string& text) {
    auto s = server.connect(db);
    if (!s) return "<no session>";
    BatchResult r = s->execute(text);
    if (!r.ok()) return "Msg " + std::to_string(r.errors[0].number) + ": " + r.errors[0].message;
    std::string out;
    if (!r.result_sets.empty())
      for (const auto& row : r.result_sets[0].rows) {
        for (const Value& v : row) out += v.to_display() + "|";
        out += " ";
      }
    return out;
  }

  std::filesystem::path dir_;
};

TEST_F(DatabaseLoading, DatabasesAreReadWhenFirstUsedAndUnloadedWhenIdle) {
  auto server = Server::open(dir_);
  EXPECT_EQ(server->database_names(), (std::vector<std::string>{"master", "A", "B", "C"}));
  EXPECT_FALSE(loaded(*server, "A"));
  EXPECT_EQ(in(*server, "master", "SELECT name FROM sys.databases ORDER BY name"), "A| B| C| master| ");
  EXPECT_FALSE(loaded(*server, "A"));

  const std::string object_id = in(*server, "A", "SELECT OBJECT_ID('t')");
  EXPECT_TRUE(loaded(*server, "A"));
  // A session into a loaded database reads nothing and unloads nothing.
  in(*server, "A", "SELECT 1");
  EXPECT_TRUE(loaded(*server, "A"));
  // A session into another one makes room first: A is idle and goes.
  in(*server, "B", "SELECT 1");
  EXPECT_FALSE(loaded(*server, "A"));
  EXPECT_TRUE(loaded(*server, "B"));
  // A database reached by name from another one stays after the command
  // text while it is the idle one used last.
  auto c = server->connect("C");
  EXPECT_FALSE(loaded(*server, "B"));
  ASSERT_TRUE(c->execute("SELECT * FROM A.dbo.t").ok());
  EXPECT_TRUE(loaded(*server, "A"));
  ASSERT_TRUE(c->execute("SELECT * FROM B.dbo.t").ok());
  EXPECT_TRUE(loaded(*server, "B"));
  EXPECT_FALSE(loaded(*server, "master"));
  c.reset();

  EXPECT_EQ(in(*server, "A", "SELECT OBJECT_ID('t')"), object_id);
  EXPECT_EQ(in(*server, "A", "INSERT INTO t (v) VALUES ('three') SELECT id, v FROM t ORDER BY id"),
            "1|one| 2|two| 3|three| ");
  EXPECT_EQ(in(*server, "A", "SELECT v FROM two UNION ALL SELECT v FROM f(3)"), "two| three| ");
}

// A database reached by a three-part name from another database is loaded
// for it, and one with an uncommitted change stays as the transaction left
// it until the transaction ends.
TEST_F(DatabaseLoading, AnOpenTransactionKeepsEveryDatabaseItChanged) {
  auto server = Server::open(dir_);
  auto master = server->connect("master");
  ASSERT_TRUE(master->execute("BEGIN TRAN INSERT INTO B.dbo.t (v) VALUES ('open')").ok());
  in(*server, "A", "SELECT 1");
  in(*server, "C", "SELECT 1");
  EXPECT_TRUE(loaded(*server, "B"));
  EXPECT_EQ(in(*server, "C", "SELECT COUNT(*) FROM B.dbo.t"), "3| ");
  ASSERT_TRUE(master->execute("ROLLBACK").ok());
  in(*server, "A", "SELECT 1");
  in(*server, "C", "SELECT 1");
  EXPECT_FALSE(loaded(*server, "B"));
  EXPECT_EQ(in(*server, "C", "SELECT COUNT(*) FROM B.dbo.t"), "2| ");
}

// Only a database changed since its snapshot is written again; the change
// of one that was unloaded in the meantime survives a killed process.
TEST_F(DatabaseLoading, UnloadingWritesOnlyChangedDatabasesAndLosesNothing) {
  auto snapshot_files = [&] {
    std::vector<std::string> files;
    for (const auto& entry : std::filesystem::directory_iterator(dir_))
      if (entry.path().extension() == ".snap") files.push_back(entry.path().filename().string());
    std::sort(files.begin(), files.end());
    return files;
  };
  const std::vector<std::string> before = snapshot_files();
  ASSERT_EQ(before.size(), 4u);
  pid_t child = fork();
  if (child == 0) {
    auto server = Server::open(dir_);
    in(*server, "A", "UPDATE t SET v = 'changed' WHERE id = 1");
    in(*server, "B", "SELECT 1");
    in(*server, "C", "SELECT 1");  // A is unloaded, after a checkpoint
    bool unloaded = !server->impl().catalog.databases[1]->loaded;
    _exit(unloaded ? 0 : 1);  // killed: no checkpoint at the end
  }
  int status = 0;
  waitpid(child, &status, 0);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0) << "A was not unloaded";

  std::vector<std::string> after = snapshot_files();
  std::vector<std::string> replaced;
  std::set_difference(before.begin(), before.end(), after.begin(), after.end(), std::back_inserter(replaced));
  EXPECT_EQ(replaced.size(), 1u) << "only A's snapshot is written again";
  auto server = Server::open(dir_);
  EXPECT_EQ(in(*server, "A", "SELECT v FROM t ORDER BY id"), "changed| two| ");
  EXPECT_EQ(in(*server, "B", "SELECT v FROM t ORDER BY id"), "one| two| ");
}

}  // namespace
}  // namespace standin::test
