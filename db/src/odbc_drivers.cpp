#include "db/odbc_drivers.h"

#include <cctype>
#include <charconv>
#include <optional>

#include "db/sql_text.h"

namespace db {
namespace {

constexpr std::string_view kMicrosoftPrefix = "ODBC Driver ";
constexpr std::string_view kMicrosoftSuffix = " for SQL Server";
constexpr std::string_view kNativeClient = "SQL Server Native Client 11.0";

std::string lower(std::string_view text) {
  std::string out(text);
  for (char& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return out;
}

// N of "ODBC Driver N for SQL Server".
std::optional<int> microsoft_version(std::string_view driver) {
  driver = trimmed(driver);
  if (driver.size() <= kMicrosoftPrefix.size() + kMicrosoftSuffix.size()) return std::nullopt;
  if (!iequals(driver.substr(0, kMicrosoftPrefix.size()), kMicrosoftPrefix) ||
      !iequals(driver.substr(driver.size() - kMicrosoftSuffix.size()), kMicrosoftSuffix))
    return std::nullopt;
  std::string_view number =
      driver.substr(kMicrosoftPrefix.size(), driver.size() - kMicrosoftPrefix.size() - kMicrosoftSuffix.size());
  int version = 0;
  auto [end, error] = std::from_chars(number.data(), number.data() + number.size(), version);
  if (error != std::errc() || end != number.data() + number.size() || version <= 0) return std::nullopt;
  return version;
}

}  // namespace

OdbcDriverKind odbc_driver_kind(std::string_view driver) {
  const std::string name = lower(driver);
  // A driver may be named by its library file (libtdsodbc.so, tdsodbc.dll).
  if (name.find("freetds") != std::string::npos || name.find("tdsodbc") != std::string::npos)
    return {OdbcDriverFamily::FreeTds, 0};
  if (auto version = microsoft_version(driver)) return {OdbcDriverFamily::MicrosoftOdbc, *version};
  return {OdbcDriverFamily::OlderSqlServer, 0};
}

std::string newest_sql_server_driver(const std::vector<std::string>& installed) {
  const std::string* newest = nullptr;
  int newest_version = 0;
  bool native_client = false;
  for (const std::string& name : installed) {
    if (auto version = microsoft_version(name); version && *version > newest_version) {
      newest = &name;
      newest_version = *version;
    }
    native_client = native_client || iequals(trimmed(name), kNativeClient);
  }
  if (newest) return std::string(trimmed(*newest));
  if (native_client) return std::string(kNativeClient);
  return kOldestSqlServerDriver;
}

}  // namespace db
