// The card history window: a list of a card's recorded commands and the restore button.
#include "gui/card_history_window.h"

#include <QDateTime>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QVBoxLayout>
#include <string_view>

namespace quorvel {
namespace {

constexpr int kNumberColumn = 0;

// The program's words for the card layer's command names; a name it does not know is shown
// as it is.
std::string CommandWords(const std::string& name) {
  static constexpr std::pair<std::string_view, std::string_view> kWords[] = {
      {"format", QT_TRANSLATE_NOOP("quorvel::CardHistoryWindow", "格式化")},
      {"copy", QT_TRANSLATE_NOOP("quorvel::CardHistoryWindow", "複製")},
      {"import", QT_TRANSLATE_NOOP("quorvel::CardHistoryWindow", "加上")},
      {"delete", QT_TRANSLATE_NOOP("quorvel::CardHistoryWindow", "刪除")},
      {"restore", QT_TRANSLATE_NOOP("quorvel::CardHistoryWindow", "上載")},
      {"edit", QT_TRANSLATE_NOOP("quorvel::CardHistoryWindow", "修改")},
      {"write block", QT_TRANSLATE_NOOP("quorvel::CardHistoryWindow", "寫入區塊")},
      {"undo", QT_TRANSLATE_NOOP("quorvel::CardHistoryWindow", "復原")},
  };
  for (const auto& [word, shown] : kWords) {
    const std::string words = CardHistoryWindow::tr(shown.data()).toStdString();
    if (name == word) return words;
    if (name.size() > word.size() && name.compare(0, word.size(), word) == 0 &&
        name[word.size()] == ' ') {
      return words + name.substr(word.size());
    }
  }
  return name;
}

QString FromUtf8(const std::string& text) { return QString::fromStdString(text); }

}  // namespace

std::string HistoryCommandText(const JournalEntry& entry) {
  std::string text = CommandWords(entry.command.name);
  for (std::size_t i = 0; i < entry.command.saves.size(); ++i) {
    text += (i == 0 ? " " : ", ") + entry.command.saves[i];
  }
  return text;
}

CardHistoryWindow::CardHistoryWindow(QWidget* parent) : QDialog(parent) {
  setObjectName("CardHistoryWindow");
  setWindowTitle(tr("記憶卡變更記錄"));
  setModal(true);
  resize(620, 360);
  auto* layout = new QVBoxLayout(this);
  CardLabel = new QLabel(this);
  CardLabel->setObjectName("CardLabel");
  layout->addWidget(CardLabel);

  HistoryList = new QTreeWidget(this);
  HistoryList->setObjectName("HistoryList");
  HistoryList->setRootIsDecorated(false);
  HistoryList->setSelectionMode(QAbstractItemView::SingleSelection);
  HistoryList->setHeaderLabels({tr("編號"), tr("日期時間"), tr("動作"), tr("存檔"), tr("完成")});
  HistoryList->header()->setStretchLastSection(false);
  HistoryList->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
  HistoryList->header()->setSectionResizeMode(3, QHeaderView::Stretch);
  layout->addWidget(HistoryList);

  auto* buttons = new QHBoxLayout();
  RestoreBtn = new QPushButton(tr("復原到這個動作之前"), this);
  RestoreBtn->setObjectName("RestoreBtn");
  CloseBtn = new QPushButton(tr("關閉"), this);
  CloseBtn->setObjectName("CloseBtn");
  buttons->addStretch();
  buttons->addWidget(RestoreBtn);
  buttons->addWidget(CloseBtn);
  layout->addLayout(buttons);

  connect(HistoryList, &QTreeWidget::itemSelectionChanged, this,
          &CardHistoryWindow::SelectionChanged);
  connect(RestoreBtn, &QPushButton::clicked, this, [this] {
    if (const std::optional<std::uint64_t> number = SelectedCommand(); number && restore) {
      restore(*number);
    }
  });
  connect(CloseBtn, &QPushButton::clicked, this, &QDialog::accept);
  SelectionChanged();
}

void CardHistoryWindow::ShowHistory(const std::string& card_text, const JournalFile& history) {
  HistoryList->clear();
  for (auto it = history.entries.rbegin(); it != history.entries.rend(); ++it) {
    const JournalEntry& entry = *it;
    std::string saves;
    for (const std::string& save : entry.command.saves) {
      saves += (saves.empty() ? "" : ", ") + save;
    }
    const QString when = QDateTime::fromSecsSinceEpoch(entry.time).toString("yyyy/MM/dd HH:mm:ss");
    const QString done = !entry.finished ? tr("未完成") : entry.succeeded ? tr("完成") : tr("失敗");
    auto* item = new QTreeWidgetItem(
        HistoryList, {QString::number(entry.number), when,
                      FromUtf8(CommandWords(entry.command.name)), FromUtf8(saves), done});
    item->setData(kNumberColumn, Qt::UserRole, QVariant::fromValue<qulonglong>(entry.number));
  }
  CardLabel->setText((history.entries.empty() ? tr(" %1 沒有變更記錄. ") : tr(" %1 的變更記錄: "))
                         .arg(FromUtf8(card_text)));
  SelectionChanged();
}

std::optional<std::uint64_t> CardHistoryWindow::SelectedCommand() const {
  const QList<QTreeWidgetItem*> chosen = HistoryList->selectedItems();
  if (chosen.isEmpty()) return std::nullopt;
  return chosen.front()->data(kNumberColumn, Qt::UserRole).toULongLong();
}

void CardHistoryWindow::SelectionChanged() {
  RestoreBtn->setEnabled(SelectedCommand().has_value());
}

}  // namespace quorvel
