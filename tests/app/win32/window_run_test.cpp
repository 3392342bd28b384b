// The native window driven by a scripted run: captions, painted progress,
// dialogs, the single start of the run, uncaught failures and the end of the
// program.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>

#include "banner_panel.h"
#include "main_window_form.h"
#include "wide_text.h"
#include "window_fake_run.h"
#include "window_recorder.h"

namespace window_test {
namespace {

using namespace std::chrono_literals;
using app::win32::MainWindow;
using ::testing::Contains;
using ::testing::ElementsAre;
using upgrade::DialogKind;
using upgrade::Dismissal;

// What the bar paints for one tenant of at least 25 progress steps.
std::vector<int> one_tenant_progress() {
  std::vector<int> shown{1};
  for (int counter = 2; counter <= 26; ++counter) shown.push_back(progress_percent(counter));
  shown.push_back(0);
  return shown;
}

std::string caption_of(HWND window) {
  wchar_t text[256] = {};
  GetWindowTextW(window, text, 256);
  return app::win32::to_utf8(text);
}

// A top-level window of the same program that takes the activation away.
class OtherWindow {
 public:
  OtherWindow()
      : window_(CreateWindowExW(0, L"STATIC", L"andere Anwendung", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 200, 100,
                                nullptr, nullptr, GetModuleHandleW(nullptr), nullptr)) {}
  OtherWindow(const OtherWindow&) = delete;
  OtherWindow& operator=(const OtherWindow&) = delete;
  ~OtherWindow() { DestroyWindow(window_); }
  HWND handle() const { return window_; }

 private:
  HWND window_;
};

class Win32WindowRunTest : public ::testing::Test {
 protected:
  // patience: polls a message box may stay open before the recorder clicks
  // OK (see WindowRecorder).
  void make_window(int patience = 1) {
    window = std::make_unique<MainWindow>([this](upgrade::Ui& ui) { return fake(ui); });
    window->dialogs().set_brief_display(0ms);
    recorder = std::make_unique<WindowRecorder>(*window, patience);
  }

  bool run_ends_with_window_open() {
    window->show();
    return pump_until([this] { return window->run_over(); }) && IsWindowVisible(window->handle());
  }

  void TearDown() override {
    recorder.reset();
    window.reset();
  }

  FakeRun fake{{{"DRAVOK01"}, {"DRAVOK02"}}};
  std::unique_ptr<MainWindow> window;
  std::unique_ptr<WindowRecorder> recorder;
};

TEST_F(Win32WindowRunTest, ShowsCaptionsProgressAndCompletionThenEnds) {
  make_window();
  ASSERT_TRUE(program_ends(*window));

  EXPECT_THAT(recorder->captions, ElementsAre(kTitle, "DRAVOK01/" + kTitle, "DRAVOK02/" + kTitle, kTitle));
  std::vector<int> expected = one_tenant_progress();
  const std::vector<int> second = one_tenant_progress();
  expected.insert(expected.end(), second.begin(), second.end());
  EXPECT_EQ(recorder->painted_since_start(), expected);

  ASSERT_EQ(recorder->dialogs.size(), 1u);
  const ShownDialog& done = recorder->dialogs.front();
  EXPECT_EQ(done.icon, LoadIconW(nullptr, IDI_INFORMATION));
  EXPECT_EQ(done.caption, "Informationen");
  EXPECT_EQ(done.text, kCompletion);
  EXPECT_THAT(done.buttons, ElementsAre("OK"));

  EXPECT_EQ(fake.runs(), 1);
  EXPECT_EQ(window->exit_status(), 0);
  EXPECT_TRUE(window->banner_panel().edition_banner_shown());
  EXPECT_FALSE(window->wait_cursor().waiting());
}

TEST_F(Win32WindowRunTest, TenantWithoutConnectionMovesNoProgress) {
  fake = FakeRun({{"DRAVOK01", /*connects=*/false}, {"DRAVOK02"}, {"DRAVOK03", true, 3}});
  make_window();
  ASSERT_TRUE(program_ends(*window));

  std::vector<int> expected = one_tenant_progress();
  for (int shown : {1, 8, 12, 15, 100, 0}) expected.push_back(shown);
  EXPECT_EQ(recorder->painted_since_start(), expected);
  ASSERT_EQ(recorder->dialogs.size(), 2u);
  EXPECT_EQ(recorder->dialogs[0].icon, LoadIconW(nullptr, IDI_ERROR));
  EXPECT_EQ(recorder->dialogs[0].caption, "Fehler");
  EXPECT_EQ(recorder->dialogs[0].text, "Keine Verbindung zu DRAVOK01");
}

TEST_F(Win32WindowRunTest, LaterActivationsStartNothing) {
  bool other_window_was_active = false;
  fake.after_step = [&](upgrade::Ui& ui, const std::string& tenant, int step) {
    if (tenant != "DRAVOK01") return;
    if (step == 2) {
      OtherWindow other;
      SetActiveWindow(other.handle());
      ui.process_messages();
      other_window_was_active = GetActiveWindow() == other.handle();
      SetActiveWindow(window->handle());
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

TEST_F(Win32WindowRunTest, UncaughtFailureLeavesWindowOpenWithErrorBox) {
  fake.after_step = [](upgrade::Ui&, const std::string& tenant, int step) {
    if (tenant == "DRAVOK01" && step == 5) throw std::runtime_error("Ung\xc3\xbcltiger Spaltenname 'Kn5a'");
  };
  make_window();
  ASSERT_TRUE(run_ends_with_window_open());

  ASSERT_EQ(recorder->dialogs.size(), 1u);
  const ShownDialog& box = recorder->dialogs.front();
  EXPECT_EQ(box.icon, LoadIconW(nullptr, IDI_ERROR)) << "the stop sign";
  EXPECT_EQ(box.caption, kTitle);
  EXPECT_EQ(box.text, "Ung\xc3\xbcltiger Spaltenname 'Kn5a'.");
  EXPECT_EQ(caption_of(window->handle()), "DRAVOK01/" + kTitle);
  EXPECT_EQ(window->gauge().value(), progress_percent(6));
  EXPECT_EQ(window->exit_status(), 2);
  EXPECT_FALSE(window->wait_cursor().waiting());

  // Still open: activating it again starts nothing; the user closes it.
  {
    OtherWindow other;
    SetActiveWindow(other.handle());
    pump_until([] { return true; });
  }
  SetActiveWindow(window->handle());
  pump_until([] { return true; });
  EXPECT_EQ(fake.runs(), 1);
  PostMessageW(window->handle(), WM_CLOSE, 0, 0);
  EXPECT_TRUE(pump_until([this] { return window->closed(); }));
}

TEST_F(Win32WindowRunTest, CloseButtonNeverInterruptsTheRun) {
  bool visible_after_close = false;
  fake.after_step = [&](upgrade::Ui& ui, const std::string& tenant, int step) {
    if (tenant != "DRAVOK01") return;
    if (step == 3) {
      // The click arrives while the run is busy; the next pump handles it.
      PostMessageW(window->handle(), WM_SYSCOMMAND, SC_CLOSE, 0);
      ui.process_messages();
      visible_after_close = IsWindowVisible(window->handle());
    } else if (step == 10) {
      ui.show_dialog(DialogKind::Warning, "Tabelle fehlt");
      ui.show_dialog(DialogKind::Information, "Bitte lesen", Dismissal::AlwaysWait);
    }
  };
  make_window(/*patience=*/50);
  ASSERT_TRUE(program_ends(*window));

  EXPECT_TRUE(visible_after_close);
  EXPECT_THAT(recorder->captions, Contains("DRAVOK02/" + kTitle));
  ASSERT_EQ(recorder->dialogs.size(), 3u);
  EXPECT_FALSE(recorder->dialogs[0].answered) << "an in-run dialog closes by itself";
  EXPECT_TRUE(recorder->dialogs[1].answered) << "a dialog that must be read waits for OK";
  EXPECT_EQ(recorder->dialogs[2].text, kCompletion);
  EXPECT_FALSE(recorder->dialogs[2].answered);
  EXPECT_EQ(fake.runs(), 1);
}

TEST_F(Win32WindowRunTest, CloseRequestWhileABoxIsOpenClosesIt) {
  fake.after_step = [&](upgrade::Ui& ui, const std::string& tenant, int step) {
    if (tenant != "DRAVOK01" || step != 4) return;
    // The request waits in the queue; the box's own message loop takes it.
    ui.request_close();
    ui.show_dialog(DialogKind::Warning, "Feld fehlt");
  };
  make_window(/*patience=*/50);
  ASSERT_TRUE(program_ends(*window));

  ASSERT_EQ(recorder->dialogs.size(), 2u);
  EXPECT_EQ(recorder->dialogs[0].text, "Feld fehlt");
  EXPECT_FALSE(recorder->dialogs[0].answered);
}

TEST_F(Win32WindowRunTest, RunsOwnCloseRequestIsTakenByTheNextDialog) {
  fake.after_step = [&](upgrade::Ui& ui, const std::string& tenant, int step) {
    if (tenant != "DRAVOK01") return;
    if (step == 1) ui.request_close();  // as the script runner does after a script
    if (step == 2) ui.show_dialog(DialogKind::Warning, "Index fehlt");
  };
  make_window(/*patience=*/50);
  ASSERT_TRUE(program_ends(*window));

  ASSERT_EQ(recorder->dialogs.size(), 2u);
  EXPECT_FALSE(recorder->dialogs[0].answered);
  EXPECT_THAT(recorder->captions, Contains("DRAVOK02/" + kTitle));
}

TEST_F(Win32WindowRunTest, PendingCloseEndsProgramRightAfterTheErrorBox) {
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
