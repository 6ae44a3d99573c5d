#include "wine_test.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <map>

namespace winetest {

namespace {

std::map<std::string, std::string>& Helpers() {
  static std::map<std::string, std::string> helpers;
  return helpers;
}

// Deletes a folder and everything in it; a failure leaves rubbish in the temporary
// folder of a throw-away prefix, nothing more.
void RemoveTree(const std::string& folder) {
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &found);
  if (search != INVALID_HANDLE_VALUE) {
    do {
      std::string name = found.cFileName;
      if (name == "." || name == "..") {
        continue;
      }
      std::string path = folder + "\\" + name;
      if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        RemoveTree(path);
      } else {
        SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileA(path.c_str());
      }
    } while (FindNextFileA(search, &found));
    FindClose(search);
  }
  RemoveDirectoryA(folder.c_str());
}

struct WindowSearch {
  DWORD processId;
  const std::string* caption;
  HWND found;
};

BOOL CALLBACK MatchWindow(HWND window, LPARAM data) {
  auto* search = reinterpret_cast<WindowSearch*>(data);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  if (owner != search->processId || !IsWindowVisible(window)) {
    return TRUE;
  }
  char caption[256] = "";
  GetWindowTextA(window, caption, sizeof(caption));
  if (*search->caption != caption) {
    return TRUE;
  }
  search->found = window;
  return FALSE;
}

// A path of the machine running Wine as a Windows path: Wine maps drive Z: to "/". A path
// that already has a drive letter is returned unchanged.
std::string WindowsPath(const std::string& path) {
  if (path.size() >= 2 && path[1] == ':') {
    return path;
  }
  std::string windows = "Z:" + path;
  std::replace(windows.begin(), windows.end(), '/', '\\');
  return windows;
}

}  // namespace

std::string HelperPath(const std::string& name) {
  auto helper = Helpers().find(name);
  if (helper == Helpers().end()) {
    ADD_FAILURE() << "the test was not given the program " << name << " (expected " << name
                  << "=<path> on its command line)";
    return std::string();
  }
  return helper->second;
}

std::string CurrentDirectory() {
  char buffer[MAX_PATH + 1] = "";
  DWORD length = GetCurrentDirectoryA(sizeof(buffer), buffer);
  return std::string(buffer, length < sizeof(buffer) ? length : 0);
}

ScratchFolder::ScratchFolder() {
  static unsigned serial = 0;
  char temp[MAX_PATH + 1] = "";
  GetTempPathA(sizeof(temp), temp);
  std::string base = temp;
  if (!base.empty() && base.back() == '\\') {
    base.pop_back();
  }
  for (;;) {
    path_ = base + "\\winetest-" + std::to_string(GetCurrentProcessId()) + "-" +
            std::to_string(++serial);
    if (CreateDirectoryA(path_.c_str(), nullptr)) {
      break;
    }
    if (GetLastError() != ERROR_ALREADY_EXISTS) {
      ADD_FAILURE() << "cannot make the scratch folder " << path_ << ", error " << GetLastError();
      break;
    }
  }
  // The long form, so that it compares equal to what GetCurrentDirectoryA reports.
  char full[MAX_PATH + 1] = "";
  DWORD length = GetLongPathNameA(path_.c_str(), full, sizeof(full));
  if (length > 0 && length < sizeof(full)) {
    path_ = full;
  }
}

ScratchFolder::~ScratchFolder() {
  RemoveTree(path_);
}

bool ReadTextFile(const std::string& path, std::string* content) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    return false;
  }
  content->clear();
  char buffer[4096];
  DWORD read = 0;
  while (ReadFile(file, buffer, sizeof(buffer), &read, nullptr) && read > 0) {
    content->append(buffer, read);
  }
  CloseHandle(file);
  return true;
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find('\n', start);
    if (end == std::string::npos) {
      end = text.size();
    }
    std::string line = text.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') {
      line.pop_back();
    }
    lines.push_back(line);
    start = end + 1;
  }
  return lines;
}

Stopwatch::Stopwatch() : start_() {
  QueryPerformanceCounter(&start_);
}

DWORD Stopwatch::Elapsed() const {
  LARGE_INTEGER now;
  LARGE_INTEGER frequency;
  QueryPerformanceCounter(&now);
  QueryPerformanceFrequency(&frequency);
  return static_cast<DWORD>((now.QuadPart - start_.QuadPart) * 1000 / frequency.QuadPart);
}

bool RunningOnWine() {
  HMODULE ntdll = GetModuleHandleA("ntdll.dll");
  return ntdll != nullptr && GetProcAddress(ntdll, "wine_get_version") != nullptr;
}

HWND FindProcessWindow(DWORD processId, const std::string& caption) {
  WindowSearch search{processId, &caption, nullptr};
  EnumWindows(MatchWindow, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

}  // namespace winetest

// GoogleTest takes its own flags out of the arguments; what is left of the form
// <name>=<path> names the programs the test may start.
int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  for (int i = 1; i < argc; ++i) {
    const char* equals = std::strchr(argv[i], '=');
    if (equals == nullptr) {
      fprintf(stderr, "unknown argument: %s\n", argv[i]);
      return 2;
    }
    winetest::Helpers()[std::string(argv[i], static_cast<std::size_t>(equals - argv[i]))] =
        winetest::WindowsPath(equals + 1);
  }
  return RUN_ALL_TESTS();
}
