// The main window's disassembly command: the selected game's data goes to the working file
// "~ico._", the disassembly window lists and patches it, and it goes back over the save's
// blocks only when the window closed with its saved flag.
#include <QPushButton>
#include <string_view>

#include "card/save_transfer.h"
#include "gui/centre_on.h"
#include "gui/tasm86kform.h"
#include "gui/tform1.h"

namespace quorvel {

namespace {

constexpr std::string_view kWorkingFile = "~ico._";
// Said when the save's data could not be moved and the block layer has not said why (the
// working file or the image file could not be read or written).
constexpr std::string_view kTransferFailed = " 資料傳送失敗. ";

}  // namespace

void TForm1::AttachAsmForm(Tasm86kForm* asm_form) {
  asm86kForm = asm_form;
  connect(AsmBtn, &QPushButton::clicked, this, &TForm1::AsmBtnClick, Qt::UniqueConnection);
}

void TForm1::AsmBtnClick() {
  if (SelectedName.empty() || SelectedImage == nullptr || asm86kForm == nullptr) return;
  // The save is taken now: the selection may change while the window is open.
  CardImage& card = *SelectedImage;
  const std::size_t slot = SelectedSlot;
  const QString name =
      QString::fromLatin1(SelectedName.data(), static_cast<qsizetype>(SelectedName.size()));
  if (card.IsSlot() && !CardPresent(card.source)) {
    SelectedName.clear();
    Loaded(card.source) = false;
    env_.messages->Inform(card.source == kSourceSlot1 ? " 插槽1沒有記憶卡 " : " 插槽2沒有記憶卡 ");
    return;
  }
  // No automatic refresh may replace the card's model while its save is out for patching.
  Timer3->stop();
  const std::string path = WorkDir + std::string(kWorkingFile);

  ShowWaitWindow();
  const bool exported = ExportSaveData(card, slot, path);
  HideWaitWindow();
  // A time-out matters only for a save on a slot: the image never touches the link, and the
  // flag may still stand from an earlier link command.
  const bool link_failed = card.IsSlot() && (link_->TimedOut() || card.link_failed);
  if (!exported || link_failed) {
    // Never list (or later write back) a working file left from another save.
    if (!link_failed) env_.messages->Inform(kTransferFailed);
    RearmTimer3();
    return;
  }

  CentreOn(*asm86kForm, *this);
  asm86kForm->setWindowTitle(QStringLiteral(" 檔案 :") + name);
  if (asm86kForm->OpenCode(path)) {
    asm86kForm->exec();
    if (asm86kForm->saved()) {
      ShowWaitWindow();
      const bool written = ImportSaveData(card, slot, path);
      HideWaitWindow();
      if (!written && !(card.IsSlot() && card.link_failed)) env_.messages->Inform(kTransferFailed);
    }
  }
  RearmTimer3();
}

}  // namespace quorvel
