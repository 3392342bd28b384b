// A data directory keeps a transaction only once it committed: a killed
// process, a checkpoint while it is open, or a journal cut anywhere inside
// its records never bring back part of it.
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "engine_fixture.h"
#include "storage/codec.h"
#include "storage/file_format.h"
#include "storage/file_io.h"

namespace standin::test {
namespace {

std::filesystem::path fresh_dir(const std::string& name) {
  auto dir = std::filesystem::temp_directory_path() / ("standin_txn_" + name + "_" + std::to_string(getpid()));
  std::filesystem::remove_all(dir);
  return dir;
}

// Runs `body` in a child process, which must end with _exit(code) while its
// server is still open, as if killed: no destructor, no checkpoint. Returns
// the child's exit code.
int in_killed_process(const std::function<void()>& body) {
  pid_t pid = fork();
  if (pid == 0) {
    body();
    _exit(99);
  }
  int status = 0;
  waitpid(pid, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::string scalar(Session& s, const char* text) {
  BatchResult r = s.execute(text);
  if (!r.ok() || r.result_sets.empty() || r.result_sets[0].rows.empty()) return "<none>";
  return r.result_sets[0].rows[0][0].to_display();
}

// "committed" when the whole transaction is there, "none" when nothing of
// it is, anything else is a torn transaction.
std::string transaction_state(Session& s) {
  std::string rows = scalar(s, "SELECT COUNT(*) FROM t");
  std::string renamed = scalar(s, "SELECT COUNT(*) FROM t WHERE v = 'changed'");
  std::string u = scalar(s, "SELECT COUNT(*) FROM u");
  if (rows == "3" && renamed == "1" && u == "1") return "committed";
  if (rows == "1" && renamed == "0" && u == "<none>") return "none";
  return "torn: " + rows + "/" + renamed + "/" + u;
}

const char* kSetup = "CREATE TABLE t (id int NOT NULL, v varchar(20) NULL) INSERT INTO t VALUES (1, 'first')";
const char* kTransaction[] = {"BEGIN TRAN",
                              "INSERT INTO t VALUES (2, 'second')",
                              "UPDATE t SET v = 'changed' WHERE id = 1",
                              "CREATE TABLE u (a datetime)",
                              "INSERT INTO u VALUES (GETDATE())",
                              "INSERT INTO t VALUES (3, 'third')",
                              "COMMIT"};

TEST(TxnPersistence, CommittedTransactionSurvivesAKilledProcessAndAnOpenOneDoesNot) {
  auto dir = fresh_dir("kill");
  int code = in_killed_process([&] {
    auto server = Server::open(dir);
    server->connect("master")->execute("CREATE DATABASE D");
    auto s = server->connect("D");
    s->execute(kSetup);
    for (const char* text : kTransaction) s->execute(text);
    auto other = server->connect("D");
    other->execute("CREATE TABLE w (a int) BEGIN TRAN INSERT INTO w VALUES (1) DROP TABLE u");
    s->execute("INSERT INTO t VALUES (4, 'after')");  // committed by itself behind the open one
    server->checkpoint();                             // skipped: a transaction is open
    _exit(0);
  });
  ASSERT_EQ(code, 0);
  auto server = Server::open(dir);
  auto s = server->connect("D");
  ASSERT_NE(s, nullptr);
  EXPECT_EQ(scalar(*s, "SELECT COUNT(*) FROM t"), "4");
  EXPECT_EQ(scalar(*s, "SELECT COUNT(*) FROM u"), "1");
  EXPECT_EQ(scalar(*s, "SELECT COUNT(*) FROM w"), "0");
  s.reset();
  server.reset();
  std::filesystem::remove_all(dir);
}

std::filesystem::path journal_of(const std::filesystem::path& dir) {
  for (const auto& entry : std::filesystem::directory_iterator(dir)) {
    std::string name = entry.path().filename().string();
    if (name.starts_with("journal.") && name.ends_with(".log")) return entry.path();
  }
  return {};
}

// Byte offsets at which the journal's records end, from its framing: a
// 12-byte record header whose first field is the payload length. The zeros
// the file is filled with ahead of its records end them.
std::vector<uint64_t> record_ends(const std::string& file, uint64_t header) {
  std::vector<uint64_t> ends;
  uint64_t pos = header;
  while (pos + 12 <= file.size() && file.find_first_not_of('\0', pos) < pos + 12) {
    storage::Reader r(std::string_view(file).substr(pos, 4));
    uint32_t length = 0;
    r.u32(&length);
    pos += 12 + length;
    if (pos > file.size()) break;
    ends.push_back(pos);
  }
  return ends;
}

// The cuts to try: every record boundary of the transaction's group and
// points inside each of its records.
std::vector<uint64_t> cut_points(const std::vector<uint64_t>& ends, uint64_t group_start) {
  std::vector<uint64_t> cuts{group_start};
  uint64_t start = group_start;
  for (uint64_t end : ends) {
    if (end <= group_start) continue;
    cuts.push_back(start + 5);
    cuts.push_back(start + 12 + (end - start - 12) / 2);
    cuts.push_back(end - 1);
    cuts.push_back(end);
    start = end;
  }
  return cuts;
}

TEST(TxnPersistence, JournalCutInsideATransactionYieldsAllOrNoneAndLaterStatementsSurvive) {
  auto origin = fresh_dir("cut_origin");
  ASSERT_EQ(in_killed_process([&] {
              auto server = Server::open(origin);
              server->connect("master")->execute("CREATE DATABASE D");
              auto s = server->connect("D");
              s->execute(kSetup);
              for (const char* text : kTransaction) s->execute(text);
              _exit(0);
            }),
            0);
  std::string journal = storage::read_whole_file(journal_of(origin));
  // Journal header: file header, generation (u64), checksum (u32).
  std::vector<uint64_t> ends = record_ends(journal, storage::kFileHeaderSize + 12);
  ASSERT_EQ(ends.size(), 3u + 6u);  // database, table, row; five statements and the commit
  ASSERT_EQ(journal.find_first_not_of('\0', ends.back()), std::string::npos);
  journal.resize(ends.back());
  uint64_t before_group = ends[2];

  for (uint64_t cut : cut_points(ends, before_group)) {
    SCOPED_TRACE("cut at byte " + std::to_string(cut) + " of " + std::to_string(journal.size()));
    auto dir = fresh_dir("cut");
    std::filesystem::copy(origin, dir);
    std::filesystem::resize_file(journal_of(dir), cut);
    std::string expected = cut >= journal.size() ? "committed" : "none";
    int code = in_killed_process([&] {
      auto server = Server::open(dir);
      auto s = server->connect("D");
      if (!s || transaction_state(*s) != expected) _exit(1);
      _exit(s->execute("INSERT INTO t VALUES (9, 'later')").ok() ? 0 : 2);
    });
    ASSERT_EQ(code, 0);
    auto server = Server::open(dir);
    auto s = server->connect("D");
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(scalar(*s, "SELECT COUNT(*) FROM t WHERE id = 9"), "1");
    EXPECT_EQ(scalar(*s, "DELETE FROM t WHERE id = 9 SELECT 1"), "1");
    EXPECT_EQ(transaction_state(*s), expected);
    s.reset();
    server.reset();
    std::filesystem::remove_all(dir);
  }
  std::filesystem::remove_all(origin);
}

}  // namespace
}  // namespace standin::test
