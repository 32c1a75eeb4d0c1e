// CardHistoryWindow: the commands recorded in a card's journal (when, what, which saves,
// whether it finished), and a button that puts the card back as it was before the chosen one.
#pragma once

#include <QDialog>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "card/journal.h"

namespace quorvel {

// A journal command as the window and the questions name it: the command in the program's
// words, then its saves ("格式化", "加上 SONIC2.SYS").
std::string HistoryCommandText(const JournalEntry& entry);

class CardHistoryWindow : public QDialog {
  Q_OBJECT
 public:
  explicit CardHistoryWindow(QWidget* parent = nullptr);

  // Lists `history` (newest first) of the card that `card_text` names; the selection is lost.
  void ShowHistory(const std::string& card_text, const JournalFile& history);
  // The command of the selected row, if any.
  std::optional<std::uint64_t> SelectedCommand() const;

  // RestoreBtn: called with the selected command (the window stays open).
  std::function<void(std::uint64_t number)> restore;

  QLabel* CardLabel;
  QTreeWidget* HistoryList;  // columns: number, date and time, command, saves, finished
  QPushButton* RestoreBtn;
  QPushButton* CloseBtn;

 private:
  void SelectionChanged();
};

}  // namespace quorvel
