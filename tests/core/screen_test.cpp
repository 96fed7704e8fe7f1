#include <gtest/gtest.h>

#include "core/screen.hpp"
#include "support/screen_rows.hpp"

namespace {

TEST(ScreenWriting, CharactersAdvanceTheCursorAndTakeTheCurrentAttribute) {
    Screen screen;
    screen.set_attribute(0x1F);
    screen.goto_xy(10, 3);
    screen.write("abc");
    EXPECT_EQ(screen.where_x(), 13);
    EXPECT_EQ(screen.where_y(), 3);
    EXPECT_EQ(screen.cell(10, 3), (Screen::Cell{'a', 0x1F}));
    EXPECT_EQ(screen.cell(12, 3), (Screen::Cell{'c', 0x1F}));
    EXPECT_EQ(screen.cell(13, 3), (Screen::Cell{' ', 7}));
}

TEST(ScreenWriting, BackspaceStepsLeftWithoutErasingAndStopsAtColumnOne) {
    Screen screen;
    screen.goto_xy(1, 2);
    screen.write("xy\b");
    EXPECT_EQ(screen.where_x(), 2);
    EXPECT_EQ(screen.row_text(2), full_row("xy"));
    screen.write("\b\b\b");
    EXPECT_EQ(screen.where_x(), 1);
    EXPECT_EQ(screen.row_text(2), full_row("xy"));
}

TEST(ScreenWriting, DotsWithBackspacesLeaveTheCursorOnTheFirstDot) {
    Screen screen;
    screen.goto_xy(5, 4);
    screen.write("ab..\b\b");
    EXPECT_EQ(screen.row_text(4), full_row("    ab.."));
    EXPECT_EQ(screen.where_x(), 7);
    // Backspace, dot, backspace shows a dot in the freed place and stays on it.
    screen.write("\b.\b");
    EXPECT_EQ(screen.row_text(4), full_row("    a..."));
    EXPECT_EQ(screen.where_x(), 6);
}

TEST(ScreenWriting, CarriageReturnAndLineFeedMoveSeparately) {
    Screen screen;
    screen.goto_xy(20, 5);
    screen.write('\n');
    EXPECT_EQ(screen.where_x(), 20);
    EXPECT_EQ(screen.where_y(), 6);
    screen.write('\r');
    EXPECT_EQ(screen.where_x(), 1);
    EXPECT_EQ(screen.where_y(), 6);
}

TEST(ScreenWriting, ColumnEightyWrapsToTheNextRow) {
    Screen screen;
    screen.goto_xy(79, 7);
    screen.write("ABC");
    EXPECT_EQ(screen.cell(79, 7).ch, 'A');
    EXPECT_EQ(screen.cell(80, 7).ch, 'B');
    EXPECT_EQ(screen.cell(1, 8).ch, 'C');
    EXPECT_EQ(screen.where_x(), 2);
    EXPECT_EQ(screen.where_y(), 8);
}

TEST(ScreenWriting, SeventyNineCharactersOnTheLastRowDoNotScroll) {
    Screen screen;
    screen.goto_xy(1, 1);
    screen.write("top");
    screen.goto_xy(1, 25);
    screen.write(std::string(79, '#'));
    EXPECT_EQ(screen.row_text(1), full_row("top"));
    EXPECT_EQ(screen.row_text(25), full_row(std::string(79, '#')));
    EXPECT_EQ(screen.where_x(), 80);
    EXPECT_EQ(screen.where_y(), 25);
}

TEST(ScreenWriting, MovingBelowTheLastRowScrollsEverythingUp) {
    Screen screen;
    screen.goto_xy(1, 1);
    screen.write("first");
    screen.goto_xy(1, 2);
    screen.write("second");
    screen.set_attribute(0x2E);
    screen.goto_xy(1, 25);
    screen.write(std::string(80, '#'));  // the 80th character wraps below row 25
    EXPECT_EQ(screen.row_text(1), full_row("second"));
    EXPECT_EQ(screen.row_text(24), std::string(80, '#'));
    EXPECT_EQ(screen.row_text(25), full_row(""));
    EXPECT_EQ(screen.cell(1, 25).attr, 0x2E);
    EXPECT_EQ(screen.where_x(), 1);
    EXPECT_EQ(screen.where_y(), 25);

    screen.write("\r\n");
    EXPECT_EQ(screen.row_text(23), std::string(80, '#'));
}

TEST(ScreenWriting, ClearFillsWithTheCurrentAttributeAndHomesTheCursor) {
    Screen screen;
    screen.goto_xy(30, 12);
    screen.write("text");
    screen.set_attribute(0x1E);
    screen.clear();
    EXPECT_EQ(screen.where_x(), 1);
    EXPECT_EQ(screen.where_y(), 1);
    for (int row = 1; row <= Screen::kRows; ++row) {
        EXPECT_EQ(screen.row_text(row), full_row(""));
        EXPECT_EQ(screen.cell(80, row).attr, 0x1E);
    }
}

TEST(ScreenWriting, GenerationChangesWithEveryWrite) {
    Screen screen;
    const auto before = screen.generation();
    screen.write('x');
    EXPECT_GT(screen.generation(), before);
    const auto after = screen.generation();
    EXPECT_EQ(screen.generation(), after);
}

}  // namespace
