// Sequences compared whole, as tables (tests/shared/sequence_table.h), and the form the
// host tests use besides EXPECT_SEQUENCE: the comparison as an assertion result, whose
// message holds both tables side by side.
#pragma once

#include <string>
#include <vector>

#include "sequence_table.h"

inline ::testing::AssertionResult SameSequence(const std::vector<std::string>& expected,
                                               const std::vector<std::string>& actual) {
  return ::sequence::SequencesMatch("expected", "actual", expected, actual);
}
