// A data directory keeps every completed statement, also when the process
// is killed, and replays GETDATE() and NEWID() to the values they had.
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <functional>

#include "engine_fixture.h"
#include "storage/file_io.h"

namespace standin::test {
namespace {

std::filesystem::path fresh_dir(const char* name) {
  auto dir = std::filesystem::temp_directory_path() / (std::string("standin_") + name + "_" + std::to_string(getpid()));
  std::filesystem::remove_all(dir);
  return dir;
}

std::string display(Session& s, const char* text) {
  auto r = s.execute(text);
  if (!r.ok() || r.result_sets.empty() || r.result_sets[0].rows.empty()) return "<none>";
  std::string out;
  for (const auto& row : r.result_sets[0].rows)
    for (const Value& v : row) out += v.to_display() + "|";
  return out;
}

TEST(EnginePersistence, SurvivesAKilledProcessWithCapturedValues) {
  auto dir = fresh_dir("kill");
  int fds[2];
  ASSERT_EQ(pipe(fds), 0);
  pid_t pid = fork();
  if (pid == 0) {
    auto server = Server::open(dir);
    auto master = server->connect("master");
    master->execute("CREATE DATABASE D");
    auto s = server->connect("D");
    s->execute("CREATE TABLE t (id int IDENTITY(1,1) NOT NULL, at datetime, g uniqueidentifier)");
    s->execute("INSERT INTO t (at, g) SELECT GETDATE(), NEWID()");
    s->execute("INSERT INTO t (at, g) VALUES (GETDATE(), NEWID()) INSERT INTO t (at) VALUES ('bad date')");
    std::string seen = display(*s, "SELECT id, at, g FROM t ORDER BY id");
    (void)!write(fds[1], seen.data(), seen.size());
    _exit(0);  // no destructor, no checkpoint: as if killed
  }
  close(fds[1]);
  std::string seen;
  char buf[512];
  ssize_t n;
  while ((n = read(fds[0], buf, sizeof buf)) > 0) seen.append(buf, static_cast<size_t>(n));
  close(fds[0]);
  int status = 0;
  waitpid(pid, &status, 0);
  ASSERT_NE(seen, "<none>");

  auto server = Server::open(dir);
  auto s = server->connect("D");
  ASSERT_NE(s, nullptr);
  EXPECT_EQ(display(*s, "SELECT id, at, g FROM t ORDER BY id"), seen);
  s.reset();
  server.reset();  // checkpoint
  auto again = Server::open(dir);
  auto s2 = again->connect("D");
  EXPECT_EQ(display(*s2, "SELECT id, at, g FROM t ORDER BY id"), seen);
  EXPECT_EQ(display(*s2, "SELECT COUNT(*) FROM t"), "2|");
  s2.reset();
  again.reset();
  std::filesystem::remove_all(dir);
}

TEST(EnginePersistence, SecondProcessIsRefused) {
  auto dir = fresh_dir("lock");
  auto server = Server::open(dir);
  pid_t pid = fork();
  if (pid == 0) {
    try {
      auto other = Server::open(dir);
      _exit(1);
    } catch (const OpenError&) {
      _exit(0);
    } catch (...) {
      _exit(2);
    }
  }
  int status = 0;
  waitpid(pid, &status, 0);
  EXPECT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0);
  server.reset();
  std::filesystem::remove_all(dir);
}

TEST(EnginePersistence, DroppedDatabaseStaysDropped) {
  auto dir = fresh_dir("drop");
  {
    auto server = Server::open(dir);
    auto m = server->connect("master");
    ASSERT_TRUE(m->execute("CREATE DATABASE A CREATE DATABASE B").ok());
    server->checkpoint();
    ASSERT_TRUE(m->execute("DROP DATABASE A").ok());
  }
  auto server = Server::open(dir);
  EXPECT_EQ(server->database_names(), (std::vector<std::string>{"master", "B"}));
  server.reset();
  std::filesystem::remove_all(dir);
}

uintmax_t bytes_in(const std::filesystem::path& dir) {
  uintmax_t total = 0;
  for (const auto& entry : std::filesystem::directory_iterator(dir))
    if (entry.is_regular_file()) total += entry.file_size();
  return total;
}

// Each file of the directory with its size.
std::vector<std::string> files_in(const std::filesystem::path& dir) {
  std::vector<std::string> files;
  for (const auto& entry : std::filesystem::directory_iterator(dir))
    files.push_back(entry.path().filename().string() + " " + std::to_string(entry.file_size()));
  std::sort(files.begin(), files.end());
  return files;
}

// Closing checkpoints only what the journal holds: a server that was only
// read writes no snapshot and syncs nothing, and one that changed a row
// still leaves it in the next snapshot.
TEST(EnginePersistence, ClosingAfterReadingOnlyWritesNothing) {
  auto dir = fresh_dir("readonly");
  {
    auto server = Server::open(dir);
    server->connect("master")->execute("CREATE DATABASE D");
    server->connect("D")->execute("CREATE TABLE t (v int) INSERT INTO t VALUES (1)");
  }
  const std::vector<std::string> files = files_in(dir);
  {
    auto server = Server::open(dir);
    const uint64_t syncs = storage::syncs_so_far();
    EXPECT_EQ(display(*server->connect("D"), "SELECT v FROM t"), "1|");
    server.reset();
    EXPECT_EQ(storage::syncs_so_far(), syncs);
  }
  EXPECT_EQ(files_in(dir), files);
  {
    auto server = Server::open(dir);
    server->connect("D")->execute("UPDATE t SET v = 2");
  }
  EXPECT_NE(files_in(dir), files);
  {
    auto server = Server::open(dir);
    EXPECT_EQ(display(*server->connect("D"), "SELECT v FROM t"), "2|");
  }
  std::filesystem::remove_all(dir);
}

// Runs `body` in a child that ends without a checkpoint, as if killed; the
// child's exit code is the number of failed checks.
int in_killed_child(const std::function<int()>& body) {
  pid_t pid = fork();
  if (pid == 0) _exit(body());
  int status = 0;
  waitpid(pid, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : 100;
}

// A re-run over an upgraded database sends statements that find nothing to
// do; they must cost neither a journal record nor a sync, while every
// statement that changed something is still replayed after a kill.
TEST(EnginePersistence, StatementsThatChangeNothingAreNotJournaled) {
  auto dir = fresh_dir("unchanged");
  int failed = in_killed_child([&] {
    auto server = Server::open(dir);
    server->connect("master")->execute("CREATE DATABASE D");
    auto s = server->connect("D");
    s->execute("CREATE TABLE t (id int IDENTITY(1,1) NOT NULL PRIMARY KEY, v int)");
    s->execute("INSERT INTO t (v) VALUES (1)");
    const uintmax_t bytes = bytes_in(dir);
    const uint64_t syncs = storage::syncs_so_far();
    int errors = 0;
    for (const char* unchanged :
         {"IF NOT EXISTS (SELECT * FROM t) INSERT INTO t (v) VALUES (9)", "UPDATE t SET v = 2 WHERE v = 7",
          "DELETE FROM t WHERE id < 0", "INSERT INTO t (v) SELECT v FROM t WHERE v > 5",
          "BEGIN TRANSACTION UPDATE t SET v = 3 WHERE 1 = 0 COMMIT", "SELECT * FROM t"})
      errors += s->execute(unchanged).ok() ? 0 : 1;
    errors += bytes_in(dir) == bytes ? 0 : 10;
    errors += storage::syncs_so_far() == syncs ? 0 : 20;
    s->execute("IF EXISTS (SELECT * FROM t) UPDATE t SET v = 5");
    s->execute("INSERT INTO t (v) SELECT v + 1 FROM t");
    server->connect("master")->execute("IF 1 = 1 CREATE DATABASE E");
    errors += storage::syncs_so_far() >= syncs + 3 ? 0 : 40;
    return errors;
  });
  EXPECT_EQ(failed, 0);
  auto server = Server::open(dir);
  auto s = server->connect("D");
  ASSERT_NE(s, nullptr);
  EXPECT_EQ(display(*s, "SELECT id, v FROM t ORDER BY id"), "1|5|2|6|");
  EXPECT_NE(server->connect("E"), nullptr);
  s.reset();
  server.reset();
  std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace standin::test
