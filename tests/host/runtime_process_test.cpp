// Starting a program and waiting for it.
#include <gtest/gtest.h>

#include <string>

#include "runtime/process.h"
#include "runtime_fixture.h"
#include "sequence.h"
#include "utf16.h"

namespace {

class RunProgramTest : public RuntimeTest {
 protected:
  void SetUp() override {
    RuntimeTest::SetUp();
    standin::AddFolder("X:\\Media\\DirectX9");
    standin::SetCurrentDirectory("X:\\Media\\DirectX9");
  }

  static std::vector<std::string> ProcessCalls() {
    return standin::CallsTo({"CreateProcessW", "MsgWaitForMultipleObjects", "CloseHandle"});
  }
};

// A command as the run time takes it, in UTF-16.
WideText Wide(std::u16string_view command) {
  return WideText{command.data(), static_cast<DWORD>(command.size())};
}

constexpr char kStartupArgs[] = "si{cb=sizeof,flags=0x1,show=1,others=0}";

std::string CreateCall(const std::string& quotedCommand, const char* startup = kStartupArgs) {
  return "CreateProcessW(NULL, L" + quotedCommand +
         ", sa{sizeof,NULL,0}, same, 0, 0x20, NULL, NULL, " + startup + ")";
}

TEST_F(RunProgramTest, StartsInTheCurrentDirectoryAndWaitsForTheEnd) {
  bool sawWaiting = false;
  standin::AddProgram("X:\\Media\\DirectX9\\DXSETUP.exe",
                      {.runsFor = 5000, .whileWaited = [&](const standin::Launch& launch) {
                         sawWaiting = true;
                         EXPECT_FALSE(standin::HasEnded(launch.processId));
                       }});
  DWORD id = RunProgram(Wide(u"DXSETUP.exe"), SW_SHOWNORMAL, true);
  std::vector<std::string> calls = standin::Calls();

  ASSERT_EQ(standin::Launches().size(), 1u);
  const standin::Launch& launch = standin::Launches()[0];
  EXPECT_EQ(id, launch.processId);
  EXPECT_NE(id, 0u);
  EXPECT_TRUE(sawWaiting);
  EXPECT_TRUE(standin::HasEnded(id)) << "RunProgram returned before the program ended";
  EXPECT_GE(standin::Now(), 5000u);
  EXPECT_EQ(launch.directory, "X:\\Media\\DirectX9");
  EXPECT_EQ(launch.image, "X:\\Media\\DirectX9\\DXSETUP.exe");
  EXPECT_EQ(launch.errorMode, 0x8001u) << "the child inherits the guard's error mode";
  EXPECT_EQ(ErrorNumber(), 0u);
  // The start and the whole wait run inside the guard, the handles are closed outside it.
  // The wait wakes for messages sent to the thread and for painting (0x60), and looks at
  // the queue once a second: its peek delivers the sent messages and takes only WM_PAINT
  // (15), to dispatch it.
  std::vector<std::string> expected = {
      "SetErrorMode(0x8001)", "SetLastError(0)",   CreateCall("\"DXSETUP.exe\""),
      "GetLastError()",       "SetErrorMode(0x0)", "SetErrorMode(0x8001)",
      "SetLastError(0)"};
  for (int second = 1; second <= 5; ++second) {
    expected.emplace_back("MsgWaitForMultipleObjects(1, process#1, 0, 1000, 0x60)");
    if (second < 5) {
      expected.emplace_back("PeekMessageA(msg, NULL, 15, 15, PM_REMOVE)");
    }
  }
  expected.insert(expected.end(), {"GetLastError()", "SetErrorMode(0x0)", "CloseHandle(process#1)",
                                   "CloseHandle(thread#1)"});
  EXPECT_SEQUENCE(expected, calls);
}

TEST_F(RunProgramTest, WithoutWaitReturnsAtOnceWithHandlesClosed) {
  standin::AddProgram("X:\\Media\\DirectX9\\DXSETUP.exe", {.runsFor = std::nullopt});
  DWORD id = RunProgram(Wide(u"DXSETUP.exe"), SW_SHOWNORMAL, false);
  EXPECT_NE(id, 0u);
  EXPECT_FALSE(standin::HasEnded(id));
  EXPECT_SEQUENCE((std::vector<std::string>{CreateCall("\"DXSETUP.exe\""), "CloseHandle(process#1)",
                                            "CloseHandle(thread#1)"}),
                  ProcessCalls());
}

TEST_F(RunProgramTest, CommandIsPassedAsWrittenAndCutAt256Units) {
  standin::AddProgram("X:\\Media\\DirectX9\\DXSETUP.exe");
  // The show command keeps its low 15 bits only.
  RunProgram(Wide(u"DXSETUP.exe /silent \"a b\""), 0x8001, true);
  EXPECT_EQ(standin::Launches().back().commandLine, "DXSETUP.exe /silent \"a b\"");
  EXPECT_EQ(standin::Launches().back().showWindow, 1);

  // 300 UTF-16 units, letters outside any ANSI code page among them: the first 256 go.
  std::u16string longCommand =
      u"DXSETUP.exe " + std::u16string(144, u'я') + u"日本" + std::u16string(142, u'x');
  RunProgram(WideText{longCommand.c_str(), 300}, SW_SHOWNORMAL, true);
  EXPECT_EQ(standin::Launches().back().commandLine, utf16::ToUtf8(longCommand.substr(0, 256)));

  // A NUL inside ends the command line there; nothing after it is read as command.
  RunProgram(WideText{u"DXSETUP.exe\0 evil", 17}, SW_SHOWNORMAL, true);
  EXPECT_EQ(standin::Launches().back().commandLine, "DXSETUP.exe");
  EXPECT_EQ(ErrorNumber(), 0u);
}

TEST_F(RunProgramTest, UnquotedNameWithBlankIsSplitByThePlatform) {
  standin::AddProgram("X:\\Media\\DirectX9\\Quillmark.exe");
  standin::AddProgram("X:\\Media\\DirectX9\\Quillmark Install.exe");
  RunProgram(Wide(u"Quillmark Install.exe"), SW_SHOWNORMAL, true);
  EXPECT_EQ(standin::Launches().back().image, "X:\\Media\\DirectX9\\Quillmark.exe");
  EXPECT_EQ(standin::Launches().back().commandLine, "Quillmark Install.exe");
}

TEST_F(RunProgramTest, FailedStartsRecordTheirNumberAndReturnAtOnce) {
  struct Case {
    std::u16string_view command;
    BYTE number;
  };
  standin::AddFolder("X:\\Media\\DirectX9\\Folder.exe");
  standin::AddProgram("X:\\Media\\DirectX9\\notes.exe", {.failWith = ERROR_BAD_EXE_FORMAT});
  const Case cases[] = {
      {u"MISSING.exe", kErrorFileNotFound},
      {u"X:\\Nowhere\\DXSETUP.exe", kErrorFileNotFound},  // a folder on its path is missing
      {u"\"X:\\Media\\DirectX9\\Folder.exe\"", kErrorAccessDenied},  // a folder, not a program
      {u"notes.exe", kErrorPathFileAccess},                          // not a program
  };
  for (const Case& c : cases) {
    ErrorScope scope;
    DWORD clock = standin::Now();
    standin::ClearCalls();
    std::string command = utf16::ToUtf8(c.command);
    EXPECT_EQ(RunProgram(Wide(c.command), SW_SHOWNORMAL, true), 0u) << command;
    EXPECT_EQ(ErrorNumber(), c.number) << command;
    EXPECT_EQ(standin::Now(), clock) << "no waiting after a failed start";
    EXPECT_EQ(ProcessCalls().size(), 1u) << "nothing waited for or closed: " << command;
  }
  EXPECT_TRUE(standin::Launches().empty());
}

TEST_F(RunProgramTest, VerdictNeedsBothAFalseResultAndACode) {
  // A start that succeeds but leaves a code behind is a success.
  standin::AddProgram("X:\\Media\\DirectX9\\noisy.exe", {.leaveLastError = 183});
  EXPECT_NE(RunProgram(Wide(u"noisy.exe"), SW_SHOWNORMAL, true), 0u);
  EXPECT_EQ(ErrorNumber(), 0u);
  // A start that fails without a code records nothing either: there is nothing to tell.
  // The wait on the process it did not start fails, and ends there.
  standin::AddProgram("X:\\Media\\DirectX9\\mute.exe", {.failSilently = true});
  EXPECT_EQ(RunProgram(Wide(u"mute.exe"), SW_SHOWNORMAL, true), 0u);
  EXPECT_EQ(ErrorNumber(), 0u);
}

TEST_F(RunProgramTest, SuccessLeavesAnEarlierNumberInPlace) {
  standin::AddProgram("X:\\Media\\DirectX9\\DXSETUP.exe");
  RunProgram(Wide(u"MISSING.exe"), SW_SHOWNORMAL, true);
  RunProgram(Wide(u"DXSETUP.exe"), SW_SHOWNORMAL, true);
  EXPECT_EQ(ErrorNumber(), kErrorFileNotFound);
}

TEST_F(RunProgramTest, AProgramThatNeverEndsKeepsTheLauncherWaiting) {
  standin::AddProgram("X:\\Media\\DirectX9\\DXSETUP.exe", {.runsFor = std::nullopt});
  EXPECT_DEATH(RunProgram(Wide(u"DXSETUP.exe"), SW_SHOWNORMAL, true), "never returns");
}

}  // namespace
