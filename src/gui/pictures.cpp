// Draws the program's own pictures with QPainter, so that no picture files are needed.
#include "gui/pictures.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>

#include "gui/win_colors.h"

namespace quorvel {

namespace {

// A memory card seen from the front: body, screen with a small icon, and the four buttons.
void DrawCard(QPainter& painter, const QRectF& body) {
  QLinearGradient shade(body.topLeft(), body.bottomRight());
  shade.setColorAt(0, QColor(238, 238, 232));
  shade.setColorAt(1, QColor(170, 172, 168));
  QPainterPath outline;
  outline.addRoundedRect(body, body.width() * 0.18, body.width() * 0.18);
  painter.setPen(QPen(QColor(60, 60, 60), body.width() * 0.03));
  painter.setBrush(shade);
  painter.drawPath(outline);

  const QRectF screen(body.left() + body.width() * 0.14, body.top() + body.height() * 0.12,
                      body.width() * 0.72, body.height() * 0.42);
  painter.setPen(Qt::NoPen);
  painter.setBrush(QColor(140, 170, 120));
  painter.drawRoundedRect(screen, 3, 3);
  painter.setBrush(QColor(40, 60, 40));
  const double cell = screen.width() / 12;
  static constexpr const char* kFace[] = {"..XXXX..", ".X....X.", "X.X..X.X", "X......X",
                                          "X.X..X.X", "X..XX..X", ".X....X.", "..XXXX.."};
  for (int row = 0; row < 8; ++row) {
    for (int col = 0; col < 8; ++col) {
      if (kFace[row][col] == 'X') {
        painter.drawRect(QRectF(screen.left() + (col + 2) * cell,
                                screen.top() + screen.height() * 0.1 + row * cell, cell, cell));
      }
    }
  }

  const double pad = body.width() * 0.1;
  const QPointF cross(body.left() + body.width() * 0.3, body.top() + body.height() * 0.75);
  painter.setBrush(QColor(70, 70, 80));
  painter.drawRect(QRectF(cross.x() - pad, cross.y() - pad / 3, 2 * pad, 2 * pad / 3));
  painter.drawRect(QRectF(cross.x() - pad / 3, cross.y() - pad, 2 * pad / 3, 2 * pad));
  painter.setBrush(QColor(200, 60, 60));
  painter.drawEllipse(QPointF(body.left() + body.width() * 0.68, cross.y() + pad * 0.4), pad * 0.45,
                      pad * 0.45);
  painter.setBrush(QColor(60, 90, 200));
  painter.drawEllipse(QPointF(body.left() + body.width() * 0.82, cross.y() - pad * 0.4), pad * 0.45,
                      pad * 0.45);
}

}  // namespace

QPixmap BrandingPicture() {
  QPixmap picture(64, 64);
  picture.fill(WinColor(0x404000));
  QPainter painter(&picture);
  painter.setRenderHint(QPainter::Antialiasing);
  // Painted in bands of a few rows: Qt shares a fill of many rows out among helper threads, and
  // at start, while the fonts are readied on the second core, the window would wait for those
  // threads to be made and given a core, for a picture of 64 by 64 pixels.
  constexpr int kBand = 16;
  for (int top = 0; top < picture.height(); top += kBand) {
    painter.setClipRect(0, top, picture.width(), kBand);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0, 96, 96));
    painter.drawEllipse(QRectF(2, 2, 60, 60));
    DrawCard(painter, QRectF(14, 6, 36, 52));
  }
  return picture;
}

QPixmap WaitPicture() {
  QPixmap picture(200, 175);
  QPainter painter(&picture);
  painter.setRenderHint(QPainter::Antialiasing);
  QLinearGradient sky(0, 0, 0, 175);
  sky.setColorAt(0, QColor(20, 70, 90));
  sky.setColorAt(1, QColor(5, 25, 35));
  painter.fillRect(picture.rect(), sky);

  // The link unit: a dark box with two card openings, the card standing in the left one.
  painter.setPen(QPen(QColor(20, 20, 20), 2));
  painter.setBrush(QColor(70, 75, 85));
  painter.drawRoundedRect(QRectF(20, 105, 160, 50), 8, 8);
  painter.setBrush(QColor(25, 25, 30));
  painter.drawRect(QRectF(38, 112, 50, 10));
  painter.drawRect(QRectF(112, 112, 50, 10));
  DrawCard(painter, QRectF(40, 30, 46, 84));

  // Arrows of the data on its way, and a warning sign.
  painter.setPen(QPen(QColor(250, 210, 80), 4, Qt::SolidLine, Qt::RoundCap));
  for (int i = 0; i < 3; ++i) {
    const double x = 100 + i * 18;
    painter.drawLine(QPointF(x, 70), QPointF(x + 9, 78));
    painter.drawLine(QPointF(x + 9, 78), QPointF(x, 86));
  }
  QPainterPath sign;
  sign.moveTo(170, 12);
  sign.lineTo(192, 50);
  sign.lineTo(148, 50);
  sign.closeSubpath();
  painter.setPen(QPen(QColor(40, 20, 0), 2));
  painter.setBrush(QColor(250, 200, 40));
  painter.drawPath(sign);
  painter.setPen(QPen(QColor(40, 20, 0), 4, Qt::SolidLine, Qt::RoundCap));
  painter.drawLine(QPointF(170, 24), QPointF(170, 38));
  painter.drawPoint(QPointF(170, 45));
  return picture;
}

QPixmap SharpPixmap(const QImage& picture, qreal device_pixel_ratio) {
  const int factor = std::max(1, static_cast<int>(std::ceil(device_pixel_ratio - 0.01)));
  if (factor == 1) return QPixmap::fromImage(picture);
  QPixmap sharp = QPixmap::fromImage(
      picture.scaled(picture.size() * factor, Qt::IgnoreAspectRatio, Qt::FastTransformation));
  sharp.setDevicePixelRatio(factor);
  return sharp;
}

}  // namespace quorvel
