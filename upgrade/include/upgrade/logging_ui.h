// A user interface that notes every caption, progress value, dialog and
// close request in the run's log before passing it on to the real one (the
// window or the console), which shows it unchanged.
#pragma once

#include "upgrade/run_log.h"
#include "upgrade/ui.h"

namespace upgrade {

// "warning", "error", "information", "plain", "error box".
const char* to_string(DialogKind kind);

class LoggingUi final : public Ui {
 public:
  LoggingUi(Ui& shown, RunLog& log) : shown_(shown), log_(log) {}

  void set_caption(const std::string& text) override;
  void set_progress(int percent) override;
  void set_wait_cursor(bool waiting) override { shown_.set_wait_cursor(waiting); }
  void process_messages() override { shown_.process_messages(); }
  // Noted before it is shown: a modal dialog may wait for the user.
  void show_dialog(DialogKind kind, const std::string& text, Dismissal dismissal) override;
  void request_close() override;

 private:
  Ui& shown_;
  RunLog& log_;
};

}  // namespace upgrade
