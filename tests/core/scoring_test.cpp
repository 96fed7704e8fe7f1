#include "core/scoring.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <set>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "core/random.hpp"
#include "core/signs.hpp"

namespace {

const SignRing kLetters('a', 'z');

Code code_of(std::string_view text) {
    const auto code = code_from_text(text, static_cast<int>(text.size()), kLetters);
    EXPECT_TRUE(code.has_value()) << text;
    return code.value_or(Code{});
}

// Scores `try_text` against `code_text`; Z is what the screens show beside P.
std::pair<int, int> p_and_z(std::string_view code_text, std::string_view try_text) {
    const Code code = code_of(code_text);
    const Response response = score(code_of(try_text), code, sign_counts(code, 26, false));
    return {response.p, response.z()};
}

using PZ = std::pair<int, int>;

TEST(Scoring, ExamplesOfTheRule) {
    EXPECT_EQ(p_and_z("abca", "aabb"), PZ(1, 2));
    EXPECT_EQ(p_and_z("abcd", "a*dc"), PZ(1, 2));
    EXPECT_EQ(p_and_z("aabb", "bbaa"), PZ(0, 4));
}

TEST(Scoring, TotalIsPPlusZ) {
    const Code code = code_of("abca");
    const Response response = score(code_of("aabb"), code, sign_counts(code, 26, false));
    EXPECT_EQ(response.p, 1);
    EXPECT_EQ(response.t, 3);
}

TEST(Scoring, VacantSignsMatchNothing) {
    for (const char* code : {"abcd", "aaaa", "zyxw"}) EXPECT_EQ(p_and_z(code, "****"), PZ(0, 0));
    EXPECT_EQ(p_and_z("ab", "*a"), PZ(0, 1));
    EXPECT_EQ(p_and_z("ab", "a*"), PZ(1, 0));
}

TEST(Scoring, RepeatedSignsCountAsOftenAsTheScarcerSide) {
    EXPECT_EQ(p_and_z("abcd", "aaaa"), PZ(1, 0));
    EXPECT_EQ(p_and_z("aaab", "abcd"), PZ(1, 1));
    EXPECT_EQ(p_and_z("aabbc", "bbbaa"), PZ(1, 3));
}

TEST(Scoring, AWinningTryHasNoFurtherSigns) {
    for (const char* text : {"a", "ab", "aaab", "zzzzzzzzz", "abcdefghi"}) {
        const int n = static_cast<int>(std::string_view(text).size());
        EXPECT_EQ(p_and_z(text, text), PZ(n, 0)) << text;
    }
}

TEST(Scoring, SignCountsOfACode) {
    const SignCounts counts = sign_counts(code_of("cab*ac"), 26, false);  // vacant never counts
    EXPECT_EQ(counts[0], 0);
    EXPECT_EQ(counts[1], 2);
    EXPECT_EQ(counts[2], 1);
    EXPECT_EQ(counts[3], 2);
    for (int k = 4; k <= kRingSize; ++k) EXPECT_EQ(counts[k], 0) << k;
}

TEST(Scoring, PermutationModeCountsEverySignOnce) {
    const SignRing ring('a', 'e');
    const Code code = *code_from_text("ecadb", 5, ring);
    const SignCounts shortcut = sign_counts(code, 5, true);
    EXPECT_EQ(shortcut, sign_counts(code, 5, false));
    EXPECT_EQ(shortcut[0], 0);
    EXPECT_EQ(shortcut[6], 0);
    // The shortcut does not look at the code at all.
    const SignCounts of_blank_code = sign_counts(Code{}, 5, true);
    EXPECT_EQ(of_blank_code, shortcut);
}

// The rule written out as plainly as possible.
Response reference_score(const Code& try_code, const Code& code, int set_size) {
    Response response;
    for (int i = 0; i < code.length; ++i)
        if (try_code.signs[i] != 0 && try_code.signs[i] == code.signs[i]) ++response.p;
    for (int k = 1; k <= set_size; ++k) {
        int in_try = 0;
        int in_code = 0;
        for (int i = 0; i < code.length; ++i) {
            in_try += try_code.signs[i] == k;
            in_code += code.signs[i] == k;
        }
        response.t = static_cast<std::uint8_t>(response.t + std::min(in_try, in_code));
    }
    return response;
}

TEST(Scoring, AgreesWithThePlainRuleOnRandomCodes) {
    Random random(20240611);
    for (int round = 0; round < 50000; ++round) {
        const int n = 1 + static_cast<int>(random.uniform(9));
        const int s = 2 + static_cast<int>(random.uniform(35));
        Code code;
        Code try_code;
        code.length = try_code.length = n;
        for (int i = 0; i < n; ++i) {
            code.signs[i] = static_cast<SignIndex>(1 + random.uniform(s));
            try_code.signs[i] = static_cast<SignIndex>(random.uniform(s + 1));  // 0: vacant
        }
        ASSERT_EQ(score(try_code, code, sign_counts(code, s, false)),
                  reference_score(try_code, code, s))
            << "round " << round;
    }
}

// The printed table, P/Z per entry in table order.
const std::array<std::string, 9> kPrintedTables = {
    "0/0, 1/0",
    "0/1, 1/0, 0/0, 0/2, 2/0",
    "1/1, 0/1, 0/2, 1/0, 2/0, 0/0, 0/3, 1/2, 3/0",
    "1/1, 1/2, 2/1, 0/2, 0/1, 0/3, 1/0, 2/0, 3/0, 0/0, 0/4, 1/3, 2/2, 4/0",
    "1/1, 1/2, 1/3, 2/1, 2/2, 3/1, 0/2, 0/3, 0/1, 0/4, 1/0, 2/0, 3/0, 4/0, 0/0, 0/5, 1/4, 2/3, "
    "3/2, 5/0",
    "1/2, 1/1, 1/3, 2/1, 1/4, 2/2, 2/3, 3/1, 3/2, 4/1, 0/3, 0/2, 0/4, 0/1, 0/5, 1/0, 2/0, 3/0, "
    "4/0, 5/0, 0/0, 0/6, 1/5, 2/4, 3/3, 4/2, 6/0",
    "1/2, 1/3, 1/1, 1/4, 2/1, 2/2, 2/3, 3/1, 1/5, 2/4, 3/2, 3/3, 4/1, 4/2, 5/1, 0/3, 0/4, 0/2, "
    "0/5, 0/1, 0/6, 1/0, 2/0, 3/0, 4/0, 5/0, 6/0, 0/0, 0/7, 1/6, 2/5, 3/4, 4/3, 5/2, 7/0",
    "1/3, 1/2, 1/4, 2/2, 2/1, 2/3, 3/1, 1/1, 1/5, 2/4, 3/2, 1/6, 3/3, 4/1, 2/5, 3/4, 4/2, 4/3, "
    "5/1, 5/2, 6/1, 0/4, 0/3, 0/5, 0/2, 0/6, 0/1, 0/7, 1/0, 2/0, 3/0, 4/0, 5/0, 6/0, 7/0, 0/0, "
    "0/8, 1/7, 2/6, 3/5, 4/4, 5/3, 6/2, 8/0",
    "1/3, 1/4, 2/2, 1/2, 2/3, 1/5, 2/1, 1/1, 1/6, 2/4, 3/1, 3/2, 1/7, 2/5, 3/3, 2/6, 4/1, 3/4, "
    "4/2, 3/5, 4/3, 5/1, 4/4, 5/2, 5/3, 6/1, 6/2, 7/1, 0/4, 0/5, 0/3, 0/6, 0/2, 0/7, 0/1, 0/8, "
    "1/0, 2/0, 3/0, 4/0, 5/0, 6/0, 7/0, 8/0, 0/0, 0/9, 1/8, 2/7, 3/6, 4/5, 5/4, 6/3, 7/2, 9/0",
};
const std::array<int, 9> kPrintedCounts = {2, 5, 9, 14, 20, 27, 35, 44, 54};

std::vector<PZ> parse_table(const std::string& text) {
    std::vector<PZ> entries;
    std::istringstream in(text);
    std::string item;
    while (std::getline(in, item, ',')) {
        const std::size_t slash = item.find('/');
        entries.emplace_back(std::stoi(item.substr(0, slash)), std::stoi(item.substr(slash + 1)));
    }
    return entries;
}

std::vector<PZ> entries_of(const ResponseTable& table) {
    std::vector<PZ> entries;
    for (int i = 1; i <= table.entry_count(); ++i)
        entries.emplace_back(table.entry(i).p, table.entry(i).z());
    return entries;
}

TEST(ResponseTable, EveryLengthInThePrintedOrder) {
    for (int n = 1; n <= 9; ++n) {
        ResponseTable table;
        ASSERT_TRUE(table.build(n));
        const std::vector<PZ> printed = parse_table(kPrintedTables[n - 1]);
        ASSERT_EQ(static_cast<int>(printed.size()), kPrintedCounts[n - 1]) << n;
        EXPECT_EQ(table.entry_count(), kPrintedCounts[n - 1]) << n;
        EXPECT_EQ(entries_of(table), printed) << "length " << n;
    }
}

TEST(ResponseTable, StoresTheTotalBesideP) {
    ResponseTable table;
    table.build(9);
    EXPECT_EQ(table.entry(1), (Response{1, 4}));   // 1/3
    EXPECT_EQ(table.entry(46), (Response{0, 9}));  // 0/9
    EXPECT_EQ(table.entry(54), (Response{9, 9}));  // 9/0
}

TEST(ResponseTable, HoldsExactlyThePossibleResponses) {
    for (int n = 1; n <= 9; ++n) {
        std::set<PZ> possible;
        for (int p = 0; p <= n; ++p)
            for (int z = 0; p + z <= n; ++z)
                if (!(p == n - 1 && z == 1)) possible.insert({p, z});
        ResponseTable table;
        table.build(n);
        const std::vector<PZ> entries = entries_of(table);
        const std::set<PZ> distinct(entries.begin(), entries.end());
        EXPECT_EQ(distinct.size(), entries.size()) << "duplicates for length " << n;
        EXPECT_EQ(distinct, possible) << n;
        EXPECT_EQ(table.entry_count(), (n + 1) * (n + 2) / 2 - 1);
    }
}

// Every try (vacant signs included) against every code over n signs: what scoring can
// give must be what the table lists.
TEST(ResponseTable, MatchesEveryResponseScoringCanGive) {
    for (int n = 1; n <= 5; ++n) {
        const int s = std::max(n, 2);
        std::array<std::array<bool, 10>, 10> given{};
        Code code;
        code.length = n;
        std::int64_t code_count = 1;
        for (int i = 0; i < n; ++i) code_count *= s;
        for (std::int64_t c = 0; c < code_count; ++c) {
            std::int64_t rest = c;
            for (int i = 0; i < n; ++i, rest /= s)
                code.signs[i] = static_cast<SignIndex>(1 + rest % s);
            const SignCounts counts = sign_counts(code, s, false);
            Code try_code;
            try_code.length = n;
            std::int64_t try_count = 1;
            for (int i = 0; i < n; ++i) try_count *= s + 1;
            for (std::int64_t t = 0; t < try_count; ++t) {
                std::int64_t digits = t;
                for (int i = 0; i < n; ++i, digits /= s + 1)
                    try_code.signs[i] = static_cast<SignIndex>(digits % (s + 1));
                const Response response = score(try_code, code, counts);
                given[response.p][response.z()] = true;
            }
        }
        std::set<PZ> seen;
        for (int p = 0; p < 10; ++p)
            for (int z = 0; z < 10; ++z)
                if (given[p][z]) seen.insert({p, z});
        ResponseTable table;
        table.build(n);
        const std::vector<PZ> entries = entries_of(table);
        EXPECT_EQ(seen, std::set<PZ>(entries.begin(), entries.end())) << n;
    }
}

TEST(ResponseTable, RebuildsOnlyWhenTheLengthChanges) {
    ResponseTable table;
    EXPECT_EQ(table.built_length(), 0);
    EXPECT_EQ(table.entry_count(), 0);
    EXPECT_FALSE(table.build(0));
    EXPECT_TRUE(table.build(4));
    EXPECT_EQ(table.entry_count(), 14);
    EXPECT_FALSE(table.build(4));
    EXPECT_EQ(table.entry_count(), 14);
    EXPECT_EQ(table.built_length(), 4);
    EXPECT_TRUE(table.build(2));
    EXPECT_EQ(table.entry_count(), 5);
    EXPECT_TRUE(table.build(4));
    EXPECT_EQ(table.entry(1), (Response{1, 2}));
}

TEST(ResponseTable, OtherLengthsHaveNoEntries) {
    ResponseTable table;
    table.build(9);
    EXPECT_TRUE(table.build(10));
    EXPECT_EQ(table.entry_count(), 0);
    EXPECT_FALSE(table.build(10));
    EXPECT_TRUE(table.build(-1));
    EXPECT_EQ(table.entry_count(), 0);
    EXPECT_TRUE(table.build(0));
    EXPECT_EQ(table.entry_count(), 0);
}

}  // namespace
