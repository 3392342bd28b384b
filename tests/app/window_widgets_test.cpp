// The pieces of the main window: layout and pictures, the progress bar, the
// wait cursor, the dialog kinds and the texts they show.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <QApplication>
#include <QFrame>
#include <QLabel>
#include <QTest>
#include <cstdlib>

#include "app/window.h"
#include "banner_panel.h"
#include "main_window_form.h"
#include "main_window_gauge.h"
#include "qt_ui.h"
#include "upgrade/run_driver.h"
#include "window_recorder.h"

namespace window_test {
namespace {

using namespace std::chrono_literals;
using ::testing::ElementsAre;
using upgrade::DialogKind;

TEST(WindowLayout, PanelsBannersAndBarAtTheirPlaces) {
  app::MainWindow window([](upgrade::Ui&) { return 0; });
  const auto* plain = window.findChild<QLabel*>("plain_banner");
  const auto* edition = window.findChild<QLabel*>("edition_banner");
  ASSERT_TRUE(plain && edition);
  EXPECT_EQ(window.windowTitle(), "Corvena verdalis - SQL Update");
  EXPECT_FALSE(plain->isHidden());
  EXPECT_TRUE(edition->isHidden());

  window.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
  EXPECT_EQ(window.size(), QSize(510, 388));
  EXPECT_NE(window.minimumSize(), window.maximumSize()) << "the frame is resizable";
  EXPECT_EQ(window.banner_panel().geometry(), QRect(0, 0, 510, 344));
  EXPECT_EQ(window.gauge().geometry(), QRect(0, 321, 510, 23));
  EXPECT_EQ(window.findChild<QFrame*>("lower_strip")->geometry(), QRect(0, 344, 510, 44));
  EXPECT_EQ(plain->geometry(), QRect(4, 0, 504, 321));
  EXPECT_EQ(edition->geometry(), QRect(4, -1, 504, 321));
  EXPECT_EQ(plain->pixmap().size(), QSize(504, 321)) << "banner resources linked in";
  EXPECT_EQ(edition->pixmap().size(), QSize(504, 321));

  // A larger frame keeps the bar along the bottom edge, full width.
  window.resize(700, 500);
  QTest::qWait(0);
  EXPECT_EQ(window.gauge().geometry(), QRect(0, 500 - 44 - 23, 700, 23));
}

TEST(WindowGauge, ClampsAndPaintsNavyOnRed) {
  app::Gauge gauge;
  gauge.resize(200, 23);
  gauge.set_value(-5);
  EXPECT_EQ(gauge.value(), 0);
  gauge.set_value(250);
  EXPECT_EQ(gauge.value(), 100);
  gauge.set_value(50);
  EXPECT_EQ(gauge.value(), 50);

  const QImage painted = gauge.grab().toImage();
  EXPECT_EQ(painted.pixelColor(3, 3), QColor(0x00, 0x00, 0x80));
  EXPECT_EQ(painted.pixelColor(196, 3), QColor(0xff, 0x00, 0x00));
}

TEST(WindowWaitCursor, IsAStateNotACount) {
  app::WaitCursor cursor;
  cursor.set(true);
  ASSERT_NE(QGuiApplication::overrideCursor(), nullptr);
  EXPECT_EQ(QGuiApplication::overrideCursor()->pixmap().size(), QSize(32, 32))
      << "our own SQL wait picture, not the stock cursor";
  cursor.set(true);  // a primitive inside the frame sets it again
  cursor.set(false);
  EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
  EXPECT_FALSE(cursor.waiting());
}

TEST(WindowDialogs, EachKindHasItsCaptionIconAndOneOkButton) {
  app::MainWindow window([](upgrade::Ui&) { return 0; });
  WindowRecorder recorder(window);
  app::QtUi qt_ui(window);
  upgrade::Ui& ui = qt_ui;  // as the run sees it
  ui.show_dialog(DialogKind::Warning, "w");
  ui.show_dialog(DialogKind::Error, "e");
  ui.show_dialog(DialogKind::Information, "i");
  ui.show_dialog(DialogKind::Plain, "p");
  ui.show_dialog(DialogKind::ErrorBox, "x");

  const QString title = "Corvena verdalis tessaro - SQL Update";
  ASSERT_EQ(recorder.dialogs.size(), 5u);
  const std::pair<QMessageBox::Icon, QString> expected[] = {{QMessageBox::Warning, "Warnung"},
                                                            {QMessageBox::Critical, "Fehler"},
                                                            {QMessageBox::Information, "Informationen"},
                                                            {QMessageBox::NoIcon, title},
                                                            {QMessageBox::Critical, title}};
  for (size_t i = 0; i < 5; ++i) {
    EXPECT_EQ(recorder.dialogs[i].icon, expected[i].first) << i;
    EXPECT_EQ(recorder.dialogs[i].caption, expected[i].second) << i;
    EXPECT_THAT(recorder.dialogs[i].buttons, ElementsAre("OK")) << i;
    EXPECT_TRUE(recorder.dialogs[i].answered) << "no close request: every dialog waits";
  }
}

TEST(WindowTexts, ServerTextsInEitherEncodingAndTheFullStopRule) {
  EXPECT_EQ(app::to_qstring("ausgef\xc3\xbchrt"), QString::fromUtf8("ausgef\xc3\xbchrt"));
  EXPECT_EQ(app::to_qstring("ausgef\xfchrt"), QString::fromUtf8("ausgef\xc3\xbchrt")) << "Windows-1252";
  EXPECT_EQ(app::to_qstring("\x80 5"), QString::fromUtf8("\xe2\x82\xac 5")) << "the euro sign of 1252";

  EXPECT_EQ(upgrade::with_full_stop("Login failed"), "Login failed.");
  EXPECT_EQ(upgrade::with_full_stop("Login failed."), "Login failed.");
  EXPECT_EQ(upgrade::with_full_stop("Syntax near '.'"), "Syntax near '.'.");
}

TEST(WindowFrontEnd, DisplayFromAnyOfThreeVariables) {
  const char* saved = std::getenv("QT_QPA_PLATFORM");
  const std::string platform = saved ? saved : "";
  for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) unsetenv(name);
  EXPECT_FALSE(app::display_available());
  setenv("DISPLAY", "", 1);
  EXPECT_FALSE(app::display_available()) << "empty counts as unset";
  setenv("WAYLAND_DISPLAY", "wayland-0", 1);
  EXPECT_TRUE(app::display_available());
  unsetenv("WAYLAND_DISPLAY");
  setenv("QT_QPA_PLATFORM", "offscreen", 1);
  EXPECT_TRUE(app::display_available());
  unsetenv("DISPLAY");
  if (saved)
    setenv("QT_QPA_PLATFORM", platform.c_str(), 1);
  else
    unsetenv("QT_QPA_PLATFORM");
}

}  // namespace
}  // namespace window_test
