// The add-icon commands of the three panes: a 32 x 32 8-bit BMP picture becomes the card's
// own icon save "ICONDATA_VMS", built in "~ico._" and stored on the pane's card in place of
// the icon save it may already hold.
#include <string>

#include "card/bmp_file.h"
#include "card/card_icon_file.h"
#include "card/save_commands.h"
#include "gui/command_texts.h"
#include "gui/file_chooser.h"
#include "gui/tform1.h"
#include "gui/translations.h"
#include "gui/tselcolorform.h"

namespace quorvel {

void TForm1::AttachSelcolorForm(TselcolorForm* selcolor_form) {
  AttachSelcolorForm(std::function<TselcolorForm*()>([selcolor_form] { return selcolor_form; }));
}

void TForm1::AttachSelcolorForm(std::function<TselcolorForm*()> make) {
  make_selcolor_form_ = std::move(make);
  for (int pane = 0; pane < 3; ++pane) {
    connect(Pane(pane).menu().add_card_icon, &QAction::triggered, this,
            [this, pane] { AddCardIcon(pane); });
  }
}

void TForm1::SLOT1LOADBMP1Click() { AddCardIcon(kPaneSlot1); }
void TForm1::S1Click() { AddCardIcon(kPaneSlot2); }
void TForm1::LOADBMPPIC1Click() { AddCardIcon(kPaneImage); }

void TForm1::AddCardIcon(int pane) {
  if (!Loaded(pane) || !make_selcolor_form_ || !env_.files) return;
  // The automatic refresh must not reload or forget the card while the file chooser, the
  // colour dialog or a message box is open.
  const Timer3Hold hold(*this);
  const std::optional<QString> chosen = ChooseOpenFileIn(
      *env_.files, &file_history_, FileKind::kBitmap, kBitmapFilter, kBitmapPreset);
  if (!chosen) return;
  IconImage colour;
  switch (ReadIconBmp(colour, ToPath(*chosen))) {
    case BmpReadResult::kOk:
      break;
    case BmpReadResult::kCannotRead:
      env_.messages->Inform(CannotReadMessage(chosen->toStdString()));
      return;
    case BmpReadResult::kNotIconBmp:
      env_.messages->Warn(kBmpFormatMessage);
      return;
  }

  if (selcolorForm == nullptr) {
    selcolorForm = make_selcolor_form_();
    selcolorForm->SetFileHistory(&file_history_);
  }
  ShowWaitWindow();
  selcolorForm->Prepare(
      colour, WorkDir, *chosen,
      QString::fromUtf8(kDefaultCardIconName.data(), kDefaultCardIconName.size()));
  selcolorForm->move(x() + (width() - selcolorForm->width()) / 2,
                     y() + (height() - selcolorForm->height()) / 2);
  selcolorForm->exec();

  const std::string icon_file = WorkDir + std::string(kCardIconWorkFile);
  const QList<uint> typed = selcolorForm->IconName().toUcs4();
  std::u32string unstorable;
  const std::optional<std::string> name =
      CardIconNameBytes(std::u32string(typed.begin(), typed.end()), unstorable);
  if (!name) {
    // Never a name with its characters turned into '?': the user chooses another one.
    const QString shown = QString::fromUcs4(unstorable.data(), unstorable.size());
    env_.messages->Inform(
        Filled(tr(" 圖示名稱的字元 %1 不能儲存在記憶卡上 (只可用英文字母, 數字和西歐字元), "
                  "圖示沒有加上. "),
               {shown.toStdString()}));
  } else if (!WriteCardIconFile(colour, selcolorForm->Monochrome, *name, icon_file)) {
    // Importing now would add whatever an earlier command left in the working file.
    env_.messages->Inform(CannotWriteMessage(icon_file));
  } else if (const SaveFileBytes read = ReadSaveFile(icon_file);
             read.status != DciImportResult::File::kOk) {
    env_.messages->Inform(CannotReadMessage(icon_file));
  } else {
    // The console shows the first icon save of a card: one already there is replaced, after
    // the question, rather than joined by another that would never show.
    ImportIntoPane(pane, icon_file, read.bytes, ReplaceAnswers(" 檔案 "));
  }
  HideWaitWindow();
}

}  // namespace quorvel
