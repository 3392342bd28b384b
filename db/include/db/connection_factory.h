// Maps the settings onto a backend: Provider=Embedded selects the in-process
// stand-in, a SQL Server OLE DB provider name selects ODBC, and any other
// name (the default "ERROR" among them) gives a connection that cannot open.
#pragma once

#include <memory>
#include <string_view>

#include "db/connection.h"
#include "db/settings.h"

namespace db {

class ConnectionFactory {
 public:
  virtual ~ConnectionFactory() = default;
  // A closed connection on `catalogue`; open() connects.
  virtual std::unique_ptr<Connection> make(const Settings& settings, std::string_view catalogue) = 0;
};

enum class Backend { Embedded, Odbc, Unknown };

Backend backend_for(std::string_view provider);

// The factory of the real program. It keeps one stand-in server per data
// directory, so both connections of the tool share it.
std::unique_ptr<ConnectionFactory> make_backend_factory();

// A connection that never opens: open() and every statement fail with
// `message`.
std::unique_ptr<Connection> make_unavailable_connection(std::string message);

}  // namespace db
