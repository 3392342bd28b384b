// A test of the tool's database layer against the embedded engine: the
// engine's data directory and, over its settings file, the tool's backend
// factory, connections, statement runner and primitives, every statement
// recorded in `transcript`.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "db/connections.h"
#include "db/primitives.h"
#include "support/engine_server.h"
#include "support/recording_feedback.h"

namespace testing_support {

class EmbeddedToolTest : public ::testing::Test {
 protected:
  using Rows = std::vector<std::vector<std::string>>;

  // Opens the tool's side; until then the test may write to the directory.
  void open_tool() {
    factory = db::make_backend_factory();
    connections = std::make_unique<db::Connections>(*factory, engine.settings_file(), feedback);
    runner = std::make_unique<db::StatementRunner>(*connections, feedback);
    runner->add_observer([this](const db::StatementRecord& r) { transcript.push_back(r); });
    sql = std::make_unique<db::Primitives>(*runner);
  }

  // Closes the tool's server so that the test can read the directory.
  Rows rows(const std::string& query, const std::string& database = "DRAVOK01") {
    sql.reset();
    runner.reset();
    connections.reset();
    factory.reset();
    return engine.rows(database, query);
  }

  EngineServer engine;
  RecordingFeedback feedback;
  std::unique_ptr<db::ConnectionFactory> factory;
  std::unique_ptr<db::Connections> connections;
  std::unique_ptr<db::StatementRunner> runner;
  std::unique_ptr<db::Primitives> sql;
  std::vector<db::StatementRecord> transcript;
};

}  // namespace testing_support
