#include <iostream>
#include <string>
#include <vector>

#include "app/command_line.h"
#include "app/front_end.h"
#include "platform/program.h"
#if SQLUPDATE_HAS_WINDOW
#include "app/window.h"
#endif

namespace {

// Started by a double-click, the program owns the console it writes to,
// which closes with it before anyone can read it: it gives that console back
// and says in a message box that only the console mode exists. Only a
// build without the window needs it.
[[maybe_unused]] int refuse_without_window() {
  platform::release_console();
  platform::show_message_box("sqlupdate",
                             "Dieses Programm hat noch kein Fenster. Bitte in der Eingabeaufforderung mit "
                             "\"sqlupdate --console\" starten (\"sqlupdate --help\" zeigt alle Optionen).");
  return app::kUsageExitCode;
}

}  // namespace

int main(int argc, char** argv) {
  platform::use_utf8_console();
  const std::vector<std::string> arguments = platform::utf8_arguments(argc, argv);
  std::vector<const char*> argument_texts;
  for (const std::string& a : arguments) argument_texts.push_back(a.c_str());
  auto parsed = app::parse_command_line(static_cast<int>(argument_texts.size()), argument_texts.data());
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
    if (!options.console && platform::alone_in_console()) return refuse_without_window();
    if (!options.console) std::cerr << "sqlupdate: built without the window, running in the console\n";
#endif
    return app::run_console(options, *factory, std::cout, platform::stdout_is_terminal(), log);
  });
}
