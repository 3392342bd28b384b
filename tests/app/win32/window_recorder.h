// Watches the native main window from outside, the way a user would see it:
// the captions it takes, the percentages the progress bar paints (read back
// from the screen), and every message box, which it answers with OK unless
// the box closes by itself.
#pragma once

#include <windows.h>

#include <chrono>
#include <string>
#include <vector>

namespace app::win32 {
class MainWindow;
}

namespace window_test {

// Shows `window` and runs the message loop as the program does; true when
// the loop ended because the window closed, false when `limit` passed first.
bool program_ends(app::win32::MainWindow& window, std::chrono::seconds limit = std::chrono::seconds(60));

// A closed main window leaves its quit message in the thread's queue, where
// it would end the next message box at once; a test that shows boxes after
// another test's window starts by dropping it.
void discard_quit_messages();

// Handles messages until `done` holds or `limit` passes; the result of `done`.
template <typename Condition>
bool pump_until(Condition done, std::chrono::milliseconds limit = std::chrono::milliseconds(20000));

// The percentage the bar shows on the screen, from the navy share of a pixel
// row above its text; -1 when the row is no bar of navy on red.
int painted_percent(HWND gauge);

struct ShownDialog {
  std::string caption;  // UTF-8
  std::string text;
  HICON icon = nullptr;  // null: no icon shown
  std::vector<std::string> buttons;
  bool answered = false;  // false: it closed by itself before OK was clicked
};

class WindowRecorder {
 public:
  // A box still open after `patience` polls (10 ms apart) gets its OK
  // clicked. Patience 1 answers at once; a large one leaves time for a box
  // that is meant to close by itself. One recorder at a time.
  explicit WindowRecorder(app::win32::MainWindow& window, int patience = 1);
  WindowRecorder(const WindowRecorder&) = delete;
  WindowRecorder& operator=(const WindowRecorder&) = delete;
  ~WindowRecorder();

  std::vector<std::string> captions;  // each caption set after creation
  std::vector<int> painted_progress;  // each change of the painted value
  // The same without the bar's first paint at 0.
  std::vector<int> painted_since_start() const;
  std::vector<ShownDialog> dialogs;

 private:
  static LRESULT CALLBACK watch_window(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
  static LRESULT CALLBACK watch_gauge(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
  static LRESULT CALLBACK watch_activation(int code, WPARAM wparam, LPARAM lparam);
  static void CALLBACK poll(HWND, UINT, UINT_PTR, DWORD);

  HWND window_;
  HWND gauge_;
  WNDPROC window_procedure_;
  WNDPROC gauge_procedure_;
  HHOOK hook_;
  UINT_PTR timer_;
  int patience_;
  HWND open_box_ = nullptr;
  int polls_open_ = 0;
};

template <typename Condition>
bool pump_until(Condition done, std::chrono::milliseconds limit) {
  const auto deadline = std::chrono::steady_clock::now() + limit;
  while (!done()) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
  }
  return true;
}

}  // namespace window_test
