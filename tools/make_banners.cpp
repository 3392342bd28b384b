// Paints the pictures of the main window into a resource folder:
//   banner_plain.jpg     504 x 321, shown from the start
//   banner_edition.jpg   504 x 321, shown while the run works
//   sql_wait_cursor.png  32 x 32, the SQL wait cursor
//
//   make_banners app/resources
//
// Everything is drawn from shapes and the DejaVu Sans face (Debian package
// fonts-dejavu-core), so the same Qt and fonts give the same files again.
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <cstdio>

namespace {

constexpr int kWidth = 504;
constexpr int kHeight = 321;

QFont face(int pixel_size, int weight = QFont::Normal) {
  QFont font(QStringLiteral("DejaVu Sans"));
  font.setPixelSize(pixel_size);
  font.setWeight(static_cast<QFont::Weight>(weight));
  return font;
}

// One database cylinder: body, lower rim and the top ellipse.
void draw_cylinder(QPainter& p, QRectF box, const QColor& fill, const QColor& edge) {
  const qreal cap = box.height() * 0.22;
  QPainterPath body;
  body.moveTo(box.left(), box.top() + cap / 2);
  body.lineTo(box.left(), box.bottom() - cap / 2);
  body.arcTo(QRectF(box.left(), box.bottom() - cap, box.width(), cap), 180, 180);
  body.lineTo(box.right(), box.top() + cap / 2);
  body.closeSubpath();
  p.setPen(QPen(edge, 1.4));
  p.setBrush(fill);
  p.drawPath(body);
  p.drawEllipse(QRectF(box.left(), box.top(), box.width(), cap));
  p.setBrush(Qt::NoBrush);
  for (int band = 1; band <= 2; ++band) {
    const qreal y = box.top() + band * (box.height() - cap) / 3;
    p.drawArc(QRectF(box.left(), y, box.width(), cap), 180 * 16, 180 * 16);
  }
}

void draw_background(QPainter& p) {
  QLinearGradient sky(0, 0, 0, kHeight);
  sky.setColorAt(0.0, QColor(0x12, 0x3a, 0x58));
  sky.setColorAt(1.0, QColor(0x1f, 0x6e, 0x8c));
  p.fillRect(QRect(0, 0, kWidth, kHeight), sky);

  // Soft light behind the database stack.
  QRadialGradient glow(QPointF(392, 150), 190);
  glow.setColorAt(0.0, QColor(255, 255, 255, 60));
  glow.setColorAt(1.0, QColor(255, 255, 255, 0));
  p.fillRect(QRect(0, 0, kWidth, kHeight), glow);

  // Sweeping lines, like a feather's vane.
  p.setPen(QPen(QColor(255, 255, 255, 28), 1.2));
  for (int i = 0; i < 14; ++i) {
    QPainterPath curve;
    curve.moveTo(-20, 250 + i * 6);
    curve.cubicTo(140, 190 + i * 9, 300, 330 - i * 4, kWidth + 20, 210 + i * 7);
    p.drawPath(curve);
  }
}

void draw_database_stack(QPainter& p) {
  // Back to front, opaque, so that no outline shows through another body.
  const QColor fill(0x3d, 0x8a, 0xab);
  const QColor edge(255, 255, 255, 200);
  draw_cylinder(p, QRectF(365, 60, 70, 80), fill, edge);
  draw_cylinder(p, QRectF(390, 110, 70, 80), fill, edge);
  draw_cylinder(p, QRectF(340, 150, 70, 80), fill, edge);

  // An arrow rising out of the stack: the upgrade.
  QPainterPath arrow;
  arrow.moveTo(470, 230);
  arrow.lineTo(470, 70);
  arrow.lineTo(456, 70);
  arrow.lineTo(478, 38);
  arrow.lineTo(500, 70);
  arrow.lineTo(486, 70);
  arrow.lineTo(486, 230);
  arrow.closeSubpath();
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(0xff, 0xc8, 0x57, 220));
  p.drawPath(arrow);
}

void draw_name(QPainter& p) {
  p.setPen(Qt::white);
  p.setFont(face(34, QFont::Bold));
  p.drawText(QPointF(24, 78), QStringLiteral("Corvena"));
  p.drawText(QPointF(24, 118), QStringLiteral("verdalis"));
  p.setPen(QPen(QColor(0xff, 0xc8, 0x57), 3));
  p.drawLine(QPointF(26, 134), QPointF(196, 134));
  p.setPen(QColor(0xd4, 0xee, 0xf7));
  p.setFont(face(22));
  p.drawText(QPointF(24, 166), QStringLiteral("SQL Update"));
}

// Background, database stack and name: what both banners show.
void draw_shared_parts(QPainter& p) {
  p.setRenderHint(QPainter::Antialiasing);
  p.setRenderHint(QPainter::TextAntialiasing);
  draw_background(p);
  draw_database_stack(p);
  draw_name(p);
}

QImage plain_banner() {
  QImage image(kWidth, kHeight, QImage::Format_RGB32);
  QPainter p(&image);
  draw_shared_parts(p);
  p.setPen(QColor(255, 255, 255, 170));
  p.setFont(face(12));
  p.drawText(QPointF(24, 300), QStringLiteral("Aktualisierung der Mandantendatenbanken"));
  return image;
}

QImage edition_banner() {
  QImage image(kWidth, kHeight, QImage::Format_RGB32);
  QPainter p(&image);
  draw_shared_parts(p);

  // The edition's badge.
  const QRectF badge(24, 186, 132, 30);
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(0xff, 0xc8, 0x57));
  p.drawRoundedRect(badge, 6, 6);
  p.setPen(QColor(0x12, 0x3a, 0x58));
  p.setFont(face(17, QFont::Bold));
  p.drawText(badge, Qt::AlignCenter, QStringLiteral("tessaro"));

  p.setPen(QColor(255, 255, 255, 200));
  p.setFont(face(12));
  p.drawText(QPointF(24, 300), QStringLiteral("Die Datenbanken werden aktualisiert \u2026"));
  return image;
}

// An hourglass with a small database cylinder at its foot, on transparency.
QImage sql_wait_cursor() {
  QImage image(32, 32, QImage::Format_ARGB32);
  image.fill(Qt::transparent);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);

  QPainterPath glass;
  glass.moveTo(7, 3);
  glass.lineTo(23, 3);
  glass.cubicTo(23, 11, 17, 13, 16.5, 15.5);
  glass.cubicTo(17, 18, 23, 20, 23, 28);
  glass.lineTo(7, 28);
  glass.cubicTo(7, 20, 13, 18, 13.5, 15.5);
  glass.cubicTo(13, 13, 7, 11, 7, 3);
  glass.closeSubpath();
  p.setPen(QPen(Qt::black, 1.6));
  p.setBrush(Qt::white);
  p.drawPath(glass);

  // Sand: a little left above, most of it below.
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(0xd9, 0x9a, 0x1e));
  QPainterPath upper;
  upper.moveTo(10, 9);
  upper.lineTo(20, 9);
  upper.lineTo(15, 14);
  upper.closeSubpath();
  p.drawPath(upper);
  QPainterPath lower;
  lower.moveTo(9, 27);
  lower.lineTo(21, 27);
  lower.lineTo(15, 20);
  lower.closeSubpath();
  p.drawPath(lower);
  p.setPen(QPen(Qt::black, 2));
  p.drawLine(QPointF(5, 2.5), QPointF(25, 2.5));
  p.drawLine(QPointF(5, 28.5), QPointF(25, 28.5));

  draw_cylinder(p, QRectF(20, 18, 11, 13), QColor(0x2a, 0x6f, 0xc9), Qt::black);
  return image;
}

bool save(const QImage& image, const QString& path, const char* format, int quality) {
  if (image.save(path, format, quality)) return true;
  std::fprintf(stderr, "make_banners: cannot write %s\n", qPrintable(path));
  return false;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: make_banners OUTPUT_DIR\n");
    return 64;
  }
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication application(argc, argv);
  const QString dir = QString::fromLocal8Bit(argv[1]);
  const bool written = save(plain_banner(), dir + QStringLiteral("/banner_plain.jpg"), "JPG", 92) &&
                       save(edition_banner(), dir + QStringLiteral("/banner_edition.jpg"), "JPG", 92) &&
                       save(sql_wait_cursor(), dir + QStringLiteral("/sql_wait_cursor.png"), "PNG", -1);
  return written ? 0 : 1;
}
