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
  for (int pane = 0; pane < 3; ++pane) {
    const PaneMenuItems& items = Pane(pane).menu();
    connect(items.delete_selected, &QAction::triggered, this,
            [this, pane] { DeleteSelectedSaves(pane); });
    for (std::size_t k = 0; k < kFormatBlocks.size(); ++k) {
      connect(items.format_items[k], &QAction::triggered, this,
              [this, pane, blocks = kFormatBlocks[k]] { FormatPane(pane, blocks); });
    }
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
