// Which ODBC driver the tool uses when the settings name none, and how each
// family of drivers wants its connection string.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "db/settings.h"

namespace db {

inline constexpr const char* kFreeTdsDriver = "FreeTDS";
// The driver every Windows has, the last choice.
inline constexpr const char* kOldestSqlServerDriver = "SQL Server";

// The driver for settings that name none: FreeTDS on POSIX systems; on
// Windows the newest SQL Server driver installed (one file per system).
std::string default_odbc_driver();

// The newest SQL Server driver among `installed` (names as the driver
// manager lists them, compared without case): the highest "ODBC Driver N for
// SQL Server", then "SQL Server Native Client 11.0", then "SQL Server" —
// which is returned also when none of them is listed.
std::string newest_sql_server_driver(const std::vector<std::string>& installed);

enum class OdbcDriverFamily {
  FreeTds,         // FreeTDS, by name or by its library file
  MicrosoftOdbc,   // "ODBC Driver N for SQL Server"
  OlderSqlServer,  // SQL Server Native Client, "SQL Server", and any other driver
};

struct OdbcDriverKind {
  OdbcDriverFamily family = OdbcDriverFamily::OlderSqlServer;
  int version = 0;  // N of "ODBC Driver N for SQL Server"; 0 otherwise
};

OdbcDriverKind odbc_driver_kind(std::string_view driver);

// The connection string for each family, `driver` as DRIVER. FreeTDS takes
// the port of "host,port" as PORT; Microsoft's drivers read Data Source as
// given (host, host,port, host\instance, host\instance,port). Braced
// values double a "}" for Microsoft's drivers and keep it single for
// FreeTDS, which cannot take a value holding "};" (DbError).
std::string freetds_connection_string(const Settings& settings, std::string_view driver, std::string_view catalogue);
std::string microsoft_odbc_connection_string(const Settings& settings, std::string_view driver, int version,
                                             std::string_view catalogue);
std::string older_sql_server_connection_string(const Settings& settings, std::string_view driver,
                                               std::string_view catalogue);

}  // namespace db
