// Watches the main window from outside, the way a user would see it: the
// captions it takes, the percentages the progress bar paints, and every
// message box, which it answers with OK unless the box closes by itself.
#pragma once

#include <QMessageBox>
#include <QObject>
#include <QPointer>
#include <QStringList>
#include <QTimer>
#include <chrono>
#include <functional>
#include <ostream>
#include <vector>

namespace app {
class MainWindow;
}

// Readable texts in test failures.
inline void PrintTo(const QString& text, std::ostream* out) { *out << '"' << text.toStdString() << '"'; }

namespace window_test {

// Shows `window`, activates it and runs the message loop as the program
// does; true when the loop ended because the window closed, false when
// `limit` passed first.
bool program_ends(app::MainWindow& window, std::chrono::seconds limit = std::chrono::seconds(60));

struct ShownDialog {
  QMessageBox::Icon icon;
  QString caption;
  QString text;
  QStringList buttons;
  bool answered = false;  // false: it closed by itself before OK was clicked
};

class WindowRecorder : public QObject {
  Q_OBJECT

 public:
  // A box still open after `patience` turns of the event loop gets its OK
  // clicked. Patience 1 answers at once; a large one leaves time for a box
  // that is meant to close by itself.
  explicit WindowRecorder(app::MainWindow& window, int patience = 1);
  ~WindowRecorder() override;

  QStringList captions;
  std::vector<int> painted_progress;  // each change of the painted value
  // The same without the bar's first paint at 0, which may come before or
  // after the run starts.
  std::vector<int> painted_since_start() const;
  std::vector<ShownDialog> dialogs;
  // Called when a box has been shown, before it is answered.
  std::function<void(const ShownDialog&)> on_shown;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void answer_open_box();

  app::MainWindow& window_;
  int patience_;
  int turns_open_ = 0;
  QPointer<QMessageBox> open_box_;
  QTimer poll_;
};

}  // namespace window_test
