#include "match/worst_case.hpp"

#include <gtest/gtest.h>

#include <array>
#include <map>
#include <sstream>
#include <string>

namespace {

// The printed table for n = 2..9: without repetition, with repetition.
const std::array<std::array<std::string, 2>, 8> kPrinted = {{
    {"(s + 3) div 2", "(s + 4) div 2"},
    {"s = 2..5: 3, 3, 4, 4; s ≥ 6: (s + 10) div 3", "s = 2..5: 3, 3, 4, 5; s ≥ 6: (s + 11) div 3"},
    {"s = 2..11: 4, 4, 4, 4, 5, 5, 6, 6, 7, 7; s ≥ 12: (s + 21) div 4",
     "s = 2..11: 4, 4, 4, 5, 5, 6, 6, 7, 7, 7; s ≥ 12: (s + 21) div 4"},
    {"s = 2..23: 5, 4, 5, 5, 6, 6, 6, 7, 8, 8, 8, 9, 9, 9, 10, 10, 10, 10, 11, 11, 11, 11; "
     "s ≥ 24: (s + 37) div 5",
     "s = 2..23: 5, 4, 5, 5, 6, 6, 7, 7, 8, 8, 9, 9, 9, 9, 10, 10, 10, 11, 11, 11, 11, 12; "
     "s ≥ 24: (s + 37) div 5"},
    {"s = 2..30: 5, 5, 5, 6, 7, 7, 7, 8, 8, 8, 9, 9, 9, 10, 10, 10, 11, 11, 11, 12, 12, 12, 13, "
     "13, 13, 14, 14, 14, 14; s ≥ 31: (s + 60) div 6",
     "s = 2..30: 5, 5, 5, 6, 7, 7, 8, 8, 8, 9, 9, 9, 10, 10, 10, 11, 11, 11, 12, 12, 12, 13, 13, "
     "13, 13, 14, 14, 14, 14; s ≥ 31: (s + 60) div 6"},
    {"s = 2..21: 6, 5, 6, 7, 7, 8, 8, 8, 9, 9, 10, 10, 10, 10, 11, 12, 12, 12, 12, 12; s ≥ 22: 0",
     "s = 2..21: 6, 5, 6, 7, 7, 8, 8, 8, 9, 9, 10, 10, 10, 11, 11, 12, 12, 12, 12, 13; s ≥ 22: 0"},
    {"s = 2..14: 6, 6, 6, 7, 8, 9, 9, 9, 10, 10, 10, 11, 11; s ≥ 15: 0",
     "s = 2..14: 6, 6, 6, 7, 8, 9, 9, 9, 10, 10, 11, 11, 11; s ≥ 15: 0"},
    {"s = 2..10: 7, 6, 7, 8, 9, 10, 10, 11, 11; s ≥ 11: 0", "the same"},
}};

// "(s + a) div b" for s, or a plain number.
int apply_formula(const std::string& formula, int s) {
    if (formula.front() != '(') return std::stoi(formula);
    int offset = 0;
    int divisor = 0;
    EXPECT_EQ(std::sscanf(formula.c_str(), "(s + %d) div %d", &offset, &divisor), 2) << formula;
    return (s + offset) / divisor;
}

// Expands one printed cell into the value for every s = 2..36.
std::map<int, int> expand(const std::string& cell) {
    std::map<int, int> values;
    std::string rest = cell;
    if (rest.rfind("s = ", 0) == 0) {
        const std::size_t colon = rest.find(':');
        const int first = std::stoi(rest.substr(4));
        const int last = std::stoi(rest.substr(rest.find("..") + 2));
        const std::size_t end = rest.find(';');
        std::istringstream list(rest.substr(colon + 1, end - colon - 1));
        std::string value;
        int s = first;
        while (std::getline(list, value, ',')) values[s++] = std::stoi(value);
        EXPECT_EQ(s - 1, last) << cell;
        rest = rest.substr(end + 2);
    }
    int from = 2;
    if (rest.rfind("s ≥ ", 0) == 0) {
        const std::size_t colon = rest.find(':');
        from = std::stoi(rest.substr(std::string("s ≥ ").size(), colon));
        rest = rest.substr(colon + 2);
    }
    for (int s = from; s <= 36; ++s) values[s] = apply_formula(rest, s);
    EXPECT_EQ(values.size(), 35u) << cell;
    return values;
}

TEST(WorstCaseTries, EveryLengthSignCountAndRepetitionAsPrinted) {
    for (int n = 2; n <= 9; ++n) {
        for (const bool repetition : {false, true}) {
            std::string cell = kPrinted[n - 2][repetition ? 1 : 0];
            if (cell == "the same") cell = kPrinted[n - 2][0];
            for (const auto& [s, expected] : expand(cell))
                EXPECT_EQ(worst_case_tries(n, s, repetition, false), expected)
                    << "n " << n << " s " << s << " repetition " << repetition;
        }
    }
}

TEST(WorstCaseTries, VacantSignsChangeOnlyTwoSigns) {
    EXPECT_EQ(worst_case_tries(2, 2, false, true), 2);
    EXPECT_EQ(worst_case_tries(2, 2, true, true), 3);
    const std::array<int, 8> with_vacant = {0, 3, 3, 3, 4, 4, 5, 5};  // n = 2 (above), 3..9
    for (int n = 3; n <= 9; ++n)
        for (const bool repetition : {false, true})
            EXPECT_EQ(worst_case_tries(n, 2, repetition, true), with_vacant[n - 2]) << n;
    for (int n = 2; n <= 9; ++n)
        for (int s = 3; s <= 36; ++s)
            for (const bool repetition : {false, true})
                EXPECT_EQ(worst_case_tries(n, s, repetition, true),
                          worst_case_tries(n, s, repetition, false))
                    << n << " " << s;
}

TEST(WorstCaseTries, NoStatementBeyondTheTable) {
    EXPECT_EQ(worst_case_tries(7, 22, false, false), 0);
    EXPECT_EQ(worst_case_tries(7, 21, true, false), 13);
    EXPECT_EQ(worst_case_tries(1, 10, false, false), 0);
    EXPECT_EQ(worst_case_tries(10, 10, false, false), 0);
    EXPECT_EQ(worst_case_tries(4, 1, false, false), 0);
    EXPECT_EQ(worst_case_tries(4, 37, false, false), 0);
}

}  // namespace
