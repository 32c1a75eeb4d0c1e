// TSave_sel_Form: the selected-save dialog opened by a double-click on a pane, with its five
// choices (copy to, delete, save the icon, save the save, back).
#pragma once

#include "gui/save_dialog.h"

namespace quorvel {

class TSave_sel_Form : public SaveDialog {
  Q_OBJECT
 public:
  // The results of the five buttons.
  enum : std::uint8_t { kBack = 0, kDelete = 1, kCopyTo = 2, kSaveSave = 3, kSaveIcon = 4 };

  explicit TSave_sel_Form(QWidget* parent = nullptr);

  // Shows a save's description (one line per line of `description`) and its name and stamp
  // whole: the dialog grows to fit them and the buttons move below them.
  void ShowSave(const QString& description, const QString& name_and_stamp);

  QLabel* Label2;  // heading
  QLabel* Label1;  // the save's description
  QLabel* Label3;  // name, date and time
  QPushButton* BitBtn1;
  QPushButton* BitBtn2;
  QPushButton* BitBtn5;
  QPushButton* BitBtn4;
  QPushButton* BitBtn3;
};

}  // namespace quorvel
