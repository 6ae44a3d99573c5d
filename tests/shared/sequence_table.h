// Sequences (messages, calls, outcomes of a list of cases) compared whole, as tables.
//
//   EXPECT_SEQUENCE(expected, actual);
//
// Both sides are containers of the same row type; rows are compared with == and printed
// with Describe(row), found next to the row type (or the overloads below for texts and
// numbers). On a difference the whole of both tables is printed side by side, with the
// differing rows marked, so a missing, extra or reordered row is seen at once.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <iterator>
#include <string>
#include <vector>

namespace sequence {

inline std::string Describe(const std::string& row) {
  return row;
}
inline std::string Describe(const char* row) {
  return row != nullptr ? row : "(null)";
}
inline std::string Describe(unsigned long row) {
  return std::to_string(row);
}
inline std::string Describe(long row) {
  return std::to_string(row);
}
inline std::string Describe(unsigned int row) {
  return std::to_string(row);
}
inline std::string Describe(int row) {
  return std::to_string(row);
}

// Both tables side by side, one line per row index; differing rows start with ">".
template <typename Expected, typename Actual>
std::string SideBySide(const Expected& expected, const Actual& actual) {
  std::vector<std::string> left;
  std::vector<std::string> right;
  for (const auto& row : expected) {
    left.push_back(Describe(row));
  }
  for (const auto& row : actual) {
    right.push_back(Describe(row));
  }
  // The expected column is as wide as its longest row, up to a limit; a longer row
  // pushes its actual row to the right.
  std::size_t width = 8;
  for (const std::string& text : left) {
    width = std::min(std::max(width, text.size()), std::size_t{60});
  }
  std::string table =
      "      #  " + std::string("expected") + std::string(width - 8, ' ') + "  actual\n";
  auto e = std::begin(expected);
  auto a = std::begin(actual);
  std::size_t rows = std::max(left.size(), right.size());
  for (std::size_t i = 0; i < rows; ++i) {
    bool haveLeft = i < left.size();
    bool haveRight = i < right.size();
    bool same = haveLeft && haveRight && *e == *a;
    std::string l = haveLeft ? left[i] : "(none)";
    std::string r = haveRight ? right[i] : "(none)";
    std::string number = std::to_string(i);
    table += same ? "    " : "  > ";
    table += std::string(number.size() < 3 ? 3 - number.size() : 0, ' ') + number + "  ";
    table += l + std::string(width - std::min(width, l.size()), ' ') + "  " + r + "\n";
    if (haveLeft) {
      ++e;
    }
    if (haveRight) {
      ++a;
    }
  }
  return table;
}

// The predicate behind EXPECT_SEQUENCE: equal length and every row equal, in order.
template <typename Expected, typename Actual>
testing::AssertionResult SequencesMatch(const char* expectedText, const char* actualText,
                                        const Expected& expected, const Actual& actual) {
  auto expectedRows =
      static_cast<std::size_t>(std::distance(std::begin(expected), std::end(expected)));
  auto actualRows = static_cast<std::size_t>(std::distance(std::begin(actual), std::end(actual)));
  std::size_t same = 0;
  auto e = std::begin(expected);
  auto a = std::begin(actual);
  while (same < expectedRows && same < actualRows && *e == *a) {
    ++same;
    ++e;
    ++a;
  }
  if (same == expectedRows && same == actualRows) {
    return testing::AssertionSuccess();
  }
  return testing::AssertionFailure()
         << "The sequences differ, first at row " << same << ".\n"
         << "  expected: " << expectedText << " (" << expectedRows << " rows)\n"
         << "  actual:   " << actualText << " (" << actualRows << " rows)\n"
         << SideBySide(expected, actual);
}

}  // namespace sequence

#define EXPECT_SEQUENCE(expected, actual) \
  EXPECT_PRED_FORMAT2(::sequence::SequencesMatch, expected, actual)
#define ASSERT_SEQUENCE(expected, actual) \
  ASSERT_PRED_FORMAT2(::sequence::SequencesMatch, expected, actual)
