// Drag and drop between the three panes: the accept rule, the source found by the keyboard
// focus in a fixed order, and the per-save copy (or move) with its replace question; files
// dropped from a file manager, and saves dragged out to one as DCI files.
#include <QStringList>
#include <filesystem>
#include <string>

#include "card/dcm_file.h"
#include "card/save_commands.h"
#include "card/save_transfer.h"
#include "card/vms_file.h"
#include "gui/command_texts.h"
#include "gui/file_chooser.h"
#include "gui/pane_list_view.h"
#include "gui/tform1.h"
#include "hexedit/private_folder.h"

namespace quorvel {

void TForm1::ConnectDragAndDrop() {
  for (int pane = 0; pane < 3; ++pane) {
    Pane(pane).SetDropActions(
        [this, pane] { PaneDragDrop(pane); },
        [this, pane](const QStringList& files) { PaneFilesDropped(pane, files); },
        [this, pane] { return WriteDraggedSaves(pane); });
  }
}

bool TForm1::PaneDragOver(int target) const { return Pane(target).TakesDrop(); }

std::optional<int> TForm1::DragSource(int target) const {
  // The two other panes in ascending order: slot 1, slot 2, image without the target.
  for (int pane = 0; pane < 3; ++pane) {
    if (pane != target && ListView(pane)->hasFocus()) return pane;
  }
  return std::nullopt;
}

void TForm1::PaneDragDrop(int target) {
  const std::optional<int> source = DragSource(target);
  if (!source || !PaneDragOver(target) || Pane(*source).FirstSelectedRow() < 0) return;
  const Timer3Hold hold(*this);
  if (target == kPaneImage) RefreshImage();
  const auto count = ListView(*source)->selectedItems().size();
  for (qsizetype i = 0; i < count; ++i) DropOneSave(*source, target);
  if (DragMovesSaves(settings())) RefreshPane(*source);
  RefreshPane(target);
  HideWaitWindow();
}

void TForm1::DropOneSave(int source, int target) {
  const int row = Pane(source).FirstSelectedRow();
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

QStringList TForm1::WriteDraggedSaves(int pane) {
  QStringList files;
  if (!Loaded(pane)) return files;
  std::string error;
  const std::filesystem::path run = RunFolder(PrivateFolderPath(), error);
  if (run.empty()) return files;
  // A folder per drag, so that each save keeps its own name however often it is dragged.
  const std::filesystem::path folder = run / ("drag" + std::to_string(drag_folders_.size() + 1));
  std::error_code code;
  if (!std::filesystem::create_directory(folder, code)) return files;
  drag_folders_.push_back(folder);
  const Timer3Hold hold(*this);
  CardImage& card = Card(pane);
  QListWidget* list = ListView(pane);
  std::vector<std::uint8_t> chosen;
  for (int row = 0; row < list->count() && row < card.listed_count; ++row) {
    if (list->item(row)->isSelected()) chosen.push_back(card.list_order[row]);
  }
  std::vector<std::filesystem::path> written;
  OnLinkWorker([&] {
    for (const std::uint8_t slot : chosen) {
      const std::filesystem::path path =
          ExportPathFor(folder, card.records[slot].name, SaveFileFormat::kDci);
      if (quorvel::ExportSaveFile(card, slot, path).Written()) written.push_back(path);
    }
  });
  for (const std::filesystem::path& path : written) {
    files << QString::fromStdU16String(path.u16string());
  }
  return files;
}

}  // namespace quorvel
