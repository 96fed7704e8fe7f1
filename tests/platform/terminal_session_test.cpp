#include <fcntl.h>
#include <poll.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <filesystem>
#include <string>
#include <thread>

#include "core/screen.hpp"
#include "platform/colour_vt.hpp"
#include "platform/pty_pair.hpp"
#include "platform/temporary_file.hpp"
#include "platform/terminal.hpp"

namespace {

using Milliseconds = std::chrono::milliseconds;

termios modes_of(int fd) {
    termios modes{};
    tcgetattr(fd, &modes);
    return modes;
}

void expect_same_modes(const termios& actual, const termios& expected) {
    EXPECT_EQ(actual.c_iflag, expected.c_iflag);
    EXPECT_EQ(actual.c_oflag, expected.c_oflag);
    EXPECT_EQ(actual.c_cflag, expected.c_cflag);
    EXPECT_EQ(actual.c_lflag, expected.c_lflag);
}

Milliseconds since(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration_cast<Milliseconds>(std::chrono::steady_clock::now() - start);
}

Milliseconds cpu_time() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    auto micros = [](const timeval& t) { return t.tv_sec * 1000000LL + t.tv_usec; };
    return Milliseconds((micros(usage.ru_utime) + micros(usage.ru_stime)) / 1000);
}

TEST(TerminalSession, RawModeWhileRunningThenTheOldModesAndTheClosingLines) {
    PtyPair pty(80, 25);
    const termios before = modes_of(pty.slave());
    ColourVt vt(80, 25);
    {
        PosixTerminal terminal(pty.slave(), pty.slave());
        termios raw = modes_of(pty.slave());
        EXPECT_EQ(raw.c_lflag & (ECHO | ICANON | ISIG | IEXTEN), 0u);
        EXPECT_EQ(raw.c_iflag & (IXON | ICRNL), 0u);
        EXPECT_EQ(raw.c_oflag & OPOST, before.c_oflag & OPOST);

        Screen screen;
        screen.write("im Spiel");
        terminal.present(screen);
        vt.feed(pty.read_output());
        ASSERT_TRUE(vt.alternate_screen());

        terminal.shut_down({"Auf Wiedersehen.", "Good bye."});
        expect_same_modes(modes_of(pty.slave()), before);
        std::string output = pty.read_output();
        std::string closing = "Auf Wiedersehen.\r\nGood bye.\r\n";
        ASSERT_GE(output.size(), closing.size());
        EXPECT_EQ(output.substr(output.size() - closing.size()), closing);
        vt.feed(output.substr(0, output.size() - closing.size()));
        EXPECT_FALSE(vt.alternate_screen());
        EXPECT_TRUE(vt.cursor_visible());
        EXPECT_TRUE(vt.autowrap());

        terminal.present(screen);  // after the end nothing more is drawn
    }
    EXPECT_EQ(pty.read_output(30), "") << "the destructor must not restore twice";
}

TEST(TerminalSession, DestructorRestoresWithoutShutDown) {
    PtyPair pty(80, 25);
    const termios before = modes_of(pty.slave());
    {
        PosixTerminal terminal(pty.slave(), pty.slave());
        pty.read_output();
    }
    expect_same_modes(modes_of(pty.slave()), before);
    ColourVt vt(80, 25);
    vt.feed("\x1b[?1049h");
    vt.feed(pty.read_output());
    EXPECT_FALSE(vt.alternate_screen());
    EXPECT_TRUE(vt.cursor_visible());
}

TEST(TerminalSession, TypedBytesBecomeKeys) {
    PtyPair pty(80, 25);
    PosixTerminal terminal(pty.slave(), pty.slave());
    pty.type("\x1b[Ax\x03\x13\r\x1b[3;5~");
    ASSERT_TRUE(terminal.wait_for_key(1000));
    EXPECT_EQ(terminal.take_key(), (Key{72, true}));
    EXPECT_EQ(terminal.take_key(), (Key{'x', false}));
    EXPECT_EQ(terminal.take_key(), (Key{3, false})) << "Ctrl-C is a key, not a signal";
    EXPECT_EQ(terminal.take_key(), (Key{19, false})) << "Ctrl-S is a key, not flow control";
    EXPECT_EQ(terminal.take_key(), (Key{13, false}));
    EXPECT_EQ(terminal.take_key(), (Key{6, true}));
    EXPECT_FALSE(terminal.wait_for_key(0));
}

TEST(TerminalSession, LoneEscArrivesAfterAShortPause) {
    PtyPair pty(80, 25);
    PosixTerminal terminal(pty.slave(), pty.slave());
    pty.type("\x1b");
    auto start = std::chrono::steady_clock::now();
    ASSERT_TRUE(terminal.wait_for_key(2000));
    EXPECT_GE(since(start), PosixTerminal::kSequenceGap - Milliseconds(5));
    EXPECT_LT(since(start), Milliseconds(1000));
    EXPECT_EQ(terminal.take_key(), (Key{27, false}));
}

TEST(TerminalSession, LoneEscArrivesWhileOnlyLooking) {
    PtyPair pty(80, 25);
    PosixTerminal terminal(pty.slave(), pty.slave());
    pty.type("\x1b");
    EXPECT_FALSE(terminal.wait_for_key(0));
    std::this_thread::sleep_for(PosixTerminal::kSequenceGap + Milliseconds(10));
    EXPECT_TRUE(terminal.wait_for_key(0));
    EXPECT_EQ(terminal.take_key(), (Key{27, false}));
}

TEST(TerminalSession, SequenceSplitAcrossReads) {
    PtyPair pty(80, 25);
    PosixTerminal terminal(pty.slave(), pty.slave());
    pty.type("\x1b[1;");
    EXPECT_FALSE(terminal.wait_for_key(5));
    pty.type("5D");
    ASSERT_TRUE(terminal.wait_for_key(1000));
    EXPECT_EQ(terminal.take_key(), (Key{115, true}));
    EXPECT_FALSE(terminal.wait_for_key(0));

    // The rest came in time but was read late (the game was busy): still one key.
    pty.type("\x1b[1;");
    EXPECT_FALSE(terminal.wait_for_key(0));
    pty.type("3C");
    std::this_thread::sleep_for(PosixTerminal::kSequenceGap * 2);
    ASSERT_TRUE(terminal.wait_for_key(0));
    EXPECT_EQ(terminal.take_key(), (Key{157, true}));
}

TEST(TerminalSession, WaitingSleepsInsteadOfSpinning) {
    PtyPair pty(80, 25);
    PosixTerminal terminal(pty.slave(), pty.slave());
    Milliseconds cpu_before = cpu_time();
    auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(terminal.wait_for_key(300));
    EXPECT_GE(since(start), Milliseconds(295));

    pty.type("\x1b[");  // a cut sequence: dropped after the gap, then plain waiting again
    EXPECT_FALSE(terminal.wait_for_key(300));
    EXPECT_LT(cpu_time() - cpu_before, Milliseconds(60));
}

TEST(TerminalSession, HangUpLosesTheTerminal) {
    PtyPair pty(80, 25);
    PosixTerminal terminal(pty.slave(), pty.slave());
    pty.read_output();
    EXPECT_FALSE(terminal.lost());
    pty.hang_up();
    auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < 3; ++i) ASSERT_TRUE(terminal.wait_for_key(-1));
    EXPECT_LT(since(start), Milliseconds(500));
    ASSERT_TRUE(terminal.lost());
    EXPECT_EQ(terminal.lost()->signal_number, 0);
    Screen screen;
    terminal.present(screen);  // writing to a gone terminal must not hang or fail
}

TEST(TerminalSession, AnEndingSignalWakesTheWaitAndLosesTheTerminal) {
    PtyPair pty(80, 25);
    PosixTerminal terminal(pty.slave(), pty.slave());
    auto start = std::chrono::steady_clock::now();
    std::raise(SIGUSR1);
    EXPECT_TRUE(terminal.wait_for_key(-1));
    EXPECT_LT(since(start), Milliseconds(200));
    ASSERT_TRUE(terminal.lost());
    EXPECT_EQ(terminal.lost()->signal_number, SIGUSR1);
    // Given back before the guard's watchdog would end this process.
}

TEST(TerminalSession, AContinueRedrawsTheWholeScreen) {
    PtyPair pty(80, 25);
    PosixTerminal terminal(pty.slave(), pty.slave());
    Screen screen;
    screen.goto_xy(3, 4);
    screen.write("noch da");
    terminal.present(screen);
    ColourVt vt(80, 25);
    vt.feed(pty.read_output());
    EXPECT_EQ(vt.row_text(4).substr(2, 7), "noch da");

    std::raise(SIGCONT);
    EXPECT_FALSE(terminal.wait_for_key(50));
    const std::string again = pty.read_output();
    EXPECT_NE(again.find("\x1b[?1049h"), std::string::npos) << "the alternate screen taken again";
    ColourVt fresh(80, 25);
    fresh.feed(again);
    EXPECT_EQ(fresh.row_text(4).substr(2, 7), "noch da");
    EXPECT_FALSE(terminal.lost());
}

TEST(TerminalSession, WorksOnPlainPipes) {
    int input[2];
    int output[2];
    ASSERT_EQ(pipe(input), 0);
    ASSERT_EQ(pipe(output), 0);
    {
        PosixTerminal terminal(input[0], output[1]);
        ASSERT_EQ(write(input[1], "ab\x1b", 3), 3);
        close(input[1]);
        Screen screen;
        screen.write("piped");
        terminal.present(screen);
        EXPECT_EQ(terminal.take_key(), (Key{'a', false}));
        EXPECT_EQ(terminal.take_key(), (Key{'b', false}));
        EXPECT_EQ(terminal.take_key(), (Key{27, false})) << "the ESC before the end";
        EXPECT_TRUE(terminal.wait_for_key(-1));
        EXPECT_TRUE(terminal.lost()) << "the end of the input";
        terminal.shut_down({"done"});
    }
    close(output[1]);
    std::string written;
    char buffer[4096];
    for (ssize_t count; (count = read(output[0], buffer, sizeof buffer)) > 0;) {
        written.append(buffer, static_cast<std::size_t>(count));
    }
    close(input[0]);
    close(output[0]);
    EXPECT_NE(written.find("piped"), std::string::npos);
    EXPECT_EQ(written.substr(written.size() - 5), "done\n");
}

// Starts a child that takes over the pty, never looks at it again and then ends by
// `signal_number`: sent from here when `from_outside` (so only the guard's watchdog ends it, or
// a second signal), raised by the child itself otherwise (as a crash would). A temporary file
// the child was writing must be gone.
// With `and_then`, that second signal follows at once: the first one the child handles asks
// it to wind down, the other ends it at once.
void expect_restored_after_signal(int signal_number, bool from_outside, int and_then = 0) {
    PtyPair pty(80, 25);
    const termios before = modes_of(pty.slave());
    const std::string temporary =
        (std::filesystem::temp_directory_path() / ("mirelvanthoque-signal-" + std::to_string(getpid()))).string();
    int ready[2];
    ASSERT_EQ(pipe(ready), 0);
    pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        rlimit no_core{0, 0};
        setrlimit(RLIMIT_CORE, &no_core);
        std::signal(SIGINT, SIG_DFL);
        std::signal(SIGHUP, SIG_DFL);
        PosixTerminal terminal(pty.slave(), pty.slave());
        Screen screen;
        screen.write("child");
        terminal.present(screen);
        const int fd = open(temporary.c_str(), O_CREAT | O_EXCL | O_WRONLY, 0600);
        if (fd < 0) _exit(89);
        close(fd);
        track_temporary_file(temporary.c_str());
        if (write(ready[1], "r", 1) != 1) _exit(90);
        if (!from_outside) std::raise(signal_number);
        for (int i = 0; i < 50; ++i) usleep(100000);
        _exit(91);
    }
    close(ready[1]);
    pollfd child_ready{ready[0], POLLIN, 0};
    ASSERT_EQ(poll(&child_ready, 1, 5000), 1);
    close(ready[0]);
    const auto sent = std::chrono::steady_clock::now();
    if (from_outside) kill(child, signal_number);
    if (and_then != 0) kill(child, and_then);
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    // The watchdog would take SignalGuard::kWindDownMs from the first signal handled.
    EXPECT_LT(since(sent), Milliseconds(and_then != 0 ? 700 : 1500));
    EXPECT_FALSE(std::filesystem::exists(temporary));
    ASSERT_TRUE(WIFSIGNALED(status)) << "exit status " << WEXITSTATUS(status);
    const int ended_by = WTERMSIG(status);
    EXPECT_TRUE(ended_by == signal_number || (and_then != 0 && ended_by == and_then)) << ended_by;
    expect_same_modes(modes_of(pty.slave()), before);
    ColourVt vt(80, 25);
    vt.feed(pty.read_output());
    EXPECT_FALSE(vt.alternate_screen());
    EXPECT_TRUE(vt.cursor_visible());
    EXPECT_TRUE(vt.autowrap());
}

TEST(TerminalSession, RestoredWhenEndedFromOutside) {
    for (int signal_number : {SIGTERM, SIGHUP, SIGINT, SIGUSR1, SIGPIPE, SIGRTMIN}) {
        SCOPED_TRACE("signal " + std::to_string(signal_number));
        expect_restored_after_signal(signal_number, true);
    }
}

TEST(TerminalSession, ASecondSignalEndsAtOnce) {
    // Two different signals, as two of one kind may merge while pending.
    expect_restored_after_signal(SIGTERM, true, SIGUSR1);
}

TEST(TerminalSession, RestoredWhenCrashing) {
    for (int signal_number : {SIGSEGV, SIGABRT, SIGFPE}) {
        SCOPED_TRACE("signal " + std::to_string(signal_number));
        expect_restored_after_signal(signal_number, false);
    }
}

}  // namespace
