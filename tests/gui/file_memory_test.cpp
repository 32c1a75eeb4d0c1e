// The window's file choosers remember the last folder of each kind of file, propose the save's
// or card's own name, and the 檔案 menu lists the card images opened lately.
#include "app/file_history.h"
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

// The preset each chooser was asked with (the last field but the save chooser's two).
std::string Preset(const QString& asked) {
  const QStringList fields = asked.split('|');
  return (asked.startsWith("save:") ? fields[fields.size() - 3] : fields.back()).toStdString();
}

class FileMemoryTest : public WindowTest {
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

  void StartLoaded(const CardBuilder& slot1) {
    StartTwoSlot(slot1, CardBuilder());
    save_sel_ = std::make_unique<TSave_sel_Form>(&form());
    delete_ = std::make_unique<TDelete_Form>(&form());
    copy_ = std::make_unique<TcopyForm>(&form());
    form().AttachSaveDialogs(save_sel_.get(), delete_.get(), copy_.get());
    Detect();
    form().Refresh_Slot1Click();
    form().refresh_slot2Click();
    messages_.texts.clear();
  }

  // Runs `command` with the chooser cancelled and returns the preset it was asked with.
  std::string PresetOf(void (TForm1::*command)()) {
    chooser_.answer.reset();
    (form().*command)();
    return Preset(chooser_.asked.back());
  }

  // Saves the selected save of slot 1 through the save dialog's 儲存單元, to `out`.
  std::string SaveSelectedSaveAs(const std::optional<std::filesystem::path>& out) {
    chooser_.answer = out ? std::optional<QString>(Q(*out)) : std::nullopt;
    Select(kPaneSlot1, {0});
    DialogScript script({{"Save_sel_Form", "BitBtn4"}});
    form().Card1ListViewDblClick();
    return Preset(chooser_.asked.back());
  }

  std::vector<std::string> RecentItems() {
    form().FilePopupMenu->aboutToShow();
    std::vector<std::string> items;
    for (QAction* item : form().RecentImagesMenu->actions()) {
      items.push_back((item->isEnabled() ? "" : "(off) ") + Text(item->text()));
    }
    return items;
  }

  ScriptedChooser chooser_;
  std::unique_ptr<TSave_sel_Form> save_sel_;
  std::unique_ptr<TDelete_Form> delete_;
  std::unique_ptr<TcopyForm> copy_;
};

TEST_F(FileMemoryTest, EachKindOfFileStartsInTheFolderLastUsedForIt) {
  StartLoaded(CardBuilder().Add({.name = "PICK", .blocks = 2, .icons = 1}));
  std::filesystem::create_directories(root_ / "cards");
  std::filesystem::create_directories(root_ / "saves");
  EXPECT_EQ(PresetOf(&TForm1::LOADDCMfile1Click), "*.DCM");
  chooser_.answer = Q(WriteCard("cards/one.dcm", CardBuilder()));
  form().LOADDCMfile1Click();
  ASSERT_TRUE(form().ImageLoaded);

  // The card image choosers start in cards/, the save file choosers do not.
  EXPECT_EQ(PresetOf(&TForm1::LOADDCMfile1Click), (root_ / "cards" / "*.DCM").string());
  EXPECT_EQ(PresetOf(&TForm1::NEWDCMFILE1Click), (root_ / "cards" / "*.DCM").string());
  EXPECT_EQ(PresetOf(&TForm1::SLOT1LOADDCI1Click), "*.DCI");

  // A save written to saves/ moves the save file choosers there, and only those.
  EXPECT_EQ(SaveSelectedSaveAs(root_ / "saves" / "kept.dci"), "PICK.DCI");
  ASSERT_TRUE(std::filesystem::exists(root_ / "saves" / "kept.dci"));
  EXPECT_EQ(PresetOf(&TForm1::SLOT1LOADDCI1Click), (root_ / "saves" / "*.DCI").string());
  EXPECT_EQ(PresetOf(&TForm1::LOADDCIFILE1Click), (root_ / "saves" / "*.DCI").string());
  EXPECT_EQ(PresetOf(&TForm1::LOADDCMfile1Click), (root_ / "cards" / "*.DCM").string());
  EXPECT_TRUE(messages_.texts.empty());

  // Kept with the settings for the next run.
  const FileHistory next_run(work_);
  EXPECT_EQ(next_run.Folder(FileKind::kCardImage), root_ / "cards");
  EXPECT_EQ(next_run.Folder(FileKind::kSaveFile), root_ / "saves");
  EXPECT_EQ(next_run.Folder(FileKind::kBitmap), std::filesystem::path());
}

TEST_F(FileMemoryTest, SaveAsProposesTheSavesOrTheCardsOwnNameNotTakenYet) {
  StartLoaded(CardBuilder().Add({.name = "PICK", .blocks = 2, .icons = 1}));
  // The save's own name, then (its folder known, the name taken there) the next free one.
  EXPECT_EQ(SaveSelectedSaveAs(root_ / "PICK.DCI"), "PICK.DCI");
  EXPECT_EQ(SaveSelectedSaveAs(std::nullopt), (root_ / "PICK_2.DCI").string());

  // A slot's card is proposed under the slot's name.
  chooser_.answer = Q(root_ / "slot1.DCM");
  form().SLOT1SAVEAS1Click();
  ASSERT_TRUE(std::filesystem::exists(root_ / "slot1.DCM"));
  EXPECT_EQ(Preset(chooser_.asked.back()), "slot1.DCM");
  EXPECT_EQ(PresetOf(&TForm1::SLOT1SAVEAS1Click), (root_ / "slot1_2.DCM").string());
  EXPECT_EQ(PresetOf(&TForm1::SLOT2SAVEAS1Click), (root_ / "slot2.DCM").string());

  // The open image's copy: its own name, free, beside it and with its extension.
  std::filesystem::create_directories(root_ / "cards");
  const std::filesystem::path image = WriteCard("cards/mine.vmu", CardBuilder());
  WriteFile(root_ / "cards" / "mine_2.vmu", {1});
  chooser_.answer = Q(image);
  form().LOADDCMfile1Click();
  ASSERT_TRUE(form().ImageLoaded);
  EXPECT_EQ(PresetOf(&TForm1::SAVEAS1Click), (root_ / "cards" / "mine_3.vmu").string());
  EXPECT_TRUE(messages_.texts.empty());
}

TEST_F(FileMemoryTest, RecentImagesOpenThroughTheOpenCommandsChecks) {
  StartLoaded(CardBuilder());
  EXPECT_FALSE(form().RecentImagesMenu->isEnabled());
  std::vector<std::filesystem::path> images;
  for (int i = 0; i < 9; ++i) {
    images.push_back(WriteCard("card" + std::to_string(i) + ".dcm", CardBuilder()));
    chooser_.answer = Q(images.back());
    form().LOADDCMfile1Click();
  }
  // The last eight, the latest first.
  std::vector<std::string> expected;
  for (int i = 8; i >= 1; --i) expected.push_back(images[i].string());
  EXPECT_EQ(RecentItems(), expected);
  EXPECT_TRUE(form().RecentImagesMenu->isEnabled());

  // A file that has gone is shown but cannot be chosen; one that is no card image any more is
  // refused as the open command refuses it.
  std::filesystem::remove(images[7]);
  WriteFile(images[6], {1, 2, 3});
  std::vector<std::string> shown = RecentItems();
  EXPECT_EQ(shown[1], "(off) " + images[7].string());
  messages_.texts.clear();
  form().RecentImagesMenu->actions()[2]->trigger();
  EXPECT_EQ(form().FileCard.ImageName(), images[8].string());
  ASSERT_EQ(messages_.texts.size(), 1u);
  EXPECT_NE(messages_.texts[0].find(images[6].string()), std::string::npos);

  // Choosing one opens it and puts it first.
  form().RecentImagesMenu->actions()[4]->trigger();
  EXPECT_EQ(form().FileCard.ImageName(), images[4].string());
  EXPECT_EQ(RecentItems().front(), images[4].string());
  EXPECT_EQ(RecentItems().size(), 8u);
}

}  // namespace
}  // namespace quorvel::test
