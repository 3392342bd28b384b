// The due-date function, created from its script on the stand-in server.
#if SQLUPDATE_SCRIPTS_ON_STANDIN
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "script_session.h"

namespace {

using Rows = std::vector<std::vector<std::string>>;

class DueDateFunction : public ::testing::Test {
 protected:
  void SetUp() override {
    db_.ok(
        "CREATE TABLE MgVert (AdrNr int NOT NULL, VertragNr int NOT NULL, Art varchar(20) NULL, "
        "Sollstellung varchar(20) NULL, VertragBegin datetime NULL, VertragEnde datetime NULL, "
        "FalligkeitDatum1 datetime NULL, FalligkeitDatum2 datetime NULL, FalligkeitDatum3 datetime NULL, "
        "FalligkeitDatum4 datetime NULL, FalligkeitTag int NULL)");
    db_.load("MemoFDat");
  }

  // One contract with the given interval, due dates (day.month.year or
  // "NULL") and due day.
  void contract(int number, const std::string& interval, std::vector<std::string> dates, const std::string& day) {
    dates.resize(4, "NULL");
    std::string sql =
        "INSERT INTO MgVert VALUES (1, " + std::to_string(number) + ", 'A', '" + interval + "', '01.01.2010', NULL";
    for (const std::string& d : dates) sql += d == "NULL" ? ", NULL" : ", '" + d + "'";
    db_.ok(sql + ", " + day + ")");
  }

  // Period and due date (day.month.year; the time must be midnight).
  Rows due(int year) {
    Rows rows = db_.rows("SELECT Zeitraum, FalligkeitDatum FROM dbo.fFalligkeitDatum(" + std::to_string(year) +
                         ") ORDER BY VertragNr, Zeitraum");
    for (auto& row : rows) {
      std::string shown = row[1];  // "2016-02-28 00:00:00.000"
      if (shown.size() != 23) {
        ADD_FAILURE() << "due date shown as " << shown;
        continue;
      }
      EXPECT_EQ(shown.substr(10), " 00:00:00.000");
      row[1] = shown.substr(8, 2) + "." + shown.substr(5, 2) + "." + shown.substr(0, 4);
    }
    return rows;
  }

  ScriptSession db_;
};

TEST_F(DueDateFunction, YearlyDueDateMovesIntoTheYearAndLosesLeapDays) {
  contract(1, "jährlich", {"29.02.2016"}, "NULL");
  EXPECT_EQ(due(2020), (Rows{{"1", "28.02.2020"}}));
  EXPECT_EQ(due(2019), (Rows{{"1", "28.02.2019"}}));
  contract(2, "jährlich", {"NULL"}, "NULL");  // no date, no row
  EXPECT_EQ(due(2019).size(), 1u);
}

TEST_F(DueDateFunction, PeriodNumbersOfHalfYearlyAndQuarterlyContracts) {
  contract(1, "halbjährl.", {"15.01.2010", "15.07.2010"}, "NULL");
  contract(2, "quartal", {"01.01.2011", "01.04.2011", "01.07.2011", "31.10.2011"}, "NULL");
  EXPECT_EQ(due(2016), (Rows{{"1", "15.01.2016"},
                             {"7", "15.07.2016"},
                             {"1", "01.01.2016"},
                             {"2", "01.04.2016"},
                             {"3", "01.07.2016"},
                             {"4", "31.10.2016"}}));
}

TEST_F(DueDateFunction, MonthlyDueDayWithinEveryMonth) {
  contract(1, "monatlich", {}, "15");
  Rows rows = due(2016);
  ASSERT_EQ(rows.size(), 12u);
  for (int k = 1; k <= 12; ++k) {
    std::string expected = std::string("15.") + (k < 10 ? "0" : "") + std::to_string(k) + ".2016";
    EXPECT_EQ(rows[k - 1], (std::vector<std::string>{std::to_string(k), expected}));
  }
}

TEST_F(DueDateFunction, MonthlyDueDayBeyondTheThresholdFallsBack) {
  contract(1, "monatlich", {}, "30");
  Rows expected;
  const char* dates[] = {"31.01", "28.02", "30.03", "30.04", "31.05", "30.06",
                         "31.07", "31.08", "30.09", "31.10", "30.11", "31.12"};
  for (int k = 1; k <= 12; ++k) expected.push_back({std::to_string(k), std::string(dates[k - 1]) + ".2016"});
  EXPECT_EQ(due(2016), expected);  // 2016 is a leap year: still 28 February
}

TEST_F(DueDateFunction, MonthlyDueDay31KeepsOnlyMarch) {
  contract(1, "monatlich", {}, "31");
  Rows rows = due(2017);
  ASSERT_EQ(rows.size(), 12u);
  EXPECT_EQ(rows[2][1], "31.03.2017");
  EXPECT_EQ(rows[3][1], "30.04.2017");
  EXPECT_EQ(rows[1][1], "28.02.2017");
}

TEST_F(DueDateFunction, ContractsWithoutDueDataOrWithOtherIntervalsYieldNothing) {
  contract(1, "monatlich", {"01.01.2010"}, "NULL");
  contract(2, "wöchentlich", {"01.01.2010"}, "5");
  contract(3, "einmalig", {"01.01.2010", "01.02.2010"}, "NULL");
  EXPECT_TRUE(due(2016).empty());
}

TEST_F(DueDateFunction, ResultColumnsComeFromTheContract) {
  contract(7, "jährlich", {"03.05.2012"}, "NULL");
  EXPECT_EQ(db_.rows("SELECT AdrNr, VertragNr, Art, Sollstellung, VertragBegin, "
                     "VertragEnde FROM dbo.fFalligkeitDatum(2016)"),
            (Rows{{"1", "7", "A", "jährlich", "2010-01-01 00:00:00.000", "NULL"}}));
}

}  // namespace
#endif
