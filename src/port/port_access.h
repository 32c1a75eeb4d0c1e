// TPortAccess: reaches the parallel port through the "Lptio" kernel port driver on Windows.
// It loads or installs the driver, opens a handle to it and turns every byte read or write at
// an I/O address into one DeviceIoControl call. All Win32 calls go through a Win32Calls table.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "port/hardware_port.h"
#include "port/win32_calls.h"

namespace quorvel {

// Values of the Win32 interface that the driver path uses.
namespace win32 {
inline constexpr std::uint32_t kErrorInvalidHandle = 6;
inline constexpr std::uint32_t kErrorServiceAlreadyRunning = 1056;
inline constexpr std::uint32_t kErrorServiceExists = 1073;
inline constexpr std::uint32_t kScManagerAllAccess = 0xF003F;
inline constexpr std::uint32_t kServiceAllAccess = 0xF01FF;
inline constexpr std::uint32_t kServiceKernelDriver = 1;
inline constexpr std::uint32_t kServiceDemandStart = 3;
inline constexpr std::uint32_t kServiceErrorNormal = 1;
inline constexpr std::uint32_t kServiceControlStop = 1;
inline constexpr std::uint32_t kGenericRead = 0x80000000;
inline constexpr std::uint32_t kGenericWrite = 0x40000000;
inline constexpr std::uint32_t kOpenExisting = 3;
inline constexpr std::uint32_t kFileAttributeNormal = 0x80;
}  // namespace win32

// Classifies the platform: 1 Win32s, 2/3/6 Windows 95/98/Me, 4/5 NT 4/2000-XP, 0 otherwise.
std::int32_t ClassifyWindows(const Win32Version& version);

// The control code of the standard Windows layout.
constexpr std::uint32_t ControlCode(std::uint32_t device_type, std::uint32_t function,
                                    std::uint32_t access, std::uint32_t method) {
  return (device_type << 16) | (access << 14) | (function << 2) | method;
}

class TPortAccess : public HardwarePort {
 public:
  // Classifies the platform and chooses the control codes; opens nothing.
  explicit TPortAccess(Win32Calls calls);
  // Closes the handle; on the NT kinds stops and removes the service as far as this instance
  // started and installed it.
  ~TPortAccess() override;

  TPortAccess(const TPortAccess&) = delete;
  TPortAccess& operator=(const TPortAccess&) = delete;

  bool Opened() const { return driver_handle_ != kInvalidHandle; }
  // True opens the driver when it is not open; false closes the handle when one is held.
  void SetOpened(bool value);
  Win32Handle DriverHandle() const { return driver_handle_; }

  std::uint8_t ReadPort(std::uint16_t port) override;
  void WritePort(std::uint16_t port, std::uint8_t value) override;

  bool IsOpen() const override { return Opened(); }
  std::string StatusText() const override;

  bool LastOk() const { return last_ok_; }
  std::uint32_t LastError() const { return last_error_; }
  std::int32_t WindowsKind() const { return windows_kind_; }
  std::uint32_t ReadCode() const { return read_code_; }
  std::uint32_t WriteCode() const { return write_code_; }
  const std::string& DriverName() const { return driver_name_; }

 private:
  bool UsesServicePath() const { return windows_kind_ == 4 || windows_kind_ == 5; }
  void Open();
  void OpenThroughService();
  void OpenVxd();
  bool InstallService();
  void StartService();
  void Close();
  void StopAndRemoveService();
  void RecordFailure();

  Win32Calls calls_;
  bool last_ok_ = false;
  std::uint32_t last_error_ = 0;
  std::int32_t windows_kind_ = 0;
  std::uint32_t read_code_ = 0;
  std::uint32_t write_code_ = 0;
  std::string driver_name_ = "Lptio";
  bool remove_service_at_end_ = true;
  bool stop_service_at_end_ = true;
  // Set once this instance has run the service steps of an open; an instance that never did
  // leaves the service alone at its end, since it cannot know who installed it.
  bool service_steps_run_ = false;
  Win32Handle service_manager_ = kNullHandle;
  Win32Handle driver_handle_ = kInvalidHandle;
  std::uint32_t bytes_returned_ = 0;
  std::array<std::uint8_t, 4> write_request_{};
};

}  // namespace quorvel
