// The error state of program procedures, the translation of platform codes and the
// guard around platform calls.
#include <gtest/gtest.h>

#include "error_numbers.h"
#include "runtime/error_state.h"
#include "runtime_fixture.h"
#include "sequence.h"

namespace {

using ErrorStateTest = RuntimeTest;

TEST(TranslateOsError, EachCodeGivesTheNumberOfItsGroup) {
  // Every code below 300 and some far beyond: facility and severity bits are not
  // stripped, so an HRESULT-like code is just large.
  std::vector<DWORD> codes = {0x10057u, 0x80070002u, 0xFFFFFFFFu};
  for (DWORD code = 0; code < 300; ++code) {
    codes.push_back(code);
  }
  std::vector<std::string> expected;
  std::vector<std::string> actual;
  for (DWORD code : codes) {
    expected.push_back(std::to_string(code) + " gives " +
                       std::to_string(error_numbers::Expected(code)));
    actual.push_back(std::to_string(code) + " gives " + std::to_string(TranslateOsError(code)));
  }
  EXPECT_SEQUENCE(expected, actual);
}

TEST_F(ErrorStateTest, RecordsLatestFailureAndSuccessesLeaveIt) {
  EXPECT_EQ(ErrorNumber(), 0u);
  RaiseError(kErrorFileNotFound);
  EXPECT_EQ(ErrorNumber(), kErrorFileNotFound);
  RaiseError(kErrorPathNotFound);
  EXPECT_EQ(ErrorNumber(), kErrorPathNotFound) << "a later failure overwrites an earlier one";
  EXPECT_EQ(ErrorNumber(), kErrorPathNotFound) << "reading leaves the number in place";
}

TEST_F(ErrorStateTest, ZeroIsRecordedAsAnInternalError) {
  RaiseError(0);
  EXPECT_EQ(ErrorNumber(), kErrorInternal);
}

TEST_F(ErrorStateTest, InnermostProcedureReceivesAndEachActivationStartsClean) {
  RaiseError(kErrorAccessDenied);
  {
    ErrorScope inner;
    EXPECT_EQ(ErrorNumber(), 0u) << "a new activation starts clean";
    RaiseError(kErrorFileNotFound);
    EXPECT_EQ(inner.State().number, kErrorFileNotFound);
  }
  EXPECT_EQ(ErrorNumber(), kErrorAccessDenied) << "the outer procedure keeps its own number";
  {
    ErrorScope next;
    EXPECT_EQ(ErrorNumber(), 0u) << "the next activation starts clean again";
    EXPECT_EQ(next.State().flags, 0);
  }
}

// The guard's steps in the order the run time fixes (what each does is checked in both
// rings, tests/shared/both_rings_test.cpp); the guard itself records nothing.
TEST_F(ErrorStateTest, TheGuardSetsTheModeClearsTheCodeAndRestoresInOrder) {
  SetErrorMode(0x4);
  standin::ClearCalls();
  SystemCallVerdict verdict;
  EXPECT_EQ(GuardedSystemCall([] { return 7; }, &verdict), 7);
  EXPECT_SEQUENCE((std::vector<std::string>{"SetErrorMode(0x8001)", "SetLastError(0)",
                                            "GetLastError()", "SetErrorMode(0x4)"}),
                  standin::Calls());
  GuardedSystemCall(
      [] {
        SetLastError(ERROR_ACCESS_DENIED);
        return TRUE;
      },
      &verdict);
  EXPECT_EQ(ErrorNumber(), 0u);
}

TEST(ErrorStateOutsideProcedures, NothingToRecordInto) {
  standin::Reset();
  RaiseError(kErrorFileNotFound);  // no thread slot, no procedure: dropped, no crash
  EXPECT_EQ(ErrorNumber(), 0u);
  ASSERT_TRUE(OpenThreadSlot());
  RaiseError(kErrorFileNotFound);  // slot open but no procedure active
  EXPECT_EQ(ErrorNumber(), 0u);
  CloseThreadSlot();
  EXPECT_EQ(standin::LiveObjects(), std::vector<std::string>{});
}

}  // namespace
