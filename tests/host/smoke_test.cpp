#include <gtest/gtest.h>

#include "runtime/startup.h"
#include "standin.h"

TEST(Smoke, ProcessEndsWithZero) {
  standin::Reset();
  EXPECT_EQ(standin::RunProcess(ProcessMain), 0u);
  EXPECT_TRUE(standin::LiveObjects().empty());
}
