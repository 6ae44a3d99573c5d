// The Windows version this copy of the suite runs under. The prefix is set to it before
// the suite starts (see CMakeLists.txt); reading it back shows that the setting has taken
// effect. The installers that setup.exe starts report the same version in their records.
#include <gtest/gtest.h>

#include <map>
#include <string>

#include "wizard_driver.h"

#ifndef E2E_WINDOWS_VERSION
#error "E2E_WINDOWS_VERSION names the Windows version of the prefix (winxp, win7, win10)"
#endif

namespace {

TEST(WindowsVersion, IsTheOneThePrefixWasSetTo) {
  const std::map<std::string, std::string> kVersions = {
      {"winxp", "5.1"}, {"win7", "6.1"}, {"win10", "10.0"}};
  auto expected = kVersions.find(E2E_WINDOWS_VERSION);
  ASSERT_NE(expected, kVersions.end()) << "no version number known for " << E2E_WINDOWS_VERSION;
  EXPECT_EQ(e2e::WindowsVersion(), expected->second) << "prefix set to " << E2E_WINDOWS_VERSION;
}

}  // namespace
