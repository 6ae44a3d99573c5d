// Where the product would wait for ever on the stand-in, the test that got it there
// fails with the reason; the stand-in ends the product's loops and the run goes on.
#include <gtest/gtest.h>

#include "standin_windows.h"

namespace {

class HangReport : public ::testing::Environment {
 public:
  void SetUp() override {
    standin::ReportHangsTo([](const std::string& what) { ADD_FAILURE() << what; });
  }
};

[[maybe_unused]] const auto* const kHangReport =
    ::testing::AddGlobalTestEnvironment(new HangReport);

}  // namespace
