// TForm1: the hex editor on the selected save. The save's blocks go to the working file
// "~ico._", the mini hex editor edits it modally with the size held fixed, and a saved file
// goes back over the save's blocks only while the card still holds that save and the file
// still has the save's exact size. The taking out and putting back are shared with the code
// window (tform1_asm.cpp).
#include <QCloseEvent>
#include <QPushButton>
#include <filesystem>
#include <utility>

#include "card/block_io.h"
#include "card/save_transfer.h"
#include "gui/centre_on.h"
#include "gui/command_texts.h"
#include "gui/tform1.h"
#include "gui/tminiedform.h"
#include "gui/translations.h"

namespace quorvel {

namespace {

constexpr std::string_view kWorkingFile = "~ico._";
// Said when the save's data could not be moved and the block layer has not said why (the
// working file or the image file could not be read or written).
constexpr const char* kTransferFailed = QT_TRANSLATE_NOOP("quorvel::TForm1", " 資料傳送失敗. ");

}  // namespace

std::optional<SaveIdentity> TForm1::TakeSaveOut(CardImage& card, std::size_t slot,
                                                const std::string& path) {
  if (card.IsSlot() && !CardPresent(card.source)) {
    SelectedName.clear();
    Loaded(card.source) = false;
    env_.messages->Inform(
        (card.source == kSourceSlot1 ? tr(" 插槽1沒有記憶卡 ") : tr(" 插槽2沒有記憶卡 "))
            .toStdString());
    return std::nullopt;
  }
  // No automatic refresh may replace the card's model while its save is out for editing.
  Timer3->stop();
  const SaveIdentity save = IdentifySave(card, slot);
  ShowWaitWindow();
  bool exported = false;
  OnLinkWorker([&] { exported = ExportSaveData(card, slot, path); });
  HideWaitWindow();
  // A time-out matters only for a save on a slot: the image never touches the link, and the
  // flag may still stand from an earlier link command.
  const bool link_failed = card.IsSlot() && (link_->TimedOut() || card.link_failed);
  if (!exported || link_failed) {
    // Never show (or later write back) a working file left from another save.
    if (!link_failed) env_.messages->Inform(tr(kTransferFailed).toStdString());
    return std::nullopt;
  }
  return save;
}

bool TForm1::PutSaveBack(CardImage& card, const SaveIdentity& save, const std::string& path) {
  ShowWaitWindow();
  bool there = false;
  bool written = false;
  OnLinkWorker([&] {
    there = SaveStillThere(card, save);
    written = there && ImportSaveData(card, save.index, path);
  });
  HideWaitWindow();
  if (card.IsSlot() && card.link_failed) return false;  // the block layer has said why
  if (!there) {
    env_.messages->Inform(
        Filled(tr(" 檔案 %1 已不在記憶卡上, 資料沒有寫回記憶卡. "), {SaveNameText(save.name)}));
  } else if (!written) {
    env_.messages->Inform(tr(kTransferFailed).toStdString());
  }
  return written;
}

void TForm1::AttachMiniEdForm(TMiniEdForm* mini_ed_form) {
  MiniEdForm = mini_ed_form;
  MiniEdForm->SetFileHistory(&file_history_);
  connect(EditBtn, &QPushButton::clicked, this, &TForm1::EditBtnClick, Qt::UniqueConnection);
}

void TForm1::AttachMiniEdForm(std::function<TMiniEdForm*()> make) {
  make_mini_ed_form_ = std::move(make);
  connect(EditBtn, &QPushButton::clicked, this, &TForm1::EditBtnClick, Qt::UniqueConnection);
}

void TForm1::EditBtnClick() {
  BuiltOnFirstUse(MiniEdForm, make_mini_ed_form_);
  if (SelectedName.empty() || SelectedImage == nullptr || MiniEdForm == nullptr) return;
  // The save is taken now: the selection may change while the editor is open.
  CardImage& card = *SelectedImage;
  const QString caption = tr(" 檔案 :") + QString::fromLatin1(SelectedName);
  const std::string path = WorkDir + std::string(kWorkingFile);
  const std::optional<SaveIdentity> save = TakeSaveOut(card, SelectedSlot, path);
  if (!save) {
    RearmTimer3();
    return;
  }

  TMiniEdForm& editor = *MiniEdForm;
  CentreOn(editor, *this);
  editor.Saved = false;
  if (!editor.LoadFile(path)) {
    env_.messages->Inform("Cannot open file\r\n" + path);
    RearmTimer3();
    return;
  }
  // A save keeps its size: insert mode and length-changing edits are refused at once rather
  // than at the end.
  HexDocument& document = editor.HexEditor1->Document();
  const bool fixed_size_before = document.NoSizeChange();
  document.SetNoSizeChange(true);
  editor.UpdateMenus();
  editor.setWindowTitle(caption);
  editor.ShowModal();
  document.SetNoSizeChange(fixed_size_before);
  editor.UpdateMenus();
  if (editor.Saved) {
    // A file whose length changed would shift or cut the save: nothing is written.
    const std::uintmax_t expected = std::uintmax_t{save->size} * kBlockSize;
    std::error_code error;
    const std::uintmax_t actual = std::filesystem::file_size(path, error);
    if (error || actual != expected) {
      env_.messages->Inform(
          Filled(tr(" 檔案大小已改變 (%1 位元組, 應為 %2 位元組), 資料沒有寫回記憶卡. "),
                 {std::to_string(error ? 0 : actual), std::to_string(expected)}));
    } else {
      PutSaveBack(card, *save, path);
    }
  }
  RearmTimer3();
}

}  // namespace quorvel
