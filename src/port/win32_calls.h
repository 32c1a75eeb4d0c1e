// The Win32 calls that TPortAccess makes, gathered in one table so that the driver logic runs
// against the real system on Windows and against a scripted fake in the tests.
#pragma once

#include <cstdint>
#include <functional>
#include <span>
#include <string>

namespace quorvel {

// A Win32 handle as an integer. File handles are invalid when all bits are set; service
// manager and service handles are invalid when zero.
using Win32Handle = std::uintptr_t;
inline constexpr Win32Handle kInvalidHandle = ~Win32Handle{0};
inline constexpr Win32Handle kNullHandle = 0;

// The fields of OSVERSIONINFOA that decide the platform kind.
struct Win32Version {
  std::uint32_t platform_id = 0;
  std::uint32_t major = 0;
  std::uint32_t minor = 0;
};

// Arguments of CreateServiceA that vary; load-order group, tag, dependencies, account and
// password are always absent.
struct Win32ServiceSpec {
  std::string name;
  std::string display_name;
  std::uint32_t access = 0;
  std::uint32_t service_type = 0;
  std::uint32_t start_type = 0;
  std::uint32_t error_control = 0;
  std::string image_path;
};

struct Win32Calls {
  // GetVersionExA with the structure size 148; false when the call failed.
  std::function<bool(Win32Version&)> get_version;
  // CreateFileA without security attributes and template.
  std::function<Win32Handle(const std::string& name, std::uint32_t access, std::uint32_t share,
                            std::uint32_t disposition, std::uint32_t flags)>
      create_file;
  // DeviceIoControl without an overlapped structure.
  std::function<bool(Win32Handle device, std::uint32_t code, std::span<const std::uint8_t> in,
                     std::span<std::uint8_t> out, std::uint32_t& bytes_returned)>
      device_io_control;
  std::function<bool(Win32Handle)> close_handle;
  std::function<std::uint32_t()> get_last_error;
  // OpenSCManagerA for the local machine and the default database.
  std::function<Win32Handle(std::uint32_t access)> open_sc_manager;
  std::function<Win32Handle(Win32Handle manager, const Win32ServiceSpec& service)> create_service;
  std::function<Win32Handle(Win32Handle manager, const std::string& name, std::uint32_t access)>
      open_service;
  // StartServiceA without arguments.
  std::function<bool(Win32Handle service)> start_service;
  // ControlService with a service status record the caller does not look at.
  std::function<bool(Win32Handle service, std::uint32_t control)> control_service;
  std::function<bool(Win32Handle service)> delete_service;
  std::function<bool(Win32Handle)> close_service_handle;
  // The process's current directory and the Windows system directory, without a trailing
  // backslash (unless it is a drive's root), and whether a file exists at a path.
  std::function<std::string()> current_directory;
  std::function<std::string()> system_directory;
  std::function<bool(const std::string& path)> file_exists;
};

// The real calls; defined only in the Windows build.
Win32Calls SystemWin32Calls();

}  // namespace quorvel
