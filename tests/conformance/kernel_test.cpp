// Starting programs and changing the working directory, with the last-error codes that
// the run time translates, paths in UTF-16 and in ANSI, the program's own file name, and
// the clock.
#include "conformance.h"
#include "sequence_table.h"
#include "utf16.h"

#include <cctype>

namespace conformance {
namespace {

// A UTF-16 text as a W call takes it.
LPWSTR W(std::u16string& text) {
  return reinterpret_cast<LPWSTR>(text.data());
}

// One start as the run time makes it: in UTF-16, shown normally, no handles inherited.
// The result is "started" (after waiting for the program and closing both handles) or
// the error.
std::string Start(const std::string& command) {
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = SW_SHOWNORMAL;
  PROCESS_INFORMATION process{};
  std::u16string line = utf16::FromUtf8(command);
  SetLastError(0);
  if (!CreateProcessW(nullptr, W(line), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
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

TEST_F(Processes, AFolderOutsideTheCodePageWorksInUtf16AndNamesNothingInAnsi) {
  // An A call shows each letter that the ANSI code page lacks as "?"; a path made from
  // that names no file, and a folder name with "?" is no name at all.
  const std::string medium = harness::Folder() + "\\Загрузки 日本 medium";
  harness::MakeFolder("Загрузки 日本 medium");
  harness::MakeProgram("Загрузки 日本 medium\\DXSETUP.exe");
  std::u16string wide = utf16::FromUtf8(medium);
  ASSERT_TRUE(SetCurrentDirectoryW(W(wide)));
  char ansi[MAX_PATH + 1] = "";
  GetCurrentDirectoryA(sizeof ansi, ansi);
  const std::string asked = harness::Folder() + "\\???????? ?? medium";
  EXPECT_SEQUENCE(
      (Lines{"current directory in ANSI: " + asked, "\"" + medium + "\\DXSETUP.exe\": started",
             "\"" + asked + "\\DXSETUP.exe\": error " + std::to_string(ERROR_FILE_NOT_FOUND),
             asked + ": error " + std::to_string(ERROR_INVALID_NAME)}),
      (Lines{"current directory in ANSI: " + std::string(ansi),
             Start("\"" + medium + "\\DXSETUP.exe\""), Start("\"" + asked + "\\DXSETUP.exe\""),
             ChangeTo(asked)}));
}

TEST_F(Processes, TheProgramsOwnFileIsNamedAndANameThatDoesNotFitIsCut) {
  std::u16string path(MAX_PATH + 1, u'\0');
  DWORD length = GetModuleFileNameW(nullptr, W(path), MAX_PATH + 1);
  ASSERT_GT(length, 7u);
  path.resize(length);
  EXPECT_EQ(path.find(u'\0'), std::u16string::npos);
  std::string name = utf16::ToUtf8(path);
  EXPECT_EQ(name.substr(1, 2), ":\\") << name << ": a full path";
  std::string type = name.substr(name.size() - 4);
  for (char& c : type) {
    c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  }
  EXPECT_EQ(type, ".exe") << name;
  std::u16string again(MAX_PATH + 1, u'\0');
  EXPECT_EQ(GetModuleFileNameW(harness::Module(), W(again), MAX_PATH + 1), length);
  EXPECT_EQ(again.c_str(), path) << "the program's own module by its handle";

  // Wine cuts a name that does not fit to the buffer's size, without a NUL (as Windows XP
  // does; later Windows put a NUL in the last place), and returns the size. So does a
  // name that fits only without its NUL.
  for (DWORD size : {length - 3, length}) {
    std::u16string cut(length + 1, u'#');
    SetLastError(0);
    EXPECT_EQ(GetModuleFileNameW(nullptr, W(cut), size), size);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));
    EXPECT_EQ(cut, path.substr(0, size) + std::u16string(length + 1 - size, u'#'));
  }
  SetLastError(0);
  EXPECT_EQ(GetModuleFileNameW(reinterpret_cast<HMODULE>(0x7F0000), W(again), MAX_PATH), 0u)
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
