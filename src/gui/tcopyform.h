// TcopyForm: the copy-to dialog. Its two target buttons name the two panes other than the
// source, each enabled only while that pane is live.
#pragma once

#include <optional>

#include "gui/save_dialog.h"

namespace quorvel {

class TcopyForm : public SaveDialog {
  Q_OBJECT
 public:
  explicit TcopyForm(QWidget* parent = nullptr);

  // Captions and enabled states of BitBtn1 and BitBtn2 for a save of pane `source` (0 slot 1,
  // 1 slot 2, 2 image), from the three panes' loaded flags.
  void SetTargets(int source, bool slot1_loaded, bool slot2_loaded, bool image_loaded);
  // The pane a result names for a save of pane `source`: 1 the first target, 2 the second.
  static std::optional<int> TargetPane(int source, std::uint8_t result);

  QLabel* Label1;  // heading
  QLabel* Label2;  // name
  QLabel* Label3;  // date and time
  QPushButton* BitBtn1;
  QPushButton* BitBtn2;
  QPushButton* BitBtn3;
};

}  // namespace quorvel
