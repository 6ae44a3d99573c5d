// The run time on a real Win32 implementation: starting a program and waiting for it,
// changing the working directory, the error number across them. (The guard around system
// calls is checked in both rings, tests/shared/both_rings_test.cpp; setup.exe itself,
// ending with exit code 0 among much else, in tests/e2e.)
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "record_helper.h"
#include "runtime/directory.h"
#include "runtime/error_state.h"
#include "runtime/process.h"
#include "runtime/thread_record.h"
#include "wine_test.h"

namespace {

using winetest::CurrentDirectory;
using winetest::HelperPath;
using winetest::ScratchFolder;
using winetest::Stopwatch;

constexpr UINT kGuardErrorMode = SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX;
constexpr DWORD kNoError = 0;

Text TextOfString(const std::string& text) {
  return Text{text.data(), static_cast<DWORD>(text.size())};
}

// RunProgram with a command written in ASCII, widened to the UTF-16 it takes.
DWORD Start(const std::string& command, bool wait) {
  std::wstring wide(command.begin(), command.end());
  return RunProgram(WideText{wide.c_str(), static_cast<DWORD>(wide.size())}, SW_SHOWNORMAL, wait);
}

// Every test runs as the program does: with the thread slot open, inside a procedure's
// ErrorScope, in a scratch folder that holds a copy of the record helper.
class RuntimeOnWine : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(OpenThreadSlot());
    slotOpen_ = true;
    startDirectory_ = CurrentDirectory();
    std::string helper = HelperPath("record_helper");
    ASSERT_FALSE(helper.empty());
    ASSERT_TRUE(CopyFileA(helper.c_str(), (folder_ / kRecordHelperFile).c_str(), FALSE))
        << "copying " << helper << " into " << folder_.Path() << ", error " << GetLastError();
    ASSERT_TRUE(SetCurrentDirectoryA(folder_.Path().c_str()));
    if (inheritedErrorMode_.empty()) {
      inheritedErrorMode_ = ErrorModeOfDirectlyStartedHelper();
    }
  }

  void TearDown() override {
    SetCurrentDirectoryA(startDirectory_.c_str());
    if (slotOpen_) {
      CloseThreadSlot();
    }
  }

  // The record the helper is expected to leave behind: it starts with the error mode a
  // program started inside the guard gets from the platform.
  static std::vector<std::string> ExpectedRecord(DWORD processId, const std::string& directory,
                                                 const std::string& command) {
    return {"pid=" + std::to_string(processId), "directory=" + directory, "command=" + command,
            "errormode=" + inheritedErrorMode_, "end"};
  }

  // The helper's record, if it is there and complete right now.
  std::vector<std::string> Record() const {
    std::string content;
    if (!winetest::ReadTextFile(folder_ / kRecordFile, &content)) {
      return {"(no record file)"};
    }
    return winetest::Lines(content);
  }

  // The error mode that the platform itself gives a program started while ours is the
  // guard's, started here directly with CreateProcessA. Windows hands every new process
  // its creator's mode unless asked not to; Wine starts each process with mode 0.
  std::string ErrorModeOfDirectlyStartedHelper() {
    std::string command = std::string(kRecordHelperFile) + " probe";
    STARTUPINFOA startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process{};
    UINT callersMode = SetErrorMode(kGuardErrorMode);
    BOOL started = CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr,
                                  nullptr, &startup, &process);
    SetErrorMode(callersMode);
    if (!started) {
      return "(not started)";
    }
    WaitForSingleObject(process.hProcess, 10000);
    CloseHandle(process.hProcess);
    CloseHandle(process.hThread);
    std::string mode = "(no record)";
    for (const std::string& line : Record()) {
      if (line.compare(0, 10, "errormode=") == 0) {
        mode = line.substr(10);
      }
    }
    DeleteFileA((folder_ / kRecordFile).c_str());
    return mode;
  }

  ScratchFolder folder_;
  std::string startDirectory_;
  bool slotOpen_ = false;
  static std::string inheritedErrorMode_;
};

std::string RuntimeOnWine::inheritedErrorMode_;

TEST_F(RuntimeOnWine, RunProgramWaitsForTheProgramAndHandsItTheCommandAndErrorMode) {
  ErrorScope scope;
  const std::string command = std::string(kRecordHelperFile) + " arg1 \"two words\"";

  Stopwatch stopwatch;
  DWORD processId = Start(command, true);
  DWORD elapsed = stopwatch.Elapsed();

  // The record is there and complete the moment RunProgram returns: it waited. The
  // helper started in our current directory with exactly our command line, and with the
  // guard's error mode, which a new process inherits from its creator.
  EXPECT_SEQUENCE(ExpectedRecord(processId, folder_.Path(), command), Record());
  if (!winetest::RunningOnWine()) {
    EXPECT_EQ(inheritedErrorMode_, "0x8001");
  } else if (inheritedErrorMode_ != "0x8001") {
    std::printf("note: this Wine starts processes in error mode %s, not their creator's\n",
                inheritedErrorMode_.c_str());
  }
  EXPECT_NE(processId, 0u);
  EXPECT_GE(elapsed, kRecordHelperSleepMs);
  EXPECT_EQ(ErrorNumber(), kNoError);
}

TEST_F(RuntimeOnWine, RunProgramWithoutWaitReturnsWhileTheProgramRuns) {
  ErrorScope scope;
  const std::string command = std::string(kRecordHelperFile) + " nowait";

  Stopwatch stopwatch;
  DWORD processId = Start(command, false);
  DWORD elapsed = stopwatch.Elapsed();
  ASSERT_NE(processId, 0u);
  HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, processId);
  ASSERT_NE(process, nullptr) << "process " << processId << ", error " << GetLastError();

  EXPECT_LT(elapsed, kRecordHelperSleepMs);
  EXPECT_EQ(WaitForSingleObject(process, 0), static_cast<DWORD>(WAIT_TIMEOUT))
      << "the helper had ended when RunProgram returned";
  EXPECT_SEQUENCE(std::vector<std::string>{"(no record file)"}, Record());

  // The program goes on without us and finishes its work.
  EXPECT_EQ(WaitForSingleObject(process, 10000), static_cast<DWORD>(WAIT_OBJECT_0));
  CloseHandle(process);
  EXPECT_SEQUENCE(ExpectedRecord(processId, folder_.Path(), command), Record());
  EXPECT_EQ(ErrorNumber(), kNoError);
}

TEST_F(RuntimeOnWine, RunProgramOfAMissingProgramRecordsFileNotFoundAndReturnsAtOnce) {
  ErrorScope scope;

  Stopwatch stopwatch;
  DWORD processId = Start("no_such_program.exe", true);
  DWORD elapsed = stopwatch.Elapsed();

  EXPECT_EQ(processId, 0u);
  EXPECT_EQ(ErrorNumber(), kErrorFileNotFound);
  EXPECT_LT(elapsed, kRecordHelperSleepMs / 2);

  // A start that works afterwards leaves the recorded number in place.
  EXPECT_NE(Start(kRecordHelperFile, true), 0u);
  EXPECT_EQ(ErrorNumber(), kErrorFileNotFound);
}

TEST_F(RuntimeOnWine, RunProgramCutsALongCommandTo256Characters) {
  ErrorScope scope;
  std::string command = std::string(kRecordHelperFile) + " ";
  while (command.size() < 300) {
    command += "0123456789";
  }

  DWORD processId = Start(command, true);

  EXPECT_SEQUENCE(ExpectedRecord(processId, folder_.Path(), command.substr(0, 256)), Record());
  EXPECT_EQ(ErrorNumber(), kNoError);
}

// One ChangeDirectory call, each in a procedure of its own: where it started, the path,
// the number it recorded and where the current directory is afterwards (both relative to
// the scratch folder).
struct DirectoryCase {
  std::string from, path;
  DWORD number;
  std::string after;
};

std::string Describe(const DirectoryCase& row) {
  return "from \"" + row.from + "\" ChangeDirectory(\"" + row.path + "\") -> " +
         std::to_string(row.number) + ", now \"" + row.after + "\"";
}

TEST_F(RuntimeOnWine, ChangeDirectoryMovesOrRecordsTheNumberAndStays) {
  ASSERT_TRUE(CreateDirectoryA((folder_ / "sub").c_str(), nullptr));
  ASSERT_TRUE(CreateDirectoryA((folder_ / "sub\\deeper").c_str(), nullptr));
  const std::string base = folder_.Path();
  auto relative = [&](const std::string& directory) {
    if (directory == base) {
      return std::string(".");
    }
    if (directory.compare(0, base.size() + 1, base + "\\") == 0) {
      return directory.substr(base.size() + 1);
    }
    return directory;
  };

  // The platform's own verdict on an empty path, which goes to it like any other path.
  SetLastError(0);
  BOOL emptyChanged = SetCurrentDirectoryA("");
  DWORD emptyCode = GetLastError();
  EXPECT_FALSE(emptyChanged);
  EXPECT_NE(emptyCode, 0u) << "SetCurrentDirectoryA(\"\") left no error code";
  BYTE emptyNumber = TranslateOsError(emptyCode);

  const DirectoryCase cases[] = {
      {"sub\\deeper", "..\\", kNoError, "sub"},
      {"sub", "..\\", kNoError, "."},
      {".", "sub", kNoError, "sub"},
      {".", base + "\\sub\\deeper", kNoError, "sub\\deeper"},
      {".", "missing", kErrorPathNotFound, "."},
      {".", "missing\\deeper", kErrorPathNotFound, "."},
      {".", "sub\\missing", kErrorPathNotFound, "."},
      {".", "su*", kErrorPathNotFound, "."},
      {".", "s?b", kErrorPathNotFound, "."},
      {".", "sub\\*", kErrorPathNotFound, "."},
      {".", "", emptyNumber, "."},
  };
  std::vector<std::string> expected, actual;
  for (const DirectoryCase& row : cases) {
    SetCurrentDirectoryA(row.from == "." ? base.c_str() : (folder_ / row.from).c_str());
    ErrorScope scope;
    ChangeDirectory(TextOfString(row.path));
    expected.push_back(Describe(row));
    actual.push_back(Describe({row.from, row.path, ErrorNumber(), relative(CurrentDirectory())}));
  }
  EXPECT_SEQUENCE(expected, actual);
}

TEST_F(RuntimeOnWine, ErrorNumberKeepsTheLatestFailureAcrossSuccesses) {
  ASSERT_TRUE(CreateDirectoryA((folder_ / "sub").c_str(), nullptr));
  ErrorScope scope;
  std::vector<DWORD> numbers;
  ChangeDirectory(TextOf("missing"));
  numbers.push_back(ErrorNumber());
  numbers.push_back(ErrorNumber());
  ChangeDirectory(TextOf("sub"));
  numbers.push_back(ErrorNumber());
  Start("no_such_program.exe", true);
  numbers.push_back(ErrorNumber());
  {
    // An inner procedure starts clean and leaves the outer one's number alone.
    ErrorScope inner;
    numbers.push_back(ErrorNumber());
    ChangeDirectory(TextOf("?"));
    numbers.push_back(ErrorNumber());
  }
  numbers.push_back(ErrorNumber());

  EXPECT_SEQUENCE(
      (std::vector<DWORD>{kErrorPathNotFound, kErrorPathNotFound, kErrorPathNotFound,
                          kErrorFileNotFound, kNoError, kErrorPathNotFound, kErrorFileNotFound}),
      numbers);
  EXPECT_EQ(CurrentDirectory(), folder_ / "sub");
}

}  // namespace
