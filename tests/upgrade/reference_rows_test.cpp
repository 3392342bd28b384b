// The fixed-row inserts of the stages: their exact texts and guards, and on
// the engine, one row per user and the duplicate federation reported.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "db/connections.h"
#include "db/sql_text.h"
#include "support/engine_server.h"
#include "support/fake_connection.h"
#include "support/recording_feedback.h"
#include "upgrade/reference_rows.h"

using testing::ElementsAre;
using testing_support::FakeServer;

namespace {

struct ScriptedWork {
  ScriptedWork() {
    runner.add_observer([this](const db::StatementRecord& r) {
      if (r.channel != db::Channel::Session) transcript.push_back(r);
    });
    connections.MandantChange("DRAVOK01");
  }
  std::vector<std::string> texts() const {
    std::vector<std::string> out;
    for (const auto& r : transcript) out.push_back(r.text);
    return out;
  }
  FakeServer server;
  testing_support::FakeFactory factory{server};
  testing_support::RecordingFeedback feedback;
  db::Connections connections{factory, "/nonexistent/SysDBAdo.INI", feedback};
  db::StatementRunner runner{connections, feedback};
  std::vector<db::StatementRecord> transcript;
};

TEST(ReferenceRows, FederationAndRightTextsAndGuards) {
  ScriptedWork work;
  upgrade::AddLandessportbund(work.runner, "BSB Nord", "Badischer Sportbund Nord");
  upgrade::AddRight(work.runner, 6, "SEPA einrichten", "SEPA");
  EXPECT_THAT(work.texts(), ElementsAre("INSERT INTO tblLSB (Kennung, Bezeichnung)\r\nVALUES\r\n"
                                        "('BSB Nord', 'Badischer Sportbund Nord')\r\n",
                                        "INSERT INTO tblRechte (BENUTZER, RB, Bezeichnung, Kurzname, Ind)\r\n"
                                        " SELECT BENUTZER, 6, 'SEPA einrichten', 'SEPA', 'J' FROM PASS\r\n"));
  EXPECT_EQ(work.transcript[0].guard, db::Guard::warning());
  EXPECT_EQ(work.transcript[1].guard, db::Guard::unguarded());
}

TEST(ReferenceRows, RefusedRightEndsTheRun) {
  ScriptedWork work;
  work.server.refusals[db::join_lines_crlf({"INSERT INTO tblRechte (BENUTZER, RB, Bezeichnung, Kurzname, Ind)",
                                            " SELECT BENUTZER, 1, 'a', 'b', 'J' FROM PASS"})] = "no PASS";
  EXPECT_THROW(upgrade::AddRight(work.runner, 1, "a", "b"), db::DbError);
}

TEST(ReferenceRows, RightsGoToEveryUserAndADuplicateFederationIsReported) {
  testing_support::EngineServer engine;
  engine.create_databases({"DRAVOK01"});
  engine.run("DRAVOK01",
             "CREATE TABLE PASS (BENUTZER varchar(20) NOT NULL)\n"
             "CREATE TABLE tblRechte (ID int IDENTITY(1,1) NOT NULL, BENUTZER varchar(20), RB int, "
             "Bezeichnung varchar(80), Kurzname varchar(20), Ind char(1))\n"
             "CREATE TABLE tblLSB (Kennung varchar(20) NOT NULL PRIMARY KEY, Bezeichnung varchar(80))");
  testing_support::RecordingFeedback feedback;
  {
    auto factory = db::make_backend_factory();
    db::Connections connections(*factory, engine.settings_file(), feedback);
    db::StatementRunner runner(connections, feedback);
    connections.MandantChange("DRAVOK01");
    upgrade::AddRight(runner, 6, "SEPA einrichten", "SEPA");  // no users yet: no row, no failure
    runner.run(db::Channel::Single,
               "INSERT INTO PASS VALUES ('A') INSERT INTO PASS VALUES ('B') INSERT INTO PASS VALUES ('C')",
               db::Guard::unguarded());
    upgrade::AddRight(runner, 7, "Buchen", "FIBU");
    upgrade::AddLandessportbund(runner, "BSB Nord", "Badischer Sportbund Nord");
    upgrade::AddLandessportbund(runner, "BSB Nord", "Badischer Sportbund Nord");
  }
  ASSERT_EQ(feedback.reports.size(), 1u);
  EXPECT_EQ(feedback.reports[0].kind, db::Report::Warning);
  using Rows = std::vector<std::vector<std::string>>;
  EXPECT_EQ(engine.rows("DRAVOK01", "SELECT COUNT(*) FROM tblRechte WHERE RB=7 AND Ind='J'"), Rows{{"3"}});
  EXPECT_TRUE(engine.rows("DRAVOK01", "SELECT * FROM tblRechte WHERE RB=6").empty());
}

}  // namespace
