// The upper panel of the main window: the plain banner, the edition banner
// (hidden until the run starts) and the progress bar along its bottom edge.
#pragma once

#include <windows.h>

#include <memory>

#include "gauge.h"
#include "pictures.h"

namespace app::win32 {

class BannerPanel {
 public:
  // A child of `parent`; `gauge_font` (not owned) draws the bar's value.
  BannerPanel(HWND parent, HFONT gauge_font);
  BannerPanel(const BannerPanel&) = delete;
  BannerPanel& operator=(const BannerPanel&) = delete;
  ~BannerPanel();

  HWND handle() const { return window_; }
  Gauge& gauge() { return *gauge_; }

  // Hides the plain banner and shows the edition banner in its place.
  void show_edition_banner();
  bool edition_banner_shown() const { return edition_shown_; }

  // The banner now shown, and where; tests compare it with the screen.
  const Picture& shown_banner() const { return edition_shown_ ? edition_banner_ : plain_banner_; }
  POINT shown_banner_origin() const;

  LRESULT handle_message(HWND window, UINT message, WPARAM wparam, LPARAM lparam);

 private:
  void paint(HDC dc, const RECT& area) const;

  HWND window_ = nullptr;
  Picture plain_banner_;
  Picture edition_banner_;
  bool edition_shown_ = false;
  std::unique_ptr<Gauge> gauge_;  // a child window of the panel
};

}  // namespace app::win32
