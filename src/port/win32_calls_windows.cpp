// The real Win32 calls behind TPortAccess. Built only on Windows.
#ifdef _WIN32

#include <windows.h>

#include "port/win32_calls.h"

namespace quorvel {
namespace {

HANDLE ToHandle(Win32Handle handle) { return reinterpret_cast<HANDLE>(handle); }
SC_HANDLE ToServiceHandle(Win32Handle handle) { return reinterpret_cast<SC_HANDLE>(handle); }
Win32Handle FromHandle(void* handle) { return reinterpret_cast<Win32Handle>(handle); }

}  // namespace

Win32Calls SystemWin32Calls() {
  Win32Calls calls;
  calls.get_version = [](Win32Version& version) {
    OSVERSIONINFOA info{};
    info.dwOSVersionInfoSize = 148;
    if (!GetVersionExA(&info)) return false;
    version.platform_id = info.dwPlatformId;
    version.major = info.dwMajorVersion;
    version.minor = info.dwMinorVersion;
    return true;
  };
  calls.create_file = [](const std::string& name, std::uint32_t access, std::uint32_t share,
                         std::uint32_t disposition, std::uint32_t flags) {
    return FromHandle(
        CreateFileA(name.c_str(), access, share, nullptr, disposition, flags, nullptr));
  };
  calls.device_io_control = [](Win32Handle device, std::uint32_t code,
                               std::span<const std::uint8_t> in, std::span<std::uint8_t> out,
                               std::uint32_t& bytes_returned) {
    DWORD returned = 0;
    const BOOL ok = DeviceIoControl(ToHandle(device), code, const_cast<std::uint8_t*>(in.data()),
                                    static_cast<DWORD>(in.size()), out.data(),
                                    static_cast<DWORD>(out.size()), &returned, nullptr);
    bytes_returned = returned;
    return ok != FALSE;
  };
  calls.close_handle = [](Win32Handle handle) { return CloseHandle(ToHandle(handle)) != FALSE; };
  calls.get_last_error = [] { return static_cast<std::uint32_t>(GetLastError()); };
  calls.open_sc_manager = [](std::uint32_t access) {
    return FromHandle(OpenSCManagerA(nullptr, nullptr, access));
  };
  calls.create_service = [](Win32Handle manager, const Win32ServiceSpec& service) {
    return FromHandle(CreateServiceA(
        ToServiceHandle(manager), service.name.c_str(), service.display_name.c_str(),
        service.access, service.service_type, service.start_type, service.error_control,
        service.image_path.c_str(), nullptr, nullptr, nullptr, nullptr, nullptr));
  };
  calls.open_service = [](Win32Handle manager, const std::string& name, std::uint32_t access) {
    return FromHandle(OpenServiceA(ToServiceHandle(manager), name.c_str(), access));
  };
  calls.start_service = [](Win32Handle service) {
    return StartServiceA(ToServiceHandle(service), 0, nullptr) != FALSE;
  };
  calls.control_service = [](Win32Handle service, std::uint32_t control) {
    SERVICE_STATUS status{};
    return ControlService(ToServiceHandle(service), control, &status) != FALSE;
  };
  calls.delete_service = [](Win32Handle service) {
    return DeleteService(ToServiceHandle(service)) != FALSE;
  };
  calls.close_service_handle = [](Win32Handle handle) {
    return CloseServiceHandle(ToServiceHandle(handle)) != FALSE;
  };
  calls.current_directory = [] {
    char buffer[MAX_PATH] = {};
    const DWORD length = GetCurrentDirectoryA(MAX_PATH, buffer);
    return std::string(buffer, length < MAX_PATH ? length : 0);
  };
  calls.system_directory = [] {
    char buffer[260] = {};
    const UINT length = GetSystemDirectoryA(buffer, 260);
    return std::string(buffer, length < 260 ? length : 0);
  };
  calls.file_exists = [](const std::string& path) {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
  };
  return calls;
}

}  // namespace quorvel

#endif  // _WIN32
