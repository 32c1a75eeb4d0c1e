// The common part of the three save dialogs (selected save, copy to, delete): the save's icon,
// a one-byte result set by the buttons, and centring on the main window.
#pragma once

#include <QDialog>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <cstdint>

namespace quorvel {

class SaveDialog : public QDialog {
  Q_OBJECT
 public:
  SaveDialog(const char* object_name, const QString& caption, QWidget* parent);

  // Set to 0 by the caller before showing; a button stores its code and closes the dialog.
  std::uint8_t Result = 0;
  QLabel* Image1;  // the save's icon, 32 x 32

  // Draws `icon` at (0, 0) of Image1.
  void SetIcon(const QPixmap& icon);
  // Presets the result to 0 and shows the dialog modally; returns the result.
  std::uint8_t Ask();

 protected:
  QLabel* AddLabel(const char* name, const QString& text, int x, int y, int w, int h);
  // A button that stores `code` in Result and closes the dialog.
  QPushButton* AddButton(const char* name, const QString& caption, std::uint8_t code, int x, int y,
                         int w, int h);
};

}  // namespace quorvel
