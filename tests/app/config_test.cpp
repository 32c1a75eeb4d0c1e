// Tests of the working directory and of reading, creating and writing "DID2.cfg".
#include "app/config.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "link/busy_wait.h"
#include "link/link_device.h"
#include "port/recording_port.h"
#include "support/temp_dir.h"
#include "support/unprivileged.h"

namespace quorvel {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;

constexpr char kDefaultFile[] =
    "888\r\n00000256\r\n00004608\r\n00006912\r\n00009216\r\n0\r\n1\r\n1\r\n1\r\n0\r\n";

class RecordingMessages : public Messages {
 public:
  void Inform(std::string_view text) override { texts.emplace_back(text); }
  void Warn(std::string_view text) override { texts.emplace_back(text); }
  bool AskYesNo(std::string_view) override { return false; }
  Answer AskYesNoCancel(std::string_view) override { return Answer::kCancel; }

  std::vector<std::string> texts;
};

void ExpectSettings(const Settings& s, std::uint16_t base, std::int32_t poll, std::int32_t byte,
                    std::int32_t bit, std::int32_t slider, std::uint8_t drag,
                    std::uint8_t refresh) {
  EXPECT_EQ(s.base_port, base);
  EXPECT_EQ(s.poll_delay, poll);
  EXPECT_EQ(s.byte_delay, byte);
  EXPECT_EQ(s.bit_delay, bit);
  EXPECT_EQ(s.slider_max, slider);
  EXPECT_EQ(s.drag_mode, drag);
  EXPECT_EQ(s.auto_refresh, refresh);
}

class ConfigTest : public ::testing::Test {
 protected:
  // Reads the given file content through ReadConfig.
  Settings ReadFrom(std::string_view content) {
    dir_.Write("DID2.cfg", content);
    std::string work_dir = dir_.Dir();
    Settings settings;
    ReadConfig(work_dir, settings, messages_);
    return settings;
  }

  testing::TempDir dir_;
  RecordingMessages messages_;
};

TEST_F(ConfigTest, MissingFileIsCreatedWithTheDefaultTexts) {
  std::string work_dir = dir_.path().string();  // no separator at the end yet
  Settings settings;
  settings.base_port = 1;  // the defaults replace whatever was there
  ReadConfig(work_dir, settings, messages_);
  EXPECT_EQ(work_dir, dir_.Dir());
  EXPECT_EQ(dir_.Read("DID2.cfg"), kDefaultFile);
  ExpectSettings(settings, 888, 256, 4608, 6912, 9216, 0, 1);
  EXPECT_THAT(messages_.texts, IsEmpty());
}

TEST_F(ConfigTest, MissingLinesTakeTheirOwnDefaultsAndTheFileStaysAsItWas) {
  const Settings settings = ReadFrom("632\r\n100\r\n200\r\n");
  ExpectSettings(settings, 632, 100, 200, 6912, 9216, 0, 1);
  EXPECT_EQ(dir_.Read("DID2.cfg"), "632\r\n100\r\n200\r\n");
  EXPECT_THAT(messages_.texts, IsEmpty());
}

TEST_F(ConfigTest, AnEmptyLineTakesItsOwnDefaultNotANeighbours) {
  ExpectSettings(ReadFrom("1\r\n2\r\n3\r\n4\r\n\r\n1\r\n0\r\n"), 1, 2, 3, 4, 9216, 1, 0);
  ExpectSettings(ReadFrom("\r\n\r\n\r\n\r\n\r\n\r\n\r\n"), 888, 256, 4608, 6912, 9216, 0, 1);
  ExpectSettings(ReadFrom(""), 888, 256, 4608, 6912, 9216, 0, 1);
  EXPECT_THAT(messages_.texts, IsEmpty());
}

TEST_F(ConfigTest, ReadsLfLinesBlanksSignsAndLeadingZeros) {
  ExpectSettings(ReadFrom(" 632 \n-5\n+7\n0000012\n\t9\n1\n2"), 632, -5, 7, 12, 9, 1, 2);
  EXPECT_THAT(messages_.texts, IsEmpty());
}

TEST_F(ConfigTest, WidthsAreCut) {
  ExpectSettings(ReadFrom("66424\r\n262144\r\n-2147483648\r\n0\r\n2147483647\r\n257\r\n512\r\n"),
                 888, 262144, -2147483648, 0, 2147483647, 1, 0);
  EXPECT_EQ(ReadFrom("-1\r\n").base_port, 65535);
  EXPECT_THAT(messages_.texts, IsEmpty());
}

TEST_F(ConfigTest, DragModeAndAutoRefreshOnlyOneMeansOn) {
  Settings settings = ReadFrom("888\r\n1\r\n1\r\n1\r\n1\r\n1\r\n1\r\n");
  EXPECT_TRUE(DragMovesSaves(settings));
  EXPECT_TRUE(AutoRefreshOn(settings));
  settings = ReadFrom("888\r\n1\r\n1\r\n1\r\n1\r\n5\r\n2\r\n");
  EXPECT_FALSE(DragMovesSaves(settings));
  EXPECT_FALSE(AutoRefreshOn(settings));
  settings = ReadFrom("888\r\n1\r\n1\r\n1\r\n1\r\n0\r\n0\r\n");
  EXPECT_FALSE(DragMovesSaves(settings));
  EXPECT_FALSE(AutoRefreshOn(settings));
}

// The journal's three lines come after the seven of the link: a file of seven lines keeps
// their defaults (recording on, whole cards read back, single saves not).
TEST_F(ConfigTest, TheJournalLinesFollowTheSevenLinkLinesAndOnlyOneMeansOn) {
  Settings settings = ReadFrom("888\r\n1\r\n1\r\n1\r\n1\r\n0\r\n0\r\n");
  EXPECT_TRUE(JournalOn(settings));
  EXPECT_TRUE(VerifyWholeCard(settings));
  EXPECT_FALSE(VerifySingleSaves(settings));
  settings = ReadFrom("888\r\n1\r\n1\r\n1\r\n1\r\n0\r\n0\r\n0\r\n2\r\n1\r\n");
  EXPECT_FALSE(JournalOn(settings));
  EXPECT_FALSE(VerifyWholeCard(settings));
  EXPECT_TRUE(VerifySingleSaves(settings));
  EXPECT_FALSE(AutoRefreshOn(settings));
}

TEST_F(ConfigTest, LinesThatAreNotDecimalIntegersAreReportedOnceAndKeepTheirDefaults) {
  const Settings settings =
      ReadFrom("0x278\r\n12abc\r\n99999999999\r\n+-5\r\n$2400\r\n1\r\nyes\r\n");
  ExpectSettings(settings, 888, 256, 4608, 6912, 9216, 1, 1);
  ASSERT_EQ(messages_.texts.size(), 1u);
  const std::string& text = messages_.texts[0];
  EXPECT_THAT(text, HasSubstr("DID2.cfg line 1: \"0x278\" is not a decimal integer; the "
                              "default 888 is used."));
  EXPECT_THAT(text, HasSubstr("line 2: \"12abc\""));
  EXPECT_THAT(text, HasSubstr("line 3: \"99999999999\""));
  EXPECT_THAT(text, HasSubstr("line 4: \"+-5\""));
  EXPECT_THAT(text, HasSubstr("line 5: \"$2400\" is not a decimal integer; the default "
                              "00009216 is used."));
  EXPECT_THAT(text, HasSubstr("line 7: \"yes\""));
  EXPECT_THAT(text, ::testing::Not(HasSubstr("line 6")));
}

TEST_F(ConfigTest, DelayCountsAboveTheLargestAreReadAsTheLargestAndReported) {
  const Settings settings = ReadFrom("888\r\n2147483647\r\n262145\r\n262144\r\n");
  ExpectSettings(settings, 888, kMaxDelayCount, kMaxDelayCount, kMaxDelayCount, 9216, 0, 1);
  ASSERT_EQ(messages_.texts.size(), 1u);
  EXPECT_THAT(messages_.texts[0],
              HasSubstr("DID2.cfg line 2: the delay count 2147483647 is more than the largest, "
                        "262144, which is used."));
  EXPECT_THAT(messages_.texts[0], HasSubstr("line 3: the delay count 262145"));
  EXPECT_THAT(messages_.texts[0], ::testing::Not(HasSubstr("line 4")));
}

TEST_F(ConfigTest, ALineIsReadOnlyUpToItsLimitAndQuotedShortAndPrintable) {
  // Line 2 goes on for a megabyte of zero bytes: it is not read to its end, the lines after
  // it keep their defaults, and the message quotes a short printable start.
  std::string content = "632\r\n";
  content += std::string(1 << 20, '\0');
  content += "\n100\n";
  const Settings settings = ReadFrom(content);
  ExpectSettings(settings, 632, 256, 4608, 6912, 9216, 0, 1);
  ASSERT_EQ(messages_.texts.size(), 1u);
  EXPECT_EQ(messages_.texts[0],
            "DID2.cfg line 2 is longer than 80 characters (\"????????????????...\"); the default "
            "00000256 is used, and the lines after it are not read.");

  messages_.texts.clear();
  ReadFrom("632\r\n\x01\x7F\xE4\xB8\xADgarbage that goes on and on\r\n");
  ASSERT_EQ(messages_.texts.size(), 1u);
  EXPECT_EQ(messages_.texts[0],
            "DID2.cfg line 2: \"?????garbage tha...\" is not a decimal integer; the default "
            "00000256 is used.");
}

TEST_F(ConfigTest, AFileThatCannotBeReadOrCreatedIsReportedAndTheDefaultsHold) {
  std::filesystem::create_directory(dir_.path() / "DID2.cfg");
  Settings settings;
  settings.poll_delay = 1;
  std::string work_dir = dir_.Dir();
  ReadConfig(work_dir, settings, messages_);
  ExpectSettings(settings, 888, 256, 4608, 6912, 9216, 0, 1);
  ASSERT_EQ(messages_.texts.size(), 1u);
  EXPECT_THAT(messages_.texts[0], HasSubstr("DID2.cfg in " + work_dir + " cannot be read"));

  std::string missing_dir = (dir_.path() / "gone").string();
  settings.poll_delay = 1;
  ReadConfig(missing_dir, settings, messages_);
  ExpectSettings(settings, 888, 256, 4608, 6912, 9216, 0, 1);
  ASSERT_EQ(messages_.texts.size(), 2u);
  EXPECT_THAT(messages_.texts[1], HasSubstr("DID2.cfg cannot be created in " + missing_dir));
}

TEST_F(ConfigTest, WriteConfigWritesPlainNumbersThatReadBackTheSame) {
  Settings written;
  written.base_port = 632;
  written.drag_mode = 1;
  written.auto_refresh = 0;
  dir_.Write("DID2.cfg", kDefaultFile);
  ASSERT_TRUE(WriteConfig(dir_.Dir(), written, messages_));
  EXPECT_EQ(dir_.Read("DID2.cfg"),
            "632\r\n256\r\n4608\r\n6912\r\n9216\r\n1\r\n0\r\n1\r\n1\r\n0\r\n");
  EXPECT_FALSE(std::filesystem::exists(dir_.path() / "DID2.cfg.new"));
  std::string work_dir = dir_.Dir();
  Settings read;
  ReadConfig(work_dir, read, messages_);
  ExpectSettings(read, 632, 256, 4608, 6912, 9216, 1, 0);
  EXPECT_THAT(messages_.texts, IsEmpty());
}

TEST_F(ConfigTest, WriteConfigFailureIsReported) {
  EXPECT_FALSE(WriteConfig((dir_.path() / "gone").string() + "/", Settings{}, messages_));
  ASSERT_EQ(messages_.texts.size(), 1u);
  EXPECT_THAT(messages_.texts[0], HasSubstr("DID2.cfg cannot be written in"));
}

TEST_F(ConfigTest, PlantedLinksAreReplacedNeverFollowed) {
  // A dangling link where the file is missing: the defaults are written as a file of its own.
  const std::filesystem::path victim = dir_.path() / "victim.txt";
  std::filesystem::create_symlink(victim, dir_.path() / "DID2.cfg");
  std::string work_dir = dir_.Dir();
  Settings settings;
  ReadConfig(work_dir, settings, messages_);
  EXPECT_FALSE(std::filesystem::exists(victim));
  EXPECT_FALSE(std::filesystem::is_symlink(dir_.path() / "DID2.cfg"));
  EXPECT_EQ(dir_.Read("DID2.cfg"), kDefaultFile);

  // Links at the file and at any name a writer might use beside it stay untouched.
  dir_.Write("victim.txt", "keep");
  std::filesystem::remove(dir_.path() / "DID2.cfg");
  std::filesystem::create_symlink(victim, dir_.path() / "DID2.cfg");
  std::filesystem::create_symlink(victim, dir_.path() / "DID2.cfg.new");
  ASSERT_TRUE(WriteConfig(work_dir, Settings{}, messages_));
  EXPECT_EQ(dir_.Read("victim.txt"), "keep");
  EXPECT_FALSE(std::filesystem::is_symlink(dir_.path() / "DID2.cfg"));
  EXPECT_EQ(dir_.Read("DID2.cfg"),
            "888\r\n256\r\n4608\r\n6912\r\n9216\r\n0\r\n1\r\n1\r\n1\r\n0\r\n");
  EXPECT_THAT(messages_.texts, IsEmpty());
}

TEST_F(ConfigTest, AReadOnlyFolderIsReportedAndTheOldFileStays) {
  dir_.Write("DID2.cfg", kDefaultFile);
  std::filesystem::permissions(dir_.path(), std::filesystem::perms::owner_write,
                               std::filesystem::perm_options::remove);
  Settings written;
  written.base_port = 632;
  // 1: written anyway, 2: not one message, 3: not the message, 4: no reason given.
  EXPECT_EQ(testing::RunUnprivileged([&] {
              if (WriteConfig(dir_.Dir(), written, messages_)) return 1;
              if (messages_.texts.size() != 1) return 2;
              const std::string& text = messages_.texts[0];
              if (text.find("DID2.cfg cannot be written in") == std::string::npos) return 3;
              return text.find("(Permission denied)") == std::string::npos ? 4 : 0;
            }),
            0);
  EXPECT_EQ(dir_.Read("DID2.cfg"), kDefaultFile);
}

TEST_F(ConfigTest, ReadOnlyVariantNeverCreatesOrRewrites) {
  Settings settings;
  settings.base_port = 1234;
  EXPECT_FALSE(ReadConfigIfPresent(dir_.Dir(), settings, messages_));
  EXPECT_EQ(settings.base_port, 1234);
  EXPECT_FALSE(std::filesystem::exists(dir_.path() / "DID2.cfg"));

  dir_.Write("DID2.cfg", "632\r\n00000001\r\nbad\r\n");
  EXPECT_TRUE(ReadConfigIfPresent(dir_.Dir(), settings, messages_));
  ExpectSettings(settings, 632, 1, 4608, 6912, 9216, 0, 1);
  EXPECT_EQ(dir_.Read("DID2.cfg"), "632\r\n00000001\r\nbad\r\n");
  ASSERT_EQ(messages_.texts.size(), 1u);
  EXPECT_THAT(messages_.texts[0], HasSubstr("line 3: \"bad\""));
}

TEST(WorkDirTest, EndsInExactlyOneSeparator) {
  std::string dir = "/home/user/cards";
  EnsureTrailingSeparator(dir);
  EXPECT_EQ(dir, "/home/user/cards/");
  EnsureTrailingSeparator(dir);
  EXPECT_EQ(dir, "/home/user/cards/");
  std::string root = "/";
  EnsureTrailingSeparator(root);
  EXPECT_EQ(root, "/");
  std::string empty;
  EnsureTrailingSeparator(empty);
  EXPECT_EQ(empty, std::string(1, kPathSeparator));
}

// Runs the body with the process's current directory set to `dir`.
class CurrentDirectory {
 public:
  explicit CurrentDirectory(const std::filesystem::path& dir)
      : saved_(std::filesystem::current_path()) {
    std::filesystem::current_path(dir);
  }
  ~CurrentDirectory() { std::filesystem::current_path(saved_); }

 private:
  std::filesystem::path saved_;
};

TEST_F(ConfigTest, WorkDirIsTheCurrentDirectoryAndItsFileIsTheOneUsed) {
  dir_.Write("elsewhere/DID2.cfg", "632\r\n");
  {
    CurrentDirectory here(dir_.path() / "elsewhere");
    std::string work_dir = CaptureWorkDir();
    EXPECT_EQ(work_dir, dir_.Dir() + "elsewhere/");
    Settings settings;
    ReadConfig(work_dir, settings, messages_);
    EXPECT_EQ(settings.base_port, 632);
  }
  {
    CurrentDirectory root("/");
    EXPECT_EQ(CaptureWorkDir(), "/");
  }
  std::filesystem::create_directory(dir_.path() / "fresh");
  {
    CurrentDirectory here(dir_.path() / "fresh");
    std::string work_dir = CaptureWorkDir();
    Settings settings;
    ReadConfig(work_dir, settings, messages_);
  }
  EXPECT_EQ(dir_.Read("fresh/DID2.cfg"), kDefaultFile);
  EXPECT_FALSE(std::filesystem::exists(dir_.path() / "DID2.cfg"));
}

TEST_F(ConfigTest, TheConfiguredBaseAddressMovesTheLinkPorts) {
  Settings settings = ReadFrom("632\r\n");
  RecordingPort port;
  LinkDevice link(port, settings);
  link.EndTransaction();
  EXPECT_THAT(port.Accesses(), ElementsAre(PortAccess{'W', 0x27A, 0x00}));
}

}  // namespace
}  // namespace quorvel
