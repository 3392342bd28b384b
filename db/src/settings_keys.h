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

inline const std::array<SettingsKey, 7> kSettingsKeys{{
    {"Provider", &Settings::provider},
    {"Password", &Settings::password},
    {"Persist Security Info", &Settings::persist_security_info},
    {"User ID", &Settings::user_id},
    {"Data Source", &Settings::data_source},
    {"WinAuth", &Settings::winauth},
    {"ODBC Driver", &Settings::odbc_driver},
}};

// The settings of `file` before it is read: every key at its default.
inline SettingsRead unread_settings(const std::filesystem::path& file) {
  SettingsRead result;
  result.settings.directory = file.parent_path();
  result.settings.file = file;
  return result;
}

}  // namespace db
