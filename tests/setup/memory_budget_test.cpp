#include "setup/memory_budget.hpp"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace {

// The printed table: choice | key(s) on the configuration page | label | byte budget.
const std::array<std::string, 15> kPrintedRows = {
    R"(| 1 | 1 | "  1 MiB" | 673280 |)",           R"(| 2 | 2 | "  8 MiB" | 5386240 |)",
    R"(| 3 | 3 | " 64 MiB" | 43089920 |)",         R"(| 4 | 4 | "128 MiB" | 86179840 |)",
    R"(| 5 | 5 | "256 MiB" | 172359680 |)",        R"(| 6 | 6 | "512 MiB" | 344719360 |)",
    R"(| 7 | 7 | "  1 GiB" | 689438720 |)",        R"(| 8 | 8 | "  2 GiB" | 1378877440 |)",
    R"(| 9 | a, A | "  4 GiB" | 2757754880 |)",    R"(| 10 | b, B | "  8 GiB" | 5515509760 |)",
    R"(| 11 | c, C | " 16 GiB" | 11031019520 |)",  R"(| 12 | d, D | " 32 GiB" | 22062039040 |)",
    R"(| 13 | e, E | " 64 GiB" | 44124078080 |)",  R"(| 14 | f, F | "128 GiB" | 88248156160 |)",
    R"(| 15 | g, G | "256 GiB" | 176473500000 |)",
};

struct PrintedChoice {
    int choice;
    std::string keys;
    std::string label;
    std::uint64_t budget;
};

PrintedChoice parse_row(const std::string& row) {
    std::vector<std::string> cells;
    std::size_t start = 1;
    for (std::size_t bar = row.find('|', start); bar != std::string::npos;
         bar = row.find('|', start)) {
        cells.push_back(row.substr(start + 1, bar - start - 2));  // drop the framing blanks
        start = bar + 1;
    }
    return {std::stoi(cells[0]), cells[1], cells[2].substr(1, cells[2].size() - 2),
            std::stoull(cells[3])};
}

TEST(MemoryChoices, LabelsBudgetsAndKeysAsPrinted) {
    for (const std::string& row : kPrintedRows) {
        const PrintedChoice printed = parse_row(row);
        SCOPED_TRACE(row);
        ASSERT_EQ(printed.label.size(), 7u);
        EXPECT_EQ(memory_label(printed.choice), printed.label);
        EXPECT_EQ(byte_budget(printed.choice), printed.budget);
        EXPECT_EQ(memory_choice_key(printed.choice), printed.keys[0]);
        for (const char key : printed.keys) {
            if (key != ',' && key != ' ') {
                EXPECT_EQ(memory_choice_of_key(key), printed.choice) << key;
            }
        }
    }
}

TEST(MemoryChoices, BudgetIs673280BytesPerMiBButTheLargestIsRounder) {
    const std::array<std::uint64_t, 14> mebibytes = {1,    8,    64,   128,   256,   512,   1024,
                                                     2048, 4096, 8192, 16384, 32768, 65536, 131072};
    for (int choice = 1; choice <= 14; ++choice)
        EXPECT_EQ(byte_budget(choice), mebibytes[choice - 1] * 673280ULL) << choice;
    EXPECT_EQ(byte_budget(15), 176473500000ULL);
    EXPECT_NE(byte_budget(15), 262144ULL * 673280ULL);
    EXPECT_LT(byte_budget(15), 262144ULL * 673280ULL);
}

TEST(MemoryChoices, KeysThatChooseNothing) {
    for (const char key : {'0', '9', 'h', 'H', 'z', ' ', '\r', '*'})
        EXPECT_EQ(memory_choice_of_key(key), 0) << key;
}

TEST(MemoryChoices, StoredValuesOutsideTheRangeBecomeTheDefault) {
    EXPECT_EQ(kDefaultMemoryChoice, 5);
    EXPECT_EQ(valid_memory_choice(0), 5);
    EXPECT_EQ(valid_memory_choice(16), 5);
    EXPECT_EQ(valid_memory_choice(255), 5);
    EXPECT_EQ(valid_memory_choice(1), 1);
    EXPECT_EQ(valid_memory_choice(15), 15);
    EXPECT_FALSE(is_memory_choice(0));
    EXPECT_FALSE(is_memory_choice(16));
    EXPECT_EQ(byte_budget(valid_memory_choice(0)), 172359680ULL);
    EXPECT_EQ(byte_budget(16), 172359680ULL);
    EXPECT_EQ(memory_label(0), "256 MiB");
}

}  // namespace
