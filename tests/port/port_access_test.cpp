// Tests of TPortAccess against the scripted Win32 stand-in: platform kinds, control codes,
// the NT service path, the Windows 9x path, the port calls and the clean-up at the end.
#include "port/port_access.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <memory>

#include "port/fake_windows.h"

namespace quorvel {
namespace {

using ::testing::ElementsAre;
using testing::FakeWindows;
using ::testing::IsEmpty;

const std::string kOpenManager = "OpenSCManager 983103";
const std::string kOpenService = "OpenService Lptio 983551";
const std::string kOpenDevice = "CreateFile \\\\.\\Lptio 3221225472 0 3 128";

TEST(ClassifyWindowsTest, FollowsThePlatformTable) {
  EXPECT_EQ(ClassifyWindows({0, 3, 11}), 1);
  EXPECT_EQ(ClassifyWindows({1, 4, 0}), 2);
  EXPECT_EQ(ClassifyWindows({1, 4, 10}), 3);
  EXPECT_EQ(ClassifyWindows({1, 4, 90}), 6);
  EXPECT_EQ(ClassifyWindows({1, 4, 3}), 0);
  EXPECT_EQ(ClassifyWindows({2, 4, 0}), 4);
  EXPECT_EQ(ClassifyWindows({2, 5, 1}), 5);
  EXPECT_EQ(ClassifyWindows({2, 6, 1}), 0);
  EXPECT_EQ(ClassifyWindows({2, 3, 51}), 0);
  EXPECT_EQ(ClassifyWindows({3, 10, 0}), 0);
}

TEST(PortAccessTest, ConstructionChoosesCodesAndOpensNothing) {
  FakeWindows nt;
  TPortAccess nt_port(nt.Calls());
  EXPECT_EQ(nt_port.WindowsKind(), 5);
  EXPECT_EQ(nt_port.ReadCode(), 0xF1006404u);
  EXPECT_EQ(nt_port.WriteCode(), 0xF100A408u);
  EXPECT_FALSE(nt_port.Opened());
  EXPECT_EQ(nt_port.DriverHandle(), kInvalidHandle);
  EXPECT_FALSE(nt_port.LastOk());
  EXPECT_EQ(nt_port.LastError(), 0u);
  EXPECT_EQ(nt_port.DriverName(), "Lptio");
  EXPECT_THAT(nt.log, IsEmpty());

  FakeWindows win98;
  win98.version = {1, 4, 10};
  TPortAccess vxd_port(win98.Calls());
  EXPECT_EQ(vxd_port.WindowsKind(), 3);
  EXPECT_EQ(vxd_port.ReadCode(), 2u);
  EXPECT_EQ(vxd_port.WriteCode(), 3u);

  FakeWindows no_version;
  no_version.version_ok = false;
  EXPECT_EQ(TPortAccess(no_version.Calls()).WindowsKind(), 0);
}

TEST(PortAccessTest, NtInstallsStartsAndOpensThenStopsAndRemovesAtTheEnd) {
  FakeWindows windows;
  windows.existing_files = {"C:\\work\\Lptio.sys"};
  {
    TPortAccess port(windows.Calls());
    port.SetOpened(true);
    EXPECT_TRUE(port.Opened());
    EXPECT_EQ(port.DriverHandle(), 300u);
    EXPECT_EQ(port.LastError(), 0u);
    EXPECT_THAT(windows.log,
                ElementsAre(kOpenManager, "CreateService C:\\work\\Lptio.sys",
                            "CloseServiceHandle 200", kOpenService, "StartService",
                            "CloseServiceHandle 200", "CloseServiceHandle 100", kOpenDevice));
    const Win32ServiceSpec& service = windows.last_service;
    EXPECT_EQ(service.name, "Lptio");
    EXPECT_EQ(service.display_name, "Lptio");
    EXPECT_EQ(service.access, 0xF01FFu);
    EXPECT_EQ(service.service_type, 1u);
    EXPECT_EQ(service.start_type, 3u);
    EXPECT_EQ(service.error_control, 1u);
    windows.log.clear();
  }
  EXPECT_THAT(windows.log,
              ElementsAre("CloseHandle 300", kOpenManager, kOpenService, "ControlService 1",
                          "CloseServiceHandle 200", kOpenService, "DeleteService",
                          "CloseServiceHandle 200", "CloseServiceHandle 100"));
  EXPECT_FALSE(windows.service_exists);
  EXPECT_FALSE(windows.service_running);
}

TEST(PortAccessTest, NtKeepsAServiceThatAlreadyExisted) {
  FakeWindows windows;
  windows.service_exists = true;
  {
    TPortAccess port(windows.Calls());
    port.SetOpened(true);
    EXPECT_TRUE(port.Opened());
    EXPECT_EQ(port.LastError(), 0u);
    // No service handle came back, so only the manager is closed before the start.
    EXPECT_THAT(windows.Calls("CloseServiceHandle"),
                ElementsAre("CloseServiceHandle 200", "CloseServiceHandle 100"));
  }
  EXPECT_THAT(windows.Calls("ControlService"), ElementsAre("ControlService 1"));
  EXPECT_THAT(windows.Calls("DeleteService"), IsEmpty());
  EXPECT_TRUE(windows.service_exists);
}

TEST(PortAccessTest, NtLeavesAServiceThatWasAlreadyRunning) {
  FakeWindows windows;
  windows.service_exists = true;
  windows.service_running = true;
  {
    TPortAccess port(windows.Calls());
    port.SetOpened(true);
    EXPECT_TRUE(port.Opened());
    EXPECT_EQ(port.LastError(), 0u);
  }
  EXPECT_THAT(windows.Calls("ControlService"), IsEmpty());
  EXPECT_THAT(windows.Calls("DeleteService"), IsEmpty());
  EXPECT_TRUE(windows.service_running);
}

TEST(PortAccessTest, NtImagePathFallsBackToTheSystemDirectoryAndAStartFailureFailsTheOpen) {
  FakeWindows windows;
  windows.start_error = 2;  // the driver file is nowhere
  {
    TPortAccess port(windows.Calls());
    port.SetOpened(true);
    EXPECT_FALSE(port.Opened());
    EXPECT_EQ(port.LastError(), 2u);
    EXPECT_THAT(windows.Calls("CreateService"),
                ElementsAre("CreateService C:\\WINDOWS\\system32\\Lptio.sys"));
    EXPECT_THAT(windows.Calls("CreateFile"), IsEmpty());
    EXPECT_THAT(port.StatusText(), ::testing::HasSubstr("Windows error 2"));
  }
  // The service this instance installed is removed again.
  EXPECT_THAT(windows.Calls("DeleteService"), ElementsAre("DeleteService"));
  EXPECT_FALSE(windows.service_exists);
}

TEST(PortAccessTest, NtCreateServiceFailureClosesTheManagerAndStops) {
  FakeWindows windows;
  windows.create_service_error = 5;
  TPortAccess port(windows.Calls());
  port.SetOpened(true);
  EXPECT_FALSE(port.Opened());
  EXPECT_EQ(port.LastError(), 5u);
  EXPECT_THAT(windows.log,
              ElementsAre(kOpenManager, "CreateService C:\\WINDOWS\\system32\\Lptio.sys",
                          "CloseServiceHandle 100"));
}

TEST(PortAccessTest, NtManagerAndDeviceFailuresFailTheOpen) {
  FakeWindows no_manager;
  no_manager.can_open_manager = false;
  {
    TPortAccess port(no_manager.Calls());
    port.SetOpened(true);
    EXPECT_FALSE(port.Opened());
    EXPECT_EQ(port.LastError(), 5u);
  }
  EXPECT_THAT(no_manager.Calls("CreateService"), IsEmpty());

  FakeWindows no_device;
  no_device.driver_present = false;
  TPortAccess port(no_device.Calls());
  port.SetOpened(true);
  EXPECT_FALSE(port.Opened());
  EXPECT_EQ(port.LastError(), 2u);
}

TEST(PortAccessTest, AnInstanceThatNeverOpenedLeavesTheServiceAlone) {
  FakeWindows windows;
  windows.service_exists = true;
  windows.service_running = true;
  { TPortAccess never_opened(windows.Calls()); }
  EXPECT_THAT(windows.log, IsEmpty());
  EXPECT_TRUE(windows.service_exists);
  EXPECT_TRUE(windows.service_running);
}

TEST(PortAccessTest, Win9xRetriesThroughTheSystemDirectory) {
  FakeWindows windows;
  windows.version = {1, 4, 90};
  windows.openable_vxd = {"\\\\.\\C:\\WINDOWS\\SYSTEM\\lptio.vxd"};
  windows.system_dir = "C:\\WINDOWS\\SYSTEM";
  {
    TPortAccess port(windows.Calls());
    port.SetOpened(true);
    EXPECT_TRUE(port.Opened());
    EXPECT_THAT(windows.log,
                ElementsAre("CreateFile \\\\.\\lptio.vxd 0 0 0 0",
                            "CreateFile \\\\.\\C:\\WINDOWS\\SYSTEM\\lptio.vxd 0 0 0 0"));
    windows.log.clear();
  }
  EXPECT_THAT(windows.log, ElementsAre("CloseHandle 300"));  // no service manager on 9x
}

TEST(PortAccessTest, Win9xFailsWhenNeitherPathOpens) {
  FakeWindows windows;
  windows.version = {1, 4, 0};
  windows.openable_vxd = {};
  TPortAccess port(windows.Calls());
  port.SetOpened(true);
  EXPECT_FALSE(port.Opened());
  EXPECT_EQ(port.LastError(), 2u);
  EXPECT_EQ(windows.Calls("CreateFile").size(), 2u);
}

TEST(PortAccessTest, UnknownNtVersionTakesTheWin9xPath) {
  FakeWindows windows;
  windows.version = {2, 6, 1};
  TPortAccess port(windows.Calls());
  port.SetOpened(true);
  EXPECT_EQ(port.WindowsKind(), 0);
  EXPECT_TRUE(port.Opened());
  EXPECT_THAT(windows.log, ElementsAre("CreateFile \\\\.\\lptio.vxd 0 0 0 0"));
}

TEST(PortAccessTest, OpenedTwiceStaysOpenAndClosingWhileClosedDoesNothing) {
  FakeWindows windows;
  TPortAccess port(windows.Calls());
  port.SetOpened(false);
  EXPECT_THAT(windows.log, IsEmpty());
  port.SetOpened(true);
  port.SetOpened(true);
  EXPECT_TRUE(port.Opened());
  EXPECT_EQ(windows.Calls("CreateFile").size(), 1u);
  port.SetOpened(false);
  EXPECT_FALSE(port.Opened());
  EXPECT_EQ(port.DriverHandle(), kInvalidHandle);
  port.SetOpened(false);
  EXPECT_EQ(windows.Calls("CloseHandle").size(), 1u);
  EXPECT_EQ(windows.open_handles, 0);
}

TEST(PortAccessTest, ReadAndWriteWhileClosedMakeNoCall) {
  FakeWindows windows;
  TPortAccess port(windows.Calls());
  port.WritePort(0x378, 0x55);
  EXPECT_FALSE(port.LastOk());
  EXPECT_EQ(port.LastError(), 6u);
  EXPECT_EQ(port.ReadPort(0x379), 0);
  EXPECT_FALSE(port.LastOk());
  EXPECT_EQ(port.LastError(), 6u);
  EXPECT_THAT(windows.Calls("DeviceIoControl"), IsEmpty());
}

TEST(PortAccessTest, ReadAndWriteSendTheDriverItsRequests) {
  FakeWindows windows;
  TPortAccess port(windows.Calls());
  port.SetOpened(true);
  port.WritePort(0xD012, 0xA5);
  EXPECT_TRUE(port.LastOk());
  EXPECT_EQ(port.ReadPort(0xD012), 0xA5);
  EXPECT_TRUE(port.LastOk());
  EXPECT_THAT(windows.io_codes, ElementsAre(0xF100A408u, 0xF1006404u));
  EXPECT_THAT(windows.io_inputs[0], ElementsAre(0x12, 0xD0, 0xA5, 0x00));
  EXPECT_THAT(windows.io_inputs[1], ElementsAre(0x12, 0xD0));
  EXPECT_THAT(windows.Calls("DeviceIoControl"),
              ElementsAre("DeviceIoControl 300", "DeviceIoControl 300"));
}

TEST(PortAccessTest, AFailedPortCallRecordsTheError) {
  FakeWindows windows;
  windows.port_values[0x379] = 0x78;
  TPortAccess port(windows.Calls());
  port.SetOpened(true);
  windows.io_ok = false;
  EXPECT_EQ(port.ReadPort(0x379), 0);
  EXPECT_FALSE(port.LastOk());
  EXPECT_EQ(port.LastError(), 31u);
  windows.io_ok = true;
  EXPECT_EQ(port.ReadPort(0x379), 0x78);
  EXPECT_TRUE(port.LastOk());
  windows.io_ok = false;
  windows.io_error = 87;
  port.WritePort(0x378, 1);
  EXPECT_FALSE(port.LastOk());
  EXPECT_EQ(port.LastError(), 87u);
}

}  // namespace
}  // namespace quorvel
