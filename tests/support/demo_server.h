// The demo server of `make demo` on the embedded engine: the discovery
// catalogue DRAVOK, the sample clubs DRAVOK01 and DRAVOK02 and their TMP
// copies dravokTMP01 and dravokTMP02, each created from the old-release schema and its data file,
// as demo/seed.sh does with standin-sql.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "db/primitives.h"
#include "standin/standin.h"

namespace testing_support {

// A file of the source tree; tests run with SQLUPDATE_SOURCE_DIR set.
inline std::string source_file(const std::string& relative) {
  const char* root = std::getenv("SQLUPDATE_SOURCE_DIR");
  std::ifstream in(std::filesystem::path(root ? root : ".") / relative, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

// Creates `database` on `server` from demo/schema_old_release.sql and the
// demo file `data_file`; fails the test on the first batch that fails.
inline void seed_demo_database(standin::Server& server, const std::string& database, const std::string& data_file) {
  auto master = server.connect("master");
  ASSERT_TRUE(master->execute("CREATE DATABASE [" + database + "]").ok());
  auto tenant = server.connect(database);
  tenant->execute("SET DATEFORMAT dmy");
  for (const std::string& file : {std::string("demo/schema_old_release.sql"), data_file}) {
    const std::string text = source_file(file);
    ASSERT_FALSE(text.empty()) << file << " not found; is SQLUPDATE_SOURCE_DIR set?";
    for (const std::string& batch : db::go_batches(text + "\nGO\n")) {
      if (batch.find_first_not_of(" \t\r\n") == std::string::npos) continue;
      standin::BatchResult result = tenant->execute(batch);
      ASSERT_TRUE(result.ok()) << file << ": " << result.errors.front().message << "\nin: " << batch.substr(0, 300);
    }
  }
}

// The five databases of the demo server, in the order demo/seed.sh creates
// them (the order the server lists them in).
inline void seed_demo_server(standin::Server& server) {
  seed_demo_database(server, "DRAVOK", "demo/catalogue.sql");
  seed_demo_database(server, "DRAVOK01", "demo/club_01.sql");
  seed_demo_database(server, "DRAVOK02", "demo/club_02.sql");
  seed_demo_database(server, "dravokTMP01", "demo/club_01.sql");
  seed_demo_database(server, "dravokTMP02", "demo/club_02.sql");
}

}  // namespace testing_support
