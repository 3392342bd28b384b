// The user interface as the run sees it. The run driver and every stage talk
// to the user only through this interface; the Qt window, the console front
// end and the recording test double implement it.
#pragma once

#include <string>

#include "upgrade/texts.h"

namespace upgrade {

enum class DialogKind {
  Warning,      // caption "Warnung", warning icon
  Error,        // caption "Fehler", error icon
  Information,  // caption "Informationen", information icon
  Plain,        // caption = application title, no icon
  ErrorBox,     // caption = application title, stop icon; uncaught failures
};

// The caption a message dialog of `kind` carries in a window.
inline const char* caption_of(DialogKind kind) {
  switch (kind) {
    case DialogKind::Warning: return "Warnung";
    case DialogKind::Error: return "Fehler";
    case DialogKind::Information: return "Informationen";
    case DialogKind::Plain:
    case DialogKind::ErrorBox: break;
  }
  return kApplicationTitle;
}

// How a dialog may end while a close request of the window is pending.
enum class Dismissal {
  Normal,      // closes by itself right after being shown
  AlwaysWait,  // waits for OK in every case (the completion report of failures)
};

class Ui {
 public:
  virtual ~Ui() = default;

  // The window caption; shown at once.
  virtual void set_caption(const std::string& text) = 0;

  // The progress bar; values below 0 show as 0, above 100 as 100. Shown at
  // once when the shown percentage changes.
  virtual void set_progress(int percent) = 0;

  // The SQL wait cursor while a primitive or stage works; the normal cursor
  // otherwise.
  virtual void set_wait_cursor(bool waiting) = 0;

  // Handles pending window messages once (the run's three pumping points).
  virtual void process_messages() = 0;

  // A modal message dialog with one OK button; returns when it is closed.
  virtual void show_dialog(DialogKind kind, const std::string& text, Dismissal dismissal = Dismissal::Normal) = 0;

  // Asks the window to close once the run is over; never interrupts the run.
  virtual void request_close() = 0;
};

}  // namespace upgrade
