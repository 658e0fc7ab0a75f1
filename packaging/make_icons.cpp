// Draws the program's icon, the emblem of its title strip on the strip's blue, into
// DIR/SIZE.png for each size asked: the icons of the desktop's menu, made at build time.
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>

#include "chrome/window_parts.h"

int main(int argc, char** argv) {
  QGuiApplication application(argc, argv);
  if (argc < 3) return 2;
  const QString dir = QString::fromLocal8Bit(argv[1]);
  for (int i = 2; i < argc; ++i) {
    const int size = std::atoi(argv[i]);
    QImage icon(size, size, QImage::Format_ARGB32_Premultiplied);
    icon.fill(Qt::transparent);
    QPainter painter(&icon);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF tile(size * 0.04, size * 0.04, size * 0.92, size * 0.92);
    QPainterPath rounded;
    rounded.addRoundedRect(tile, size * 0.18, size * 0.18);
    painter.setClipPath(rounded);
    corvale::chrome::pictures::TitleStrip(painter, tile.toRect());
    // The emblem is drawn for 50 pixels, its bowl in the lower half: scale it to the tile and lift
    // the bowl to the middle.
    painter.translate(tile.topLeft());
    painter.scale(tile.width() / 50.0, tile.height() / 50.0);
    painter.translate(0, -9);
    corvale::chrome::pictures::Emblem(painter, QRect(0, 0, 50, 50));
    painter.end();
    if (!icon.save(dir + "/" + QString::number(size) + ".png")) return 1;
  }
  return 0;
}
