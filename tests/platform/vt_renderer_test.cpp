#include "platform/vt_renderer.hpp"

#include <gtest/gtest.h>

#include <random>
#include <string>

#include "platform/colour_vt.hpp"

namespace {

void expect_shows(const ColourVt& vt, const Screen& screen) {
    for (int row = 1; row <= Screen::kRows; ++row) {
        for (int column = 1; column <= Screen::kColumns; ++column) {
            ASSERT_EQ(vt.ch(column, row), screen.cell(column, row).ch)
                << "column " << column << " row " << row;
            ASSERT_EQ(vt.attr(column, row), screen.cell(column, row).attr)
                << "column " << column << " row " << row;
        }
    }
    EXPECT_EQ(vt.cursor_column(), screen.where_x());
    EXPECT_EQ(vt.cursor_row(), screen.where_y());
    EXPECT_TRUE(vt.cursor_visible());
    EXPECT_TRUE(vt.unexpected().empty()) << vt.unexpected().front();
}

int count_of(const std::string& text, const std::string& part) {
    int count = 0;
    for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) {
        ++count;
    }
    return count;
}

TEST(TerminalRenderer, FirstFrameDrawsEveryCell) {
    Screen screen;
    screen.set_attribute(0x1E);
    screen.goto_xy(3, 2);
    screen.write("Hallo");
    VtRenderer renderer;
    ColourVt vt(80, 25);
    vt.feed(std::string(80 * 25, 'X'));  // whatever was there before
    vt.feed(renderer.update(Frame::of(screen)));
    EXPECT_EQ(vt.characters_written(), 2 * 80 * 25);
    expect_shows(vt, screen);
}

TEST(TerminalRenderer, UnchangedFrameSendsNothing) {
    Screen screen;
    screen.write("abc");
    VtRenderer renderer;
    renderer.update(Frame::of(screen));
    EXPECT_EQ(renderer.update(Frame::of(screen)), "");
}

TEST(TerminalRenderer, CursorMoveAloneIsOnePositioning) {
    Screen screen;
    VtRenderer renderer;
    renderer.update(Frame::of(screen));
    screen.goto_xy(10, 5);
    EXPECT_EQ(renderer.update(Frame::of(screen)), "\x1b[5;10H");
}

TEST(TerminalRenderer, OnlyChangedCellsAreSent) {
    Screen screen;
    VtRenderer renderer;
    ColourVt vt(80, 25);
    vt.feed(renderer.update(Frame::of(screen)));
    int before = vt.characters_written();

    screen.goto_xy(40, 12);
    screen.write("xyz");
    screen.goto_xy(1, 25);
    screen.write('q');
    std::string update = renderer.update(Frame::of(screen));
    vt.feed(update);
    EXPECT_EQ(vt.characters_written() - before, 4);
    EXPECT_EQ(count_of(update, "m"), 0) << "no colour change needed";
    // One positioning per run; after "q" the cursor already stands where the model has it.
    EXPECT_EQ(count_of(update, "H"), 2);
    expect_shows(vt, screen);
}

TEST(TerminalRenderer, ColourChangesOnlyWhereTheAttributeChanges) {
    Screen screen;
    VtRenderer renderer;
    ColourVt vt(80, 25);
    vt.feed(renderer.update(Frame::of(screen)));
    int changes_before = vt.colour_changes();

    screen.goto_xy(1, 3);
    screen.set_attribute(0x1E);  // yellow on blue
    screen.write("ten cells!");
    screen.goto_xy(1, 4);
    screen.write("and ten more");
    screen.set_attribute(0x1F);  // white on blue: only the text colour changes
    screen.write("W");
    std::string update = renderer.update(Frame::of(screen));
    vt.feed(update);
    EXPECT_EQ(vt.colour_changes() - changes_before, 2);
    EXPECT_NE(update.find("\x1b[93;44m"), std::string::npos);
    EXPECT_NE(update.find("\x1b[97m"), std::string::npos);
    expect_shows(vt, screen);
}

TEST(TerminalRenderer, PcPaletteMapsToSgrColours) {
    // PC colour -> SGR foreground; blue and red, cyan and brown swap places.
    const int expected_foreground[16] = {30, 34, 32, 36, 31, 35, 33, 37,
                                         90, 94, 92, 96, 91, 95, 93, 97};
    const int expected_background[8] = {40, 44, 42, 46, 41, 45, 43, 47};
    for (int colour = 0; colour < 16; ++colour) {
        Screen screen;
        screen.set_attribute(static_cast<std::uint8_t>((colour % 8) * 16 + colour));
        screen.write('#');
        VtRenderer renderer;
        std::string update = renderer.update(Frame::of(screen));
        std::string first_colours = "\x1b[0;" + std::to_string(expected_foreground[colour]) + ';' +
                                    std::to_string(expected_background[colour % 8]) + "m#";
        EXPECT_NE(update.find(first_colours), std::string::npos) << "colour " << colour;
    }
}

TEST(TerminalRenderer, InvalidateDrawsEverythingAgain) {
    Screen screen;
    screen.write("keep me");
    VtRenderer renderer;
    renderer.update(Frame::of(screen));
    renderer.invalidate();
    ColourVt vt(80, 25);
    std::string update = renderer.update(Frame::of(screen));
    vt.feed(update);
    EXPECT_EQ(vt.characters_written(), 80 * 25);
    EXPECT_EQ(update.find("\x1b[?25l\x1b[1;1H\x1b[0;37;40m"), 0u);
    expect_shows(vt, screen);
}

TEST(TerminalRenderer, CharactersOutsidePrintableAsciiShowAsQuestionMarks) {
    Screen screen;
    screen.write('\t');
    screen.write('\x7f');
    screen.write('\xe4');
    VtRenderer renderer;
    ColourVt vt(80, 25);
    vt.feed(renderer.update(Frame::of(screen)));
    EXPECT_EQ(vt.row_text(1).substr(0, 4), "??? ");
    EXPECT_TRUE(vt.unexpected().empty());
}

TEST(TerminalRenderer, RandomEditsKeepTheTerminalEqualToTheModel) {
    std::mt19937 random(4711);
    Screen screen;
    VtRenderer renderer;
    ColourVt vt(80, 25);
    for (int frame = 0; frame < 200; ++frame) {
        int edits = static_cast<int>(random() % 20);
        for (int i = 0; i < edits; ++i) {
            screen.goto_xy(1 + static_cast<int>(random() % 80), 1 + static_cast<int>(random() % 25));
            screen.set_attribute(static_cast<std::uint8_t>(random() & 0x7F));
            std::string text(random() % 30, ' ');
            for (char& ch : text) ch = static_cast<char>('!' + random() % 90);
            screen.write(text);
        }
        if (frame % 50 == 49) screen.clear();
        vt.feed(renderer.update(Frame::of(screen)));
        SCOPED_TRACE("frame " + std::to_string(frame));
        expect_shows(vt, screen);
        if (HasFatalFailure()) return;
    }
}

}  // namespace
