// The ODBC backend (unixODBC, or the system's ODBC): a real SQL Server
// reached through the driver named by the settings key "ODBC Driver".
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "db/connection.h"
#include "db/settings.h"

namespace db {

// The ODBC connection string for `catalogue` through `driver`, written as
// the driver's family wants it (odbc_drivers.h): the server from Data
// Source, the catalogue as the database, either the login or a trusted
// connection, and encryption as the settings ask. Values are escaped with
// braces where ODBC needs it.
std::string odbc_connection_string(const Settings& settings, std::string_view driver, std::string_view catalogue);

// A value as an ODBC connection-string attribute value.
std::string odbc_value(std::string_view value);

// A closed connection through the settings' ODBC Driver, or the platform's
// default driver where they name none; open() connects with a login time-out, statements run
// without a time limit, and every connection uses day-month-year date order.
std::unique_ptr<Connection> make_odbc_connection(const Settings& settings, std::string_view catalogue);

}  // namespace db
