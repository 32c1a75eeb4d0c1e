// The Linux parallel-port backend: port lookup under /proc, ppdev claim and register access,
// direct I/O as the second method, and the reasons given when the port cannot be used.
#include "port/linux_parallel_port.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <utility>

namespace quorvel {
namespace {

constexpr std::uint8_t kControlLineBits = 0x0F;

bool Holds(std::uint32_t base, std::uint16_t address) {
  return address >= base && address <= base + 2;
}

// "parport3" -> 3; -1 for any other name.
int PortNumber(const std::string& name) {
  constexpr std::string_view kPrefix = "parport";
  if (!name.starts_with(kPrefix) || name.size() == kPrefix.size()) return -1;
  int number = -1;
  const char* first = name.data() + kPrefix.size();
  const char* last = name.data() + name.size();
  auto [end, error] = std::from_chars(first, last, number);
  return error == std::errc{} && end == last ? number : -1;
}

std::string ErrorText(int error) { return std::strerror(error); }

}  // namespace

bool IsUsualParallelPortBase(std::uint16_t base) {
  return base == 0x378 || base == 0x278 || base == 0x3BC;
}

std::vector<ParallelPortEntry> ListParallelPorts(const std::string& proc_root) {
  namespace fs = std::filesystem;
  std::vector<ParallelPortEntry> ports;
  std::error_code error;
  for (const fs::directory_entry& dir :
       fs::directory_iterator(fs::path(proc_root) / "sys/dev/parport", error)) {
    const int number = PortNumber(dir.path().filename().string());
    if (number < 0) continue;
    std::ifstream file(dir.path() / "base-addr");
    std::uint32_t base = 0;
    if (file >> base) ports.push_back({number, base});
  }
  std::sort(ports.begin(), ports.end(),
            [](const auto& a, const auto& b) { return a.number < b.number; });
  return ports;
}

LinuxParallelPort::LinuxParallelPort(std::uint16_t base_port, PpdevCalls calls,
                                     LinuxPortPaths paths)
    : calls_(std::move(calls)), paths_(std::move(paths)) {
  ports_ = ListParallelPorts(paths_.proc_root);
  Attach(base_port);
}

LinuxParallelPort::~LinuxParallelPort() { Detach(); }

void LinuxParallelPort::Attach(std::uint16_t base) {
  base_ = base;
  problem_ = PortProblem::kNone;
  reason_.clear();
  device_path_.clear();
  for (const ParallelPortEntry& entry : ports_) {
    if (entry.base == base) {
      AttachPpdev(entry);
      return;
    }
  }
  // Direct I/O reaches any address at all (0x70 is the CMOS clock's index register): it is
  // only tried where a parallel port usually sits (the kernel's listed ports have ppdev).
  const bool usual = IsUsualParallelPortBase(base);
  const int result = usual ? calls_.ioperm(base, 3) : -EPERM;
  if (result == 0) {
    method_ = PortMethod::kDirect;
    return;
  }
  std::string reason = "no parallel port at " + PortAddressText(base);
  if (!usual) {
    reason += " (direct I/O is only used at 0x0378, 0x0278 and 0x03BC)";
  }
  if (ports_.empty()) {
    reason += ": the kernel lists no parallel port (load the parport_pc module)";
  } else {
    reason += ": the kernel lists";
    for (const ParallelPortEntry& entry : ports_) {
      reason += (&entry == &ports_.front() ? " parport" : ", parport") +
                std::to_string(entry.number) + " at " + PortAddressText(entry.base);
    }
  }
  Fail(PortProblem::kNoSuchPort, -result,
       reason + "; line 1 of DID2.cfg holds the base address in decimal");
}

void LinuxParallelPort::AttachPpdev(const ParallelPortEntry& entry) {
  device_path_ = paths_.dev_root + "/parport" + std::to_string(entry.number);
  const int fd = calls_.open(device_path_);
  if (fd < 0) {
    const int error = -fd;
    if (error == EACCES || error == EPERM) {
      Fail(PortProblem::kNoPermission, error,
           "no permission to open " + device_path_ +
               ": join the lp group (sudo usermod -aG lp $USER, then log in again)");
    } else if (error == ENOENT || error == ENODEV || error == ENXIO) {
      Fail(PortProblem::kNoDeviceNode, error,
           device_path_ + " cannot be opened (" + ErrorText(error) +
               "): load the ppdev module (sudo modprobe ppdev)");
    } else {
      Fail(PortProblem::kFailed, error, device_path_ + " cannot be opened: " + ErrorText(error));
    }
    return;
  }
  std::uint8_t unused = 0;
  const int claimed = calls_.ioctl(fd, PpRequest::kClaim, unused);
  if (claimed < 0) {
    calls_.close(fd);
    const int error = -claimed;
    if (error == EBUSY || error == ENXIO || error == EINTR) {
      Fail(PortProblem::kBusy, error,
           device_path_ + " is busy: another driver holds the port (" + ErrorText(error) + ")");
    } else {
      Fail(PortProblem::kFailed, error,
           "PPCLAIM on " + device_path_ + " failed: " + ErrorText(error));
    }
    return;
  }
  fd_ = fd;
  method_ = PortMethod::kPpdev;
}

void LinuxParallelPort::Detach() {
  if (method_ == PortMethod::kPpdev) {
    std::uint8_t unused = 0;
    calls_.ioctl(fd_, PpRequest::kRelease, unused);
    calls_.close(fd_);
    fd_ = -1;
  }
  method_ = PortMethod::kNone;
}

void LinuxParallelPort::Fail(PortProblem problem, int error, std::string reason) {
  method_ = PortMethod::kNone;
  problem_ = problem;
  last_error_ = error;
  reason_ = std::move(reason);
}

bool LinuxParallelPort::Reach(std::uint16_t address) {
  if (Holds(base_, address)) return IsOpen();
  for (const ParallelPortEntry& entry : ports_) {
    if (Holds(entry.base, address)) {
      Detach();
      Attach(static_cast<std::uint16_t>(entry.base));
      return IsOpen();
    }
  }
  return false;
}

bool LinuxParallelPort::Ioctl(PpRequest request, std::uint8_t& value) {
  const int result = calls_.ioctl(fd_, request, value);
  last_ok_ = result >= 0;
  if (!last_ok_) {
    last_error_ = -result;
    reason_ = std::string(PpRequestName(request)) + " on " + device_path_ +
              " failed: " + ErrorText(last_error_);
    value = 0;
  }
  return last_ok_;
}

std::uint8_t LinuxParallelPort::ReadPort(std::uint16_t port) {
  if (!Reach(port)) {
    last_ok_ = false;
    return 0;
  }
  if (method_ == PortMethod::kDirect) {
    last_ok_ = true;
    return calls_.inb(port);
  }
  static constexpr PpRequest kReads[] = {PpRequest::kReadData, PpRequest::kReadStatus,
                                         PpRequest::kReadControl};
  std::uint8_t value = 0;
  Ioctl(kReads[port - base_], value);
  return value;
}

void LinuxParallelPort::WritePort(std::uint16_t port, std::uint8_t value) {
  if (!Reach(port)) {
    last_ok_ = false;
    return;
  }
  if (method_ == PortMethod::kDirect) {
    last_ok_ = true;
    calls_.outb(port, value);
    return;
  }
  switch (port - base_) {
    case 0:
      Ioctl(PpRequest::kWriteData, value);
      break;
    case 1:  // the status register is read-only: a write changes nothing, as on the hardware
      last_ok_ = true;
      break;
    default: {
      std::uint8_t lines = value & kControlLineBits;
      Ioctl(PpRequest::kWriteControl, lines);
    }
  }
}

std::string LinuxParallelPort::StatusText() const {
  std::string text;
  switch (method_) {
    case PortMethod::kPpdev:
      text = "ppdev " + device_path_ + " at " + PortAddressText(base_);
      break;
    case PortMethod::kDirect:
      text = "direct I/O at " + PortAddressText(base_) + " (no ppdev port has that address)";
      break;
    case PortMethod::kNone:
      return reason_;
  }
  if (!reason_.empty()) text += "; last failure: " + reason_;
  return text;
}

}  // namespace quorvel
