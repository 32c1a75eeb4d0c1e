// The delete commands of the three pane menus ("選擇刪除", also the Delete key) and the format
// sub-menus with their questions.
#include <vector>

#include "card/card_check.h"
#include "card/save_commands.h"
#include "gui/command_texts.h"
#include "gui/tform1.h"

namespace quorvel {

namespace {

constexpr const char* kDeleteQuestion = QT_TRANSLATE_NOOP("quorvel::TForm1", " 確定刪除這檔案嗎? ");
constexpr const char* kFormatQuestion = QT_TRANSLATE_NOOP("quorvel::TForm1", " 全部刪除? ");
constexpr const char* kLongFormatQuestion = QT_TRANSLATE_NOOP(
    "quorvel::TForm1", " 全部刪除? (Over 200 blocks is ONLY for Kestra memory card).");

}  // namespace

void TForm1::ConnectSaveCommands() {
  connect(SLOT1DELSEL1, &QAction::triggered, this, &TForm1::SLOT1DELSEL1Click);
  connect(Slot2DelSel1, &QAction::triggered, this, &TForm1::Slot2DelSel1Click);
  connect(DelSel1, &QAction::triggered, this, &TForm1::DelSel1Click);
  const struct {
    QAction* item;
    int pane;
    std::uint8_t blocks;
  } formats[] = {
      {N2411, kPaneSlot1, 241}, {N240Block1, kPaneSlot1, 240},  {N200Block1, kPaneSlot1, 200},
      {N2412, kPaneSlot2, 241}, {N240Blocks1, kPaneSlot2, 240}, {N200Blocks1, kPaneSlot2, 200},
      {N2413, kPaneImage, 241}, {N241Blocks1, kPaneImage, 240}, {N200Blocks2, kPaneImage, 200},
  };
  for (const auto& format : formats) {
    connect(format.item, &QAction::triggered, this,
            [this, pane = format.pane, blocks = format.blocks] { FormatPane(pane, blocks); });
  }
}

void TForm1::DeleteOneSave(int pane, std::uint8_t slot) {
  const std::size_t index = slot;
  OnLinkWorker([&] { DeleteSavesCommand(Card(pane), std::span(&index, 1)); });
}

void TForm1::DeleteSelectedSaves(int pane) {
  if (!Loaded(pane)) return;
  QListWidget* list = ListView(pane);
  if (list->selectedItems().isEmpty()) return;
  const Timer3Hold hold(*this);
  if (UnsafeStructure(Card(pane))) {
    env_.messages->Inform(" " + UnsafeCardText() + " ");
    return;
  }
  if (env_.messages->AskYesNoDefaultNo(tr(kDeleteQuestion).toStdString())) {
    std::vector<std::size_t> chosen;
    for (int row = 0; row < list->count() && row < Card(pane).listed_count; ++row) {
      if (!list->item(row)->isSelected()) continue;
      chosen.push_back(Card(pane).list_order[row]);
      list->item(row)->setSelected(false);
    }
    ShowWaitWindow();
    OnLinkWorker([&] { DeleteSavesCommand(Card(pane), chosen); });
    RefreshPane(pane);
    HideWaitWindow();
  }
}

void TForm1::FormatPane(int pane, std::uint8_t user_blocks) {
  if (!Loaded(pane)) return;
  const Timer3Hold hold(*this);
  if (env_.messages->AskYesNoDefaultNo(
          tr(user_blocks == 200 ? kFormatQuestion : kLongFormatQuestion).toStdString())) {
    ShowWaitWindow();
    OnLinkWorker([&] { FormatCardCommand(Card(pane), user_blocks); });
    RefreshPane(pane);
    HideWaitWindow();
  }
}

}  // namespace quorvel
