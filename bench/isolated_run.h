// Runs a timed trial several times in a forked child process, so that the
// peak memory of one engine is not mixed with the other's (the child's
// maximum resident set size comes back through wait4).
#pragma once

#include <functional>
#include <string>

namespace bench {

struct TrialOutcome {
  double seconds = 0;  // of the timed part only
  long rows = 0;       // rows in the target table afterwards, as a check
  std::string error;   // empty when the trial ran cleanly
};

struct Measurement {
  double best_seconds = 0;
  int runs = 0;
  long rows = 0;
  long start_rss_kb = 0;  // of the child before its first trial
  long peak_rss_kb = 0;   // of the child over all its trials
  std::string error;
};

// The largest resident set size this process has had so far, in KB.
long own_max_rss_kb();

// Repeats `trial` up to `max_runs` times (fewer once `time_budget_seconds`
// are spent, at least once) and keeps the best time.
Measurement measure_in_child(const std::function<TrialOutcome()>& trial, int max_runs, double time_budget_seconds);

}  // namespace bench
