#include "db/server_address.h"

#include <charconv>

#include "db/sql_text.h"

namespace db {
namespace {

std::optional<int> port_number(std::string_view text) {
  text = trimmed(text);
  int port = 0;
  auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), port);
  if (error != std::errc() || end != text.data() + text.size() || port <= 0 || port > 65535) return std::nullopt;
  return port;
}

}  // namespace

ServerAddress parse_server_address(std::string_view data_source) {
  ServerAddress address;
  std::string_view server = data_source;
  if (size_t comma = server.rfind(','); comma != std::string_view::npos) {
    address.port = port_number(server.substr(comma + 1));
    server = server.substr(0, comma);
  }
  if (size_t backslash = server.find('\\'); backslash != std::string_view::npos) {
    address.instance = std::string(trimmed(server.substr(backslash + 1)));
    server = server.substr(0, backslash);
  }
  address.host = std::string(trimmed(server));
  return address;
}

std::string ServerAddress::description() const {
  std::string text = "host " + host;
  if (!instance.empty()) text += ", instance " + instance;
  if (port) return text + ", port " + std::to_string(*port);
  // A named instance listens where the server's browser service says.
  if (!instance.empty()) return text + ", port named by the server's browser service";
  return text + ", port " + std::to_string(kDefaultSqlServerPort);
}

}  // namespace db
