// The main window `Form1`: banner panel with the progress bar, a lower strip
// without controls, and the run, which starts at the window's first
// activation and at no later one.
#pragma once

#include <QWidget>

#include "app/window.h"
#include "main_window_dialog.h"
#include "wait_cursor.h"

namespace app {

class BannerPanel;
class Gauge;

class MainWindow : public QWidget {
  Q_OBJECT

 public:
  static constexpr int kClientWidth = layout::kClientWidth;
  static constexpr int kClientHeight = layout::kClientHeight;
  static constexpr int kLowerStripHeight = layout::kLowerStripHeight;

  explicit MainWindow(Run run, QWidget* parent = nullptr);
  ~MainWindow() override;

  void centre_on_screen();

  BannerPanel& banner_panel() { return *banner_panel_; }
  Gauge& gauge();
  WaitCursor& wait_cursor() { return wait_cursor_; }
  MessageDialogs& dialogs() { return dialogs_; }

  bool run_started() const { return run_started_; }
  bool running() const { return running_; }
  bool run_over() const { return run_over_; }
  // The run's exit status once it is over; 2 after an uncaught failure.
  int exit_status() const { return exit_status_; }

 protected:
  bool event(QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  void start_run();
  void execute_run();
  void report_uncaught_failure(const QString& text);

  Run run_;
  BannerPanel* banner_panel_;
  WaitCursor wait_cursor_;
  MessageDialogs dialogs_;
  bool run_started_ = false;
  bool running_ = false;
  bool run_over_ = false;
  int exit_status_ = 0;
};

}  // namespace app
