// standin-sql: the command-line client of the standin engine, in the manner
// of sqlcmd. The options are described in client/arguments.cpp.
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "client/arguments.h"
#include "client/output_format.h"
#include "client/script_runner.h"
#include "exec/server_impl.h"
#include "standin/standin.h"

namespace {

using standin::client::Arguments;
using standin::client::Input;

constexpr int kExitOk = 0;
constexpr int kExitFailed = 1;
constexpr int kExitUsage = 64;  // EX_USAGE of sysexits.h

bool read_script(const Input& input, std::string* script) {
  if (input.kind == Input::Kind::Query) {
    *script = input.text;
    return true;
  }
  std::ifstream file(input.text, std::ios::binary);
  if (!file) return false;
  std::ostringstream text;
  text << file.rdbuf();
  *script = text.str();
  return !file.bad();
}

// Runs every input in order; with -b stops at the first failure.
int run(const Arguments& args) {
  auto server = standin::Server::open(args.data_directory);
  if (args.max_query_memory) server->impl().max_query_memory = args.max_query_memory;
  standin::Error error;
  auto session = server->connect(args.database, &error);
  if (!session) {
    std::cerr << standin::client::format_error(error, 1);
    return kExitFailed;
  }
  bool ok = true;
  for (const auto& input : args.inputs) {
    std::string script;
    if (!read_script(input, &script)) {
      std::cerr << "standin-sql: cannot read " << input.text << "\n";
      ok = false;
    } else if (!standin::client::run_script(*session, script, std::cout, std::cerr, args.stop_on_error)) {
      ok = false;
    }
    if (!ok && args.stop_on_error) break;
  }
  return ok ? kExitOk : kExitFailed;
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> raw(argv + 1, argv + argc);
  std::string problem;
  std::optional<Arguments> args = standin::client::parse_arguments(raw, &problem);
  if (!args) {
    std::cerr << "standin-sql: " << problem << "\n" << standin::client::kUsage;
    return kExitUsage;
  }
  if (args->help) {
    std::cout << standin::client::kHelp;
    return kExitOk;
  }
  try {
    return run(*args);
  } catch (const std::exception& e) {  // OpenError and I/O failures
    std::cerr << "standin-sql: " << e.what() << "\n";
    return kExitFailed;
  }
}
