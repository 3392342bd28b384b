// Chains of equality joins written with commas, the form that once built
// the whole cross product: N small tables t1..tN, each bK = a(K+1), one
// constant filter on t1. Prints the time of the query and the peak memory
// of the process that ran it; asserts nothing.
//
//   join_bench [TABLES...]   (default: 3 4 8 20)
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "isolated_run.h"
#include "standin/standin.h"

namespace {

using Clock = std::chrono::steady_clock;
constexpr int kRowsPerTable = 50;
constexpr int kMaxRuns = 5;
constexpr double kTimeBudgetSeconds = 10;

void make_tables(standin::Session& s, int tables) {
  for (int k = 1; k <= tables; ++k) {
    std::string n = std::to_string(k);
    std::string text = "CREATE TABLE t" + n + " (a" + n + " int, b" + n + " int, c" + n + " varchar(20)) ";
    text += "INSERT INTO t" + n + " VALUES ";
    for (int r = 1; r <= kRowsPerTable; ++r)
      text +=
          (r > 1 ? ",(" : "(") + std::to_string(r) + "," + std::to_string(r + 1) + ",'row " + std::to_string(r) + "')";
    s.execute(text);
  }
}

// Tables and equalities listed last to first, the filter on the first
// table: the planner, not the text, has to find where the chain starts.
std::string chain_query(int tables) {
  std::string from, where = "a1 = 7";
  for (int k = tables; k >= 1; --k) from += (k < tables ? ", t" : "t") + std::to_string(k);
  for (int k = tables - 1; k >= 1; --k) where += " AND b" + std::to_string(k) + " = a" + std::to_string(k + 1);
  return "SELECT a1, c" + std::to_string(tables) + " FROM " + from + " WHERE " + where;
}

bench::TrialOutcome chain_trial(int tables) {
  bench::TrialOutcome outcome;
  auto server = standin::Server::in_memory();
  server->connect("master")->execute("CREATE DATABASE B");
  auto session = server->connect("B");
  make_tables(*session, tables);
  std::string query = chain_query(tables);
  auto start = Clock::now();
  standin::BatchResult r = session->execute(query);
  outcome.seconds = std::chrono::duration<double>(Clock::now() - start).count();
  if (!r.ok())
    outcome.error = "Msg " + std::to_string(r.errors[0].number) + ": " + r.errors[0].message;
  else if (!r.result_sets.empty())
    outcome.rows = static_cast<long>(r.result_sets[0].rows.size());
  return outcome;
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<int> chains;
  for (int i = 1; i < argc; ++i) chains.push_back(std::atoi(argv[i]));
  if (chains.empty()) chains = {3, 4, 8, 20};
  std::printf("comma-joined chains of %d-row tables, one constant filter:\n", kRowsPerTable);
  for (int tables : chains) {
    if (tables < 2) continue;
    bench::Measurement m = bench::measure_in_child([&] { return chain_trial(tables); }, kMaxRuns, kTimeBudgetSeconds);
    if (!m.error.empty()) {
      std::printf("  %2d tables  FAILED: %s\n", tables, m.error.c_str());
      continue;
    }
    std::printf("  %2d tables  %9.2f ms  %d runs  peak %7.1f MB (+%.1f MB)  %ld rows\n", tables, m.best_seconds * 1000,
                m.runs, static_cast<double>(m.peak_rss_kb) / 1024,
                static_cast<double>(m.peak_rss_kb - m.start_rss_kb) / 1024, m.rows);
    std::fflush(stdout);
  }
  return 0;
}
