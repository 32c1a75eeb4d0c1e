// The real system calls behind the Linux parallel-port backend.
#include <cerrno>

#include "port/ppdev_calls.h"

#if defined(__linux__)
#include <fcntl.h>
#include <linux/ppdev.h>
#include <signal.h>
#include <sys/ioctl.h>
#include <unistd.h>
#if defined(__i386__) || defined(__x86_64__)
#include <sys/io.h>
#define QUORVEL_HAS_PORT_IO 1
#endif
#endif

namespace quorvel {

const char* PpRequestName(PpRequest request) {
  switch (request) {
    case PpRequest::kClaim:
      return "PPCLAIM";
    case PpRequest::kRelease:
      return "PPRELEASE";
    case PpRequest::kReadData:
      return "PPRDATA";
    case PpRequest::kWriteData:
      return "PPWDATA";
    case PpRequest::kReadStatus:
      return "PPRSTATUS";
    case PpRequest::kReadControl:
      return "PPRCONTROL";
    case PpRequest::kWriteControl:
      return "PPWCONTROL";
  }
  return "?";
}

#if defined(__linux__)
namespace {

unsigned long IoctlNumber(PpRequest request) {
  switch (request) {
    case PpRequest::kClaim:
      return PPCLAIM;
    case PpRequest::kRelease:
      return PPRELEASE;
    case PpRequest::kReadData:
      return PPRDATA;
    case PpRequest::kWriteData:
      return PPWDATA;
    case PpRequest::kReadStatus:
      return PPRSTATUS;
    case PpRequest::kReadControl:
      return PPRCONTROL;
    case PpRequest::kWriteControl:
      return PPWCONTROL;
  }
  return 0;
}

int Result(int value) { return value < 0 ? -errno : value; }

// PPCLAIM sleeps for as long as another ppdev user holds the port. An alarm interrupts the
// wait after a few seconds, so the call fails with EINTR instead of hanging.
int ClaimWithin(int fd, unsigned seconds) {
  struct sigaction wake {};
  struct sigaction previous {};
  wake.sa_handler = [](int) {};
  sigemptyset(&wake.sa_mask);
  wake.sa_flags = 0;  // no SA_RESTART: the interrupted ioctl returns
  sigaction(SIGALRM, &wake, &previous);
  const unsigned pending_alarm = alarm(seconds);
  const int result = Result(::ioctl(fd, PPCLAIM));
  alarm(0);
  sigaction(SIGALRM, &previous, nullptr);
  if (pending_alarm != 0) alarm(pending_alarm);
  return result;
}

}  // namespace

PpdevCalls SystemPpdevCalls() {
  PpdevCalls calls;
  calls.open = [](const std::string& path) { return Result(::open(path.c_str(), O_RDWR)); };
  calls.ioctl = [](int fd, PpRequest request, std::uint8_t& value) {
    const unsigned long number = IoctlNumber(request);
    if (request == PpRequest::kClaim) return ClaimWithin(fd, 3);
    if (request == PpRequest::kRelease) return Result(::ioctl(fd, number));
    unsigned char byte = value;
    const int result = Result(::ioctl(fd, number, &byte));
    value = byte;
    return result;
  };
  calls.close = [](int fd) { ::close(fd); };
#if defined(QUORVEL_HAS_PORT_IO)
  calls.ioperm = [](std::uint16_t from, std::uint16_t count) {
    return Result(::ioperm(from, count, 1));
  };
  calls.inb = [](std::uint16_t port) { return static_cast<std::uint8_t>(::inb(port)); };
  calls.outb = [](std::uint16_t port, std::uint8_t value) { ::outb(value, port); };
#else
  calls.ioperm = [](std::uint16_t, std::uint16_t) { return -ENOSYS; };
  calls.inb = [](std::uint16_t) { return std::uint8_t{0}; };
  calls.outb = [](std::uint16_t, std::uint8_t) {};
#endif
  return calls;
}

#else  // not Linux

PpdevCalls SystemPpdevCalls() {
  PpdevCalls calls;
  calls.open = [](const std::string&) { return -ENOSYS; };
  calls.ioctl = [](int, PpRequest, std::uint8_t&) { return -ENOSYS; };
  calls.close = [](int) {};
  calls.ioperm = [](std::uint16_t, std::uint16_t) { return -ENOSYS; };
  calls.inb = [](std::uint16_t) { return std::uint8_t{0}; };
  calls.outb = [](std::uint16_t, std::uint8_t) {};
  return calls;
}

#endif

}  // namespace quorvel
