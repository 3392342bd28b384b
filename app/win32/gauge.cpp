#include "gauge.h"

#include <algorithm>
#include <string>

#include "window_part.h"

namespace app::win32 {
namespace {

constexpr wchar_t kClassName[] = L"SqlupdateGauge";

void fill(HDC dc, const RECT& area, COLORREF colour) {
  SetBkColor(dc, colour);
  ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &area, nullptr, 0, nullptr);  // the cheapest solid fill GDI has
}

}  // namespace

Gauge::Gauge(HWND parent, HFONT font) : font_(font) {
  register_part_class<Gauge>(kClassName);
  window_ = CreateWindowExW(0, kClassName, L"Gauge1", WS_CHILD | WS_VISIBLE, 0, 0, 0, 0, parent, nullptr,
                            GetModuleHandleW(nullptr), this);
}

Gauge::~Gauge() {
  if (window_) DestroyWindow(window_);
}

void Gauge::set_value(int percent) {
  const int clamped = std::clamp(percent, 0, 100);
  if (clamped == value_) return;
  value_ = clamped;
  InvalidateRect(window_, nullptr, FALSE);
  UpdateWindow(window_);  // sends WM_PAINT now instead of queueing it
}

// Painted off screen and copied in one piece, so that the bar never shows
// its red background alone between two values.
void Gauge::paint(HDC target, const RECT& area) const {
  const int width = area.right - area.left;
  const int height = area.bottom - area.top;
  HDC buffer = CreateCompatibleDC(target);
  HBITMAP bitmap = CreateCompatibleBitmap(target, width, height);
  HGDIOBJ old_bitmap = SelectObject(buffer, bitmap);

  const RECT whole{0, 0, width, height};
  fill(buffer, whole, kBackground);
  const RECT filled{0, 0, width * value_ / 100, height};
  fill(buffer, filled, kFill);

  HGDIOBJ old_font = SelectObject(buffer, font_);
  SetBkMode(buffer, TRANSPARENT);
  SetTextColor(buffer, kText);
  std::wstring text = std::to_wstring(value_) + L"%";
  RECT text_area = whole;
  DrawTextW(buffer, text.c_str(), static_cast<int>(text.size()), &text_area, DT_CENTER | DT_VCENTER | DT_SINGLELINE);

  BitBlt(target, area.left, area.top, width, height, buffer, 0, 0, SRCCOPY);
  SelectObject(buffer, old_font);
  SelectObject(buffer, old_bitmap);
  DeleteObject(bitmap);
  DeleteDC(buffer);
}

LRESULT Gauge::handle_message(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_ERASEBKGND: return 1;  // the paint covers everything
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(window, &ps);
      RECT area;
      GetClientRect(window, &area);
      if (area.right > area.left && area.bottom > area.top) paint(dc, area);
      EndPaint(window, &ps);
      return 0;
    }
    case WM_NCDESTROY: window_ = nullptr; break;
    default: break;
  }
  return DefWindowProcW(window, message, wparam, lparam);
}

}  // namespace app::win32
