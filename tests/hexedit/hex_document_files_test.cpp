// Tests of the document's files: name states, Open, New, Save with its backup rule and
// failures, the working file's life, properties and their error texts.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include "hex_test_util.h"
#include "hexedit/hex_document.h"
#include "support/unprivileged.h"

namespace quorvel {
namespace {

using testing_util::Bytes;
using testing_util::DataOf;
using testing_util::Load;
using testing_util::ReadFileBytes;
using testing_util::ScratchDir;
using testing_util::Sequence;

template <typename Action>
std::string ErrorText(Action action) {
  try {
    action();
  } catch (const HexEditorError& error) {
    return error.what();
  }
  return "no error";
}

TEST(HexDocumentFilesTest, NameStatesAndFlags) {
  ScratchDir dir;
  HexDocument doc;
  EXPECT_EQ(doc.FileName(), "---");
  EXPECT_EQ(doc.Size(), 0);
  doc.New();
  EXPECT_EQ(doc.FileName(), "Untitled");
  EXPECT_TRUE(doc.ReadOnly());
  EXPECT_FALSE(doc.Modified());
  const auto path = dir.Write("a.bin", {1, 2, 3});
  ASSERT_TRUE(doc.Open(path));
  EXPECT_EQ(doc.FileName(), path.string());
  EXPECT_EQ(DataOf(doc), (Bytes{1, 2, 3}));
  EXPECT_FALSE(doc.Modified());
  if (geteuid() != 0) {
    EXPECT_FALSE(doc.ReadOnly());  // root may write anything
  }
  EXPECT_EQ(doc.UndoDescription(), "No Undo");
}

TEST(HexDocumentFilesTest, OpenCopiesTheFileAndNeverEditsIt) {
  ScratchDir dir;
  HexDocument doc;
  const auto path = dir.Write("a.bin", {1, 2, 3});
  ASSERT_TRUE(doc.Open(path));
  EXPECT_NE(doc.WorkingFilePath(), path);
  ASSERT_TRUE(doc.ReplaceByte(0, 9));
  ASSERT_TRUE(doc.AppendBuffer(Bytes{7}));
  EXPECT_EQ(ReadFileBytes(path), (Bytes{1, 2, 3}));
  EXPECT_EQ(ReadFileBytes(doc.WorkingFilePath()), (Bytes{9, 2, 3, 7}));
  EXPECT_TRUE(doc.Modified());
}

TEST(HexDocumentFilesTest, OpenOfAMissingFileOrADirectoryChangesNothing) {
  ScratchDir dir;
  HexDocument doc;
  Load(doc, dir, {5, 6});
  ASSERT_TRUE(doc.ReplaceByte(0, 1));
  const std::string name = doc.FileName();
  EXPECT_FALSE(doc.Open(dir / "missing.bin"));
  EXPECT_FALSE(doc.Open(dir.Path()));
  EXPECT_EQ(doc.FileName(), name);
  EXPECT_EQ(DataOf(doc), (Bytes{1, 6}));
  EXPECT_TRUE(doc.Modified());
  EXPECT_TRUE(doc.CanUndo());
}

TEST(HexDocumentFilesTest, ReadOnlyWhenTheFileCannotBeWritten) {
  ScratchDir dir;
  const auto path = dir.Write("ro.bin", {1});
  chmod(path.c_str(), 0444);
  const int result = quorvel::testing::RunUnprivileged([&path] {
    HexDocument doc;
    if (!doc.Open(path)) return 1;
    return doc.ReadOnly() ? 0 : 2;
  });
  EXPECT_EQ(result, 0) << "1: not opened, 2: not read-only";
}

TEST(HexDocumentFilesTest, WorkingFilesAreReplacedByOpenAndNewAndRemovedAtTheEnd) {
  ScratchDir dir;
  std::filesystem::path first, second;
  {
    HexDocument doc;
    first = doc.WorkingFilePath();
    EXPECT_TRUE(std::filesystem::exists(first));
    Load(doc, dir, {1});
    second = doc.WorkingFilePath();
    EXPECT_FALSE(std::filesystem::exists(first));
    EXPECT_TRUE(std::filesystem::exists(second));
    doc.New();
    EXPECT_FALSE(std::filesystem::exists(second));
    second = doc.WorkingFilePath();
  }
  EXPECT_FALSE(std::filesystem::exists(second));
}

TEST(HexDocumentFilesTest, SaveOverTheOpenedFileKeepsABackupOfTheOldContent) {
  ScratchDir dir;
  HexDocument doc;
  Load(doc, dir, {1, 2, 3}, "card.dat");
  ASSERT_TRUE(doc.ReplaceByte(1, 0x22));
  ASSERT_TRUE(doc.Save(dir / "card.dat"));
  EXPECT_EQ(ReadFileBytes(dir / "card.dat"), (Bytes{1, 0x22, 3}));
  EXPECT_EQ(ReadFileBytes(dir / "card.bak"), (Bytes{1, 2, 3}));
  EXPECT_FALSE(doc.Modified());
  EXPECT_FALSE(doc.ReadOnly());
  EXPECT_EQ(doc.ChangedCount(), 0u);
  EXPECT_EQ(doc.UndoDescription(), "No Undo");
}

TEST(HexDocumentFilesTest, NoBackupWhenUnmodifiedOrSavedElsewhereOrSwitchedOff) {
  ScratchDir dir;
  HexDocument doc;
  Load(doc, dir, {1, 2, 3}, "card.dat");
  ASSERT_TRUE(doc.Save(dir / "card.dat"));  // not modified
  EXPECT_FALSE(std::filesystem::exists(dir / "card.bak"));
  ASSERT_TRUE(doc.ReplaceByte(0, 7));
  ASSERT_TRUE(doc.Save(dir / "other.dat"));  // another name
  EXPECT_FALSE(std::filesystem::exists(dir / "card.bak"));
  EXPECT_FALSE(std::filesystem::exists(dir / "other.bak"));
  EXPECT_EQ(doc.FileName(), (dir / "other.dat").string());
  doc.SetCreateBackup(false);
  ASSERT_TRUE(doc.ReplaceByte(0, 8));
  ASSERT_TRUE(doc.Save(dir / "other.dat"));
  EXPECT_FALSE(std::filesystem::exists(dir / "other.bak"));
  doc.SetCreateBackup(true);
  doc.SetBackupExtension(".old");
  ASSERT_TRUE(doc.ReplaceByte(0, 9));
  ASSERT_TRUE(doc.Save(dir / "other.dat"));
  EXPECT_EQ(ReadFileBytes(dir / "other.old"), (Bytes{8, 2, 3}));
}

TEST(HexDocumentFilesTest, AFailedBackupStopsTheSave) {
  ScratchDir dir;
  HexDocument doc;
  Load(doc, dir, {1, 2, 3}, "card.dat");
  std::filesystem::create_directory(dir / "card.bak");  // cannot be replaced by a file
  ASSERT_TRUE(doc.ReplaceByte(0, 9));
  EXPECT_FALSE(doc.Save(dir / "card.dat"));
  EXPECT_EQ(ReadFileBytes(dir / "card.dat"), (Bytes{1, 2, 3}));
  EXPECT_TRUE(doc.Modified());
  EXPECT_TRUE(doc.CanUndo());
}

TEST(HexDocumentFilesTest, AFailedSaveKeepsNameAndModifiedState) {
  ScratchDir dir;
  HexDocument doc;
  Load(doc, dir, {1, 2, 3}, "card.dat");
  ASSERT_TRUE(doc.ReplaceByte(0, 9));
  EXPECT_FALSE(doc.Save(dir / "missing_dir" / "x.dat"));
  EXPECT_EQ(doc.FileName(), (dir / "card.dat").string());
  EXPECT_TRUE(doc.Modified());
  EXPECT_EQ(DataOf(doc), (Bytes{9, 2, 3}));
}

TEST(HexDocumentFilesTest, PropertyAndPositionErrorsUseTheControlsTexts) {
  ScratchDir dir;
  HexDocument doc;
  Load(doc, dir, {1, 2, 3});
  EXPECT_EQ(ErrorText([&] { doc.SetBytesPerLine(0); }), "Invalid BytesPerLine argument");
  EXPECT_EQ(ErrorText([&] { doc.SetBytesPerLine(257); }), "Invalid BytesPerLine argument");
  EXPECT_EQ(ErrorText([&] { doc.SetBytesPerLine(256); }), "no error");
  EXPECT_EQ(ErrorText([&] { doc.SetBytesPerLine(1); }), "no error");
  EXPECT_EQ(doc.BytesPerLine(), 1);
  EXPECT_EQ(ErrorText([&] { doc.SetSelStart(3); }), "Invalid SelStart");
  EXPECT_EQ(ErrorText([&] { doc.SetSelStart(-1); }), "Invalid SelStart");
  EXPECT_EQ(ErrorText([&] { doc.SetSelEnd(3); }), "Invalid SelEnd");
  EXPECT_EQ(ErrorText([&] { doc.BufferFromFile(2, 2); }), "Invalid BufferFromFile argument");
  EXPECT_EQ(ErrorText([&] { doc.BufferFromFile(-1, 1); }), "Invalid BufferFromFile argument");
  EXPECT_EQ(ErrorText([&] { doc.SetMarker(10, 0); }), "SetMarker : Invalid marker index");
  EXPECT_EQ(ErrorText([&] { doc.SetMarker(9, 0); }), "no error");
}

TEST(HexDocumentFilesTest, DefaultsAndModeRules) {
  HexDocument doc;
  EXPECT_EQ(doc.BytesPerLine(), 16);
  EXPECT_EQ(doc.BytesPerColumn(), 2);
  EXPECT_EQ(doc.OffsetDisplay(), OffsetDisplayType::odHex);
  EXPECT_EQ(doc.OffsetSeparator(), ':');
  EXPECT_EQ(doc.Translation(), TranslationType::ttAnsi);
  EXPECT_TRUE(doc.MaskWhiteSpaces());
  EXPECT_EQ(doc.MaskChar(), U'.');
  EXPECT_FALSE(doc.SwapNibbles());
  EXPECT_FALSE(doc.AllowInsertMode());
  EXPECT_TRUE(doc.CreateBackup());
  EXPECT_EQ(doc.BackupExtension(), ".bak");
  EXPECT_EQ(doc.EffectiveCaretStyle(), CaretStyleType::csFull);
  doc.HandleKey(HexKey::kInsert);
  EXPECT_FALSE(doc.InsertMode());  // not allowed
  doc.SetAllowInsertMode(true);
  doc.HandleKey(HexKey::kInsert);
  EXPECT_TRUE(doc.InsertMode());
  EXPECT_EQ(doc.EffectiveCaretStyle(), CaretStyleType::csLeftLine);
  doc.SetAutoCaretMode(false);
  doc.SetCaretStyle(CaretStyleType::csBottomLine);
  EXPECT_EQ(doc.EffectiveCaretStyle(), CaretStyleType::csBottomLine);
  doc.SetNoSizeChange(true);
  EXPECT_FALSE(doc.AllowInsertMode());
  EXPECT_FALSE(doc.InsertMode());
  doc.HandleKey(HexKey::kInsert);
  EXPECT_FALSE(doc.InsertMode());
}

TEST(HexDocumentFilesTest, OffsetTextOfALargerFile) {
  ScratchDir dir;
  HexDocument doc;
  Load(doc, dir, Bytes(0x12345, 0));
  EXPECT_EQ(doc.OffsetTextOfRow(0), "0x00000:");
  EXPECT_EQ(doc.OffsetTextOfRow(doc.RowCount() - 1), "0x12340:");
  EXPECT_EQ(doc.RowCount(), 0x1235);
  doc.SetOffsetDisplay(OffsetDisplayType::odDec);
  EXPECT_EQ(doc.OffsetTextOfRow(1), "   16:");
  doc.New();
  doc.SetOffsetDisplay(OffsetDisplayType::odHex);
  EXPECT_EQ(doc.OffsetTextOfRow(0), "0x0:");
  EXPECT_EQ(doc.RowCount(), 1);
}

TEST(HexDocumentFilesTest, ReadCacheHoldsSixtyFourKiBAroundTheDrawnRow) {
  ScratchDir dir;
  HexDocument doc;
  const Bytes bytes = Sequence(300005);
  Load(doc, dir, bytes);
  const auto row = doc.RowBytes(10000);  // bytes 160000 ...
  ASSERT_EQ(row.size(), 16u);
  EXPECT_EQ(row[0], bytes[160000]);
  EXPECT_EQ(doc.Cache().Start(), 160000 - 32768);
  EXPECT_EQ(doc.Cache().Length(), 65536);
  ASSERT_TRUE(doc.ReplaceByte(160001, 0xEE));  // updated in place, not reloaded
  EXPECT_EQ(doc.Cache().Start(), 160000 - 32768);
  EXPECT_EQ(doc.RowBytes(10000)[1], 0xEE);
  EXPECT_EQ(doc.RowBytes(0)[5], 5);  // outside: reloaded from 0
  EXPECT_EQ(doc.Cache().Start(), 0);
  const auto last = doc.RowBytes(doc.RowCount() - 1);
  EXPECT_EQ(last.size(), 300005u % 16);
  EXPECT_TRUE(doc.RowBytes(doc.RowCount()).empty());
}

TEST(HexDocumentFilesTest, StateChangesAreAnnounced) {
  ScratchDir dir;
  HexDocument doc;
  int calls = 0;
  doc.OnStateChanged = [&] { ++calls; };
  Load(doc, dir, {1, 2, 3});
  EXPECT_GE(calls, 1);
  calls = 0;
  doc.HandleKey(HexKey::kRight);
  EXPECT_GE(calls, 1);
  calls = 0;
  doc.TypeCharacter(U'7');
  EXPECT_GE(calls, 1);
  calls = 0;
  doc.SetReadOnly(true);
  EXPECT_GE(calls, 1);
}

}  // namespace
}  // namespace quorvel
