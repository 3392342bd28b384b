#include "app/front_end.h"

#include <unistd.h>

#include <cstdio>

#include "app/console_ui.h"
#include "db/settings.h"
#include "scripts/catalog.h"
#include "upgrade/run_driver.h"

namespace app {

std::filesystem::path default_settings_file() {
  std::error_code error;
  std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", error);
  if (error) return db::kSettingsFileName;
  return exe.parent_path() / db::kSettingsFileName;
}

std::filesystem::path settings_file(const Options& options) {
  return options.settings ? *options.settings : default_settings_file();
}

namespace {

void list_scripts(std::ostream& out) {
  for (const scripts::Script& s : scripts::all()) {
    bool memo = s.kind == scripts::Kind::Memo;
    char line[160];
    std::snprintf(line, sizeof line, "%-22.*s %-7s %6zu %-10s %9zu bytes\n",
                  static_cast<int>(s.name.size()), s.name.data(), memo ? "memo" : "command",
                  s.line_count, memo ? "lines" : "statements", s.text.size());
    out << line;
  }
}

}  // namespace

int run_information_command(const Options& options, std::ostream& out, std::ostream& err) {
  if (options.help) {
    out << kUsage;
    return 0;
  }
  if (options.version) {
    out << "sqlupdate " << SQLUPDATE_VERSION << '\n';
    return 0;
  }
  if (options.list_scripts) {
    list_scripts(out);
    return 0;
  }
  if (options.print_script) {
    const scripts::Script* script = scripts::find(*options.print_script);
    if (!script) {
      err << "sqlupdate: no stored script named " << *options.print_script << '\n';
      return kUsageExitCode;
    }
    out << script->text;
    return 0;
  }
  return -1;
}

int run_console(const Options& options, db::ConnectionFactory& factory, std::ostream& out,
                bool terminal) {
  ConsoleUi ui(out, terminal);
  upgrade::RunDriver driver(ui, factory, settings_file(options));
  return driver.run().exit_code();
}

}  // namespace app
