// What the stand-in installers and the driver agree on.
//
// A stand-in installer is one program copied under the three installer names. On start it
// writes what it was started with into <record folder>\<its process id>.txt:
//
//   program=<its own path>
//   command=<its command line>
//   directory=<its working directory>
//   show=<the show command it was given, or "none">
//   version=<major>.<minor> as GetVersionExA reports it
//
// and then waits until the driver sets the event EndEventName(its process id), so that the
// driver can look at the wizard while the installer still runs. The record folder comes
// from the environment, which setup.exe hands on from the driver unchanged.
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

}  // namespace e2e
