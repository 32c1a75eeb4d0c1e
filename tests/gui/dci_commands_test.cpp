// Tests of the single-save file commands: adding a single-save file to each pane with its
// preconditions, questions and messages, and the selected-save dialog's choices that write
// the save to a single-save file and its shown icon frame to a BMP picture.
#include <QFontMetrics>
#include <cstdlib>

#include "card/block_io.h"
#include "card/card_check.h"
#include "card/dci_file.h"
#include "card/file_system.h"
#include "card/icon_frames.h"
#include "card/save_commands.h"
#include "gui/dialog_script.h"
#include "gui/scripted_chooser.h"
#include "gui/tcopyform.h"
#include "gui/tdelete_form.h"
#include "gui/tsave_sel_form.h"
#include "gui/window_fixture.h"
#include "support/card_files.h"

namespace quorvel::test {
namespace {

using testing::ReadFile;
using testing::WriteFile;

QString Q(const std::filesystem::path& path) { return QString::fromStdString(path.string()); }

SaveSpec Data(const std::string& name, int blocks = 1, int icons = 1) {
  return {.name = name, .blocks = blocks, .icons = icons};
}

SaveSpec Game(const std::string& name, int blocks) {
  return {.name = name, .blocks = blocks, .icons = 1, .game = true};
}

// The 12-character name as the directory holds it.
std::string Padded(std::string name) {
  name.resize(12, ' ');
  return name;
}

// The names of the saves a pane lists, in row order.
std::vector<std::string> ListedNames(CardImage& card) {
  std::vector<std::string> names;
  for (int row = 0; row < card.listed_count; ++row) {
    names.push_back(card.records[card.list_order[row]].name);
  }
  return names;
}

class DciCommandsTest : public WindowTest {
 protected:
  void SetUp() override {
    WindowTest::SetUp();
    WriteQuickConfig();
    files_ = &chooser_;
  }
  void TearDown() override {
    copy_.reset();
    delete_.reset();
    save_sel_.reset();
    WindowTest::TearDown();
  }

  // Starts with both slots refreshed and `image` open when given.
  void StartLoaded(const CardBuilder& slot1, const CardBuilder& slot2 = CardBuilder(),
                   const std::optional<CardBuilder>& image = std::nullopt) {
    StartTwoSlot(slot1, slot2);
    save_sel_ = std::make_unique<TSave_sel_Form>(&form());
    delete_ = std::make_unique<TDelete_Form>(&form());
    copy_ = std::make_unique<TcopyForm>(&form());
    form().AttachSaveDialogs(save_sel_.get(), delete_.get(), copy_.get());
    Detect();
    form().Refresh_Slot1Click();
    form().refresh_slot2Click();
    if (image) {
      ASSERT_TRUE(OpenImageFile(form().FileCard, WriteCard("image.dcm", *image).string()));
      form().RefreshImage();
    }
    messages_.texts.clear();
  }

  // The single-save file of the save in directory slot `index` of `card`.
  std::filesystem::path MakeDci(const std::string& file, const CardBuilder& card,
                                std::size_t index = 0) {
    CardImage source;
    EXPECT_TRUE(OpenImageFile(source, WriteCard(file + ".dcm", card).string()));
    LoadCard(source);
    EXPECT_EQ(ExportDci(source, index, root_ / file), DciExportError::kNone);
    return root_ / file;
  }

  // Adds `file` to the pane through its menu command.
  void Add(int pane, const std::filesystem::path& file) {
    chooser_.answer = Q(file);
    if (pane == kPaneSlot1) form().SLOT1LOADDCI1Click();
    if (pane == kPaneSlot2) form().SLOT2LOADDCI1Click();
    if (pane == kPaneImage) form().LOADDCIFILE1Click();
  }

  ScriptedChooser chooser_;
  std::unique_ptr<TSave_sel_Form> save_sel_;
  std::unique_ptr<TDelete_Form> delete_;
  std::unique_ptr<TcopyForm> copy_;
};

TEST_F(DciCommandsTest, EachPaneNeedsItsSourceFirst) {
  StartTwoSlot(CardBuilder(), CardBuilder());
  Detect();
  chooser_.answer = Q(root_ / "any.dci");
  form().SLOT1LOADDCI1Click();
  form().SLOT2LOADDCI1Click();
  form().LOADDCIFILE1Click();
  EXPECT_EQ(messages_.texts,
            (std::vector<std::string>{" 請先把記憶卡重新整理.", " 請先把記憶卡重新整理.",
                                      " 請先讀取DCM檔案."}));
  EXPECT_TRUE(chooser_.asked.empty());
}

TEST_F(DciCommandsTest, AMissingFileCannotBeFoundAndCancelDoesNothing) {
  StartLoaded(CardBuilder(), CardBuilder(), CardBuilder());
  const std::filesystem::path missing = root_ / "missing.dci";
  for (int pane : {kPaneSlot1, kPaneSlot2, kPaneImage}) Add(pane, missing);
  EXPECT_EQ(messages_.texts,
            (std::vector<std::string>{" 檔案 " + missing.string() + " 不能尋找.",
                                      " 檔案" + missing.string() + " 不能尋找.",
                                      " 檔案 " + missing.string() + " 不能尋找."}));
  messages_.texts.clear();
  chooser_.answer.reset();
  form().SLOT1LOADDCI1Click();
  EXPECT_TRUE(messages_.texts.empty());
  // Started in the folder of the files chosen before.
  EXPECT_EQ(chooser_.asked.back().toStdString(),
            "DCI file format (*.DCI);;VMI/VMS file format (*.VMI *.VMS);;binary file format "
            "(*.BIN);;ALL format (*.*)|" +
                (root_ / "*.DCI").string());
}

TEST_F(DciCommandsTest, AddsTheSaveToEachPaneWithItsBlocks) {
  const CardBuilder source = CardBuilder().Add(Data("PICKED", 3, 2));
  const std::filesystem::path dci = MakeDci("picked.dci", source);
  const std::vector<std::uint8_t> file = ReadFile(dci);
  StartLoaded(CardBuilder().Add(Data("THERE", 2)), CardBuilder(), CardBuilder());
  for (int pane : {kPaneSlot1, kPaneSlot2, kPaneImage}) {
    SCOPED_TRACE(pane);
    Add(pane, dci);
    EXPECT_TRUE(messages_.texts.empty());
    const std::optional<std::size_t> added = FindSaveByName(form().Card(pane), Padded("PICKED"));
    ASSERT_TRUE(added);
    EXPECT_EQ(form().Card(pane).records[*added].size, 3);
    EXPECT_TRUE(form().Loaded(pane));
    EXPECT_EQ(Reloaded(form().Card(pane)), std::vector<std::string>{});
    // The card holds the file's blocks, in order, unchanged.
    std::vector<std::uint8_t> stored;
    OwnLook([&] { ASSERT_EQ(BuildDci(form().Card(pane), *added, stored), DciExportError::kNone); });
    EXPECT_TRUE(std::equal(stored.begin() + 32, stored.end(), file.begin() + 32, file.end()));
  }
  EXPECT_EQ(Captions(kPaneSlot1), (std::vector<std::string>{"2", "3"}));
  EXPECT_EQ(Captions(kPaneImage), std::vector<std::string>{"3"});
  EXPECT_FALSE(wait_->isVisible());
}

TEST_F(DciCommandsTest, ASaveOfTheSameNameIsReplacedOnYes) {
  const std::filesystem::path dci = MakeDci("same.dci", CardBuilder().Add(Data("SAME", 5)));
  StartLoaded(CardBuilder().Add(Data("SAME", 2)).Add(Data("OTHER", 1)));
  messages_.answers = {true};
  Add(kPaneSlot1, dci);
  EXPECT_EQ(messages_.texts,
            std::vector<std::string>{" 檔案 " + Padded("SAME") + " 己存在,是否要取代它嗎? "});
  // With room for both, the new save was stored before the old one was deleted.
  EXPECT_EQ(ListedNames(form().Slot1Card),
            (std::vector<std::string>{Padded("OTHER"), Padded("SAME")}));
  EXPECT_EQ(form().Slot1Card.records[*FindSaveByName(form().Slot1Card, Padded("SAME"))].size, 5);
  EXPECT_EQ(Reloaded(form().Slot1Card), std::vector<std::string>{});
}

TEST_F(DciCommandsTest, AReplacementThatCannotFitKeepsTheOldSave) {
  const std::filesystem::path dci = MakeDci("same.dci", CardBuilder().Add(Data("SAME", 20)));
  StartLoaded(CardBuilder().Add(Data("SAME", 2)).Add(Data("FILL", 190)));
  const std::vector<std::uint8_t> slot1 = ReadFile(CardPath("slot1.dcm"));
  messages_.answers = {true};
  Add(kPaneSlot1, dci);
  EXPECT_EQ(messages_.texts,
            (std::vector<std::string>{" 檔案 " + Padded("SAME") + " 己存在,是否要取代它嗎? ",
                                      "空間不足."}));
  EXPECT_EQ(ReadFile(CardPath("slot1.dcm")), slot1);
  EXPECT_EQ(Captions(kPaneSlot1), (std::vector<std::string>{"2", "190"}));
}

// A file cut short is refused before the replace question, and the save it would have
// replaced stays.
TEST_F(DciCommandsTest, ATruncatedFileNeverCostsTheSaveItWasToReplace) {
  std::vector<std::uint8_t> file =
      ReadFile(MakeDci("same.dci", CardBuilder().Add(Data("SAME", 5))));
  file.resize(file.size() - 100);
  WriteFile(root_ / "cut.dci", file);
  StartLoaded(CardBuilder().Add(Data("SAME", 2)).Add(Data("OTHER", 1)));
  const std::vector<std::uint8_t> slot1 = ReadFile(CardPath("slot1.dcm"));
  messages_.yes = true;
  Add(kPaneSlot1, root_ / "cut.dci");
  EXPECT_EQ(messages_.texts,
            std::vector<std::string>{" 檔案 " + (root_ / "cut.dci").string() + " 不完整."});
  EXPECT_EQ(ReadFile(CardPath("slot1.dcm")), slot1);
  EXPECT_EQ(ListedNames(form().Slot1Card),
            (std::vector<std::string>{Padded("SAME"), Padded("OTHER")}));
}

TEST_F(DciCommandsTest, NoThenYesAppendsASecondSaveOfTheNameAndNoTwiceChangesNothing) {
  const std::filesystem::path dci = MakeDci("same.dci", CardBuilder().Add(Data("SAME", 4)));
  StartLoaded(CardBuilder(), CardBuilder().Add(Data("SAME", 2)));
  const std::string replace = " 檔案 " + Padded("SAME") + " 己存在,是否要取代它嗎? ";
  const std::string append = " 檔案 " + Padded("SAME") + " 己存在,是否要附加這檔案嗎? ";

  messages_.answers = {false, false};
  Add(kPaneSlot2, dci);
  EXPECT_EQ(messages_.texts, (std::vector<std::string>{replace, append}));
  EXPECT_EQ(Captions(kPaneSlot2), std::vector<std::string>{"2"});

  messages_.texts.clear();
  messages_.answers = {false, true};
  Add(kPaneSlot2, dci);
  EXPECT_EQ(messages_.texts, (std::vector<std::string>{replace, append}));
  EXPECT_EQ(ListedNames(form().Slot2Card),
            (std::vector<std::string>{Padded("SAME"), Padded("SAME")}));
  EXPECT_EQ(Captions(kPaneSlot2), (std::vector<std::string>{"2", "4"}));
  EXPECT_EQ(Reloaded(form().Slot2Card), std::vector<std::string>{});
}

TEST_F(DciCommandsTest, AFileThatDoesNotFitSaysNotEnoughSpace) {
  std::vector<std::uint8_t> empty = ReadFile(MakeDci("one.dci", CardBuilder().Add(Data("ZERO"))));
  empty[0x18] = 0;  // a save of 0 blocks
  WriteFile(root_ / "zero.dci", empty);
  const std::filesystem::path big = MakeDci("big.dci", CardBuilder().Add(Data("BIG", 150)));
  StartLoaded(CardBuilder().Add(Data("FILL", 100)), CardBuilder(), CardBuilder());
  const std::vector<std::uint8_t> slot1 = ReadFile(CardPath("slot1.dcm"));
  const std::vector<std::uint8_t> image = ReadFile(root_ / "image.dcm");
  Add(kPaneImage, root_ / "zero.dci");
  Add(kPaneSlot1, big);
  EXPECT_EQ(messages_.texts, (std::vector<std::string>{"空間不足.", "空間不足."}));
  EXPECT_EQ(ReadFile(CardPath("slot1.dcm")), slot1);
  EXPECT_EQ(ReadFile(root_ / "image.dcm"), image);
  EXPECT_TRUE(Captions(kPaneImage).empty());
}

TEST_F(DciCommandsTest, AGameThatCannotStartAtBlockZeroSaysWhy) {
  const std::filesystem::path dci = MakeDci("game.dci", CardBuilder().Add(Game("NEWGAME", 3)));
  StartLoaded(CardBuilder().Add(Game("OLDGAME", 2)));
  const std::vector<std::uint8_t> slot1 = ReadFile(CardPath("slot1.dcm"));
  Add(kPaneSlot1, dci);
  EXPECT_EQ(messages_.texts,
            std::vector<std::string>{" 檔案 " + Padded("NEWGAME") +
                                     " 不能加上: 遊戲必須放在第 0 區塊起, 但那裡已被使用."});
  EXPECT_EQ(ReadFile(CardPath("slot1.dcm")), slot1);
  EXPECT_EQ(Captions(kPaneSlot1), std::vector<std::string>{"2"});
}

TEST_F(DciCommandsTest, ASlotWhoseCardWentAwayIsNotWritten) {
  const std::filesystem::path dci = MakeDci("one.dci", CardBuilder().Add(Data("ONE")));
  StartLoaded(CardBuilder());
  unit().RemoveCardAfter(0, 0);
  Add(kPaneSlot1, dci);
  EXPECT_EQ(messages_.texts, std::vector<std::string>{" 插槽1沒有記憶卡"});
  EXPECT_FALSE(form().Slot1Loaded);
  EXPECT_FALSE(wait_->isVisible());
}

TEST_F(DciCommandsTest, SaveChoiceWritesTheSaveAndAsksBeforeReplacing) {
  StartLoaded(CardBuilder().Add(Data("FIRST", 2)).Add(Data("PICK", 5)));
  const std::filesystem::path out = root_ / "out.dci";
  chooser_.answer = Q(out);
  Select(kPaneSlot1, {1});
  {
    DialogScript script({{"Save_sel_Form", "BitBtn4"}});
    form().Card1ListViewDblClick();
  }
  EXPECT_EQ(chooser_.asked.back().toStdString(),
            "save:DCI file format (*.DCI);;VMS/VMI file format (*.VMS);;binary file format "
            "(*.BIN);;ALL format (*.*)|PICK.DCI|DCI|quiet");
  const SaveRecord& pick = form().Slot1Card.records[form().Slot1Card.list_order[1]];
  const std::vector<std::uint8_t> written = ReadFile(out);
  ASSERT_EQ(written.size(), 32u + 5 * 512);
  EXPECT_TRUE(std::equal(pick.entry.begin(), pick.entry.end(), written.begin()));
  EXPECT_TRUE(messages_.texts.empty());

  // An existing file: No writes nothing, Yes replaces it.
  WriteFile(out, {7, 7, 7});
  messages_.yes = false;
  Select(kPaneSlot1, {1});
  {
    DialogScript script({{"Save_sel_Form", "BitBtn4"}});
    form().Card1ListViewDblClick();
  }
  EXPECT_EQ(messages_.texts,
            std::vector<std::string>{" 檔案 " + out.string() + " 己存在,是否要取代它嗎? "});
  EXPECT_EQ(ReadFile(out), (std::vector<std::uint8_t>{7, 7, 7}));
  messages_.yes = true;
  Select(kPaneSlot1, {1});
  {
    DialogScript script({{"Save_sel_Form", "BitBtn4"}});
    form().Card1ListViewDblClick();
  }
  EXPECT_EQ(ReadFile(out), written);
}

// The save dialog writes a VMS/VMI pair when the name ends in .VMS, asking about each file
// that exists; the pair adds back as the same save, and a lone VMS asks for its name and, when
// its blocks do not tell, whether it is a game.
TEST_F(DciCommandsTest, VmsPairsGoOutAndComeBackThroughTheWindow) {
  StartLoaded(CardBuilder().Add(Data("FIRST", 2)).Add(Data("PICK", 5)), CardBuilder(),
              CardBuilder());
  const std::filesystem::path vms = root_ / "PICK.VMS";
  WriteFile(root_ / "PICK.VMI", {7, 7, 7});
  chooser_.answer = Q(vms);
  messages_.answers = {true};
  Select(kPaneSlot1, {1});
  {
    DialogScript script({{"Save_sel_Form", "BitBtn4"}});
    form().Card1ListViewDblClick();
  }
  EXPECT_EQ(messages_.texts, std::vector<std::string>{" 檔案 " + (root_ / "PICK.VMI").string() +
                                                      " 己存在,是否要取代它嗎? "});
  EXPECT_EQ(ReadFile(vms).size(), 5u * 512);
  EXPECT_EQ(ReadFile(root_ / "PICK.VMI").size(), 108u);
  messages_.texts.clear();
  Add(kPaneImage, root_ / "PICK.VMI");
  EXPECT_TRUE(messages_.texts.empty()) << messages_.texts.front();
  const std::optional<std::size_t> added = FindSaveByName(form().FileCard, Padded("PICK"));
  ASSERT_TRUE(added);
  std::vector<std::uint8_t> a, b;
  ASSERT_EQ(BuildDci(form().FileCard, *added, a), DciExportError::kNone);
  OwnLook([&] {
    ASSERT_EQ(BuildDci(form().Slot1Card, form().Slot1Card.list_order[1], b), DciExportError::kNone);
  });
  a[2] = b[2];  // the first block is the card's choice
  EXPECT_EQ(a, b);

  // Alone, with blocks that do not tell: asked game or data (No: data), then its name.
  std::filesystem::remove(root_ / "PICK.VMI");
  WriteFile(root_ / "lone.vms", std::vector<std::uint8_t>(2 * 512, 0xFF));
  messages_.yes = false;
  chooser_.names = {QStringLiteral("LONE_SAVE")};
  Add(kPaneImage, root_ / "lone.vms");
  const std::string file = (root_ / "lone.vms").string();
  EXPECT_EQ(messages_.texts, std::vector<std::string>{" 檔案 " + file +
                                                      " 沒有 VMI 檔案, 它是遊戲嗎? (是: 遊戲, 否: "
                                                      "資料) "});
  EXPECT_EQ(chooser_.asked.back().toStdString(),
            "name: 檔案 " + file + " 沒有 VMI 檔案, 請輸入單元名稱 (最多 12 個字元):|LONE");
  const std::optional<std::size_t> lone =
      FindSaveByName(form().FileCard, std::string("LONE_SAVE\0\0\0", 12));
  ASSERT_TRUE(lone);
  EXPECT_FALSE(form().FileCard.records[*lone].header_in_second_block);

  // A VMI whose VMS is missing: one message, nothing written.
  messages_.texts.clear();
  const std::vector<std::uint8_t> before = ReadFile(root_ / "image.dcm");
  chooser_.answer = Q(vms);
  messages_.answers = {true, true};
  Select(kPaneSlot1, {1});
  {
    DialogScript script({{"Save_sel_Form", "BitBtn4"}});
    form().Card1ListViewDblClick();
  }
  std::filesystem::remove(vms);
  messages_.texts.clear();
  Add(kPaneImage, root_ / "PICK.VMI");
  EXPECT_EQ(messages_.texts, std::vector<std::string>{" 檔案 " + vms.string() + " 不能尋找."});
  EXPECT_EQ(ReadFile(root_ / "image.dcm"), before);
}

// Files dropped from a file manager: single-save files are added (both files of a pair count
// once), a card image opens in the image pane and is refused by a slot pane.
TEST_F(DciCommandsTest, FilesDroppedOnAPaneAreAddedOrOpened) {
  const std::filesystem::path dci = MakeDci("one.dci", CardBuilder().Add(Data("ONE", 2)));
  const std::filesystem::path pair = MakeDci("two.dci", CardBuilder().Add(Data("TWO", 3)));
  ASSERT_TRUE(WriteSaveFile(ReadFile(pair), root_ / "TWO.VMS").Written());
  StartLoaded(CardBuilder(), CardBuilder(), CardBuilder());
  form().PaneFilesDropped(kPaneSlot1, {Q(dci), Q(root_ / "TWO.VMS"), Q(root_ / "TWO.VMI")});
  EXPECT_TRUE(messages_.texts.empty()) << messages_.texts.front();
  EXPECT_EQ(ListedNames(form().Slot1Card),
            (std::vector<std::string>{Padded("ONE"), Padded("TWO")}));
  const std::filesystem::path other = WriteCard("other.dcm", CardBuilder().Add(Data("OTHER", 1)));
  form().PaneFilesDropped(kPaneSlot2, {Q(other)});
  EXPECT_EQ(messages_.texts,
            std::vector<std::string>{" 檔案 : " + other.string() + " 的格式並不支援!!!! "});
  EXPECT_EQ(form().Slot2Card.listed_count, 0);
  form().PaneFilesDropped(kPaneImage, {Q(other)});
  EXPECT_EQ(form().FileCard.ImageName(), other.string());
  EXPECT_EQ(ListedNames(form().FileCard), std::vector<std::string>{Padded("OTHER")});
}

// A Shift-JIS description shows as Japanese in the selected-save dialog, in a font that has
// its glyphs. With QUORVEL_SCREENSHOT_DIR set, the dialog is also saved as a picture there.
TEST_F(DciCommandsTest, JapaneseDescriptionShowsAsJapanese) {
  SaveSpec save = Data("JP_SAVE", 2);
  save.description =
      "\x83\x5A\x81\x5B\x83\x75\x83\x66\x81\x5B\x83\x5E    "  // セーブデータ
      "\x93\xFA\x96\x7B\x8C\xEA\x82\xCC\x90\xE0\x96\xBE";     // 日本語の説明
  StartLoaded(CardBuilder().Add(save));
  Select(kPaneSlot1, {0});
  {
    DialogScript script({{"Save_sel_Form", "BitBtn3"}});
    form().Card1ListViewDblClick();
  }
  const QString shown = save_sel_->Label1->text();
  // The card's own screen's text and the console's, each on its line without its padding.
  EXPECT_EQ(shown.toStdString(), "セーブデータ\n日本語の説明");
  const QFontMetrics metrics(save_sel_->Label1->font());
  const QString characters = QString(shown).remove('\n');
  for (const QChar c : characters) {
    EXPECT_TRUE(metrics.inFont(c)) << QString(c).toStdString();
  }
  if (const char* folder = std::getenv("QUORVEL_SCREENSHOT_DIR")) {
    save_sel_->show();
    save_sel_->grab().save(QString::fromLocal8Bit(folder) + "/japanese-description.png");
    save_sel_->hide();
  }
}

TEST_F(DciCommandsTest, NoSaveOrIconIsWrittenOverACardFileInUse) {
  StartLoaded(CardBuilder().Add(Data("PICK", 5, 2)), CardBuilder(), CardBuilder());
  std::filesystem::create_symlink(root_ / "slot1.dcm", root_ / "link.dcm");
  const std::vector<std::uint8_t> image = ReadFile(root_ / "image.dcm");
  const std::vector<std::uint8_t> card = ReadFile(root_ / "slot1.dcm");
  // The open image, the card being read and a link to it: each is refused before anything.
  for (const std::string name : {"image.dcm", "slot1.dcm", "link.dcm"}) {
    for (const char* button : {"BitBtn4", "BitBtn5"}) {  // save file, icon picture
      messages_.texts.clear();
      chooser_.answer = Q(root_ / name);
      Select(kPaneSlot1, {0});
      {
        DialogScript script({{"Save_sel_Form", button}});
        form().Card1ListViewDblClick();
      }
      EXPECT_EQ(messages_.texts,
                std::vector<std::string>{" 檔案 " + (root_ / name).string() + " 在使用中 ."})
          << name << " " << button;
    }
  }
  EXPECT_EQ(ReadFile(root_ / "image.dcm"), image);
  EXPECT_EQ(ReadFile(root_ / "slot1.dcm"), card);
  EXPECT_TRUE(form().Slot1Card.listed_count == 1 && unit().HasCard(0));
}

TEST_F(DciCommandsTest, IconChoiceWritesTheFrameShown) {
  StartLoaded(CardBuilder(), CardBuilder(), CardBuilder().Add(Data("ANIMATED", 4, 3)));
  CardImage& image = form().FileCard;
  const std::size_t slot = image.list_order[0];
  image.records[slot].current_frame = 2;
  const std::filesystem::path out = root_ / "icon.bmp";
  chooser_.answer = Q(out);
  Select(kPaneImage, {0});
  {
    DialogScript script({{"Save_sel_Form", "BitBtn5"}});
    form().FileListViewDblClick();
  }
  EXPECT_EQ(chooser_.asked.back().toStdString(), "save:Bitmaps (*.bmp)||BMP|quiet");
  ASSERT_TRUE(ExportIconFrame(image, slot, 2, root_ / "frame2.bmp"));
  ASSERT_TRUE(ExportIconFrame(image, slot, 0, root_ / "frame0.bmp"));
  EXPECT_EQ(ReadFile(out).size(), 2102u);
  EXPECT_EQ(ReadFile(out), ReadFile(root_ / "frame2.bmp"));
  EXPECT_NE(ReadFile(out), ReadFile(root_ / "frame0.bmp"));
  EXPECT_TRUE(messages_.texts.empty());

  std::filesystem::remove(out);
  chooser_.answer.reset();
  {
    DialogScript script({{"Save_sel_Form", "BitBtn5"}});
    form().FileListViewDblClick();
  }
  EXPECT_FALSE(std::filesystem::exists(out));
}

// The frame of a save in a slot is read on the link worker, like every other card read.
TEST_F(DciCommandsTest, IconChoiceOnASlotReadsTheFrameOnTheLinkWorker) {
  StartLoaded(CardBuilder().Add(Data("ANIMATED", 4, 3)), CardBuilder());
  const std::filesystem::path out = root_ / "icon.bmp";
  chooser_.answer = Q(out);
  Select(kPaneSlot1, {0});
  {
    DialogScript script({{"Save_sel_Form", "BitBtn5"}});
    form().Card1ListViewDblClick();
  }
  EXPECT_EQ(ReadFile(out).size(), 2102u);
  EXPECT_TRUE(messages_.texts.empty());
  EXPECT_EQ(form().PortAccessesOffTheWorker(), 0);
}

// A picture that exists is replaced only after a question that names it, No by default.
TEST_F(DciCommandsTest, IconChoiceAsksBeforeReplacingAPicture) {
  StartLoaded(CardBuilder(), CardBuilder(), CardBuilder().Add(Data("ANIMATED", 4, 3)));
  const std::filesystem::path out = root_ / "icon.bmp";
  WriteFile(out, {7, 7, 7});
  chooser_.answer = Q(out);
  const std::string question = " 檔案 " + out.string() + " 己存在,是否要取代它嗎? ";
  messages_.yes = false;
  Select(kPaneImage, {0});
  {
    DialogScript script({{"Save_sel_Form", "BitBtn5"}});
    form().FileListViewDblClick();
  }
  EXPECT_EQ(messages_.texts, std::vector<std::string>{question});
  EXPECT_EQ(messages_.default_no, std::vector<std::string>{question});
  EXPECT_EQ(ReadFile(out), (std::vector<std::uint8_t>{7, 7, 7}));

  messages_.yes = true;
  Select(kPaneImage, {0});
  {
    DialogScript script({{"Save_sel_Form", "BitBtn5"}});
    form().FileListViewDblClick();
  }
  EXPECT_EQ(ReadFile(out).size(), 2102u);
}

TEST_F(DciCommandsTest, IconChoiceOfASaveWithoutIconSaysSoAndAsksForNoFile) {
  StartLoaded(CardBuilder(), CardBuilder(), CardBuilder().Add({.name = "NOICON", .icons = 0}));
  chooser_.answer = Q(root_ / "icon.bmp");
  Select(kPaneImage, {0});
  {
    DialogScript script({{"Save_sel_Form", "BitBtn5"}});
    form().FileListViewDblClick();
  }
  EXPECT_TRUE(chooser_.asked.empty());
  EXPECT_EQ(messages_.texts, std::vector<std::string>{" 檔案 NOICON       沒有圖示. "});
  EXPECT_FALSE(std::filesystem::exists(root_ / "icon.bmp"));
}

}  // namespace
}  // namespace quorvel::test
