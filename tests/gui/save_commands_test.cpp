// Tests of the selected-save, copy-to and delete dialogs and the commands behind them: the
// dialogs' texts and targets, double-click and keys, copy with the replace questions, delete
// and format, and the messages of a copy that finds no room.
#include <QApplication>
#include <QKeyEvent>
#include <QStyle>
#include <QTimer>
#include <deque>

#include "card/block_io.h"
#include "card/card_check.h"
#include "card/file_system.h"
#include "gui/dialog_script.h"
#include "gui/tcopyform.h"
#include "gui/tdelete_form.h"
#include "gui/tsave_sel_form.h"
#include "gui/window_fixture.h"
#include "support/card_files.h"

namespace quorvel::test {
namespace {

class SaveCommandsTest : public WindowTest {
 protected:
  void SetUp() override {
    WindowTest::SetUp();
    WriteQuickConfig();
  }
  void TearDown() override {
    copy_.reset();
    delete_.reset();
    save_sel_.reset();
    WindowTest::TearDown();
  }

  void StartLoaded(const CardBuilder& slot1, const CardBuilder& slot2,
                   const std::optional<CardBuilder>& image = std::nullopt) {
    WindowTest::StartLoaded(slot1, slot2, image);
    Attach();
  }
  // As the program attaches them: built when a save is first opened.
  void Attach() {
    form().AttachSaveDialogs(std::function<TSave_sel_Form*()>([this] {
                               save_sel_ = std::make_unique<TSave_sel_Form>(&form());
                               return save_sel_.get();
                             }),
                             std::function<TDelete_Form*()>([this] {
                               delete_ = std::make_unique<TDelete_Form>(&form());
                               return delete_.get();
                             }),
                             std::function<TcopyForm*()>([this] {
                               copy_ = std::make_unique<TcopyForm>(&form());
                               return copy_.get();
                             }));
  }
  void Key(int pane, int key) {
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
    QApplication::sendEvent(form().ListView(pane), &press);
  }

  std::unique_ptr<TSave_sel_Form> save_sel_;
  std::unique_ptr<TDelete_Form> delete_;
  std::unique_ptr<TcopyForm> copy_;
};

SaveSpec Data(const std::string& name, int blocks = 1) {
  return {.name = name, .blocks = blocks, .icons = 1};
}

TEST(SaveDialogsTest, CaptionsHintsAndResults) {
  EnsureApplication();
  TSave_sel_Form sel;
  EXPECT_EQ(sel.windowTitle().toStdString(), "單元選取...");
  EXPECT_EQ(sel.Label2->text().toStdString(), "已選單元");
  EXPECT_EQ(sel.BitBtn1->text().toStdString(), "複製到...");
  EXPECT_EQ(sel.BitBtn1->toolTip().toStdString(),
            "已選的單元可以任意複製到其他記憶卡,\n或已開啟的 DCM 檔案");
  EXPECT_EQ(sel.BitBtn5->toolTip().toStdString(), "將已選單元的代表圖示另儲到 BMP 檔案");
  EXPECT_EQ(sel.BitBtn4->toolTip().toStdString(), "將已選單元另存到一個 DCI 檔案");
  EXPECT_EQ(sel.BitBtn3->text().toStdString(), "返回");
  const std::pair<QPushButton*, int> codes[] = {
      {sel.BitBtn1, 2}, {sel.BitBtn2, 1}, {sel.BitBtn5, 4}, {sel.BitBtn4, 3}, {sel.BitBtn3, 0}};
  for (const auto& [button, code] : codes) {
    DialogScript script({{"Save_sel_Form", button->objectName().toStdString()}});
    EXPECT_EQ(sel.Ask(), code) << button->objectName().toStdString();
  }
  sel.Result = 9;
  QTimer::singleShot(0, &sel, [&sel] { sel.reject(); });
  EXPECT_EQ(sel.Ask(), 0) << "closing by other means leaves the preset 0";

  TDelete_Form del;
  EXPECT_EQ(del.windowTitle().toStdString(), "刪除單元...");
  EXPECT_EQ(del.Label1->text().toStdString(), "刪除單元");
  EXPECT_EQ(del.BitBtn1->text().toStdString(), "確認");
  EXPECT_EQ(del.BitBtn2->text().toStdString(), "取消");

  TcopyForm copy;
  EXPECT_EQ(copy.windowTitle().toStdString(), "複製到...");
  EXPECT_EQ(copy.Label1->text().toStdString(), "複製到...");
  EXPECT_EQ(copy.BitBtn3->text().toStdString(), "取消");

  // The buttons' icons, read only when first drawn, are the style's own pictures.
  const std::pair<QPushButton*, QStyle::StandardPixmap> icons[] = {
      {sel.BitBtn1, QStyle::SP_ArrowRight},
      {sel.BitBtn2, QStyle::SP_TrashIcon},
      {sel.BitBtn4, QStyle::SP_DialogSaveButton},
      {del.BitBtn1, QStyle::SP_DialogApplyButton},
      {copy.BitBtn3, QStyle::SP_DialogCancelButton}};
  for (const auto& [button, which] : icons) {
    EXPECT_FALSE(button->icon().isNull());
    for (const int size : {16, 32}) {
      EXPECT_EQ(button->icon().pixmap(size, size).toImage(),
                sel.style()->standardIcon(which).pixmap(size, size).toImage())
          << button->objectName().toStdString() << " at " << size;
    }
  }
}

TEST(SaveDialogsTest, CopyTargetsPerSourcePane) {
  EnsureApplication();
  TcopyForm copy;
  copy.SetTargets(0, true, true, false);
  EXPECT_EQ(copy.BitBtn1->text().toStdString(), " 插槽2");
  EXPECT_TRUE(copy.BitBtn1->isEnabled());
  EXPECT_EQ(copy.BitBtn2->text().toStdString(), " 檔案");
  EXPECT_FALSE(copy.BitBtn2->isEnabled()) << "no image open";
  copy.SetTargets(1, false, true, true);
  EXPECT_EQ(copy.BitBtn1->text().toStdString(), " 插槽1");
  EXPECT_FALSE(copy.BitBtn1->isEnabled());
  EXPECT_EQ(copy.BitBtn2->text().toStdString(), " 檔案");
  EXPECT_TRUE(copy.BitBtn2->isEnabled());
  copy.SetTargets(2, true, false, true);
  EXPECT_EQ(copy.BitBtn1->text().toStdString(), " 插槽1");
  EXPECT_TRUE(copy.BitBtn1->isEnabled());
  EXPECT_EQ(copy.BitBtn2->text().toStdString(), " 插槽2");
  EXPECT_FALSE(copy.BitBtn2->isEnabled());
  EXPECT_EQ(TcopyForm::TargetPane(0, 2), kPaneImage);
  EXPECT_EQ(TcopyForm::TargetPane(1, 1), kPaneSlot1);
  EXPECT_EQ(TcopyForm::TargetPane(2, 2), kPaneSlot2);
  EXPECT_EQ(TcopyForm::TargetPane(2, 0), std::nullopt);
}

TEST_F(SaveCommandsTest, DoubleClickWithTwoRowsInSlotOneDoesNothing) {
  StartLoaded(CardBuilder().Add(Data("AAA")).Add(Data("BBB")),
              CardBuilder().Add(Data("CCC")).Add(Data("DDD")));
  Select(kPaneSlot1, {0, 1});
  DialogScript none{};
  form().Card1ListViewDblClick();
  EXPECT_TRUE(none.shown.empty());
  EXPECT_EQ(save_sel_, nullptr) << "no save opened, no dialog built";

  Select(kPaneSlot2, {0, 1});
  DialogScript back({{"Save_sel_Form", "BitBtn3"}});
  form().Card2ListViewDblClick();
  EXPECT_EQ(back.shown, std::vector<std::string>{"Save_sel_Form"});
  EXPECT_EQ(Text(save_sel_->Label3->text()), "CCC            1999/10/27   04:54:52");
  EXPECT_EQ(Text(copy_->Label2->text()), "CCC         ");
  EXPECT_EQ(Text(delete_->Label3->text()), "1999/10/27   04:54:52");
  EXPECT_EQ(Text(copy_->BitBtn1->text()), " 插槽1");
  EXPECT_FALSE(copy_->BitBtn2->isEnabled()) << "no image open";
}

TEST_F(SaveCommandsTest, TheSelectedSaveDialogShowsTheWholeDescription) {
  // Both description fields full to their last byte, without a blank to break them at.
  const std::string card_text = "ABCDEFGHIJKLMNOP";
  const std::string menu_text = std::string(31, 'W') + "Z";
  StartLoaded(CardBuilder().Add({.name = "LONG", .icons = 1, .description = card_text + menu_text}),
              CardBuilder().Add(Data("SHORT")));
  for (const int pane : {kPaneSlot1, kPaneSlot2}) {
    Select(pane, {0});
    DialogScript script({{"Save_sel_Form", "BitBtn3"}});
    form().PaneDblClick(pane);
    ASSERT_EQ(script.shown.size(), 1u);
    const QStringList lines = save_sel_->Label1->text().split('\n');
    if (pane == kPaneSlot1) {
      EXPECT_EQ(lines, QStringList(
                           {QString::fromStdString(card_text), QString::fromStdString(menu_text)}));
    } else {
      EXPECT_EQ(lines, QStringList({"Test save SHORT"})) << "an empty menu text takes no line";
    }
    // Every line and the name and stamp fit their labels, the labels fit the dialog, and the
    // buttons stand below the texts.
    const QFontMetrics metrics = save_sel_->Label1->fontMetrics();
    for (const QString& line : lines) {
      EXPECT_LE(metrics.horizontalAdvance(line), save_sel_->Label1->width()) << Text(line);
    }
    EXPECT_GE(save_sel_->Label1->height(), metrics.height() * lines.size());
    EXPECT_LE(save_sel_->Label3->fontMetrics().horizontalAdvance(save_sel_->Label3->text()),
              save_sel_->Label3->width());
    EXPECT_GE(save_sel_->Label3->y(), save_sel_->Label1->geometry().bottom());
    for (QWidget* widget :
         {static_cast<QWidget*>(save_sel_->Label1), static_cast<QWidget*>(save_sel_->Label3)}) {
      EXPECT_TRUE(save_sel_->rect().contains(widget->geometry())) << Text(widget->objectName());
    }
    for (QPushButton* button : {save_sel_->BitBtn1, save_sel_->BitBtn2, save_sel_->BitBtn3,
                                save_sel_->BitBtn4, save_sel_->BitBtn5}) {
      EXPECT_GT(button->y(), save_sel_->Label3->geometry().bottom());
      EXPECT_TRUE(save_sel_->rect().contains(button->geometry())) << Text(button->objectName());
    }
  }
}

TEST_F(SaveCommandsTest, EnterActsAsDoubleClickAndTimer3WaitsForTheDialogs) {
  StartLoaded(CardBuilder().Add(Data("AAA")), CardBuilder());
  ASSERT_TRUE(form().Timer3->isActive());
  Select(kPaneSlot1, {0});
  DialogScript script({{"Save_sel_Form", "BitBtn3"}});
  bool timer_ran = true;
  script.on_each_open = [&] { timer_ran = form().Timer3->isActive(); };
  Key(kPaneSlot1, Qt::Key_Return);
  EXPECT_EQ(script.shown, std::vector<std::string>{"Save_sel_Form"});
  EXPECT_FALSE(timer_ran);
  EXPECT_TRUE(form().Timer3->isActive()) << "re-armed with AutoRefresh = 1";
}

TEST_F(SaveCommandsTest, CopyOntoTheSameNameAnsweredNoThenYes) {
  StartLoaded(CardBuilder().Add(Data("SAME", 2)), CardBuilder().Add(Data("SAME", 5)));
  Select(kPaneSlot1, {0});
  messages_.yes = false;
  {
    DialogScript script({{"Save_sel_Form", "BitBtn1"}, {"copyForm", "BitBtn1"}});
    form().Card1ListViewDblClick();
  }
  EXPECT_EQ(messages_.texts,
            std::vector<std::string>{" 檔案 SAME         己存在,是否要取代它嗎? "});
  EXPECT_EQ(messages_.default_no, messages_.texts) << "Enter alone replaces nothing";
  EXPECT_EQ(form().Slot2Card.records[0].size, 5) << "No leaves slot 2 as it was";

  messages_.texts.clear();
  messages_.yes = true;
  Select(kPaneSlot1, {0});
  {
    DialogScript script({{"Save_sel_Form", "BitBtn1"}, {"copyForm", "BitBtn1"}});
    form().Card1ListViewDblClick();
  }
  EXPECT_EQ(messages_.texts.size(), 1u);
  ASSERT_EQ(Captions(kPaneSlot2).size(), 1u);
  const SaveRecord& copied = form().Slot2Card.records[form().Slot2Card.list_order[0]];
  EXPECT_EQ(copied.size, 2) << "replaced by slot 1's save";
  EXPECT_EQ(Reloaded(form().Slot2Card), std::vector<std::string>{});
  EXPECT_EQ(form().Slot1Card.listed_count, 1) << "copy keeps the source";
}

TEST_F(SaveCommandsTest, FromTheImageToSlotTwoTheQuestionSaysSave) {
  StartLoaded(CardBuilder().Add(Data("GAME")), CardBuilder().Add(Data("GAME")),
              CardBuilder().Add(Data("GAME", 3)));
  Select(kPaneImage, {0});
  messages_.yes = false;
  {
    DialogScript script({{"Save_sel_Form", "BitBtn1"}, {"copyForm", "BitBtn2"}});
    form().FileListViewDblClick();
  }
  Select(kPaneImage, {0});
  {
    DialogScript script({{"Save_sel_Form", "BitBtn1"}, {"copyForm", "BitBtn1"}});
    form().FileListViewDblClick();
  }
  EXPECT_EQ(messages_.texts,
            (std::vector<std::string>{" 儲存 GAME         己存在,是否要取代它嗎? ",
                                      " 檔案 GAME         己存在,是否要取代它嗎? "}));
}

TEST_F(SaveCommandsTest, AReplacementThatCannotFitKeepsTheOldSave) {
  StartLoaded(CardBuilder().Add(Data("SAME", 20)),
              CardBuilder().Add(Data("SAME", 2)).Add(Data("FILL", 190)));
  const std::vector<std::uint8_t> slot2 = testing::ReadFile(CardPath("slot2.dcm"));
  Select(kPaneSlot1, {0});
  {
    DialogScript script({{"Save_sel_Form", "BitBtn1"}, {"copyForm", "BitBtn1"}});
    form().Card1ListViewDblClick();
  }
  EXPECT_EQ(messages_.texts, (std::vector<std::string>{" 檔案 SAME         己存在,是否要取代它嗎? ",
                                                       " 檔案 SAME         不能複製: 空間不足."}));
  EXPECT_EQ(testing::ReadFile(CardPath("slot2.dcm")), slot2);
  EXPECT_EQ(Captions(kPaneSlot2), (std::vector<std::string>{"2", "190"}));
}

TEST_F(SaveCommandsTest, CopyIntoTheImageAndAFullCardSaysWhy) {
  StartLoaded(CardBuilder().Add(Data("BIG", 150)).Add(Data("SMALL", 2)),
              CardBuilder().Add(Data("FILL", 100)), CardBuilder());
  Select(kPaneSlot1, {0});
  {
    DialogScript script({{"Save_sel_Form", "BitBtn1"}, {"copyForm", "BitBtn2"}});
    form().Card1ListViewDblClick();
  }
  EXPECT_EQ(Captions(kPaneImage).size(), 1u);
  EXPECT_EQ(Reloaded(form().FileCard), std::vector<std::string>{});
  EXPECT_TRUE(messages_.texts.empty());

  Select(kPaneSlot1, {0});
  {
    DialogScript script({{"Save_sel_Form", "BitBtn1"}, {"copyForm", "BitBtn1"}});
    form().Card1ListViewDblClick();
  }
  EXPECT_EQ(messages_.texts, std::vector<std::string>{" 檔案 BIG          不能複製: 空間不足."});
  EXPECT_EQ(Captions(kPaneSlot2).size(), 1u);
}

TEST_F(SaveCommandsTest, DeleteFromTheDialogAndWithTheDeleteKey) {
  StartLoaded(CardBuilder().Add(Data("ONE")).Add(Data("TWO", 2)).Add(Data("THREE", 3)),
              CardBuilder());
  Select(kPaneSlot1, {1});
  {
    DialogScript script({{"Save_sel_Form", "BitBtn2"}, {"Delete_Form", "BitBtn2"}});
    form().Card1ListViewDblClick();
  }
  EXPECT_EQ(form().Slot1Card.listed_count, 3) << "cancelled";
  Select(kPaneSlot1, {1});
  {
    DialogScript script({{"Save_sel_Form", "BitBtn2"}, {"Delete_Form", "BitBtn1"}});
    form().Card1ListViewDblClick();
  }
  EXPECT_EQ(form().Slot1Card.listed_count, 2);
  EXPECT_EQ(Reloaded(form().Slot1Card), std::vector<std::string>{});

  Select(kPaneSlot1, {0, 1});
  messages_.yes = false;
  Key(kPaneSlot1, Qt::Key_Delete);
  EXPECT_EQ(messages_.texts, std::vector<std::string>{" 確定刪除這檔案嗎? "});
  EXPECT_EQ(messages_.default_no, messages_.texts) << "Enter alone deletes nothing";
  EXPECT_EQ(form().Slot1Card.listed_count, 2);
  messages_.yes = true;
  Key(kPaneSlot1, Qt::Key_Delete);
  EXPECT_EQ(form().Slot1Card.listed_count, 0);
  EXPECT_EQ(form().Slot1Card.free_blocks, 200);
  EXPECT_EQ(Reloaded(form().Slot1Card), std::vector<std::string>{});
}

// Names are bytes of the card's own text encoding: a question shows them as the pane does.
TEST_F(SaveCommandsTest, QuestionsShowSaveNamesAsThePanesDo) {
  StartLoaded(CardBuilder().Add(Data("\xC9T\xC9", 2)), CardBuilder().Add(Data("\xC9T\xC9", 5)));
  Select(kPaneSlot1, {0});
  messages_.yes = false;
  {
    DialogScript script({{"Save_sel_Form", "BitBtn1"}, {"copyForm", "BitBtn1"}});
    form().Card1ListViewDblClick();
  }
  EXPECT_EQ(messages_.texts,
            std::vector<std::string>{" 檔案 \u00C9T\u00C9          己存在,是否要取代它嗎? "});
}

TEST_F(SaveCommandsTest, FormatAsksTheLongQuestionAbove200Blocks) {
  StartLoaded(CardBuilder().Add(Data("ONE")), CardBuilder());
  form().N2411->trigger();
  EXPECT_EQ(messages_.texts, std::vector<std::string>{
                                 " 全部刪除? (Over 200 blocks is ONLY for Kestra memory card)."});
  EXPECT_EQ(form().Slot1Card.free_blocks, 241);
  EXPECT_EQ(form().Slot1Card.listed_count, 0);
  messages_.texts.clear();
  form().N200Blocks1->trigger();
  EXPECT_EQ(messages_.texts, std::vector<std::string>{" 全部刪除? "});
  EXPECT_EQ(messages_.default_no.size(), 2u)
      << "both format questions: Enter alone formats nothing";
  EXPECT_EQ(form().Slot2Card.free_blocks, 200);
  messages_.texts.clear();
  form().N200Blocks2->trigger();
  EXPECT_TRUE(messages_.texts.empty()) << "no image open: nothing asked";
}

}  // namespace
}  // namespace quorvel::test
