#include "server/server_options.h"

#include <charconv>
#include <fstream>
#include <stdexcept>

#include "exec/query_memory.h"

namespace standin::server {

namespace {

bool parse_listen(const std::string& text, ServerOptions* options) {
  size_t colon = text.rfind(':');
  if (colon == std::string::npos || colon == 0) return false;
  unsigned port = 0;
  const char* end = text.data() + text.size();
  auto [ptr, ec] = std::from_chars(text.data() + colon + 1, end, port);
  if (ec != std::errc() || ptr != end || colon + 1 == text.size() || port > 65535) return false;
  options->host = text.substr(0, colon);
  options->port = static_cast<uint16_t>(port);
  return true;
}

}  // namespace

std::optional<ServerOptions> parse_server_options(const std::vector<std::string>& args, std::string* problem) {
  ServerOptions options;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (a == "-h" || a == "--help") {
      options.help = true;
      continue;
    }
    if (a != "--data" && a != "--listen" && a != "--login" && a != "--password-file" && a != "--max-query-memory") {
      *problem = "unknown option " + a;
      return std::nullopt;
    }
    if (i + 1 == args.size()) {
      *problem = a + " needs a value";
      return std::nullopt;
    }
    const std::string& value = args[++i];
    if (a == "--data")
      options.data_directory = value;
    else if (a == "--login")
      options.login = value;
    else if (a == "--password-file")
      options.password_file = value;
    else if (a == "--max-query-memory") {
      if (!QueryMemory::parse_size(value, &options.max_query_memory)) {
        *problem = "--max-query-memory wants a size such as 512M or 2G, not " + value;
        return std::nullopt;
      }
    } else if (!parse_listen(value, &options)) {
      *problem = "--listen wants HOST:PORT, not " + value;
      return std::nullopt;
    }
  }
  if (!options.help && options.data_directory.empty()) {
    *problem = "--data DIR is required";
    return std::nullopt;
  }
  if (!options.help && options.login.empty()) {
    *problem = "--login must not be empty";
    return std::nullopt;
  }
  return options;
}

std::optional<std::string> configured_password(const ServerOptions& options, const char* environment_value) {
  if (options.password_file) {
    std::ifstream file(*options.password_file, std::ios::binary);
    if (!file) throw std::runtime_error("cannot read the password file " + *options.password_file);
    std::string line;
    std::getline(file, line);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    return line;
  }
  if (environment_value) return std::string(environment_value);
  return std::nullopt;
}

}  // namespace standin::server
