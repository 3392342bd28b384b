#include "win32_ui.h"

#include "main_window_form.h"
#include "wide_text.h"

namespace app::win32 {

void process_pending_messages() {
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (message.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(message.wParam));
      return;
    }
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
}

// The caption repaints at once: the system draws the frame while it handles
// the new text.
void Win32Ui::set_caption(const std::string& text) { SetWindowTextW(window_.handle(), to_wide(text).c_str()); }

void Win32Ui::set_progress(int percent) { window_.gauge().set_value(percent); }

void Win32Ui::set_wait_cursor(bool waiting) { window_.wait_cursor().set(waiting); }

void Win32Ui::process_messages() { process_pending_messages(); }

void Win32Ui::show_dialog(upgrade::DialogKind kind, const std::string& text, upgrade::Dismissal dismissal) {
  window_.dialogs().show(kind, to_wide(text), dismissal);
}

// Posted like the frame's close button, so that it is taken from the queue
// at the next message handling (a pump point or a dialog), not at once.
void Win32Ui::request_close() { PostMessageW(window_.handle(), WM_CLOSE, 0, 0); }

}  // namespace app::win32
