// Tests of the card image commands: open, new, close and save-as of the image pane, saving a
// slot's card as an image file and writing one onto a slot, their size checks and messages,
// and the speed buttons that run them.
#include <QSignalSpy>

#include "card/block_io.h"
#include "gui/scripted_chooser.h"
#include "gui/tselcolorform.h"
#include "gui/window_fixture.h"
#include "support/card_files.h"

namespace quorvel::test {
namespace {

using testing::kCardBytes;
using testing::ReadFile;
using testing::WriteFile;

constexpr const char* kOpenImageAsked =
    "1M SAVER  File Format (*.DCM);;Single SAVER file format (*.DCI);;Binary File Format "
    "(*.BIN);;VMU File Format (*.VMU);;VMD File Format (*.VMD);;ALL File Format (*.*)|*.DCM";
constexpr const char* kWriteImageAsked =
    "save:DCM file format (*.DCM);;BIN file format (*.BIN);;VMU file format (*.VMU);;VMD file "
    "format (*.VMD);;ALL format (*.*)|*.DCM|DCM|ask";

QString Q(const std::filesystem::path& path) { return QString::fromStdString(path.string()); }

// A card image chooser's question (kOpenImageAsked, kWriteImageAsked) with the file name
// proposed as `preset` in place of "*.DCM".
std::string WithPreset(const std::string& asked, const std::filesystem::path& preset) {
  const std::size_t at = asked.find("|*.DCM");
  return asked.substr(0, at + 1) + preset.string() + asked.substr(at + 6);
}

// A card image in link order brought into the card's own order (a raw image), or back.
std::vector<std::uint8_t> OtherOrder(std::vector<std::uint8_t> image) {
  for (std::size_t at = 0; at < image.size(); at += kBlockSize) {
    ReverseGroups(std::span(image).subspan(at).first<kBlockSize>());
  }
  return image;
}

SaveSpec Data(const std::string& name, int blocks = 1) {
  return {.name = name, .blocks = blocks, .icons = 1};
}

class DcmCommandsTest : public WindowTest {
 protected:
  void SetUp() override {
    WindowTest::SetUp();
    WriteQuickConfig();
    files_ = &chooser_;
  }

  // Starts with both slots refreshed.
  void StartLoaded(const CardBuilder& slot1, const CardBuilder& slot2 = CardBuilder()) {
    StartTwoSlot(slot1, slot2);
    Detect();
    form().Refresh_Slot1Click();
    form().refresh_slot2Click();
    messages_.texts.clear();
  }

  // Opens `card` (written as `name`) in the image pane through the open command.
  std::filesystem::path OpenImage(const std::string& name, const CardBuilder& card) {
    const std::filesystem::path path = WriteCard(name, card);
    chooser_.answer = Q(path);
    form().LOADDCMfile1Click();
    return path;
  }

  ScriptedChooser chooser_;
};

// Files of the wrong size, and a root block with the format marker that reads as a card's in
// neither byte order, are no card image: nothing is opened or written.
TEST_F(DcmCommandsTest, FilesThatAreNoCardImageAreRefusedByOpenAndByLoadIntoSlot) {
  StartLoaded(CardBuilder().Add(Data("KEEP")));
  const std::vector<std::uint8_t> slot1_before = ReadFile(CardPath("slot1.dcm"));
  std::vector<std::uint8_t> marker_only(kCardBytes, 0);
  std::fill_n(marker_only.begin() + 255 * 512, 16, 0x55);
  const std::pair<std::string, std::vector<std::uint8_t>> files[] = {
      {"short.dcm", std::vector<std::uint8_t>(kCardBytes - 1, 0x55)},
      {"long.dcm", std::vector<std::uint8_t>(kCardBytes + 1, 0x55)},
      {"marker.bin", marker_only}};
  for (const auto& [name, bytes] : files) {
    SCOPED_TRACE(name);
    const std::filesystem::path file = root_ / name;
    WriteFile(file, bytes);
    chooser_.answer = Q(file);
    messages_.texts.clear();

    form().LOADDCMfile1Click();
    form().SLOT1LOADDCM1Click();
    EXPECT_EQ(messages_.texts,
              (std::vector<std::string>{" 檔案 : " + file.string() + " 的格式並不支援!!!! ",
                                        " 檔案 : " + file.string() + " 的格式並不支援 !!!! "}));
    EXPECT_FALSE(form().ImageLoaded);
    EXPECT_FALSE(form().FileCard.ImageOpen());
    EXPECT_TRUE(form().Slot1Loaded);
    EXPECT_EQ(ReadFile(CardPath("slot1.dcm")), slot1_before);
    EXPECT_EQ(ReadFile(file), bytes);
  }
  EXPECT_EQ(chooser_.asked.front().toStdString(), kOpenImageAsked);
}

TEST_F(DcmCommandsTest, OpenListsTheImageAndAMissingOrCancelledChoiceDoesNothing) {
  StartLoaded(CardBuilder());
  chooser_.answer.reset();
  form().LOADDCMfile1Click();
  chooser_.answer = Q(root_ / "missing.dcm");
  form().LOADDCMfile1Click();
  EXPECT_FALSE(form().ImageLoaded);
  EXPECT_TRUE(messages_.texts.empty());
  EXPECT_FALSE(std::filesystem::exists(root_ / "missing.dcm")) << "no file is made up";

  const std::filesystem::path path =
      OpenImage("image.dcm", CardBuilder().Add(Data("ONE", 2)).Add(Data("TWO", 3)));
  EXPECT_TRUE(form().ImageLoaded);
  EXPECT_TRUE(form().CLOSEDCMFILE1->isEnabled());
  EXPECT_EQ(form().FileCard.ImageName(), path.string());
  EXPECT_EQ(Captions(kPaneImage), (std::vector<std::string>{"2", "3"}));
}

TEST_F(DcmCommandsTest, NewImageCopiesTheTemplateAndListsItsSaves) {
  StartLoaded(CardBuilder());
  // Only the first 131,072 bytes of the template make the image.
  std::vector<std::uint8_t> template_bytes = CardBuilder().Add(Data("TEMPLATE", 4)).LinkBytes();
  template_bytes.resize(kCardBytes + 100, 0x77);
  WriteFile(work_ / "dpnw.dc", template_bytes);
  chooser_.answer = Q(root_ / "new.dcm");

  form().NEWDCMFILE1Click();
  EXPECT_TRUE(messages_.texts.empty());
  EXPECT_EQ(chooser_.asked.back().toStdString(), kWriteImageAsked);
  template_bytes.resize(kCardBytes);
  EXPECT_EQ(ReadFile(root_ / "new.dcm"), template_bytes);
  EXPECT_TRUE(form().ImageLoaded);
  EXPECT_TRUE(form().CLOSEDCMFILE1->isEnabled());
  EXPECT_EQ(form().FileCard.ImageName(), (root_ / "new.dcm").string());
  EXPECT_EQ(Captions(kPaneImage), std::vector<std::string>{"4"});
}

TEST_F(DcmCommandsTest, AShortTemplateIsInvalidAndChangesNothing) {
  StartLoaded(CardBuilder());
  WriteFile(work_ / "dpnw.dc", std::vector<std::uint8_t>(kCardBytes - 1, 0));
  chooser_.answer = Q(root_ / "new.dcm");
  form().NEWDCMFILE1Click();
  EXPECT_EQ(messages_.texts,
            std::vector<std::string>{" 檔案 : " + (work_ / "dpnw.dc").string() + " 是無效的! "});
  EXPECT_FALSE(std::filesystem::exists(root_ / "new.dcm"));
  EXPECT_FALSE(form().ImageLoaded);
}

TEST_F(DcmCommandsTest, CloseEmptiesThePaneAndTheSelectedSave) {
  StartLoaded(CardBuilder());
  OpenImage("image.dcm", CardBuilder().Add(Data("ONE")));
  Select(kPaneImage, {0});
  form().FileListViewClick();
  ASSERT_FALSE(form().SelectedName.empty());

  form().CLOSEDCMFILE1Click();
  EXPECT_FALSE(form().ImageLoaded);
  EXPECT_FALSE(form().FileCard.ImageOpen());
  EXPECT_EQ(form().FileListView->count(), 0);
  EXPECT_TRUE(form().FileCardPanel->text().isEmpty());
  EXPECT_FALSE(form().CLOSEDCMFILE1->isEnabled());
  EXPECT_TRUE(form().SelectedName.empty());
}

TEST_F(DcmCommandsTest, SaveAsLeavesThePaneOnTheFirstFileAndLaterChangesStayThere) {
  StartLoaded(CardBuilder());
  const std::filesystem::path first =
      OpenImage("first.dcm", CardBuilder().Add(Data("ONE", 2)).Add(Data("TWO", 3)));
  const std::vector<std::uint8_t> snapshot = ReadFile(first);
  chooser_.answer = Q(root_ / "copy.dcm");
  form().SAVEAS1Click();
  EXPECT_TRUE(messages_.texts.empty());
  EXPECT_EQ(ReadFile(root_ / "copy.dcm"), snapshot);
  EXPECT_EQ(form().FileCard.ImageName(), first.string());

  // A later change goes to the first file only.
  messages_.yes = true;
  Select(kPaneImage, {0});
  form().DelSel1Click();
  EXPECT_EQ(Captions(kPaneImage), std::vector<std::string>{"3"});
  EXPECT_NE(ReadFile(first), snapshot);
  EXPECT_EQ(ReadFile(root_ / "copy.dcm"), snapshot);

  // An existing file is replaced only on Yes.
  messages_.texts.clear();
  messages_.yes = false;
  form().SAVEAS1Click();
  EXPECT_EQ(messages_.texts, std::vector<std::string>{" 檔案 " + (root_ / "copy.dcm").string() +
                                                      " 己存在,是否要取代它嗎? "});
  EXPECT_EQ(ReadFile(root_ / "copy.dcm"), snapshot);
  messages_.yes = true;
  form().SAVEAS1Click();
  EXPECT_EQ(ReadFile(root_ / "copy.dcm"), ReadFile(first));
}

TEST_F(DcmCommandsTest, SavingTheImageUnderItsOwnNameIsRefusedAndKeepsTheFile) {
  StartLoaded(CardBuilder());
  const std::filesystem::path image = OpenImage("image.dcm", CardBuilder().Add(Data("ONE", 2)));
  const std::vector<std::uint8_t> before = ReadFile(image);
  // The same file by another spelling is the same file.
  for (const std::filesystem::path& name : {image, root_ / "." / "image.dcm"}) {
    messages_.texts.clear();
    chooser_.answer = Q(name);
    form().SAVEAS1Click();
    EXPECT_EQ(messages_.texts, std::vector<std::string>{" 檔案 " + name.string() + " 在使用中 ."});
    EXPECT_EQ(ReadFile(image), before);
  }
  EXPECT_EQ(Captions(kPaneImage), std::vector<std::string>{"2"});
  EXPECT_TRUE(form().ImageLoaded);
}

TEST_F(DcmCommandsTest, SavingASlotToTheOpenImageIsRefused) {
  StartLoaded(CardBuilder().Add(Data("SLOT", 5)));
  const std::filesystem::path image = OpenImage("image.dcm", CardBuilder().Add(Data("ONE", 2)));
  const std::vector<std::uint8_t> before = ReadFile(image);
  chooser_.answer = Q(image);
  form().SLOT1SAVEAS1Click();
  EXPECT_EQ(messages_.texts, std::vector<std::string>{" 檔案 " + image.string() + " 在使用中 ."});
  EXPECT_EQ(ReadFile(image), before);
  EXPECT_EQ(Captions(kPaneImage), std::vector<std::string>{"2"});
}

TEST_F(DcmCommandsTest, DumpSlotOneThenLoadIntoSlotTwoGivesTheSameBlocks) {
  StartLoaded(CardBuilder()
                  .Add(Data("ALPHA", 3))
                  .Add({.name = "GAME", .blocks = 4, .icons = 2, .game = true}),
              CardBuilder().Add(Data("OTHER", 7)));
  const std::filesystem::path dump = root_ / "dump.dcm";
  chooser_.answer = Q(dump);
  form().SLOT1SAVEAS1Click();
  EXPECT_TRUE(messages_.texts.empty());
  EXPECT_EQ(chooser_.asked.back().toStdString(), WithPreset(kWriteImageAsked, "slot1.DCM"));
  EXPECT_EQ(ReadFile(dump), ReadFile(CardPath("slot1.dcm")));
  EXPECT_EQ(form().ProgressBar1->value(), 0);
  EXPECT_FALSE(wait_->isVisible());

  form().SLOT2LOADDCM1Click();
  EXPECT_EQ(messages_.texts, std::vector<std::string>{" 檔案 " + dump.string() +
                                                      " 將取代插槽2記憶卡的全部資料, 確定嗎? "});
  EXPECT_EQ(ReadFile(CardPath("slot2.dcm")), ReadFile(dump));
  EXPECT_TRUE(form().Slot2Loaded);
  EXPECT_EQ(Captions(kPaneSlot2), Captions(kPaneSlot1));
}

TEST_F(DcmCommandsTest, SlotSaveAsOntoAnExistingFileAnsweredNoWritesNothing) {
  StartLoaded(CardBuilder().Add(Data("ALPHA", 3)));
  const std::filesystem::path target = root_ / "old.dcm";
  WriteFile(target, {1, 2, 3});
  chooser_.answer = Q(target);
  messages_.yes = false;
  form().SLOT1SAVEAS1Click();
  EXPECT_EQ(messages_.texts,
            std::vector<std::string>{" 檔案 " + target.string() + " 己存在,是否要取代它嗎? "});
  EXPECT_EQ(ReadFile(target), (std::vector<std::uint8_t>{1, 2, 3}));
  messages_.yes = true;
  form().SLOT1SAVEAS1Click();
  EXPECT_EQ(ReadFile(target), ReadFile(CardPath("slot1.dcm")));
}

// Every save on the card is overwritten, so the command asks first, naming the slot and the
// file; No leaves the card as it was.
TEST_F(DcmCommandsTest, LoadIntoSlotOneAsksThenWritesTheCardAndListsIt) {
  StartLoaded(CardBuilder().Add(Data("OLD", 2)));
  const std::filesystem::path image =
      WriteCard("new.dcm", CardBuilder().Add(Data("NEW1", 6)).Add(Data("NEW2", 1)));
  const std::vector<std::uint8_t> before = ReadFile(CardPath("slot1.dcm"));
  const std::string question = " 檔案 " + image.string() + " 將取代插槽1記憶卡的全部資料, 確定嗎? ";
  chooser_.answer = Q(image);
  messages_.answers = {false};
  form().SLOT1LOADDCM1Click();
  EXPECT_EQ(messages_.texts, std::vector<std::string>{question});
  EXPECT_EQ(messages_.default_no, messages_.texts) << "Enter alone overwrites nothing";
  EXPECT_EQ(ReadFile(CardPath("slot1.dcm")), before);
  EXPECT_EQ(Captions(kPaneSlot1), std::vector<std::string>{"2"});
  messages_.texts.clear();
  form().SLOT1LOADDCM1Click();
  EXPECT_EQ(messages_.texts, std::vector<std::string>{question});
  EXPECT_EQ(ReadFile(CardPath("slot1.dcm")), ReadFile(image));
  EXPECT_TRUE(form().Slot1Loaded);
  EXPECT_EQ(Captions(kPaneSlot1), (std::vector<std::string>{"6", "1"}));
}

TEST_F(DcmCommandsTest, AFileThatCannotBeWrittenIsReported) {
  StartLoaded(CardBuilder().Add(Data("ALPHA", 3)));
  WriteFile(work_ / "dpnw.dc", CardBuilder().LinkBytes());
  OpenImage("image.dcm", CardBuilder().Add(Data("ONE", 2)));
  const std::filesystem::path nowhere = root_ / "no-such-folder" / "x.dcm";
  chooser_.answer = Q(nowhere);
  form().SAVEAS1Click();
  form().SLOT1SAVEAS1Click();
  form().NEWDCMFILE1Click();
  const std::string cannot_write = " 檔案 " + nowhere.string() + " 不能寫入.";
  EXPECT_EQ(messages_.texts, std::vector<std::string>(3, cannot_write));
  EXPECT_FALSE(std::filesystem::exists(nowhere));
  EXPECT_EQ(form().FileCard.ImageName(), (root_ / "image.dcm").string()) << "the image stays open";
  EXPECT_TRUE(form().ImageLoaded);
}

// An image that holds no formatted card is said to be so once, shown as an unformatted card,
// and written onto a slot only when the user says yes.
TEST_F(DcmCommandsTest, AnImageThatIsNotAFormattedCardIsSaidAndAskedAbout) {
  StartLoaded(CardBuilder().Add(Data("KEEP", 2)));
  const std::filesystem::path junk = root_ / "junk.dcm";
  WriteFile(junk, std::vector<std::uint8_t>(kCardBytes, 0));
  chooser_.answer = Q(junk);
  form().LOADDCMfile1Click();
  EXPECT_EQ(messages_.texts,
            std::vector<std::string>{" 檔案 " + junk.string() + " 不是已格式化的記憶卡."});
  EXPECT_TRUE(form().ImageLoaded);
  EXPECT_EQ(form().FileCardPanel->text().toStdString(), " 記憶卡沒有格式化");
  EXPECT_TRUE(Captions(kPaneImage).empty());

  messages_.texts.clear();
  const std::vector<std::uint8_t> slot1_before = ReadFile(CardPath("slot1.dcm"));
  messages_.yes = false;
  form().SLOT1LOADDCM1Click();
  ASSERT_FALSE(messages_.texts.empty());
  EXPECT_EQ(messages_.texts.back(),
            " 檔案 " + junk.string() + " 不是已格式化的記憶卡,是否仍要寫入插槽1嗎? ");
  EXPECT_EQ(ReadFile(CardPath("slot1.dcm")), slot1_before);
  messages_.yes = true;
  form().SLOT1LOADDCM1Click();
  EXPECT_EQ(ReadFile(CardPath("slot1.dcm")), ReadFile(junk));
}

// A card whose chains are cross-linked is listed, but nothing is deleted from it.
TEST_F(DcmCommandsTest, NothingIsDeletedFromADamagedImage) {
  StartLoaded(CardBuilder());
  // ONE takes blocks 199 and 198, TWO 197 and 196; TWO's last block then links into ONE.
  std::vector<std::uint8_t> bytes =
      CardBuilder().Add(Data("ONE", 2)).Add(Data("TWO", 2)).LinkBytes();
  bytes[254 * 512 + (392 ^ 3)] = 198;
  bytes[254 * 512 + (393 ^ 3)] = 0;
  const std::filesystem::path file = root_ / "damaged.dcm";
  WriteFile(file, bytes);
  chooser_.answer = Q(file);
  form().LOADDCMfile1Click();
  EXPECT_EQ(Captions(kPaneImage), (std::vector<std::string>{"2", "2"}));
  messages_.texts.clear();
  Select(kPaneImage, {0});
  form().DelSel1Click();
  EXPECT_EQ(messages_.texts, std::vector<std::string>{" 記憶卡的結構已損壞, 不能寫入. "});
  EXPECT_EQ(ReadFile(file), bytes);
}

TEST_F(DcmCommandsTest, SlotCommandsNeedTheirSlotAndTheImageCommandsTheImage) {
  StartTwoSlot(CardBuilder(), CardBuilder());
  Detect();
  form().SLOT1SAVEAS1Click();
  form().SLOT2SAVEAS1Click();
  form().SLOT1LOADDCM1Click();
  form().SLOT2LOADDCM1Click();
  form().SAVEAS1Click();
  form().CLOSEDCMFILE1Click();
  EXPECT_TRUE(chooser_.asked.empty());
  EXPECT_TRUE(messages_.texts.empty());
}

TEST_F(DcmCommandsTest, TheAutomaticRefreshWaitsWhileAChooserIsOpen) {
  StartLoaded(CardBuilder().Add(Data("ALPHA")));
  ASSERT_TRUE(form().Timer3->isActive());
  std::vector<bool> running;
  chooser_.on_ask = [&] { running.push_back(form().Timer3->isActive()); };
  chooser_.answer.reset();
  form().LOADDCMfile1Click();
  form().NEWDCMFILE1Click();
  form().SLOT1SAVEAS1Click();
  form().SLOT1LOADDCM1Click();
  form().SLOT1LOADDCI1Click();
  TselcolorForm selcolor(&chooser_, &form());
  form().AttachSelcolorForm(&selcolor);
  form().SLOT1LOADBMP1Click();
  EXPECT_EQ(running, std::vector<bool>(6, false));
  EXPECT_TRUE(form().Timer3->isActive()) << "re-armed afterwards";
}

TEST_F(DcmCommandsTest, SpeedButtonsAndMenuItemsRunTheirCommands) {
  StartLoaded(CardBuilder(), CardBuilder());
  OpenImage("image.dcm", CardBuilder());
  chooser_.answer.reset();
  chooser_.asked.clear();
  const std::string dci_asked =
      "DCI file format (*.DCI);;VMI/VMS file format (*.VMI *.VMS);;binary file format "
      "(*.BIN);;ALL format (*.*)|*.DCI";
  // The card image choosers start where image.dcm was chosen.
  const std::string open_asked = WithPreset(kOpenImageAsked, root_ / "*.DCM");
  const std::pair<QToolButton*, std::string> buttons[] = {
      {form().SpeedButton1, open_asked}, {form().SpeedButton2, dci_asked},
      {form().SpeedButton3, open_asked}, {form().SpeedButton4, dci_asked},
      {form().SpeedButton5, open_asked}, {form().SpeedButton6, dci_asked}};
  for (const auto& [button, asked] : buttons) {
    button->click();
    ASSERT_EQ(chooser_.asked.size(), 1u) << button->objectName().toStdString();
    EXPECT_EQ(chooser_.asked.back().toStdString(), asked) << button->objectName().toStdString();
    chooser_.asked.clear();
  }
  const std::pair<QAction*, std::string> items[] = {
      {form().NEWDCMFILE1, WithPreset(kWriteImageAsked, root_ / "*.DCM")},
      {form().LOADDCMfile1, open_asked},
      {form().SAVEAS1, WithPreset(kWriteImageAsked, root_ / "image_2.dcm")},
      {form().SLOT1SAVEAS1, WithPreset(kWriteImageAsked, root_ / "slot1.DCM")},
      {form().SLOT2SAVEAS1, WithPreset(kWriteImageAsked, root_ / "slot2.DCM")},
      {form().SLOT1LOADDCM1, open_asked},
      {form().SLOT2LOADDCM1, open_asked},
      {form().SLOT1LOADDCI1, dci_asked},
      {form().SLOT2LOADDCI1, dci_asked},
      {form().LOADDCIFILE1, dci_asked}};
  for (const auto& [item, asked] : items) {
    item->trigger();
    ASSERT_EQ(chooser_.asked.size(), 1u) << item->objectName().toStdString();
    EXPECT_EQ(chooser_.asked.back().toStdString(), asked) << item->objectName().toStdString();
    chooser_.asked.clear();
  }
  form().CLOSEDCMFILE1->trigger();
  EXPECT_FALSE(form().ImageLoaded);
  EXPECT_TRUE(messages_.texts.empty());
}

// A raw image (the card's own order, as emulators keep cards) opens in the image pane with its
// saves and its name in the window's title, and is written back in its own order.
TEST_F(DcmCommandsTest, ARawImageOpensListsAndStaysInItsOwnOrder) {
  StartLoaded(CardBuilder());
  const CardBuilder card = CardBuilder().Add(Data("ONE", 2)).Add(Data("TWO", 3));
  const std::filesystem::path raw = root_ / "card.vmu";
  WriteFile(raw, OtherOrder(card.LinkBytes()));
  chooser_.answer = Q(raw);
  form().LOADDCMfile1Click();
  EXPECT_TRUE(messages_.texts.empty());
  ASSERT_TRUE(form().ImageLoaded);
  EXPECT_EQ(Captions(kPaneImage), (std::vector<std::string>{"2", "3"}));
  EXPECT_EQ(form().windowTitle().toStdString(), "Quorvel - card.vmu");

  // Deleting a save writes the directory and FAT in the card's own order.
  Select(kPaneImage, {0});
  form().DelSel1Click();
  EXPECT_EQ(Captions(kPaneImage), std::vector<std::string>{"3"});
  EXPECT_NE(ReadFile(raw), OtherOrder(card.LinkBytes())) << "the deletion reached the file";
  form().CLOSEDCMFILE1Click();
  EXPECT_EQ(form().windowTitle().toStdString(), "Quorvel");
  chooser_.answer = Q(raw);
  form().LOADDCMfile1Click();
  EXPECT_EQ(Captions(kPaneImage), std::vector<std::string>{"3"}) << "read back in its order";
}

// A backup and a save-as take the order of the name the user gives; a raw image restores
// onto a slot as its DCM would.
TEST_F(DcmCommandsTest, BackupsTakeTheOrderOfTheirNameAndRawImagesRestore) {
  StartLoaded(CardBuilder().Add(Data("ALPHA", 3)), CardBuilder().Add(Data("OTHER", 7)));
  const std::vector<std::uint8_t> slot1 = ReadFile(CardPath("slot1.dcm"));
  for (const char* name : {"x.bin", "x.dcm", "x.VMD"}) {
    chooser_.answer = Q(root_ / name);
    form().SLOT1SAVEAS1Click();
    const bool dcm = std::string(name) == "x.dcm";
    EXPECT_EQ(ReadFile(root_ / name), dcm ? slot1 : OtherOrder(slot1)) << name;
  }
  messages_.texts.clear();
  chooser_.answer = Q(root_ / "x.bin");
  form().SLOT2LOADDCM1Click();
  EXPECT_EQ(messages_.texts.size(), 1u) << "only the question before the card is replaced";
  EXPECT_EQ(ReadFile(CardPath("slot2.dcm")), slot1);
  EXPECT_EQ(Captions(kPaneSlot2), Captions(kPaneSlot1));

  OpenImage("image.dcm", CardBuilder().Add(Data("ONE", 2)));
  chooser_.answer = Q(root_ / "copy.vmu");
  form().SAVEAS1Click();
  EXPECT_EQ(ReadFile(root_ / "copy.vmu"), OtherOrder(ReadFile(root_ / "image.dcm")));
}

}  // namespace
}  // namespace quorvel::test
