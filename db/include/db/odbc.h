// The ODBC backend (unixODBC, or the system's ODBC): a real SQL Server
// reached through the driver named by the settings key "ODBC Driver".
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "db/connection.h"
#include "db/settings.h"

namespace db {

// The ODBC connection string for `catalogue`: the driver, Data Source as the
// server (host, host\instance, host,port), the catalogue as the database,
// and either the login or a trusted connection. Values are escaped with
// braces where ODBC needs it.
std::string odbc_connection_string(const Settings& settings, std::string_view catalogue);

// A value as an ODBC connection-string attribute value.
std::string odbc_value(std::string_view value);

// A closed connection; open() connects with a login time-out, statements run
// without a time limit, and every connection uses day-month-year date order.
std::unique_ptr<Connection> make_odbc_connection(const Settings& settings, std::string_view catalogue);

}  // namespace db
