// The wait window: picture, scrolling warning strip and its closing timer.
#include "gui/twaitform.h"

#include <QPainter>

#include "gui/pictures.h"
#include "gui/win_colors.h"

namespace quorvel {

namespace {

constexpr int kPictureWidth = 200;
constexpr int kPictureHeight = 175;
constexpr int kStripHeight = 24;
constexpr int kButtonBarHeight = 32;

}  // namespace

ScrollStrip::ScrollStrip(const QString& text, QWidget* parent) : QWidget(parent), text_(text) {
  SetBackColor(this, 0x000000);
  SetFontColor(this, 0x00FFFF);
  QFont bold = font();
  bold.setPointSize(11);
  bold.setBold(true);
  setFont(bold);
}

void ScrollStrip::Step() {
  const int text_width = fontMetrics().horizontalAdvance(text_);
  --offset_;
  if (offset_ < -text_width) offset_ = width();
}

void ScrollStrip::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.setPen(palette().color(QPalette::WindowText));
  painter.drawText(QRect(offset_, 0, fontMetrics().horizontalAdvance(text_) + 2, height()),
                   Qt::AlignVCenter | Qt::AlignLeft, text_);
}

TwaitForm::TwaitForm(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint),
      Image1(new QLabel(this)),
      TextStrip(new ScrollStrip(tr("當資料傳送中,切勿把記憶卡移去!"), this)),
      ScrollTimer(new QTimer(this)),
      CloseTimer(new QTimer(this)),
      CancelButton(new QPushButton(tr("取消"), this)) {
  setObjectName("waitForm");
  setAttribute(Qt::WA_ShowWithoutActivating);  // the pane keeps the keyboard focus
  setFixedSize(kPictureWidth, kPictureHeight + kStripHeight + kButtonBarHeight);
  SetBackColor(this, 0x000000);
  Image1->setObjectName("Image1");
  Image1->setGeometry(0, 0, kPictureWidth, kPictureHeight);
  TextStrip->setObjectName("TextStrip");
  TextStrip->setGeometry(0, kPictureHeight, kPictureWidth, kStripHeight);

  CancelButton->setObjectName("CancelButton");
  CancelButton->setGeometry(kPictureWidth / 2 - 40, kPictureHeight + kStripHeight + 4, 80,
                            kButtonBarHeight - 8);
  CancelButton->setFocusPolicy(Qt::NoFocus);  // the pane keeps the keyboard focus
  connect(CancelButton, &QPushButton::clicked, this, &TwaitForm::CancelPressed);
  ScrollTimer->setObjectName("ScrollTimer");
  ScrollTimer->setInterval(kScrollStepMs);
  connect(ScrollTimer, &QTimer::timeout, this, [this] {
    TextStrip->Step();
    ++steps_taken_;
    TextStrip->update();
  });
  CloseTimer->setObjectName("CloseTimer");
  CloseTimer->setInterval(kCloseAfterMs);
  CloseTimer->setSingleShot(true);
  connect(CloseTimer, &QTimer::timeout, this, &QDialog::close);
}

void TwaitForm::CatchUp() {
  if (!shown_for_.isValid()) return;
  const qint64 due = shown_for_.elapsed() / kScrollStepMs;
  if (due <= steps_taken_) return;
  for (; steps_taken_ < due; ++steps_taken_) TextStrip->Step();
  TextStrip->repaint();
}

void TwaitForm::showEvent(QShowEvent* event) {
  // Drawn before the window is first painted, not with it: most runs never show it.
  if (Image1->pixmap().isNull()) Image1->setPixmap(WaitPicture());
  shown_for_.start();
  steps_taken_ = 0;
  ScrollTimer->start();
  QDialog::showEvent(event);
}

void TwaitForm::reject() {
  emit CancelPressed();
  if (testAttribute(Qt::WA_ShowModal)) QDialog::reject();
}

void TwaitForm::hideEvent(QHideEvent* event) {
  ScrollTimer->stop();
  shown_for_.invalidate();
  QDialog::hideEvent(event);
}

}  // namespace quorvel
