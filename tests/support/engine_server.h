// A data directory of the stand-in engine with a settings file that points
// the tool at it, for tests that run real statements.
#pragma once

#include <gtest/gtest.h>
#include <standin/standin.h>

#include <fstream>
#include <string>
#include <vector>

#include "support/temp_dir.h"

namespace testing_support {

class EngineServer {
 public:
  EngineServer() { std::ofstream(settings_file()) << "[Datenbank]\nProvider=Embedded\nData Source=data\n"; }

  std::filesystem::path settings_file() const { return dir_.path() / "SysDBAdo.INI"; }
  std::filesystem::path data() const { return dir_.path() / "data"; }

  // Runs `text` on `database` and fails the test on any error. The server
  // is closed again afterwards, so that the tool can open the directory.
  void run(const std::string& database, const std::string& text) {
    auto server = standin::Server::open(data());
    standin::Error error;
    auto session = server->connect(database, &error);
    ASSERT_TRUE(session) << error.message;
    standin::BatchResult result = session->execute(text);
    ASSERT_TRUE(result.ok()) << result.errors.front().message << "\n" << text;
  }

  void create_databases(const std::vector<std::string>& names) {
    for (const auto& name : names) run("master", "CREATE DATABASE " + name);
  }

  // The rows of `query` on `database`, every value as display text.
  std::vector<std::vector<std::string>> rows(const std::string& database, const std::string& query) {
    auto server = standin::Server::open(data());
    auto session = server->connect(database);
    std::vector<std::vector<std::string>> out;
    if (!session) return out;
    standin::BatchResult result = session->execute(query);
    EXPECT_TRUE(result.ok()) << (result.ok() ? "" : result.errors.front().message);
    if (result.result_sets.empty()) return out;
    for (const auto& row : result.result_sets.front().rows) {
      std::vector<std::string> values;
      for (const auto& v : row)
        values.push_back(v.is_null() ? "NULL" : v.type().is_string() ? v.string_value() : v.to_display());
      out.push_back(values);
    }
    return out;
  }

 private:
  TempDir dir_;
};

}  // namespace testing_support
