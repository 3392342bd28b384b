// The SQL wait cursor: an hourglass with a database symbol, shown over the
// window while a statement or a stage works. It is made from the same
// picture as the Qt window's; where that fails, the system's wait cursor.
#pragma once

#include <windows.h>

namespace app::win32 {

class WaitCursor {
 public:
  WaitCursor();
  WaitCursor(const WaitCursor&) = delete;
  WaitCursor& operator=(const WaitCursor&) = delete;
  ~WaitCursor();

  // Switches between the SQL wait cursor and the normal cursor at once. It is
  // a state, not a nesting count: the frame and the primitives set and reset
  // it independently, and one reset always brings back the normal cursor.
  void set(bool waiting);
  bool waiting() const { return waiting_; }

  // The cursor the window shows now (for WM_SETCURSOR).
  HCURSOR current() const;
  HCURSOR sql_wait_cursor() const { return sql_wait_; }
  // True when sql_wait_cursor() was made from the picture.
  bool from_picture() const { return owned_; }

 private:
  HCURSOR sql_wait_ = nullptr;
  bool owned_ = false;
  bool waiting_ = false;
};

}  // namespace app::win32
