// The stand-in installer: records how it was started, then waits to be told to end.
#include <windows.h>

#include <string>

#include "installer_record.h"

namespace {

std::string VersionText() {
  OSVERSIONINFOA version{};
  version.dwOSVersionInfoSize = sizeof(version);
  if (!GetVersionExA(&version)) {
    return "unknown";
  }
  return std::to_string(version.dwMajorVersion) + "." + std::to_string(version.dwMinorVersion);
}

std::string ShowText() {
  STARTUPINFOA startup{};
  startup.cb = sizeof(startup);
  GetStartupInfoA(&startup);
  if ((startup.dwFlags & STARTF_USESHOWWINDOW) == 0) {
    return "none";
  }
  return std::to_string(startup.wShowWindow);
}

// Written under a temporary name and then renamed, so the driver never reads half a record.
bool WriteRecord(const std::string& folder, DWORD processId, const std::string& record) {
  std::string final = folder + "\\" + std::to_string(processId) + ".txt";
  std::string partial = final + ".part";
  HANDLE file = CreateFileA(partial.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    return false;
  }
  DWORD written = 0;
  BOOL ok = WriteFile(file, record.data(), static_cast<DWORD>(record.size()), &written, nullptr);
  CloseHandle(file);
  return ok && written == record.size() && MoveFileA(partial.c_str(), final.c_str());
}

}  // namespace

int WINAPI WinMain(HINSTANCE /*instance*/, HINSTANCE /*previous*/, LPSTR /*commandTail*/,
                   int /*showCommand*/) {
  char folder[MAX_PATH + 1] = "";
  DWORD length = GetEnvironmentVariableA(e2e::kRecordFolderVariable, folder, sizeof(folder));
  if (length == 0 || length >= sizeof(folder)) {
    return e2e::kInstallerWithoutRecordFolder;
  }
  DWORD processId = GetCurrentProcessId();
  // Made before the record exists: whoever reads the record can end us at once.
  HANDLE end = CreateEventA(nullptr, TRUE, FALSE, e2e::EndEventName(processId).c_str());

  char program[MAX_PATH + 1] = "";
  GetModuleFileNameA(nullptr, program, MAX_PATH);
  char directory[MAX_PATH + 1] = "";
  GetCurrentDirectoryA(sizeof(directory), directory);
  std::string record = std::string("program=") + program + "\r\n";
  record += std::string("command=") + GetCommandLineA() + "\r\n";
  record += std::string("directory=") + directory + "\r\n";
  record += "show=" + ShowText() + "\r\n";
  record += "version=" + VersionText() + "\r\n";
  if (end == nullptr || !WriteRecord(folder, processId, record)) {
    return 1;
  }
  DWORD waited = WaitForSingleObject(end, e2e::kInstallerLifetimeMs);
  CloseHandle(end);
  return waited == WAIT_OBJECT_0 ? 0 : e2e::kInstallerGaveUp;
}
