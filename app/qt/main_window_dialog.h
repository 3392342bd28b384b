// The message dialogs of the main window: modal, one "OK" button, caption
// and icon by kind. While a close request of the window is pending, a dialog
// closes by itself right after it has been shown, unless it must be read.
#pragma once

#include <QMessageBox>
#include <QString>
#include <chrono>
#include <string>

#include "upgrade/ui.h"

namespace app {

QString dialog_caption(upgrade::DialogKind kind);
QMessageBox::Icon dialog_icon(upgrade::DialogKind kind);

class MessageDialogs {
 public:
  // Dialogs are modal to `owner`.
  explicit MessageDialogs(QWidget& owner) : owner_(owner) {}
  MessageDialogs(const MessageDialogs&) = delete;
  MessageDialogs& operator=(const MessageDialogs&) = delete;

  // Shows the dialog and returns when it has closed. The error box and
  // dialogs with Dismissal::AlwaysWait wait for OK even while a close
  // request is pending: they carry what the user has to read at the end.
  void show(upgrade::DialogKind kind, const QString& text, upgrade::Dismissal dismissal);

  // A close request has been taken from the message queue. From now on the
  // dialogs that may close by themselves do so, the open one included.
  void close_requested();
  bool close_pending() const { return close_pending_; }

  // How long a dialog stays up when it closes by itself.
  void set_brief_display(std::chrono::milliseconds shown) { brief_display_ = shown; }

 private:
  void dismiss_soon(QMessageBox& box) const;

  QWidget& owner_;
  QMessageBox* open_ = nullptr;  // the dialog now showing, if any
  bool open_may_dismiss_ = false;
  bool close_pending_ = false;
  std::chrono::milliseconds brief_display_{600};
};

}  // namespace app
