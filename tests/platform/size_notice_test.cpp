#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "platform/size_notice.hpp"

namespace {

std::vector<std::string> words_of(const std::vector<std::string>& lines) {
    std::vector<std::string> words;
    for (const std::string& line : lines) {
        std::istringstream in(line);
        for (std::string word; in >> word;) words.push_back(word);
    }
    return words;
}

TEST(SizeNotice, OneLineOnAWideTerminal) {
    EXPECT_EQ(size_notice(79, 25),
              std::vector<std::string>{"Mirelvanthoque needs 80 x 25 / braucht 80 x 25 (now/jetzt 79 x 25)"});
}

TEST(SizeNotice, PhrasesStayWholeWhereTheWidthAllows) {
    EXPECT_EQ(size_notice(40, 20), (std::vector<std::string>{"Mirelvanthoque needs 80 x 25 /",
                                                             "braucht 80 x 25 (now/jetzt 40 x 20)"}));
    EXPECT_EQ(size_notice(20, 10), (std::vector<std::string>{"Mirelvanthoque", "needs 80 x 25 /",
                                                             "braucht 80 x 25", "(now/jetzt 20 x 10)"}));
}

TEST(SizeNotice, EveryWidthAndHeightFitsAndKeepsTheWholeTextWhenThereIsRoom) {
    const std::vector<std::string> whole = words_of(size_notice(200, 1));
    for (int columns = 1; columns <= 80; ++columns) {
        for (int rows = 1; rows <= 30; ++rows) {
            const std::vector<std::string> lines = size_notice(columns, rows);
            ASSERT_FALSE(lines.empty());
            EXPECT_LE(lines.size(), static_cast<std::size_t>(rows)) << columns << " x " << rows;
            for (const std::string& line : lines)
                EXPECT_LE(line.size(), static_cast<std::size_t>(columns)) << columns << " x " << rows;
            // Words split for width join up again; with room enough nothing is lost.
            if (columns >= 20 && rows >= 4) {
                std::vector<std::string> expected = whole;
                expected.back() = std::to_string(rows) + ")";
                expected[expected.size() - 3] = std::to_string(columns);
                EXPECT_EQ(words_of(lines), expected) << columns << " x " << rows;
            }
        }
    }
}

TEST(SizeNotice, AWordWiderThanTheTerminalIsSplit) {
    EXPECT_EQ(size_notice(5, 2), (std::vector<std::string>{"Mirel", "vanth"}));
    const std::vector<std::string> one_column = size_notice(1, 25);
    EXPECT_EQ(one_column.size(), 25u);
    EXPECT_EQ(one_column.front(), "M");
}

}  // namespace
