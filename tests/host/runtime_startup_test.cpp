// Start-up: the command tail, the start-up facts, the thread slot and the exit code.
#include <gtest/gtest.h>

#include <string>

#include "runtime/fpu.h"
#include "runtime/startup.h"
#include "runtime/thread_record.h"
#include "sequence.h"
#include "standin.h"

namespace {

std::string TailOf(const char* commandLine) {
  return SkipProgramName(commandLine);
}

TEST(SkipProgramName, FindsTheTailAfterTheProgramName) {
  struct Case {
    const char* line;
    const char* tail;
  };
  const Case cases[] = {
      {"\"C:\\Program Files\\setup.exe\"  /x", "/x"},  // quoted name, two blanks
      {"\"C:\\a b\\setup.exe\"", ""},
      {"\"C:\\a b\\setup.exe\"/x", "/x"},    // nothing needed between them
      {"\"C:\\unclosed\\setup.exe /x", ""},  // no closing quote: no tail
      {"setup.exe /x /y", "/x /y"},
      {"setup.exe   two", "two"},
      {"setup.exe", ""},
      {"setup.exe\t/x", "\t/x"},  // only the blank separates
      {"setup.exe\x01rest", "\x01rest"},
      {"\tsetup.exe /x", "/x"},  // a leading control character belongs to the name
      {"\x01\x02 /x", "\x02 /x"},
      {"   /x", "/x"},  // leading blanks: an empty name
      {"", ""},
      {"\xC4\xFF\x80.exe arg", "arg"},  // bytes above 0x7F belong to the name
      {"\"\"", ""},
      {"\"", ""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(TailOf(c.line), c.tail) << "command line [" << c.line << "]";
  }
}

TEST(SkipProgramName, NeverPassesTheEnd) {
  // Every single-byte line and every two-byte line; ASan catches a read past the NUL.
  for (int a = 1; a < 256; ++a) {
    char one[2] = {static_cast<char>(a), '\0'};
    const char* tail = SkipProgramName(one);
    EXPECT_TRUE(tail >= one && tail <= one + 1);
    for (int b = 1; b < 256; ++b) {
      char two[3] = {static_cast<char>(a), static_cast<char>(b), '\0'};
      tail = SkipProgramName(two);
      ASSERT_TRUE(tail >= two && tail <= two + 2);
    }
  }
}

class ThreadRecordTest : public ::testing::Test {
 protected:
  void SetUp() override { standin::Reset(); }
  void TearDown() override { EXPECT_EQ(standin::LiveObjects(), std::vector<std::string>{}); }
};

std::u16string Face(const ThreadRecord* record) {
  std::u16string face;
  for (const WCHAR* p = record->defaultFontFace; *p != 0; ++p) {
    face += static_cast<char16_t>(*p);
  }
  return face;
}

TEST_F(ThreadRecordTest, MainRecordHoldsTheDialogFontAndANewThreadCopiesIt) {
  ASSERT_TRUE(OpenThreadSlot());
  ThreadRecord* main = CurrentThreadRecord();
  ASSERT_NE(main, nullptr);
  EXPECT_EQ(Face(main), u"MS Sans Serif");
  EXPECT_EQ(main->defaultFontSize, 8);
  EXPECT_EQ(CurrentThreadRecord(), main) << "made once, then found in the slot";

  // A thread whose slot is still empty gets a record of its own with the same font.
  TlsSetValue(0, nullptr);
  ThreadRecord* other = CurrentThreadRecord();
  ASSERT_NE(other, nullptr);
  EXPECT_NE(other, main);
  EXPECT_EQ(Face(other), u"MS Sans Serif");
  EXPECT_EQ(other->defaultFontSize, 8);
  CloseThreadSlot();  // releases the calling thread's record
  GlobalFree(main);   // the other thread's record is never released by the run time
}

TEST_F(ThreadRecordTest, NoSlotOrNoMemoryFailsTheOpening) {
  standin::FailTlsAlloc(true);
  EXPECT_FALSE(OpenThreadSlot());
  EXPECT_EQ(CurrentThreadRecord(), nullptr);
  standin::FailTlsAlloc(false);

  standin::FailGlobalAllocFrom(1);
  EXPECT_FALSE(OpenThreadSlot());
  standin::FailGlobalAllocFrom(0);
  TlsFree(0);  // the slot that the failed opening left behind
}

class ProcessStartTest : public ::testing::Test {
 protected:
  void SetUp() override {
    standin::Reset();
    standin::SetCommandLine("\"D:\\Setup\\setup.exe\"  /quiet");
  }
  void TearDown() override {
    SetFpuControlWord(0x037F);
    EXPECT_EQ(standin::LiveObjects(), std::vector<std::string>{});
  }
};

TEST_F(ProcessStartTest, LibrariesComeFromTheSystemFolderFirstAndWithoutASlotNoWindowShows) {
  // Before anything else the library search leaves the program's folder, wherever this
  // Windows can: Windows 8 and later (or 7 with its update); XP SP1 and 7 without it take
  // the working directory out; XP goes on as it is.
  const struct {
    std::vector<std::string> hidden;
    std::vector<std::string> restriction;
  } cases[] = {
      {{}, {"SetDefaultDllDirectories(0x800)"}},
      {{"SetDefaultDllDirectories"},
       {"GetProcAddress(kernel32, \"SetDllDirectoryA\")", "SetDllDirectoryA(\"\")"}},
      {{"SetDefaultDllDirectories", "SetDllDirectoryA"},
       {"GetProcAddress(kernel32, \"SetDllDirectoryA\")"}},
  };
  for (const auto& c : cases) {
    SetUp();
    for (const std::string& name : c.hidden) {
      standin::HideExport(name);
    }
    standin::FailTlsAlloc(true);
    EXPECT_EQ(standin::RunProcess(ProcessMain), 255u);
    std::vector<std::string> expected = {"GetModuleHandleA(\"KERNEL32\")",
                                         "GetProcAddress(kernel32, \"SetDefaultDllDirectories\")"};
    expected.insert(expected.end(), c.restriction.begin(), c.restriction.end());
    expected.insert(
        expected.end(),
        {"CoInitialize(NULL)", "GetVersionExA(148)", "GetStartupInfoA(68)", "GetCommandLineA()",
         "GetModuleHandleA(NULL)", "TlsAlloc()", "CoUninitialize()", "ExitProcess(255)"});
    EXPECT_SEQUENCE(expected, standin::Calls());
  }
}

TEST_F(ProcessStartTest, WithoutMemoryForTheRecordTheProcessEndsWith255) {
  standin::FailGlobalAllocFrom(1);
  EXPECT_EQ(standin::RunProcess(ProcessMain), 255u);
  EXPECT_EQ(standin::CallsTo({"CreateDialogIndirectParamA", "GetModuleFileNameW"}),
            std::vector<std::string>{});
  EXPECT_EQ(standin::ComUninitializeCount(), 1);
  TlsFree(0);  // nothing is released on this path
}

TEST_F(ProcessStartTest, StartupFactsAreReadOnce) {
  standin::FailTlsAlloc(true);  // stop before the window: only the facts matter here
  standin::RunProcess(ProcessMain);
  EXPECT_EQ(Startup().showCommand, SW_SHOWDEFAULT);
  EXPECT_STREQ(Startup().commandTail, "/quiet");
  EXPECT_EQ(Startup().instance, GetModuleHandleA(nullptr));
  EXPECT_EQ(Startup().version.dwOSVersionInfoSize, 148u);

  standin::SetStartupInfo(STARTF_USESHOWWINDOW, SW_SHOWMAXIMIZED);
  standin::RunProcess(ProcessMain);
  EXPECT_EQ(Startup().showCommand, SW_SHOWMAXIMIZED);
  standin::SetStartupInfo(0, SW_SHOWMAXIMIZED);  // without the flag the field is ignored
  standin::RunProcess(ProcessMain);
  EXPECT_EQ(Startup().showCommand, SW_SHOWDEFAULT);
}

}  // namespace
