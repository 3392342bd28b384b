#include <unistd.h>

#include <iostream>

#include "app/command_line.h"
#include "app/front_end.h"

int main(int argc, char** argv) {
  auto parsed = app::parse_command_line(argc, argv);
  if (auto* problem = std::get_if<std::string>(&parsed)) {
    std::cerr << "sqlupdate: " << *problem << "\n\n" << app::kUsage;
    return app::kUsageExitCode;
  }
  const app::Options& options = std::get<app::Options>(parsed);
  if (int code = app::run_information_command(options, std::cout, std::cerr); code >= 0)
    return code;
  auto factory = db::make_backend_factory();
  return app::run_console(options, *factory, std::cout, isatty(STDOUT_FILENO) != 0);
}
