// A work connection switched to DRAVOK01 on a fake server, with a recording
// user interface and a transcript of every statement.
#pragma once

#include <gtest/gtest.h>

#include <gmock/gmock.h>
#include "db/primitives.h"
#include "db/sql_text.h"
#include "support/fake_connection.h"
#include "support/recording_feedback.h"

class DbFixture : public ::testing::Test {
 protected:
  DbFixture() {
    runner.add_observer([this](const db::StatementRecord& r) { transcript.push_back(r); });
    connections.MandantChange("DRAVOK01");
    server.opened.clear();
    transcript.clear();  // the session settings of the switch
    server.sent.clear();
  }

  std::vector<std::string> texts() const {
    std::vector<std::string> out;
    for (const auto& r : transcript) out.push_back(r.text);
    return out;
  }

  testing_support::FakeServer server;
  testing_support::FakeFactory factory{server};
  testing_support::RecordingFeedback feedback;
  db::Connections connections{factory, "/nonexistent/SysDBAdo.INI", feedback};
  db::StatementRunner runner{connections, feedback};
  db::Primitives sql{runner};
  std::vector<db::StatementRecord> transcript;
};
