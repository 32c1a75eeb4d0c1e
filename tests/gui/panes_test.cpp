// The panes after a refresh: the selected-save panel, multiple-selection totals, greying of
// a pane whose refresh failed, the disassembly button and the header sizes.
#include <QApplication>
#include <QKeyEvent>

#include "card/block_io.h"
#include "gui/win_colors.h"
#include "gui/window_fixture.h"
#include "support/card_files.h"

namespace quorvel::test {
namespace {

class PanesTest : public WindowTest {
 protected:
  void SetUp() override {
    WindowTest::SetUp();
    WriteQuickConfig();
  }
};

TEST_F(PanesTest, SelectingOneSaveInSlotTwoShowsIt) {
  StartTwoSlot(CardBuilder(), CardBuilder()
                                  .Add({.name = "FIRST", .blocks = 2, .icons = 1})
                                  .Add({.name = "RACER",
                                        .blocks = 3,
                                        .icons = 1,
                                        .stamp = {0x19, 0x99, 0x12, 0x31, 0x23, 0x59, 0x58}}));
  Detect();
  form().refresh_slot2Click();
  ASSERT_EQ(Captions(kPaneSlot2).size(), 2u);
  EXPECT_EQ(form().Panel2->y(), TForm1::kPanel2Parked);
  pauses_.clear();

  Select(kPaneSlot2, {1});
  form().Card2ListViewClick();
  EXPECT_EQ(form().Panel2->y(), TForm1::kPanel2Home) << "slid in";
  EXPECT_EQ(pauses_, std::vector<int>(40, 2)) << "40 steps of 2 ms";
  EXPECT_EQ(Text(form().NamePanel->text()), " 插槽2 : RACER       ");
  EXPECT_EQ(Text(form().Label7->text()), "1999/12/31   23:59:58");
  EXPECT_EQ(form().SelectedName, "RACER       ");
  EXPECT_EQ(form().SelectedSlot, 1);
  EXPECT_EQ(form().SelectedImage, &form().Slot2Card);
  EXPECT_FALSE(form().Image2->pixmap().isNull());
  EXPECT_FALSE(form().AsmBtn->isEnabled()) << "a data save";

  pauses_.clear();
  form().Card2ListView->clearSelection();
  form().Card2ListViewClick();
  EXPECT_EQ(form().Panel2->y(), TForm1::kPanel2Parked);
  EXPECT_EQ(pauses_, std::vector<int>(41, 2));
  EXPECT_EQ(Text(form().NamePanel->text()), " 沒有選擇單元");
  EXPECT_TRUE(form().SelectedName.empty());
  EXPECT_EQ(form().SelectedImage, nullptr);
}

TEST_F(PanesTest, EveryIconHasATooltipWithTheSavesTexts) {
  const std::string both = std::string("CARD TEXT") + std::string(7, ' ') + "Console menu text";
  StartLoaded(CardBuilder().Add({.name = "FIRST", .blocks = 2, .icons = 1, .description = both}),
              CardBuilder().Add({.name = "GAME",
                                 .blocks = 5,
                                 .icons = 1,
                                 .game = true,
                                 .stamp = {0x20, 0x01, 0x02, 0x03, 0x04, 0x05, 0x06}}),
              CardBuilder().Add({.name = "IMAGED", .blocks = 3, .icons = 2}));
  EXPECT_EQ(Text(form().Card1ListView->item(0)->toolTip()),
            "單元名稱: FIRST\n記憶卡說明: CARD TEXT\n主機說明: Console menu text\n2 Blocks\n"
            "1999/10/27   04:54:52");
  EXPECT_EQ(Text(form().Card2ListView->item(0)->toolTip()),
            "單元名稱: GAME\n記憶卡說明: Test save GAME\n主機說明: \n5 Blocks\n"
            "2001/02/03   04:05:06");
  EXPECT_EQ(Text(form().FileListView->item(0)->toolTip()),
            "單元名稱: IMAGED\n記憶卡說明: Test save IMAGED\n主機說明: \n3 Blocks\n"
            "1999/10/27   04:54:52");
  // The animation changes the pictures, not the tooltips.
  Fire(form().Timer1);
  Fire(form().Timer1);
  EXPECT_EQ(Text(form().FileListView->item(0)->toolTip()).substr(0, 20), "單元名稱: IMAGED");
}

TEST_F(PanesTest, SlotOneNameText) {
  StartTwoSlot(CardBuilder().Add({.name = "ABCDEFGHIJKL", .icons = 1}), std::nullopt);
  form().Refresh_Slot1Click();
  Select(kPaneSlot1, {0});
  form().Card1ListViewClick();
  EXPECT_EQ(Text(form().NamePanel->text()), " 插槽1 : ABCDEFGHIJKL");
}

TEST_F(PanesTest, ThreeSelectedSavesInTheImagePaneShowTheirTotals) {
  const auto image = WriteCard("mine.dcm", CardBuilder()
                                               .Add({.name = "ONE", .blocks = 1, .icons = 1})
                                               .Add({.name = "TWO", .blocks = 2, .icons = 1})
                                               .Add({.name = "FIVE", .blocks = 5, .icons = 1}));
  StartNothing();
  ASSERT_TRUE(OpenImageFile(form().FileCard, image.string()));
  form().RefreshImage();
  Select(kPaneImage, {0});
  form().FileListViewClick();
  ASSERT_EQ(form().Panel2->y(), TForm1::kPanel2Home);
  EXPECT_EQ(Text(form().NamePanel->text()), "mine.dcm : ONE         ");

  Select(kPaneImage, {0, 1, 2});
  form().FileListViewClick();
  EXPECT_EQ(form().Panel2->y(), TForm1::kPanel2Parked) << "slid away";
  EXPECT_TRUE(form().Info1->isVisible());
  EXPECT_EQ(Text(form().Info1->text()), " 檔案: 3 已選擇");
  EXPECT_EQ(Text(form().Info2->text()), "8 Blocks 的總數");
  EXPECT_EQ(FontColor(form().Info2), 0x80A0D0u);

  Select(kPaneImage, {2});
  EXPECT_FALSE(form().Info1->isVisible());
  EXPECT_FALSE(form().Info2->isVisible());
  QApplication::setActiveWindow(&form());
  form().FileListView->setFocus();
  ASSERT_TRUE(form().FileListView->hasFocus());
  form().PaneTick();  // the tick shows the one save left selected
  EXPECT_EQ(form().Panel2->y(), TForm1::kPanel2Home);
  EXPECT_EQ(Text(form().NamePanel->text()), "mine.dcm : FIVE        ");
}

// Both slots say their counts with the same spacing.
TEST_F(PanesTest, SlotTotalsOfBothSlotsAreSpacedAlike) {
  StartTwoSlot(
      CardBuilder().Add({.name = "A", .blocks = 4, .icons = 1}).Add({.name = "B", .icons = 1}),
      CardBuilder().Add({.name = "C", .blocks = 6, .icons = 1}).Add({.name = "D", .icons = 1}));
  Detect();
  form().Refresh_Slot1Click();
  form().refresh_slot2Click();
  Select(kPaneSlot1, {0, 1});
  EXPECT_EQ(Text(form().Info1->text()), " 插槽1 : 2  已選擇");
  EXPECT_EQ(Text(form().Info2->text()), "5 Blocks 的總數 ");
  Select(kPaneSlot2, {0, 1});
  EXPECT_EQ(Text(form().Info1->text()), " 插槽2 : 2  已選擇");
  EXPECT_EQ(Text(form().Info2->text()), "7 Blocks 的總數 ");
}

TEST_F(PanesTest, FailedRefreshGreysThePaneWithinOneTick) {
  StartTwoSlot(CardBuilder().Add({.name = "GONE", .blocks = 2, .icons = 1}), std::nullopt);
  form().Refresh_Slot1Click();
  form().PaneTick();
  ASSERT_EQ(BackColor(form().Card1ListView), 0xABD1B0u);
  ASSERT_EQ(Captions(kPaneSlot1).size(), 1u);

  unit().RemoveCardAfter(0, 0);
  form().Refresh_Slot1Click();
  EXPECT_FALSE(form().Slot1Loaded);
  form().PaneTick();
  EXPECT_EQ(BackColor(form().Card1ListView), 0xBBBBBBu);
  EXPECT_EQ(FontColor(form().SLOT1), 0x808180u);
  EXPECT_TRUE(Captions(kPaneSlot1).empty());
  EXPECT_FALSE(form().SLOT1DELSEL1->isEnabled());
  EXPECT_FALSE(form().SpeedButton4->isEnabled());
}

TEST_F(PanesTest, DisassemblyOnlyForAGameWithoutPages) {
  const CardBuilder card = CardBuilder()
                               .Add({.name = "MINIGAME", .blocks = 4, .icons = 1, .game = true})
                               .Add({.name = "DATA", .blocks = 2, .icons = 1});
  StartTwoSlot(card, std::nullopt);
  form().Refresh_Slot1Click();
  Select(kPaneSlot1, {0});
  form().Card1ListViewClick();
  EXPECT_TRUE(form().AsmBtn->isEnabled());
  Select(kPaneSlot1, {1});
  form().Card1ListViewClick();
  EXPECT_FALSE(form().AsmBtn->isEnabled());
}

TEST_F(PanesTest, DisassemblyStaysOffOnAPagedCard) {
  StartPaged(2, CardBuilder().Add({.name = "MINIGAME", .blocks = 4, .icons = 1, .game = true}));
  Detect();
  form().Refresh_Slot1Click();
  ASSERT_EQ(Captions(kPaneSlot1).size(), 1u);
  Select(kPaneSlot1, {0});
  form().Card1ListViewClick();
  EXPECT_FALSE(form().AsmBtn->isEnabled());
}

TEST_F(PanesTest, PagePanelSlidesAndAChangedPageIsReadWhenItLeaves) {
  CardBuilder card;
  card.Add({.name = "PAGED", .blocks = 2, .icons = 1});
  StartPaged(4, card);
  Detect();
  form().Refresh_Slot1Click();
  ASSERT_EQ(form().ShownPage, 0);
  pauses_.clear();

  form().PagePanelIn();
  EXPECT_EQ(form().Panel3->x(), TForm1::kPanel3Shown);
  EXPECT_EQ(pauses_, std::vector<int>(33, 10));
  EXPECT_TRUE(form().Timer3->isActive()) << "a card of 4 pages keeps the automatic refresh";
  form().PageBox()->setValue(2);
  EXPECT_EQ(form().CurrentPage, 2);
  EXPECT_EQ(unit().Page(), 2);

  form().PagePanelOut();
  EXPECT_EQ(form().Panel3->x(), TForm1::kPanel3Parked);
  EXPECT_EQ(form().ShownPage, 2) << "the pane was read again for the new page";
  EXPECT_EQ(Text(form().MILFlashLabel1->text()), " 轉頁: 2");
  EXPECT_TRUE(messages_.texts.empty());
}

TEST_F(PanesTest, APageChangedUnderThePaneTakesNoCommandUntilItIsRead) {
  // Page 0 holds ALPHA, pages 1 to 3 hold BRAVO.
  const std::vector<std::uint8_t> first =
      CardBuilder().Add({.name = "ALPHA", .blocks = 3, .icons = 1}).LinkBytes();
  const std::vector<std::uint8_t> other =
      CardBuilder().Add({.name = "BRAVO", .blocks = 2, .icons = 1}).LinkBytes();
  std::vector<std::uint8_t> pages = first;
  for (int page = 1; page < 4; ++page) pages.insert(pages.end(), other.begin(), other.end());
  const std::filesystem::path path = root_ / "paged.bin";
  testing::WriteFile(path, pages);
  std::string error;
  std::unique_ptr<VirtualUnit> unit = VirtualUnit::Paged(path, error);
  ASSERT_TRUE(unit) << error;
  Start(std::move(unit));
  Detect();
  form().Refresh_Slot1Click();
  ASSERT_EQ(form().ShownPage, 0);
  ASSERT_EQ(form().Slot1Card.listed_count, 1);

  // The user steps to page 1 and, before the pane is read again, deletes the save it shows
  // and formats the card: page 0's directory and FAT must not be written over page 1.
  form().PageBox()->setValue(1);
  ASSERT_EQ(unit_->Page(), 1);
  messages_.yes = true;
  Select(kPaneSlot1, {0});
  QKeyEvent press(QEvent::KeyPress, Qt::Key_Delete, Qt::NoModifier);
  QApplication::sendEvent(form().ListView(kPaneSlot1), &press);
  form().FormatPane(kPaneSlot1, 241);
  EXPECT_TRUE(testing::ReadFile(path) == pages) << "no page was written";

  // Stepping back to the page the pane shows does not make it usable either: only a read does.
  form().PageBox()->setValue(0);
  form().FormatPane(kPaneSlot1, 241);
  EXPECT_TRUE(testing::ReadFile(path) == pages);
  form().Refresh_Slot1Click();
  form().FormatPane(kPaneSlot1, 241);
  const std::vector<std::uint8_t> after = testing::ReadFile(path);
  EXPECT_FALSE(std::equal(first.begin(), first.end(), after.begin())) << "page 0 formatted";
  EXPECT_TRUE(std::equal(pages.begin() + static_cast<std::ptrdiff_t>(first.size()), pages.end(),
                         after.begin() + static_cast<std::ptrdiff_t>(first.size())));
}

TEST_F(PanesTest, HeaderFontFollowsThePaneWidth) {
  StartNothing();
  form().Splitter2->setSizes({130, 292});
  form().Splitter2CanResize();
  EXPECT_EQ(form().SLOT1->font().pointSize(), 10);
  EXPECT_EQ(form().SLOT2->font().pointSize(), 22);
  form().Splitter2->setSizes({250, 172});
  form().Splitter2CanResize();
  EXPECT_EQ(form().SLOT1->font().pointSize(), 22);
  EXPECT_EQ(form().SLOT2->font().pointSize(), 22);
}

}  // namespace
}  // namespace quorvel::test
