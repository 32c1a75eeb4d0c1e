// Start-up wiring of the link shared by both programs: from the program options it builds
// the port (the virtual unit or the real parallel port), the optional port trace around it,
// and the LinkDevice on top.
#pragma once

#include <cstdint>
#include <fstream>
#include <memory>
#include <optional>
#include <string>
#include <vector>

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
};

// Takes "--virtual-unit DIR", "--virtual-paged FILE" and "--trace FILE" (also written
// "--name=value") out of `args`, leaving every other argument in its place. Returns nothing
// and says why in `error` when an option lacks its value.
std::optional<LinkOptions> TakeLinkOptions(std::vector<std::string>& args, std::string& error);

class LinkSession {
 public:
  // Builds the chain for `options`: the virtual unit at settings.base_port, or the real port
  // at that address; the trace wrapper when a trace file is named; the LinkDevice, with the
  // control line put into its idle state. `settings` must outlive the session. Returns null
  // and says why in `error` when an option cannot be honoured (both virtual options, a
  // missing folder, an unusable card file, a trace file that cannot be created).
  static std::unique_ptr<LinkSession> Open(const LinkOptions& options, Settings& settings,
                                           LinkHooks hooks, std::string& error);

  LinkDevice& Device() { return *device_; }
  // The virtual unit, or null on the real port.
  VirtualUnit* Virtual() { return virtual_unit_; }
  // The real port, or null on the virtual unit.
  HardwarePort* Hardware() { return hardware_; }
  // One line saying what the link goes through: the virtual unit and its files, or the real
  // port's own status text.
  std::string BackendText() const;
  // The link's counters in one line (and the virtual unit's, when it is in use).
  std::string StatsText() const;

 private:
  LinkSession() = default;

  std::unique_ptr<PortIo> backend_;
  VirtualUnit* virtual_unit_ = nullptr;
  HardwarePort* hardware_ = nullptr;
  std::string backend_text_;
  std::unique_ptr<std::ofstream> trace_file_;
  std::unique_ptr<TracingPort> trace_;
  std::unique_ptr<LinkDevice> device_;
};

}  // namespace quorvel
