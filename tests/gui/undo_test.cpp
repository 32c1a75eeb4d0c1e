// Tests of undo in the window: "復原上一個動作" of the pane menus, the card history window and
// its restore, the offer to put back a command that did not finish, and the refusals.
#include <QFontMetrics>
#include <QHeaderView>
#include <cstdlib>
#include <fstream>

#include "card/block_io.h"
#include "card/dci_file.h"
#include "card/file_system.h"
#include "card/journal.h"
#include "card/save_commands.h"
#include "gui/card_history_window.h"
#include "gui/dialog_script.h"
#include "gui/scripted_chooser.h"
#include "gui/window_fixture.h"
#include "support/card_files.h"

namespace quorvel::test {
namespace {

using testing::ReadFile;

QString Q(const std::filesystem::path& path) { return QString::fromStdString(path.string()); }

SaveSpec Data(const std::string& name, int blocks = 1) {
  return {.name = name, .blocks = blocks, .icons = 1};
}

CardBuilder ThreeSaves() {
  return CardBuilder().Add(Data("SAME", 2)).Add(Data("OTHER", 3)).Add(Data("LAST", 1));
}

std::string UndoQuestion(const std::string& command) {
  return " 要把 插槽 1 的記憶卡 復原到 「" + command + "」 之前的狀態嗎? ";
}

// The rows of the history window: number, command and saves, finished.
using Row = std::vector<std::string>;

class UndoTest : public WindowTest {
 protected:
  void SetUp() override {
    WindowTest::SetUp();
    WriteQuickConfig();
    files_ = &chooser_;
  }

  // As WindowTest's, then the pane commands enabled as the 800 ms tick does.
  void StartLoaded(const CardBuilder& slot1, const CardBuilder& slot2,
                   const std::optional<CardBuilder>& image = std::nullopt) {
    WindowTest::StartLoaded(slot1, slot2, image);
    form().PaneTick();
  }

  std::vector<std::uint8_t> Slot1() const { return ReadFile(CardPath("slot1.dcm")); }

 public:  // the command table below runs these
  // A single-save file of one save named `name` with `blocks` blocks.
  std::filesystem::path MakeDci(const std::string& name, int blocks) {
    CardImage source;
    EXPECT_TRUE(OpenImageFile(
        source, WriteCard(name + ".dcm", CardBuilder().Add(Data(name, blocks))).string()));
    LoadCard(source);
    EXPECT_EQ(ExportDci(source, 0, root_ / (name + ".dci")), DciExportError::kNone);
    return root_ / (name + ".dci");
  }

  // The three commands of the history test, each through the window as the user runs it.
  void Format() {
    messages_.answers = {true};
    form().FormatPane(kPaneSlot1, 200);
  }
  void ReplaceSame() {
    chooser_.answer = Q(MakeDci("SAME", 4));
    messages_.answers = {true};
    form().SLOT1LOADDCI1Click();
  }
  void RestoreImage() {
    chooser_.answer = Q(WriteCard("whole.dcm", CardBuilder().Add(Data("WHOLE", 6))));
    messages_.answers = {true};
    form().SLOT1LOADDCM1Click();
  }

 protected:
  // The rows the history window lists when opened on `pane`; `choose` runs while it is open.
  std::vector<Row> HistoryRows(int pane,
                               const std::function<void(CardHistoryWindow&)>& choose = {}) {
    std::vector<Row> rows;
    DialogScript script({{"CardHistoryWindow", "CloseBtn"}});
    script.on_each_open = [&] {
      CardHistoryWindow& window = *form().CardHistory;
      for (int i = 0; i < window.HistoryList->topLevelItemCount(); ++i) {
        const QTreeWidgetItem* item = window.HistoryList->topLevelItem(i);
        rows.push_back(
            {Text(item->text(0)), Text(item->text(2)), Text(item->text(3)), Text(item->text(4))});
      }
      if (choose) choose(window);
    };
    if (pane == kPaneSlot1) form().HistorySlot1->trigger();
    if (pane == kPaneSlot2) form().HistorySlot2->trigger();
    if (pane == kPaneImage) form().HistoryImage->trigger();
    EXPECT_EQ(script.shown, std::vector<std::string>{"CardHistoryWindow"});
    return rows;
  }

  ScriptedChooser chooser_;
};

// Each command changes the card in slot 1; "復原上一個動作" asks (No by default), names the
// card and the command, and gives back every block byte for byte.
struct Command {
  const char* name;
  void (UndoTest::*run)();
  const char* shown;
};

class UndoEachCommand : public UndoTest, public ::testing::WithParamInterface<Command> {};

TEST_P(UndoEachCommand, GivesBackEveryBlock) {
  StartLoaded(ThreeSaves(), CardBuilder());
  const std::vector<std::uint8_t> before = Slot1();
  const std::vector<std::string> captions = Captions(kPaneSlot1);
  (this->*GetParam().run)();
  ASSERT_NE(Slot1(), before);
  messages_.texts.clear();
  messages_.default_no.clear();
  messages_.answers = {true};
  form().UndoSlot1->trigger();
  EXPECT_EQ(messages_.texts, std::vector<std::string>{UndoQuestion(GetParam().shown)});
  EXPECT_EQ(messages_.default_no, messages_.texts);
  EXPECT_EQ(Slot1(), before);
  EXPECT_EQ(Captions(kPaneSlot1), captions) << "the pane was read again";
  EXPECT_FALSE(wait_->isVisible());
}

INSTANTIATE_TEST_SUITE_P(Window, UndoEachCommand,
                         ::testing::Values(Command{"Format", &UndoTest::Format, "格式化"},
                                           Command{"Replace", &UndoTest::ReplaceSame, "加上 SAME"},
                                           Command{"Restore", &UndoTest::RestoreImage,
                                                   "上載 whole.dcm"}),
                         [](const auto& info) { return std::string(info.param.name); });

// The link stops answering in the middle of a format: the command stops with some blocks
// written, and once the card is read again the undo puts it back byte for byte.
TEST_F(UndoTest, AFormatTheLinkGaveUpInIsPutBackExactly) {
  StartLoaded(ThreeSaves(), CardBuilder(240).Add(Data("SAME", 2)).Add(Data("OTHER", 3)));
  // How many transactions a format takes, measured on the card in slot 2 (another card, with
  // a journal of its own).
  std::uint64_t start = unit().Transactions();
  OwnLook([&] { ASSERT_TRUE(FormatCardCommand(form().Slot2Card, 200)); });
  const std::uint64_t format_length = unit().Transactions() - start;
  const std::vector<std::uint8_t> before = Slot1();
  start = unit().Transactions();
  // Past the journal's reads of the old blocks, into the writes (the root is written last).
  for (std::uint64_t t = format_length / 2; t < format_length / 2 + 80; ++t) {
    unit().InjectFault(start + t, Fault{.kind = FaultKind::kNoAnswer});
  }
  Format();
  ASSERT_NE(Slot1(), before);
  JournalFile history;
  OwnLook([&] { history = CardJournal(form().Slot1Card, form().journal()); });
  ASSERT_FALSE(history.entries.empty());
  EXPECT_EQ(history.entries.back().command.name, "format");
  EXPECT_TRUE(history.entries.back().finished);
  EXPECT_FALSE(history.entries.back().succeeded);
  form().Refresh_Slot1Click();
  form().PaneTick();
  messages_.texts.clear();
  messages_.answers = {true};
  form().UndoSlot1->trigger();
  EXPECT_EQ(messages_.texts, std::vector<std::string>{UndoQuestion("格式化")});
  EXPECT_EQ(Slot1(), before);
}

// Undo is itself the way back: once it writes, it writes every old block. Cancel pressed
// then is refused in words, the card is put back whole, and the user is told it ran to its end.
TEST_F(UndoTest, CancelWhileTheOldBlocksGoBackIsRefusedAndTheUndoFinishes) {
  StartLoaded(ThreeSaves(), CardBuilder());
  const std::vector<std::uint8_t> before = Slot1();
  Format();
  bool wait_shown = false;
  std::string said;
  bool pressed = false;
  QObject::connect(form().ProgressBar1, &QProgressBar::valueChanged, &form(), [&](int value) {
    if (pressed || value < 2 || !form().CommandRunning()) return;
    pressed = true;
    wait_shown = wait_->isVisible();
    wait_->CancelButton->click();
    said = Text(form().Label5->text());
  });
  messages_.texts.clear();
  messages_.answers = {true};
  form().UndoSlot1->trigger();
  ASSERT_TRUE(pressed) << "the undo reports its progress";
  EXPECT_TRUE(wait_shown);
  EXPECT_EQ(said, " 這一步必須做完, 不能中途取消, 請稍候... ");
  EXPECT_EQ(messages_.texts,
            (std::vector<std::string>{UndoQuestion("格式化"),
                                      " 動作已進行到不能停止的地方, 已讓它做完. "}));
  EXPECT_EQ(Slot1(), before) << "put back whole";
  EXPECT_EQ(Captions(kPaneSlot1).size(), 3u);
}

TEST_F(UndoTest, NoLeavesTheCardAsItIs) {
  StartLoaded(ThreeSaves(), CardBuilder());
  Format();
  const std::vector<std::uint8_t> formatted = Slot1();
  messages_.answers = {false};
  form().UndoSlot1->trigger();
  EXPECT_EQ(Slot1(), formatted);
}

// The history lists the three commands, newest first; its button puts the card back as it
// was before the chosen one, which undoes every command after it too.
TEST_F(UndoTest, TheHistoryListsTheCommandsAndRestoresBeforeTheChosenOne) {
  StartLoaded(ThreeSaves(), CardBuilder());
  const std::vector<std::uint8_t> before = Slot1();
  const std::vector<std::string> captions = Captions(kPaneSlot1);
  Format();
  ReplaceSame();
  RestoreImage();
  EXPECT_EQ(HistoryRows(kPaneSlot1), (std::vector<Row>{{"3", "上載 whole.dcm", "", "完成"},
                                                       {"2", "加上", "SAME", "完成"},
                                                       {"1", "格式化", "", "完成"}}));
  messages_.texts.clear();
  messages_.answers = {true};
  std::vector<Row> after;
  DialogScript script({{"CardHistoryWindow", "RestoreBtn"}, {"CardHistoryWindow", "CloseBtn"}});
  int opened = 0;
  script.on_each_open = [&] {
    CardHistoryWindow& window = *form().CardHistory;
    if (opened++ == 0) {
      ASSERT_EQ(window.HistoryList->topLevelItemCount(), 3);
      window.HistoryList->topLevelItem(2)->setSelected(true);  // the format
      return;
    }
    for (int i = 0; i < window.HistoryList->topLevelItemCount(); ++i) {
      after.push_back({Text(window.HistoryList->topLevelItem(i)->text(2))});
    }
  };
  form().HistorySlot1->trigger();
  EXPECT_EQ(messages_.texts, std::vector<std::string>{UndoQuestion("格式化")});
  EXPECT_EQ(Slot1(), before);
  EXPECT_EQ(Captions(kPaneSlot1), captions);
  // The list was read again: the restore is itself a command that can be undone.
  ASSERT_EQ(after.size(), 4u);
  EXPECT_EQ(after.front(), Row{"復原 1-3"});
}

TEST_F(UndoTest, AnEmptyHistoryCannotRestore) {
  StartLoaded(ThreeSaves(), CardBuilder());
  bool restore_enabled = true;
  EXPECT_EQ(HistoryRows(kPaneSlot2,
                        [&](CardHistoryWindow& window) {
                          restore_enabled = window.RestoreBtn->isEnabled();
                          EXPECT_EQ(Text(window.CardLabel->text()),
                                    " 插槽 2 的記憶卡 沒有變更記錄. ");
                        }),
            std::vector<Row>{});
  EXPECT_FALSE(restore_enabled);
}

// Refused undos say why and write nothing.
TEST_F(UndoTest, NothingRecordedIsSaid) {
  StartLoaded(ThreeSaves(), CardBuilder());
  const std::vector<std::uint8_t> before = Slot1();
  form().UndoSlot1->trigger();
  EXPECT_EQ(messages_.texts, std::vector<std::string>{" 這張記憶卡沒有可以復原的動作. "});
  EXPECT_EQ(Slot1(), before);
}

TEST_F(UndoTest, ACardChangedSinceIsRefusedNamingTheBlocks) {
  StartLoaded(ThreeSaves(), CardBuilder());
  Format();
  // Another program writes the directory without a journal.
  WriteOutsideTheWindow(form().Slot1Card, nullptr, [&] {
    Block noise;
    noise.fill(0x5A);
    ASSERT_TRUE(WriteBlock(form().Slot1Card, kDirectoryBlock, noise));
  });
  const std::vector<std::uint8_t> changed = Slot1();
  const std::uint64_t writes = unit().Counters().block_writes;
  messages_.texts.clear();
  messages_.answers = {true};
  form().UndoSlot1->trigger();
  EXPECT_EQ(messages_.texts,
            (std::vector<std::string>{UndoQuestion("格式化"),
                                      " 記憶卡在那個動作之後已被改變 (區塊 253), 沒有復原. "}));
  EXPECT_EQ(Slot1(), changed);
  EXPECT_EQ(unit().Counters().block_writes, writes);
}

TEST_F(UndoTest, ADamagedJournalIsReportedAndNeverApplied) {
  StartLoaded(ThreeSaves(), CardBuilder());
  Format();
  CardKey key = 0;
  OwnLook([&] { CardJournal(form().Slot1Card, form().journal(), &key); });
  const std::filesystem::path file = form().journal().FileOf(key);
  std::filesystem::resize_file(file, std::filesystem::file_size(file) - 100);
  const std::vector<std::uint8_t> formatted = Slot1();
  messages_.texts.clear();
  form().UndoSlot1->trigger();
  EXPECT_EQ(messages_.texts, std::vector<std::string>{" 這張記憶卡的變更記錄已損壞, 不會被使用. "});
  EXPECT_EQ(Slot1(), formatted);
  // The history window is not opened on it either.
  messages_.texts.clear();
  form().HistorySlot1->trigger();
  EXPECT_EQ(messages_.texts, std::vector<std::string>{" 這張記憶卡的變更記錄已損壞, 不會被使用. "});
}

// Two cards alike (same root) share a journal file; the command recorded on one is not
// undone on the other.
TEST_F(UndoTest, AnEqualCardInTheOtherSlotIsNotUndone) {
  StartLoaded(ThreeSaves(), ThreeSaves());
  Select(kPaneSlot1, {0});
  messages_.answers = {true};
  form().SLOT1DELSEL1Click();
  const std::vector<std::uint8_t> slot2 = ReadFile(CardPath("slot2.dcm"));
  messages_.texts.clear();
  messages_.answers = {true};
  form().UndoSlot2->trigger();
  ASSERT_EQ(messages_.texts.size(), 2u);
  EXPECT_TRUE(messages_.texts[1].starts_with(" 記憶卡在那個動作之後已被改變 (區塊 "))
      << messages_.texts[1];
  EXPECT_EQ(ReadFile(CardPath("slot2.dcm")), slot2);
}

// The journal folder cannot be written: the command stops before it writes, and the window
// shows the card layer's reason.
TEST_F(UndoTest, AJournalThatCannotBeWrittenStopsTheCommandBeforeItWrites) {
  StartLoaded(ThreeSaves(), CardBuilder());
  const std::filesystem::path folder = JournalFolderIn(form().WorkDir);
  std::filesystem::remove_all(folder);
  std::ofstream(folder) << "not a folder";
  const std::vector<std::uint8_t> before = Slot1();
  const std::uint64_t writes = unit().Counters().block_writes;
  Format();
  ASSERT_EQ(messages_.texts.size(), 2u);
  EXPECT_TRUE(messages_.texts[1].starts_with(" 無法寫入變更記錄 (")) << messages_.texts[1];
  EXPECT_EQ(Slot1(), before);
  EXPECT_EQ(unit().Counters().block_writes, writes);
  EXPECT_FALSE(wait_->isVisible());
}

TEST_F(UndoTest, WithTheJournalSwitchedOffNothingIsRecorded) {
  StartLoaded(ThreeSaves(), CardBuilder());
  settings_.journal = 0;
  form().ApplyJournalSettings();
  Format();
  messages_.texts.clear();
  form().UndoSlot1->trigger();
  EXPECT_EQ(messages_.texts, std::vector<std::string>{" 這張記憶卡沒有可以復原的動作. "});
  EXPECT_FALSE(std::filesystem::exists(JournalFolderIn(form().WorkDir)));
}

TEST_F(UndoTest, TheItemsFollowTheirPane) {
  StartTwoSlot(ThreeSaves(), std::nullopt);
  Detect();
  form().Refresh_Slot1Click();
  form().PaneTick();
  EXPECT_TRUE(form().UndoSlot1->isEnabled());
  EXPECT_TRUE(form().HistorySlot1->isEnabled());
  EXPECT_FALSE(form().UndoSlot2->isEnabled());
  EXPECT_FALSE(form().HistorySlot2->isEnabled());
  EXPECT_FALSE(form().UndoImage->isEnabled());
  EXPECT_FALSE(form().HistoryImage->isEnabled());
  // Triggered anyway (a shortcut, a stale menu): nothing happens without a card.
  messages_.texts.clear();
  form().UndoLastCommand(kPaneSlot2);
  form().ShowCardHistory(kPaneImage);
  EXPECT_TRUE(messages_.texts.empty());
}

// The image pane: the card is named by its file.
TEST_F(UndoTest, AnImageIsPutBackAndNamedByItsFile) {
  StartLoaded(ThreeSaves(), CardBuilder(), ThreeSaves());
  const std::vector<std::uint8_t> before = ReadFile(CardPath("image.dcm"));
  messages_.answers = {true};
  form().FormatPane(kPaneImage, 200);
  ASSERT_NE(ReadFile(CardPath("image.dcm")), before);
  messages_.texts.clear();
  messages_.answers = {true};
  form().UndoImage->trigger();
  EXPECT_EQ(messages_.texts,
            std::vector<std::string>{" 要把 檔案 " + CardPath("image.dcm").string() +
                                     " 復原到 「格式化」 之前的狀態嗎? "});
  EXPECT_EQ(ReadFile(CardPath("image.dcm")), before);
}

// On a paged card the journal and the question name the page the pane shows.
TEST_F(UndoTest, APagedCardIsNamedByItsPage) {
  StartPaged(4, ThreeSaves());
  Detect();
  form().Refresh_Slot1Click();
  form().PaneTick();
  ASSERT_TRUE(form().Slot1Loaded);
  const std::string page = std::to_string(form().ShownPage);
  Format();
  JournalFile history;
  OwnLook([&] { history = CardJournal(form().Slot1Card, form().journal()); });
  ASSERT_EQ(history.entries.size(), 1u);
  EXPECT_EQ(history.entries[0].source, "page " + page);
  messages_.texts.clear();
  messages_.answers = {false};
  form().UndoSlot1->trigger();
  EXPECT_EQ(messages_.texts,
            std::vector<std::string>{" 要把 第 " + page +
                                     " 頁的記憶卡 復原到 「格式化」 之前的狀態嗎? "});
}

// A run of the program that died in the middle of a command: its record has no end mark.
class InterruptedTest : public UndoTest {
 protected:
  void Interrupt() {
    Journal died{{.folder = JournalFolderIn(form().WorkDir)}};
    WriteOutsideTheWindow(form().Slot1Card, &died, [&] {
      std::string error;
      ASSERT_TRUE(
          died.Begin(form().Slot1Card, {"restore", {}, CommandScale::kWholeCard}, {}, error))
          << error;
      Block noise;
      noise.fill(0xA5);
      for (int block : {3, 198, int{kFatBlock}}) {
        ASSERT_TRUE(WriteBlock(form().Slot1Card, static_cast<std::uint8_t>(block), noise));
      }
    });
  }  // gone without its end mark

  const std::string question_ =
      " 插槽 1 的記憶卡 上次的動作 「上載」 沒有完成. 要把記憶卡復原到那個動作之前的狀態嗎? ";
};

TEST_F(InterruptedTest, IsOfferedWhenTheCardIsReadAndPutBackExactly) {
  StartLoaded(ThreeSaves(), CardBuilder());
  const std::vector<std::uint8_t> before = Slot1();
  const std::vector<std::string> captions = Captions(kPaneSlot1);
  Interrupt();
  ASSERT_NE(Slot1(), before);
  messages_.answers = {true};
  form().Refresh_Slot1Click();
  EXPECT_EQ(messages_.texts, std::vector<std::string>{question_});
  EXPECT_EQ(messages_.default_no, messages_.texts);
  EXPECT_EQ(Slot1(), before);
  EXPECT_EQ(Captions(kPaneSlot1), captions);
}

TEST_F(InterruptedTest, IsOfferedOncePerRun) {
  StartLoaded(ThreeSaves(), CardBuilder());
  const std::vector<std::uint8_t> before = Slot1();
  Interrupt();
  const std::vector<std::uint8_t> interrupted = Slot1();
  messages_.answers = {false};
  form().Refresh_Slot1Click();
  form().Refresh_Slot1Click();
  EXPECT_EQ(messages_.texts, std::vector<std::string>{question_});
  EXPECT_EQ(Slot1(), interrupted);
  // It can still be undone from the menu.
  messages_.texts.clear();
  messages_.answers = {true};
  form().UndoSlot1->trigger();
  EXPECT_EQ(messages_.texts, std::vector<std::string>{UndoQuestion("上載")});
  EXPECT_EQ(Slot1(), before);
}

// The window's own commands end their record before the pane is read again: nothing is
// offered after them, and an image opened with such a record is offered too.
TEST_F(InterruptedTest, IsNotOfferedAfterTheWindowsOwnCommandsButWhenAnImageIsOpened) {
  StartLoaded(ThreeSaves(), CardBuilder());
  Format();
  messages_.texts.clear();
  form().Refresh_Slot1Click();
  EXPECT_TRUE(messages_.texts.empty());

  const std::filesystem::path image = WriteCard("died.dcm", ThreeSaves().Add(Data("MORE", 2)));
  const std::vector<std::uint8_t> before = ReadFile(image);
  {
    Journal died{{.folder = JournalFolderIn(form().WorkDir)}};
    CardEnvironment env;
    env.journal = &died;
    CardImage card{kSourceImage, &env};
    ASSERT_TRUE(OpenImageFile(card, image.string()));
    std::string error;
    ASSERT_TRUE(died.Begin(card, {"delete", {"MORE"}}, {}, error)) << error;
    Block noise;
    noise.fill(0x11);
    ASSERT_TRUE(WriteBlock(card, kFatBlock, noise));
  }
  chooser_.answer = Q(image);
  messages_.answers = {true};
  form().LOADDCMfile1Click();
  ASSERT_FALSE(messages_.texts.empty());
  EXPECT_EQ(messages_.texts.back(), " 檔案 " + image.string() +
                                        " 上次的動作 「刪除 MORE」 沒有完成. "
                                        "要把記憶卡復原到那個動作之前的狀態嗎? ");
  EXPECT_EQ(ReadFile(image), before);
}

// The new window and the menu, looked at: no column title is cut, every item of the menu is
// wide enough for its text. QUORVEL_SCREENSHOTS=DIR keeps the pictures.
TEST_F(UndoTest, TheHistoryWindowAndTheMenuShowTheirTextsWhole) {
  StartLoaded(ThreeSaves(), CardBuilder());
  Format();
  ReplaceSame();
  const char* keep = std::getenv("QUORVEL_SCREENSHOTS");
  HistoryRows(kPaneSlot1, [&](CardHistoryWindow& window) {
    QHeaderView* header = window.HistoryList->header();
    for (int column = 0; column < header->count(); ++column) {
      const QString title = window.HistoryList->headerItem()->text(column);
      EXPECT_GE(header->sectionSize(column), QFontMetrics(header->font()).horizontalAdvance(title))
          << title.toStdString();
    }
    for (int row = 0; row < window.HistoryList->topLevelItemCount(); ++row) {
      const QTreeWidgetItem* item = window.HistoryList->topLevelItem(row);
      EXPECT_GE(header->sectionSize(1),
                QFontMetrics(window.HistoryList->font()).horizontalAdvance(item->text(1)));
    }
    if (keep) window.grab().save(QString(keep) + "/card_history_window.png");
  });
  QMenu* menu = form().PopupMenu1;
  menu->popup(form().mapToGlobal(QPoint(40, 40)));
  for (QAction* item : {form().UndoSlot1, form().HistorySlot1}) {
    EXPECT_GE(menu->actionGeometry(item).width(),
              QFontMetrics(menu->font()).horizontalAdvance(item->text()));
  }
  if (keep) menu->grab().save(QString(keep) + "/slot1_menu.png");
  menu->hide();
}

}  // namespace
}  // namespace quorvel::test
