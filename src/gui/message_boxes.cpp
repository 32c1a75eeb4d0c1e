// Message boxes for the message seam: information and warning with OK, questions with
// Yes/No and Yes/No/Cancel. Texts arrive as UTF-8.
#include "gui/message_boxes.h"

#include <QMessageBox>

#include "gui/translations.h"

namespace quorvel {

namespace {

const QString kTitle = QStringLiteral("Quorvel");

// The core's texts arrive in its own words; the window's own are already translated.
QString FromUtf8(std::string_view text) { return ShownText(text); }

}  // namespace

void MessageBoxes::Inform(std::string_view text) {
  QMessageBox::information(owner_, kTitle, FromUtf8(text), QMessageBox::Ok);
}

void MessageBoxes::Warn(std::string_view text) {
  QMessageBox::warning(owner_, kTitle, FromUtf8(text), QMessageBox::Ok);
}

void MessageBoxes::Error(std::string_view text) {
  QMessageBox::critical(owner_, kTitle, FromUtf8(text), QMessageBox::Ok);
}

bool MessageBoxes::AskYesNo(std::string_view text) {
  return AskWithDefault(text, QMessageBox::Yes);
}

bool MessageBoxes::AskYesNoDefaultNo(std::string_view text) {
  return AskWithDefault(text, QMessageBox::No);
}

bool MessageBoxes::AskWithDefault(std::string_view text, QMessageBox::StandardButton button) {
  return QMessageBox::question(owner_, kTitle, FromUtf8(text), QMessageBox::Yes | QMessageBox::No,
                               button) == QMessageBox::Yes;
}

Answer MessageBoxes::AskYesNoCancel(std::string_view text) {
  switch (QMessageBox::question(owner_, kTitle, FromUtf8(text),
                                QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel,
                                QMessageBox::Yes)) {
    case QMessageBox::Yes:
      return Answer::kYes;
    case QMessageBox::No:
      return Answer::kNo;
    default:
      return Answer::kCancel;
  }
}

}  // namespace quorvel
