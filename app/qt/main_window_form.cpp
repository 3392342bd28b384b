#include "main_window_form.h"

#include <QCloseEvent>
#include <QFrame>
#include <QScreen>
#include <QVBoxLayout>

#include "banner_panel.h"
#include "main_window_gauge.h"
#include "qt_ui.h"
#include "upgrade/run_driver.h"
#include "upgrade/texts.h"

// The banners and the cursor live in a static library: its resources must be
// registered by name (outside any namespace, as the macro requires).
static void register_window_resources() { Q_INIT_RESOURCE(window); }

namespace app {
namespace {

QFrame* make_lower_strip(QWidget* parent) {
  auto* strip = new QFrame(parent);
  strip->setObjectName(QStringLiteral("lower_strip"));
  strip->setFixedHeight(MainWindow::kLowerStripHeight);
  strip->setStyleSheet(
      QStringLiteral("QFrame#lower_strip { border-top: 1px solid #a8a8a8;"
                     " background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #ececec, stop:1 #cdcdcd); }"));
  return strip;
}

}  // namespace

MainWindow::MainWindow(Run run, QWidget* parent)
    : QWidget(parent), run_(std::move(run)), banner_panel_(nullptr), dialogs_(*this) {
  register_window_resources();
  setObjectName(QStringLiteral("Form1"));
  setWindowTitle(QString::fromUtf8(kCreationCaption));

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  banner_panel_ = new BannerPanel(this);
  layout->addWidget(banner_panel_, 1);
  layout->addWidget(make_lower_strip(this));
  resize(kClientWidth, kClientHeight);
}

MainWindow::~MainWindow() = default;

Gauge& MainWindow::gauge() { return banner_panel_->gauge(); }

void MainWindow::centre_on_screen() {
  const QScreen* shown_on = screen();
  if (!shown_on) return;
  QRect placed(QPoint(0, 0), size());
  placed.moveCenter(shown_on->availableGeometry().center());
  move(placed.topLeft());
}

bool MainWindow::event(QEvent* event) {
  // Dialogs of the run and other applications hand the activation back
  // to the window many times; only the first one starts the run.
  if (event->type() == QEvent::WindowActivate && !run_started_) start_run();
  return QWidget::event(event);
}

void MainWindow::start_run() {
  run_started_ = true;
  banner_panel_->show_edition_banner();
  setWindowTitle(QString::fromUtf8(upgrade::kApplicationTitle));
  // Runs once the activation has been delivered completely, so that the
  // toolkit's own activation handling is not left half done for the length
  // of the run.
  QMetaObject::invokeMethod(this, &MainWindow::execute_run, Qt::QueuedConnection);
}

void MainWindow::execute_run() {
  running_ = true;
  {
    QtUi ui(*this);
    exit_status_ = run_reporting_uncaught_failures(
        run_, ui, [this](const std::string& text) { report_uncaught_failure(to_qstring(text)); });
  }
  running_ = false;
  run_over_ = true;
  // Nothing works any more: the user must not see a busy cursor on a window
  // that waits to be closed.
  wait_cursor_.set(false);
  if (dialogs_.close_pending()) close();
}

// The caption and the progress bar keep what the run last showed.
void MainWindow::report_uncaught_failure(const QString& text) {
  const std::string shown = upgrade::with_full_stop(text.toStdString());
  dialogs_.show(upgrade::DialogKind::ErrorBox, QString::fromStdString(shown), upgrade::Dismissal::AlwaysWait);
}

// A close request, from the frame's button or from the run itself, never
// interrupts the run: it is remembered and carried out when the run is over.
void MainWindow::closeEvent(QCloseEvent* event) {
  if (!running_) {
    event->accept();
    return;
  }
  event->ignore();
  dialogs_.close_requested();
}

}  // namespace app
