// Drag and drop between the three panes: the accept rule, the source found by the keyboard
// focus in a fixed order, and the per-save copy (or move) with its replace question.
#include <QStringList>
#include <filesystem>
#include <string>

#include "card/dcm_file.h"
#include "card/save_transfer.h"
#include "card/vms_file.h"
#include "gui/command_texts.h"
#include "gui/file_chooser.h"
#include "gui/pane_list_view.h"
#include "gui/tform1.h"

namespace quorvel {

void TForm1::ConnectDragAndDrop() {
  for (int pane = 0; pane < 3; ++pane) {
    auto* list = dynamic_cast<PaneListView*>(ListView(pane));
    if (!list) continue;
    list->SetDropHandlers([this, pane] { return PaneDragOver(pane); },
                          [this, pane] { PaneDragDrop(pane); });
    list->SetFileDropHandler(
        [this, pane](const QStringList& files) { PaneFilesDropped(pane, files); });
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

void TForm1::PaneFilesDropped(int target, const QStringList& files) {
  const Timer3Hold hold(*this);
  for (const QString& file : files) {
    const std::filesystem::path path = ToPath(file);
    // Both files of a VMS/VMI pair dropped together are one save: the VMI stands for it.
    if (IsVmsPath(path) &&
        files.contains(QString::fromStdU16String(PartnerPath(path).u16string()))) {
      continue;
    }
    std::error_code error;
    const bool card_image = !IsVmsPath(path) && !IsVmiPath(path) &&
                            std::filesystem::file_size(path, error) == kImageFileSize;
    if (!card_image) {
      AddSaveFileFrom(target, file);
    } else if (target == kPaneImage) {
      OpenCheckedImage(file);
    } else {
      // A whole card is written onto a slot only through its own command, which asks first.
      env_.messages->Inform(UnsupportedImageMessage(file.toStdString(), false));
    }
  }
}

}  // namespace quorvel
