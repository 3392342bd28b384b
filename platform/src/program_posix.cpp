#include <unistd.h>

#include "platform/program.h"

namespace platform {

std::vector<std::string> utf8_arguments(int argc, char** argv) { return {argv, argv + argc}; }

std::optional<std::filesystem::path> executable_path() {
  std::error_code error;
  std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", error);
  if (error) return std::nullopt;
  return exe;
}

bool stdout_is_terminal() { return isatty(STDOUT_FILENO) != 0; }

void use_utf8_console() {}

bool alone_in_console() { return false; }

void release_console() {}

bool show_message_box(const char* /*caption_utf8*/, const char* /*text_utf8*/) { return false; }

}  // namespace platform
