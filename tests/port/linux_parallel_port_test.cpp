// Tests of the Linux parallel-port backend against a fake /proc and /dev tree and a scripted
// kernel: port lookup, register mapping, the reasons for every failure and the silent
// failure of a port that cannot be used.
#include "port/linux_parallel_port.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cerrno>

#include "support/fake_kernel.h"
#include "support/temp_dir.h"

namespace quorvel {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;

class LinuxParallelPortTest : public ::testing::Test {
 protected:
  void AddPort(int number, const std::string& base_addr) {
    dir_.Write("proc/sys/dev/parport/parport" + std::to_string(number) + "/base-addr", base_addr);
  }
  LinuxPortPaths Paths() const {
    return {(dir_.path() / "proc").string(), (dir_.path() / "dev").string()};
  }
  std::string Dev(int number) const {
    return (dir_.path() / "dev").string() + "/parport" + std::to_string(number);
  }

  testing::TempDir dir_;
  testing::FakeKernel kernel_;
};

TEST_F(LinuxParallelPortTest, ListsThePortsByNumberWithTheFirstBaseNumber) {
  AddPort(1, "632\t1656\n");
  AddPort(0, "888\t1912\n");
  AddPort(10, "53264\t-1\n");
  dir_.Write("proc/sys/dev/parport/default/spintime", "500\n");
  dir_.Write("proc/sys/dev/parport/parportX/base-addr", "1\n");
  const auto ports = ListParallelPorts(Paths().proc_root);
  ASSERT_EQ(ports.size(), 3u);
  EXPECT_EQ(ports[0].number, 0);
  EXPECT_EQ(ports[0].base, 888u);
  EXPECT_EQ(ports[1].number, 1);
  EXPECT_EQ(ports[1].base, 632u);
  EXPECT_EQ(ports[2].number, 10);
  EXPECT_EQ(ports[2].base, 0xD010u);
  EXPECT_THAT(ListParallelPorts((dir_.path() / "nowhere").string()), IsEmpty());
}

TEST_F(LinuxParallelPortTest, ClaimsTheMatchingPortAndMapsTheRegisters) {
  AddPort(0, "888\t1912\n");
  AddPort(1, "632\t1656\n");
  {
    LinuxParallelPort port(632, kernel_.Calls(), Paths());
    ASSERT_TRUE(port.IsOpen());
    EXPECT_EQ(port.Method(), PortMethod::kPpdev);
    EXPECT_EQ(port.StatusText(), "ppdev " + Dev(1) + " at 0x0278");
    port.WritePort(0x278, 0x03);
    EXPECT_TRUE(port.LastOk());
    port.WritePort(0x27A, 0x01);
    port.WritePort(0x27A, 0xF0);  // only the four line bits reach the driver
    port.WritePort(0x279, 0x55);  // read-only register: nothing to do
    EXPECT_EQ(port.ReadPort(0x279), 0x7F);
    EXPECT_EQ(port.ReadPort(0x278), 0x03);
    port.ReadPort(0x27A);
    EXPECT_TRUE(port.LastOk());
  }
  EXPECT_THAT(kernel_.log,
              ElementsAre("open " + Dev(1), "PPCLAIM 7 00", "PPWDATA 7 03", "PPWCONTROL 7 01",
                          "PPWCONTROL 7 00", "PPRSTATUS 7 00", "PPRDATA 7 00", "PPRCONTROL 7 00",
                          "PPRELEASE 7 00", "close 7"));
}

TEST_F(LinuxParallelPortTest, NoPortAtTheAddressFailsSilentlyWithItsReason) {
  AddPort(0, "632\t1656\n");
  LinuxParallelPort port(888, kernel_.Calls(), Paths());
  EXPECT_FALSE(port.IsOpen());
  EXPECT_EQ(port.Problem(), PortProblem::kNoSuchPort);
  EXPECT_EQ(port.StatusText(),
            "no parallel port at 0x0378: the kernel lists parport0 at 0x0278; line 1 of "
            "DID2.cfg holds the base address in decimal");
  kernel_.log.clear();
  EXPECT_EQ(port.ReadPort(0x379), 0);
  EXPECT_FALSE(port.LastOk());
  port.WritePort(0x37A, 1);
  EXPECT_FALSE(port.LastOk());
  EXPECT_THAT(kernel_.log, IsEmpty());
}

TEST_F(LinuxParallelPortTest, NoParportDriverSaysSo) {
  LinuxParallelPort port(888, kernel_.Calls(), Paths());
  EXPECT_EQ(port.Problem(), PortProblem::kNoSuchPort);
  EXPECT_THAT(port.StatusText(), HasSubstr("the kernel lists no parallel port"));
}

TEST_F(LinuxParallelPortTest, DirectIoWhenPermittedAndNoPpdevPortMatches) {
  kernel_.ioperm_error = 0;
  LinuxParallelPort port(888, kernel_.Calls(), Paths());
  ASSERT_TRUE(port.IsOpen());
  EXPECT_EQ(port.Method(), PortMethod::kDirect);
  EXPECT_EQ(port.StatusText(), "direct I/O at 0x0378 (no ppdev port has that address)");
  port.WritePort(0x37A, 0x01);
  EXPECT_EQ(port.ReadPort(0x379), 0x7F);
  EXPECT_EQ(port.ReadPort(0x1234), 0);  // outside the granted range
  EXPECT_THAT(kernel_.log, ElementsAre("ioperm 0378 3", "outb 037A 01", "inb 0379"));
}

TEST_F(LinuxParallelPortTest, DirectIoOnlyAtTheUsualParallelPortBases) {
  kernel_.ioperm_error = 0;  // the process could reach any I/O address
  for (const std::uint16_t base : {0x278, 0x3BC}) {
    LinuxParallelPort port(base, kernel_.Calls(), Paths());
    EXPECT_EQ(port.Method(), PortMethod::kDirect) << base;
  }
  kernel_.log.clear();
  for (const std::uint16_t base : {0x70, 0x60, 0x379, 0xD010}) {
    LinuxParallelPort port(base, kernel_.Calls(), Paths());
    EXPECT_FALSE(port.IsOpen()) << base;
    EXPECT_EQ(port.Problem(), PortProblem::kNoSuchPort);
    port.WritePort(base, 0xFF);
    EXPECT_EQ(port.ReadPort(static_cast<std::uint16_t>(base + 1)), 0);
  }
  EXPECT_THAT(kernel_.log, IsEmpty());  // no ioperm, no inb, no outb
  const LinuxParallelPort cmos(0x70, kernel_.Calls(), Paths());
  EXPECT_EQ(cmos.StatusText(),
            "no parallel port at 0x0070 (direct I/O is only used at 0x0378, 0x0278 and 0x03BC): "
            "the kernel lists no parallel port (load the parport_pc module); line 1 of DID2.cfg "
            "holds the base address in decimal");
}

TEST_F(LinuxParallelPortTest, OpenFailuresNameTheirCause) {
  AddPort(0, "888\t1912\n");
  const struct {
    int error;
    PortProblem problem;
    const char* advice;
  } cases[] = {
      {EACCES, PortProblem::kNoPermission, "join the lp group"},
      {EPERM, PortProblem::kNoPermission, "join the lp group"},
      {ENOENT, PortProblem::kNoDeviceNode, "modprobe ppdev"},
      {ENXIO, PortProblem::kNoDeviceNode, "modprobe ppdev"},
      {EIO, PortProblem::kFailed, "cannot be opened"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.advice);
    kernel_.open_errors[Dev(0)] = c.error;
    LinuxParallelPort port(888, kernel_.Calls(), Paths());
    EXPECT_FALSE(port.IsOpen());
    EXPECT_EQ(port.Problem(), c.problem);
    EXPECT_EQ(port.LastError(), c.error);
    EXPECT_THAT(port.StatusText(), HasSubstr(c.advice));
    EXPECT_THAT(port.StatusText(), HasSubstr(Dev(0)));
  }
}

TEST_F(LinuxParallelPortTest, ClaimFailuresCloseTheDeviceAndNameTheCause) {
  AddPort(0, "888\t1912\n");
  kernel_.claim_error = EBUSY;
  {
    LinuxParallelPort busy(888, kernel_.Calls(), Paths());
    EXPECT_EQ(busy.Problem(), PortProblem::kBusy);
    EXPECT_THAT(busy.StatusText(), HasSubstr("another driver holds the port"));
  }
  EXPECT_THAT(kernel_.log, ElementsAre("open " + Dev(0), "PPCLAIM 7 00", "close 7"));
  kernel_.claim_error = EINTR;  // still held by another user when the wait ran out
  EXPECT_EQ(LinuxParallelPort(888, kernel_.Calls(), Paths()).Problem(), PortProblem::kBusy);
  kernel_.claim_error = EINVAL;
  LinuxParallelPort failed(888, kernel_.Calls(), Paths());
  EXPECT_EQ(failed.Problem(), PortProblem::kFailed);
  EXPECT_THAT(failed.StatusText(), HasSubstr("PPCLAIM"));
}

TEST_F(LinuxParallelPortTest, AFailedIoctlIsRecordedAndReadsGiveZero) {
  AddPort(0, "888\t1912\n");
  LinuxParallelPort port(888, kernel_.Calls(), Paths());
  kernel_.ioctl_error = EIO;
  EXPECT_EQ(port.ReadPort(0x379), 0);
  EXPECT_FALSE(port.LastOk());
  EXPECT_EQ(port.LastError(), EIO);
  EXPECT_TRUE(port.IsOpen());
  EXPECT_THAT(port.StatusText(), HasSubstr("last failure: PPRSTATUS on " + Dev(0)));
  kernel_.ioctl_error = 0;
  EXPECT_EQ(port.ReadPort(0x379), 0x7F);
  EXPECT_TRUE(port.LastOk());
}

TEST_F(LinuxParallelPortTest, FollowsTheBaseAddressToAnotherListedPort) {
  AddPort(0, "888\t1912\n");
  AddPort(1, "632\t1656\n");
  LinuxParallelPort port(888, kernel_.Calls(), Paths());
  port.WritePort(0x27A, 0x00);  // the settings moved the base address to 0x278
  EXPECT_EQ(port.BasePort(), 0x278);
  EXPECT_EQ(port.ReadPort(0x279), 0x7F);
  port.WritePort(0x100, 0x01);  // no port there: ignored, the port stays where it is
  EXPECT_EQ(port.BasePort(), 0x278);
  EXPECT_THAT(kernel_.log,
              ElementsAre("open " + Dev(0), "PPCLAIM 7 00", "PPRELEASE 7 00", "close 7",
                          "open " + Dev(1), "PPCLAIM 7 00", "PPWCONTROL 7 00", "PPRSTATUS 7 00"));
}

}  // namespace
}  // namespace quorvel
