// Table layouts of the benchmark workloads, as CREATE TABLE texts for the
// engine and for SQLite.
#pragma once

#include <string>

namespace bench {

// The bank directory after its widening: the original four columns, the
// twenty added ones and the identity ID, clustered on (BLZ, ID).
std::string bank_directory_ddl_tsql();
// SQLite has no identity column outside the rowid: ID becomes the rowid
// alias and (BLZ, ID) a unique index.
std::string bank_directory_ddl_sqlite();

// The SKR 49 chart: the 106 columns of the account layout, KoSt and
// DatevAuto, clustered on (BUCHJAHR, KONTONR). In SQLite a WITHOUT ROWID
// table, which like a clustered key keeps the rows in key order.
std::string skr49_chart_ddl_tsql();
std::string skr49_chart_ddl_sqlite();

}  // namespace bench
