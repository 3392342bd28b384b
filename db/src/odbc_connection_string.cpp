// The ODBC connection strings, one writer per driver family. Keywords:
// Microsoft's ODBC drivers as their "DSN and connection string keywords"
// page lists them (DRIVER, SERVER, DATABASE, UID, PWD, Trusted_Connection,
// Encrypt; Driver 18 encrypts unless told Encrypt=Optional), SQL Server
// Native Client and the old "SQL Server" driver the same base set, FreeTDS
// its own attribute table (SERVER, PORT, Encryption).
#include "db/connection.h"
#include "db/odbc.h"
#include "db/odbc_drivers.h"
#include "db/sql_text.h"

namespace db {
namespace {

using Quoting = std::string (*)(std::string_view);

std::string attribute(std::string_view keyword, std::string_view value, Quoting quote = odbc_value) {
  return std::string(keyword) + "=" + quote(value) + ";";
}

// FreeTDS (1.3 measured) ends a braced value at the first "}" followed by
// ";" or by the end, and does not undouble "}}": a "}" inside stays single,
// and a value holding "};" cannot be written at all.
std::string freetds_value(std::string_view value) {
  std::string out = odbc_value(value);
  if (out.empty() || out.front() != '{') return out;
  if (value.find("};") != std::string_view::npos) {
    throw DbError("FreeTDS cannot read a connection-string value that holds \"};\".");
  }
  std::string braced(1, '{');
  braced.append(value);
  braced += '}';
  return braced;
}

// What follows the server in every family: the catalogue and the login.
std::string database_and_login(const Settings& s, std::string_view catalogue, Quoting quote = odbc_value) {
  std::string out = attribute("DATABASE", catalogue, quote);
  if (s.windows_authentication()) return out + "Trusted_Connection=Yes;";
  return out + attribute("UID", s.user_id, quote) + attribute("PWD", s.password, quote);
}

}  // namespace

std::string odbc_value(std::string_view value) {
  // Braces are always allowed; they are needed where a character would end
  // or split the value, or where blanks at its ends would be dropped. Quotes
  // are braced too, as some drivers read a leading quote as one.
  bool plain = value.find_first_of(";{}=\"'") == std::string_view::npos &&
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

std::string freetds_connection_string(const Settings& s, std::string_view driver, std::string_view catalogue) {
  std::string server = s.data_source;
  std::string port;
  if (auto comma = server.rfind(','); comma != std::string::npos) {
    port = server.substr(comma + 1);
    server.resize(comma);
  }
  std::string out = attribute("DRIVER", driver, freetds_value) + attribute("SERVER", server, freetds_value);
  if (!port.empty()) out += attribute("PORT", port, freetds_value);
  out += database_and_login(s, catalogue, freetds_value);
  if (s.encryption_required()) out += "Encryption=require;";
  return out;
}

std::string microsoft_odbc_connection_string(const Settings& s, std::string_view driver, int version,
                                             std::string_view catalogue) {
  std::string out = attribute("DRIVER", driver) + attribute("SERVER", s.data_source);
  out += database_and_login(s, catalogue);
  // Driver 18 and later encrypt by default, which the old OLE DB providers
  // never did; up to 17 the default is no encryption.
  if (s.encryption_required()) {
    out += "Encrypt=Yes;";
  } else if (version >= 18) {
    out += "Encrypt=Optional;";
  }
  return out;
}

std::string older_sql_server_connection_string(const Settings& s, std::string_view driver, std::string_view catalogue) {
  std::string out = attribute("DRIVER", driver) + attribute("SERVER", s.data_source);
  out += database_and_login(s, catalogue);
  if (s.encryption_required()) out += "Encrypt=yes;";
  return out;
}

std::string odbc_connection_string(const Settings& s, std::string_view driver, std::string_view catalogue) {
  const OdbcDriverKind kind = odbc_driver_kind(driver);
  switch (kind.family) {
    case OdbcDriverFamily::FreeTds: return freetds_connection_string(s, driver, catalogue);
    case OdbcDriverFamily::MicrosoftOdbc: return microsoft_odbc_connection_string(s, driver, kind.version, catalogue);
    case OdbcDriverFamily::OlderSqlServer: break;
  }
  return older_sql_server_connection_string(s, driver, catalogue);
}

}  // namespace db
