// The main window's hex editor command on a save in slot 1 of the virtual unit: the save's
// data goes to "~ico._", a save in the editor writes the same blocks back, closing without
// saving writes nothing, and a file whose length changed is refused.
#include <QTimer>
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
    QTimer::singleShot(0, editor_.get(), [this, in_editor] {
      EXPECT_TRUE(editor_->isVisible());
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
    EXPECT_TRUE(ExportSaveData(form().Slot1Card, form().SelectedSlot, path.string()));
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
    const std::uint8_t extra[3] = {1, 2, 3};
    doc.InsertBuffer(extra, 10);
    EXPECT_TRUE(editor.Speichern1Click());
    editor.close();
  });
  EXPECT_EQ(WorkFile().size(), 3u * 512 + 3);
  ASSERT_EQ(messages_.texts.size(), 1u);
  EXPECT_NE(messages_.texts[0].find("1539"), std::string::npos) << messages_.texts[0];
  EXPECT_EQ(unit().Counters().block_writes, writes_before);
  EXPECT_EQ(ReadFile(CardPath("slot1.dcm")), card_before_);
}

TEST_F(EditSaveTest, NoSaveShownDoesNothing) {
  StartWithSave();
  form().SelectedName.clear();
  form().EditBtnClick();
  EXPECT_FALSE(std::filesystem::exists(work_ / "~ico._"));
}

}  // namespace
}  // namespace quorvel::test
