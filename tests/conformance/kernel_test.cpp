// Starting programs and changing the working directory, with the last-error codes that
// the run time translates, the program's own file name, and the clock.
#include "conformance.h"
#include "sequence_table.h"

#include <cctype>

namespace conformance {
namespace {

// One start as the run time makes it: shown normally, no handles inherited. The result
// is "started" (after waiting for the program and closing both handles) or the error.
std::string Start(const std::string& command) {
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = SW_SHOWNORMAL;
  PROCESS_INFORMATION process{};
  std::string line = command;
  SetLastError(0);
  if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                      &process)) {
    return command + ": error " + std::to_string(GetLastError());
  }
  std::string result = command + ": started";
  if (WaitForSingleObject(process.hProcess, INFINITE) != WAIT_OBJECT_0) {
    result += ", not waited for";
  }
  if (!CloseHandle(process.hProcess) || !CloseHandle(process.hThread)) {
    result += ", handles not closed";
  }
  if (CloseHandle(process.hThread) || GetLastError() != ERROR_INVALID_HANDLE) {
    result += ", a closed handle still closes";
  }
  return result;
}

std::string ChangeTo(const std::string& path) {
  SetLastError(0);
  if (!SetCurrentDirectoryA(path.c_str())) {
    return path + ": error " + std::to_string(GetLastError());
  }
  char now[MAX_PATH + 1] = "";
  GetCurrentDirectoryA(sizeof now, now);
  return path + ": now " + now;
}

using Processes = Check;

TEST_F(Processes, AProgramStartsByItsPathOrNameAndAFailedStartSaysWhy) {
  const std::string folder = harness::Folder();
  harness::MakeFolder("Media\\Folder.exe");
  harness::MakeProgram("Media\\DXSETUP.exe");
  harness::MakeProgram("Media\\Quillmark Install.exe");
  harness::MakeFile("Media\\Quillmark.exe");
  harness::MakeFile("Media\\notes.exe");
  ASSERT_TRUE(SetCurrentDirectoryA((folder + "\\Media").c_str()));
  const std::string quoted = R"(")" + folder + R"(\Media\DXSETUP.exe")";
  EXPECT_SEQUENCE(
      (Lines{quoted + ": started", "DXSETUP.exe: started",
             "MISSING.exe: error " + std::to_string(ERROR_FILE_NOT_FOUND),
             folder + "\\Nowhere\\DXSETUP.exe: error " + std::to_string(ERROR_FILE_NOT_FOUND),
             "\"" + folder + "\\Media\\Folder.exe\": error " + std::to_string(ERROR_ACCESS_DENIED),
             "notes.exe: error " + std::to_string(ERROR_BAD_EXE_FORMAT),
             // Unquoted, the name ends at the blank: Quillmark.exe, which is no program.
             "Quillmark Install.exe: error " + std::to_string(ERROR_BAD_EXE_FORMAT),
             "\"Quillmark Install.exe\": started",
             "Q:\\Setup\\DXSETUP.exe: error " + std::to_string(ERROR_FILE_NOT_FOUND)}),
      (Lines{Start(quoted), Start("DXSETUP.exe"), Start("MISSING.exe"),
             Start(folder + "\\Nowhere\\DXSETUP.exe"),
             Start("\"" + folder + "\\Media\\Folder.exe\""), Start("notes.exe"),
             Start("Quillmark Install.exe"), Start("\"Quillmark Install.exe\""),
             Start("Q:\\Setup\\DXSETUP.exe")}));
}

TEST_F(Processes, TheWorkingDirectoryChangesOrTheLastErrorSaysWhy) {
  const std::string folder = harness::Folder();
  harness::MakeFolder("DirectX9");
  harness::MakeFile("notes.txt");
  ASSERT_TRUE(SetCurrentDirectoryA(folder.c_str()));
  const std::string tooLong = folder + "\\" + std::string(MAX_PATH, 'x');
  EXPECT_SEQUENCE(
      (Lines{"DirectX9: now " + folder + "\\DirectX9", "..\\: now " + folder,
             folder + "\\\\DirectX9: now " + folder + "\\DirectX9",
             "Missing: error " + std::to_string(ERROR_FILE_NOT_FOUND),
             "Missing\\Deeper: error " + std::to_string(ERROR_PATH_NOT_FOUND),
             folder + "\\notes.txt: error " + std::to_string(ERROR_DIRECTORY),
             tooLong + ": error " + std::to_string(ERROR_FILENAME_EXCED_RANGE),
             ": error " + std::to_string(ERROR_INVALID_NAME),
             "Q:\\: error " + std::to_string(ERROR_PATH_NOT_FOUND)}),
      (Lines{ChangeTo("DirectX9"), ChangeTo("..\\"), ChangeTo(folder + "\\\\DirectX9"),
             ChangeTo("Missing"), ChangeTo("Missing\\Deeper"), ChangeTo(folder + "\\notes.txt"),
             ChangeTo(tooLong), ChangeTo(""), ChangeTo("Q:\\")}));
}

TEST_F(Processes, TheProgramsOwnFileIsNamedAndANameThatDoesNotFitIsCut) {
  char path[MAX_PATH + 1] = "";
  DWORD length = GetModuleFileNameA(nullptr, path, sizeof path);
  ASSERT_GT(length, 7u);
  EXPECT_EQ(std::string(path).size(), length);
  EXPECT_EQ(std::string(path + 1, 2), ":\\") << path << ": a full path";
  std::string type(path + length - 4);
  for (char& c : type) {
    c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  }
  EXPECT_EQ(type, ".exe") << path;
  char again[MAX_PATH + 1] = "";
  EXPECT_EQ(GetModuleFileNameA(harness::Module(), again, sizeof again), length);
  EXPECT_STREQ(again, path) << "the program's own module by its handle";

  // Wine cuts a name that does not fit to the buffer's size, without a NUL (as Windows XP
  // does; later Windows put a NUL in the last place), and returns the size. So does a
  // name that fits only without its NUL.
  for (DWORD size : {length - 3, length}) {
    std::string cut(length + 1, '#');
    SetLastError(0);
    EXPECT_EQ(GetModuleFileNameA(nullptr, cut.data(), size), size);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));
    EXPECT_EQ(cut, std::string(path, size) + std::string(length + 1 - size, '#'));
  }
  SetLastError(0);
  EXPECT_EQ(GetModuleFileNameA(reinterpret_cast<HMODULE>(0x7F0000), path, sizeof path), 0u)
      << "no module there";
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_MOD_NOT_FOUND));
}

TEST_F(Processes, TheClockMovesWithSleep) {
  DWORD start = harness::Now();
  Sleep(50);
  DWORD slept = harness::Now() - start;
  EXPECT_GE(slept, 50u);
  EXPECT_LT(slept, 5000u);
}

}  // namespace
}  // namespace conformance
