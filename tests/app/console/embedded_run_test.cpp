// Whole console runs on the embedded backend, reached through a settings
// file as the program reaches it.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "app/command_line.h"
#include "app/front_end.h"
#include "db/connection_factory.h"
#include "support/demo_server.h"
#include "support/temp_dir.h"
#include "upgrade/texts.h"

namespace {

class EmbeddedRun : public ::testing::Test {
 protected:
  void point_at(const std::string& data_source) {
    std::ofstream(settings()) << "[Datenbank]\nProvider=Embedded\nData Source=" << data_source << "\n";
  }
  std::filesystem::path settings() const { return dir.path() / "SysDBAdo.INI"; }

  int run_console() {
    std::string path = settings().string();
    const char* args[] = {"sqlupdate", "--console", "--settings", path.c_str()};
    auto parsed = app::parse_command_line(4, args);
    auto factory = db::make_backend_factory();
    return app::run_console(std::get<app::Options>(parsed), *factory, out, false);
  }

  testing_support::TempDir dir;
  std::ostringstream out;
};

TEST_F(EmbeddedRun, DataSourceWithoutADataDirectoryEndsTheRunWithExitCodeTwo) {
  point_at("dtaa");
  EXPECT_EQ(run_console(), 2);
  std::string path = (dir.path() / "dtaa").string();
  EXPECT_NE(out.str().find("Fehler: False parameters for database connection."), std::string::npos);
  EXPECT_NE(out.str().find("Abbruch: data directory " + path + " does not exist."), std::string::npos) << out.str();
  EXPECT_FALSE(std::filesystem::exists(path));

  std::filesystem::create_directory(dir.path() / "empty");
  point_at("empty");
  out.str("");
  EXPECT_EQ(run_console(), 2);
  EXPECT_NE(out.str().find("Abbruch: " + (dir.path() / "empty").string()), std::string::npos) << out.str();
  EXPECT_TRUE(std::filesystem::is_empty(dir.path() / "empty"));
}

TEST_F(EmbeddedRun, DataSourceThatIsAFileSaysSoWithItsPath) {
  std::ofstream(dir.path() / "data.txt") << "not a directory\n";
  point_at("data.txt");
  EXPECT_EQ(run_console(), 2);
  std::string path = (dir.path() / "data.txt").string();
  EXPECT_NE(out.str().find("Abbruch: " + path + " is no data directory: it is not a directory."), std::string::npos)
      << out.str();
}

// A damaged file of the data directory is named, whichever it is.
TEST_F(EmbeddedRun, DamagedDataDirectoryNamesTheFile) {
  {
    auto server = standin::Server::open(dir.path() / "data");
    testing_support::seed_demo_database(*server, "DRAVOK", "demo/catalogue.sql");
  }
  std::filesystem::path damaged;
  for (const auto& entry : std::filesystem::directory_iterator(dir.path() / "data"))
    if (entry.is_regular_file() && entry.file_size() > 64) damaged = entry.path();
  ASSERT_FALSE(damaged.empty());
  {
    std::fstream file(damaged, std::ios::in | std::ios::out | std::ios::binary);
    file.seekp(40);
    file << "damaged by a test";
  }
  point_at("data");
  EXPECT_EQ(run_console(), 2);
  EXPECT_NE(out.str().find("Fehler: False parameters for database connection."), std::string::npos);
  EXPECT_NE(out.str().find("Abbruch: "), std::string::npos);
  EXPECT_NE(out.str().find(damaged.string()), std::string::npos) << out.str();
}

// The tenant's name goes into the catalogue probes of the stages and of the
// finishing pass; the run must reach its end on it as on any other name.
TEST_F(EmbeddedRun, TenantNamedWithAQuoteIsUpgradedToTheEnd) {
  {
    auto server = standin::Server::open(dir.path() / "data");
    testing_support::seed_demo_database(*server, "DRAVOK", "demo/catalogue.sql");
    testing_support::seed_demo_database(*server, "DRAVOK'Q", "demo/club_01.sql");
  }
  point_at("data");
  EXPECT_EQ(run_console(), 0) << out.str();
  EXPECT_NE(out.str().find(std::string("== ") + upgrade::kFinishingCaption + "DRAVOK'Q"), std::string::npos);
  EXPECT_NE(out.str().find(upgrade::kCompletionMessage), std::string::npos);

  auto server = standin::Server::open(dir.path() / "data", standin::OpenMode::MustExist);
  auto session = server->connect("DRAVOK'Q");
  ASSERT_TRUE(session);
  // The finishing pass's marker: the tax keys of this tenant were converted.
  EXPECT_EQ(session->execute("SELECT name FROM sysobjects WHERE name='UpdS'").result_sets.at(0).rows.size(), 1u);
}

}  // namespace
