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
  std::string winauth;              // exactly "J" selects a trusted login
  std::string odbc_driver;          // ODBC backend only; empty: the platform's default driver
  std::string encrypt;              // ODBC backend only; see encryption_required()
  std::filesystem::path directory;  // of the file; relative data sources start here
  std::filesystem::path file;       // the file read
  // What makes the file unusable ("Einstellungen leer: PATH", ...), on a line
  // of its own; empty for a sound file. Every key then holds its default.
  std::string fault;

  bool windows_authentication() const { return winauth == "J"; }
  // Encrypt=J asks for an encrypted connection that fails rather than falls
  // back. Anything but an empty value or a clear no (N, Nein, No, False, 0)
  // counts as asking, so that a misspelt yes never goes out in the clear.
  bool encryption_required() const;
};

struct SettingsRead {
  Settings settings;
  // Set when the file exists but cannot be read; the settings then hold
  // the defaults.
  std::optional<std::string> error;
};

// Reads `file` anew. Never throws.
SettingsRead read_settings(const std::filesystem::path& file);

// Why `file` cannot be the settings file, as the line that names it: missing,
// a folder, unreadable, empty, no INI text (binary bytes, no section at
// all), or without the section [Datenbank]. Empty when the file can be read
// for its keys.
std::string settings_file_fault(const std::filesystem::path& file);

// The line that names the settings file and why its provider selects no
// backend: the file's own fault, a missing Provider key, or a provider no
// backend serves.
std::string unknown_provider_cause(const Settings& settings);

}  // namespace db
