#include "main_window_dialog.h"

#include <QPushButton>
#include <QTimer>

namespace app {

using upgrade::DialogKind;
using upgrade::Dismissal;

QString dialog_caption(DialogKind kind) { return QString::fromUtf8(upgrade::caption_of(kind)); }

// The error dialog and the error box both show the stop sign: it is the one
// error icon the toolkit has.
QMessageBox::Icon dialog_icon(DialogKind kind) {
  switch (kind) {
    case DialogKind::Warning: return QMessageBox::Warning;
    case DialogKind::Error: return QMessageBox::Critical;
    case DialogKind::Information: return QMessageBox::Information;
    case DialogKind::Plain: return QMessageBox::NoIcon;
    case DialogKind::ErrorBox: return QMessageBox::Critical;
  }
  return QMessageBox::NoIcon;
}

void MessageDialogs::show(DialogKind kind, const QString& text, Dismissal dismissal) {
  QMessageBox box(dialog_icon(kind), dialog_caption(kind), text, QMessageBox::NoButton, &owner_);
  QPushButton* ok = box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
  box.setDefaultButton(ok);
  box.setEscapeButton(ok);

  QMessageBox* const outer = open_;  // none in practice: the run shows one at a time
  const bool outer_may_dismiss = open_may_dismiss_;
  open_ = &box;
  open_may_dismiss_ = dismissal == Dismissal::Normal && kind != DialogKind::ErrorBox;
  if (close_pending_ && open_may_dismiss_) dismiss_soon(box);
  box.exec();
  open_ = outer;
  open_may_dismiss_ = outer_may_dismiss;
}

void MessageDialogs::close_requested() {
  if (close_pending_) return;
  close_pending_ = true;
  if (open_ && open_may_dismiss_) dismiss_soon(*open_);
}

void MessageDialogs::dismiss_soon(QMessageBox& box) const {
  // The box is the timer's context: a box closed by OK first cancels it.
  QTimer::singleShot(brief_display_, &box, [&box] { box.done(QMessageBox::Accepted); });
}

}  // namespace app
