// What the runner sends besides the statements of the stages: the session
// settings of every connection that opens, and the tenant lists on the
// discovery connection, each recorded with the database it went to.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "db/connections.h"
#include "db/statement_runner.h"
#include "db/tenant_discovery.h"
#include "support/fake_connection.h"
#include "support/recording_feedback.h"

using testing::ElementsAre;
using testing_support::FakeServer;

namespace {

class RunnerRouting : public ::testing::Test {
 protected:
  RunnerRouting() {
    runner.add_observer([this](const db::StatementRecord& r) {
      seen.push_back(std::string(db::to_string(r.channel)) + " " + r.database + ": " + r.text);
    });
  }
  FakeServer server;
  testing_support::FakeFactory factory{server};
  testing_support::RecordingFeedback feedback;
  db::Connections connections{factory, "/nonexistent/SysDBAdo.INI", feedback};
  db::StatementRunner runner{connections, feedback};
  std::vector<std::string> seen;
};

TEST_F(RunnerRouting, EveryOpeningSendsTheDateOrderFirstAndTenantListsGoToDiscovery) {
  server.results[db::kAllTenantsQuery] = FakeServer::rows({"name"}, {{"DRAVOK01"}});
  connections.pConn(db::kDiscoveryCatalogue);
  EXPECT_THAT(db::list_tenants(runner, true), ElementsAre("DRAVOK01"));
  connections.MandantChange("DRAVOK01");
  runner.run(db::Channel::Single, "UPDATE x SET y=1", db::Guard::unguarded());
  EXPECT_THAT(
      seen, ElementsAre("session Dravok: SET DATEFORMAT dmy", std::string("discovery Dravok: ") + db::kAllTenantsQuery,
                        "session DRAVOK01: SET DATEFORMAT dmy", "single DRAVOK01: UPDATE x SET y=1"));
  EXPECT_EQ(server.sent.front(), "SET DATEFORMAT dmy");
}

// A connection lost between statements is opened again by the next one,
// with its session settings before it.
TEST_F(RunnerRouting, ReopenedConnectionGetsItsSessionSettingsBeforeTheStatement) {
  connections.MandantChange("DRAVOK01");
  connections.work().close();
  seen.clear();
  runner.query(db::Channel::Probe, "SELECT 1", db::Guard::unguarded());
  EXPECT_THAT(seen, ElementsAre("session DRAVOK01: SET DATEFORMAT dmy", "probe DRAVOK01: SELECT 1"));
}

// Refused, the session settings fail the opening: the connection dialog,
// and the database is skipped as for any other failed switch.
TEST_F(RunnerRouting, RefusedSessionSettingsFailTheSwitch) {
  server.refusals["SET DATEFORMAT dmy"] = "no such setting";
  connections.MandantChange("DRAVOK01");
  ASSERT_EQ(feedback.reports.size(), 1u);
  EXPECT_EQ(feedback.reports[0].text,
            "False parameters for database connection.\nUnable to connect to database "
            "'DRAVOK01'.\n\nno such setting");
}

TEST_F(RunnerRouting, FailedTenantListEndsTheRunWithTheServerMessageNumber) {
  server.open_errors["Dravok"] = "no server";
  connections.pConn(db::kDiscoveryCatalogue);
  server.open_errors.clear();
  server.refusals[db::kTenantListQuery] = "Invalid object name";
  std::vector<db::StatementRecord> records;
  runner.add_observer([&](const db::StatementRecord& r) { records.push_back(r); });
  EXPECT_THROW(db::list_tenants(runner, false), db::DbError);
  ASSERT_FALSE(records.empty());
  EXPECT_EQ(records.back().channel, db::Channel::Discovery);
  EXPECT_EQ(*records.back().error, "Invalid object name");
}

}  // namespace
