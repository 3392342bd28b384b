// What is wrong with a settings file, said the same way on every system. The
// INI readers of both systems read a broken file silently as defaults (and
// the default provider then names no backend), so the file is looked at here
// first, with nothing but the standard library.
#include <fstream>
#include <string_view>
#include <vector>

#include "db/settings.h"
#include "db/sql_text.h"

namespace db {
namespace {

// A settings file is a few hundred bytes; reading more proves nothing more.
constexpr std::streamsize kLongestLookedAt = 1 << 20;

std::string naming(std::string_view what, const std::filesystem::path& file) {
  return std::string(what) + ": " + file.string();
}

// Bytes no text file holds. Bytes from 0x80 up are letters of the ANSI code
// page or of UTF-8, tab, line ends and form feed are blanks.
bool binary(std::string_view text) {
  for (char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 0x20 && byte != '\t' && byte != '\n' && byte != '\r' && byte != '\f') return true;
  }
  return false;
}

// The names of the file's section headers, "[name]" at the start of a line.
std::vector<std::string_view> section_names(std::string_view text) {
  std::vector<std::string_view> names;
  while (!text.empty()) {
    const size_t end = text.find('\n');
    std::string_view line = trimmed(text.substr(0, end));
    text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
    if (line.empty() || line.front() != '[') continue;
    const size_t close = line.find(']');
    names.push_back(trimmed(line.substr(1, close == std::string_view::npos ? line.npos : close - 1)));
  }
  return names;
}

std::string content_fault(std::string_view text, const std::filesystem::path& file) {
  if (trimmed(text).empty()) return naming("Einstellungen leer", file);
  const std::vector<std::string_view> sections = section_names(text);
  if (binary(text) || sections.empty()) return naming("Einstellungen sind keine INI-Datei", file);
  for (std::string_view name : sections) {
    if (iequals(name, kSettingsSection)) return {};
  }
  return naming("Einstellungen ohne Abschnitt [" + std::string(kSettingsSection) + "]", file);
}

}  // namespace

std::string settings_file_fault(const std::filesystem::path& file) {
  std::error_code error;
  const std::filesystem::file_status status = std::filesystem::status(file, error);
  if (status.type() == std::filesystem::file_type::not_found) return naming("Einstellungen nicht gefunden", file);
  if (status.type() == std::filesystem::file_type::directory) {
    return naming("Einstellungen sind ein Ordner, keine Datei", file);
  }
  std::ifstream in(file, std::ios::binary);
  // Windows's INI reading would take such a file for an empty one.
  if (!in) return naming("Einstellungen nicht lesbar", file);
  std::string text(static_cast<size_t>(kLongestLookedAt), '\0');
  in.read(text.data(), kLongestLookedAt);
  text.resize(static_cast<size_t>(in.gcount()));
  return content_fault(text, file);
}

std::string unknown_provider_cause(const Settings& settings) {
  if (!settings.fault.empty()) return settings.fault;
  if (settings.provider == Settings().provider) {
    return naming("Einstellungen ohne Provider im Abschnitt [" + std::string(kSettingsSection) + "]", settings.file);
  }
  return naming("Einstellungen nennen einen unbekannten Provider \"" + settings.provider + "\"", settings.file);
}

bool Settings::encryption_required() const {
  const std::string_view value = trimmed(encrypt);
  for (std::string_view no : {"", "N", "Nein", "No", "False", "0"}) {
    if (iequals(value, no)) return false;
  }
  return true;
}

}  // namespace db
