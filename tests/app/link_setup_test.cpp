// The start-up wiring of the link: the options, the port chain for each of them, the trace
// file's exact format and the counters line.
#include "app/link_setup.h"

#include <gtest/gtest.h>
#include <sys/resource.h>

#include <array>
#include <csignal>

#include "support/card_files.h"
#include "support/trace_check.h"
#include "virtualunit/virtual_unit.h"

namespace quorvel {
namespace {

// What an earlier run left under the trace's name.
const std::vector<std::uint8_t> kEarlierTrace = {'R', ' ', '0', '3', '7', '9', ' ', '4', '0', '\n'};

using testing::kCardBytes;

class LinkSetupTest : public ::testing::Test {
 protected:
  LinkSetupTest() {
    settings_.poll_delay = settings_.byte_delay = settings_.bit_delay = 0;
    testing::WriteFile(dir_.path() / "slot1.dcm", testing::PatternBytes(kCardBytes, 4));
  }

  std::unique_ptr<LinkSession> Open(LinkOptions options) {
    std::string error;
    auto session = LinkSession::Open(options, settings_, LinkHooks{}, error);
    EXPECT_TRUE(session) << error;
    return session;
  }

  testing::TempDir dir_;
  LinkSettings settings_;
};

TEST_F(LinkSetupTest, VirtualUnitFromAFolderWithAnEmptySecondSlot) {
  auto session = Open({dir_.path().string(), std::nullopt, std::nullopt});
  ASSERT_TRUE(session);
  ASSERT_NE(session->Virtual(), nullptr);
  EXPECT_EQ(session->Hardware(), nullptr);
  EXPECT_TRUE(session->Virtual()->HasCard(0));
  EXPECT_FALSE(session->Virtual()->HasCard(1));
  EXPECT_NE(session->BackendText().find("slot1: card, slot2: empty"), std::string::npos);
  EXPECT_TRUE(session->Device().DetectUnitType());
  EXPECT_FALSE(session->Device().PagedMode());
}

TEST_F(LinkSetupTest, PagedCardTakesItsPagesFromTheFileSize) {
  testing::WriteFile(dir_.path() / "paged.bin", testing::PatternBytes(8 * kCardBytes, 5));
  auto session = Open({std::nullopt, (dir_.path() / "paged.bin").string(), std::nullopt});
  ASSERT_TRUE(session);
  EXPECT_NE(session->BackendText().find("(8 pages)"), std::string::npos);
  ASSERT_TRUE(session->Device().DetectUnitType());
  EXPECT_TRUE(session->Device().PagedMode());
  std::uint16_t highest = 0;
  ASSERT_TRUE(session->Device().HighestPage(highest));
  EXPECT_EQ(highest, 7);
}

TEST_F(LinkSetupTest, OptionsThatCannotBeHonouredAreRefusedWithTheReason) {
  std::string error;
  LinkOptions both{dir_.path().string(), "p.bin", std::nullopt};
  EXPECT_FALSE(LinkSession::Open(both, settings_, {}, error));
  EXPECT_EQ(error, "--virtual-unit and --virtual-paged cannot be used together");
  LinkOptions no_folder{(dir_.path() / "none").string(), std::nullopt, std::nullopt};
  EXPECT_FALSE(LinkSession::Open(no_folder, settings_, {}, error));
  EXPECT_NE(error.find("no such folder"), std::string::npos);
  LinkOptions bad_trace{dir_.path().string(), std::nullopt,
                        (dir_.path() / "none" / "t.txt").string()};
  EXPECT_FALSE(LinkSession::Open(bad_trace, settings_, {}, error));
  EXPECT_NE(error.find("the trace file cannot be created"), std::string::npos);
}

TEST_F(LinkSetupTest, WithoutVirtualOptionsTheRealPortIsUsed) {
  auto session = Open({});
  ASSERT_TRUE(session);
  EXPECT_EQ(session->Virtual(), nullptr);
  ASSERT_NE(session->Hardware(), nullptr);
  EXPECT_EQ(session->BackendText(), session->Hardware()->StatusText());
}

TEST_F(LinkSetupTest, PortChainIsTheUnitItselfUnlessTracing) {
  std::string error;
  auto plain = LinkPort::Open({dir_.path().string(), std::nullopt, std::nullopt}, 0x378, error);
  ASSERT_TRUE(plain) << error;
  EXPECT_EQ(&plain->Port(), static_cast<PortIo*>(plain->Virtual()));
  auto traced = LinkPort::Open(
      {dir_.path().string(), std::nullopt, (dir_.path() / "t.txt").string()}, 0x378, error);
  ASSERT_TRUE(traced) << error;
  EXPECT_NE(&traced->Port(), static_cast<PortIo*>(traced->Virtual()));
  traced->Port().WritePort(0x37A, 0x00);
  traced.reset();
  auto bytes = testing::ReadFile(dir_.path() / "t.txt");
  EXPECT_EQ(std::string(bytes.begin(), bytes.end()), "W 037A 00\n");
}

TEST_F(LinkSetupTest, ATraceNeverReplacesAFileThatIsNoTrace) {
  std::string error;
  for (const std::string& content :
       {std::string("old\n"), std::string("W 0378 1\n"), std::string(131072, '\xFF')}) {
    const std::filesystem::path file = dir_.path() / "kept";
    testing::WriteFile(file, std::vector<std::uint8_t>(content.begin(), content.end()));
    EXPECT_FALSE(LinkPort::Open({dir_.path().string(), std::nullopt, file.string()}, 0x378, error));
    EXPECT_NE(error.find("kept: exists and is not a trace"), std::string::npos) << error;
    const auto kept = testing::ReadFile(file);
    EXPECT_EQ(std::string(kept.begin(), kept.end()), content);
  }
}

TEST_F(LinkSetupTest, TheTraceTakesItsNameOnlyWhenTheRunEnds) {
  const std::filesystem::path trace = dir_.path() / "t.txt";
  testing::WriteFile(trace, kEarlierTrace);
  std::string error;
  auto port = LinkPort::Open({dir_.path().string(), std::nullopt, trace.string()}, 0x378, error);
  ASSERT_TRUE(port) << error;
  for (int i = 0; i < 20000; ++i) port->Port().WritePort(0x37A, 0x04);  // more than one buffer
  // During the run the name keeps its old file; the trace grows beside it.
  EXPECT_EQ(testing::ReadFile(trace), kEarlierTrace);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir_.path()), {}), 3);
  ASSERT_TRUE(port->FinishTrace(error)) << error;
  const auto bytes = testing::ReadFile(trace);
  EXPECT_EQ(bytes.size(), 20000u * 10);
  EXPECT_EQ(std::string(bytes.begin(), bytes.begin() + 10), "W 037A 04\n");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir_.path()), {}), 2);
  EXPECT_TRUE(port->FinishTrace(error));  // once only; the end of the run does nothing more
}

// A trace that cannot be written whole never stands under its name: here the files of the
// process may not grow beyond 100 KiB, as on a full disk.
TEST_F(LinkSetupTest, ATraceThatCannotBeWrittenWholeIsNotKept) {
  const std::filesystem::path trace = dir_.path() / "t.txt";
  testing::WriteFile(trace, kEarlierTrace);
  std::string error;
  auto port = LinkPort::Open({dir_.path().string(), std::nullopt, trace.string()}, 0x378, error);
  ASSERT_TRUE(port) << error;
  rlimit old_limit{};
  ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &old_limit), 0);
  rlimit small = old_limit;
  small.rlim_cur = 100 * 1024;
  const auto old_handler = std::signal(SIGXFSZ, SIG_IGN);
  ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
  for (int i = 0; i < 20000; ++i) port->Port().WritePort(0x37A, 0x04);  // 200,000 bytes
  const bool finished = port->FinishTrace(error);
  ::setrlimit(RLIMIT_FSIZE, &old_limit);
  std::signal(SIGXFSZ, old_handler);
  EXPECT_FALSE(finished);
  EXPECT_NE(error.find("the trace file cannot be written (File too large)"), std::string::npos)
      << error;
  EXPECT_EQ(testing::ReadFile(trace), kEarlierTrace);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir_.path()), {}), 2);
}

TEST_F(LinkSetupTest, TraceShowsTheHandshakeAndThreeWritesAndOneReadPerBit) {
  settings_.base_port = 0x278;  // the virtual unit sits where the settings say
  std::filesystem::path trace = dir_.path() / "trace.txt";
  {
    auto session = Open({dir_.path().string(), std::nullopt, trace.string()});
    ASSERT_TRUE(session);
    std::array<std::uint8_t, kBlockSize> buffer{};
    ASSERT_TRUE(session->Device().LinkReadBlock(0, 12, buffer));
  }
  std::vector<std::uint8_t> bytes = testing::ReadFile(trace);
  testing::TraceSummary summary =
      testing::CheckTrace(std::string(bytes.begin(), bytes.end()), settings_.base_port);
  EXPECT_EQ(summary.error, "");
  EXPECT_EQ(summary.transactions, 10);  // begin, four requests and fetches, end
  // Begin and end 5 bytes each, requests 6, fetches 131.
  EXPECT_EQ(summary.bytes, 2 * 5 + 4 * 6 + 4 * 131);
}

TEST_F(LinkSetupTest, StatsLineCountsTheLinkAndTheVirtualUnit) {
  auto session = Open({dir_.path().string(), std::nullopt, std::nullopt});
  ASSERT_TRUE(session);
  std::array<std::uint8_t, kBlockSize> buffer{};
  ASSERT_TRUE(session->Device().LinkReadBlock(0, 1, buffer));
  EXPECT_FALSE(session->Device().LinkReadBlock(1, 1, buffer));  // empty slot
  EXPECT_FALSE(session->Device().LinkReadBlock(1, 1, buffer));
  const std::string text = session->StatsText();
  EXPECT_EQ(text.find("link: 16 transactions, 3 block reads, 0 block writes, 1 retries; "), 0u)
      << text;
  EXPECT_NE(text.find("1 blocks read, 0 blocks written, 0 protocol violations"), std::string::npos)
      << text;
}

// A doubtful checksum reply on a paged card costs a check read; the counters line names it
// then, and only then.
TEST_F(LinkSetupTest, StatsLineNamesTheCheckReadsOfAPagedCard) {
  testing::WriteFile(dir_.path() / "paged.bin", testing::PatternBytes(2 * kCardBytes, 5));
  auto session = Open({std::nullopt, (dir_.path() / "paged.bin").string(), std::nullopt});
  ASSERT_TRUE(session);
  ASSERT_TRUE(session->Device().DetectUnitType());
  std::array<std::uint8_t, kBlockSize> data{};
  data.fill(0x77);
  ASSERT_TRUE(session->Device().LinkWriteBlock(0, 11, data));
  EXPECT_EQ(session->StatsText().find("check reads"), std::string::npos);
  Fault fault;
  fault.kind = FaultKind::kWrongChecksum;
  fault.checksum_xor = 0x01;
  VirtualUnit& unit = *session->Virtual();
  unit.InjectFault(unit.Transactions() + 2, fault);
  ASSERT_TRUE(session->Device().LinkWriteBlock(0, 11, data));
  EXPECT_NE(session->StatsText().find(" retries, 1 check reads; "), std::string::npos)
      << session->StatsText();
}

}  // namespace
}  // namespace quorvel
