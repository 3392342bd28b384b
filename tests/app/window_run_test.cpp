// The window driven by a scripted run: captions, painted progress, dialogs,
// the single start of the run, uncaught failures and the end of the program.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <QApplication>
#include <QTest>
#include <QTimer>
#include <memory>
#include <stdexcept>

#include "banner_panel.h"
#include "main_window_form.h"
#include "main_window_gauge.h"
#include "window_fake_run.h"
#include "window_recorder.h"

namespace window_test {
namespace {

using namespace std::chrono_literals;
using ::testing::ElementsAre;
using upgrade::DialogKind;
using upgrade::Dismissal;

const QString kQTitle = QString::fromStdString(kTitle);

// What the bar paints for one tenant of at least 25 progress steps.
std::vector<int> one_tenant_progress() {
  std::vector<int> shown{1};
  for (int counter = 2; counter <= 26; ++counter) shown.push_back(progress_percent(counter));
  shown.push_back(0);
  return shown;
}

class WindowRunTest : public ::testing::Test {
 protected:
  // patience: event-loop turns a message box may stay open before the
  // recorder clicks OK (see WindowRecorder).
  void make_window(int patience = 1) {
    window = std::make_unique<app::MainWindow>([this](upgrade::Ui& ui) { return fake(ui); });
    window->dialogs().set_brief_display(0ms);
    recorder = std::make_unique<WindowRecorder>(*window, patience);
  }

  void show_and_activate() {
    window->show();
    window->activateWindow();
  }

  bool run_ends_with_window_open() {
    show_and_activate();
    return QTest::qWaitFor([this] { return window->run_over(); }, 60000) && window->isVisible();
  }

  FakeRun fake{{{"DRAVOK01"}, {"DRAVOK02"}}};
  std::unique_ptr<app::MainWindow> window;
  std::unique_ptr<WindowRecorder> recorder;
};

TEST_F(WindowRunTest, ShowsCaptionsProgressAndCompletionThenEnds) {
  make_window();
  ASSERT_TRUE(program_ends(*window));

  EXPECT_THAT(recorder->captions, ElementsAre(kQTitle, "DRAVOK01/" + kQTitle, "DRAVOK02/" + kQTitle, kQTitle));
  std::vector<int> expected = one_tenant_progress();
  const std::vector<int> second = one_tenant_progress();
  expected.insert(expected.end(), second.begin(), second.end());
  EXPECT_EQ(recorder->painted_since_start(), expected);

  ASSERT_EQ(recorder->dialogs.size(), 1u);
  const ShownDialog& done = recorder->dialogs.front();
  EXPECT_EQ(done.icon, QMessageBox::Information);
  EXPECT_EQ(done.caption, "Informationen");
  EXPECT_EQ(done.text, QString::fromUtf8(kCompletion));
  EXPECT_THAT(done.buttons, ElementsAre("OK"));

  EXPECT_EQ(fake.runs(), 1);
  EXPECT_EQ(window->exit_status(), 0);
  EXPECT_TRUE(window->banner_panel().edition_banner_shown());
  EXPECT_FALSE(window->wait_cursor().waiting());
}

TEST_F(WindowRunTest, TenantWithoutConnectionMovesNoProgress) {
  fake = FakeRun({{"DRAVOK01", /*connects=*/false}, {"DRAVOK02"}, {"DRAVOK03", true, 3}});
  make_window();
  ASSERT_TRUE(program_ends(*window));

  std::vector<int> expected = one_tenant_progress();
  for (int shown : {1, 8, 12, 15, 100, 0}) expected.push_back(shown);
  EXPECT_EQ(recorder->painted_since_start(), expected);
  ASSERT_EQ(recorder->dialogs.size(), 2u);
  EXPECT_EQ(recorder->dialogs[0].icon, QMessageBox::Critical);
  EXPECT_EQ(recorder->dialogs[0].caption, "Fehler");
  EXPECT_EQ(recorder->dialogs[0].text, "Keine Verbindung zu DRAVOK01");
}

TEST_F(WindowRunTest, LaterActivationsStartNothing) {
  bool other_window_was_active = false;
  fake.after_step = [&](upgrade::Ui& ui, const std::string& tenant, int step) {
    if (tenant != "DRAVOK01") return;
    if (step == 2) {
      QWidget other;
      other.show();
      other.activateWindow();
      ui.process_messages();
      other_window_was_active = QApplication::activeWindow() == &other;
      window->activateWindow();
      ui.process_messages();
    } else if (step == 3) {
      ui.show_dialog(DialogKind::Warning, "Spalte fehlt");
      ui.process_messages();
    }
  };
  make_window();
  ASSERT_TRUE(program_ends(*window));

  EXPECT_TRUE(other_window_was_active);
  EXPECT_EQ(fake.runs(), 1);
  EXPECT_EQ(recorder->dialogs.size(), 2u);
}

TEST_F(WindowRunTest, UncaughtFailureLeavesWindowOpenWithErrorBox) {
  fake.after_step = [](upgrade::Ui&, const std::string& tenant, int step) {
    if (tenant == "DRAVOK01" && step == 5) throw std::runtime_error("Ung\xc3\xbcltiger Spaltenname 'Kn5a'");
  };
  make_window();
  ASSERT_TRUE(run_ends_with_window_open());

  ASSERT_EQ(recorder->dialogs.size(), 1u);
  const ShownDialog& box = recorder->dialogs.front();
  EXPECT_EQ(box.icon, QMessageBox::Critical);
  EXPECT_EQ(box.caption, kQTitle);
  EXPECT_EQ(box.text, QString::fromUtf8("Ung\xc3\xbcltiger Spaltenname 'Kn5a'."));
  EXPECT_EQ(window->windowTitle(), "DRAVOK01/" + kQTitle);
  EXPECT_EQ(window->gauge().value(), progress_percent(6));
  EXPECT_EQ(window->exit_status(), 2);
  EXPECT_FALSE(window->wait_cursor().waiting());

  // Still open: activating it again starts nothing; the user closes it.
  QWidget other;
  other.show();
  other.activateWindow();
  QTest::qWait(0);
  window->activateWindow();
  QTest::qWait(0);
  EXPECT_EQ(fake.runs(), 1);
  EXPECT_TRUE(window->close());
  EXPECT_FALSE(window->isVisible());
}

TEST_F(WindowRunTest, CloseButtonNeverInterruptsTheRun) {
  bool visible_after_close = false;
  fake.after_step = [&](upgrade::Ui& ui, const std::string& tenant, int step) {
    if (tenant != "DRAVOK01") return;
    if (step == 3) {
      // The click arrives while the run is busy; the next pump handles it.
      QMetaObject::invokeMethod(
          window.get(), [w = window.get()] { w->close(); }, Qt::QueuedConnection);
      ui.process_messages();
      visible_after_close = window->isVisible();
    } else if (step == 10) {
      ui.show_dialog(DialogKind::Warning, "Tabelle fehlt");
      ui.show_dialog(DialogKind::Information, "Bitte lesen", Dismissal::AlwaysWait);
    }
  };
  make_window(/*patience=*/50);
  ASSERT_TRUE(program_ends(*window));

  EXPECT_TRUE(visible_after_close);
  EXPECT_THAT(recorder->captions, ::testing::Contains("DRAVOK02/" + kQTitle));
  ASSERT_EQ(recorder->dialogs.size(), 3u);
  EXPECT_FALSE(recorder->dialogs[0].answered) << "an in-run dialog closes by itself";
  EXPECT_TRUE(recorder->dialogs[1].answered) << "a dialog that must be read waits for OK";
  EXPECT_EQ(recorder->dialogs[2].text, QString::fromUtf8(kCompletion));
  EXPECT_FALSE(recorder->dialogs[2].answered);
  EXPECT_EQ(fake.runs(), 1);
}

TEST_F(WindowRunTest, RunsOwnCloseRequestIsTakenByTheNextDialog) {
  fake.after_step = [&](upgrade::Ui& ui, const std::string& tenant, int step) {
    if (tenant != "DRAVOK01") return;
    if (step == 1) ui.request_close();  // as the script runner does after a script
    if (step == 2) ui.show_dialog(DialogKind::Warning, "Index fehlt");
  };
  make_window(/*patience=*/50);
  ASSERT_TRUE(program_ends(*window));

  ASSERT_EQ(recorder->dialogs.size(), 2u);
  EXPECT_FALSE(recorder->dialogs[0].answered);
  EXPECT_THAT(recorder->captions, ::testing::Contains("DRAVOK02/" + kQTitle));
}

TEST_F(WindowRunTest, PendingCloseEndsProgramRightAfterTheErrorBox) {
  fake.after_step = [&](upgrade::Ui& ui, const std::string& tenant, int step) {
    if (tenant != "DRAVOK01") return;
    if (step == 1) ui.request_close();
    if (step == 40) throw std::runtime_error("Verbindung unterbrochen.");
  };
  make_window(/*patience=*/50);
  ASSERT_TRUE(program_ends(*window));

  ASSERT_EQ(recorder->dialogs.size(), 1u);
  EXPECT_EQ(recorder->dialogs[0].text, "Verbindung unterbrochen.");
  EXPECT_TRUE(recorder->dialogs[0].answered) << "the error box waits for OK";
  EXPECT_EQ(window->exit_status(), 2);
}

}  // namespace
}  // namespace window_test
