#include <unistd.h>

#include <iostream>

#include "app/command_line.h"
#include "app/front_end.h"
#if SQLUPDATE_HAS_WINDOW
#include "main_window.h"
#endif

int main(int argc, char** argv) {
  auto parsed = app::parse_command_line(argc, argv);
  if (auto* problem = std::get_if<std::string>(&parsed)) {
    std::cerr << "sqlupdate: " << *problem << "\n\n" << app::kUsage;
    return app::kUsageExitCode;
  }
  const app::Options& options = std::get<app::Options>(parsed);
  if (int code = app::run_information_command(options, std::cout, std::cerr); code >= 0) return code;
  return app::with_log(options, std::cerr, [&](upgrade::RunLog* log) {
    auto factory = db::make_backend_factory();
    if (options.status) return app::run_status(options, *factory, std::cout, log);
#if SQLUPDATE_HAS_WINDOW
    if (!options.console && app::display_available())
      return app::run_window(argc, argv,
                             [&](upgrade::Ui& ui) { return app::run_upgrade(ui, *factory, options, log).exit_code; });
    if (!options.console)
      std::cerr << "sqlupdate: no display (DISPLAY, WAYLAND_DISPLAY, QT_QPA_PLATFORM), running in the console\n";
#else
    if (!options.console) std::cerr << "sqlupdate: built without the window, running in the console\n";
#endif
    return app::run_console(options, *factory, std::cout, isatty(STDOUT_FILENO) != 0, log);
  });
}
