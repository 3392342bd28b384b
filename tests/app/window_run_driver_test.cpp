// The window with the program's own run driver, on a scripted server: what
// the user sees from the first activation to the end of the program.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <QApplication>
#include <QTest>
#include <QTimer>
#include <memory>

#include "db/connections.h"
#include "db/tenant_discovery.h"
#include "main_window_form.h"
#include "support/fake_connection.h"
#include "upgrade/run_driver.h"
#include "upgrade/texts.h"
#include "window_recorder.h"

namespace window_test {
namespace {

using namespace std::chrono_literals;
using ::testing::ElementsAre;
using testing_support::FakeServer;

const QString kTitle = QString::fromUtf8(upgrade::kApplicationTitle);

class WindowRunDriverTest : public ::testing::Test {
 protected:
  void SetUp() override {
    window = std::make_unique<app::MainWindow>([this](upgrade::Ui& ui) {
      upgrade::RunDriver driver(ui, factory, "/nonexistent/SysDBAdo.INI");
      return driver.run().exit_code();
    });
    window->dialogs().set_brief_display(0ms);
    recorder = std::make_unique<WindowRecorder>(*window, /*patience=*/50);
  }

  // The tenants of the main loop and those of the finishing pass.
  void tenants(std::vector<std::vector<std::string>> upgraded, std::vector<std::vector<std::string>> finished) {
    server.results[db::kTenantListQuery] = FakeServer::rows({"name"}, std::move(upgraded));
    server.results[db::kAllTenantsQuery] = FakeServer::rows({"name"}, std::move(finished));
  }

  FakeServer server;
  testing_support::FakeFactory factory{server};
  std::unique_ptr<app::MainWindow> window;
  std::unique_ptr<WindowRecorder> recorder;
};

TEST_F(WindowRunDriverTest, TwoTenantsThenCompletionThenTheProgramEnds) {
  tenants({{"DRAVOK01"}, {"DRAVOK02"}}, {{"DRAVOK01"}, {"DRAVOK02"}, {"dravokTMP01"}});
  ASSERT_TRUE(program_ends(*window));

  EXPECT_EQ(recorder->captions.front(), kTitle);
  EXPECT_THAT(recorder->captions, ::testing::Contains("DRAVOK01/" + kTitle));
  EXPECT_THAT(recorder->captions, ::testing::Contains("DRAVOK02/" + kTitle));
  EXPECT_THAT(recorder->captions, ::testing::Contains(QString::fromUtf8(upgrade::kFinishingCaption) + "dravokTMP01"));
  EXPECT_EQ(recorder->captions.back(), kTitle);
  ASSERT_EQ(recorder->dialogs.size(), 1u);
  EXPECT_EQ(recorder->dialogs[0].caption, "Informationen");
  EXPECT_EQ(recorder->dialogs[0].text, QString::fromUtf8(upgrade::kCompletionMessage));
  EXPECT_EQ(window->exit_status(), 0);
}

TEST_F(WindowRunDriverTest, FailedDiscoveryLeavesTheWindowOpenWithTheErrorBox) {
  server.open_errors["Dravok"] = "Provider cannot be found";
  window->show();
  window->activateWindow();
  ASSERT_TRUE(QTest::qWaitFor([this] { return window->run_over(); }, 60000));

  EXPECT_TRUE(window->isVisible());
  ASSERT_FALSE(recorder->dialogs.empty());
  const ShownDialog& box = recorder->dialogs.back();
  EXPECT_EQ(box.icon, QMessageBox::Critical);
  EXPECT_EQ(box.caption, kTitle);
  EXPECT_EQ(box.text, "Provider cannot be found.");
  EXPECT_EQ(window->exit_status(), 2);
  window->close();
}

TEST_F(WindowRunDriverTest, CompletionListingFailuresWaitsForOkAfterTheCloseButton) {
  tenants({{"DRAVOK01"}, {"DRAVOK02"}}, {{"DRAVOK02"}});
  server.open_errors["DRAVOK01"] = "Cannot open database";
  // The user clicks the frame's close button while the first dialog is up.
  recorder->on_shown = [this](const ShownDialog&) {
    QMetaObject::invokeMethod(
        window.get(), [w = window.get()] { w->close(); }, Qt::QueuedConnection);
  };
  ASSERT_TRUE(program_ends(*window));

  ASSERT_GE(recorder->dialogs.size(), 2u);
  EXPECT_EQ(recorder->dialogs.front().caption, "Fehler");
  EXPECT_FALSE(recorder->dialogs.front().answered) << "closes by itself once the close is taken";
  const ShownDialog& completion = recorder->dialogs.back();
  EXPECT_EQ(completion.caption, "Informationen");
  EXPECT_TRUE(completion.answered) << "the list of failures waits for OK";
  EXPECT_THAT(completion.text.toStdString(), ::testing::HasSubstr("Cannot open database"));
  EXPECT_EQ(window->exit_status(), 1);
}

}  // namespace
}  // namespace window_test
