// The command line of sqlupdate.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <variant>

namespace app {

struct Options {
  bool console = false;  // the console front end even where a window could open
  bool help = false;
  bool version = false;
  bool list_scripts = false;
  std::optional<std::string> print_script;
  std::optional<std::filesystem::path> settings;  // instead of SysDBAdo.INI beside the program
  std::optional<std::filesystem::path> log;       // the statement log, appended to
  bool status = false;                            // show where every tenant database stands; change nothing
};

// The options, or the reason why the command line cannot be used.
std::variant<Options, std::string> parse_command_line(int argc, const char* const* argv);

extern const char* const kUsage;

// Exit code when the command line cannot be used, also when the log file it
// names cannot be opened: nothing has been sent to the server then.
inline constexpr int kUsageExitCode = 64;

}  // namespace app
