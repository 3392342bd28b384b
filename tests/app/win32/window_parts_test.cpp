// The parts of the native main window as they appear on the screen: the
// frame and its geometry, the banners decoded from the program's resources,
// the progress bar's painting, the wait cursor and the message boxes.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "banner_panel.h"
#include "main_window_form.h"
#include "pictures.h"
#include "resource_ids.h"
#include "upgrade/texts.h"
#include "wide_text.h"
#include "window_recorder.h"

namespace window_test {
namespace {

using app::win32::MainWindow;
using ::testing::ElementsAre;
using upgrade::DialogKind;
using upgrade::Dismissal;

int never_run(upgrade::Ui&) { return 0; }

RECT client_rect(HWND window) {
  RECT area;
  GetClientRect(window, &area);
  return area;
}

RECT rect_in_parent(HWND child) {
  RECT area;
  GetWindowRect(child, &area);
  MapWindowPoints(nullptr, GetParent(child), reinterpret_cast<POINT*>(&area), 2);
  return area;
}

std::string caption_of(HWND window) {
  wchar_t text[256] = {};
  GetWindowTextW(window, text, 256);
  return app::win32::to_utf8(text);
}

// The colour of one pixel of a picture's bitmap, as 0xRRGGBB.
DWORD picture_pixel(const app::win32::Picture& picture, int x, int y) {
  BITMAP shape;
  GetObjectW(picture.bitmap.get(), sizeof shape, &shape);
  return static_cast<const DWORD*>(shape.bmBits)[y * picture.size.cx + x] & 0xFFFFFF;
}

DWORD screen_pixel(HWND window, int x, int y) {
  HDC dc = GetDC(window);
  const COLORREF colour = GetPixel(dc, x, y);
  ReleaseDC(window, dc);
  return (GetRValue(colour) << 16) | (GetGValue(colour) << 8) | GetBValue(colour);
}

TEST(Win32WindowLayout, FrameOfTheGivenClientSizeCentredWithPanelsAndBar) {
  MainWindow window(never_run);
  window.centre_on_screen();
  const RECT client = client_rect(window.handle());
  EXPECT_EQ(client.right, 510);
  EXPECT_EQ(client.bottom, 388);
  EXPECT_TRUE(GetWindowLongW(window.handle(), GWL_STYLE) & WS_THICKFRAME) << "a resizable frame";
  EXPECT_EQ(caption_of(window.handle()), app::kCreationCaption);

  MONITORINFO monitor{};
  monitor.cbSize = sizeof monitor;
  GetMonitorInfoW(MonitorFromWindow(window.handle(), MONITOR_DEFAULTTOPRIMARY), &monitor);
  RECT frame;
  GetWindowRect(window.handle(), &frame);
  EXPECT_NEAR(frame.left - monitor.rcWork.left, monitor.rcWork.right - frame.right, 1);
  EXPECT_NEAR(frame.top - monitor.rcWork.top, monitor.rcWork.bottom - frame.bottom, 1);

  const RECT panel = rect_in_parent(window.banner_panel().handle());
  EXPECT_EQ(panel.right - panel.left, 510);
  EXPECT_EQ(panel.bottom - panel.top, 344) << "the lower strip keeps 44 pixels";
  const RECT bar = rect_in_parent(window.gauge().handle());
  EXPECT_EQ(bar.left, 0);
  EXPECT_EQ(bar.right, 510);
  EXPECT_EQ(bar.top, 344 - 23);
  EXPECT_EQ(bar.bottom, 344);

  // Resized, the bar stays along the bottom edge, full width.
  SetWindowPos(window.handle(), nullptr, 0, 0, 700, 600, SWP_NOMOVE | SWP_NOZORDER);
  const RECT wider = client_rect(window.handle());
  const RECT moved = rect_in_parent(window.gauge().handle());
  EXPECT_EQ(moved.right, wider.right);
  EXPECT_EQ(moved.bottom, wider.bottom - 44);
}

TEST(Win32WindowLayout, BannersAreDecodedFromTheResourcesAndSwitched) {
  const app::win32::Picture plain = app::win32::load_picture(SQLUPDATE_RESOURCE_PLAIN_BANNER);
  const app::win32::Picture edition = app::win32::load_picture(SQLUPDATE_RESOURCE_EDITION_BANNER);
  ASSERT_TRUE(plain.bitmap && edition.bitmap) << "the imaging component decodes the embedded JPEG files";
  EXPECT_EQ(plain.size.cx, 504);
  EXPECT_EQ(plain.size.cy, 321);
  EXPECT_EQ(edition.size.cx, 504);
  EXPECT_EQ(edition.size.cy, 321);
  EXPECT_FALSE(app::win32::load_picture(999).bitmap) << "a missing resource is no picture, not a failure";

  MainWindow window(never_run);
  app::win32::BannerPanel& panel = window.banner_panel();
  EXPECT_FALSE(panel.edition_banner_shown());
  window.show();
  ASSERT_TRUE(pump_until([&] { return panel.edition_banner_shown(); })) << "switched on activation";
  UpdateWindow(panel.handle());
  // The screen shows the edition banner at (4, -1): its pixel (100, 51)
  // lies at (104, 50) of the panel.
  EXPECT_EQ(screen_pixel(panel.handle(), 104, 50), picture_pixel(edition, 100, 51));
  EXPECT_EQ(screen_pixel(panel.handle(), 404, 200), picture_pixel(edition, 400, 201));
}

TEST(Win32WindowGauge, ClampsAndPaintsNavyOnRedAtOnce) {
  MainWindow window(never_run);
  ShowWindow(window.handle(), SW_SHOWNOACTIVATE);
  UpdateWindow(window.handle());
  app::win32::Gauge& gauge = window.gauge();
  for (int value : {1, 8, 50, 99, 100, 0}) {
    gauge.set_value(value);  // no message handling in between
    EXPECT_EQ(painted_percent(gauge.handle()), value);
  }
  gauge.set_value(-5);
  EXPECT_EQ(gauge.value(), 0);
  gauge.set_value(150);
  EXPECT_EQ(gauge.value(), 100);
  EXPECT_EQ(painted_percent(gauge.handle()), 100);

  // The value's white text is centred on the bar.
  gauge.set_value(50);
  HDC dc = GetDC(gauge.handle());
  const RECT bar = client_rect(gauge.handle());
  int left = -1;
  int right = -1;
  for (int x = 0; x < bar.right; ++x)
    for (int y = 0; y < bar.bottom; ++y)
      if (GetPixel(dc, x, y) == RGB(0xff, 0xff, 0xff)) {
        if (left < 0) left = x;
        right = x;
      }
  ReleaseDC(gauge.handle(), dc);
  ASSERT_GE(left, 0) << "the value is drawn";
  EXPECT_NEAR(left + right, bar.right, 4);
  EXPECT_LT(right - left, 40) << "\"50%\" in Tahoma 8 pt";
}

TEST(Win32WindowWaitCursor, MadeFromThePictureAndAStateNotACount) {
  MainWindow window(never_run);
  app::win32::WaitCursor& cursor = window.wait_cursor();
  EXPECT_TRUE(cursor.from_picture());
  ICONINFO info{};
  ASSERT_TRUE(GetIconInfo(cursor.sql_wait_cursor(), &info));
  EXPECT_FALSE(info.fIcon);
  EXPECT_EQ(info.xHotspot, 16u);
  EXPECT_EQ(info.yHotspot, 16u);
  DeleteObject(info.hbmMask);
  DeleteObject(info.hbmColor);

  cursor.set(true);
  cursor.set(true);
  EXPECT_EQ(GetCursor(), cursor.sql_wait_cursor());
  cursor.set(false);
  EXPECT_FALSE(cursor.waiting());
  EXPECT_EQ(GetCursor(), LoadCursorW(nullptr, IDC_ARROW)) << "one reset brings back the normal cursor";
}

TEST(Win32WindowDialogs, EachKindHasItsCaptionIconAndOneOkButton) {
  MainWindow window(never_run);
  ShowWindow(window.handle(), SW_SHOWNOACTIVATE);
  WindowRecorder recorder(window);
  discard_quit_messages();
  const std::string title = upgrade::kApplicationTitle;
  struct Expected {
    DialogKind kind;
    std::string caption;
    const wchar_t* icon;  // a system icon, or none
  };
  const Expected kinds[] = {{DialogKind::Warning, "Warnung", IDI_WARNING},
                            {DialogKind::Error, "Fehler", IDI_ERROR},
                            {DialogKind::Information, "Informationen", IDI_INFORMATION},
                            {DialogKind::Plain, title, nullptr},
                            {DialogKind::ErrorBox, title, IDI_ERROR}};
  for (const Expected& expected : kinds)
    window.dialogs().show(expected.kind, L"Spalte \u00fcberpr\u00fcft", Dismissal::Normal);

  ASSERT_EQ(recorder.dialogs.size(), 5u);
  for (size_t i = 0; i < 5; ++i) {
    const ShownDialog& shown = recorder.dialogs[i];
    EXPECT_EQ(shown.caption, kinds[i].caption) << i;
    EXPECT_EQ(shown.text,
              "Spalte \xc3\xbc"
              "berpr\xc3\xbc"
              "ft")
        << i;
    EXPECT_EQ(shown.icon, kinds[i].icon ? LoadIconW(nullptr, kinds[i].icon) : nullptr) << i;
    EXPECT_THAT(shown.buttons, ElementsAre("OK")) << i;
    EXPECT_TRUE(shown.answered) << "no close request: every dialog waits";
  }
}

TEST(Win32WindowDialogs, TextsInEitherEncoding) {
  EXPECT_EQ(app::win32::to_wide("ausgef\xc3\xbchrt"), L"ausgef\u00fchrt");
  EXPECT_EQ(app::win32::to_wide("ausgef\xfchrt"), L"ausgef\u00fchrt") << "Windows-1252";
  EXPECT_EQ(app::win32::to_wide("\x80 5"), L"\u20ac 5") << "the euro sign of 1252";
  EXPECT_EQ(app::win32::to_wide(""), L"");
}

}  // namespace
}  // namespace window_test
