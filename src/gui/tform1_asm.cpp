// The main window's disassembly command: the selected game's data goes to the working file
// "~ico._", the disassembly window lists and patches it, and it goes back over the save's
// blocks only when the window closed with its saved flag.
#include <QPushButton>
#include <utility>

#include "card/save_transfer.h"
#include "gui/centre_on.h"
#include "gui/tasm86kform.h"
#include "gui/tform1.h"

namespace quorvel {

void TForm1::AttachAsmForm(Tasm86kForm* asm_form) {
  asm86kForm = asm_form;
  connect(AsmBtn, &QPushButton::clicked, this, &TForm1::AsmBtnClick, Qt::UniqueConnection);
}

void TForm1::AttachAsmForm(std::function<Tasm86kForm*()> make) {
  make_asm_form_ = std::move(make);
  connect(AsmBtn, &QPushButton::clicked, this, &TForm1::AsmBtnClick, Qt::UniqueConnection);
}

void TForm1::AsmBtnClick() {
  BuiltOnFirstUse(asm86kForm, make_asm_form_);
  if (SelectedName.empty() || SelectedImage == nullptr || asm86kForm == nullptr) return;
  // The save is taken now: the selection may change while the window is open.
  CardImage& card = *SelectedImage;
  const QString name =
      QString::fromLatin1(SelectedName.data(), static_cast<qsizetype>(SelectedName.size()));
  const std::string path = WorkDir + "~ico._";
  const std::optional<SaveIdentity> save = TakeSaveOut(card, SelectedSlot, path);
  if (save) {
    CentreOn(*asm86kForm, *this);
    asm86kForm->setWindowTitle(tr(" 檔案 :") + name);
    if (asm86kForm->OpenCode(path)) {
      asm86kForm->exec();
      if (asm86kForm->saved()) PutSaveBack(card, *save, path);
    }
  }
  RearmTimer3();
}

}  // namespace quorvel
