// The SQL wait cursor: an hourglass with a database symbol, shown over the
// whole application while a statement or a stage works.
#pragma once

#include <QCursor>

namespace app {

class WaitCursor {
 public:
  WaitCursor() = default;
  WaitCursor(const WaitCursor&) = delete;
  WaitCursor& operator=(const WaitCursor&) = delete;
  ~WaitCursor();  // never leaves the override cursor behind

  // Switches between the SQL wait cursor and the normal cursor. It is a
  // state, not a nesting count: the frame and the primitives set and reset it
  // independently, and one reset always brings back the normal cursor.
  void set(bool waiting);

  bool waiting() const { return waiting_; }

  // The cursor itself, from the application's resources.
  static QCursor sql_wait_cursor();

 private:
  bool waiting_ = false;
};

}  // namespace app
