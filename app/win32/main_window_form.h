// The main window `Form1`: banner panel with the progress bar, a lower strip
// without controls, and the run, which starts at the window's first
// activation and at no later one.
#pragma once

#include <windows.h>

#include <memory>

#include "app/window.h"
#include "banner_panel.h"
#include "message_dialogs.h"
#include "wait_cursor.h"

namespace app::win32 {

class MainWindow {
 public:
  // Creates the window, hidden, with the plain banner and the creation
  // caption. COM must be initialised on this thread (the pictures).
  explicit MainWindow(Run run);
  MainWindow(const MainWindow&) = delete;
  MainWindow& operator=(const MainWindow&) = delete;
  ~MainWindow();

  // Centres the window on the work area of the screen it is on.
  void centre_on_screen();
  // Shows and activates it; the activation starts the run.
  void show();

  HWND handle() const { return window_; }
  bool closed() const { return window_ == nullptr; }
  BannerPanel& banner_panel() { return *panel_; }
  Gauge& gauge() { return panel_->gauge(); }
  WaitCursor& wait_cursor() { return wait_cursor_; }
  MessageDialogs& dialogs() { return dialogs_; }

  bool run_started() const { return run_started_; }
  bool running() const { return running_; }
  bool run_over() const { return run_over_; }
  // The run's exit status once it is over; 2 after an uncaught failure.
  int exit_status() const { return exit_status_; }

  LRESULT handle_message(HWND window, UINT message, WPARAM wparam, LPARAM lparam);

 private:
  void start_run();
  void execute_run();
  void report_uncaught_failure(const std::string& text);
  void paint_lower_strip(HDC dc) const;
  void on_close();

  Run run_;
  HWND window_ = nullptr;
  HFONT font_ = nullptr;       // Tahoma 8 pt, the window's default font
  HFONT bold_font_ = nullptr;  // the same, bold, for the bar's value
  std::unique_ptr<BannerPanel> panel_;
  WaitCursor wait_cursor_;
  MessageDialogs dialogs_;
  bool run_started_ = false;
  bool running_ = false;
  bool run_over_ = false;
  int exit_status_ = 0;
};

}  // namespace app::win32
