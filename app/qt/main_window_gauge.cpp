#include "main_window_gauge.h"

#include <QPainter>
#include <algorithm>

#include "app/window.h"

namespace app {

Gauge::Gauge(QWidget* parent) : QWidget(parent) {
  setObjectName(QStringLiteral("Gauge1"));
  setFixedHeight(layout::kGaugeHeight);
  setAttribute(Qt::WA_OpaquePaintEvent);
}

void Gauge::set_value(int percent) {
  const int clamped = std::clamp(percent, 0, 100);
  if (clamped == value_) return;
  value_ = clamped;
  repaint();  // synchronous; update() would wait for the next message pump
}

void Gauge::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  const QRect area = rect();
  painter.fillRect(area, QColor(0xff, 0x00, 0x00));
  const int filled = area.width() * value_ / 100;
  painter.fillRect(QRect(area.left(), area.top(), filled, area.height()), QColor(0x00, 0x00, 0x80));

  QFont bold = font();
  bold.setBold(true);
  painter.setFont(bold);
  painter.setPen(Qt::white);
  painter.drawText(area, Qt::AlignCenter, QStringLiteral("%1%").arg(value_));
}

}  // namespace app
