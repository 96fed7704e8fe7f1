#include <gtest/gtest.h>

#include "match/preparation.hpp"

namespace {

// Only a lack of the machine's memory is said on screen; every other failure ends the match
// without a word.
TEST(Preparation, OnlyTooLargeForTheMachineIsTold) {
    EXPECT_EQ(preparation_of(BuildResult::Built), Preparation::Ready);
    EXPECT_EQ(preparation_of(BuildResult::TooLargeForMachine), Preparation::TooLargeForMachine);
    EXPECT_EQ(preparation_of(BuildResult::Abandoned), Preparation::Abandoned);
    EXPECT_EQ(preparation_of(BuildResult::NoRoom), Preparation::Abandoned);
}

}  // namespace
