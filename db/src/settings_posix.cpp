// Reading SysDBAdo.INI on POSIX systems. inih does the parsing (it drops the blanks around
// names and values); the handler below adds what Windows INI reading does
// beyond that: names compare case-insensitively, and the first occurrence of
// a key wins.
#include "db/settings.h"

#include <ini.h>

#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <set>
#include <string_view>

#include "db/sql_text.h"
#include "settings_keys.h"

namespace db {
namespace {

struct Reader {
  Settings* settings;
  std::set<std::string> seen;  // lower-cased keys already taken

  std::string* field(std::string_view key) const {
    for (const SettingsKey& k : kSettingsKeys) {
      if (iequals(key, k.name)) return &(settings->*k.field);
    }
    return nullptr;
  }
};

std::string lower(std::string_view s) {
  std::string out(s);
  for (char& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return out;
}

int on_entry(void* user, const char* section, const char* name, const char* value) {
  auto* reader = static_cast<Reader*>(user);
  if (!iequals(trimmed(section), kSettingsSection)) return 1;  // "[ Datenbank ]" too, as on Windows
  std::string* target = reader->field(name);
  if (target && reader->seen.insert(lower(name)).second) *target = value;
  return 1;  // malformed lines are skipped, as Windows does
}

}  // namespace

SettingsRead read_settings(const std::filesystem::path& file) {
  SettingsRead result = unread_settings(file);
  if (!result.settings.fault.empty()) return result;
  std::FILE* handle = std::fopen(file.c_str(), "r");
  if (!handle) {
    result.error = "Cannot read " + file.string() + ": " + std::strerror(errno);
    return result;
  }
  Reader reader{&result.settings, {}};
  ini_parse_file(handle, on_entry, &reader);
  std::fclose(handle);
  return result;
}

}  // namespace db
