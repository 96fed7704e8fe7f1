#include <gtest/gtest.h>

#include <csignal>
#include <string>

#include "core/screen.hpp"
#include "platform/colour_vt.hpp"
#include "platform/pty_pair.hpp"
#include "platform/terminal.hpp"

namespace {

void expect_shows(const ColourVt& vt, const Screen& screen) {
    for (int row = 1; row <= Screen::kRows; ++row) {
        ASSERT_EQ(vt.row_text(row).substr(0, Screen::kColumns), screen.row_text(row))
            << "row " << row;
        for (int column = 1; column <= Screen::kColumns; ++column) {
            ASSERT_EQ(vt.attr(column, row), screen.cell(column, row).attr)
                << "column " << column << " row " << row;
        }
    }
    EXPECT_EQ(vt.cursor_column(), screen.where_x());
    EXPECT_EQ(vt.cursor_row(), screen.where_y());
    EXPECT_TRUE(vt.unexpected().empty()) << vt.unexpected().front();
}

// Tells the terminal its window changed, as the kernel does for the foreground process.
void resize(PtyPair& pty, PosixTerminal& terminal, int columns, int rows) {
    pty.resize(columns, rows);
    std::raise(SIGWINCH);
    terminal.wait_for_key(0);
}

TEST(TerminalOnPty, DrawsTheModelOnTheAlternateScreen) {
    PtyPair pty(80, 25);
    PosixTerminal terminal(pty.slave(), pty.slave());
    Screen screen;
    screen.set_attribute(0x4E);
    screen.goto_xy(30, 10);
    screen.write("Mirelvanthoque");
    terminal.present(screen);

    ColourVt vt(80, 25);
    vt.feed(pty.read_output());
    EXPECT_TRUE(vt.alternate_screen());
    EXPECT_FALSE(vt.autowrap());
    EXPECT_TRUE(vt.cursor_visible());
    expect_shows(vt, screen);
}

TEST(TerminalOnPty, ResendsOnlyWhatChanged) {
    PtyPair pty(80, 25);
    PosixTerminal terminal(pty.slave(), pty.slave());
    Screen screen;
    terminal.present(screen);
    ColourVt vt(80, 25);
    vt.feed(pty.read_output());

    terminal.present(screen);
    EXPECT_EQ(pty.read_output(30), "") << "nothing changed";

    screen.goto_xy(5, 5);
    screen.set_attribute(0x0A);
    screen.write("ok");
    terminal.present(screen);
    int before = vt.characters_written();
    vt.feed(pty.read_output());
    EXPECT_EQ(vt.characters_written() - before, 2);
    expect_shows(vt, screen);
}

TEST(TerminalOnPty, SmallWindowShowsANoticeUntilItIsLargeEnough) {
    PtyPair pty(80, 25);
    PosixTerminal terminal(pty.slave(), pty.slave());
    Screen screen;
    screen.write("first");
    terminal.present(screen);
    ColourVt vt(80, 25);
    vt.feed(pty.read_output());

    resize(pty, terminal, 70, 20);
    vt.feed(pty.read_output());
    EXPECT_EQ(vt.row_text(1).substr(0, 70),
              "Mirelvanthoque needs 80 x 25 / braucht 80 x 25 (now/jetzt 70 x 20)    ");
    EXPECT_EQ(vt.row_text(2), std::string(80, ' '));

    // Changes while too small wait for the window to grow.
    screen.goto_xy(1, 3);
    screen.write("second");
    terminal.present(screen);
    EXPECT_EQ(pty.read_output(30), "");

    resize(pty, terminal, 79, 25);
    vt.feed(pty.read_output());
    EXPECT_NE(vt.row_text(1).find("now/jetzt 79 x 25"), std::string::npos);

    resize(pty, terminal, 80, 25);
    vt.feed(pty.read_output());
    expect_shows(vt, screen);
}

TEST(TerminalOnPty, EveryResizeRedrawsTheWholeScreen) {
    PtyPair pty(80, 25);
    PosixTerminal terminal(pty.slave(), pty.slave());
    Screen screen;
    screen.write("stays");
    terminal.present(screen);
    pty.read_output();

    resize(pty, terminal, 100, 30);
    ColourVt vt(100, 30);
    vt.feed(std::string(100 * 30, '#'));  // the rest of the window must be cleared too
    int before = vt.characters_written();
    vt.feed(pty.read_output());
    EXPECT_EQ(vt.characters_written() - before, 80 * 25);
    EXPECT_EQ(vt.row_text(26), std::string(100, ' '));
    EXPECT_EQ(vt.row_text(1).substr(80), std::string(20, ' '));
    EXPECT_EQ(vt.row_text(1).substr(0, 5), "stays");
}

TEST(TerminalOnPty, BellRings) {
    PtyPair pty(80, 25);
    PosixTerminal terminal(pty.slave(), pty.slave());
    pty.read_output();
    terminal.bell(440, 500);
    EXPECT_EQ(pty.read_output(), "\a");
}

}  // namespace
