#include "gui/lazy_icon.h"

#include <QApplication>
#include <QIconEngine>
#include <QPainter>
#include <QPointer>
#include <optional>

namespace quorvel {
namespace {

class LazyStandardIconEngine : public QIconEngine {
 public:
  LazyStandardIconEngine(QStyle* style, QStyle::StandardPixmap which)
      : style_(style), which_(which) {}

  void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override {
    Icon().paint(painter, rect, Qt::AlignCenter, mode, state);
  }
  QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
    return Icon().pixmap(size, mode, state);
  }
  QPixmap scaledPixmap(const QSize& size, QIcon::Mode mode, QIcon::State state,
                       qreal scale) override {
    return Icon().pixmap(size, scale, mode, state);
  }
  QSize actualSize(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
    return Icon().actualSize(size, mode, state);
  }
  QList<QSize> availableSizes(QIcon::Mode mode, QIcon::State state) override {
    return Icon().availableSizes(mode, state);
  }
  bool isNull() override { return Icon().isNull(); }
  QString key() const override { return QStringLiteral("quorvel-lazy-standard"); }
  QIconEngine* clone() const override { return new LazyStandardIconEngine(*this); }

 private:
  const QIcon& Icon() {
    if (!icon_) {
      QStyle* style = style_ != nullptr ? style_.data() : QApplication::style();
      icon_ = style->standardIcon(which_);
    }
    return *icon_;
  }

  QPointer<QStyle> style_;
  QStyle::StandardPixmap which_;
  std::optional<QIcon> icon_;
};

}  // namespace

QIcon LazyStandardIcon(QStyle* style, QStyle::StandardPixmap which) {
  return QIcon(new LazyStandardIconEngine(style, which));
}

}  // namespace quorvel
