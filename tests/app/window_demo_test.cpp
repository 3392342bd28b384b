// The program's window and run driver on the demo server of `make demo`
// (five old-release databases on the embedded engine, reached through a
// settings file as the program reaches them): what the user sees from the
// first activation to the end of the program, on a clean demo and on demo
// databases that an earlier hand has changed.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <QApplication>
#include <QTimer>

#include <cmath>
#include <fstream>
#include <memory>
#include <sstream>

#include "app/front_end.h"
#include "db/connection_factory.h"
#include "main_window_form.h"
#include "main_window_gauge.h"
#include "support/demo_server.h"
#include "support/temp_dir.h"
#include "upgrade/run_driver.h"
#include "upgrade/texts.h"
#include "window_recorder.h"

namespace window_test {
namespace {

using namespace std::chrono_literals;
using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using ::testing::HasSubstr;
using ::testing::Not;

const QString kTitle = QString::fromUtf8(upgrade::kApplicationTitle);

QString tenant_caption(const char* database) { return QString(database) + "/" + kTitle; }
QString finishing_caption(const char* database) { return QString::fromUtf8(upgrade::kFinishingCaption) + database; }

// What the bar paints for one tenant of the demo: 1, then the progress steps
// up to 100 (where it stays), then 0. Worked out here from the progress
// rule, independently of the program's own arithmetic.
std::vector<int> painted_for_one_tenant() {
  std::vector<int> painted{1};
  for (int counter = 2; counter <= 26; ++counter)
    painted.push_back(static_cast<int>(std::lround(counter * 100.0 / 26.0)));
  painted.push_back(0);
  return painted;
}

class WindowDemoTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::ofstream(settings()) << "[Datenbank]\nProvider=Embedded\nData Source=" << data().string() << "\n";
    auto server = standin::Server::open(data());
    ASSERT_TRUE(server);
    testing_support::seed_demo_server(*server);
  }

  std::filesystem::path settings() const { return dir.path() / "SysDBAdo.INI"; }
  std::filesystem::path data() const { return dir.path() / "data"; }

  // Changes a demo database before the run, as an earlier hand might have.
  void before_the_run(const std::string& database, const std::string& text) {
    auto server = standin::Server::open(data());
    standin::BatchResult result = server->connect(database)->execute(text);
    ASSERT_TRUE(result.ok()) << result.errors.front().message;
  }

  // patience: event-loop turns a message box may stay open before the
  // recorder clicks OK; a large one lets a box close by itself first.
  // The run as main() starts it in the window, with the log of --log when
  // `log` is given.
  void make_window(int patience, upgrade::RunLog* log = nullptr) {
    factory = db::make_backend_factory();
    window = std::make_unique<app::MainWindow>([this, log](upgrade::Ui& ui) {
      ++runs;
      app::Options options;
      options.settings = settings();
      return app::run_upgrade(ui, *factory, options, log).exit_code;
    });
    window->dialogs().set_brief_display(0ms);
    recorder = std::make_unique<WindowRecorder>(*window, patience);
  }

  // The program's connections are closed, so that the data can be read.
  std::vector<std::string> columns_after_the_run(const std::string& database, const std::string& table) {
    recorder.reset();
    window.reset();
    factory.reset();
    auto server = standin::Server::open(data());
    standin::BatchResult result = server->connect(database)->execute(
        "SELECT COLUMN_NAME FROM INFORMATION_SCHEMA.COLUMNS WHERE TABLE_NAME='" + table + "'");
    std::vector<std::string> names;
    if (!result.ok() || result.result_sets.empty()) return names;
    for (const auto& row : result.result_sets.front().rows) names.push_back(row[0].string_value());
    return names;
  }

  testing_support::TempDir dir;
  std::unique_ptr<db::ConnectionFactory> factory;
  std::unique_ptr<app::MainWindow> window;
  std::unique_ptr<WindowRecorder> recorder;
  int runs = 0;
};

TEST_F(WindowDemoTest, UpgradesEveryTenantShowsCompletionThenTheProgramEnds) {
  make_window(/*patience=*/1);
  // The user switches to another application and back while the first club
  // is upgraded: the window is activated again, which starts nothing.
  QWidget other;
  bool other_was_active = false;
  QTimer user;
  QObject::connect(&user, &QTimer::timeout, [&] {
    if (window->windowTitle() != tenant_caption("DRAVOK01")) return;
    user.stop();
    other.show();
    other.activateWindow();
    QApplication::processEvents();
    other_was_active = QApplication::activeWindow() == &other;
    window->activateWindow();
    other.close();  // the program ends with its last window
    QApplication::processEvents();
  });
  user.start(0);
  ASSERT_TRUE(program_ends(*window, 120s));

  EXPECT_THAT(recorder->captions,
              ElementsAre(kTitle, tenant_caption("DRAVOK"), tenant_caption("DRAVOK01"), tenant_caption("DRAVOK02"),
                          finishing_caption("DRAVOK"), finishing_caption("DRAVOK01"), finishing_caption("DRAVOK02"),
                          finishing_caption("dravokTMP01"), finishing_caption("dravokTMP02"), kTitle));
  std::vector<int> expected;
  for (int tenant = 0; tenant < 3; ++tenant) {
    const std::vector<int> one = painted_for_one_tenant();
    expected.insert(expected.end(), one.begin(), one.end());
  }
  EXPECT_THAT(recorder->painted_since_start(), ElementsAreArray(expected));

  ASSERT_EQ(recorder->dialogs.size(), 1u);
  const ShownDialog& done = recorder->dialogs.front();
  EXPECT_EQ(done.icon, QMessageBox::Information);
  EXPECT_EQ(done.caption, "Informationen");
  EXPECT_EQ(done.text, QString::fromUtf8(upgrade::kCompletionMessage));
  EXPECT_THAT(done.buttons, ElementsAre("OK"));

  EXPECT_TRUE(other_was_active);
  EXPECT_EQ(runs, 1);
  EXPECT_EQ(window->exit_status(), 0);
  EXPECT_EQ(window->gauge().value(), 0);
  EXPECT_FALSE(window->wait_cursor().waiting());
  EXPECT_THAT(columns_after_the_run("DRAVOK02", "Mandstam"), Contains("VereinUebUntgliedAbt"));
}

// With --log, the window shows its dialogs as without it, and the log
// holds them with the statements that failed and the summary.
TEST_F(WindowDemoTest, ReportedFailuresCloseByThemselvesAndTheirListWaitsForOk) {
  // Without the column, the index on it and the clean-up of its values fail
  // under their guards. By then the first tenant's scripts have asked the
  // window to close, so those warnings are only shown briefly.
  before_the_run("DRAVOK02", "ALTER TABLE F5BEW4 DROP COLUMN SUCHTEXT");
  std::ostringstream logged;
  upgrade::RunLog log(logged);
  make_window(/*patience=*/50, &log);
  ASSERT_TRUE(program_ends(*window, 120s));

  EXPECT_THAT(logged.str(), HasSubstr(" DRAVOK02 [dialog warning] Invalid column name 'SuchText'.\n"));
  EXPECT_THAT(logged.str(), HasSubstr(" [caption] " + kTitle.toStdString() + "\n"));
  EXPECT_THAT(logged.str(), HasSubstr("Zusammenfassung: 3 Datenbanken gefunden, 3 Datenbanken aktualisiert, "));
  EXPECT_THAT(logged.str(), HasSubstr("\n  DRAVOK02: 2 Meldungen\n"));

  ASSERT_EQ(recorder->dialogs.size(), 3u);
  for (int i : {0, 1}) {
    EXPECT_EQ(recorder->dialogs[i].icon, QMessageBox::Warning);
    EXPECT_EQ(recorder->dialogs[i].caption, "Warnung");
    EXPECT_FALSE(recorder->dialogs[i].answered) << "closes by itself once the close request is taken";
  }
  EXPECT_EQ(recorder->dialogs[0].text, "Column name 'SUCHTEXT' does not exist in the target table or view.");
  EXPECT_EQ(recorder->dialogs[1].text, "Invalid column name 'SuchText'.");
  const ShownDialog& list = recorder->dialogs[2];
  EXPECT_EQ(list.caption, "Informationen");
  EXPECT_TRUE(list.text.startsWith(QString::fromUtf8("UPDATE ausgef\xc3\xbchrt mit 2 Meldungen:")));
  EXPECT_TRUE(list.text.contains("DRAVOK02: Invalid column name 'SuchText'."));
  EXPECT_TRUE(list.answered) << "the list of failures waits for OK";
  EXPECT_EQ(recorder->captions.back(), kTitle);
  EXPECT_EQ(window->exit_status(), 1);
}

TEST_F(WindowDemoTest, UncaughtFailureInTheFirstTenantLeavesTheWindowOpenUntilClosed) {
  // The tax-key renumbering of stage I is unguarded; it runs before any
  // script, so no close request is pending when it fails.
  before_the_run("DRAVOK", "ALTER TABLE F5Kont DROP COLUMN STSCHL");
  make_window(/*patience=*/1);
  bool open_after_the_failure = false;
  int progress_after_the_failure = -1;
  QTimer user;
  QObject::connect(&user, &QTimer::timeout, [&] {
    if (!window->run_over()) return;
    user.stop();
    open_after_the_failure = window->isVisible();
    progress_after_the_failure = window->gauge().value();
    window->close();  // the frame's close button
  });
  user.start(10);
  ASSERT_TRUE(program_ends(*window, 120s)) << "closing the window ends the program";

  EXPECT_TRUE(open_after_the_failure);
  ASSERT_EQ(recorder->dialogs.size(), 1u);
  const ShownDialog& box = recorder->dialogs.front();
  EXPECT_EQ(box.icon, QMessageBox::Critical);
  EXPECT_EQ(box.caption, kTitle);
  EXPECT_EQ(box.text, "Invalid column name 'STSCHL'.");
  EXPECT_THAT(box.buttons, ElementsAre("OK"));
  // Caption and bar keep what they showed when the failure came.
  EXPECT_EQ(recorder->captions.back(), tenant_caption("DRAVOK"));
  EXPECT_GT(progress_after_the_failure, 1);
  EXPECT_LT(progress_after_the_failure, 100);
  EXPECT_THAT(recorder->captions, Not(Contains(finishing_caption("DRAVOK"))));
  EXPECT_EQ(window->exit_status(), 2);
  EXPECT_EQ(runs, 1);
  EXPECT_FALSE(window->wait_cursor().waiting());
  EXPECT_THAT(columns_after_the_run("DRAVOK01", "Mandstam"), Not(Contains("VereinUebUntgliedAbt")))
      << "the remaining tenants are left as they were";
}

TEST_F(WindowDemoTest, UncaughtFailureAfterTheScriptsEndsTheProgramRightAfterTheErrorBox) {
  // The first tenant's scripts asked the window to close; the failure in
  // the second tenant then ends the program once its error box is read.
  before_the_run("DRAVOK01", "ALTER TABLE F5Kont DROP COLUMN STSCHL");
  make_window(/*patience=*/50);
  ASSERT_TRUE(program_ends(*window, 120s));

  ASSERT_EQ(recorder->dialogs.size(), 1u);
  EXPECT_EQ(recorder->dialogs[0].caption, kTitle);
  EXPECT_EQ(recorder->dialogs[0].text, "Invalid column name 'STSCHL'.");
  EXPECT_TRUE(recorder->dialogs[0].answered) << "the error box waits for OK";
  EXPECT_EQ(recorder->captions.back(), tenant_caption("DRAVOK01"));
  EXPECT_EQ(window->exit_status(), 2);
}

}  // namespace
}  // namespace window_test
