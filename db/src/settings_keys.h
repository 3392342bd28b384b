// The keys of the settings file's section and the field each one fills; the
// one list both systems' readers walk.
#pragma once

#include <array>
#include <string>

#include "db/settings.h"

namespace db {

struct SettingsKey {
  const char* name;
  std::string Settings::*field;
};

inline const std::array<SettingsKey, 8> kSettingsKeys{{
    {"Provider", &Settings::provider},
    {"Password", &Settings::password},
    {"Persist Security Info", &Settings::persist_security_info},
    {"User ID", &Settings::user_id},
    {"Data Source", &Settings::data_source},
    {"WinAuth", &Settings::winauth},
    {"ODBC Driver", &Settings::odbc_driver},
    {"Encrypt", &Settings::encrypt},
}};

// The settings of `file` before it is read: every key at its default, and
// the file's fault if it has one (then there is nothing to read).
inline SettingsRead unread_settings(const std::filesystem::path& file) {
  SettingsRead result;
  result.settings.directory = file.parent_path();
  result.settings.file = file;
  result.settings.fault = settings_file_fault(file);
  return result;
}

}  // namespace db
