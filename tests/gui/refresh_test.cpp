// The refresh procedures: link and card checks with their messages, an unformatted card, and
// how a refresh fills a pane (rows, free blocks, icons) reading each block once.
#include <QImage>

#include "card/block_io.h"
#include "card/dcm_file.h"
#include "card/file_system.h"
#include "card/icon_frames.h"
#include "demo_cards.h"
#include "gui/win_colors.h"
#include "gui/window_fixture.h"

namespace quorvel::test {
namespace {

class RefreshTest : public WindowTest {
 protected:
  void SetUp() override {
    WindowTest::SetUp();
    WriteQuickConfig();
  }
  // A 32 x 32 picture for saves without an icon, as the program expects it in its folder.
  void WriteNoIconPicture() {
    QImage picture(32, 32, QImage::Format_RGB32);
    picture.fill(QColor(255, 0, 255));
    ASSERT_TRUE(picture.save(QString::fromStdString((work_ / "NA.bmp").string()), "BMP"));
  }
  static QImage IconOf(const QListWidgetItem* item) {
    return item->icon().pixmap(32, 32).toImage().convertToFormat(QImage::Format_RGB32);
  }
  static QImage Picture(const QPixmap& pixmap) {
    return pixmap.toImage().convertToFormat(QImage::Format_RGB32);
  }
};

TEST_F(RefreshTest, NoUnitGivesTheConnectionMessage) {
  StartNothing();
  form().Refresh_Slot1Click();
  ASSERT_EQ(messages_.texts.size(), 1u);
  EXPECT_EQ(messages_.texts[0], " 連接錯誤,請檢查程式的速度值,電源和連接器. ");
  EXPECT_EQ(Text(form().Label5->text()), "  -沒硬體連接-");
  EXPECT_FALSE(form().Slot1Loaded);
  form().refresh_slot2Click();
  ASSERT_EQ(messages_.texts.size(), 2u);
  EXPECT_EQ(messages_.texts[1], "  連接錯誤,請檢查程式的速度值,電源和連接器. ");
  EXPECT_FALSE(form().Slot2Loaded);
  EXPECT_TRUE(form().Timer3->isActive()) << "re-armed after the command";
}

TEST_F(RefreshTest, EmptySlotsSayNoCard) {
  StartTwoSlot(std::nullopt, std::nullopt);
  form().Refresh_Slot1Click();
  form().refresh_slot2Click();
  EXPECT_EQ(messages_.texts, (std::vector<std::string>{" 插槽1沒有記憶卡", " 插槽2沒有記憶卡 "}));
  EXPECT_FALSE(form().Slot1Loaded);
  EXPECT_FALSE(form().Slot2Loaded);
}

TEST_F(RefreshTest, SlotTwoOfAPagedCardIsLeftAlone) {
  StartPaged(4);
  form().Slot2Loaded = true;
  form().refresh_slot2Click();
  EXPECT_TRUE(messages_.texts.empty());
  EXPECT_TRUE(form().Slot2Loaded) << "returns at once, changing nothing";
}

TEST_F(RefreshTest, PaneShowsBlockCountsAndFreeBlocks) {
  StartTwoSlot(CardBuilder()
                   .Add({.name = "THREE", .blocks = 3, .icons = 1})
                   .Add({.name = "TEN", .blocks = 10, .icons = 1})
                   .Add({.name = "BIG", .blocks = 128, .icons = 2}),
               CardBuilder());
  form().Refresh_Slot1Click();
  form().refresh_slot2Click();
  EXPECT_TRUE(messages_.texts.empty());
  EXPECT_TRUE(form().Slot1Loaded);
  EXPECT_EQ(Captions(kPaneSlot1), (std::vector<std::string>{"3", "10", "128"}));
  EXPECT_EQ(Text(form().slot1_sizePanel->text()), "餘下 59 個 Block");
  EXPECT_EQ(form().Slot1Card.free_blocks, 59);
  EXPECT_EQ(form().Slot1Card.listed_count, 3);
  EXPECT_EQ(form().card1Image.size(), 4u);
  EXPECT_TRUE(Captions(kPaneSlot2).empty());
  EXPECT_EQ(Text(form().slot2_sizePanel->text()), "餘下 200 個 Block");
  EXPECT_FALSE(form().waitForm->isVisible());
  EXPECT_EQ(form().ProgressBar1->value(), 0);

  form().PaneTick();
  EXPECT_EQ(BackColor(form().Card1ListView), 0xABD1B0u);
  EXPECT_EQ(FontColor(form().SLOT1), 0xFFFFFFu);
  EXPECT_EQ(FontColor(form().slot1_sizePanel), 0xFDFDFDu);
  EXPECT_TRUE(form().SLOT1SAVEAS1->isEnabled());
  EXPECT_TRUE(form().SpeedButton3->isEnabled());
  EXPECT_EQ(Captions(kPaneSlot1), (std::vector<std::string>{"3", "10", "128"}));
  EXPECT_TRUE(unit().Violations().empty());
}

TEST_F(RefreshTest, IconsAreTheSavesOwnAndCycleThroughTheirFrames) {
  WriteNoIconPicture();
  StartTwoSlot(CardBuilder()
                   .Add({.name = "NOICON", .blocks = 1, .icons = 0})
                   .Add({.name = "THREE", .blocks = 4, .icons = 3}),
               std::nullopt);
  form().Refresh_Slot1Click();
  ASSERT_EQ(form().card1Image.size(), 4u);
  const SaveRecord& three = form().Slot1Card.records[1];
  EXPECT_EQ(form().Slot1Card.records[0].icon_count, 0) << "a save without icon keeps its count";
  EXPECT_EQ(Picture(form().card1Image[0]).pixelColor(5, 5), QColor(255, 0, 255)) << "NA.bmp";
  // Frame f of the built card is a plain grey of palette index f + 1.
  for (int f = 0; f < 3; ++f) {
    EXPECT_EQ(Picture(form().card1Image[three.frame_image_indices[f]]).pixelColor(7, 7).red(),
              (f + 1) << 4);
  }
  EXPECT_TRUE(std::filesystem::exists(work_ / "Bmp.bmp"));

  const QListWidgetItem* item = form().Card1ListView->item(1);
  std::vector<int> shown;
  for (int tick = 0; tick < 4; ++tick) {
    form().PaneTick();
    for (int f = 0; f < 3; ++f) {
      if (IconOf(item) == Picture(form().card1Image[three.frame_image_indices[f]])) {
        shown.push_back(f);
      }
    }
  }
  EXPECT_EQ(shown, (std::vector<int>{0, 1, 2, 0}));
}

TEST_F(RefreshTest, FramesBeyondTheRecordsRoomAreNotShown) {
  StartTwoSlot(CardBuilder()
                   .Add({.name = "MANYFRAMES", .blocks = 41, .icons = 40})
                   .Add({.name = "NEXT", .blocks = 2, .icons = 1}),
               std::nullopt);
  form().Refresh_Slot1Click();
  const SaveRecord& many = form().Slot1Card.records[0];
  const SaveRecord& next = form().Slot1Card.records[1];
  EXPECT_EQ(many.icon_count, 40) << "the card's own count is kept";
  EXPECT_EQ(form().card1Image.size(), 33u) << "32 frames of the first save, one of the next";
  EXPECT_EQ(next.first_image_index, 32);
  EXPECT_EQ(next.frame_image_indices[0], 32);
  EXPECT_EQ(next.name, "NEXT        ");
  for (int tick = 0; tick < 40; ++tick) {
    form().PaneTick();
    EXPECT_LT(many.current_frame, 32);
  }
  EXPECT_EQ(many.current_frame, 40 % 32);
}

TEST_F(RefreshTest, TheNoIconPictureComesWithTheProgramAndTheBarEndsEmpty) {
  // No "NA.bmp" in the working folder: the program's own copy is used, as for "dpnw.dc".
  const std::filesystem::path shipped = ProgramDataFolder() / kNoIconPictureFile;
  const bool made = !std::filesystem::exists(shipped);
  if (made) {
    std::filesystem::create_directories(shipped.parent_path());
    QImage picture(32, 32, QImage::Format_RGB32);
    picture.fill(QColor(0, 128, 255));
    ASSERT_TRUE(picture.save(QString::fromStdString(shipped.string()), "BMP"));
  }
  StartTwoSlot(CardBuilder().Add({.name = "A", .blocks = 3, .icons = 2}).Add({.name = "B"}),
               std::nullopt);
  form().Refresh_Slot1Click();
  const QImage expected = QImage(QString::fromStdString(shipped.string()));
  if (made) std::filesystem::remove(shipped);
  EXPECT_TRUE(messages_.texts.empty());
  ASSERT_EQ(form().card1Image.size(), 3u);
  EXPECT_EQ(Picture(form().card1Image[2]), expected.convertToFormat(QImage::Format_RGB32));
  EXPECT_TRUE(form().Slot1Loaded);
  // The last save had no frames to count: the bar is empty, not Qt's busy animation.
  EXPECT_GT(form().ProgressBar1->maximum(), 0);
  EXPECT_EQ(form().ProgressBar1->value(), 0);
}

TEST_F(RefreshTest, ASaveWithoutIconKeepsNoFramesForTheSaveIconCommand) {
  StartTwoSlot(CardBuilder().Add({.name = "NOICON", .icons = 0}), std::nullopt);
  form().Refresh_Slot1Click();
  ASSERT_EQ(form().card1Image.size(), 1u) << "the pane shows the no-icon picture";
  const SaveRecord& save = form().Slot1Card.records[0];
  EXPECT_EQ(save.icon_count, 0);
  // What the save-icon command writes: nothing for this save.
  EXPECT_FALSE(ExportIconFrame(form().Slot1Card, 0, save.current_frame, root_ / "icon.bmp"));
  EXPECT_FALSE(std::filesystem::exists(root_ / "icon.bmp"));
}

TEST_F(RefreshTest, ARefreshStartsFromAnEmptyModel) {
  CardBuilder many;
  for (int i = 0; i < 20; ++i) many.Add({.name = "SAVE" + std::to_string(i)});
  // Another card whose directory chain ends after its first block.
  CardBuilder short_chain;
  short_chain.Add({.name = "ONLY"});
  short_chain.SetFat(253, 0xFFFA);
  const auto other = WriteCard("short.dcm", short_chain);
  StartTwoSlot(many, std::nullopt);
  form().Refresh_Slot1Click();
  ASSERT_EQ(Captions(kPaneSlot1).size(), 20u);
  std::string error;
  ASSERT_TRUE(unit().InsertCardAfter(0, other, 0, error)) << error;
  form().Refresh_Slot1Click();
  EXPECT_EQ(Captions(kPaneSlot1).size(), 1u) << "nothing of the card before";
  EXPECT_EQ(form().Slot1Card.listed_count, 1);
}

TEST_F(RefreshTest, TheIconFillStopsAtTheFirstLinkFailure) {
  // The link work of a refresh up to the icons, measured on a card of the same layout whose
  // frames all lie in the save headers.
  CardBuilder plain, framed;
  for (const char* name : {"A", "B", "C"}) {
    plain.Add({.name = name, .blocks = 3, .icons = 1});
    framed.Add({.name = name, .blocks = 3, .icons = 2});
  }
  WriteNoIconPicture();
  StartTwoSlot(plain, std::nullopt);
  std::uint64_t before = unit().Transactions();
  form().Refresh_Slot1Click();
  const std::uint64_t up_to_icons = unit().Transactions() - before;
  std::string error;
  ASSERT_TRUE(unit().InsertCardAfter(0, WriteCard("framed.dcm", framed), 0, error)) << error;
  form().Refresh_Slot1Click();
  messages_.texts.clear();
  unit().RemoveCardAfter(0, up_to_icons);
  form().Refresh_Slot1Click();
  EXPECT_EQ(messages_.texts.size(), 1u) << "one connection message, not one per frame";
  EXPECT_FALSE(form().Slot1Loaded);
  EXPECT_TRUE(Captions(kPaneSlot1).empty());
}

TEST_F(RefreshTest, UnformattedCardEmptiesThePaneButStaysLoaded) {
  const auto unformatted = WriteCard("blank.dcm", CardBuilder().Unformatted());
  StartTwoSlot(CardBuilder().Add({.name = "OLD", .blocks = 2, .icons = 1}), std::nullopt);
  form().Refresh_Slot1Click();
  ASSERT_EQ(Captions(kPaneSlot1).size(), 1u);

  unit().RemoveCardAfter(0, 0);
  std::string error;
  ASSERT_TRUE(unit().InsertCardAfter(0, unformatted, 0, error)) << error;
  form().Refresh_Slot1Click();
  EXPECT_TRUE(form().Slot1Loaded) << "kept so that it can be formatted";
  EXPECT_EQ(Text(form().slot1_sizePanel->text()), " 記憶卡沒有格式化");
  EXPECT_TRUE(Captions(kPaneSlot1).empty());
  EXPECT_EQ(form().Slot1Card.listed_count, 0);
  EXPECT_TRUE(form().card1Image.empty());
  EXPECT_FALSE(form().SLOT1LOADDCI1->isEnabled());
  EXPECT_FALSE(form().SLOT1LOADBMP1->isEnabled());
  form().PaneTick();
  EXPECT_TRUE(Captions(kPaneSlot1).empty()) << "nothing left to animate";
  EXPECT_EQ(Text(form().slot1_sizePanel->text()), " 記憶卡沒有格式化");
}

TEST_F(RefreshTest, ARefreshReadsEachBlockOnce) {
  // Root, FAT, 13 directory blocks and the three blocks of a save whose two frames reach into
  // its second and third blocks.
  StartTwoSlot(CardBuilder().Add({.name = "TWOFRAMES", .blocks = 3, .icons = 2}), std::nullopt);
  const std::uint64_t before = unit().Counters().block_reads;
  form().RefreshSlot1();
  EXPECT_EQ(unit().Counters().block_reads - before, 18u);
}

TEST_F(RefreshTest, AFullCardCrossesTheLinkOncePerBlock) {
  // A game and many data saves with and without icons, up to the card's last free block.
  CardBuilder card;
  std::vector<SaveSpec> saves = {{.name = "GAME", .blocks = 20, .icons = 3, .game = true}};
  for (int i = 0; i < 24; ++i) {
    saves.push_back({.name = "SAVE" + std::to_string(i),
                     .blocks = 1 + i % 12,
                     .icons = std::min(i % 5, i % 12)});
  }
  int used = 0;
  std::size_t expected = 2 + 13;  // root, FAT, the directory chain
  for (const SaveSpec& save : saves) {
    card.Add(save);
    used += save.blocks;
    // The header and the blocks its frames reach (a game's header is its second block).
    const int from_header = save.game ? save.blocks - 1 : save.blocks;
    expected += static_cast<std::size_t>(std::min(save.icons + 1, from_header));
  }
  ASSERT_LE(used, 200);
  WriteNoIconPicture();
  StartTwoSlot(card, std::nullopt);
  const std::uint64_t before = unit().Counters().block_reads;
  form().RefreshSlot1();
  EXPECT_EQ(form().Slot1Card.listed_count, saves.size());
  EXPECT_EQ(unit().Counters().block_reads - before, expected);
  EXPECT_TRUE(messages_.texts.empty());
}

// The blocks a refresh of `card_file` has to read: root, FAT, the 13 directory blocks, and
// for each save its header and the blocks its icon frames reach (counted on a copy of the
// card read as an image file).
std::size_t BlocksOfARefresh(const std::filesystem::path& card_file) {
  // The virtual unit holds the card's own file.
  const std::filesystem::path copy = card_file.string() + ".copy";
  std::filesystem::copy_file(card_file, copy, std::filesystem::copy_options::overwrite_existing);
  CardImage card(kSourceImage);
  EXPECT_TRUE(OpenImageFile(card, copy.string()));
  ReadRoot(card);
  ReadFat(card);
  ReadDirectory(card);
  std::size_t blocks = 2 + 13;
  for (const SaveRecord& save : card.records) {
    if (save.size == 0) continue;
    const int header = save.header_in_second_block ? 1 : 0;
    const int frames = std::min<int>(save.icon_count, 32);
    blocks += static_cast<std::size_t>(std::min(frames + 1, save.size - header));
  }
  CloseImageFile(card);
  return blocks;
}

TEST_F(RefreshTest, DemoCardsCrossTheLinkOncePerBlock) {
  std::string error;
  ASSERT_TRUE(demo::WriteDemoCards(root_ / "cards", error)) << error;
  ASSERT_TRUE(demo::WriteDataFiles(work_, error)) << error;
  auto demo_unit = VirtualUnit::TwoSlotFromFolder(root_ / "cards", error);
  ASSERT_TRUE(demo_unit) << error;
  Start(std::move(demo_unit));
  Detect();
  for (int slot = 0; slot < 2; ++slot) {
    const std::uint64_t before = unit().Counters().block_reads;
    if (slot == 0) {
      form().Refresh_Slot1Click();
    } else {
      form().refresh_slot2Click();
    }
    const auto file = root_ / "cards" / (slot == 0 ? "slot1.dcm" : "slot2.dcm");
    EXPECT_EQ(unit().Counters().block_reads - before, BlocksOfARefresh(file))
        << "slot " << slot + 1;
    EXPECT_GT(form().Card(slot).listed_count, 0);
  }
  EXPECT_TRUE(messages_.texts.empty());
  EXPECT_TRUE(unit().Violations().empty());
}

TEST_F(RefreshTest, ImageRefreshFillsTheFilePane) {
  const auto image = WriteCard("image.dcm", CardBuilder(241).Add({.name = "SAVE", .blocks = 5}));
  StartNothing();
  ASSERT_TRUE(OpenImageFile(form().FileCard, image.string()));
  form().RefreshImage();
  EXPECT_TRUE(messages_.texts.size() <= 1u);  // only the no-icon picture may be missing
  EXPECT_TRUE(form().ImageLoaded);
  EXPECT_EQ(Captions(kPaneImage), (std::vector<std::string>{"5"}));
  EXPECT_EQ(Text(form().FileCardPanel->text()), "餘下 236 個 Block");
  form().PaneTick();
  EXPECT_EQ(FontColor(form().Panel9), 0xFFFF00u);
  EXPECT_EQ(FontColor(form().FileCardPanel), 0xFFFF00u);
}

}  // namespace
}  // namespace quorvel::test
