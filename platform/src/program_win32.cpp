#include <windows.h>
// after windows.h
#include <shellapi.h>

#include <string>

#include "code_pages_win32.h"
#include "platform/program.h"

namespace platform {

std::vector<std::string> utf8_arguments(int argc, char** argv) {
  int count = 0;
  LPWSTR* wide = CommandLineToArgvW(GetCommandLineW(), &count);
  if (!wide) return {argv, argv + argc};
  std::vector<std::string> arguments;
  for (int i = 0; i < count; ++i) arguments.push_back(narrow_from(CP_UTF8, wide[i]));
  LocalFree(wide);
  return arguments;
}

std::optional<std::filesystem::path> executable_path() {
  std::wstring buffer(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (length == 0) return std::nullopt;
    if (length < buffer.size()) {
      buffer.resize(length);
      return std::filesystem::path(buffer);
    }
    buffer.resize(buffer.size() * 2);  // the path was cut: a longer one
  }
}

bool stdout_is_terminal() {
  DWORD mode = 0;
  return GetConsoleMode(GetStdHandle(STD_OUTPUT_HANDLE), &mode) != 0;
}

void use_utf8_console() { SetConsoleOutputCP(CP_UTF8); }

// A console started for this program alone lists one process: this one.
bool alone_in_console() {
  DWORD processes[2] = {};
  return GetConsoleProcessList(processes, 2) == 1;
}

void release_console() { FreeConsole(); }

bool show_message_box(const char* caption_utf8, const char* text_utf8) {
  MessageBoxW(nullptr, wide_from(CP_UTF8, text_utf8).c_str(), wide_from(CP_UTF8, caption_utf8).c_str(),
              MB_OK | MB_ICONINFORMATION);
  return true;
}

}  // namespace platform
