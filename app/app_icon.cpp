#include "app/app_icon.h"

#include <QPainter>
#include <QPixmap>

namespace azu {
namespace {

QPixmap DrawIcon(int size) {
  QPixmap pixmap(size, size);
  pixmap.fill(Qt::transparent);
  QPainter painter(&pixmap);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.scale(size / 48.0, size / 48.0);

  // Copier body.
  painter.setPen(QPen(QColor(0x1b, 0x2a, 0x49), 2));
  painter.setBrush(QColor(0x3d, 0x6f, 0xb6));
  painter.drawRoundedRect(QRectF(4, 18, 40, 22), 4, 4);
  // Sheet coming out of the top.
  painter.setBrush(Qt::white);
  painter.drawRect(QRectF(13, 6, 22, 16));
  painter.setPen(QPen(QColor(0x80, 0x80, 0x80), 1.5));
  painter.drawLine(QPointF(17, 11), QPointF(31, 11));
  painter.drawLine(QPointF(17, 15), QPointF(28, 15));
  // Output slot and the controller's status light.
  painter.setPen(Qt::NoPen);
  painter.setBrush(QColor(0x1b, 0x2a, 0x49));
  painter.drawRect(QRectF(10, 30, 28, 3));
  painter.setBrush(QColor(0x3c, 0xd0, 0x70));
  painter.drawEllipse(QPointF(38, 24), 2.5, 2.5);
  return pixmap;
}

}  // namespace

QIcon ApplicationIcon() {
  QIcon icon;
  for (const int size : {16, 32, 48}) icon.addPixmap(DrawIcon(size));
  return icon;
}

}  // namespace azu
