// Reading SysDBAdo.INI on Windows with the system's own INI reading, so that
// a file an installer wrote in the ANSI code page reads as it always did:
// names compare case-insensitively, the first occurrence of a key wins, the
// blanks around values go.
#include <windows.h>

#include <optional>
#include <string>

#include "settings_keys.h"

namespace db {
namespace {

std::wstring wide_from_utf8(const std::string& text) {
  if (text.empty()) return {};
  const int length = MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  std::wstring wide(static_cast<size_t>(length), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), wide.data(), length);
  return wide;
}

std::string utf8_from_wide(const std::wstring& wide) {
  if (wide.empty()) return {};
  const int length =
      WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0, nullptr, nullptr);
  std::string text(static_cast<size_t>(length), '\0');
  WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), text.data(), length, nullptr, nullptr);
  return text;
}

// A default no file can hold tells an absent key from an empty one.
constexpr const wchar_t* kAbsent = L"\x01";

std::optional<std::wstring> profile_string(const std::wstring& section, const std::wstring& key,
                                           const std::filesystem::path& file) {
  std::wstring buffer(256, L'\0');
  for (;;) {
    const DWORD length = GetPrivateProfileStringW(section.c_str(), key.c_str(), kAbsent, buffer.data(),
                                                  static_cast<DWORD>(buffer.size()), file.c_str());
    if (length + 1 < buffer.size()) {
      buffer.resize(length);
      break;
    }
    buffer.resize(buffer.size() * 2);  // the value was cut
  }
  if (buffer == kAbsent) return std::nullopt;
  return buffer;
}

}  // namespace

SettingsRead read_settings(const std::filesystem::path& file) {
  SettingsRead result = unread_settings(file);
  if (!result.settings.fault.empty()) return result;
  std::error_code error;
  // Without a folder the profile functions would look in the Windows folder.
  const std::filesystem::path absolute = std::filesystem::absolute(file, error);
  const std::wstring section = wide_from_utf8(kSettingsSection);
  for (const SettingsKey& key : kSettingsKeys) {
    if (auto value = profile_string(section, wide_from_utf8(key.name), absolute)) {
      result.settings.*key.field = utf8_from_wide(*value);
    }
  }
  return result;
}

}  // namespace db
