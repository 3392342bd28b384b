// The settings file SysDBAdo.INI: which server the tool talks to and how it
// logs in. Read with Windows INI semantics: section and key names compare
// case-insensitively, blanks around names and values are dropped, and a
// missing file, section or key yields the key's default.
#pragma once

#include <filesystem>
#include <optional>
#include <string>

namespace db {

inline constexpr const char* kSettingsFileName = "SysDBAdo.INI";
inline constexpr const char* kSettingsSection = "Datenbank";

struct Settings {
  std::string provider = "ERROR";  // the default names no provider at all
  std::string password;
  std::string persist_security_info;
  std::string user_id;
  std::string data_source;
  std::string winauth;                  // exactly "J" selects a trusted login
  std::string odbc_driver = "FreeTDS";  // ODBC backend only
  std::filesystem::path directory;      // of the file; relative data sources start here
  std::filesystem::path file;           // the file read
  bool file_found = true;               // false: it does not exist, every key is a default

  bool windows_authentication() const { return winauth == "J"; }
};

struct SettingsRead {
  Settings settings;
  // Set when the file exists but cannot be read; the settings then hold
  // the defaults.
  std::optional<std::string> error;
};

// Reads `file` anew. Never throws.
SettingsRead read_settings(const std::filesystem::path& file);

}  // namespace db
