#include <windows.h>

#include <cstdio>
#include <string>

#include "record_helper.h"

int WINAPI WinMain(HINSTANCE /*instance*/, HINSTANCE /*previous*/, LPSTR /*commandTail*/,
                   int /*showCommand*/) {
  // Read before anything else can change it: the mode the process was started with.
  UINT errorMode = GetErrorMode();
  Sleep(kRecordHelperSleepMs);

  char directory[MAX_PATH + 1] = "";
  GetCurrentDirectoryA(sizeof(directory), directory);
  char mode[16];
  std::snprintf(mode, sizeof(mode), "0x%04X", errorMode);
  std::string record = "pid=" + std::to_string(GetCurrentProcessId()) + "\r\n";
  record += std::string("directory=") + directory + "\r\n";
  record += std::string("command=") + GetCommandLineA() + "\r\n";
  record += std::string("errormode=") + mode + "\r\n";
  record += "end\r\n";

  // The record goes next to the program file, wherever the current directory is.
  char path[MAX_PATH + 1] = "";
  DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string file(path, length);
  file = file.substr(0, file.find_last_of('\\') + 1) + kRecordFile;

  HANDLE handle = CreateFileA(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
  if (handle == INVALID_HANDLE_VALUE) {
    return 1;
  }
  DWORD written = 0;
  BOOL ok = WriteFile(handle, record.data(), static_cast<DWORD>(record.size()), &written, nullptr);
  CloseHandle(handle);
  return ok && written == record.size() ? 0 : 1;
}
