// sqlupdate --status on the demo server: one line per tenant database, TMP
// copies included, before and after an upgrade; nothing but reads.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <sstream>

#include "app/command_line.h"
#include "app/front_end.h"
#include "db/connection_factory.h"
#include "db/connections.h"
#include "support/database_dump.h"
#include "support/demo_server.h"
#include "support/recording_ui.h"
#include "support/temp_dir.h"
#include "upgrade/tenant_status.h"

using testing::ElementsAre;
using testing::HasSubstr;

namespace {

class StatusView : public ::testing::Test {
 protected:
  void SetUp() override {
    {
      auto server = standin::Server::open(data());
      testing_support::seed_demo_server(*server);
    }
    std::ofstream(settings()) << "[Datenbank]\nProvider=Embedded\nData Source=data\n";
    options.settings = settings();
  }
  std::filesystem::path settings() const { return dir.path() / "SysDBAdo.INI"; }
  std::filesystem::path data() const { return dir.path() / "data"; }

  std::map<std::string, std::string> dumps() {
    auto server = standin::Server::open(data(), standin::OpenMode::MustExist);
    std::map<std::string, std::string> out;
    for (const char* name : {"DRAVOK", "DRAVOK01", "DRAVOK02", "dravokTMP01", "dravokTMP02"})
      out[name] = testing_support::dump_database(*server->connect(name));
    return out;
  }

  int status(std::ostringstream& out) {
    auto factory = db::make_backend_factory();
    return app::run_status(options, *factory, out);
  }

  std::vector<std::string> lines(const std::string& text) {
    std::vector<std::string> out;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) out.push_back(line);
    return out;
  }

  testing_support::TempDir dir;
  app::Options options;
};

TEST_F(StatusView, ListsEveryTenantAndChangesNothing) {
  const auto before = dumps();
  std::ostringstream out;
  ASSERT_EQ(status(out), 0) << out.str();
  EXPECT_EQ(dumps(), before);
  EXPECT_THAT(
      lines(out.str()),
      ElementsAre("DRAVOK       version none    UpdS no   tenant", "DRAVOK01     version none    UpdS no   tenant",
                  "DRAVOK02     version none    UpdS no   tenant", "dravokTMP01  version none    UpdS no   TMP copy",
                  "dravokTMP02  version none    UpdS no   TMP copy"));
}

TEST_F(StatusView, AfterARunShowsTheVersionAndTheFinishingPassMarker) {
  std::ostringstream run;
  {
    auto factory = db::make_backend_factory();
    app::Options console = options;
    console.console = true;
    ASSERT_EQ(app::run_console(console, *factory, run, false), 0) << run.str();
  }
  const auto before = dumps();
  std::ostringstream out;
  ASSERT_EQ(status(out), 0) << out.str();
  EXPECT_EQ(dumps(), before);
  // The main run skips the TMP copy; the finishing pass converts it.
  EXPECT_THAT(
      lines(out.str()),
      ElementsAre("DRAVOK       version 10      UpdS yes  tenant", "DRAVOK01     version 10      UpdS yes  tenant",
                  "DRAVOK02     version 10      UpdS yes  tenant", "dravokTMP01  version none    UpdS yes  TMP copy",
                  "dravokTMP02  version none    UpdS yes  TMP copy"));
}

// Every statement of the view is a read: the probes, the tenant lists and
// the session settings of each connection.
TEST_F(StatusView, SendsOnlyReads) {
  auto factory = db::make_backend_factory();
  testing_support::RecordingUi ui;
  upgrade::UiFeedback feedback(ui);
  db::Connections connections(*factory, settings(), feedback);
  db::StatementRunner runner(connections, feedback);
  std::vector<db::StatementRecord> sent;
  runner.add_observer([&](const db::StatementRecord& r) { sent.push_back(r); });
  db::Primitives sql(runner);
  EXPECT_EQ(upgrade::read_tenant_status(sql, feedback).size(), 5u);
  ASSERT_FALSE(sent.empty());
  for (const db::StatementRecord& r : sent)
    EXPECT_TRUE(r.text.rfind("SELECT ", 0) == 0 || r.text == "SET DATEFORMAT dmy") << r.text;
}

TEST_F(StatusView, ServerThatCannotBeReachedGivesExitCodeTwo) {
  std::filesystem::remove_all(data());
  std::ostringstream out;
  EXPECT_EQ(status(out), 2);
  EXPECT_THAT(out.str(), HasSubstr("Abbruch: data directory " + data().string() + " does not exist."));
}

}  // namespace
