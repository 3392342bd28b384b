#include "upgrade/run_summary.h"

#include <cstdio>

namespace upgrade {
namespace {

std::string counted(long long n, const char* one, const char* many) {
  return with_thousands(n) + " " + (n == 1 ? one : many);
}

// The databases with reported failures, in the order of their first one.
std::vector<std::pair<std::string, int>> failures_per_database(const std::vector<ReportedFailure>& failures) {
  std::vector<std::pair<std::string, int>> out;
  for (const ReportedFailure& f : failures) {
    auto it = out.begin();
    while (it != out.end() && it->first != f.database) ++it;
    if (it == out.end())
      out.emplace_back(f.database, 1);
    else
      ++it->second;
  }
  return out;
}

}  // namespace

std::string with_thousands(long long n) {
  std::string digits = std::to_string(n < 0 ? -n : n);
  std::string out;
  for (size_t i = 0; i < digits.size(); ++i) {
    if (i > 0 && (digits.size() - i) % 3 == 0) out += ' ';
    out += digits[i];
  }
  return n < 0 ? "-" + out : out;
}

std::string summary_text(const RunSummary& s) {
  char seconds[32];
  std::snprintf(seconds, sizeof seconds, "%.1f s", s.seconds);
  std::string text = "Zusammenfassung: " + counted(s.tenants_found, "Datenbank gefunden", "Datenbanken gefunden") +
                     ", " + counted(s.tenants_upgraded, "Datenbank aktualisiert", "Datenbanken aktualisiert") + ", " +
                     counted(s.statements, "Anweisung", "Anweisungen") + ", " +
                     counted(static_cast<long long>(s.failures.size()), "Meldung", "Meldungen") + ", " + seconds;
  for (const auto& [database, count] : failures_per_database(s.failures))
    text += "\n  " + database + ": " + counted(count, "Meldung", "Meldungen");
  return text;
}

}  // namespace upgrade
