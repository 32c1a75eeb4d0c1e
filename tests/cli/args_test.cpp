// Argument parsing of quorvel-cli: options may stand before or after the positionals.
#include <gtest/gtest.h>

#include "cli/command.h"

namespace quorvel::cli {
namespace {

TEST(ParseArgs, OptionsMayStandAnywhere) {
  Args args = ParseArgs({"--virtual-unit", "cards", "list", "slot1", "--json", "--trace", "t"});
  EXPECT_EQ(args.command, "list");
  EXPECT_EQ(args.positional, std::vector<std::string>{"slot1"});
  EXPECT_EQ(args.Value("virtual-unit"), "cards");
  EXPECT_EQ(args.Value("trace"), "t");
  EXPECT_TRUE(args.Has("json"));
  EXPECT_FALSE(args.Has("replace"));
  EXPECT_EQ(args.Value("blocks"), std::nullopt);
}

TEST(ParseArgs, ValueOptionWithoutValueIsUsageError) {
  EXPECT_THROW(ParseArgs({"format", "x.dcm", "--blocks"}), UsageError);
}

TEST(ParseArgs, PositionalCountIsChecked) {
  Args args = ParseArgs({"export", "a.dcm", "GAME"});
  EXPECT_THROW(RequirePositional(args, 3), UsageError);
  EXPECT_NO_THROW(RequirePositional(args, 2));
}

}  // namespace
}  // namespace quorvel::cli
