// The help of quorvel-cli: every command describes itself whole (a summary, a description,
// its options and an example the parser accepts), and the program prints it on request.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>

#include "app/version.h"
#include "cli/command.h"
#include "support/cli_run.h"
#include "support/temp_dir.h"

namespace quorvel::cli {
namespace {

using ::testing::HasSubstr;
using ::testing::IsEmpty;
using ::testing::StartsWith;

int RunNothing(const Args&) { return kExitOk; }

// Registered, so that the examples below parse as this command's.
const CommandRegistration kThing{
    "thing",
    "SOURCE",
    &RunNothing,
    {{"force", false}, kEntryOption},
    {"Does", "Does.", {{"--force", "f"}, kEntryHelp}, "quorvel-cli thing a"}};

TEST(CommandHelp, EveryCommandIsDescribedWithItsOptionsAndAnExample) {
  for (const char* name : {"list", "copy", "import", "undo", "probe", "export-all"}) {
    EXPECT_EQ(Commands().count(name), 1u) << name;
  }
  for (const auto& [name, info] : Commands()) {
    EXPECT_THAT(HelpFaults(info), IsEmpty());
  }
}

TEST(CommandHelp, FaultsOfAnIncompleteHelpAreNamed) {
  const std::vector<OptionRule> options = {{"force", false}, {"entry", true}};
  const struct {
    CommandHelp help;
    std::vector<std::string> faults;
  } cases[] = {
      {{"", "Does.", {{"--force", "f"}, {"--entry N", "e"}}, "quorvel-cli thing a"},
       {"thing: the summary is not one line"}},
      {{"One\nTwo", "", {{"--force", "f"}, {"--entry N", "e"}}, "quorvel-cli thing a"},
       {"thing: the summary is not one line", "thing: no description"}},
      {{"Does this and that and so many other things that its line would wrap!",
        "Does.",
        {{"--force", "f"}, {"--entry N", "e"}},
        "quorvel-cli thing a"},
       {"thing: the summary is longer than 66 characters"}},
      {{"Does", "Does.", {{"--forced", "f"}, {"--entry N", "e"}}, "quorvel-cli thing a"},
       {"thing: --force has no help", "thing: help for an option it does not take: --forced"}},
      {{"Does", "Does.", {{"--force", "f"}, {"--entry N", "e"}}, ""},
       {"thing: the example is not a plain quorvel-cli command line"}},
      {{"Does", "Does.", {{"--force", "f"}, {"--entry N", "e"}}, "quorvel-cli thing \"a b\""},
       {"thing: the example is not a plain quorvel-cli command line"}},
      {{"Does", "Does.", {{"--force", "f"}, {"--entry N", "e"}}, "quorvel-cli list a"},
       {"thing: the example runs list"}},
      {{"Does", "Does.", {{"--force", "f"}, {"--entry N", "e"}}, "quorvel-cli thing a --json"},
       {"thing: the example is refused: thing takes no option --json"}},
      {{"Does", "Does.", {{"--force", "f"}, {"--entry N", "e"}}, "quorvel-cli thing a --entry"},
       {"thing: the example is refused: option --entry needs a value"}},
  };
  for (const auto& c : cases) {
    const CommandInfo info{"thing", "SOURCE", &RunNothing, options, c.help};
    EXPECT_EQ(HelpFaults(info), c.faults) << c.help.example;
  }
  const CommandInfo whole{"thing",
                          "SOURCE",
                          &RunNothing,
                          options,
                          {"Does",
                           "Does.",
                           {{"--force", "f"}, kEntryHelp},
                           "quorvel-cli thing a --entry 3 --force --stats"}};
  EXPECT_THAT(HelpFaults(whole), IsEmpty());
}

class CliHelp : public ::testing::Test {
 protected:
  testing::CliRun Cli(const std::string& arguments) {
    return testing::RunCli(dir_.path(), arguments);
  }
  testing::TempDir dir_;
};

TEST_F(CliHelp, ListsEveryCommandOnOneLine) {
  const testing::CliRun run = Cli("help");
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.err, "");
  EXPECT_THAT(run.out, StartsWith("usage: quorvel-cli "));
  EXPECT_THAT(run.out,
              HasSubstr("\n  list        Lists the saves of a card and its free blocks\n"));
  EXPECT_THAT(run.out, HasSubstr("\n  undo        Puts a card back as it was before its last "
                                 "recorded command\n"));
  EXPECT_THAT(run.out, HasSubstr("\n  --virtual-unit DIR  "));
  EXPECT_EQ(Cli("--help").out, run.out);
  // Without a command the same list goes to stderr, as bad usage.
  const testing::CliRun bare = Cli("");
  EXPECT_EQ(bare.status, 2);
  EXPECT_EQ(bare.out, "");
  EXPECT_EQ(bare.err, run.out);
}

TEST_F(CliHelp, DescribesOneCommandWithItsOptionsAndExample) {
  const testing::CliRun run = Cli("help format");
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_THAT(run.out, StartsWith("usage: quorvel-cli format SOURCE --blocks 200|240|241\n\n"
                                  "Formats the card, erasing every save,"));
  EXPECT_THAT(run.out, HasSubstr("\noptions:\n  --blocks 200|240|241  the card's user blocks"));
  EXPECT_THAT(run.out, HasSubstr("\nexample:\n  quorvel-cli format spare.dcm --blocks 200\n"));
  // "COMMAND --help" is the same, wherever the option stands, and runs nothing.
  EXPECT_EQ(Cli("format card.dcm --help").out, run.out);
  EXPECT_EQ(Cli("--help format").out, run.out);
  EXPECT_FALSE(std::filesystem::exists(dir_ / "card.dcm"));
}

TEST_F(CliHelp, UnknownCommandOrTooManyIsBadUsage) {
  const testing::CliRun unknown = Cli("help formatt");
  EXPECT_EQ(unknown.status, 2);
  EXPECT_EQ(unknown.out, "");
  EXPECT_THAT(unknown.err, StartsWith("quorvel-cli: unknown command 'formatt'\nusage:"));
  const testing::CliRun two = Cli("help list copy");
  EXPECT_EQ(two.status, 2);
  EXPECT_THAT(two.err, StartsWith("quorvel-cli: help takes one command at most\n"));
}

TEST_F(CliHelp, VersionIsTheBuildsVersion) {
  const testing::CliRun run = Cli("--version");
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.out, "quorvel-cli " + std::string(ProgramVersion()) + "\n");
}

}  // namespace
}  // namespace quorvel::cli
