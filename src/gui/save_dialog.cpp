// The common part of the three save dialogs: icon, result byte, buttons and centring.
#include "gui/save_dialog.h"

#include <QPainter>

namespace quorvel {

SaveDialog::SaveDialog(const char* object_name, const QString& caption, QWidget* parent)
    : QDialog(parent), Image1(new QLabel(this)) {
  setObjectName(object_name);
  setWindowTitle(caption);
  setModal(true);
  Image1->setObjectName("Image1");
  Image1->setFixedSize(32, 32);
}

void SaveDialog::SetIcon(const QPixmap& icon) {
  QPixmap picture(32, 32);
  picture.fill(Qt::white);
  QPainter painter(&picture);
  painter.drawPixmap(0, 0, icon);
  painter.end();
  Image1->setPixmap(picture);
}

std::uint8_t SaveDialog::Ask() {
  Result = 0;
  exec();
  return Result;
}

QLabel* SaveDialog::AddLabel(const char* name, const QString& text, int x, int y, int w, int h) {
  auto* label = new QLabel(text, this);
  label->setObjectName(name);
  label->setGeometry(x, y, w, h);
  return label;
}

QPushButton* SaveDialog::AddButton(const char* name, const QString& caption, std::uint8_t code,
                                   int x, int y, int w, int h) {
  auto* button = new QPushButton(caption, this);
  button->setObjectName(name);
  button->setGeometry(x, y, w, h);
  button->setAutoDefault(false);
  connect(button, &QPushButton::clicked, this, [this, code] {
    Result = code;
    accept();
  });
  return button;
}

}  // namespace quorvel
