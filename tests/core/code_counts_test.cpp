#include <gtest/gtest.h>

#include "core/code_counts.hpp"

namespace {

TEST(CodeCounts, RecordSizesCodeCountsAndTheVacantSign) {
    EXPECT_EQ(candidate_record_size(4, 10), 64u);
    EXPECT_EQ(candidate_record_size(2, 6), 32u);
    EXPECT_EQ(candidate_record_size(9, 36), 96u);
    EXPECT_EQ(code_count(10, 4, false), 5040u);
    EXPECT_EQ(code_count(10, 4, true), 10000u);
    EXPECT_EQ(code_count(36, 6, false), 1402410240u);
    EXPECT_EQ(code_count(36, 9, true), 101559956668416ULL);
    EXPECT_EQ(code_count(3, 5, false), 0u);
    EXPECT_EQ(code_count(5, 5, false), 120u);
    EXPECT_EQ(code_count(2, 9, true), 512u);
    EXPECT_EQ(code_count(36, 1, false), 36u);
    EXPECT_EQ(effective_sign_count(2, 5, true), 3);
    EXPECT_EQ(effective_sign_count(2, 3, true), 2);
    EXPECT_EQ(effective_sign_count(3, 5, true), 3);
    EXPECT_EQ(effective_sign_count(2, 5, false), 2);
}

}  // namespace
