// What the stand-in installers and the driver agree on.
//
// A stand-in installer is one program copied under the three installer names. On start it
// makes a window, as any installer does, and writes what it was started with, read with the
// wide calls and written in UTF-8, into <record folder>\<its process id>.txt:
//
//   program=<its own path>
//   command=<its command line>
//   directory=<its working directory>
//   show=<the show command it was given, or "none">
//   version=<major>.<minor> as GetVersionExA reports it
//
// and then waits until the driver sets the event EndEventName(its process id), so that the
// driver can look at the wizard while the installer still runs. Before it ends it tells
// every top-level window that the environment has changed, as real installers do, with a
// plain SendMessageA(HWND_BROADCAST, WM_SETTINGCHANGE, ...) that waits for each of them.
// The record folder comes from the environment, which setup.exe hands on from the driver
// unchanged.
#pragma once

#include <windows.h>

#include <string>

namespace e2e {

constexpr char kRecordFolderVariable[] = "E2E_INSTALLER_RECORDS";

// An installer nobody ends gives up after this long, so that a broken run cannot hang.
constexpr DWORD kInstallerLifetimeMs = 60000;
constexpr int kInstallerGaveUp = 2;
constexpr int kInstallerWithoutRecordFolder = 3;

inline std::string EndEventName(DWORD processId) {
  return "e2e-installer-end-" + std::to_string(processId);
}

// Paths travel between the programs as UTF-8, so that a folder named outside the ANSI code
// page survives; Win32 takes and gives them in UTF-16.
inline std::wstring Wide(const std::string& utf8) {
  std::wstring wide(utf8.size(), L'\0');
  wide.resize(static_cast<std::size_t>(MultiByteToWideChar(CP_UTF8, 0, utf8.data(),
                                                           static_cast<int>(utf8.size()), &wide[0],
                                                           static_cast<int>(wide.size()))));
  return wide;
}

inline std::string Utf8(const std::wstring& wide) {
  std::string utf8(wide.size() * 3, '\0');
  utf8.resize(static_cast<std::size_t>(
      WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), &utf8[0],
                          static_cast<int>(utf8.size()), nullptr, nullptr)));
  return utf8;
}

}  // namespace e2e
