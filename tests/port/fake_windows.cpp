// The scripted Win32 stand-in used by the TPortAccess tests.
#include "port/fake_windows.h"

#include <algorithm>

namespace quorvel::testing {
namespace {

constexpr Win32Handle kManager = 100;
constexpr Win32Handle kService = 200;
constexpr Win32Handle kDriver = 300;

}  // namespace

std::vector<std::string> FakeWindows::Calls(const std::string& prefix) const {
  std::vector<std::string> found;
  for (const std::string& entry : log) {
    if (entry.starts_with(prefix)) found.push_back(entry);
  }
  return found;
}

Win32Calls FakeWindows::Calls() {
  Win32Calls calls;
  calls.get_version = [this](Win32Version& out) {
    out = version;
    return version_ok;
  };
  calls.create_file = [this](const std::string& name, std::uint32_t access, std::uint32_t share,
                             std::uint32_t disposition, std::uint32_t flags) {
    log.push_back("CreateFile " + name + " " + std::to_string(access) + " " +
                  std::to_string(share) + " " + std::to_string(disposition) + " " +
                  std::to_string(flags));
    const bool vxd = name.ends_with(".vxd");
    const bool opens =
        vxd ? std::find(openable_vxd.begin(), openable_vxd.end(), name) != openable_vxd.end()
            : driver_present;
    if (!opens) {
      last_error = 2;
      return kInvalidHandle;
    }
    ++open_handles;
    return kDriver;
  };
  calls.device_io_control = [this](Win32Handle device, std::uint32_t code,
                                   std::span<const std::uint8_t> in, std::span<std::uint8_t> out,
                                   std::uint32_t& bytes_returned) {
    log.push_back("DeviceIoControl " + std::to_string(device));
    io_codes.push_back(code);
    io_inputs.emplace_back(in.begin(), in.end());
    if (!io_ok) {
      last_error = io_error;
      return false;
    }
    const auto port = static_cast<std::uint16_t>(in[0] | (in[1] << 8));
    std::fill(out.begin(), out.end(), 0xEE);  // the high byte must be ignored
    if (in.size() == 2) {
      out[0] = port_values[port];
    } else {
      port_values[port] = in[2];
    }
    bytes_returned = static_cast<std::uint32_t>(out.size());
    return true;
  };
  calls.close_handle = [this](Win32Handle handle) {
    log.push_back("CloseHandle " + std::to_string(handle));
    --open_handles;
    return true;
  };
  calls.get_last_error = [this] { return last_error; };
  calls.open_sc_manager = [this](std::uint32_t access) {
    log.push_back("OpenSCManager " + std::to_string(access));
    if (!can_open_manager) {
      last_error = 5;
      return kNullHandle;
    }
    return kManager;
  };
  calls.create_service = [this](Win32Handle, const Win32ServiceSpec& service) {
    log.push_back("CreateService " + service.image_path);
    last_service = service;
    if (service_exists) {
      last_error = win32::kErrorServiceExists;
      return kNullHandle;
    }
    if (create_service_error != 0) {
      last_error = create_service_error;
      return kNullHandle;
    }
    service_exists = true;
    return kService;
  };
  calls.open_service = [this](Win32Handle, const std::string& name, std::uint32_t access) {
    log.push_back("OpenService " + name + " " + std::to_string(access));
    if (!service_exists) {
      last_error = 1060;
      return kNullHandle;
    }
    return kService;
  };
  calls.start_service = [this](Win32Handle) {
    log.push_back("StartService");
    if (service_running) {
      last_error = win32::kErrorServiceAlreadyRunning;
      return false;
    }
    if (start_error != 0) {
      last_error = start_error;
      return false;
    }
    service_running = true;
    return true;
  };
  calls.control_service = [this](Win32Handle, std::uint32_t control) {
    log.push_back("ControlService " + std::to_string(control));
    service_running = false;
    return true;
  };
  calls.delete_service = [this](Win32Handle) {
    log.push_back("DeleteService");
    service_exists = false;
    return true;
  };
  calls.close_service_handle = [this](Win32Handle handle) {
    log.push_back("CloseServiceHandle " + std::to_string(handle));
    return true;
  };
  calls.current_directory = [this] { return current_dir; };
  calls.system_directory = [this] { return system_dir; };
  calls.file_exists = [this](const std::string& path) {
    return std::find(existing_files.begin(), existing_files.end(), path) != existing_files.end();
  };
  return calls;
}

}  // namespace quorvel::testing
