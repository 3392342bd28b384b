// The Ui of the run on the Qt main window.
#pragma once

#include <QString>
#include <string>

#include "upgrade/ui.h"

namespace app {

class MainWindow;

// Texts reach the window as UTF-8; a text that is not valid UTF-8 (a server
// message in the 8-bit Windows code page) is read as Windows-1252.
QString to_qstring(const std::string& text);

class QtUi final : public upgrade::Ui {
 public:
  explicit QtUi(MainWindow& window) : window_(window) {}

  void set_caption(const std::string& text) override;
  void set_progress(int percent) override;
  void set_wait_cursor(bool waiting) override;
  void process_messages() override;
  void show_dialog(upgrade::DialogKind kind, const std::string& text, upgrade::Dismissal dismissal) override;
  void request_close() override;

 private:
  MainWindow& window_;
};

}  // namespace app
