#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>

#include "db/connections.h"
#include "db/tenant_discovery.h"
#include "recording_shell_links.h"
#include "support/fake_connection.h"
#include "support/recording_ui.h"
#include "upgrade/finishing_pass.h"
#include "upgrade/run_driver.h"
#include "upgrade/texts.h"

using testing::Contains;
using testing::ElementsAre;
using testing_support::FakeServer;
using upgrade::DialogKind;
using upgrade::RunOutcome;

namespace {

class RunDriverTest : public ::testing::Test {
 protected:
  RunOutcome run() {
    upgrade::RunDriver driver(ui, factory, "/nonexistent/SysDBAdo.INI");
    driver.use_shell_links(&shell);
    return driver.run();
  }
  void tenants(std::vector<std::vector<std::string>> main, std::vector<std::vector<std::string>> all) {
    server.results[db::kTenantListQuery] = FakeServer::rows({"name"}, std::move(main));
    server.results[db::kAllTenantsQuery] = FakeServer::rows({"name"}, std::move(all));
  }

  FakeServer server;
  testing_support::FakeFactory factory{server};
  testing_support::RecordingUi ui;
  testing_support::RecordingShellLinks shell;
};

TEST_F(RunDriverTest, EmptyServerCompletesWithTheSuccessMessage) {
  RunOutcome outcome = run();
  EXPECT_EQ(outcome.exit_code(), 0);
  ASSERT_EQ(ui.dialogs.size(), 1u);
  EXPECT_EQ(ui.dialogs[0].kind, DialogKind::Information);
  EXPECT_EQ(ui.dialogs[0].text, "UPDATE erfolgreich ausgeführt!");
  EXPECT_EQ(ui.captions.back(), upgrade::kApplicationTitle);
  EXPECT_EQ(ui.progress, std::vector<int>{0});
  EXPECT_EQ(ui.events.back(), "close");
}

TEST_F(RunDriverTest, EachTenantGetsItsCaptionAndAFreshProgressBar) {
  tenants({{"DRAVOK01"}, {"DRAVOK"}}, {});
  run();
  EXPECT_THAT(ui.captions, Contains("DRAVOK01/Corvena verdalis tessaro - SQL Update"));
  EXPECT_THAT(ui.captions, Contains("DRAVOK/Corvena verdalis tessaro - SQL Update"));
  // Each tenant starts at 1 and ends with 100, 0; the run ends with 0.
  EXPECT_EQ(std::count(ui.progress.begin(), ui.progress.end(), 1), 2);
  EXPECT_EQ(std::count(ui.progress.begin(), ui.progress.end(), 0), 3);
  EXPECT_EQ(ui.progress.front(), 1);
  EXPECT_EQ(ui.progress.back(), 0);
  EXPECT_EQ(server.opened, (std::vector<std::string>{"Dravok", "DRAVOK01", "DRAVOK", "Dravok"}));
}

TEST_F(RunDriverTest, FailedSwitchIsReportedSkippedAndSpoilsTheCompletionMessage) {
  tenants({{"DRAVOK01"}, {"DRAVOK02"}}, {});
  server.open_errors["DRAVOK01"] = "Cannot open database";
  RunOutcome outcome = run();
  EXPECT_EQ(outcome.exit_code(), 1);
  // Only the second tenant moves the bar.
  EXPECT_EQ(std::count(ui.progress.begin(), ui.progress.end(), 1), 1);
  EXPECT_EQ(std::count(ui.progress.begin(), ui.progress.end(), 0), 2);
  ASSERT_EQ(ui.dialogs.size(), 2u);
  EXPECT_EQ(ui.dialogs[0].kind, DialogKind::Error);
  EXPECT_EQ(ui.dialogs[1].kind, DialogKind::Information);
  EXPECT_EQ(ui.dialogs[1].dismissal, upgrade::Dismissal::AlwaysWait);
  EXPECT_EQ(ui.dialogs[1].text,
            "UPDATE ausgeführt mit 1 Meldung:\n\nDRAVOK01: False parameters for database "
            "connection.\nUnable to connect to database 'DRAVOK01'.\n\nCannot open database");
  // For the summary: both were found, only the second one was upgraded.
  EXPECT_EQ(outcome.tenants_found, 2);
  EXPECT_EQ(outcome.tenants_upgraded, 1);
}

TEST_F(RunDriverTest, FailedDiscoveryEndsTheRunInTheErrorBoxBeforeAnyTenant) {
  server.open_errors["Dravok"] = "Provider cannot be found";
  RunOutcome outcome = run();
  EXPECT_EQ(outcome.exit_code(), 2);
  EXPECT_EQ(outcome.abort_text, "Provider cannot be found.");
  ASSERT_EQ(ui.dialogs.size(), 2u);
  EXPECT_EQ(ui.dialogs[0].kind, DialogKind::Error);
  EXPECT_EQ(ui.dialogs[1].kind, DialogKind::ErrorBox);
  EXPECT_EQ(ui.dialogs[1].text, "Provider cannot be found.");
  EXPECT_EQ(ui.close_requests, 0);
}

TEST_F(RunDriverTest, UncaughtFailureKeepsCaptionAndSkipsTheRest) {
  tenants({{"DRAVOK01"}}, {{"DRAVOK01"}});
  // The finishing pass's marker probe fails on the tenant: nothing after it
  // runs, the error text already ends in a full stop.
  server.refusals["SELECT * FROM sysobjects WHERE name='UpdS'"] = "Connection lost.";
  RunOutcome outcome = run();
  EXPECT_EQ(outcome.exit_code(), 2);
  EXPECT_EQ(ui.dialogs.back().text, "Connection lost.");
  EXPECT_EQ(ui.captions.back(), "Corvena verdalis - SQL Update Datenbank: DRAVOK01");
  // Only the two template scripts of stage I asked the window to close.
  EXPECT_EQ(ui.close_requests, 2);
  // The tenant's sequence ran to its end before the finishing pass failed.
  EXPECT_EQ(outcome.tenants_found, 1);
  EXPECT_EQ(outcome.tenants_upgraded, 1);
}

TEST_F(RunDriverTest, ShortcutsAreRefreshedAfterTheFinishingPassAndBeforeTheCompletionMessage) {
  tenants({}, {{"DRAVOKTMP01"}});
  shell.events = &ui.events;
  RunOutcome outcome = run();
  EXPECT_EQ(outcome.exit_code(), 0);
  EXPECT_EQ(shell.refreshes.size(), 34u);
  auto first_shortcut = std::find_if(ui.events.begin(), ui.events.end(),
                                     [](const std::string& event) { return event.starts_with("shortcut:"); });
  auto finishing =
      std::find(ui.events.begin(), ui.events.end(), "caption:Corvena verdalis - SQL Update Datenbank: DRAVOKTMP01");
  auto completion = std::find(ui.events.begin(), ui.events.end(), "dialog:UPDATE erfolgreich ausgeführt!");
  ASSERT_NE(first_shortcut, ui.events.end());
  EXPECT_LT(finishing, first_shortcut);
  EXPECT_LT(first_shortcut, completion);
}

TEST_F(RunDriverTest, ARunEndedByAFailureRefreshesNoShortcut) {
  tenants({}, {{"DRAVOK01"}});
  server.refusals["SELECT * FROM sysobjects WHERE name='UpdS'"] = "Connection lost.";
  EXPECT_EQ(run().exit_code(), 2);
  EXPECT_THAT(shell.refreshes, testing::IsEmpty());
}

TEST(CompletionText, ListsEveryMessageWithItsDatabase) {
  EXPECT_EQ(upgrade::completion_text({}), "UPDATE erfolgreich ausgeführt!");
  EXPECT_EQ(upgrade::completion_text({{"A", "x"}, {"B", "y"}}), "UPDATE ausgeführt mit 2 Meldungen:\n\nA: x\n\nB: y");
  EXPECT_EQ(upgrade::with_full_stop("Fehler"), "Fehler.");
  EXPECT_EQ(upgrade::with_full_stop("Fehler."), "Fehler.");
}

}  // namespace
