#include "app/window.h"

#include <QApplication>
#include <QFont>
#include <cstdlib>

#include "main_window_form.h"

namespace app {
namespace {

bool environment_set(const char* name) {
  const char* value = std::getenv(name);
  return value && *value;
}

// Tahoma 8 pt; where it is not installed, font matching picks the closest
// sans-serif face of that size.
QFont default_font() {
  QFont font(QStringLiteral("Tahoma"), 8);
  font.setStyleHint(QFont::SansSerif);
  return font;
}

}  // namespace

bool display_available() {
  return environment_set("DISPLAY") || environment_set("WAYLAND_DISPLAY") || environment_set("QT_QPA_PLATFORM");
}

int run_window(int argc, char** argv, Run run) {
  QApplication application(argc, argv);
  QApplication::setApplicationName(QStringLiteral("sqlupdate"));
  QApplication::setFont(default_font());

  MainWindow window(std::move(run));
  window.centre_on_screen();
  window.show();
  window.raise();
  window.activateWindow();
  QApplication::exec();
  return window.exit_status();
}

}  // namespace app

// The test build runs with LeakSanitizer. On X11 the toolkit's D-Bus and
// font-configuration libraries keep allocations until the process ends, which
// LeakSanitizer reports as leaks; they are not ours, and the report of the
// suppressions used is left out too. (The hooks are read only when the
// sanitizer is linked in.)
extern "C" const char* __lsan_default_options() { return "print_suppressions=0"; }

extern "C" const char* __lsan_default_suppressions() {
  return "leak:libdbus-1.so\n"
         "leak:libfontconfig.so\n";
}
