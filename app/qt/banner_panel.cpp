#include "banner_panel.h"

#include <QLabel>
#include <QLinearGradient>
#include <QPainter>
#include <QPixmap>
#include <QResizeEvent>

#include "main_window_gauge.h"

namespace app {
namespace {

QLabel* make_banner(QWidget* parent, const QString& resource, const QString& name, int top) {
  auto* banner = new QLabel(parent);
  banner->setObjectName(name);
  banner->setPixmap(QPixmap(resource));
  banner->setGeometry(layout::kBannerLeft, top, layout::kBannerWidth, layout::kBannerHeight);
  return banner;
}

}  // namespace

BannerPanel::BannerPanel(QWidget* parent)
    : QWidget(parent),
      plain_banner_(make_banner(this, QStringLiteral(":/banner_plain.jpg"), QStringLiteral("plain_banner"),
                                layout::kPlainBannerTop)),
      edition_banner_(make_banner(this, QStringLiteral(":/banner_edition.jpg"), QStringLiteral("edition_banner"),
                                  layout::kEditionBannerTop)),
      gauge_(new Gauge(this)) {
  edition_banner_->hide();
  resize(kWidth, kHeight);
}

void BannerPanel::show_edition_banner() {
  plain_banner_->hide();
  edition_banner_->show();
}

bool BannerPanel::edition_banner_shown() const { return !edition_banner_->isHidden(); }

void BannerPanel::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  QLinearGradient shade(0, 0, 0, height());
  shade.setColorAt(0.0, QColor(0xf4, 0xf4, 0xf4));
  shade.setColorAt(1.0, QColor(0xd6, 0xd6, 0xd6));
  painter.fillRect(rect(), shade);
}

// The progress bar keeps to the bottom edge, full width, however the frame
// is resized; the banners keep their place at the top left.
void BannerPanel::resizeEvent(QResizeEvent* event) {
  const QSize size = event->size();
  gauge_->setGeometry(0, size.height() - gauge_->height(), size.width(), gauge_->height());
}

}  // namespace app
