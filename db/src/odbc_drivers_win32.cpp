// On Windows the driver manager lists the installed drivers; the newest SQL
// Server driver among them is the default.
#include <algorithm>
#include <iterator>
#include <string>
#include <vector>

#include "db/odbc_drivers.h"
#include "odbc_headers.h"

namespace db {
namespace {

std::string utf8_from_wide(const SQLWCHAR* text, SQLSMALLINT length) {
  const auto* wide = reinterpret_cast<const wchar_t*>(text);
  const int size = WideCharToMultiByte(CP_UTF8, 0, wide, length, nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<size_t>(size > 0 ? size : 0), '\0');
  if (size > 0) WideCharToMultiByte(CP_UTF8, 0, wide, length, out.data(), size, nullptr, nullptr);
  return out;
}

// The names the driver manager lists, in its order; none when it cannot be
// asked (the caller then falls back to the driver every Windows has).
std::vector<std::string> installed_drivers() {
  std::vector<std::string> names;
  SQLHENV env = SQL_NULL_HENV;
  if (!SQL_SUCCEEDED(SQLAllocHandle(SQL_HANDLE_ENV, SQL_NULL_HANDLE, &env))) return names;
  SQLSetEnvAttr(env, SQL_ATTR_ODBC_VERSION, reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3), 0);
  SQLWCHAR name[256];
  SQLWCHAR attributes[1024];
  SQLSMALLINT name_length = 0;
  SQLSMALLINT attributes_length = 0;
  SQLUSMALLINT direction = SQL_FETCH_FIRST;
  while (SQL_SUCCEEDED(SQLDriversW(env, direction, name, static_cast<SQLSMALLINT>(std::size(name)), &name_length,
                                   attributes, static_cast<SQLSMALLINT>(std::size(attributes)), &attributes_length))) {
    // A name longer than the buffer comes back cut; no SQL Server driver's is.
    const auto kept = static_cast<SQLSMALLINT>(std::min<int>(name_length, std::size(name) - 1));
    names.push_back(utf8_from_wide(name, kept));
    direction = SQL_FETCH_NEXT;
  }
  SQLFreeHandle(SQL_HANDLE_ENV, env);
  return names;
}

}  // namespace

std::string default_odbc_driver() {
  // Drivers are installed between runs, not during one.
  static const std::string driver = newest_sql_server_driver(installed_drivers());
  return driver;
}

}  // namespace db
