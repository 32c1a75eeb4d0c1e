// The pages of the code window: building the table, going to an address, patching.
#include "disasm/code_page_table.h"

#include <gtest/gtest.h>

#include "code_file.h"
#include "disasm/code_page_texts.h"

namespace quorvel {
namespace {

using testing::CodeFile;
using testing::PseudoRandomCode;

constexpr std::int64_t kStep = CodePageTable::kLinesPerPage - 1;

std::vector<std::uint8_t> Nops(std::size_t count) { return std::vector<std::uint8_t>(count, 0x00); }

// The whole listing, read straight through without pages.
std::vector<Instruction> StraightListing(const std::filesystem::path& path) {
  CodeReader reader;
  EXPECT_TRUE(reader.OpenCodeFile(path));
  std::vector<Instruction> lines;
  while (std::optional<Instruction> line = DecodeNext(reader)) lines.push_back(*line);
  return lines;
}

TEST(CodePageTable, TenBlockSaveIsOnePage) {
  auto bytes = PseudoRandomCode(10 * 512);
  CodeFile file(bytes);
  CodePageTable table;
  ASSERT_TRUE(table.Open(file.path())) << table.error();
  EXPECT_EQ(table.page_count(), 1);
  EXPECT_EQ(table.current_page(), 0);
  EXPECT_EQ(table.page_label(), " 頁數1的 1");
  ASSERT_EQ(table.entries().size(), 2u);
  EXPECT_EQ(table.entries()[0].address, 0);
  EXPECT_EQ(table.entries()[1].address, 5120);
  EXPECT_EQ(table.entries()[1].position, 5120);
  std::vector<Instruction> straight = StraightListing(file.path());
  ASSERT_EQ(table.lines().size(), straight.size());
  for (std::size_t i = 0; i < straight.size(); ++i)
    EXPECT_EQ(table.lines()[i].text, straight[i].text);
}

TEST(CodePageTable, ALastPageHoldingOnlyTheSharedLineIsNotMade) {
  CodeFile file(Nops(CodePageTable::kLinesPerPage));
  CodePageTable table;
  ASSERT_TRUE(table.Open(file.path()));
  EXPECT_EQ(table.page_count(), 1);
  EXPECT_EQ(table.lines().size(), 8193u);

  file.Write(Nops(CodePageTable::kLinesPerPage + 1));
  ASSERT_TRUE(table.Open(file.path()));
  EXPECT_EQ(table.page_count(), 2);
  EXPECT_EQ(table.page_label(), " 頁數1的 2");
  EXPECT_EQ(table.entries()[1].address, kStep);
  EXPECT_EQ(table.entries()[2].address, 8194);
  ASSERT_TRUE(table.ShowPage(1));
  EXPECT_EQ(table.page_label(), " 頁數 2 的 2");
  ASSERT_EQ(table.lines().size(), 2u);
  EXPECT_EQ(table.lines()[0].text, "$2000 00          NOP     ");
}

TEST(CodePageTable, EmptyFileHasOnePageAndNoAddress) {
  CodeFile file({});
  CodePageTable table;
  ASSERT_TRUE(table.Open(file.path()));
  EXPECT_EQ(table.page_count(), 1);
  EXPECT_TRUE(table.lines().empty());
  EXPECT_EQ(table.end_address(), 0);
  EXPECT_EQ(table.GoTo(0).status, GoToStatus::kOutOfRange);
}

TEST(CodePageTable, PagesShareOneLineAndTogetherListEveryInstruction) {
  CodeFile file(PseudoRandomCode(100 * 1024, 7));
  CodePageTable table;
  ASSERT_TRUE(table.Open(file.path())) << table.error();
  std::vector<Instruction> straight = StraightListing(file.path());
  ASSERT_GT(table.page_count(), 3);
  ASSERT_EQ(table.page_count(), static_cast<int>((straight.size() - 2) / kStep + 1));
  EXPECT_EQ(table.entries().back().position, 100 * 1024);

  std::vector<Instruction> joined;
  for (int page = 0; page < table.page_count(); ++page) {
    ASSERT_TRUE(table.ShowPage(page)) << table.error();
    const auto& lines = table.lines();
    ASSERT_LE(lines.size(), static_cast<std::size_t>(CodePageTable::kLinesPerPage));
    EXPECT_EQ(lines.front().position, table.entries()[page].position);
    EXPECT_EQ(lines.front().address, table.entries()[page].address);
    if (page > 0) {
      EXPECT_EQ(lines.front().text, joined.back().text) << "page " << page;
    }
    joined.insert(joined.end(), lines.begin() + (page > 0 ? 1 : 0), lines.end());
  }
  ASSERT_EQ(joined.size(), straight.size());
  for (std::size_t i = 0; i < joined.size(); ++i) {
    ASSERT_EQ(joined[i].text, straight[i].text) << i;
    ASSERT_EQ(joined[i].position, straight[i].position) << i;
  }
}

TEST(CodePageTable, BuildingReadsEachByteOnceAndAPageOnlyItsWindows) {
  constexpr std::int64_t kSize = 100 * 1024;
  constexpr std::int64_t kWindow = CodeReader::kWindowSize;
  CodeFile file(PseudoRandomCode(kSize, 3));
  CodePageTable table;
  ASSERT_TRUE(table.Open(file.path()));
  EXPECT_EQ(table.last_pass_bytes_read(), kSize);
  for (int page = 1; page < table.page_count(); ++page) {
    ASSERT_TRUE(table.ShowPage(page));
    std::int64_t first = table.entries()[page].position / kWindow * kWindow;
    std::int64_t last =
        std::min(kSize, (table.entries()[page + 1].position + 3 + kWindow - 1) / kWindow * kWindow);
    EXPECT_LE(table.last_pass_bytes_read(), last - first) << "page " << page;
  }
}

TEST(CodePageTable, GoToUsesThePageWhoseRangeHoldsTheAddress) {
  CodeFile file(Nops(20000));
  CodePageTable table;
  ASSERT_TRUE(table.Open(file.path()));
  ASSERT_EQ(table.page_count(), 3);
  EXPECT_EQ(table.end_address(), 20000);

  GoToResult start_of_page_one = table.GoTo(kStep);  // found as the last line of page 0
  EXPECT_EQ(start_of_page_one.status, GoToStatus::kSelected);
  EXPECT_EQ(table.current_page(), 0);
  EXPECT_EQ(start_of_page_one.line, static_cast<std::size_t>(kStep));

  GoToResult inside_page_one = table.GoTo(kStep + 1);
  EXPECT_EQ(inside_page_one.status, GoToStatus::kSelected);
  EXPECT_EQ(table.current_page(), 1);
  EXPECT_EQ(table.page_label(), " 頁數 2 的 3");
  EXPECT_EQ(table.lines()[inside_page_one.line].address, kStep + 1);

  GoToResult last = table.GoTo(19999);
  EXPECT_EQ(table.current_page(), 2);
  EXPECT_EQ(table.lines()[last.line].address, 19999);

  EXPECT_EQ(table.GoTo(0).line, 0u);
  EXPECT_EQ(table.current_page(), 0);
}

TEST(CodePageTable, GoToAtOrBeyondTheEndChangesNothing) {
  CodeFile file(Nops(20000));
  CodePageTable table;
  ASSERT_TRUE(table.Open(file.path()));
  ASSERT_TRUE(table.ShowPage(1));
  EXPECT_EQ(table.GoTo(20000).status, GoToStatus::kOutOfRange);
  EXPECT_EQ(table.GoTo(0xFFFFFFFF).status, GoToStatus::kOutOfRange);
  EXPECT_EQ(table.current_page(), 1);
  EXPECT_EQ(kAddressOutOfRangeText, " 地址超值.");
}

TEST(CodePageTable, GoToTheMiddleOfAnInstructionSelectsTheNextOne) {
  CodeFile file({0x21, 0x12, 0x34, 0x23, 0x00, 0x12, 0x00});
  CodePageTable table;
  ASSERT_TRUE(table.Open(file.path()));
  GoToResult result = table.GoTo(1);
  ASSERT_EQ(result.status, GoToStatus::kSelected);
  EXPECT_EQ(result.line, 1u);
  EXPECT_EQ(table.lines()[1].address, 3);
  EXPECT_EQ(table.GoTo(4).line, 2u);
}

TEST(CodePageTable, GoToAndPatchBeyond0xFFFFUseTheRealPosition) {
  // 200 blocks; the same 16-bit address 0x2340 holds different instructions at 0x02340 and
  // 0x12340.
  auto bytes = Nops(200 * 512);
  const std::vector<std::uint8_t> low = {0x21, 0x55, 0x66};
  const std::vector<std::uint8_t> high = {0x21, 0x12, 0x34};
  std::copy(low.begin(), low.end(), bytes.begin() + 0x02340);
  std::copy(high.begin(), high.end(), bytes.begin() + 0x12340);
  CodeFile file(bytes);
  CodePageTable table;
  ASSERT_TRUE(table.Open(file.path()));
  EXPECT_EQ(table.end_address(), 102400);

  GoToResult found = table.GoTo(0x12340);
  ASSERT_EQ(found.status, GoToStatus::kSelected);
  const Instruction& line = table.lines()[found.line];
  EXPECT_EQ(line.text, "$2340 21 12 34    JMPF    $1234");
  EXPECT_EQ(line.position, 0x12340);

  const std::uint8_t patch[] = {0x21, 0xAB, 0xCD};
  GoToResult after = table.Patch(found.line, patch);
  ASSERT_EQ(after.status, GoToStatus::kSelected) << table.error();
  EXPECT_EQ(table.lines()[after.line].text, "$2340 21 AB CD    JMPF    $ABCD");
  EXPECT_EQ(table.lines()[after.line].position, 0x12340);

  std::vector<std::uint8_t> expected = bytes;
  expected[0x12341] = 0xAB;
  expected[0x12342] = 0xCD;
  EXPECT_EQ(file.Read(), expected);
}

TEST(CodePageTable, PatchWritesExactlyTheInstructionsLength) {
  CodeFile file({0x00, 0x01, 0x10, 0x77, 0x00});
  CodePageTable table;
  ASSERT_TRUE(table.Open(file.path()));
  GoToResult br = table.GoTo(1);
  ASSERT_EQ(table.lines()[br.line].length, 2);
  // The third byte is left over from an earlier, longer selection and must not be written.
  const std::uint8_t patch[] = {0x01, 0xFE, 0x99};
  GoToResult after = table.Patch(br.line, patch);
  ASSERT_EQ(after.status, GoToStatus::kSelected);
  EXPECT_EQ(file.Read(), (std::vector<std::uint8_t>{0x00, 0x01, 0xFE, 0x77, 0x00}));
  EXPECT_EQ(table.lines()[after.line].text, "$0001 01 FE       BR      $0001");

  const std::uint8_t too_short[] = {0x01};
  EXPECT_EQ(table.Patch(after.line, too_short).status, GoToStatus::kFailed);
  EXPECT_EQ(table.error(), FillText(kPatchTooShortText, {"2"}));
  EXPECT_EQ(table.Patch(99, patch).status, GoToStatus::kFailed);
  EXPECT_EQ(table.error(), kNoInstructionText);
  EXPECT_FALSE(table.ShowPage(5));
  EXPECT_EQ(table.error(), FillText(kNoSuchPageText, {"6", "1"}));
  EXPECT_EQ(file.Read(), (std::vector<std::uint8_t>{0x00, 0x01, 0xFE, 0x77, 0x00}));
}

TEST(CodePageTable, PatchThatChangesLengthsKeepsPagesOnInstructionStarts) {
  CodeFile file(Nops(30000));
  CodePageTable table;
  ASSERT_TRUE(table.Open(file.path()));
  ASSERT_EQ(table.page_count(), 4);
  // A NOP near the end of page 1 becomes the opcode of a three-byte instruction, which
  // swallows the next two NOPs: every later page start moves.
  GoToResult target = table.GoTo(kStep + 8000);
  ASSERT_EQ(table.current_page(), 1);
  const std::uint8_t jmpf[] = {0x21};
  GoToResult after = table.Patch(target.line, jmpf);
  ASSERT_EQ(after.status, GoToStatus::kSelected);
  EXPECT_EQ(table.current_page(), 1);
  EXPECT_EQ(table.page_label(), " 頁數 2 的 4");
  EXPECT_EQ(table.lines()[after.line].text, "$3F40 21 00 00    JMPF    $0000");
  EXPECT_EQ(table.entries()[2].address, 2 * kStep + 2);

  std::vector<Instruction> straight = StraightListing(file.path());
  for (int page = 1; page < table.page_count(); ++page) {
    EXPECT_EQ(table.entries()[page].position, straight[page * kStep].position) << page;
  }
}

TEST(CodePageTable, PatchThatEndsTheDataEarlierShowsTheLastPage) {
  // 8194 NOPs make two pages; a JMPF on the shared line swallows the last NOP.
  CodeFile file(Nops(kStep + 2));
  CodePageTable table;
  ASSERT_TRUE(table.Open(file.path()));
  ASSERT_TRUE(table.ShowPage(1));
  const std::uint8_t jmpf[] = {0x21};
  GoToResult after = table.Patch(0, jmpf);
  ASSERT_EQ(after.status, GoToStatus::kSelected);
  EXPECT_EQ(table.page_count(), 1);
  EXPECT_EQ(table.current_page(), 0);
  EXPECT_EQ(table.page_label(), " 頁數 1 的 1");
  EXPECT_EQ(table.lines()[after.line].address, kStep);
}

// Code held in memory and pages of a few lines: the same pages, lines and patches as the
// table over a file with those pages, and the file is never touched.
TEST(CodePageTable, CodeInMemoryWithShortPagesMatchesTheFile) {
  for (const int lines_per_page : {2, 3, 17, 64}) {
    SCOPED_TRACE(lines_per_page);
    const std::vector<std::uint8_t> bytes = PseudoRandomCode(3000, 11);
    CodeFile file(bytes);
    CodePageTable on_file(lines_per_page);
    CodePageTable in_memory(lines_per_page);
    ASSERT_TRUE(on_file.Open(file.path())) << on_file.error();
    ASSERT_TRUE(in_memory.OpenBytes(bytes)) << in_memory.error();
    ASSERT_GT(in_memory.page_count(), 3);
    const std::vector<Instruction> straight = StraightListing(file.path());
    ASSERT_EQ(in_memory.page_count(),
              static_cast<int>((straight.size() - 2) / (lines_per_page - 1) + 1));
    for (int page = 0; page < in_memory.page_count(); ++page) {
      ASSERT_TRUE(on_file.ShowPage(page));
      ASSERT_TRUE(in_memory.ShowPage(page));
      ASSERT_EQ(in_memory.lines().size(), on_file.lines().size()) << "page " << page;
      ASSERT_LE(in_memory.lines().size(), static_cast<std::size_t>(lines_per_page));
      for (std::size_t i = 0; i < in_memory.lines().size(); ++i) {
        ASSERT_EQ(in_memory.lines()[i].text, on_file.lines()[i].text) << page << ":" << i;
      }
    }
    // A patch near the middle: both tables list the same afterwards; only the file table
    // wrote to the file.
    const std::int64_t address = on_file.end_address() / 2;
    const GoToResult file_go = on_file.GoTo(address);
    const GoToResult memory_go = in_memory.GoTo(address);
    ASSERT_EQ(file_go.status, GoToStatus::kSelected);
    ASSERT_EQ(memory_go.line, file_go.line);
    const std::int64_t position = in_memory.lines()[memory_go.line].position;
    const std::uint8_t patch[3] = {0x23, 0x45, 0x67};
    ASSERT_EQ(in_memory.Patch(memory_go.line, patch).status, GoToStatus::kSelected);
    EXPECT_EQ(file.Read(), bytes);
    ASSERT_EQ(on_file.Patch(file_go.line, patch).status, GoToStatus::kSelected);
    EXPECT_EQ(file.Read(), in_memory.code());
    EXPECT_NE(in_memory.code(), bytes);
    EXPECT_EQ(in_memory.code()[static_cast<std::size_t>(position)], 0x23);
    ASSERT_EQ(in_memory.page_count(), on_file.page_count());
    ASSERT_EQ(in_memory.lines().size(), on_file.lines().size());
    for (std::size_t i = 0; i < in_memory.lines().size(); ++i) {
      ASSERT_EQ(in_memory.lines()[i].text, on_file.lines()[i].text) << i;
    }
  }
}

TEST(CodePageTable, UnreadableFileIsReported) {
  CodePageTable table;
  EXPECT_FALSE(table.Open("/nonexistent/~ico._"));
  const auto values = MatchText(kCodeOpenErrorText, table.error());
  ASSERT_TRUE(values) << table.error();
  EXPECT_EQ((*values)[0], "/nonexistent/~ico._");
  EXPECT_EQ(table.page_count(), 1);
  EXPECT_TRUE(table.lines().empty());
}

}  // namespace
}  // namespace quorvel
