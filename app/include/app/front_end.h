// What main() does once the command line is parsed.
#pragma once

#include <filesystem>
#include <functional>
#include <memory>
#include <ostream>
#include <string>

#include "app/command_line.h"
#include "db/connection_factory.h"
#include "upgrade/run_log.h"
#include "upgrade/ui.h"

namespace app {

// SysDBAdo.INI in the directory of the running executable.
std::filesystem::path default_settings_file();

// The file the run reads: --settings, or the one beside the program.
std::filesystem::path settings_file(const Options& options);

// --help, --version, --list-scripts, --print-script: writes to `out` and
// returns the exit code; returns -1 when none of them was asked for.
int run_information_command(const Options& options, std::ostream& out, std::ostream& err);

// Opens the log of --log for appending and calls `run` with it (nullptr
// without --log), returning its exit code. A log that cannot be opened ends
// the program before anything is sent: the reason, naming the file, goes to
// `err`, and the exit code is kUsageExitCode.
int with_log(const Options& options, std::ostream& err, const std::function<int(upgrade::RunLog*)>& run);

struct UpgradeResult {
  int exit_code;
  std::string summary;  // summary_text() of the run
};

// The upgrade run on `ui`: every caption, progress value, dialog and
// statement goes to `log` too (when given), and the log ends with the
// summary. Exit code: 0 the run reached its end with nothing reported, 1
// with reported failures, 2 it ended on an uncaught failure.
UpgradeResult run_upgrade(upgrade::Ui& ui, db::ConnectionFactory& factory, const Options& options,
                          upgrade::RunLog* log);

// The upgrade run with the console front end, which ends with the summary.
// Returns the exit code of run_upgrade().
int run_console(const Options& options, db::ConnectionFactory& factory, std::ostream& out, bool terminal,
                upgrade::RunLog* log = nullptr);

// --status: one line per tenant database (upgrade/tenant_status.h), dialogs
// as the console shows them. Returns 0, or 2 when the server cannot be
// reached.
int run_status(const Options& options, db::ConnectionFactory& factory, std::ostream& out,
               upgrade::RunLog* log = nullptr);

}  // namespace app
