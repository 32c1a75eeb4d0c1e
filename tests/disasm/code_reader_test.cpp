// The code reader: a file read through a 16 KiB window, positions and addresses apart.
#include "disasm/code_reader.h"

#include <gtest/gtest.h>

#include "code_file.h"
#include "disasm/code_page_texts.h"

namespace quorvel {
namespace {

using testing::CodeFile;
using testing::PseudoRandomCode;

constexpr std::int64_t kWindow = CodeReader::kWindowSize;

TEST(CodeReader, ReadsTheWholeFileInWindowsAndEndsAtItsLastByte) {
  auto bytes = PseudoRandomCode(2 * kWindow + 5);
  CodeFile file(bytes);
  CodeReader reader;
  ASSERT_TRUE(reader.OpenCodeFile(file.path()));
  EXPECT_EQ(reader.file_size(), static_cast<std::int64_t>(bytes.size()));
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    std::optional<std::uint8_t> byte = reader.ReadCodeByte();
    ASSERT_TRUE(byte) << i;
    ASSERT_EQ(*byte, bytes[i]) << i;
  }
  EXPECT_EQ(reader.ReadCodeByte(), std::nullopt);
  EXPECT_EQ(reader.ReadCodeByte(), std::nullopt);
  EXPECT_EQ(reader.position(), static_cast<std::int64_t>(bytes.size()));
  EXPECT_FALSE(reader.failed());
  // Every byte came from the file exactly once, three windows in all.
  EXPECT_EQ(reader.file_bytes_read(), static_cast<std::int64_t>(bytes.size()));
  EXPECT_EQ(reader.windows_loaded(), 3);
}

TEST(CodeReader, SeekToAnUnalignedPositionReadsTheFilesOwnBytesAcrossTheBoundary) {
  auto bytes = PseudoRandomCode(3 * kWindow);
  CodeFile file(bytes);
  CodeReader reader;
  ASSERT_TRUE(reader.OpenCodeFile(file.path()));
  const std::int64_t start = 2 * kWindow - 3;
  ASSERT_TRUE(reader.SeekCodeFile(start));
  for (std::int64_t offset = start; offset < start + 10; ++offset) {
    EXPECT_EQ(reader.ReadCodeByte(), bytes[offset]) << offset;
  }
  EXPECT_EQ(reader.position(), start + 10);
  // Only the two windows around the boundary were read.
  EXPECT_EQ(reader.file_bytes_read(), 2 * kWindow);
}

TEST(CodeReader, AddressIsACounterOfItsOwn) {
  CodeFile file(PseudoRandomCode(100));
  CodeReader reader;
  ASSERT_TRUE(reader.OpenCodeFile(file.path()));
  EXPECT_EQ(reader.address(), 0);
  ASSERT_TRUE(reader.SeekCodeFile(40));
  EXPECT_EQ(reader.address(), 0);  // a seek leaves the address to the caller
  reader.set_address(0x12340);
  reader.BeginInstruction();
  reader.ReadCodeByte();
  reader.ReadCodeByte();
  EXPECT_EQ(reader.position(), 42);
  EXPECT_EQ(reader.address(), 0x12342);
  EXPECT_EQ(reader.instruction_address(), 0x12340);

  // Opening starts both counters again.
  ASSERT_TRUE(reader.OpenCodeFile(file.path()));
  EXPECT_EQ(reader.position(), 0);
  EXPECT_EQ(reader.address(), 0);
  EXPECT_EQ(reader.instruction_address(), 0);
}

TEST(CodeReader, SeekOutsideTheFileIsRefused) {
  CodeFile file(PseudoRandomCode(10));
  CodeReader reader;
  EXPECT_FALSE(reader.SeekCodeFile(0));  // nothing open
  ASSERT_TRUE(reader.OpenCodeFile(file.path()));
  EXPECT_FALSE(reader.SeekCodeFile(11));
  EXPECT_FALSE(reader.SeekCodeFile(-1));
  EXPECT_TRUE(reader.SeekCodeFile(10));
  EXPECT_EQ(reader.ReadCodeByte(), std::nullopt);
}

TEST(CodeReader, MissingFileIsReportedWithItsName) {
  CodeReader reader;
  EXPECT_FALSE(reader.OpenCodeFile("/nonexistent/code.bin"));
  EXPECT_TRUE(reader.failed());
  // The reason is a marked text, so that the code window shows it in its own language.
  const auto values = MatchText(kCodeOpenErrorText, reader.error());
  ASSERT_TRUE(values) << reader.error();
  EXPECT_EQ((*values)[0], "/nonexistent/code.bin");
  EXPECT_EQ(reader.ReadCodeByte(), std::nullopt);
}

TEST(CodeReader, FileCutShortWhileOpenIsAFailureNotTheEndOfData) {
  CodeFile file(PseudoRandomCode(2 * kWindow));
  CodeReader reader;
  ASSERT_TRUE(reader.OpenCodeFile(file.path()));
  std::filesystem::resize_file(file.path(), kWindow + 1);
  for (int i = 0; i < kWindow; ++i) ASSERT_TRUE(reader.ReadCodeByte());
  EXPECT_EQ(reader.ReadCodeByte(), std::nullopt);
  EXPECT_TRUE(reader.failed());
  EXPECT_EQ(reader.error(), FillText(kCodeReadErrorText, {file.path().string(), kCodeShrankText}));
}

TEST(CodeReader, CloseEndsTheData) {
  CodeFile file(PseudoRandomCode(10));
  CodeReader reader;
  ASSERT_TRUE(reader.OpenCodeFile(file.path()));
  reader.CloseCodeFile();
  EXPECT_EQ(reader.ReadCodeByte(), std::nullopt);
}

}  // namespace
}  // namespace quorvel
