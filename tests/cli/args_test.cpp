// Argument parsing of quorvel-cli: options may stand before or after the positionals, and
// each command takes only the global options and its own.
#include <gtest/gtest.h>

#include "cli/command.h"

namespace quorvel::cli {
namespace {

int RunNothing(const Args&) { return kExitOk; }

const CommandRegistration kLister{
    "lister",
    "SOURCE [--json]",
    &RunNothing,
    {{"json", false}},
    {"Lists", "Lists.", {{"--json", "as JSON"}}, "quorvel-cli lister a"}};
const CommandRegistration kFramer{
    "framer",
    "SOURCE [--frame K]",
    &RunNothing,
    {{"frame", true}},
    {"Frames", "Frames.", {{"--frame K", "frame K"}}, "quorvel-cli framer a --frame 1"}};

TEST(ParseArgs, OptionsMayStandAnywhere) {
  Args args = ParseArgs({"--virtual-unit", "cards", "lister", "slot1", "--json", "--trace=t"});
  EXPECT_EQ(args.command, "lister");
  EXPECT_EQ(args.positional, std::vector<std::string>{"slot1"});
  EXPECT_EQ(args.Value("virtual-unit"), "cards");
  EXPECT_EQ(args.Value("trace"), "t");
  EXPECT_TRUE(args.Has("json"));
  EXPECT_FALSE(args.Has("stats"));
  EXPECT_EQ(args.Value("frame"), std::nullopt);

  // A command's value option before the command's name still takes its value.
  Args early = ParseArgs({"--frame", "2", "framer", "x.dcm"});
  EXPECT_EQ(early.command, "framer");
  EXPECT_EQ(early.Value("frame"), "2");
  EXPECT_EQ(early.positional, std::vector<std::string>{"x.dcm"});
}

TEST(ParseArgs, RefusesOptionsTheCommandDoesNotTake) {
  const struct {
    std::vector<std::string> words;
    std::string error;
  } cases[] = {
      {{"lister", "x.dcm", "--dry-run"}, "unknown option --dry-run"},
      {{"lister", "x.dcm", "--frame=2"}, "lister takes no option --frame"},
      {{"--json", "framer", "x.dcm"}, "framer takes no option --json"},
      {{"framer", "x.dcm", "--frame"}, "option --frame needs a value"},
      {{"lister", "-x.dcm"},
       "unknown option -x.dcm (put -- before arguments that begin with a dash)"},
      {{"--virtual-unit=d", "--virtual-paged=p", "lister", "slot1"},
       "--virtual-unit and --virtual-paged cannot be used together"},
  };
  for (const auto& c : cases) {
    try {
      ParseArgs(c.words);
      ADD_FAILURE() << "accepted: " << c.error;
    } catch (const UsageError& error) {
      EXPECT_EQ(error.message, c.error);
    }
  }
  EXPECT_EQ(ParseArgs({"lister", "--", "-x.dcm"}).positional, std::vector<std::string>{"-x.dcm"});
}

TEST(ParseArgs, PositionalCountIsChecked) {
  Args args = ParseArgs({"lister", "a.dcm", "GAME"});
  EXPECT_THROW(RequirePositional(args, 3), UsageError);
  EXPECT_NO_THROW(RequirePositional(args, 2));
  EXPECT_EQ(CommandUsage("lister"), "usage: quorvel-cli lister SOURCE [--json]");
  EXPECT_EQ(CommandUsage("nothing"), "");
}

}  // namespace
}  // namespace quorvel::cli
