// The workloads of the script benchmarks: the two big data-script shapes of
// the upgrade, taken from the stored scripts (generated from the Bundesbank
// file and the SKR 49 chart), each with its table, for standin and SQLite.
#pragma once

#include <cstddef>
#include <string>

namespace bench {

struct Workload {
  std::string title;
  std::string table;
  std::string tsql_setup, tsql_script;  // one statement per line, CR LF
  std::string sqlite_setup, sqlite_script;
  size_t statements = 0;
};

// 6,000 bank-code inserts with a column list into D_blz.
Workload bank_code_inserts();

// 1,000 positional inserts of 108 values into F5SKR49.
Workload chart_positional_inserts();

}  // namespace bench
