#include "setup/capability_table.hpp"

#include <gtest/gtest.h>

#include <array>
#include <sstream>
#include <string>
#include <vector>

#include "setup/memory_budget.hpp"

namespace {

// The printed table: memory choice, then the entries for code lengths 2..9.
const std::array<std::string, 15> kPrintedRows = {
    "| 1 MiB | 36 | 21 | 10 | 6 | 4 | 3 | 3 | 2 |",
    "| 8 MiB | 36 | 36 | 17 | 9 | 6 | 5 | 4 | 3 |",
    "| 64 MiB | 36 | 36 | 28 | 14 | 9 | 6 | 5 | 4 |",
    "| 128 MiB | 36 | 36 | 34 | 16 | 10 | 7 | 5 | 4 |",
    "| 256 MiB | 36 | 36 | 36 | 19 | 11 | 8 | 6 | 5 |",
    "| 512 MiB | 36 | 36 | 36 | 22 | 13 | 9 | 6 | 5 |",
    "| 1 GiB | 36 | 36 | 36 | 25 | 14 | 10 | 7 | 6 |",
    "| 2 GiB | 36 | 36 | 36 | 29 | 16 | 11 | 8 | 6 |",
    "| 4 GiB | 36 | 36 | 36 | 33 | 18 | 12 | 9 | 7 |",
    "| 8 GiB | 36 | 36 | 36 | 35 | 21 | 13 | 9 | 7 |",
    "| 16 GiB | 36 | 36 | 36 | 36 | 23 | 15 | 10 | 8 |",
    "| 32 GiB | 36 | 36 | 36 | 36 | 26 | 16 | 11 | 8 |",
    "| 64 GiB | 36 | 36 | 36 | 36 | 29 | 18 | 12 | 9 |",
    "| 128 GiB | 36 | 36 | 36 | 36 | 33 | 20 | 13 | 10 |",
    "| 256 GiB | 36 | 36 | 36 | 36 | 35 | 21 | 14 | 10 |",
};

std::vector<std::string> cells_of(const std::string& row) {
    std::vector<std::string> cells;
    std::istringstream in(row.substr(1));
    std::string cell;
    while (std::getline(in, cell, '|')) cells.push_back(cell.substr(1, cell.size() - 2));
    return cells;
}

std::string trimmed(std::string_view text) {
    return std::string(text.substr(text.find_first_not_of(' ')));
}

TEST(CapabilityTable, AllFifteenBudgetsAsPrinted) {
    for (int choice = 1; choice <= 15; ++choice) {
        const std::vector<std::string> cells = cells_of(kPrintedRows[choice - 1]);
        ASSERT_EQ(cells.size(), 9u);
        ASSERT_EQ(cells[0], trimmed(memory_label(choice)));
        CapabilityTable table;
        ASSERT_TRUE(table.refresh(byte_budget(choice)));
        for (int k = 2; k <= 9; ++k)
            EXPECT_EQ(table.entry(k), std::stoi(cells[k - 1])) << cells[0] << " length " << k;
    }
}

TEST(CapabilityTable, LineFor256MiB) {
    CapabilityTable table;
    table.refresh(172359680);
    EXPECT_EQ(table.line(), "36   36   36   19   11    8    6    5");
}

TEST(CapabilityTable, LineShowsADashForNoSigns) {
    CapabilityTable table;
    EXPECT_EQ(table.line(), " -    -    -    -    -    -    -    -");  // before any refresh
    table.refresh(31);  // rounds down to nothing at all
    EXPECT_EQ(table.line(), " -    -    -    -    -    -    -    -");
    table.refresh(673280);
    EXPECT_EQ(table.line(), "36   21   10    6    4    3    3    2");
}

TEST(CapabilityTable, WorkedExamples) {
    CapabilityTable table;
    table.refresh(673280);  // 6^5 nodes of 64 bytes fit, 7^5 do not
    EXPECT_EQ(table.entry(5), 6);
    table.refresh(172359680);  // 5^9 nodes of 64 bytes fit, 6^9 do not
    EXPECT_EQ(table.entry(9), 5);
}

TEST(CapabilityTable, EdgeOfTheNodeRule) {
    CapabilityTable table;
    table.refresh(16807ULL * 64);  // exactly 7^5 nodes of 64 bytes
    EXPECT_EQ(table.entry(5), 7);
    table.refresh(16807ULL * 64 - 1);  // rounded down below them
    EXPECT_EQ(table.entry(5), 6);
    table.refresh(10077696ULL * 64);  // exactly 6^9 nodes of 64 bytes
    EXPECT_EQ(table.entry(9), 6);
    table.refresh(10077696ULL * 64 - 1);
    EXPECT_EQ(table.entry(9), 5);
}

TEST(CapabilityTable, RefreshBuildsOnlyForANewRoundedBudget) {
    CapabilityTable table;
    EXPECT_TRUE(table.refresh(0));  // the first refresh always builds
    EXPECT_FALSE(table.refresh(0));
    EXPECT_TRUE(table.refresh(673280));
    EXPECT_FALSE(table.refresh(673280));
    EXPECT_FALSE(table.refresh(673280 + 31));  // the same multiple of 32
    EXPECT_TRUE(table.refresh(673280 + 32));
    EXPECT_TRUE(table.refresh(673280));
}

TEST(CapabilityTable, LengthsOutsideTheTable) {
    CapabilityTable table;
    table.refresh(176473500000ULL);
    EXPECT_EQ(table.entry(1), 0);
    EXPECT_EQ(table.entry(10), 0);
    EXPECT_EQ(table.entry(2), 36);
}

}  // namespace
