// The progress bar `Gauge1`: a percentage from 0 to 100, navy fill on red,
// the value and a per cent sign centred on it.
#pragma once

#include <QWidget>

namespace app {

class Gauge : public QWidget {
  Q_OBJECT

 public:
  explicit Gauge(QWidget* parent = nullptr);

  int value() const { return value_; }

  // Stores the value clamped to 0..100. When the shown percentage changes the
  // bar is painted at once, without waiting for the message loop: the run
  // does not pump messages between its progress steps.
  void set_value(int percent);

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  int value_ = 0;
};

}  // namespace app
