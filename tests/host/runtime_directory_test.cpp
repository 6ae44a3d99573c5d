// Changing the working directory.
#include <gtest/gtest.h>

#include <string>

#include "runtime/directory.h"
#include "runtime_fixture.h"
#include "sequence.h"

namespace {

class ChangeDirectoryTest : public RuntimeTest {
 protected:
  void SetUp() override {
    RuntimeTest::SetUp();
    standin::AddFolder("X:\\Media\\DirectX9");
    standin::SetCurrentDirectory("X:\\Media\\DirectX9");
  }

  static std::vector<std::string> DirectoryCalls() {
    return standin::CallsTo({"SetCurrentDirectoryA"});
  }
};

TEST_F(ChangeDirectoryTest, MovesOneLevelUpAndRecordsNothing) {
  ChangeDirectory(TextOf("..\\"));
  std::vector<std::string> calls = standin::Calls();
  EXPECT_EQ(standin::CurrentDirectory(), "X:\\Media");
  EXPECT_EQ(ErrorNumber(), 0u);
  EXPECT_SEQUENCE((std::vector<std::string>{"SetErrorMode(0x8001)", "SetLastError(0)",
                                            "SetCurrentDirectoryA(\"..\\\")", "GetLastError()",
                                            "SetErrorMode(0x0)"}),
                  calls);
}

TEST_F(ChangeDirectoryTest, WildcardsRecordAMissingPathWithoutAskingThePlatform) {
  for (const char* path : {"X:\\Media\\*", "X:\\Me?ia", "*"}) {
    ErrorScope scope;
    ChangeDirectory(TextOf(path));
    EXPECT_EQ(ErrorNumber(), kErrorPathNotFound) << path;
  }
  // Every copied character is scanned, also those after an embedded NUL.
  {
    ErrorScope scope;
    ChangeDirectory(Text{"X:\\Media\0*", 10});
    EXPECT_EQ(ErrorNumber(), kErrorPathNotFound);
  }
  EXPECT_EQ(DirectoryCalls(), std::vector<std::string>{});
  EXPECT_EQ(standin::CurrentDirectory(), "X:\\Media\\DirectX9");
}

TEST_F(ChangeDirectoryTest, OnlyTheFirst255CharactersCount) {
  // A wildcard at position 256 lies beyond the cut: the platform gets the 255 before it.
  std::string path = "..\\" + std::string(252, 'a') + "*";
  ChangeDirectory(Text{path.c_str(), static_cast<DWORD>(path.size())});
  ASSERT_EQ(DirectoryCalls().size(), 1u);
  EXPECT_EQ(DirectoryCalls()[0], "SetCurrentDirectoryA(\"" + path.substr(0, 255) + "\")");

  std::string longPath(300, 'b');
  standin::ClearCalls();
  ChangeDirectory(Text{longPath.c_str(), 300});
  EXPECT_EQ(DirectoryCalls(),
            std::vector<std::string>{"SetCurrentDirectoryA(\"" + longPath.substr(0, 255) + "\")"});
}

TEST_F(ChangeDirectoryTest, RefusalsAreTranslatedWithAMissingFileReadAsAMissingPath) {
  struct Case {
    const char* path;
    BYTE number;
  };
  standin::AddFolder("X:\\Locked", {.refuseWith = ERROR_ACCESS_DENIED});
  standin::AddFolder("X:\\NoMedium", {.refuseWith = ERROR_NOT_READY});
  standin::AddFolder("X:\\Odd", {.refuseWith = ERROR_INVALID_DRIVE});
  const Case cases[] = {
      {"X:\\Media\\Missing", kErrorPathNotFound},   // the platform says 2 (file not found)
      {"X:\\Missing\\Deeper", kErrorPathNotFound},  // the platform says 3 (path not found)
      {"X:\\Locked", kErrorAccessDenied},
      {"X:\\NoMedium", kErrorDiskNotReady},
      {R"(X:\Odd)", kErrorDeviceUnavailable},  // an invalid drive
      {"", kErrorPathFileAccess},              // the platform calls an empty path an invalid name
      {R"(X:\Media\DirectX9\..\..)", 0},       // fine: no number
  };
  for (const Case& c : cases) {
    ErrorScope scope;
    standin::SetCurrentDirectory("X:\\Media\\DirectX9");
    ChangeDirectory(TextOf(c.path));
    EXPECT_EQ(ErrorNumber(), c.number) << '"' << c.path << '"';
  }
  EXPECT_EQ(standin::CurrentDirectory(), "X:\\");
}

TEST_F(ChangeDirectoryTest, VerdictRestsOnTheCodeNotTheResult) {
  standin::AddFolder("X:\\Noisy", {.leaveLastError = 183});
  standin::AddFolder("X:\\Mute", {.refuseSilently = true});
  {
    ErrorScope scope;
    ChangeDirectory(TextOf("X:\\Noisy"));
    EXPECT_EQ(ErrorNumber(), kErrorPathFileAccess)
        << "a change that leaves a code behind counts as failed";
    EXPECT_EQ(standin::CurrentDirectory(), "X:\\Noisy");
  }
  {
    ErrorScope scope;
    ChangeDirectory(TextOf("X:\\Mute"));
    EXPECT_EQ(ErrorNumber(), 0u) << "a refusal without a code counts as done";
    EXPECT_EQ(standin::CurrentDirectory(), "X:\\Noisy");
  }
}

TEST_F(ChangeDirectoryTest, LaterFailureOverwritesAndSuccessLeavesTheNumber) {
  standin::AddFolder("X:\\Locked", {.refuseWith = ERROR_ACCESS_DENIED});
  ChangeDirectory(TextOf("X:\\Missing"));
  EXPECT_EQ(ErrorNumber(), kErrorPathNotFound);
  ChangeDirectory(TextOf("X:\\Locked"));
  EXPECT_EQ(ErrorNumber(), kErrorAccessDenied);
  ChangeDirectory(TextOf("..\\"));
  EXPECT_EQ(ErrorNumber(), kErrorAccessDenied);
  EXPECT_EQ(standin::CurrentDirectory(), "X:\\Media");
}

}  // namespace
