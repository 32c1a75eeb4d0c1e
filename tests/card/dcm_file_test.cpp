// Tests of whole-card image files: dump, restore, the size rule and new images.
#include "card/dcm_file.h"

#include <gtest/gtest.h>

#include "card/block_io.h"
#include "card/card_fixture.h"
#include "card/file_system.h"
#include "card/work_files.h"

namespace quorvel {
namespace {

using test::CardBuilder;
using test::ReadFile;
using test::SlotsEnvironment;

// Slots that also record the order of the blocks written.
class OrderedSlots : public test::ScriptedSlots {
 public:
  std::vector<int> written;
  bool WriteSlotBlock(std::uint8_t slot, std::uint8_t block,
                      std::span<const std::uint8_t, kBlockSize> data) override {
    const bool ok = ScriptedSlots::WriteSlotBlock(slot, block, data);
    if (ok) written.push_back(block);
    return ok;
  }
};

class Dcm : public ::testing::Test {
 protected:
  Dcm() {
    CardBuilder builder;
    builder.AddSave(0, "GAME________", {0, 1, 2}, true);
    builder.AddSave(1, "DATA________", {199, 198});
    link.cards[0] = builder.Bytes();
    link.cards[1] = CardBuilder(241).Bytes();
  }
  std::size_t FilesIn() const {
    return static_cast<std::size_t>(
        std::distance(std::filesystem::directory_iterator(dir / ""), {}));
  }
  test::TempDir dir;
  OrderedSlots link;
  test::RecordingMessages messages;
  CardEnvironment environment = SlotsEnvironment(link, &messages);
  CardImage slot1{kSourceSlot1, &environment};
  CardImage slot2{kSourceSlot2, &environment};
};

TEST_F(Dcm, DumpThenRestoreIntoTheOtherSlotGivesTheSameCard) {
  int last_progress = -1;
  Reports reports;
  reports.progress = [&](int position, int maximum) {
    if (maximum == 255) last_progress = position;
  };
  environment.reports = &reports;
  ASSERT_EQ(DumpCardToFile(slot1, dir / "slot1.dcm"), DcmError::kNone);
  EXPECT_EQ(ReadFile(dir / "slot1.dcm"), link.cards[0]);
  EXPECT_EQ(link.read_calls, 256);
  EXPECT_EQ(last_progress, 255);
  ASSERT_EQ(RestoreCardFromFile(slot2, dir / "slot1.dcm"), DcmError::kNone);
  EXPECT_EQ(link.cards[1], link.cards[0]);
  ASSERT_EQ(link.written.size(), 256u);
  EXPECT_EQ(link.written.front(), 0);
  EXPECT_EQ(link.written.back(), 255);  // the root block last
  EXPECT_EQ(LoadCard(slot2), LoadResult::kLoaded);
  EXPECT_EQ(slot2.listed_count, 2);
}

TEST_F(Dcm, AFailedDumpLeavesTheChosenFileAsItWas) {
  const std::vector<std::uint8_t> old(kImageFileSize, 0x42);
  ASSERT_TRUE(ReplaceFileContents(dir / "backup.dcm", old));
  link.fail_next_reads = 16;  // block 0 fails every attempt
  EXPECT_EQ(DumpCardToFile(slot1, dir / "backup.dcm"), DcmError::kCardReadFailed);
  EXPECT_EQ(ReadFile(dir / "backup.dcm"), old);
  EXPECT_EQ(messages.informed.size(), 1u);
  EXPECT_EQ(FilesIn(), 1u);  // no temporary file left behind
  EXPECT_EQ(DumpCardToFile(slot1, dir / "no-folder" / "x.dcm"), DcmError::kCannotWrite);
}

TEST_F(Dcm, RestoreRefusesAFileOfTheWrongSizeBeforeWriting) {
  for (std::size_t size : {kImageFileSize - 1, kImageFileSize + 1, std::size_t{0}}) {
    ASSERT_TRUE(ReplaceFileContents(dir / "odd.dcm", std::vector<std::uint8_t>(size)));
    EXPECT_EQ(CheckImageFile(dir / "odd.dcm"), DcmError::kWrongSize) << size;
    EXPECT_EQ(RestoreCardFromFile(slot2, dir / "odd.dcm"), DcmError::kWrongSize) << size;
  }
  EXPECT_EQ(RestoreCardFromFile(slot2, dir / "missing.dcm"), DcmError::kCannotOpen);
  EXPECT_EQ(CheckImageFile(dir / ""), DcmError::kCannotOpen);
  EXPECT_TRUE(link.written.empty());
}

TEST_F(Dcm, RestoreStopsAtTheFirstBlockThatCannotBeWritten) {
  ASSERT_TRUE(ReplaceFileContents(dir / "card.dcm", link.cards[0]));
  ASSERT_EQ(RestoreCardFromFile(slot2, dir / "card.dcm"), DcmError::kNone);
  link.written.clear();
  link.fail_next_writes = 5;
  EXPECT_EQ(RestoreCardFromFile(slot2, dir / "card.dcm"), DcmError::kCardWriteFailed);
  EXPECT_TRUE(link.written.empty());
  EXPECT_EQ(link.write_calls, 256 + 5);
}

TEST_F(Dcm, RestoreOntoAnImageCard) {
  CardImage image;
  test::OpenBuilt(image, CardBuilder(200), dir, "image.dcm");
  ASSERT_TRUE(ReplaceFileContents(dir / "card.dcm", link.cards[0]));
  ASSERT_EQ(RestoreCardFromFile(image, dir / "card.dcm"), DcmError::kNone);
  CloseImageFile(image);
  EXPECT_EQ(ReadFile(dir / "image.dcm"), link.cards[0]);
}

TEST_F(Dcm, NewImagesComeFromTheFirst131072BytesOfTheTemplate) {
  auto long_template = link.cards[0];
  long_template.push_back(0x99);
  ASSERT_TRUE(ReplaceFileContents(dir / "long.dc", long_template));
  ASSERT_EQ(CreateImageFromTemplate(dir / "long.dc", dir / "new.dcm"), DcmError::kNone);
  EXPECT_EQ(ReadFile(dir / "new.dcm"), link.cards[0]);

  ASSERT_TRUE(ReplaceFileContents(dir / "exact.dc", link.cards[1]));
  ASSERT_EQ(CreateImageFromTemplate(dir / "exact.dc", dir / "new.dcm"), DcmError::kNone);
  EXPECT_EQ(ReadFile(dir / "new.dcm"), link.cards[1]);

  ASSERT_TRUE(ReplaceFileContents(dir / "short.dc", std::vector<std::uint8_t>(kImageFileSize - 1)));
  EXPECT_EQ(CreateImageFromTemplate(dir / "short.dc", dir / "new.dcm"), DcmError::kTemplateShort);
  EXPECT_EQ(CreateImageFromTemplate(dir / "none.dc", dir / "new.dcm"), DcmError::kCannotOpen);
  EXPECT_EQ(ReadFile(dir / "new.dcm"), link.cards[1]);
}

TEST(DcmMessages, TextsAreTheProgramsOwn) {
  EXPECT_EQ(UnsupportedImageMessage("a.dcm", false), " 檔案 : a.dcm 的格式並不支援!!!! ");
  EXPECT_EQ(UnsupportedImageMessage("a.dcm", true), " 檔案 : a.dcm 的格式並不支援 !!!! ");
  EXPECT_EQ(InvalidTemplateMessage("/w/dpnw.dc"), " 檔案 : /w/dpnw.dc 是無效的! ");
}

TEST(DcmDataFiles, TheWorkingDirectoryComesFirst) {
  test::TempDir dir;
  EXPECT_EQ(FindProgramDataFile(dir / "", "no-such-file.x"), dir / "" / "no-such-file.x");
  ASSERT_TRUE(ReplaceFileContents(dir / "dpnw.dc", std::vector<std::uint8_t>{1}));
  EXPECT_EQ(FindProgramDataFile(dir / "", "dpnw.dc"), dir / "" / "dpnw.dc");
}

}  // namespace
}  // namespace quorvel
