// The "Mini HexEditor" window: find and find next, go to, jump, the close check, saving and its
// error box, the clipboard, hex text, Ctrl+A, the status bar and the menu enabling.
#include <QClipboard>
#include <QDir>
#include <QFileDialog>
#include <QKeyEvent>
#include <QMimeData>
#include <QTimer>

#include "gui/hex_window_rig.h"

namespace quorvel::test {
namespace {

using MiniEdFormTest = MiniEdTest;

TEST_F(MiniEdFormTest, FindTextIgnoringCaseOrExactly) {
  Load("xx ABC yy abc");
  inputs_ = {QStringLiteral("T abc")};
  form_->Find1->trigger();
  ASSERT_EQ(prompts_.size(), 1u);
  EXPECT_EQ(prompts_[0].title, "Find Data");
  EXPECT_EQ(prompts_[0].prompt, "\"t..\" ascii, \"T..\" + ignore case, else search hex");
  ASSERT_TRUE(doc().GetSelection());
  EXPECT_EQ(doc().GetSelection()->first, 2);
  EXPECT_EQ(doc().GetSelection()->last, 5);

  doc().Seek(0, 0, true);
  inputs_ = {QStringLiteral("t abc")};
  form_->Find1->trigger();
  EXPECT_EQ(prompts_[1].initial, "T abc") << "the last text typed";
  ASSERT_TRUE(doc().GetSelection());
  EXPECT_EQ(doc().GetSelection()->first, 9);
  EXPECT_TRUE(messages_.texts.empty());

  inputs_ = {QStringLiteral("t zzz")};
  form_->Find1->trigger();
  EXPECT_EQ(messages_.texts, std::vector<std::string>{" 資料不存在. "});
  EXPECT_EQ(doc().GetSelection()->first, 9) << "selection stays";
}

TEST_F(MiniEdFormTest, FindHexDigitsPadsAnOddCount) {
  Load(std::string("\x01\x0A\x5F\x0A\x5F", 5));
  inputs_ = {QStringLiteral("a 5 f")};
  form_->Find1->trigger();
  ASSERT_TRUE(doc().GetSelection());
  EXPECT_EQ(doc().GetSelection()->first, 1);
  EXPECT_EQ(doc().GetSelection()->last, 2);
}

TEST_F(MiniEdFormTest, FindNextGoesPastTheSelectedMatch) {
  Load("ab--ab--ab");
  EXPECT_EQ(form_->FindNext1->shortcut(), QKeySequence(Qt::Key_F3));
  inputs_ = {QStringLiteral("tab")};
  form_->FindNext1->trigger();  // without a pattern it asks
  EXPECT_EQ(doc().GetSelection()->first, 0);
  form_->FindNext1->trigger();
  EXPECT_EQ(doc().GetSelection()->first, 4);
  form_->FindNext1->trigger();
  EXPECT_EQ(doc().GetSelection()->first, 8);
  form_->FindNext1->trigger();
  EXPECT_EQ(messages_.texts, std::vector<std::string>{" 資料不存在. "});
  EXPECT_EQ(prompts_.size(), 1u);
}

TEST_F(MiniEdFormTest, GoToHexAndDecimalTexts) {
  Load(std::string(100, '\0'));
  doc().Seek(7, 0, true);
  inputs_ = {QStringLiteral("0x1F")};
  form_->Goto1->trigger();
  EXPECT_EQ(prompts_[0].title, "Goto file position...");
  EXPECT_EQ(prompts_[0].prompt, "(prefix \"0x\" or \"$\" means hex)");
  EXPECT_EQ(prompts_[0].initial, "7");
  EXPECT_EQ(doc().CaretPosition(), 31);
  doc().Seek(0, 0, true);
  inputs_ = {QStringLiteral("$1f"), QStringLiteral("42"), QStringLiteral("abc"),
             QStringLiteral("100")};
  form_->Goto1->trigger();
  EXPECT_EQ(doc().CaretPosition(), 31);
  form_->Goto1->trigger();
  EXPECT_EQ(doc().CaretPosition(), 42);
  form_->Goto1->trigger();
  form_->Goto1->trigger();
  EXPECT_EQ(messages_.errors, (std::vector<std::string>{"Invalid position", "Invalid position"}));
  EXPECT_EQ(doc().CaretPosition(), 42);
}

TEST_F(MiniEdFormTest, JumpsClampToTheData) {
  Load(std::string(100, '\0'));
  EXPECT_EQ(form_->Jumpforward1->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_J));
  EXPECT_EQ(form_->Jumpbackward1->shortcut(), QKeySequence(Qt::SHIFT | Qt::CTRL | Qt::Key_J));
  form_->Jumpforward1->trigger();
  EXPECT_EQ(doc().CaretPosition(), 99);
  form_->Jumpbackward1->trigger();
  EXPECT_EQ(doc().CaretPosition(), 0);
  inputs_ = {QStringLiteral("30"), QStringLiteral("many")};
  form_->Amount40001->trigger();
  EXPECT_EQ(prompts_[0].title, "Jump amount");
  EXPECT_EQ(prompts_[0].prompt, "Enter new value:");
  EXPECT_EQ(prompts_[0].initial, "4000");
  EXPECT_EQ(form_->Amount40001->text().toStdString(), " 總數 : 30");
  form_->Amount40001->trigger();
  EXPECT_EQ(form_->JumpAmount(), 30) << "not a number keeps the amount";
  form_->Jumpforward1->trigger();
  EXPECT_EQ(doc().CaretPosition(), 30);

  // Amounts at the ends of the number range stop at the data's ends instead of wrapping.
  inputs_ = {QStringLiteral("9223372036854775807"), QStringLiteral("-9223372036854775808")};
  form_->Amount40001->trigger();
  form_->Jumpforward1->trigger();
  EXPECT_EQ(doc().CaretPosition(), 99);
  doc().Seek(50, 0, true);
  form_->Amount40001->trigger();
  form_->Jumpbackward1->trigger();  // back by the lowest amount: forward as far as it goes
  EXPECT_EQ(doc().CaretPosition(), 99);
  form_->Jumpforward1->trigger();
  EXPECT_EQ(doc().CaretPosition(), 0);
}

TEST_F(MiniEdFormTest, CancelOnCloseKeepsTheWindowAndTheData) {
  const auto path = Load("abcd");
  doc().ReplaceByte(0, 'Z');
  messages_.answers = {Answer::kCancel};
  form_->Beenden1->trigger();
  EXPECT_TRUE(form_->isVisible());
  EXPECT_EQ(messages_.texts, std::vector<std::string>{" 改變儲存到\r\n" + path.string() + " ?"});
  EXPECT_EQ(Data(), "Zbcd");
  EXPECT_TRUE(doc().Modified());
  EXPECT_EQ(dir_.Read("data.bin"), "abcd");
  EXPECT_FALSE(form_->Saved);

  messages_.answers = {Answer::kNo};
  form_->close();
  EXPECT_FALSE(form_->isVisible());
  EXPECT_EQ(dir_.Read("data.bin"), "abcd");
}

TEST_F(MiniEdFormTest, YesOnCloseSavesAndSetsTheSavedFlag) {
  Load("abcd");
  doc().ReplaceByte(3, 'Z');
  messages_.answers = {Answer::kYes};
  form_->close();
  EXPECT_FALSE(form_->isVisible());
  EXPECT_TRUE(form_->Saved);
  EXPECT_EQ(dir_.Read("data.bin"), "abcZ");
  EXPECT_EQ(dir_.Read("data.bak"), "abcd") << "backup of the file saved over";
}

TEST_F(MiniEdFormTest, FailedSaveShowsTheErrorBoxAndKeepsTheState) {
  Load("abcd");
  doc().ReplaceByte(0, 'Z');
  doc().SetReadOnly(true);  // the save command then asks for a name
  const std::string target = (dir_.path() / "missing" / "out.bin").string();
  choices_ = {FileChoice{target}};
  EXPECT_FALSE(form_->Speichern1Click());
  EXPECT_TRUE(form_->Saved) << "set also when the save fails";
  EXPECT_EQ(messages_.errors, std::vector<std::string>{"Cannot save file\r\n" + target});
  EXPECT_TRUE(doc().Modified());
  EXPECT_EQ(Panel(3), "R");

  choices_ = {std::nullopt};
  EXPECT_FALSE(form_->Speichern1Click()) << "a cancelled dialog is not a save";
  EXPECT_EQ(messages_.errors.size(), 1u);
}

TEST_F(MiniEdFormTest, UnnamedFileInTheQuestionForANewDocument) {
  form_->Neu1->trigger();
  form_->AppendFF();
  EXPECT_EQ(Data(), "\xFF");
  ASSERT_TRUE(doc().GetSelection());
  EXPECT_EQ(doc().GetSelection()->first, 0);
  messages_.answers = {Answer::kCancel};
  form_->Neu1->trigger();
  EXPECT_EQ(messages_.texts, std::vector<std::string>{" 改變儲存到\r\nUnnamed File ?"});
  EXPECT_EQ(doc().Size(), 1) << "cancel keeps the document";
}

TEST_F(MiniEdFormTest, ClipboardUsesHexTextWithoutSwappedNibbles) {
  Load(std::string("\xA5\x01\x02\x03", 4));
  doc().SetSwapNibbles(true);
  doc().Select(0, 1);
  form_->Kopieren1->trigger();
  EXPECT_EQ(QApplication::clipboard()->text().toStdString(), "A501");
  form_->Ausschneiden1->trigger();
  EXPECT_EQ(Data(), std::string("\x02\x03", 2));
  doc().Seek(1, 0, true);
  QApplication::clipboard()->setText(QStringLiteral("0a-5F x"));
  form_->Einfgen1->trigger();
  EXPECT_EQ(Data(), std::string("\x02\x0A\x5F\x03", 4));
  doc().ClearSelection();
  doc().Seek(0, 0, true);
  QApplication::clipboard()->setText(QStringLiteral("Hé"));
  form_->PasteText1->trigger();
  EXPECT_EQ(Data(), std::string("H\xE9\x02\x0A\x5F\x03", 6));
}

TEST_F(MiniEdFormTest, HexTextExportAndImport) {
  Load(std::string("\x12\xAB", 2));
  const std::string text = (dir_.path() / "hex.txt").string();
  choices_ = {FileChoice{text}};
  form_->HexText1->trigger();
  EXPECT_EQ(dir_.Read("hex.txt"), "12AB");
  dir_.Write("in.txt", "de ad\r\nbe-ef 7");
  choices_ = {FileChoice{(dir_.path() / "in.txt").string(), /*read_only=*/true}};
  form_->ImportfromHexText1->trigger();
  EXPECT_EQ(Data(), "\xDE\xAD\xBE\xEF");
  EXPECT_TRUE(doc().ReadOnly()) << "the read-only box was ticked";

  // A text that opens but cannot be read (a folder) is said, and the data stays.
  const std::string folder = (dir_.path() / "folder").string();
  std::filesystem::create_directory(folder);
  choices_ = {FileChoice{folder}};
  form_->ImportfromHexText1->trigger();
  EXPECT_EQ(messages_.errors, std::vector<std::string>{" 檔案 " + folder + " 不能讀取."});
  EXPECT_EQ(Data(), "\xDE\xAD\xBE\xEF");
}

TEST_F(MiniEdFormTest, FileDialogsListFilesWithoutAnExtension) {
  TMiniEdForm form(messages_);
  for (const FileDialogKind kind : {FileDialogKind::kOpen, FileDialogKind::kSave}) {
    QStringList patterns;
    QTimer::singleShot(0, [&patterns] {
      auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
      ASSERT_NE(dialog, nullptr);
      const QString filter = dialog->selectedNameFilter();
      const qsizetype open = filter.indexOf(QLatin1Char('('));
      patterns = filter.mid(open + 1, filter.indexOf(QLatin1Char(')')) - open - 1)
                     .split(QLatin1Char(' '), Qt::SkipEmptyParts);
      dialog->reject();
    });
    EXPECT_FALSE(form.ChooseFile(kind));
    EXPECT_TRUE(QDir::match(patterns, QStringLiteral("~ico_save")))
        << patterns.join(' ').toStdString();
    EXPECT_TRUE(QDir::match(patterns, QStringLiteral("card.dcm")));
  }
}

TEST_F(MiniEdFormTest, StatusBarAndMenuEnabling) {
  form_->UpdateMenus();
  EXPECT_FALSE(form_->Goto1->isEnabled()) << "no data";
  EXPECT_FALSE(form_->Print1->isEnabled());
  Load(std::string(20, '\0'));
  EXPECT_EQ(Panel(0), "Pos : 0");
  EXPECT_EQ(Panel(1), "");
  EXPECT_EQ(Panel(2), "");
  EXPECT_EQ(Panel(3), "");
  EXPECT_EQ(Panel(4), "OVW");
  EXPECT_EQ(Panel(5), "Size : 20");
  EXPECT_FALSE(form_->Speichern1->isEnabled());
  EXPECT_FALSE(form_->Rckgngig1->isEnabled());
  EXPECT_EQ(form_->Rckgngig1->text().toStdString(), " 復原: No Undo");
  EXPECT_FALSE(form_->Kopieren1->isEnabled());
  EXPECT_TRUE(form_->Goto1->isEnabled());
  doc().ReplaceByte(5, 1);
  EXPECT_TRUE(form_->Speichern1->isEnabled());
  EXPECT_EQ(form_->Rckgngig1->text().toStdString(), " 復原: Byte changed");
  EXPECT_EQ(Panel(2), "*");
  doc().Select(2, 4);
  EXPECT_TRUE(form_->Kopieren1->isEnabled());
  EXPECT_EQ(Panel(0), "Pos : 4");
  QApplication::clipboard()->clear();
  EXPECT_FALSE(form_->Einfgen1->isEnabled());
  QApplication::clipboard()->setText(QStringLiteral("00"));
  EXPECT_TRUE(form_->PasteText1->isEnabled());
  form_->_32->trigger();
  EXPECT_EQ(doc().BytesPerLine(), 32);
  EXPECT_TRUE(form_->_32->isChecked());
  EXPECT_FALSE(form_->_16->isChecked());
  form_->FixedFilesize1->trigger();
  EXPECT_TRUE(doc().NoSizeChange());
  form_->FixedFilesize1->trigger();
  form_->AppendFF();
  EXPECT_TRUE(form_->Rckgngig1->isEnabled());
  form_->FixedFilesize1->trigger();  // the appended byte can no longer be taken back
  EXPECT_FALSE(form_->Rckgngig1->isEnabled());
  EXPECT_FALSE(doc().Undo());
  EXPECT_EQ(form_->windowTitle().toStdString(), "Mini HexEditor");
}

// Clipboard data that counts how often its text is fetched.
class CountingMimeData : public QMimeData {
 public:
  mutable int fetches = 0;

 protected:
  QVariant retrieveData(const QString& type, QMetaType meta) const override {
    ++fetches;
    return QMimeData::retrieveData(type, meta);
  }
};

TEST_F(MiniEdFormTest, CaretMovesDoNotFetchTheClipboardText) {
  Load(std::string(64, '\0'));
  auto* data = new CountingMimeData;
  data->setText(QString(100000, QLatin1Char('A')));
  QApplication::clipboard()->setMimeData(data);  // the clipboard owns it now
  ASSERT_EQ(QApplication::clipboard()->mimeData(), data) << "this platform copies the data";
  data->fetches = 0;
  for (int i = 0; i < 20; ++i) doc().Seek(i, 0, true);
  EXPECT_TRUE(form_->Einfgen1->isEnabled());
  EXPECT_EQ(data->fetches, 0);
}

TEST_F(MiniEdFormTest, FirstShowLoadsTheCommandLineFile) {
  const auto first = dir_.Write("arg.bin", "from the command line");
  const auto other = dir_.Write("other.bin", "other");
  TMiniEdForm form(messages_, first.string());
  ASSERT_TRUE(form.LoadFile(other.string()));
  form.show();
  EXPECT_EQ(form.HexEditor1->Document().FileName(), first.string());
  form.hide();
  ASSERT_TRUE(form.LoadFile(other.string()));
  form.show();
  EXPECT_EQ(form.HexEditor1->Document().FileName(), other.string()) << "only the first time";
}

}  // namespace
}  // namespace quorvel::test
