// The Ui of the run on the native Windows main window.
#pragma once

#include "upgrade/ui.h"

namespace app::win32 {

class MainWindow;

class Win32Ui final : public upgrade::Ui {
 public:
  explicit Win32Ui(MainWindow& window) : window_(window) {}

  void set_caption(const std::string& text) override;
  void set_progress(int percent) override;
  void set_wait_cursor(bool waiting) override;
  void process_messages() override;
  void show_dialog(upgrade::DialogKind kind, const std::string& text, upgrade::Dismissal dismissal) override;
  void request_close() override;

 private:
  MainWindow& window_;
};

// Handles every message now waiting in this thread's queue, then returns. A
// quit message is put back for the message loop it belongs to.
void process_pending_messages();

}  // namespace app::win32
