// Real mini-games list without trouble: their code starts at 0x000 and runs to the file's end.
#include <gtest/gtest.h>

#include "disasm/code_page_table.h"

namespace quorvel {
namespace {

struct MiniGame {
  const char* path;  // under the real-data folder
  const char* first_line;
};

class RealMiniGame : public ::testing::TestWithParam<MiniGame> {};

TEST_P(RealMiniGame, ListsEveryByteOnOnePage) {
  std::filesystem::path path = std::filesystem::path(QUORVEL_REALDATA_DIR) / GetParam().path;
  if (!std::filesystem::exists(path)) GTEST_SKIP() << path << " is absent";
  const auto size = static_cast<std::int64_t>(std::filesystem::file_size(path));

  CodePageTable table;
  ASSERT_TRUE(table.Open(path)) << table.error();
  EXPECT_EQ(table.page_count(), 1);
  EXPECT_EQ(table.end_address(), size);
  const auto& lines = table.lines();
  ASSERT_FALSE(lines.empty());
  EXPECT_EQ(lines.front().text, GetParam().first_line);
  // Each instruction starts where the one before ended, and the last ends at the file's end.
  for (std::size_t i = 1; i < lines.size(); ++i) {
    ASSERT_EQ(lines[i].position, lines[i - 1].position + lines[i - 1].length) << lines[i].text;
    ASSERT_EQ(lines[i].address, lines[i].position);
  }
  EXPECT_EQ(lines.back().position + lines.back().length, size);
}

INSTANTIATE_TEST_SUITE_P(
    Games, RealMiniGame,
    ::testing::Values(MiniGame{"dreampotato/tetris.vms", "$0000 21 06 80    JMPF    $0680"},
                      MiniGame{"dreampotato/helloworld.vms", "$0000 21 02 80    JMPF    $0280"},
                      MiniGame{"racketball/racketball.vms", "$0000 21 06 80    JMPF    $0680"}),
    [](const auto& info) {
      std::string name = std::filesystem::path(info.param.path).stem().string();
      return name;
    });

}  // namespace
}  // namespace quorvel
