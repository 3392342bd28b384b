// Where a Data Source of the ODBC backend points: the host, a named instance
// and the TCP port. Used to say which server a failed login tried; the
// connection string itself is built from Data Source unchanged.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace db {

// SQL Server's port when Data Source names none and no instance.
inline constexpr int kDefaultSqlServerPort = 1433;

struct ServerAddress {
  std::string host;
  std::string instance;     // empty for the default instance
  std::optional<int> port;  // as written after the comma; none without one

  // "host H, port P"; for a named instance without a port, the port is
  // the one its browser service names, which is said instead.
  std::string description() const;
};

// Splits "host", "host,port", "host\instance" and "host\instance,port".
// A port that is no number is kept out; the description then shows the
// default port, as for a Data Source without one.
ServerAddress parse_server_address(std::string_view data_source);

}  // namespace db
