// The main window as main() sees it, and what every toolkit's window shares:
// its fixed caption and its geometry. This header is free of any toolkit, so
// that main() can choose its front end without knowing one; the program is
// linked with a window where one is built (SQLUPDATE_HAS_WINDOW): the Qt
// window on Linux, the native one on Windows.
#pragma once

#include <exception>
#include <functional>
#include <string>

#include "upgrade/ui.h"

namespace app {

// The whole upgrade run, driven through a Ui. Returns the program's exit
// status; an exception that leaves it is an uncaught failure of the run.
using Run = std::function<int(upgrade::Ui&)>;

// Runs `run` on `ui` for a window. An exception that leaves the run is an
// uncaught failure: `report` shows its text (the error box) and the status
// is 2.
inline int run_reporting_uncaught_failures(const Run& run, upgrade::Ui& ui,
                                           const std::function<void(const std::string&)>& report) {
  try {
    return run(ui);
  } catch (const std::exception& failure) {
    report(failure.what());
  } catch (...) {
    report("Unbekannter Fehler");
  }
  return 2;
}

// True when a window system can be reached. With Qt: DISPLAY or
// WAYLAND_DISPLAY is set, or QT_QPA_PLATFORM names a platform explicitly
// (offscreen included). On Windows there always is one.
bool display_available();

// Shows the main window and enters the message loop. The run starts at the
// window's first activation; the program ends when the window closes (after
// the run's close request, or by the user after an uncaught failure).
// Returns the run's exit status, 2 after an uncaught failure.
int run_window(int argc, char** argv, Run run);

// The caption from creation until the run starts.
inline constexpr char kCreationCaption[] = "Corvena verdalis - SQL Update";

// The window's geometry in pixels. The upper panel fills the client area
// above the lower strip and holds the two banners and, along its bottom
// edge, the progress bar.
namespace layout {
inline constexpr int kClientWidth = 510;
inline constexpr int kClientHeight = 388;
inline constexpr int kLowerStripHeight = 44;
inline constexpr int kPanelHeight = kClientHeight - kLowerStripHeight;  // 344
inline constexpr int kBannerLeft = 4;
inline constexpr int kBannerWidth = 504;
inline constexpr int kBannerHeight = 321;
inline constexpr int kPlainBannerTop = 0;
inline constexpr int kEditionBannerTop = -1;
inline constexpr int kGaugeHeight = 23;
}  // namespace layout

}  // namespace app
