// The embedded backend opens only data directories that already exist: a
// wrong Data Source must end in an error naming it, never in a new, empty
// server, and must leave the named place as it was.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <standin/standin.h>

#include <fstream>

#include "db/connections.h"
#include "db/embedded.h"
#include "db/tenant_discovery.h"
#include "support/recording_feedback.h"
#include "support/temp_dir.h"

using testing::HasSubstr;

namespace {

bool is_empty_directory(const std::filesystem::path& dir) {
  return std::filesystem::is_directory(dir) &&
         std::filesystem::directory_iterator(dir) == std::filesystem::directory_iterator();
}

// The text of the DbError that opening `dir` throws, or "" when it opens.
std::string refusal(const std::filesystem::path& dir) {
  db::EmbeddedServers servers;
  try {
    servers.server(dir);
  } catch (const db::DbError& e) {
    return e.what();
  }
  return "";
}

TEST(EmbeddedDataDirectory, PlacesWithoutADataDirectoryAreRefusedAndLeftAlone) {
  testing_support::TempDir scratch;
  std::filesystem::path missing = scratch.path() / "typo" / "data";
  EXPECT_THAT(refusal(missing), HasSubstr(missing.string()));
  EXPECT_FALSE(std::filesystem::exists(scratch.path() / "typo"));

  std::filesystem::path empty = scratch.path() / "empty";
  std::filesystem::create_directory(empty);
  EXPECT_THAT(refusal(empty), HasSubstr(empty.string()));
  EXPECT_TRUE(is_empty_directory(empty));  // no LOCK, MANIFEST or journal left behind

  // Files of some other program: not a data directory either.
  std::filesystem::path other = scratch.path() / "other";
  std::filesystem::create_directory(other);
  std::ofstream(other / "notes.txt") << "x";
  EXPECT_THAT(refusal(other), HasSubstr(other.string()));
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(other), std::filesystem::directory_iterator()), 1);

  std::filesystem::path file = scratch.path() / "file";
  std::ofstream(file) << "x";
  EXPECT_THAT(refusal(file), HasSubstr(file.string()));
}

TEST(EmbeddedDataDirectory, SeededDirectoryOpensWithItsDatabasesAndIsShared) {
  testing_support::TempDir scratch;
  std::filesystem::path data = scratch.path() / "data";
  standin::Server::open(data)->connect()->execute("CREATE DATABASE DRAVOK01");
  db::EmbeddedServers servers;
  auto server = servers.server(data);
  EXPECT_THAT(server->database_names(), testing::Contains("DRAVOK01"));
  EXPECT_EQ(servers.server(data), server);
}

// Through the tool's connections: the failure shows in the connection
// dialog with the path, and a later attempt fails the same way.
TEST(EmbeddedDataDirectory, MissingDirectoryGivesTheConnectionDialogNamingIt) {
  testing_support::TempDir scratch;
  std::ofstream(scratch.path() / "SysDBAdo.INI") << "[Datenbank]\nProvider=Embedded\nData Source=dtaa\n";
  auto factory = db::make_backend_factory();
  testing_support::RecordingFeedback feedback;
  db::Connections connections(*factory, scratch.path() / "SysDBAdo.INI", feedback);
  db::StatementRunner runner(connections, feedback);
  connections.pConn(db::kDiscoveryCatalogue);
  ASSERT_EQ(feedback.reports.size(), 1u);
  EXPECT_EQ(feedback.reports[0].kind, db::Report::Error);
  EXPECT_THAT(feedback.reports[0].text, HasSubstr((scratch.path() / "dtaa").string()));
  EXPECT_THROW(db::list_tenants(runner, false), db::DbError);
  EXPECT_FALSE(std::filesystem::exists(scratch.path() / "dtaa"));
}

}  // namespace
