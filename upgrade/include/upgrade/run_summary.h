// The summary of a run that the console and the log end with: how many
// tenant databases the run found and upgraded, how many statements it sent,
// how many failures it reported (and on which databases), how long it took.
#pragma once

#include <string>
#include <vector>

#include "upgrade/ui_feedback.h"

namespace upgrade {

struct RunSummary {
  int tenants_found = 0;     // by the main run's list, TMP copies not counted
  int tenants_upgraded = 0;  // whose sequence ran to its end
  long long statements = 0;  // sent, on every connection
  std::vector<ReportedFailure> failures;
  double seconds = 0;
};

// "Zusammenfassung: 3 Datenbanken gefunden, 3 Datenbanken aktualisiert,
// 41 233 Anweisungen, 0 Meldungen, 4.2 s", then one line per database with
// reported failures: "  DRAVOK01: 2 Meldungen".
std::string summary_text(const RunSummary& summary);

// `n` with a blank between groups of three digits: "41 233".
std::string with_thousands(long long n);

}  // namespace upgrade
