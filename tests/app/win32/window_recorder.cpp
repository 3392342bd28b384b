#include "window_recorder.h"

#include "main_window_form.h"
#include "wide_text.h"

namespace window_test {
namespace {

using app::win32::to_utf8;

thread_local WindowRecorder* t_recorder = nullptr;

std::string window_text(HWND window) {
  std::wstring text(static_cast<size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
  text.resize(static_cast<size_t>(GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
  return to_utf8(text);
}

std::wstring class_name(HWND window) {
  wchar_t name[64] = {};
  GetClassNameW(window, name, 64);
  return name;
}

bool has_style(HWND window, LONG style) { return (GetWindowLongW(window, GWL_STYLE) & style) == style; }

// The message box as the user sees it: its caption, its text (the static
// control every message box gives the id 0xFFFF), its icon and its buttons.
ShownDialog read_box(HWND box) {
  ShownDialog shown;
  shown.caption = window_text(box);
  shown.text = window_text(GetDlgItem(box, 0xFFFF));
  for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    if (!has_style(child, WS_VISIBLE)) continue;
    const std::wstring kind = class_name(child);
    if (kind == L"Button") shown.buttons.push_back(window_text(child));
    if (kind == L"Static" && (GetWindowLongW(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON)
      shown.icon = reinterpret_cast<HICON>(SendMessageW(child, STM_GETICON, 0, 0));
  }
  return shown;
}

}  // namespace

void discard_quit_messages() {
  MSG stale;
  while (PeekMessageW(&stale, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
  }
}

bool program_ends(app::win32::MainWindow& window, std::chrono::seconds limit) {
  discard_quit_messages();
  window.show();
  bool quit = false;
  const auto deadline = std::chrono::steady_clock::now() + limit;
  while (!quit && std::chrono::steady_clock::now() < deadline) {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
      if (message.message == WM_QUIT) {
        quit = true;
        break;
      }
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
    if (!quit) MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
  }
  return quit && window.closed();
}

int painted_percent(HWND gauge) {
  RECT area;
  GetClientRect(gauge, &area);
  const int width = area.right;
  if (width <= 0) return -1;
  HDC screen = GetDC(gauge);
  HDC row = CreateCompatibleDC(screen);
  BITMAPINFO info{};
  info.bmiHeader = {sizeof info.bmiHeader, width, -1, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(row, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(row, bitmap);
  BitBlt(row, 0, 0, width, 1, screen, 0, 2, SRCCOPY);  // row 2: above the centred text
  int navy = 0;
  bool bar = true;
  const auto* pixels = static_cast<const DWORD*>(bits);
  for (int x = 0; x < width; ++x) {
    const DWORD rgb = pixels[x] & 0xFFFFFF;  // 0xRRGGBB in a 32-bit DIB
    if (rgb == 0x000080 && navy == x)
      ++navy;
    else if (rgb != 0xFF0000)
      bar = false;
  }
  SelectObject(row, old);
  DeleteObject(bitmap);
  DeleteDC(row);
  ReleaseDC(gauge, screen);
  if (!bar) return -1;
  for (int percent = 0; percent <= 100; ++percent)
    if (width * percent / 100 == navy) return percent;
  return -1;
}

WindowRecorder::WindowRecorder(app::win32::MainWindow& window, int patience)
    : window_(window.handle()), gauge_(window.gauge().handle()), patience_(patience) {
  t_recorder = this;
  window_procedure_ = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrW(window_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&WindowRecorder::watch_window)));
  gauge_procedure_ = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrW(gauge_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&WindowRecorder::watch_gauge)));
  hook_ = SetWindowsHookExW(WH_CBT, &WindowRecorder::watch_activation, nullptr, GetCurrentThreadId());
  timer_ = SetTimer(nullptr, 0, 10, &WindowRecorder::poll);
}

WindowRecorder::~WindowRecorder() {
  KillTimer(nullptr, timer_);
  UnhookWindowsHookEx(hook_);
  if (IsWindow(gauge_)) SetWindowLongPtrW(gauge_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(gauge_procedure_));
  if (IsWindow(window_)) SetWindowLongPtrW(window_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(window_procedure_));
  t_recorder = nullptr;
}

std::vector<int> WindowRecorder::painted_since_start() const {
  std::vector<int> shown = painted_progress;
  if (!shown.empty() && shown.front() == 0) shown.erase(shown.begin());
  return shown;
}

LRESULT CALLBACK WindowRecorder::watch_window(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  WindowRecorder* self = t_recorder;
  if (message == WM_SETTEXT && self) self->captions.push_back(to_utf8(reinterpret_cast<const wchar_t*>(lparam)));
  return CallWindowProcW(self ? self->window_procedure_ : DefWindowProcW, window, message, wparam, lparam);
}

LRESULT CALLBACK WindowRecorder::watch_gauge(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  WindowRecorder* self = t_recorder;
  const LRESULT result =
      CallWindowProcW(self ? self->gauge_procedure_ : DefWindowProcW, window, message, wparam, lparam);
  if (message == WM_PAINT && self) {
    const int shown = painted_percent(window);
    if (self->painted_progress.empty() || self->painted_progress.back() != shown)
      self->painted_progress.push_back(shown);
  }
  return result;
}

// A message box is read when the system activates it: its texts are set
// by then, and it may close by itself before the next poll.
LRESULT CALLBACK WindowRecorder::watch_activation(int code, WPARAM wparam, LPARAM lparam) {
  WindowRecorder* self = t_recorder;
  const auto box = reinterpret_cast<HWND>(wparam);
  if (code == HCBT_ACTIVATE && self && box != self->open_box_ && class_name(box) == L"#32770") {
    self->dialogs.push_back(read_box(box));
    self->open_box_ = box;
    self->polls_open_ = 0;
  }
  return CallNextHookEx(nullptr, code, wparam, lparam);
}

void CALLBACK WindowRecorder::poll(HWND, UINT, UINT_PTR, DWORD) {
  WindowRecorder* self = t_recorder;
  if (!self || !self->open_box_) return;
  if (!IsWindow(self->open_box_)) {
    self->open_box_ = nullptr;
    return;
  }
  if (++self->polls_open_ < self->patience_ || self->dialogs.back().answered) return;
  self->dialogs.back().answered = true;
  PostMessageW(self->open_box_, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
}

}  // namespace window_test
