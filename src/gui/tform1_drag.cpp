// Drag and drop between the three panes: the accept rule, the source found by the keyboard
// focus in a fixed order, and the per-save copy (or move) with its replace question.
#include <string>

#include "card/save_transfer.h"
#include "gui/pane_list_view.h"
#include "gui/tform1.h"

namespace quorvel {

void TForm1::ConnectDragAndDrop() {
  for (int pane = 0; pane < 3; ++pane) {
    auto* list = dynamic_cast<PaneListView*>(ListView(pane));
    if (!list) continue;
    list->SetDropHandlers([this, pane] { return PaneDragOver(pane); },
                          [this, pane] { PaneDragDrop(pane); });
  }
}

bool TForm1::PaneDragOver(int target) const {
  return *panes_[target].loaded && !ListView(target)->hasFocus();
}

std::optional<int> TForm1::DragSource(int target) const {
  // The two other panes in ascending order: slot 1, slot 2, image without the target.
  for (int pane = 0; pane < 3; ++pane) {
    if (pane != target && ListView(pane)->hasFocus()) return pane;
  }
  return std::nullopt;
}

void TForm1::PaneDragDrop(int target) {
  const std::optional<int> source = DragSource(target);
  if (!source || !PaneDragOver(target) || FirstSelectedRow(*source) < 0) return;
  const Timer3Hold hold(*this);
  if (target == kPaneImage) RefreshImage();
  const auto count = ListView(*source)->selectedItems().size();
  for (qsizetype i = 0; i < count; ++i) DropOneSave(*source, target);
  if (DragMovesSaves(settings())) RefreshPane(*source);
  RefreshPane(target);
  HideWaitWindow();
}

void TForm1::DropOneSave(int source, int target) {
  const int row = FirstSelectedRow(source);
  if (row < 0) return;
  if (row < Card(source).listed_count) {
    const std::uint8_t slot = Card(source).list_order[row];
    ShowSelectedSave(source);
    ShowWaitWindow();
    RepaintWindow();
    const CopyOutcome outcome = CopyAskingToReplace(source, slot, target, " 檔案 ");
    if (outcome == CopyOutcome::kCopied && DragMovesSaves(settings())) {
      DeleteOneSave(source, slot);
    }
  }
  ListView(source)->item(row)->setSelected(false);
}

}  // namespace quorvel
