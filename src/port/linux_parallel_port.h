// The Linux parallel-port backend: reaches the port whose base address the user configured
// through the kernel's ppdev interface (/dev/parportN), or through direct I/O (ioperm with
// inb/outb) when the process has that right, no ppdev port has the address and the address is
// one of the usual parallel-port bases.
//
// The registers keep their raw PC bit values. The kernel's PC driver (parport_pc) passes
// PPWDATA and PPRDATA straight to the data register, PPRSTATUS returns the status register as
// read (nAck is bit 6, Busy bit 7 inverted as on the wire), and PPWCONTROL writes the four
// line bits 0-3 of the control register as given (nStrobe is bit 0; the hardware inverts it
// at the pin, as with a direct write). Bits 4-7 of the control register are not reachable
// through ppdev, so they are left out; PPRCONTROL returns the driver's copy of bits 0-3.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "port/hardware_port.h"
#include "port/ppdev_calls.h"

namespace quorvel {

// Where the kernel's views live; tests point them at a fake tree.
struct LinuxPortPaths {
  std::string proc_root = "/proc";
  std::string dev_root = "/dev";
};

// One parallel port the kernel lists under /proc/sys/dev/parport.
struct ParallelPortEntry {
  int number = 0;          // N of parportN
  std::uint32_t base = 0;  // first number of base-addr
};

// The ports the kernel lists, by number; empty when there are none (or no parport driver).
std::vector<ParallelPortEntry> ListParallelPorts(const std::string& proc_root);

// The base addresses where a PC's own parallel port sits: 0x378, 0x278 and 0x3BC. Direct I/O
// is used only there (any other port has a listed ppdev device), never at an address where
// something else may answer.
bool IsUsualParallelPortBase(std::uint16_t base);

// Why the port cannot be used.
enum class PortProblem {
  kNone,          // open
  kNoSuchPort,    // no port has that base address
  kNoDeviceNode,  // /dev/parportN missing: ppdev not loaded
  kNoPermission,  // /dev/parportN not accessible: the user is not in the lp group
  kBusy,          // another driver holds the port
  kFailed,        // any other failure
};

enum class PortMethod { kNone, kPpdev, kDirect };

class LinuxParallelPort : public HardwarePort {
 public:
  // Finds and claims the port at `base_port`. A failure leaves the port closed with its
  // reason; reads then give 0 and writes do nothing.
  LinuxParallelPort(std::uint16_t base_port, PpdevCalls calls, LinuxPortPaths paths = {});
  // Releases and closes the port.
  ~LinuxParallelPort() override;

  LinuxParallelPort(const LinuxParallelPort&) = delete;
  LinuxParallelPort& operator=(const LinuxParallelPort&) = delete;

  // Data, status and control at base, base + 1 and base + 2. An address outside those three
  // that belongs to another listed port moves the backend to that port (the base address was
  // changed in the settings); any other address reads 0 and ignores writes.
  std::uint8_t ReadPort(std::uint16_t port) override;
  void WritePort(std::uint16_t port, std::uint8_t value) override;

  bool IsOpen() const override { return method_ != PortMethod::kNone; }
  std::string StatusText() const override;

  PortMethod Method() const { return method_; }
  PortProblem Problem() const { return problem_; }
  std::uint16_t BasePort() const { return base_; }
  const std::string& DevicePath() const { return device_path_; }
  // The result of the last port access and the errno of the last failure.
  bool LastOk() const { return last_ok_; }
  int LastError() const { return last_error_; }

 private:
  void Attach(std::uint16_t base);
  void AttachPpdev(const ParallelPortEntry& entry);
  void Detach();
  bool Reach(std::uint16_t address);
  void Fail(PortProblem problem, int error, std::string reason);
  bool Ioctl(PpRequest request, std::uint8_t& value);

  PpdevCalls calls_;
  LinuxPortPaths paths_;
  std::vector<ParallelPortEntry> ports_;
  std::uint16_t base_ = 0;
  PortMethod method_ = PortMethod::kNone;
  PortProblem problem_ = PortProblem::kNone;
  int fd_ = -1;
  std::string device_path_;
  std::string reason_;
  bool last_ok_ = false;
  int last_error_ = 0;
};

}  // namespace quorvel
