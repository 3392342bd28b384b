// The summary line of a run and its number format.
#include <gtest/gtest.h>

#include "upgrade/run_summary.h"

namespace {

TEST(RunSummary, ThousandsAreGroupedWithABlank) {
  EXPECT_EQ(upgrade::with_thousands(0), "0");
  EXPECT_EQ(upgrade::with_thousands(999), "999");
  EXPECT_EQ(upgrade::with_thousands(1000), "1 000");
  EXPECT_EQ(upgrade::with_thousands(41233), "41 233");
  EXPECT_EQ(upgrade::with_thousands(1234567), "1 234 567");
}

TEST(RunSummary, CountsInTheirGrammaticalNumberAndFailuresPerDatabase) {
  upgrade::RunSummary summary{3, 3, 41233, {}, 4.24};
  EXPECT_EQ(upgrade::summary_text(summary),
            "Zusammenfassung: 3 Datenbanken gefunden, 3 Datenbanken aktualisiert, "
            "41 233 Anweisungen, 0 Meldungen, 4.2 s");

  summary = {1, 0, 1, {{"DRAVOK02", "a"}, {"Dravok", "b"}, {"DRAVOK02", "c"}}, 0.05};
  EXPECT_EQ(upgrade::summary_text(summary),
            "Zusammenfassung: 1 Datenbank gefunden, 0 Datenbanken aktualisiert, 1 Anweisung, "
            "3 Meldungen, 0.1 s\n"
            "  DRAVOK02: 2 Meldungen\n"
            "  Dravok: 1 Meldung");
}

}  // namespace
