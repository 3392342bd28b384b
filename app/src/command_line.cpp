#include "app/command_line.h"

#include <string_view>

namespace app {

const char* const kUsage =
    "Usage: sqlupdate [--console] [--settings PATH] [--log FILE]\n"
    "       sqlupdate --status [--settings PATH] [--log FILE]\n"
    "       sqlupdate --list-scripts | --print-script NAME | --help | --version\n"
    "\n"
    "Upgrades every tenant database on the server named in SysDBAdo.INI.\n"
    "\n"
    "  --console            run in the terminal, without a window\n"
    "  --settings PATH      read the settings from PATH instead of the\n"
    "                       SysDBAdo.INI beside the program\n"
    "  --log FILE           append every statement sent (time, database,\n"
    "                       text, outcome), every caption, progress value\n"
    "                       and dialog, and the run's summary to FILE\n"
    "  --status             list every tenant database with its version\n"
    "                       marker, its UpdS marker and whether it is a TMP\n"
    "                       copy; reads only, changes nothing\n"
    "  --list-scripts       list the stored scripts: name, kind, size\n"
    "  --print-script NAME  print the text of a stored script exactly\n"
    "  --help               show this text\n"
    "  --version            show the version\n"
    "\n"
    "The console shows dialogs as lines: Warnung, Fehler, Informationen,\n"
    "Meldung (plain message box), Abbruch (the run ended on a failure).\n"
    "\n"
    "The console ends with a summary: databases found and upgraded,\n"
    "statements sent, failures reported (per database), time taken.\n"
    "\n"
    "Exit status: 0 the run reached its end and nothing was reported,\n"
    "1 it reached its end with reported failures, 2 it ended on a failure\n"
    "(--status: the server could not be reached), 64 the command line could\n"
    "not be used or the log file could not be opened.\n";

std::variant<Options, std::string> parse_command_line(int argc, const char* const* argv) {
  Options options;
  for (int i = 1; i < argc; ++i) {
    std::string_view arg = argv[i];
    if (arg == "--console") {
      options.console = true;
    } else if (arg == "--help" || arg == "-h") {
      options.help = true;
    } else if (arg == "--version") {
      options.version = true;
    } else if (arg == "--list-scripts") {
      options.list_scripts = true;
    } else if (arg == "--status") {
      options.status = true;
    } else if (arg == "--print-script" || arg == "--settings" || arg == "--log") {
      if (i + 1 >= argc) return std::string(arg) + " needs a value";
      std::string value = argv[++i];
      // The arguments are UTF-8 on every system; a path made from a plain
      // string would read them in the ANSI code page on Windows.
      const std::filesystem::path path(std::u8string(value.begin(), value.end()));
      if (arg == "--settings")
        options.settings = path;
      else if (arg == "--log")
        options.log = path;
      else
        options.print_script = value;
    } else {
      return "unknown argument: " + std::string(arg);
    }
  }
  return options;
}

}  // namespace app
