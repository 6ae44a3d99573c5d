// The stand-in installer: records how it was started, waits to be told to end, and tells
// every window that the environment has changed before it ends.
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
  std::wstring final = e2e::Wide(folder + "\\" + std::to_string(processId) + ".txt");
  std::wstring partial = final + L".part";
  HANDLE file = CreateFileW(partial.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    return false;
  }
  DWORD written = 0;
  BOOL ok = WriteFile(file, record.data(), static_cast<DWORD>(record.size()), &written, nullptr);
  CloseHandle(file);
  return ok && written == record.size() && MoveFileW(partial.c_str(), final.c_str());
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
  // The platform loads its theme library into a program when it makes its first window,
  // from wherever the program lets it search; never shown, so that it hides nothing.
  DestroyWindow(
      CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr));

  wchar_t program[MAX_PATH + 1] = L"";
  GetModuleFileNameW(nullptr, program, MAX_PATH);
  wchar_t directory[MAX_PATH + 1] = L"";
  GetCurrentDirectoryW(MAX_PATH + 1, directory);
  std::string record = "program=" + e2e::Utf8(program) + "\r\n";
  record += "command=" + e2e::Utf8(GetCommandLineW()) + "\r\n";
  record += "directory=" + e2e::Utf8(directory) + "\r\n";
  record += "show=" + ShowText() + "\r\n";
  record += "version=" + VersionText() + "\r\n";
  if (end == nullptr || !WriteRecord(folder, processId, record)) {
    return 1;
  }
  DWORD waited = WaitForSingleObject(end, e2e::kInstallerLifetimeMs);
  CloseHandle(end);
  SendMessageA(HWND_BROADCAST, WM_SETTINGCHANGE, 0, reinterpret_cast<LPARAM>("Environment"));
  return waited == WAIT_OBJECT_0 ? 0 : e2e::kInstallerGaveUp;
}
