// What main() does once the command line is parsed.
#pragma once

#include <filesystem>
#include <ostream>

#include "app/command_line.h"
#include "db/connection_factory.h"

namespace app {

// SysDBAdo.INI in the directory of the running executable.
std::filesystem::path default_settings_file();

// The file the run reads: --settings, or the one beside the program.
std::filesystem::path settings_file(const Options& options);

// --help, --version, --list-scripts, --print-script: writes to `out` and
// returns the exit code; returns -1 when none of them was asked for.
int run_information_command(const Options& options, std::ostream& out, std::ostream& err);

// The upgrade run with the console front end. Returns the exit code: 0 the
// run reached its end with nothing reported, 1 with reported failures, 2 it
// ended on an uncaught failure.
int run_console(const Options& options, db::ConnectionFactory& factory, std::ostream& out,
                bool terminal);

}  // namespace app
