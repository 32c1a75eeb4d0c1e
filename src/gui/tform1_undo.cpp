// "復原上一個動作" and "記憶卡變更記錄" of the three pane menus: the card layer's undo of the
// commands recorded for the card in the pane, after a question that names the card and the
// command; and the offer to put a card back when its last command was interrupted.
#include <QCoreApplication>
#include <string>

#include "card/journal.h"
#include "gui/card_history_window.h"
#include "gui/centre_on.h"
#include "gui/tform1.h"
#include "gui/translations.h"

namespace quorvel {
namespace {

std::string UndoQuestion(const std::string& card, const std::string& command) {
  return Filled(
      QCoreApplication::translate("quorvel::TForm1", " 要把 %1 復原到 「%2」 之前的狀態嗎? "),
      {card, command});
}

std::string InterruptedQuestion(const std::string& card, const std::string& command) {
  return Filled(QCoreApplication::translate(
                    "quorvel::TForm1",
                    " %1 上次的動作 「%2」 沒有完成. 要把記憶卡復原到那個動作之前的狀態嗎? "),
                {card, command});
}

constexpr const char* kNothingToUndo =
    QT_TRANSLATE_NOOP("quorvel::TForm1", " 這張記憶卡沒有可以復原的動作. ");
constexpr const char* kDamagedJournal =
    QT_TRANSLATE_NOOP("quorvel::TForm1", " 這張記憶卡的變更記錄已損壞, 不會被使用. ");

std::string Tr(const char* text) {
  return QCoreApplication::translate("quorvel::TForm1", text).toStdString();
}

// What the user is told when an undo did not happen (or not wholly); empty when it did, or
// when the layer below has already said why (the journal could not be written).
std::string UndoFailureMessage(const UndoResult& result) {
  using Outcome = UndoResult::Outcome;
  switch (result.outcome) {
    case Outcome::kDone:
    case Outcome::kJournalFailed:
    case Outcome::kCancelled:  // said by the command's stop
      return "";
    case Outcome::kNoJournal:
    case Outcome::kNoSuchCommand:
      return Tr(kNothingToUndo);
    case Outcome::kBadJournal:
      return Tr(kDamagedJournal);
    case Outcome::kBrokenChain:
      return Tr(QT_TRANSLATE_NOOP("quorvel::TForm1", " 變更記錄和插入的記憶卡不符, 沒有復原. "));
    case Outcome::kChanged: {
      std::string blocks;
      for (std::uint8_t block : result.changed_blocks) {
        blocks += (blocks.empty() ? "" : ", ") + std::to_string(block);
      }
      return Filled(QCoreApplication::translate(
                        "quorvel::TForm1", " 記憶卡在那個動作之後已被改變 (區塊 %1), 沒有復原. "),
                    {blocks});
    }
    case Outcome::kReadFailed:
      return Tr(QT_TRANSLATE_NOOP("quorvel::TForm1", " 讀取記憶卡失敗, 沒有復原. "));
    case Outcome::kWriteFailed:
      return Tr(QT_TRANSLATE_NOOP("quorvel::TForm1", " 寫入記憶卡失敗, 記憶卡只復原了一部分. "));
  }
  return "";
}

// The journal of the card now in a pane, `history` as read from it; nothing when it could not
// be read (the block layer has said why) or is damaged (said here).
std::optional<JournalFile> PaneJournal(JournalFile history, const CardImage& card,
                                       const LinkDevice& link, Messages& messages) {
  if (card.link_failed || (card.IsSlot() && link.TimedOut())) return std::nullopt;
  if (history.status != JournalFile::Status::kOk &&
      history.status != JournalFile::Status::kMissing) {
    messages.Inform(Tr(kDamagedJournal));
    return std::nullopt;
  }
  return history;
}

const JournalEntry* FindEntry(const JournalFile& history, std::uint64_t number) {
  for (const JournalEntry& entry : history.entries) {
    if (entry.number == number) return &entry;
  }
  return nullptr;
}

}  // namespace

void TForm1::ConnectUndoCommands() {
  for (int pane = 0; pane < 3; ++pane) {
    connect(Pane(pane).menu().undo, &QAction::triggered, this,
            [this, pane] { UndoLastCommand(pane); });
    connect(Pane(pane).menu().history, &QAction::triggered, this,
            [this, pane] { ShowCardHistory(pane); });
  }
}

JournalFile TForm1::ReadCardJournal(int pane) {
  JournalFile history;
  OnLinkWorker([&] { history = CardJournal(Card(pane), *journal_); });
  return history;
}

std::string TForm1::CardText(int pane) {
  if (pane == kPaneSlot1) {
    return link_->PagedMode() ? Filled(tr("第 %1 頁的記憶卡"), {std::to_string(ShownPage)})
                              : tr("插槽 1 的記憶卡").toStdString();
  }
  if (pane == kPaneSlot2) return tr("插槽 2 的記憶卡").toStdString();
  return Filled(tr("檔案 %1"), {Card(pane).ImageName()});
}

void TForm1::UndoLastCommand(int pane) {
  if (!Loaded(pane)) return;
  const Timer3Hold hold(*this);
  const std::optional<JournalFile> journal =
      PaneJournal(ReadCardJournal(pane), Card(pane), *link_, *env_.messages);
  if (!journal) return;
  const JournalFile& history = *journal;
  if (history.entries.empty()) {
    env_.messages->Inform(Tr(kNothingToUndo));
    return;
  }
  const JournalEntry& last = history.entries.back();
  if (!env_.messages->AskYesNoDefaultNo(UndoQuestion(CardText(pane), HistoryCommandText(last)))) {
    return;
  }
  RunUndo(pane, last.number);
}

void TForm1::RunUndo(int pane, std::optional<std::uint64_t> to) {
  ShowWaitWindow();
  UndoResult result;
  OnLinkWorker([&] { result = UndoCommands(Card(pane), *journal_, to); });
  HideWaitWindow();
  if (const std::string text = UndoFailureMessage(result); !text.empty()) {
    env_.messages->Inform(text);
  }
  // The pane shows what the card holds now; a refused undo changed nothing.
  if (result.outcome == UndoResult::Outcome::kDone || result.blocks_written > 0) {
    RefreshPane(pane);
  }
}

void TForm1::ShowCardHistory(int pane) {
  if (!Loaded(pane)) return;
  const Timer3Hold hold(*this);
  const std::optional<JournalFile> history =
      PaneJournal(ReadCardJournal(pane), Card(pane), *link_, *env_.messages);
  if (!history) return;
  if (CardHistory == nullptr) CardHistory = new CardHistoryWindow(this);
  CardHistory->restore = [this, pane](std::uint64_t number) {
    const JournalFile now = ReadCardJournal(pane);
    const JournalEntry* entry = FindEntry(now, number);
    if (entry == nullptr) {
      env_.messages->Inform(Tr(kNothingToUndo));
    } else if (env_.messages->AskYesNoDefaultNo(
                   UndoQuestion(CardText(pane), HistoryCommandText(*entry)))) {
      RunUndo(pane, number);
    }
    CardHistory->ShowHistory(CardText(pane), ReadCardJournal(pane));
  };
  CardHistory->ShowHistory(CardText(pane), *history);
  CentreOn(*CardHistory, *this);
  CardHistory->exec();
  CardHistory->restore = nullptr;
}

void TForm1::OfferInterruptedUndo(int pane) {
  if (!Loaded(pane) || offering_undo_ || journal_->Active(Card(pane))) return;
  CardKey key = 0;
  const JournalFile history = LoadedCardJournal(Card(pane), *journal_, &key);
  // A damaged journal is reported when it is used, not on every read of the card.
  if (history.status != JournalFile::Status::kOk || history.entries.empty()) return;
  const JournalEntry& last = history.entries.back();
  if (last.finished) return;
  // Asked once per interrupted command in a run of the program.
  if (!offered_undos_.insert({key, last.number}).second) return;
  offering_undo_ = true;
  const Timer3Hold hold(*this);
  if (env_.messages->AskYesNoDefaultNo(
          InterruptedQuestion(CardText(pane), HistoryCommandText(last)))) {
    RunUndo(pane, last.number);
  }
  offering_undo_ = false;
}

}  // namespace quorvel
