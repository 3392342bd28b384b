#include "window_recorder.h"

#include <QAbstractButton>
#include <QApplication>
#include <QEvent>

#include "main_window_form.h"
#include "main_window_gauge.h"

namespace window_test {

WindowRecorder::WindowRecorder(app::MainWindow& window, int patience) : window_(window), patience_(patience) {
  qApp->installEventFilter(this);
  connect(&poll_, &QTimer::timeout, this, &WindowRecorder::answer_open_box);
  poll_.start(0);
}

WindowRecorder::~WindowRecorder() { qApp->removeEventFilter(this); }

bool WindowRecorder::eventFilter(QObject* watched, QEvent* event) {
  if (watched == &window_ && event->type() == QEvent::WindowTitleChange) {
    captions << window_.windowTitle();
  } else if (watched == &window_.gauge() && event->type() == QEvent::Paint) {
    const int shown = window_.gauge().value();
    if (painted_progress.empty() || painted_progress.back() != shown) painted_progress.push_back(shown);
  } else if (auto* box = qobject_cast<QMessageBox*>(watched); box && event->type() == QEvent::Show) {
    QStringList buttons;
    for (QAbstractButton* button : box->buttons()) buttons << button->text();
    dialogs.push_back({box->icon(), box->windowTitle(), box->text(), buttons});
    open_box_ = box;
    turns_open_ = 0;
    if (on_shown) on_shown(dialogs.back());
  }
  return false;
}

bool program_ends(app::MainWindow& window, std::chrono::seconds limit) {
  window.show();
  window.activateWindow();
  QTimer watchdog;
  watchdog.setSingleShot(true);
  QObject::connect(&watchdog, &QTimer::timeout, [] { QApplication::exit(1); });
  watchdog.start(limit);
  return QApplication::exec() == 0;
}

std::vector<int> WindowRecorder::painted_since_start() const {
  std::vector<int> painted = painted_progress;
  if (!painted.empty() && painted.front() == 0) painted.erase(painted.begin());
  return painted;
}

void WindowRecorder::answer_open_box() {
  if (!open_box_ || !open_box_->isVisible()) return;
  if (++turns_open_ < patience_) return;
  dialogs.back().answered = true;
  QMessageBox* box = open_box_;
  open_box_ = nullptr;
  box->buttons().front()->click();
}

}  // namespace window_test
