// The main window's hex editor command on a save in slot 1 of the virtual unit: the save's
// data goes to "~ico._", a save in the editor writes the same blocks back, closing without
// saving writes nothing, a file whose length changed is refused, the data goes back only over
// the save that was opened, and a failed export never opens an older working file.
#include <sys/resource.h>

#include <QCoreApplication>
#include <QTimer>
#include <csignal>
#include <fstream>

#include "card/save_transfer.h"
#include "gui/tminiedform.h"
#include "gui/window_fixture.h"

namespace quorvel::test {
namespace {

class EditSaveTest : public WindowTest {
 protected:
  void StartWithSave() {
    StartTwoSlot(CardBuilder()
                     .Add({.name = "FIRST", .blocks = 1, .icons = 1})
                     .Add({.name = "EDITME", .blocks = 3, .icons = 1}),
                 std::nullopt);
    Detect();
    form().Refresh_Slot1Click();
    Select(kPaneSlot1, {1});
    form().Card1ListViewClick();
    ASSERT_EQ(form().SelectedName, "EDITME      ");
    editor_ = std::make_unique<TMiniEdForm>(messages_, "", &form());
    form().AttachMiniEdForm(editor_.get());
    card_before_ = ReadFile(CardPath("slot1.dcm"));
    messages_.texts.clear();
  }

  void TearDown() override {
    editor_.reset();  // before the main window, its parent
    WindowTest::TearDown();
  }

  // Runs the command; `in_editor` acts while the modal editor is open and must close it.
  void EditWith(std::function<void(TMiniEdForm&)> in_editor) {
    WhenVisible(editor_.get(), [this, in_editor] {
      caption_ = editor_->windowTitle().toStdString();
      in_editor(*editor_);
      if (editor_->isVisible()) {
        ADD_FAILURE() << "the editor was left open";
        editor_->done(0);
      }
    });
    form().EditBtnClick();
  }

  static std::string ReadFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }
  std::string WorkFile() const { return ReadFile(work_ / "~ico._"); }
  // The save's data as the card holds it now, read back over the link.
  std::string SaveOnCard() {
    const auto path = root_ / "readback.bin";
    OwnLook(
        [&] { EXPECT_TRUE(ExportSaveData(form().Slot1Card, form().SelectedSlot, path.string())); });
    return ReadFile(path);
  }

  std::unique_ptr<TMiniEdForm> editor_;
  std::string card_before_;
  std::string caption_;
};

TEST_F(EditSaveTest, SavingWritesTheEditedBytesOverTheSameBlocks) {
  StartWithSave();
  const std::string original = SaveOnCard();
  ASSERT_EQ(original.size(), 3u * 512);
  const std::uint64_t writes_before = unit().Counters().block_writes;
  EditWith([](TMiniEdForm& editor) {
    HexDocument& doc = editor.HexEditor1->Document();
    EXPECT_EQ(doc.Size(), 3 * 512);
    doc.Seek(700, 0, true);
    doc.TypeCharacter(U'7');
    doc.TypeCharacter(U'E');
    EXPECT_TRUE(editor.Speichern1Click());
    editor.close();
  });
  EXPECT_EQ(caption_, " 檔案 :EDITME      ");
  std::string expected = original;
  expected[700] = '\x7E';
  EXPECT_EQ(WorkFile(), expected);
  EXPECT_EQ(unit().Counters().block_writes - writes_before, 3u) << "each block of the save once";
  EXPECT_EQ(SaveOnCard(), expected);
  EXPECT_TRUE(messages_.texts.empty());
}

// The program builds the editor when the command first needs it, and only once.
TEST_F(EditSaveTest, AnEditorMadeOnFirstUseIsBuiltOnceByTheCommand) {
  StartWithSave();
  editor_.reset();
  form().MiniEdForm = nullptr;
  int built = 0;
  form().AttachMiniEdForm(std::function<TMiniEdForm*()>([this, &built] {
    ++built;
    editor_ = std::make_unique<TMiniEdForm>(messages_, "", &form());
    return editor_.get();
  }));
  EXPECT_EQ(built, 0);
  for (int run = 0; run < 2; ++run) {
    bool shown = false;
    WhenVisible([this] { return editor_.get(); },
                [this, &shown] {
                  shown = true;
                  editor_->close();
                });
    form().EditBtnClick();
    EXPECT_TRUE(shown) << "run " << run;
  }
  EXPECT_EQ(built, 1);
  EXPECT_EQ(form().MiniEdForm, editor_.get());
}

TEST_F(EditSaveTest, ClosingWithoutSavingWritesNothing) {
  StartWithSave();
  const std::uint64_t writes_before = unit().Counters().block_writes;
  messages_.yes = false;  // "No" to saving the changes
  EditWith([](TMiniEdForm& editor) {
    editor.HexEditor1->Document().ReplaceByte(5, 0x42);
    editor.close();
  });
  EXPECT_EQ(messages_.texts.size(), 1u) << "asked to save changes";
  EXPECT_EQ(unit().Counters().block_writes, writes_before);
  EXPECT_EQ(ReadFile(CardPath("slot1.dcm")), card_before_);
}

TEST_F(EditSaveTest, AFileOfAnotherLengthIsNotWrittenBack) {
  StartWithSave();
  const std::uint64_t writes_before = unit().Counters().block_writes;
  EditWith([](TMiniEdForm& editor) {
    HexDocument& doc = editor.HexEditor1->Document();
    editor.FixedFilesize1->trigger();  // the user allows size changes again
    const std::uint8_t extra[3] = {1, 2, 3};
    EXPECT_TRUE(doc.InsertBuffer(extra, 10));
    EXPECT_TRUE(editor.Speichern1Click());
    editor.close();
  });
  EXPECT_EQ(WorkFile().size(), 3u * 512 + 3);
  ASSERT_EQ(messages_.texts.size(), 1u);
  EXPECT_NE(messages_.texts[0].find("1539"), std::string::npos) << messages_.texts[0];
  EXPECT_EQ(unit().Counters().block_writes, writes_before);
  EXPECT_EQ(ReadFile(CardPath("slot1.dcm")), card_before_);
}

TEST_F(EditSaveTest, OnlyTheSaveThatWasOpenedIsWrittenBack) {
  StartWithSave();
  const std::filesystem::path other =
      WriteCard("other.dcm", CardBuilder().Add({.name = "OTHER", .blocks = 5, .icons = 1}));
  const std::string other_before = ReadFile(other);
  EditWith([&](TMiniEdForm& editor) {
    EXPECT_FALSE(form().Timer3->isActive()) << "no automatic refresh while the save is out";
    HexDocument& doc = editor.HexEditor1->Document();
    EXPECT_TRUE(doc.NoSizeChange());
    const std::uint8_t extra[1] = {1};
    EXPECT_FALSE(doc.InsertBuffer(extra, 10)) << "a save keeps its size";
    // Another card put into slot 1 while the editor is open.
    std::string error;
    ASSERT_TRUE(unit().InsertCardAfter(0, other, 0, error)) << error;
    doc.ReplaceByte(5, 0x42);
    EXPECT_TRUE(editor.Speichern1Click());
    editor.close();
  });
  EXPECT_EQ(messages_.texts,
            std::vector<std::string>{" 檔案 EDITME       已不在記憶卡上, 資料沒有寫回記憶卡. "});
  EXPECT_EQ(ReadFile(other), other_before);
  EXPECT_FALSE(editor_->HexEditor1->Document().NoSizeChange()) << "the editor's own setting";
  EXPECT_TRUE(form().Timer3->isActive());
}

TEST_F(EditSaveTest, AFailedExportNeverOpensAnOldWorkingFile) {
  StartLoaded(CardBuilder(), CardBuilder(),
              CardBuilder().Add({.name = "IMAGESAVE", .blocks = 4, .icons = 1}));
  editor_ = std::make_unique<TMiniEdForm>(messages_, "", &form());
  form().AttachMiniEdForm(editor_.get());
  Select(kPaneImage, {0});
  form().FileListViewClick();
  ASSERT_EQ(form().SelectedName, "IMAGESAVE   ");
  const std::string stale(4 * 512, 'S');
  { std::ofstream(work_ / "~ico._", std::ios::binary) << stale; }
  messages_.texts.clear();
  bool opened = false;
  WhenVisible(editor_.get(), [&] {
    opened = true;
    editor_->done(0);
  });
  {
    // No file may grow past 1 KiB meanwhile, so the save's 2 KiB cannot be written out (this
    // holds for the superuser too).
    const auto old_signal = std::signal(SIGXFSZ, SIG_IGN);
    rlimit before{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &before), 0);
    rlimit small = before;
    small.rlim_cur = 1024;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    form().EditBtnClick();
    setrlimit(RLIMIT_FSIZE, &before);
    std::signal(SIGXFSZ, old_signal);
  }
  QCoreApplication::processEvents();
  EXPECT_FALSE(opened);
  EXPECT_EQ(messages_.texts, std::vector<std::string>{" 資料傳送失敗. "});
  EXPECT_EQ(WorkFile(), stale);
}

TEST_F(EditSaveTest, NoSaveShownDoesNothing) {
  StartWithSave();
  form().SelectedName.clear();
  form().EditBtnClick();
  EXPECT_FALSE(std::filesystem::exists(work_ / "~ico._"));
}

}  // namespace
}  // namespace quorvel::test
