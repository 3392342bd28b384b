// The progress bar `Gauge1`: a percentage from 0 to 100, navy fill on red,
// the value and a per cent sign centred on it. The common progress control
// draws neither the colours nor the text, so the bar paints itself.
#pragma once

#include <windows.h>

namespace app::win32 {

class Gauge {
 public:
  static constexpr COLORREF kFill = RGB(0x00, 0x00, 0x80);        // navy
  static constexpr COLORREF kBackground = RGB(0xff, 0x00, 0x00);  // red
  static constexpr COLORREF kText = RGB(0xff, 0xff, 0xff);

  // A child of `parent`; `font` (not owned) draws the value.
  Gauge(HWND parent, HFONT font);
  Gauge(const Gauge&) = delete;
  Gauge& operator=(const Gauge&) = delete;
  ~Gauge();

  HWND handle() const { return window_; }
  int value() const { return value_; }

  // Stores the value clamped to 0..100. When the shown percentage changes the
  // bar is painted at once, without waiting for the message loop: the run
  // does not pump messages between its progress steps.
  void set_value(int percent);

  LRESULT handle_message(HWND window, UINT message, WPARAM wparam, LPARAM lparam);

 private:
  void paint(HDC target, const RECT& area) const;

  HWND window_ = nullptr;
  HFONT font_;
  int value_ = 0;
};

}  // namespace app::win32
