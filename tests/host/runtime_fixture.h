// A fresh stand-in machine with the run time's thread slot open and one program
// procedure active, as when the program entry runs; at the end nothing may be left.
#pragma once

#include <gtest/gtest.h>

#include <memory>

#include "runtime/error_state.h"
#include "runtime/thread_record.h"
#include "standin.h"

class RuntimeTest : public ::testing::Test {
 protected:
  void SetUp() override {
    standin::Reset();
    ASSERT_TRUE(OpenThreadSlot());
    scope_ = std::make_unique<ErrorScope>();
    standin::ClearCalls();
  }

  void TearDown() override {
    scope_.reset();
    CloseThreadSlot();
    EXPECT_EQ(standin::LiveObjects(), std::vector<std::string>{});
  }

 private:
  std::unique_ptr<ErrorScope> scope_;
};
