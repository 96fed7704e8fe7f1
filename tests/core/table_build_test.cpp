#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "core/table_build.hpp"

namespace {

// A build of `entries` entries driven through the pacer as the tables' builds drive it.
struct PacedBuild {
    std::vector<std::uint64_t> beats;
    std::vector<std::uint64_t> polled_before;
    std::vector<int> tenths;
    std::uint64_t stop_before = UINT64_MAX;
    std::uint64_t made = 0;

    BuildHooks hooks() {
        BuildHooks hooks;
        hooks.heartbeat = [this](std::uint64_t at) { beats.push_back(at); };
        hooks.abandon_requested = [this] {
            polled_before.push_back(made);
            return made == stop_before;
        };
        hooks.progress = [this](int shown) { tenths.push_back(shown); };
        return hooks;
    }

    // False when the build was broken off.
    bool run(std::uint64_t entries) {
        const BuildHooks built_hooks = hooks();
        BuildPacer pacer(built_hooks, entries);
        for (made = 0; made < entries; ++made) {
            if (pacer.before_entry(made)) return false;
            pacer.after_entry(made + 1);
        }
        return true;
    }
};

TEST(BuildPacer, BeatsEvery256EntriesAndPollsEvery16FromTheFirst) {
    PacedBuild build;
    ASSERT_TRUE(build.run(513));
    EXPECT_EQ(build.beats, (std::vector<std::uint64_t>{0, 256, 512}));
    ASSERT_EQ(build.polled_before.size(), 33u);
    for (std::size_t poll = 0; poll < build.polled_before.size(); ++poll)
        EXPECT_EQ(build.polled_before[poll], 16 * poll);
}

TEST(BuildPacer, EachTenthOnceWhenItIsReached) {
    const struct {
        std::uint64_t entries;
        std::vector<int> tenths;
    } cases[] = {
        {1, {10}},
        {3, {3, 6, 10}},
        {4, {2, 5, 7, 10}},
        {25, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10}},
        {1001, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.entries);
        PacedBuild build;
        ASSERT_TRUE(build.run(c.entries));
        EXPECT_EQ(build.tenths, c.tenths);
    }
}

TEST(BuildPacer, BreaksOffAtThePollThatAsksItToAndAtNoOther) {
    PacedBuild build;
    build.stop_before = 32;
    EXPECT_FALSE(build.run(100));
    EXPECT_EQ(build.made, 32u);
    EXPECT_EQ(build.polled_before, (std::vector<std::uint64_t>{0, 16, 32}));
    EXPECT_EQ(build.tenths, (std::vector<int>{1, 2, 3}));
}

TEST(BuildPacer, EmptyHooksAreLeftAlone) {
    const BuildHooks none;
    BuildPacer pacer(none, 300);
    for (std::uint64_t made = 0; made < 300; ++made) {
        EXPECT_FALSE(pacer.before_entry(made));
        pacer.after_entry(made + 1);
    }
}

}  // namespace
