// The command line of standin-server:
//   standin-server --data DIR [--listen HOST:PORT] [--login USER] [--password-file F]
//                  [--max-query-memory SIZE]
// The password is the first line of the password file, else the value of
// STANDIN_PASSWORD; with neither, the login takes any password.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace standin::server {

struct ServerOptions {
  std::string data_directory;
  std::string host = "127.0.0.1";
  uint16_t port = 1433;
  std::string login = "sa";
  std::optional<std::string> password_file;
  uint64_t max_query_memory = 0;  // 0: the engine's default
  bool help = false;
};

inline constexpr const char* kServerUsage =
    "usage: standin-server --data DIR [--listen 127.0.0.1:PORT] [--login USER] [--password-file F]"
    " [--max-query-memory SIZE]\n";

// Nothing, with `problem` filled in, on a command line that makes no sense.
std::optional<ServerOptions> parse_server_options(const std::vector<std::string>& args, std::string* problem);

// The password the login must give: from the file, else from
// `environment_value` (STANDIN_PASSWORD). Nothing when neither is set.
// Throws std::runtime_error when the file cannot be read.
std::optional<std::string> configured_password(const ServerOptions& options, const char* environment_value);

}  // namespace standin::server
