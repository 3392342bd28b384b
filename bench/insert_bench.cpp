// Executes the two big data-script shapes of the upgrade as one command text
// each, in standin and in SQLite (in memory, library), and prints the best
// time of several runs, the ratio and each engine's peak memory:
//   (a) 6,000 bank-code inserts with a column list, into the bank directory;
//   (b) 1,000 positional inserts of 108 values, into the SKR 49 chart.
// Each engine runs in a child process of its own (see isolated_run.h).
#include <sqlite3.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <string>

#include "isolated_run.h"
#include "standin/standin.h"
#include "workloads.h"

namespace {

using bench::Workload;
using Clock = std::chrono::steady_clock;

constexpr int kMaxRuns = 5;
constexpr double kTimeBudgetSeconds = 20;

double seconds_since(Clock::time_point start) { return std::chrono::duration<double>(Clock::now() - start).count(); }

std::string first_error(const standin::BatchResult& result) {
  if (result.ok()) return {};
  const standin::Error& e = result.errors.front();
  return "Msg " + std::to_string(e.number) + " line " + std::to_string(e.line) + ": " + e.message + " (" +
         std::to_string(result.errors.size()) + " errors)";
}

bench::TrialOutcome standin_trial(const Workload& w) {
  auto server = standin::Server::in_memory();
  auto session = server->connect("master");
  bench::TrialOutcome outcome;
  if (outcome.error = first_error(session->execute(w.tsql_setup)); !outcome.error.empty()) {
    return outcome;
  }
  auto start = Clock::now();
  standin::BatchResult result = session->execute(w.tsql_script);
  outcome.seconds = seconds_since(start);
  outcome.error = first_error(result);
  standin::BatchResult count = session->execute("SELECT COUNT(*) FROM " + w.table);
  if (count.ok() && !count.result_sets.empty() && !count.result_sets[0].rows.empty()) {
    outcome.rows = static_cast<long>(count.result_sets[0].rows[0][0].int_value());
  }
  return outcome;
}

bench::TrialOutcome sqlite_trial(const Workload& w) {
  sqlite3* db = nullptr;
  sqlite3_open(":memory:", &db);
  bench::TrialOutcome outcome;
  char* message = nullptr;
  auto fail = [&](const char* stage) {
    outcome.error = std::string(stage) + ": " + (message ? message : "?");
    sqlite3_free(message);
  };
  if (sqlite3_exec(db, w.sqlite_setup.c_str(), nullptr, nullptr, &message) != SQLITE_OK) {
    fail("setup");
  } else {
    auto start = Clock::now();
    int rc = sqlite3_exec(db, w.sqlite_script.c_str(), nullptr, nullptr, &message);
    outcome.seconds = seconds_since(start);
    if (rc != SQLITE_OK) fail("script");
    std::string count = "SELECT COUNT(*) FROM " + w.table;
    sqlite3_exec(
        db, count.c_str(),
        [](void* rows, int, char** values, char**) {
          *static_cast<long*>(rows) = std::atol(values[0]);
          return 0;
        },
        &outcome.rows, nullptr);
  }
  sqlite3_close(db);
  return outcome;
}

void print_row(const char* engine, const bench::Measurement& m, size_t statements) {
  if (!m.error.empty() && m.runs == 0) {
    std::printf("  %-8s FAILED: %s\n", engine, m.error.c_str());
    return;
  }
  std::printf("  %-8s %10.1f ms  %9.0f stmt/s  %4d runs  peak %7.1f MB (+%.1f MB)  %6ld rows\n", engine,
              m.best_seconds * 1e3, static_cast<double>(statements) / m.best_seconds, m.runs,
              static_cast<double>(m.peak_rss_kb) / 1024.0, static_cast<double>(m.peak_rss_kb - m.start_rss_kb) / 1024.0,
              m.rows);
  if (!m.error.empty()) std::printf("           error: %s\n", m.error.c_str());
}

void run(const Workload& w) {
  std::printf("%s: %zu statements, %.2f MB of text, one command text\n", w.title.c_str(), w.statements,
              static_cast<double>(w.tsql_script.size()) / 1e6);
  std::fflush(stdout);
  auto standin = bench::measure_in_child([&] { return standin_trial(w); }, kMaxRuns, kTimeBudgetSeconds);
  print_row("standin", standin, w.statements);
  std::fflush(stdout);
  auto sqlite = bench::measure_in_child([&] { return sqlite_trial(w); }, kMaxRuns, kTimeBudgetSeconds);
  print_row("sqlite", sqlite, w.statements);
  if (standin.runs > 0 && sqlite.runs > 0 && sqlite.best_seconds > 0) {
    std::printf("  ratio standin/sqlite: %.2f\n", standin.best_seconds / sqlite.best_seconds);
  }
  std::printf("\n");
  std::fflush(stdout);
}

}  // namespace

int main() {
  try {
    run(bench::bank_code_inserts());
    run(bench::chart_positional_inserts());
  } catch (const std::exception& e) {
    std::fprintf(stderr, "insert_bench: %s\n", e.what());
    return 1;
  }
  return 0;
}
