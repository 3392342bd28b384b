#include "main_window_form.h"

#include "shading.h"
#include "upgrade/run_driver.h"
#include "upgrade/texts.h"
#include "wide_text.h"
#include "win32_ui.h"
#include "window_part.h"

namespace app::win32 {
namespace {

constexpr wchar_t kClassName[] = L"TForm1";
constexpr DWORD kStyle = WS_OVERLAPPEDWINDOW;  // a resizable frame
// Posted at the first activation: the run starts once the activation has
// been handled completely, not inside it.
constexpr UINT kStartRunMessage = WM_APP + 1;

// Tahoma 8 pt at the screen's resolution; where Tahoma is missing, font
// matching picks the closest sans-serif face of that size.
HFONT tahoma_8pt(int weight) {
  HDC screen = GetDC(nullptr);
  const int height = -MulDiv(8, GetDeviceCaps(screen, LOGPIXELSY), 72);
  ReleaseDC(nullptr, screen);
  return CreateFontW(height, 0, 0, 0, weight, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                     CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, VARIABLE_PITCH | FF_SWISS, L"Tahoma");
}

SIZE frame_size_for_client_area() {
  RECT area{0, 0, layout::kClientWidth, layout::kClientHeight};
  AdjustWindowRectEx(&area, kStyle, FALSE, 0);
  return {area.right - area.left, area.bottom - area.top};
}

}  // namespace

MainWindow::MainWindow(Run run) : run_(std::move(run)), font_(tahoma_8pt(FW_NORMAL)), bold_font_(tahoma_8pt(FW_BOLD)) {
  register_part_class<MainWindow>(kClassName);
  const SIZE frame = frame_size_for_client_area();
  window_ = CreateWindowExW(0, kClassName, to_wide(kCreationCaption).c_str(), kStyle | WS_CLIPCHILDREN, CW_USEDEFAULT,
                            CW_USEDEFAULT, frame.cx, frame.cy, nullptr, nullptr, GetModuleHandleW(nullptr), this);
  SendMessageW(window_, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
  panel_ = std::make_unique<BannerPanel>(window_, bold_font_);
  dialogs_.set_owner(window_);
  RECT area;
  GetClientRect(window_, &area);
  SendMessageW(window_, WM_SIZE, 0, MAKELPARAM(area.right, area.bottom));
}

MainWindow::~MainWindow() {
  panel_.reset();
  if (window_) DestroyWindow(window_);
  DeleteObject(bold_font_);
  DeleteObject(font_);
}

void MainWindow::centre_on_screen() {
  MONITORINFO monitor{};
  monitor.cbSize = sizeof monitor;
  if (!GetMonitorInfoW(MonitorFromWindow(window_, MONITOR_DEFAULTTOPRIMARY), &monitor)) return;
  RECT frame;
  GetWindowRect(window_, &frame);
  const RECT& work = monitor.rcWork;
  const int width = frame.right - frame.left;
  const int height = frame.bottom - frame.top;
  SetWindowPos(window_, nullptr, work.left + (work.right - work.left - width) / 2,
               work.top + (work.bottom - work.top - height) / 2, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void MainWindow::show() {
  ShowWindow(window_, SW_SHOWNORMAL);
  SetForegroundWindow(window_);
  SetActiveWindow(window_);
  UpdateWindow(window_);
}

void MainWindow::start_run() {
  run_started_ = true;
  panel_->show_edition_banner();
  SetWindowTextW(window_, to_wide(upgrade::kApplicationTitle).c_str());
  PostMessageW(window_, kStartRunMessage, 0, 0);
}

void MainWindow::execute_run() {
  running_ = true;
  {
    Win32Ui ui(*this);
    exit_status_ =
        run_reporting_uncaught_failures(run_, ui, [this](const std::string& text) { report_uncaught_failure(text); });
  }
  running_ = false;
  run_over_ = true;
  // Nothing works any more: the user must not see a busy cursor on a window
  // that waits to be closed.
  wait_cursor_.set(false);
  if (dialogs_.close_pending()) DestroyWindow(window_);
}

// The caption and the progress bar keep what the run last showed.
void MainWindow::report_uncaught_failure(const std::string& text) {
  dialogs_.show(upgrade::DialogKind::ErrorBox, to_wide(upgrade::with_full_stop(text)), upgrade::Dismissal::AlwaysWait);
}

// A close request, from the frame's button or from the run itself, never
// interrupts the run: it is remembered and carried out when the run is over.
void MainWindow::on_close() {
  if (running_)
    dialogs_.close_requested();
  else
    DestroyWindow(window_);
}

void MainWindow::paint_lower_strip(HDC dc) const {
  RECT area;
  GetClientRect(window_, &area);
  area.top = area.bottom - layout::kLowerStripHeight;
  shade_vertically(dc, area, RGB(0xec, 0xec, 0xec), RGB(0xcd, 0xcd, 0xcd));
  RECT border{area.left, area.top, area.right, area.top + 1};
  SetBkColor(dc, RGB(0xa8, 0xa8, 0xa8));
  ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &border, nullptr, 0, nullptr);
}

LRESULT MainWindow::handle_message(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_ACTIVATE:
      // Dialogs of the run and other applications hand the activation back
      // to the window many times; only the first one starts the run.
      if (LOWORD(wparam) != WA_INACTIVE && !run_started_) start_run();
      break;
    case kStartRunMessage: execute_run(); return 0;
    case WM_CLOSE: on_close(); return 0;
    case WM_SETCURSOR:
      if (!wait_cursor_.waiting()) break;
      SetCursor(wait_cursor_.current());
      return TRUE;
    case WM_SIZE:
      if (panel_) MoveWindow(panel_->handle(), 0, 0, LOWORD(lparam), HIWORD(lparam) - layout::kLowerStripHeight, TRUE);
      return 0;
    case WM_ERASEBKGND: return 1;
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(window, &ps);
      paint_lower_strip(dc);
      EndPaint(window, &ps);
      return 0;
    }
    case WM_DESTROY: PostQuitMessage(exit_status_); return 0;
    case WM_NCDESTROY: window_ = nullptr; break;
    default: break;
  }
  return DefWindowProcW(window, message, wparam, lparam);
}

}  // namespace app::win32
