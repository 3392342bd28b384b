// The upper panel of the main window: the plain banner, the edition banner
// (hidden until the run starts) and the progress bar along its bottom edge.
#pragma once

#include <QWidget>

#include "app/window.h"

class QLabel;

namespace app {

class Gauge;

class BannerPanel : public QWidget {
  Q_OBJECT

 public:
  static constexpr int kWidth = layout::kClientWidth;
  static constexpr int kHeight = layout::kPanelHeight;
  static constexpr int kBannerWidth = layout::kBannerWidth;
  static constexpr int kBannerHeight = layout::kBannerHeight;

  explicit BannerPanel(QWidget* parent = nullptr);

  // Hides the plain banner and shows the edition banner in its place.
  void show_edition_banner();

  bool edition_banner_shown() const;
  Gauge& gauge() { return *gauge_; }

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  QLabel* plain_banner_;
  QLabel* edition_banner_;
  Gauge* gauge_;
};

}  // namespace app
