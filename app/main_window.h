// The window front end as main() sees it. This header is free of Qt, so that
// main() can choose its front end without knowing the toolkit; the program is
// linked with the window only where Qt is built (SQLUPDATE_HAS_WINDOW).
#pragma once

#include <functional>

#include "upgrade/ui.h"

namespace app {

// The whole upgrade run, driven through a Ui. Returns the program's exit
// status; an exception that leaves it is an uncaught failure of the run.
using Run = std::function<int(upgrade::Ui&)>;

// True when a window system can be reached: DISPLAY or WAYLAND_DISPLAY is
// set, or QT_QPA_PLATFORM names a platform explicitly (offscreen included).
bool display_available();

// Shows the main window and enters the message loop. The run starts at the
// window's first activation; the program ends when the window closes (after
// the run's close request, or by the user after an uncaught failure).
// Returns the run's exit status, 2 after an uncaught failure.
int run_window(int argc, char** argv, Run run);

}  // namespace app
