#include "isolated_run.h"

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <exception>

namespace bench {
namespace {

// What the child sends back through the pipe.
struct Report {
  double best_seconds;
  int runs;
  long rows;
  long start_rss_kb;
  char error[512];
};

Report run_trials(const std::function<TrialOutcome()>& trial, int max_runs, double budget) {
  Report report{};
  report.start_rss_kb = own_max_rss_kb();
  double spent = 0;
  try {
    for (int i = 0; i < max_runs && (i == 0 || spent < budget); ++i) {
      TrialOutcome outcome = trial();
      spent += outcome.seconds;
      report.best_seconds = i == 0 ? outcome.seconds : std::min(report.best_seconds, outcome.seconds);
      report.rows = outcome.rows;
      report.runs = i + 1;
      if (!outcome.error.empty()) {
        std::strncpy(report.error, outcome.error.c_str(), sizeof report.error - 1);
        break;
      }
    }
  } catch (const std::exception& e) {
    std::strncpy(report.error, e.what(), sizeof report.error - 1);
  }
  return report;
}

}  // namespace

long own_max_rss_kb() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss;
}

Measurement measure_in_child(const std::function<TrialOutcome()>& trial, int max_runs, double time_budget_seconds) {
  int fds[2];
  if (pipe(fds) != 0) return {.error = "pipe failed"};
  pid_t child = fork();
  if (child < 0) return {.error = "fork failed"};
  if (child == 0) {
    close(fds[0]);
    Report report = run_trials(trial, max_runs, time_budget_seconds);
    ssize_t written = write(fds[1], &report, sizeof report);
    _exit(written == sizeof report ? 0 : 1);
  }
  close(fds[1]);
  Report report{};
  ssize_t got = read(fds[0], &report, sizeof report);
  close(fds[0]);
  int status = 0;
  rusage usage{};
  wait4(child, &status, 0, &usage);

  Measurement m;
  m.peak_rss_kb = usage.ru_maxrss;
  if (got != static_cast<ssize_t>(sizeof report)) {
    m.error = WIFSIGNALED(status) ? "child killed by signal " + std::to_string(WTERMSIG(status))
                                  : "child exited without a report";
    return m;
  }
  m.best_seconds = report.best_seconds;
  m.runs = report.runs;
  m.rows = report.rows;
  m.start_rss_kb = report.start_rss_kb;
  m.error = report.error;
  return m;
}

}  // namespace bench
