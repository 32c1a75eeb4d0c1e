// A scripted stand-in for the Win32 calls of TPortAccess: it logs every call in order and
// answers as the test configured it.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "port/port_access.h"

namespace quorvel::testing {

struct FakeWindows {
  Win32Version version{2, 5, 1};  // Windows XP
  bool version_ok = true;
  bool service_exists = false;
  bool service_running = false;
  bool can_open_manager = true;
  bool driver_present = true;  // "\\.\Lptio" or a .vxd path opens
  std::vector<std::string> openable_vxd = {"\\\\.\\lptio.vxd"};
  std::uint32_t create_service_error = 0;  // other than "exists"
  std::uint32_t start_error = 0;           // other than "already running"
  std::vector<std::string> existing_files;
  std::string current_dir = "C:\\work";
  std::string system_dir = "C:\\WINDOWS\\system32";
  bool io_ok = true;
  std::uint32_t io_error = 31;
  std::map<std::uint16_t, std::uint8_t> port_values;

  std::vector<std::string> log;
  std::vector<std::vector<std::uint8_t>> io_inputs;
  std::vector<std::uint32_t> io_codes;
  Win32ServiceSpec last_service;
  std::uint32_t last_error = 0;
  int open_handles = 0;

  Win32Calls Calls();
  // The log entries that start with `prefix`.
  std::vector<std::string> Calls(const std::string& prefix) const;
};

}  // namespace quorvel::testing
