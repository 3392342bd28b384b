// Crash test of the whole upgrade, in the manner of SQLite's crash tests.
//
// A demo tenant of the old release is seeded into a data directory and
// checkpointed. A first run of the tool over it is recorded: after every
// statement the tool sends, the length of the engine's journal. Each
// distinct length is a crash point: the data directory as a process killed
// right before the next statement leaves it (the checkpoint, and the journal
// up to there; an open transaction has written nothing yet). For each crash
// point the directory is rebuilt, reopened (the engine recovers from it), the
// tool is run twice to its end, and the dump of the tenant is compared with
// the dump after two uninterrupted runs. Every crash point must converge.
//
// A stored script that loads many rows is one statement of the tool: the
// crash points between its batches are left to the engine's own crash tests.
//
// CRASH_SHARD=I/N runs every N-th crash point from the I-th (ctest runs the
// shards side by side); CRASH_POINTS=all tries every crash point, a number
// tries a seeded sample of that many (default 240), CRASH_SEED the seed.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "db/connection_factory.h"
#include "standin/standin.h"
#include "standin_tenant.h"
#include "support/database_dump.h"
#include "support/demo_server.h"
#include "support/recording_ui.h"
#include "upgrade/run_driver.h"

namespace {

namespace fs = std::filesystem;

// The help texts are emptied and inserted again by every run, under new
// identity values; their columns are still compared.
const std::set<std::string> kRowsRebuiltByEveryRun = {"tblHelp"};

struct CrashPoint {
  uint64_t journal_length = 0;
  std::string next_statement;  // the first statement the crash keeps from the server
  bool inside_script = false;  // between two batches of one stored script
};

// A batch of a stored script run batch by batch (the template loads).
bool script_batch(const db::StatementRecord& r) {
  return r.channel == db::Channel::Single && r.guard.kind() == db::Guard::Kind::Reported && !r.text.empty() &&
         r.text.back() == '\n';
}

struct RunResult {
  int exit_code = 0;
  std::vector<std::string> dialogs;
};

fs::path scratch_root() {
  // Crash trials rewrite a data directory hundreds of times; memory is
  // faster than a disk where there is one.
  if (const char* dir = std::getenv("CRASH_DIR")) return dir;
  if (fs::is_directory("/dev/shm")) return "/dev/shm";
  return fs::temp_directory_path();
}

fs::path journal_file(const fs::path& dir) {
  for (const auto& entry : fs::directory_iterator(dir))
    if (entry.path().filename().string().starts_with("journal.")) return entry.path();
  return {};
}

// Where the journal's records end, walking their frames on from `from`, a
// record end already known. The file is zero-filled ahead of its records; a
// record's 12-byte header (little-endian length, two checksums) is never all
// zeros.
uint64_t records_end(const fs::path& journal, uint64_t from) {
  std::ifstream in(journal, std::ios::binary);
  for (;;) {
    unsigned char header[12] = {};
    in.seekg(static_cast<std::streamoff>(from));
    if (!in.read(reinterpret_cast<char*>(header), sizeof header)) return from;
    if (std::all_of(std::begin(header), std::end(header), [](unsigned char c) { return c == 0; })) return from;
    uint32_t length = 0;
    for (int i = 3; i >= 0; --i) length = length << 8 | header[i];
    from += sizeof header + length;
  }
}

std::string file_bytes(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

std::string first_line(const std::string& text) {
  std::string line = text.substr(0, text.find_first_of("\r\n"));
  return line.size() > 120 ? line.substr(0, 120) + "..." : line;
}

// One run of the tool on the server, as the program runs it.
RunResult run_tool(standin::Server& server, const fs::path& settings,
                   const db::StatementRunner::Observer& observer = nullptr) {
  stage1_testing::StandinFactory factory(server);
  testing_support::RecordingUi ui;
  upgrade::RunDriver driver(ui, factory, settings);
  if (observer) driver.add_observer(observer);
  RunResult result;
  result.exit_code = driver.run().exit_code();
  for (const auto& d : ui.dialogs)
    if (d.kind != upgrade::DialogKind::Information) result.dialogs.push_back(d.text);
  return result;
}

std::string dump_tenant(standin::Server& server) {
  auto session = server.connect("DRAVOK");
  return testing_support::dump_database(*session, kRowsRebuiltByEveryRun);
}

class TenantCrashTest : public ::testing::Test {
 protected:
  void SetUp() override {
    root_ = scratch_root() / ("sqlupdate-crash-" + std::to_string(getpid()));
    fs::remove_all(root_);
    fs::create_directories(root_);
    std::ofstream(root_ / "SysDBAdo.INI") << "[Datenbank]\nProvider=Embedded\nData Source=trial\n";
    seed_base();
  }
  void TearDown() override { fs::remove_all(root_); }

  // The old-release tenant DRAVOK (the discovery catalogue is a tenant too)
  // with the first demo club, checkpointed: the journal starts empty.
  void seed_base() {
    auto server = standin::Server::open(base());
    testing_support::seed_demo_database(*server, "DRAVOK", "demo/club_01.sql");
    server->checkpoint();
  }

  // The uninterrupted runs: the crash points of the first, and the dump
  // after the second.
  std::vector<CrashPoint> reference_runs() {
    fs::copy(base(), trial(), fs::copy_options::recursive);
    const fs::path journal = journal_file(trial());
    std::vector<CrashPoint> points{{fs::file_size(journal), "", false}};
    auto server = standin::Server::open(trial());
    RunResult first = run_tool(*server, settings(), [&](const db::StatementRecord& r) {
      if (r.skipped) return;
      if (points.back().next_statement.empty()) {
        points.back().next_statement = first_line(r.text);
        points.back().inside_script = points.back().inside_script && script_batch(r);
      }
      uint64_t length = records_end(journal, points.back().journal_length);
      if (length != points.back().journal_length) points.push_back({length, "", script_batch(r)});
    });
    EXPECT_EQ(first.exit_code, 0) << "the uninterrupted first run";
    EXPECT_TRUE(fs::exists(journal)) << "the first run checkpointed; its journal is gone";
    reference_journal_ = file_bytes(journal);
    RunResult second = run_tool(*server, settings());
    EXPECT_EQ(second.exit_code, 0) << "the uninterrupted second run";
    expected_ = dump_tenant(*server);
    server.reset();
    fs::remove_all(trial());
    points.pop_back();  // after the last statement: the uninterrupted run itself
    std::erase_if(points, [](const CrashPoint& p) { return p.inside_script; });
    return points;
  }

  // The directory as a process killed at `point` leaves it, reopened and
  // upgraded twice. Returns what differs from the uninterrupted runs.
  std::string trial_at(const CrashPoint& point) {
    fs::remove_all(trial());
    fs::copy(base(), trial(), fs::copy_options::recursive);
    std::ofstream(journal_file(trial()), std::ios::binary | std::ios::trunc)
        << reference_journal_.substr(0, point.journal_length);
    auto server = standin::Server::open(trial());
    RunResult first = run_tool(*server, settings());
    RunResult second = run_tool(*server, settings());
    std::string problem;
    if (first.exit_code == 2 || second.exit_code == 2) problem += "a run after the crash was aborted\n";
    for (const auto& d : second.dialogs) problem += "the second run after the crash reported: " + d + "\n";
    std::string dump = dump_tenant(*server);
    if (dump != expected_) problem += first_difference(dump);
    return problem;
  }

  std::string first_difference(const std::string& dump) const {
    std::istringstream got(dump), want(expected_);
    std::string g, w, table;
    for (int line = 1;; ++line) {
      bool more_got = static_cast<bool>(std::getline(got, g));
      bool more_want = static_cast<bool>(std::getline(want, w));
      if (!more_got && !more_want) return "dumps differ\n";
      if (w.starts_with("== ")) table = w;
      if (g != w || more_got != more_want)
        return "dump line " + std::to_string(line) + " (" + table + "): got '" + (more_got ? g : "<end>") +
               "', want '" + (more_want ? w : "<end>") + "'\n";
    }
  }

  fs::path base() const { return root_ / "base"; }
  fs::path trial() const { return root_ / "trial"; }
  fs::path settings() const { return root_ / "SysDBAdo.INI"; }

  fs::path root_;
  std::string reference_journal_;
  std::string expected_;
};

// The crash points this process tries: a seeded sample unless all are
// asked for, then every N-th of them for shard I of N.
std::vector<CrashPoint> chosen(std::vector<CrashPoint> points) {
  const char* wanted = std::getenv("CRASH_POINTS");
  size_t sample = 240;
  if (wanted && std::string(wanted) == "all")
    sample = points.size();
  else if (wanted)
    sample = std::stoul(wanted);
  if (sample < points.size()) {
    const char* seed = std::getenv("CRASH_SEED");
    std::mt19937 random(seed ? static_cast<unsigned>(std::stoul(seed)) : 20261209u);
    std::shuffle(points.begin(), points.end(), random);
    points.resize(sample);
    std::sort(points.begin(), points.end(),
              [](const CrashPoint& a, const CrashPoint& b) { return a.journal_length < b.journal_length; });
  }
  size_t shard = 0, shards = 1;
  if (const char* s = std::getenv("CRASH_SHARD")) std::sscanf(s, "%zu/%zu", &shard, &shards);
  std::vector<CrashPoint> mine;
  for (size_t i = shard; i < points.size(); i += std::max<size_t>(shards, 1)) mine.push_back(points[i]);
  return mine;
}

TEST_F(TenantCrashTest, EveryCrashPointConverges) {
  std::vector<CrashPoint> points = reference_runs();
  ASSERT_FALSE(HasFailure());
  ASSERT_GT(points.size(), 100u) << "the first run should commit far more statements";
  std::vector<CrashPoint> mine = chosen(points);
  std::printf("%zu crash points in a first run, %zu tried here\n", points.size(), mine.size());
  size_t failed = 0;
  for (const CrashPoint& point : mine) {
    std::string problem = trial_at(point);
    if (problem.empty()) continue;
    ++failed;
    ADD_FAILURE() << "crash at journal length " << point.journal_length << ", before: " << point.next_statement << "\n"
                  << problem;
  }
  std::printf("%zu of %zu crash points converged\n", mine.size() - failed, mine.size());
}

}  // namespace
