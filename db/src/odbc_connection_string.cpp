#include "db/odbc.h"

#include "db/sql_text.h"

namespace db {

std::string odbc_value(std::string_view value) {
  bool plain = value.find_first_of(";{}=") == std::string_view::npos &&
               (value.empty() || (value.front() != ' ' && value.back() != ' '));
  if (plain) return std::string(value);
  std::string out = "{";
  for (char c : value) {
    out += c;
    if (c == '}') out += '}';
  }
  out += '}';
  return out;
}

std::string odbc_connection_string(const Settings& s, std::string_view catalogue) {
  std::string out = "DRIVER=" + odbc_value(s.odbc_driver.empty() ? "FreeTDS" : s.odbc_driver) + ";";
  std::string server = s.data_source;
  std::string port;
  // FreeTDS takes the port as an attribute of its own; other drivers read
  // "host,port" themselves.
  bool freetds = s.odbc_driver.empty() || iequals(s.odbc_driver, "FreeTDS");
  if (auto comma = server.rfind(','); freetds && comma != std::string::npos) {
    port = server.substr(comma + 1);
    server.resize(comma);
  }
  out += "SERVER=" + odbc_value(server) + ";";
  if (!port.empty()) out += "PORT=" + odbc_value(port) + ";";
  out += "DATABASE=" + odbc_value(catalogue) + ";";
  if (s.windows_authentication()) {
    out += "Trusted_Connection=Yes;";
  } else {
    out += "UID=" + odbc_value(s.user_id) + ";";
    out += "PWD=" + odbc_value(s.password) + ";";
  }
  return out;
}

}  // namespace db
