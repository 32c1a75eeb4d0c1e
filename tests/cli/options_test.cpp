// quorvel-cli run as a program: options in either form and place, "--" before a save name
// that begins with a dash, and refused options that change nothing.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "card/card_fixture.h"
#include "support/card_files.h"
#include "support/cli_run.h"

namespace quorvel {
namespace {

using testing::CliRun;
using ::testing::HasSubstr;
using testing::ReadFile;

class CliOptions : public ::testing::Test {
 protected:
  CliOptions() {
    dir_.Write("DID2.cfg", "888\r\n0\r\n0\r\n0\r\n9216\r\n0\r\n1\r\n");  // no link delays
    test::CardBuilder builder(200);
    builder.AddSave(0, "GAME", {199, 198}, false, 3, "Three frames");
    builder.AddSave(1, "-DASHED", {197}, false, 1, "Dash first");
    builder.WriteTo(dir_ / "card.dcm");
    std::filesystem::create_directory(dir_ / "vu");
    builder.WriteTo(dir_ / "vu" / "slot1.dcm");
  }

  CliRun Cli(const std::string& arguments) { return testing::RunCli(dir_.path(), arguments); }

  testing::TempDir dir_;
};

TEST_F(CliOptions, RefusedOptionsExitWithUsageAndChangeNothing) {
  const auto before = ReadFile(dir_ / "card.dcm");
  const struct {
    std::string arguments;
    std::string reason;
    std::string usage;
  } cases[] = {
      // An option no command knows: the list of every command follows.
      {"delete card.dcm GAME --dry-run", "unknown option --dry-run",
       "\n  delete      Deletes one save\n"},
      {"--dry-run delete card.dcm GAME", "unknown option --dry-run",
       "\n  delete      Deletes one save\n"},
      {"delete card.dcm GAME --json", "delete takes no option --json",
       "usage: quorvel-cli delete SOURCE SAVE"},
      {"delete card.dcm -DASHED", "unknown option -DASHED", "\n  delete      Deletes one save\n"},
      {"card-icon card.dcm in.bmp --dark=99", "--dark takes colour numbers 0 to 15",
       "usage: quorvel-cli card-icon SOURCE IN.bmp"},
      {"card-icon card.dcm in.bmp --name 'seventeen letters'", "--name takes at most 16",
       "usage: quorvel-cli card-icon SOURCE IN.bmp"},
      {"icon card.dcm GAME out.bmp --frame=-1", "--frame takes a frame number",
       "usage: quorvel-cli icon SOURCE SAVE|--entry N OUT.bmp [--frame K]"},
      {"format card.dcm --blocks=99", "format needs --blocks 200, 240 or 241",
       "usage: quorvel-cli format SOURCE --blocks 200|240|241"},
      {"format card.dcm --blocks", "option --blocks needs a value",
       "\n  format      Erases a card"},
  };
  for (const auto& c : cases) {
    const CliRun run = Cli(c.arguments);
    EXPECT_EQ(run.status, 2) << c.arguments;
    EXPECT_THAT(run.err, HasSubstr(c.reason)) << c.arguments;
    EXPECT_THAT(run.err, HasSubstr(c.usage)) << c.arguments;
    EXPECT_EQ(run.out, "") << c.arguments;
    EXPECT_EQ(ReadFile(dir_ / "card.dcm"), before) << c.arguments;
  }
  EXPECT_FALSE(std::filesystem::exists(dir_ / "out.bmp"));
}

TEST_F(CliOptions, ValuesWithEqualsSignOrInTheNextWordAlike) {
  const CliRun joined = Cli("icon card.dcm GAME joined.bmp --frame=2");
  ASSERT_EQ(joined.status, 0) << joined.err;
  const CliRun apart = Cli("--frame 2 icon card.dcm GAME apart.bmp");
  ASSERT_EQ(apart.status, 0) << apart.err;
  ASSERT_EQ(Cli("icon card.dcm GAME first.bmp").status, 0);
  EXPECT_EQ(ReadFile(dir_ / "joined.bmp"), ReadFile(dir_ / "apart.bmp"));
  EXPECT_NE(ReadFile(dir_ / "joined.bmp"), ReadFile(dir_ / "first.bmp"));

  // The virtual unit named with "=" is used (not the real port), and so is the trace file.
  const CliRun listed = Cli("--virtual-unit=vu list slot1 --trace=t.txt");
  ASSERT_EQ(listed.status, 0) << listed.err;
  EXPECT_THAT(listed.out, HasSubstr("GAME"));
  EXPECT_EQ(listed.out, Cli("list slot1 --virtual-unit vu").out);
  EXPECT_THAT(testing::ReadFile(dir_ / "t.txt").size(), ::testing::Gt(0u));
}

TEST_F(CliOptions, DoubleDashBeforeASaveNameThatBeginsWithADash) {
  const CliRun run = Cli("delete card.dcm -- -DASHED");
  ASSERT_EQ(run.status, 0) << run.err;
  const CliRun listed = Cli("list card.dcm");
  EXPECT_THAT(listed.out, HasSubstr("GAME"));
  EXPECT_THAT(listed.out, ::testing::Not(HasSubstr("DASHED")));
}

}  // namespace
}  // namespace quorvel
