// File helpers shared by the build-time generators.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace tools {

// The whole content of `path`; throws std::runtime_error when unreadable.
std::string read_file(const std::filesystem::path& path);

// Writes `content` to `path` unless the file already holds exactly that, so
// that an unchanged output does not trigger a rebuild of what depends on it.
// Creates missing parent folders. Throws std::runtime_error on failure.
void write_file_if_changed(const std::filesystem::path& path, std::string_view content);

// Writes `content` to `path` unconditionally (creating parent folders).
void write_file(const std::filesystem::path& path, std::string_view content);

// Splits `text` into lines at LF, dropping a CR before the LF. A line break
// at the very end does not make an extra empty line; an empty text has no
// lines.
std::vector<std::string_view> split_lines(std::string_view text);

// The lines joined by `separator`, with none after the last.
std::string join(const std::vector<std::string>& lines, std::string_view separator);

}  // namespace tools
