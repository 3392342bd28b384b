#include <objbase.h>
#include <windows.h>

#include "app/window.h"
#include "main_window_form.h"

namespace app {

// Windows always has a desktop to show the window on.
bool display_available() { return true; }

int run_window(int, char**, Run run) {
  // Apartment-threaded, as the shell and the imaging component expect.
  const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  int status = 0;
  {
    win32::MainWindow window(std::move(run));
    window.centre_on_screen();
    window.show();
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
    status = window.exit_status();
  }
  if (SUCCEEDED(com)) CoUninitialize();
  return status;
}

}  // namespace app
