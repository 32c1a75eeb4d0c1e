// TDelete_Form: the question before one save is deleted, with its icon, name and stamp.
#pragma once

#include "gui/save_dialog.h"

namespace quorvel {

class TDelete_Form : public SaveDialog {
  Q_OBJECT
 public:
  explicit TDelete_Form(QWidget* parent = nullptr);

  QLabel* Label1;  // heading
  QLabel* Label2;  // name
  QLabel* Label3;  // date and time
  QPushButton* BitBtn1;
  QPushButton* BitBtn2;
};

}  // namespace quorvel
