// TwaitForm: the borderless wait window shown while data moves to or from a card: a picture
// and a strip that scrolls its warning endlessly, and a Cancel button under them that asks the
// running command to stop; an optional timer closes it.
#pragma once

#include <QDialog>
#include <QElapsedTimer>
#include <QLabel>
#include <QPushButton>
#include <QString>
#include <QTimer>

namespace quorvel {

// The strip under the picture: the text moves one pixel to the left per step and comes back
// in from the right edge when it has left on the left.
class ScrollStrip : public QWidget {
  Q_OBJECT
 public:
  ScrollStrip(const QString& text, QWidget* parent);

  void Step();
  int Offset() const { return offset_; }
  const QString& Text() const { return text_; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QString text_;
  int offset_ = 0;
};

class TwaitForm : public QDialog {
  Q_OBJECT
 public:
  static constexpr int kScrollStepMs = 10;
  static constexpr int kCloseAfterMs = 18000;

  explicit TwaitForm(QWidget* parent = nullptr);

  // Takes the strip steps that fell due while no events ran (a long link operation) and
  // paints them, without handling any event.
  void CatchUp();

  QLabel* Image1;
  ScrollStrip* TextStrip;
  QTimer* ScrollTimer;        // one strip step every 10 ms while the window is shown
  QTimer* CloseTimer;         // closes the window after 18000 ms while enabled
  QPushButton* CancelButton;  // 取消: CancelPressed

 signals:
  // The Cancel button or Esc: the running command is asked to stop. The window stays until
  // the command ends (shown modally, Esc closes it as well).
  void CancelPressed();

 protected:
  void showEvent(QShowEvent* event) override;
  void hideEvent(QHideEvent* event) override;
  void reject() override;

 private:
  QElapsedTimer shown_for_;
  qint64 steps_taken_ = 0;
};

}  // namespace quorvel
