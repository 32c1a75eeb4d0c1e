// TPortAccess: driver loading, service installation, the port calls and the clean-up.
#include "port/port_access.h"

#include <utility>

namespace quorvel {
namespace {

constexpr std::uint32_t kDriverDeviceType = 0xF100;
constexpr std::uint32_t kReadFunction = 0x901;
constexpr std::uint32_t kWriteFunction = 0x902;
constexpr std::uint32_t kFileReadAccess = 1;
constexpr std::uint32_t kFileWriteAccess = 2;
constexpr std::uint32_t kMethodBuffered = 0;
// The control codes the Windows 9x driver understands.
constexpr std::uint32_t kVxdReadCode = 2;
constexpr std::uint32_t kVxdWriteCode = 3;

}  // namespace

std::int32_t ClassifyWindows(const Win32Version& version) {
  switch (version.platform_id) {
    case 0:
      return 1;
    case 1:
      if (version.minor == 0) return 2;
      if (version.minor == 10) return 3;
      if (version.minor == 90) return 6;
      return 0;
    case 2:
      if (version.major == 4) return 4;
      if (version.major == 5) return 5;
      return 0;
    default:
      return 0;
  }
}

TPortAccess::TPortAccess(Win32Calls calls) : calls_(std::move(calls)) {
  Win32Version version;
  windows_kind_ = calls_.get_version(version) ? ClassifyWindows(version) : 0;
  if (UsesServicePath()) {
    read_code_ = ControlCode(kDriverDeviceType, kReadFunction, kFileReadAccess, kMethodBuffered);
    write_code_ = ControlCode(kDriverDeviceType, kWriteFunction, kFileWriteAccess, kMethodBuffered);
  } else {
    read_code_ = kVxdReadCode;
    write_code_ = kVxdWriteCode;
  }
}

TPortAccess::~TPortAccess() {
  Close();
  if (UsesServicePath() && service_steps_run_) StopAndRemoveService();
}

void TPortAccess::SetOpened(bool value) {
  if (value && !Opened()) Open();
  if (!value) Close();
}

std::uint8_t TPortAccess::ReadPort(std::uint16_t port) {
  if (!Opened()) {
    last_ok_ = false;
    last_error_ = win32::kErrorInvalidHandle;
    return 0;
  }
  const std::array<std::uint8_t, 2> request = {static_cast<std::uint8_t>(port & 0xFF),
                                               static_cast<std::uint8_t>(port >> 8)};
  std::array<std::uint8_t, 2> reply{};
  last_ok_ = calls_.device_io_control(driver_handle_, read_code_, request, reply, bytes_returned_);
  if (!last_ok_) {
    last_error_ = calls_.get_last_error();
    return 0;
  }
  return reply[0];
}

void TPortAccess::WritePort(std::uint16_t port, std::uint8_t value) {
  if (!Opened()) {
    last_ok_ = false;
    last_error_ = win32::kErrorInvalidHandle;
    return;
  }
  write_request_[0] = static_cast<std::uint8_t>(port & 0xFF);
  write_request_[1] = static_cast<std::uint8_t>(port >> 8);
  write_request_[2] = value;
  std::array<std::uint8_t, 2> reply{};
  last_ok_ =
      calls_.device_io_control(driver_handle_, write_code_, write_request_, reply, bytes_returned_);
  if (!last_ok_) last_error_ = calls_.get_last_error();
}

std::string TPortAccess::StatusText() const {
  if (Opened()) return "port driver " + driver_name_ + " open";
  return "port driver " + driver_name_ + " could not be opened (Windows error " +
         std::to_string(last_error_) + ")";
}

void TPortAccess::Open() {
  if (UsesServicePath()) {
    OpenThroughService();
  } else {
    OpenVxd();
  }
}

void TPortAccess::RecordFailure() { last_error_ = calls_.get_last_error(); }

void TPortAccess::OpenThroughService() {
  Close();
  if (service_manager_ == kNullHandle) {
    service_manager_ = calls_.open_sc_manager(win32::kScManagerAllAccess);
    if (service_manager_ == kNullHandle) {
      RecordFailure();
      return;
    }
  }
  service_steps_run_ = true;
  if (!InstallService()) return;
  StartService();
  calls_.close_service_handle(service_manager_);
  service_manager_ = kNullHandle;
  if (last_error_ != 0) return;
  driver_handle_ =
      calls_.create_file("\\\\.\\" + driver_name_, win32::kGenericRead | win32::kGenericWrite, 0,
                         win32::kOpenExisting, win32::kFileAttributeNormal);
  if (driver_handle_ == kInvalidHandle) RecordFailure();
}

// Installs the driver as a demand-start kernel service. A service that already exists is
// kept and will not be removed at the end. False (with the manager closed) on failure.
bool TPortAccess::InstallService() {
  last_error_ = 0;
  const std::string file_name = driver_name_ + ".sys";
  std::string image_path = calls_.current_directory() + "\\" + file_name;
  if (!calls_.file_exists(image_path)) {
    image_path = calls_.system_directory() + "\\" + file_name;
  }
  const Win32ServiceSpec definition{driver_name_,
                                    driver_name_,
                                    win32::kServiceAllAccess,
                                    win32::kServiceKernelDriver,
                                    win32::kServiceDemandStart,
                                    win32::kServiceErrorNormal,
                                    image_path};
  const Win32Handle service = calls_.create_service(service_manager_, definition);
  if (service != kNullHandle) {
    calls_.close_service_handle(service);
    return true;
  }
  const std::uint32_t error = calls_.get_last_error();
  if (error == win32::kErrorServiceExists) {
    remove_service_at_end_ = false;
    last_error_ = 0;
    return true;
  }
  last_error_ = error;
  calls_.close_service_handle(service_manager_);
  service_manager_ = kNullHandle;
  return false;
}

// Starts the service. One that is already running is left running at the end.
void TPortAccess::StartService() {
  const Win32Handle service =
      calls_.open_service(service_manager_, driver_name_, win32::kServiceAllAccess);
  if (service == kNullHandle) {
    RecordFailure();
    return;
  }
  if (!calls_.start_service(service)) {
    const std::uint32_t error = calls_.get_last_error();
    if (error == win32::kErrorServiceAlreadyRunning) {
      stop_service_at_end_ = false;
      last_error_ = 0;
    } else {
      last_error_ = error;
    }
  }
  calls_.close_service_handle(service);
}

void TPortAccess::OpenVxd() {
  Close();
  driver_handle_ = calls_.create_file("\\\\.\\lptio.vxd", 0, 0, 0, 0);
  if (driver_handle_ != kInvalidHandle) return;
  const std::string full_path = "\\\\.\\" + calls_.system_directory() + "\\lptio.vxd";
  driver_handle_ = calls_.create_file(full_path, 0, 0, 0, 0);
  if (driver_handle_ == kInvalidHandle) RecordFailure();
}

void TPortAccess::Close() {
  if (driver_handle_ == kInvalidHandle) return;
  calls_.close_handle(driver_handle_);
  driver_handle_ = kInvalidHandle;
}

void TPortAccess::StopAndRemoveService() {
  const Win32Handle manager = calls_.open_sc_manager(win32::kScManagerAllAccess);
  if (manager == kNullHandle) return;
  if (stop_service_at_end_) {
    const Win32Handle service =
        calls_.open_service(manager, driver_name_, win32::kServiceAllAccess);
    if (service != kNullHandle) {
      calls_.control_service(service, win32::kServiceControlStop);
      calls_.close_service_handle(service);
    }
  }
  if (remove_service_at_end_) {
    const Win32Handle service =
        calls_.open_service(manager, driver_name_, win32::kServiceAllAccess);
    if (service != kNullHandle) {
      calls_.delete_service(service);
      calls_.close_service_handle(service);
    }
  }
  calls_.close_service_handle(manager);
}

}  // namespace quorvel
