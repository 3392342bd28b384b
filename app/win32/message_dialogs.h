// The message dialogs of the main window: system message boxes, modal to the
// window, one "OK" button, caption and icon by kind. While a close request
// of the window is pending, a dialog closes by itself right after it has
// been shown, unless it must be read.
#pragma once

#include <windows.h>

#include <chrono>
#include <string>

#include "upgrade/ui.h"

namespace app::win32 {

// The message box style of a dialog kind: its one button and its icon. The
// error dialog and the error box both carry the stop sign, the one error
// icon the system has.
UINT message_box_style(upgrade::DialogKind kind);

class MessageDialogs {
 public:
  MessageDialogs() = default;
  MessageDialogs(const MessageDialogs&) = delete;
  MessageDialogs& operator=(const MessageDialogs&) = delete;

  // Dialogs are modal to `owner` (none: to nothing).
  void set_owner(HWND owner) { owner_ = owner; }

  // Shows the dialog and returns when it has closed. The error box and
  // dialogs with Dismissal::AlwaysWait wait for OK even while a close
  // request is pending: they carry what the user has to read at the end.
  void show(upgrade::DialogKind kind, const std::wstring& text, upgrade::Dismissal dismissal);

  // A close request has been taken from the message queue. From now on the
  // dialogs that may close by themselves do so, the open one included.
  void close_requested();
  bool close_pending() const { return close_pending_; }

  // How long a dialog stays up when it closes by itself.
  void set_brief_display(std::chrono::milliseconds shown) { brief_display_ = shown; }

 private:
  static LRESULT CALLBACK watch_activation(int code, WPARAM wparam, LPARAM lparam);
  static void CALLBACK dismiss(HWND box, UINT message, UINT_PTR timer, DWORD time);
  void dismiss_soon(HWND box) const;

  HWND owner_ = nullptr;
  HWND open_ = nullptr;  // the box now showing, once the system has created it
  bool open_may_dismiss_ = false;
  bool close_pending_ = false;
  std::chrono::milliseconds brief_display_{600};
};

}  // namespace app::win32
