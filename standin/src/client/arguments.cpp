#include "client/arguments.h"

#include "exec/query_memory.h"

namespace standin::client {

const char* const kUsage =
    "usage: standin-sql --data DIR [-d DATABASE] (-Q \"text\" | -i FILE)... [-b] [--max-query-memory SIZE]\n";

const char* const kHelp =
    "usage: standin-sql --data DIR [-d DATABASE] (-Q \"text\" | -i FILE)... [-b] [--max-query-memory SIZE]\n"
    "\n"
    "Runs T-SQL against the standin engine whose databases live in DIR\n"
    "(created when missing). Inputs run in order; each is split into batches\n"
    "at lines that hold only GO. Result sets print as tab-separated values\n"
    "with a header line, errors print on standard error.\n"
    "\n"
    "  --data DIR     data directory of the engine\n"
    "  -d DATABASE    database to start in (default: master)\n"
    "  -Q TEXT        run TEXT\n"
    "  -i FILE        run the script FILE\n"
    "  -b             stop at the first batch that fails\n"
    "  --max-query-memory SIZE\n"
    "                 memory one statement may hold (e.g. 512M, 2G); a\n"
    "                 statement that needs more fails with Msg 701\n"
    "                 (default: a quarter of the machine's memory)\n"
    "  --help         show this text\n"
    "\n"
    "Exit status: 0 when every batch succeeded, 1 when a batch failed or the\n"
    "data directory could not be opened, 64 for unusable arguments.\n";

namespace {

// "--data=DIR" is accepted as well as "--data DIR".
bool option_value(const std::vector<std::string>& args, size_t* i, const std::string& name, std::string* value,
                  std::string* problem) {
  const std::string& arg = args[*i];
  if (arg.size() > name.size() && arg.compare(0, name.size() + 1, name + "=") == 0) {
    *value = arg.substr(name.size() + 1);
    return true;
  }
  if (*i + 1 >= args.size()) {
    *problem = "option " + name + " needs a value";
    return false;
  }
  *value = args[++*i];
  return true;
}

bool is_option(const std::string& arg, const std::string& name) {
  return arg == name || arg.compare(0, name.size() + 1, name + "=") == 0;
}

}  // namespace

std::optional<Arguments> parse_arguments(const std::vector<std::string>& args, std::string* problem) {
  Arguments parsed;
  bool have_data = false;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    std::string value;
    if (arg == "--help" || arg == "-h" || arg == "-?") {
      parsed.help = true;
      return parsed;
    } else if (arg == "-b") {
      parsed.stop_on_error = true;
    } else if (is_option(arg, "--data")) {
      if (!option_value(args, &i, "--data", &parsed.data_directory, problem)) return std::nullopt;
      have_data = true;
    } else if (is_option(arg, "--max-query-memory")) {
      if (!option_value(args, &i, "--max-query-memory", &value, problem)) return std::nullopt;
      if (!QueryMemory::parse_size(value, &parsed.max_query_memory)) {
        *problem = "--max-query-memory wants a size such as 512M or 2G, not " + value;
        return std::nullopt;
      }
    } else if (arg == "-d") {
      if (!option_value(args, &i, "-d", &parsed.database, problem)) return std::nullopt;
    } else if (arg == "-Q" || arg == "-i") {
      if (!option_value(args, &i, arg, &value, problem)) return std::nullopt;
      parsed.inputs.push_back({arg == "-Q" ? Input::Kind::Query : Input::Kind::File, value});
    } else {
      *problem = "unknown argument " + arg;
      return std::nullopt;
    }
  }
  if (!have_data || parsed.data_directory.empty()) {
    *problem = "--data DIR is required";
    return std::nullopt;
  }
  if (parsed.inputs.empty()) {
    *problem = "nothing to run: give -Q or -i";
    return std::nullopt;
  }
  return parsed;
}

}  // namespace standin::client
