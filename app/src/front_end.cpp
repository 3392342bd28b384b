#include "app/front_end.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <optional>
#include <stdexcept>

#include "app/console_ui.h"
#include "db/settings.h"
#include "platform/program.h"
#include "scripts/catalog.h"
#include "upgrade/logging_ui.h"
#include "upgrade/run_driver.h"
#include "upgrade/run_summary.h"
#include "upgrade/tenant_status.h"

namespace app {

std::filesystem::path default_settings_file() {
  const std::optional<std::filesystem::path> exe = platform::executable_path();
  if (!exe) return db::kSettingsFileName;
  return exe->parent_path() / db::kSettingsFileName;
}

std::filesystem::path settings_file(const Options& options) {
  return options.settings ? *options.settings : default_settings_file();
}

namespace {

void list_scripts(std::ostream& out) {
  for (const scripts::Script& s : scripts::all()) {
    bool memo = s.kind == scripts::Kind::Memo;
    char line[160];
    std::snprintf(line, sizeof line, "%-22.*s %-7s %6zu %-10s %9zu bytes\n", static_cast<int>(s.name.size()),
                  s.name.data(), memo ? "memo" : "command", s.line_count, memo ? "lines" : "statements", s.text.size());
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

int with_log(const Options& options, std::ostream& err, const std::function<int(upgrade::RunLog*)>& run) {
  std::unique_ptr<upgrade::RunLog> log;
  if (options.log) {
    try {
      log = std::make_unique<upgrade::RunLog>(*options.log);
    } catch (const std::exception& e) {
      err << "sqlupdate: " << e.what() << '\n';
      return kUsageExitCode;
    }
  }
  return run(log.get());
}

UpgradeResult run_upgrade(upgrade::Ui& ui, db::ConnectionFactory& factory, const Options& options,
                          upgrade::RunLog* log) {
  std::optional<upgrade::LoggingUi> logging;
  if (log) logging.emplace(ui, *log);
  upgrade::RunDriver driver(logging ? static_cast<upgrade::Ui&>(*logging) : ui, factory, settings_file(options));
  long long statements = 0;
  driver.add_observer([&](const db::StatementRecord& r) {
    if (!r.skipped) ++statements;
  });
  if (log) driver.add_observer([log](const db::StatementRecord& r) { log->statement(r); });
  const auto start = std::chrono::steady_clock::now();
  const upgrade::RunOutcome outcome = driver.run();
  const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
  std::string summary = upgrade::summary_text(
      {outcome.tenants_found, outcome.tenants_upgraded, statements, outcome.failures, elapsed.count()});
  if (log) log->note(summary);
  return {outcome.exit_code(), summary};
}

int run_console(const Options& options, db::ConnectionFactory& factory, std::ostream& out, bool terminal,
                upgrade::RunLog* log) {
  ConsoleUi ui(out, terminal);
  UpgradeResult result = run_upgrade(ui, factory, options, log);
  ui.write_line(result.summary);
  return result.exit_code;
}

int run_status(const Options& options, db::ConnectionFactory& factory, std::ostream& out, upgrade::RunLog* log) {
  ConsoleUi console(out, false);
  std::optional<upgrade::LoggingUi> logging;
  if (log) logging.emplace(console, *log);
  upgrade::Ui& ui = logging ? static_cast<upgrade::Ui&>(*logging) : console;
  upgrade::UiFeedback feedback(ui);
  db::Connections connections(factory, settings_file(options), feedback);
  db::StatementRunner runner(connections, feedback);
  if (log) runner.add_observer([log](const db::StatementRecord& r) { log->statement(r); });
  db::Primitives sql(runner);
  try {
    std::vector<upgrade::TenantStatus> tenants = upgrade::read_tenant_status(sql, feedback);
    size_t width = 0;
    for (const auto& t : tenants) width = std::max(width, t.name.size());
    auto show = [&](const std::string& line) {
      console.write_line(line);
      if (log) log->note(line);
    };
    for (const auto& t : tenants) show(upgrade::status_line(t, width));
    if (tenants.empty()) show("no tenant databases");
  } catch (const std::exception& e) {
    ui.show_dialog(upgrade::DialogKind::ErrorBox, upgrade::with_full_stop(e.what()));
    return 2;
  }
  return 0;
}

}  // namespace app
