// What every Wine test program shares: the paths of the programs it was given, scratch
// folders, files, time and windows of other processes.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "sequence_table.h"

namespace winetest {

// The Windows path of a program handed to the test as <name>=<path> on its command line
// (CMake passes every HELPERS target so). Fails the current test when there is none.
std::string HelperPath(const std::string& name);

// The current directory, as GetCurrentDirectoryA reports it.
std::string CurrentDirectory();

// A new empty folder under the temporary folder, removed with all its content at the
// end of its scope (the caller must have left it as current directory by then).
class ScratchFolder {
 public:
  ScratchFolder();
  ~ScratchFolder();
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;

  const std::string& Path() const { return path_; }
  std::string operator/(const std::string& name) const { return path_ + "\\" + name; }

 private:
  std::string path_;
};

// The file's whole content; false when it cannot be opened.
bool ReadTextFile(const std::string& path, std::string* content);

// The lines of a text, without their CRLF or LF.
std::vector<std::string> Lines(const std::string& text);

// Milliseconds since it was made.
class Stopwatch {
 public:
  Stopwatch();
  DWORD Elapsed() const;

 private:
  LARGE_INTEGER start_;
};

// Whether the platform is Wine rather than Windows (its ntdll says so).
bool RunningOnWine();

// A visible top-level window of the process with exactly this caption, or nullptr.
HWND FindProcessWindow(DWORD processId, const std::string& caption);

}  // namespace winetest
