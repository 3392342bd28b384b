// The embedded backend: the in-process stand-in server on the data directory
// named by Data Source (relative to the settings file's directory).
#pragma once

#include <filesystem>
#include <map>
#include <memory>
#include <string_view>

#include "db/connection.h"
#include "db/settings.h"

namespace standin {
class Server;
}

namespace db {

// Keeps one server per data directory for as long as it lives, so that every
// connection of the tool on that directory shares it.
class EmbeddedServers {
 public:
  EmbeddedServers();
  ~EmbeddedServers();

  // A closed connection on `catalogue`. The server is opened on the first
  // open() of any connection on the directory.
  std::unique_ptr<Connection> connect(const Settings& settings, std::string_view catalogue);

  // The server on `directory`, opened when needed. Throws DbError naming
  // the directory when it cannot be used, also when it does not exist or
  // holds no data directory: nothing is created there.
  std::shared_ptr<standin::Server> server(const std::filesystem::path& directory);

 private:
  std::map<std::filesystem::path, std::shared_ptr<standin::Server>> servers_;
};

// The data directory that `settings` name.
std::filesystem::path embedded_data_directory(const Settings& settings);

}  // namespace db
