// TForm1: the hex editor on the selected save. The save's blocks go to the working file
// "~ico._", the mini hex editor edits it modally, and a saved file goes back over the save's
// blocks (only while it still has the save's exact size).
#include <QCloseEvent>
#include <QPushButton>
#include <filesystem>

#include "card/block_io.h"
#include "card/save_transfer.h"
#include "gui/centre_on.h"
#include "gui/tform1.h"
#include "gui/tminiedform.h"

namespace quorvel {

void TForm1::AttachMiniEdForm(TMiniEdForm* mini_ed_form) {
  MiniEdForm = mini_ed_form;
  connect(EditBtn, &QPushButton::clicked, this, &TForm1::EditBtnClick);
}

void TForm1::EditBtnClick() {
  if (SelectedName.empty() || SelectedImage == nullptr || MiniEdForm == nullptr) return;
  CardImage& card = *SelectedImage;
  if (card.IsSlot() && !CardPresent(card.source)) {
    SelectedName.clear();
    if (card.source == kSourceSlot1) {
      env_.messages->Inform(" 插槽1沒有記憶卡 ");
      Slot1Loaded = false;
    } else {
      env_.messages->Inform(" 插槽2沒有記憶卡 ");
      Slot2Loaded = false;
    }
    return;
  }
  const std::string path = WorkDir + "~ico._";
  ShowWaitWindow();
  ExportSaveData(card, SelectedSlot, path);
  HideWaitWindow();
  if (env_.settings->auto_refresh == 0 && link_ && link_->TimedOut()) return;

  TMiniEdForm& editor = *MiniEdForm;
  CentreOn(editor, *this);
  editor.Saved = false;
  if (!editor.LoadFile(path)) {
    // Never edit (and then write back) whatever the window showed before.
    env_.messages->Inform("Cannot open file\r\n" + path);
    return;
  }
  editor.setWindowTitle(QStringLiteral(" 檔案 :") + QString::fromStdString(SelectedName));
  editor.ShowModal();
  if (!editor.Saved) return;

  // A file whose length changed (insert mode) would shift or cut the save: nothing is written.
  const std::uintmax_t expected = std::uintmax_t{card.records[SelectedSlot].size} * kBlockSize;
  std::error_code error;
  const std::uintmax_t actual = std::filesystem::file_size(path, error);
  if (error || actual != expected) {
    env_.messages->Inform(" 檔案大小已改變 (" + std::to_string(error ? 0 : actual) +
                          " 位元組, 應為 " + std::to_string(expected) +
                          " 位元組), 資料沒有寫回記憶卡. ");
    return;
  }
  ShowWaitWindow();
  ImportSaveData(card, SelectedSlot, path);
  HideWaitWindow();
}

}  // namespace quorvel
