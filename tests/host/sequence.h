// Comparing ordered sequences (platform calls, messages) as whole tables: a failure
// prints the expected and the actual sequence side by side, marking the rows that
// differ.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

inline ::testing::AssertionResult SameSequence(const std::vector<std::string>& expected,
                                               const std::vector<std::string>& actual) {
  if (expected == actual) {
    return ::testing::AssertionSuccess();
  }
  size_t width = 8;
  for (const std::string& row : expected) {
    width = std::max(width, row.size());
  }
  std::string table =
      "\n   " + std::string("expected") + std::string(width - 8, ' ') + " | actual\n";
  size_t rows = std::max(expected.size(), actual.size());
  for (size_t i = 0; i < rows; ++i) {
    std::string left = i < expected.size() ? expected[i] : "";
    std::string right = i < actual.size() ? actual[i] : "";
    bool same = i < expected.size() && i < actual.size() && left == right;
    char number[24];
    std::snprintf(number, sizeof number, "%2zu", i + 1);
    table += (same ? " " : "*") + std::string(number) + " " + left +
             std::string(width - left.size(), ' ') + " | " + right + "\n";
  }
  return ::testing::AssertionFailure() << "sequences differ (rows marked *):" << table;
}

#define EXPECT_SEQUENCE(expected, actual) EXPECT_TRUE(SameSequence(expected, actual))
