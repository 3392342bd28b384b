// What the database layer needs of the user interface: reporting a failed
// statement, the wait cursor, and the close request that the script runner
// leaves behind. The run maps these onto its dialogs.
#pragma once

#include <string>

namespace db {

// The dialog in which a reported failure is shown.
enum class Report {
  Warning,  // the warning dialog
  Error,    // the error dialog
  Plain,    // the plain message box
};

class Feedback {
 public:
  virtual ~Feedback() = default;
  // Shows `text` in a dialog of `kind` and returns when it was dismissed.
  virtual void report(Report kind, const std::string& text) = 0;
  virtual void set_wait_cursor(bool waiting) = 0;
  virtual void request_close() = 0;
};

// Shows the wait cursor for its lifetime, also when the scope is left by an
// exception.
class WaitCursor {
 public:
  explicit WaitCursor(Feedback& feedback) : feedback_(feedback) { feedback_.set_wait_cursor(true); }
  ~WaitCursor() { feedback_.set_wait_cursor(false); }
  WaitCursor(const WaitCursor&) = delete;
  WaitCursor& operator=(const WaitCursor&) = delete;

 private:
  Feedback& feedback_;
};

}  // namespace db
