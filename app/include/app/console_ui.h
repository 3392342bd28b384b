// The console front end's user interface: the caption when it changes, a
// progress bar redrawn in place on a terminal (one line per change of the
// percentage otherwise), and every dialog as its kind and text. It never
// waits for the user.
#pragma once

#include <ostream>
#include <string>

#include "upgrade/ui.h"

namespace app {

class ConsoleUi final : public upgrade::Ui {
 public:
  ConsoleUi(std::ostream& out, bool terminal) : out_(out), terminal_(terminal) {}
  ~ConsoleUi() override;

  void set_caption(const std::string& text) override;
  void set_progress(int percent) override;
  void set_wait_cursor(bool) override {}
  void process_messages() override { out_.flush(); }
  void show_dialog(upgrade::DialogKind kind, const std::string& text, upgrade::Dismissal dismissal) override;
  void request_close() override {}

  // A line of the front end's own (the summary, the status view), below a
  // progress bar drawn in place.
  void write_line(const std::string& text);

  static const char* label(upgrade::DialogKind kind);

 private:
  // Ends a progress bar drawn in place before another line is written.
  void end_bar();

  std::ostream& out_;
  bool terminal_;
  std::string caption_;
  int percent_ = -1;
  bool bar_open_ = false;
};

}  // namespace app
