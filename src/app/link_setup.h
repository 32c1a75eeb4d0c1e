// Start-up wiring of the link shared by both programs: from the program options it builds
// the port (the virtual unit or the real parallel port), the optional port trace around it,
// and the LinkDevice on top.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/program_options.h"
#include "app/trace_file.h"
#include "link/link_device.h"
#include "link/settings.h"
#include "port/hardware_port.h"
#include "port/port_trace.h"
#include "virtualunit/virtual_unit.h"

namespace quorvel {

// The link options of both programs.
struct LinkOptions {
  std::optional<std::string> virtual_unit_dir;    // --virtual-unit DIR: DIR/slot1.dcm, slot2.dcm
  std::optional<std::string> virtual_paged_file;  // --virtual-paged FILE: a paged card
  std::optional<std::string> trace_file;          // --trace FILE: every port access
  // The virtual unit's cards are only read: their files are shared with other readers.
  CardFileAccess card_access = CardFileAccess::kReadWrite;
};

// The link options of both programs, for ParseProgramOptions.
inline constexpr std::array<OptionRule, 3> kLinkOptionRules = {
    {{"virtual-unit", true}, {"virtual-paged", true}, {"trace", true}}};

// What the link options do, for both programs' help.
inline constexpr std::array<OptionHelp, 3> kLinkOptionHelp = {{
    {"--virtual-unit DIR",
     "use the virtual two-slot link unit whose cards are DIR/slot1.dcm and DIR/slot2.dcm (a "
     "missing file is an empty slot) instead of the parallel port"},
    {"--virtual-paged FILE",
     "use a virtual paged card: one file of 2, 4, 8 or 16 pages of 131,072 bytes"},
    {"--trace FILE",
     "record every port access in FILE, one line each: W or R, the port address as four hex "
     "digits and the byte as two"},
}};

// The link options among the parsed options. Nothing, with the reason in `error`, when both
// virtual units are named.
std::optional<LinkOptions> LinkOptionsFrom(const ProgramOptions& parsed, std::string& error);

// How the machine's parallel port is opened: OpenRealPort, unless replaced for the rest of the
// run (an empty function puts OpenRealPort back). Tests open the port over a scripted kernel
// this way, so that no test ever reaches the ports of the machine it runs on.
using RealPortOpener = std::function<std::unique_ptr<HardwarePort>(std::uint16_t base_port)>;
void SetRealPortOpener(RealPortOpener opener);

// The port chain of the options: the virtual unit at `base_port` or the real port at that
// address, wrapped in the port trace when a trace file is named. For a program that builds
// its own LinkDevice on Port().
class LinkPort {
 public:
  // Null, with the reason in `error`, when an option cannot be honoured (both virtual
  // options, a missing folder, an unusable card file, a trace file that cannot be created).
  static std::unique_ptr<LinkPort> Open(const LinkOptions& options, std::uint16_t base_port,
                                        std::string& error);
  // Puts the trace file in place (see FinishTrace); a failure is said on stderr.
  ~LinkPort();
  LinkPort(const LinkPort&) = delete;
  LinkPort& operator=(const LinkPort&) = delete;

  // The trace file is written beside its name during the run and takes the name here, at
  // the normal end of the run; a run that dies first leaves the name as it was (the partial
  // trace stays beside it, named FILE.tmpNNNNNN). False, with the reason in `error`, when the
  // trace could not be written completely. Nothing to do without a trace.
  bool FinishTrace(std::string& error);
  // Finishes the trace (see FinishTrace) and collects what went wrong with the virtual unit's
  // card files. False, with every reason in `error` ("; " between them), when either failed:
  // the run did not do all it seemed to.
  bool Finish(std::string& error);

  // The port to build the LinkDevice on (the trace wrapper when tracing).
  PortIo& Port() { return trace_ ? static_cast<PortIo&>(*trace_) : *backend_; }
  // The virtual unit, or null on the real port.
  VirtualUnit* Virtual() { return virtual_unit_; }
  // The real port, or null on the virtual unit.
  HardwarePort* Hardware() { return hardware_; }
  // One line saying what the link goes through: the virtual unit and its files, or the real
  // port's own status text.
  const std::string& BackendText() const { return backend_text_; }

 private:
  LinkPort() = default;

  std::unique_ptr<PortIo> backend_;
  VirtualUnit* virtual_unit_ = nullptr;
  HardwarePort* hardware_ = nullptr;
  std::string backend_text_;
  std::unique_ptr<TraceFile> trace_file_;
  std::unique_ptr<TracingPort> trace_;
};

// The port chain and the LinkDevice on it, for a program that lets the wiring build both.
class LinkSession {
 public:
  // Opens the LinkPort for `options` at settings.base_port and builds the LinkDevice on it,
  // with the control line put into its idle state. `settings` must outlive the session.
  // Null, with the reason in `error`, as LinkPort::Open.
  static std::unique_ptr<LinkSession> Open(const LinkOptions& options, LinkSettings& settings,
                                           LinkHooks hooks, std::string& error);

  LinkDevice& Device() { return *device_; }
  VirtualUnit* Virtual() { return port_->Virtual(); }
  HardwarePort* Hardware() { return port_->Hardware(); }
  const std::string& BackendText() const { return port_->BackendText(); }
  // See LinkPort::Finish.
  bool Finish(std::string& error) { return port_->Finish(error); }
  // The link's counters in one line (and the virtual unit's, when it is in use).
  std::string StatsText() const;

 private:
  LinkSession() = default;

  std::unique_ptr<LinkPort> port_;
  std::unique_ptr<LinkDevice> device_;
};

}  // namespace quorvel
