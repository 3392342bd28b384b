#include "wait_cursor.h"

#include <QGuiApplication>
#include <QPixmap>

namespace app {

WaitCursor::~WaitCursor() { set(false); }

void WaitCursor::set(bool waiting) {
  if (waiting == waiting_) return;
  waiting_ = waiting;
  if (waiting)
    QGuiApplication::setOverrideCursor(sql_wait_cursor());
  else
    QGuiApplication::restoreOverrideCursor();
}

QCursor WaitCursor::sql_wait_cursor() {
  const QPixmap image(QStringLiteral(":/sql_wait_cursor.png"));
  if (image.isNull()) return QCursor(Qt::WaitCursor);  // resources not linked in
  // The hot spot is the hourglass's waist.
  return QCursor(image, image.width() / 2, image.height() / 2);
}

}  // namespace app
