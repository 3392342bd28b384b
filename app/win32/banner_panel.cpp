#include "banner_panel.h"

#include "app/window.h"
#include "resource_ids.h"
#include "shading.h"
#include "window_part.h"

namespace app::win32 {
namespace {

constexpr wchar_t kClassName[] = L"SqlupdateBannerPanel";

}  // namespace

BannerPanel::BannerPanel(HWND parent, HFONT gauge_font)
    : plain_banner_(load_picture(SQLUPDATE_RESOURCE_PLAIN_BANNER)),
      edition_banner_(load_picture(SQLUPDATE_RESOURCE_EDITION_BANNER)) {
  register_part_class<BannerPanel>(kClassName);
  window_ = CreateWindowExW(0, kClassName, L"", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, layout::kClientWidth,
                            layout::kPanelHeight, parent, nullptr, GetModuleHandleW(nullptr), this);
  gauge_ = std::make_unique<Gauge>(window_, gauge_font);
  RECT area;
  GetClientRect(window_, &area);
  SendMessageW(window_, WM_SIZE, 0, MAKELPARAM(area.right, area.bottom));
}

BannerPanel::~BannerPanel() {
  gauge_.reset();
  if (window_) DestroyWindow(window_);
}

void BannerPanel::show_edition_banner() {
  edition_shown_ = true;
  InvalidateRect(window_, nullptr, FALSE);
}

POINT BannerPanel::shown_banner_origin() const {
  return {layout::kBannerLeft, edition_shown_ ? layout::kEditionBannerTop : layout::kPlainBannerTop};
}

void BannerPanel::paint(HDC dc, const RECT& area) const {
  shade_vertically(dc, area, RGB(0xf4, 0xf4, 0xf4), RGB(0xd6, 0xd6, 0xd6));
  const Picture& banner = shown_banner();
  if (!banner.bitmap) return;
  HDC source = CreateCompatibleDC(dc);
  HGDIOBJ old = SelectObject(source, banner.bitmap.get());
  const POINT origin = shown_banner_origin();
  BitBlt(dc, origin.x, origin.y, banner.size.cx, banner.size.cy, source, 0, 0, SRCCOPY);
  SelectObject(source, old);
  DeleteDC(source);
}

LRESULT BannerPanel::handle_message(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_ERASEBKGND: return 1;
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(window, &ps);
      RECT area;
      GetClientRect(window, &area);
      paint(dc, area);
      EndPaint(window, &ps);
      return 0;
    }
    case WM_SIZE:
      // The progress bar keeps to the bottom edge, full width, however the
      // frame is resized; the banners keep their place at the top left.
      if (gauge_)
        MoveWindow(gauge_->handle(), 0, HIWORD(lparam) - layout::kGaugeHeight, LOWORD(lparam), layout::kGaugeHeight,
                   TRUE);
      return 0;
    case WM_NCDESTROY: window_ = nullptr; break;
    default: break;
  }
  return DefWindowProcW(window, message, wparam, lparam);
}

}  // namespace app::win32
