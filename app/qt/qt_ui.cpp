#include "qt_ui.h"

#include <QCoreApplication>
#include <QStringDecoder>

#include "main_window_form.h"
#include "main_window_gauge.h"

namespace app {

QString to_qstring(const std::string& text) {
  const QByteArrayView bytes(text.data(), static_cast<qsizetype>(text.size()));
  QStringDecoder utf8(QStringDecoder::Utf8);
  QString decoded = utf8.decode(bytes);
  if (!utf8.hasError()) return decoded;
  QStringDecoder windows1252("windows-1252");
  if (windows1252.isValid()) return windows1252.decode(bytes);
  return QString::fromLatin1(bytes);
}

void QtUi::set_caption(const std::string& text) { window_.setWindowTitle(to_qstring(text)); }

void QtUi::set_progress(int percent) { window_.gauge().set_value(percent); }

void QtUi::set_wait_cursor(bool waiting) { window_.wait_cursor().set(waiting); }

void QtUi::process_messages() { QCoreApplication::processEvents(QEventLoop::AllEvents); }

void QtUi::show_dialog(upgrade::DialogKind kind, const std::string& text, upgrade::Dismissal dismissal) {
  window_.dialogs().show(kind, to_qstring(text), dismissal);
}

// Posted like the frame's close button, so that it is taken from the queue
// at the next message handling (a pump point or a dialog), not at once.
void QtUi::request_close() {
  QMetaObject::invokeMethod(
      &window_, [window = &window_] { window->close(); }, Qt::QueuedConnection);
}

}  // namespace app
