// The command-line parser of both programs: both value forms, flags, "--", and the refusals,
// and the desktop program's own options read through it.
#include "app/program_options.h"

#include <gtest/gtest.h>

#include <array>

#include "app/window_options.h"

namespace quorvel {
namespace {

constexpr std::array<OptionRule, 3> kKnown = {{{"trace", true}, {"frame", true}, {"json", false}}};

std::optional<ProgramOptions> Parse(std::vector<std::string> words, std::string& error) {
  return ParseProgramOptions(words, kKnown, error);
}

TEST(ParseProgramOptions, BothValueFormsFlagsAndPositionalsAnywhere) {
  for (const std::vector<std::string>& words : std::vector<std::vector<std::string>>{
           {"--trace", "t.txt", "a", "--frame=2", "b", "--json"},
           {"--trace=t.txt", "a", "--frame", "2", "--json", "b"},
           {"a", "--json", "b", "--frame=2", "--trace=t.txt", "--json"},
       }) {
    std::string error;
    const auto parsed = Parse(words, error);
    ASSERT_TRUE(parsed) << error;
    EXPECT_EQ(parsed->positional, (std::vector<std::string>{"a", "b"}));
    EXPECT_EQ(parsed->Value("trace"), "t.txt");
    EXPECT_EQ(parsed->Value("frame"), "2");
    EXPECT_TRUE(parsed->Has("json"));
    EXPECT_EQ(parsed->Value("json"), std::nullopt);
  }
}

TEST(ParseProgramOptions, DoubleDashMakesEveryLaterWordPositional) {
  std::string error;
  const auto parsed = Parse({"a", "--", "-GAME", "--json", "--", "-"}, error);
  ASSERT_TRUE(parsed) << error;
  EXPECT_EQ(parsed->positional, (std::vector<std::string>{"a", "-GAME", "--json", "--", "-"}));
  EXPECT_FALSE(parsed->Has("json"));

  const auto values = Parse({"--frame=-1", "--trace", "-t", "-"}, error);
  ASSERT_TRUE(values) << error;
  EXPECT_EQ(values->Value("frame"), "-1");
  EXPECT_EQ(values->Value("trace"), "-t");
  EXPECT_EQ(values->positional, std::vector<std::string>{"-"});
}

TEST(ParseProgramOptions, RefusesWhatItCannotReadWithTheReason) {
  const struct {
    std::vector<std::string> words;
    std::string error;
  } cases[] = {
      {{"a", "--dry-run"}, "unknown option --dry-run"},
      {{"--dry-run=1"}, "unknown option --dry-run"},
      {{"-x", "a"}, "unknown option -x (put -- before arguments that begin with a dash)"},
      {{"-GAME"}, "unknown option -GAME (put -- before arguments that begin with a dash)"},
      {{"--json=yes"}, "option --json takes no value"},
      {{"--frame"}, "option --frame needs a value"},
      {{"--frame="}, "option --frame needs a value"},
      {{"--frame", "--json"}, "option --frame needs a value"},
      {{"--trace", "a", "--trace=b"}, "option --trace is given more than once"},
      {{"--"}, ""},
  };
  for (const auto& c : cases) {
    std::string error;
    const auto parsed = Parse(c.words, error);
    EXPECT_EQ(parsed.has_value(), c.error.empty()) << c.words.front();
    EXPECT_EQ(error, c.error) << c.words.front();
  }
}

TEST(ParseWindowOptions, LinkOptionsWorkingFolderAndOneFile) {
  std::string error;
  const auto options =
      ParseWindowOptions({"--virtual-unit=cards", "save.bin", "--trace", "t.txt"}, error);
  ASSERT_TRUE(options) << error;
  EXPECT_EQ(options->link.virtual_unit_dir, "cards");
  EXPECT_EQ(options->link.trace_file, "t.txt");
  EXPECT_EQ(options->link.virtual_paged_file, std::nullopt);
  EXPECT_EQ(options->file, "save.bin");

  const auto dashed = ParseWindowOptions({"--", "-save.bin"}, error);
  ASSERT_TRUE(dashed) << error;
  EXPECT_EQ(dashed->file, "-save.bin");
  EXPECT_EQ(dashed->work_dir.dir, std::nullopt);
  EXPECT_FALSE(dashed->work_dir.user);

  const auto work = ParseWindowOptions({"--work-dir=/x/y"}, error);
  ASSERT_TRUE(work) << error;
  EXPECT_EQ(work->work_dir.dir, "/x/y");
  EXPECT_EQ(work->file, std::nullopt);
  const auto user = ParseWindowOptions({"--user-work-dir", "f.bin", "--work-dir"}, error);
  EXPECT_FALSE(user);
  EXPECT_EQ(error, "option --work-dir needs a value");
  const auto xdg = ParseWindowOptions({"--user-work-dir", "f.bin"}, error);
  ASSERT_TRUE(xdg) << error;
  EXPECT_TRUE(xdg->work_dir.user);
  EXPECT_EQ(xdg->file, "f.bin");
}

TEST(ParseWindowOptions, RefusesUnknownOptionsASecondFileAndExclusiveOptionsTogether) {
  const struct {
    std::vector<std::string> words;
    std::string error;
  } cases[] = {
      {{"--other", "x"}, "unknown option --other"},
      {{"--virtual-unit"}, "option --virtual-unit needs a value"},
      {{"a.bin", "b.bin"}, "one file at most, not 2"},
      {{"--virtual-unit", "d", "--virtual-paged=p.bin"},
       "--virtual-unit and --virtual-paged cannot be used together"},
      {{"--work-dir", "w", "--user-work-dir"},
       "--work-dir and --user-work-dir cannot be used together"},
      {{"--user-work-dir=yes"}, "option --user-work-dir takes no value"},
  };
  for (const auto& c : cases) {
    std::string error;
    EXPECT_FALSE(ParseWindowOptions(c.words, error)) << c.words.front();
    EXPECT_EQ(error, c.error);
  }
}

TEST(OptionHelpText, WrapsBesideOneColumnAndPutsAWideFormOnItsOwnLine) {
  const OptionHelp options[] = {
      {"--json", "one JSON object"},
      {"--blocks 200|240|241", "the user blocks"},
      {"--a-form-that-is-far-too-wide-for-the-column", "text"},
  };
  EXPECT_EQ(FormatOptionHelp(options),
            "  --json                one JSON object\n"
            "  --blocks 200|240|241  the user blocks\n"
            "  --a-form-that-is-far-too-wide-for-the-column\n"
            "                        text\n");
  // Lines of exactly the width are kept whole.
  EXPECT_EQ(WrapText("aaa bbb  ccc dddd", 4, 12), "aaa bbb\n    ccc dddd\n");
  EXPECT_EQ(WrapText("aaa bbb  ccc dddd", 4, 11), "aaa bbb\n    ccc\n    dddd\n");
  // A word longer than the line stands alone, and nothing is lost.
  EXPECT_EQ(WrapText("a bbbbbbbbbbbbbbb c", 2, 8), "a\n  bbbbbbbbbbbbbbb\n  c\n");
}

TEST(OptionHelpText, DescribesAnOptionByItsWholeName) {
  const OptionHelp help[] = {{"--work-dir DIR", ""}, {"--force", ""}};
  EXPECT_TRUE(DescribesOption(help, "work-dir"));
  EXPECT_TRUE(DescribesOption(help, "force"));
  EXPECT_FALSE(DescribesOption(help, "work"));
  EXPECT_FALSE(DescribesOption(help, "user-work-dir"));
}

TEST(WindowHelp, NamesEveryOptionTheProgramKnowsInEightyColumns) {
  const std::string help = WindowHelp();
  for (const OptionRule& rule : WindowOptionRules()) {
    EXPECT_TRUE(DescribesOption(WindowOptionHelp(), rule.name)) << rule.name;
  }
  for (const OptionHelp& line : WindowOptionHelp()) {
    EXPECT_NE(help.find("\n  " + std::string(line.form)), std::string::npos) << line.form;
  }
  std::size_t start = 0;
  for (std::size_t end; (end = help.find('\n', start)) != std::string::npos; start = end + 1) {
    EXPECT_LE(end - start, 80u) << help.substr(start, end - start);
  }
  EXPECT_TRUE(help.starts_with(kWindowUsage));
}

}  // namespace
}  // namespace quorvel
