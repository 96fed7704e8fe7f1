#include <gtest/gtest.h>

#include <functional>

#include "core/keys.hpp"
#include "support/screen_rows.hpp"
#include "support/test_rig.hpp"

namespace {

TEST(ConsoleKeys, AnExtendedKeyArrivesWholeAndApartFromAnOrdinaryOneOfTheSameCode) {
    TestRig rig;
    rig.terminal.extended(scan::kF4).type(">");  // '>' is 62, F4's scan code
    EXPECT_EQ(rig.console.next_key(), (Key{scan::kF4, true}));
    EXPECT_TRUE(rig.console.key_pressed());
    EXPECT_EQ(rig.console.next_key(), (Key{'>', false}));
}

TEST(ConsoleKeys, KeyPressedDoesNotConsume) {
    TestRig rig;
    rig.terminal.type("q");
    EXPECT_TRUE(rig.console.key_pressed());
    EXPECT_TRUE(rig.console.key_pressed());
    EXPECT_EQ(rig.console.next_key(), (Key{'q', false}));
}

TEST(ConsoleKeys, ReadingShowsTheScreenFirst) {
    TestRig rig;
    rig.terminal.type("q");
    rig.console.write_text("hello");
    const int before = rig.terminal.presents();
    rig.console.next_key();
    EXPECT_GT(rig.terminal.presents(), before);
}

// A terminal that counts how often the console asks it for keys.
class CountingTerminal : public TerminalBackend {
public:
    void present(const Screen&) override {}
    bool wait_for_key(int) override { ++polls; return false; }
    Key take_key() override { return Key{27, false}; }
    void bell(int, int) override {}
    std::optional<TerminalLost> lost() const override { return std::nullopt; }
    void shut_down(const std::vector<std::string>&) override {}
    int polls = 0;
};

TEST(ConsoleKeys, KeyPressedAsksTheTerminalAtMostOncePerMillisecond) {
    FakeClock clock;
    CountingTerminal terminal;
    Console console(terminal, clock);
    for (int i = 0; i < 1000; ++i) EXPECT_FALSE(console.key_pressed());
    EXPECT_EQ(terminal.polls, 1);
    clock.advance_ms(1);
    for (int i = 0; i < 1000; ++i) console.key_pressed();
    EXPECT_EQ(terminal.polls, 2);
}

TEST(ConsoleTiming, DelayPassesOnTheClock) {
    TestRig rig;
    const auto start = rig.clock.tick_ms();
    rig.console.delay_ms(250);
    EXPECT_EQ(rig.clock.tick_ms() - start, 250u);
}

TEST(ConsoleTiming, BeepRingsOnceAndPausesHalfASecond) {
    TestRig rig;
    rig.console.beep();
    EXPECT_EQ(rig.terminal.bells(), 1);
    EXPECT_EQ(rig.clock.slept_ms(), 500u);
}

TEST(ConsoleTiming, WaitForKeyTimesOutBeforeALaterKey) {
    TestRig rig;
    rig.terminal.after_ms(1500).type("x");
    const auto start = rig.clock.tick_ms();
    EXPECT_FALSE(rig.console.wait_for_key(1000));
    EXPECT_EQ(rig.clock.tick_ms() - start, 1000u);
    EXPECT_TRUE(rig.console.wait_for_key(1000));
    EXPECT_EQ(rig.clock.tick_ms() - start, 1500u);
    EXPECT_EQ(rig.console.next_key(), (Key{'x', false}));
}

TEST(ConsoleTiming, AClockIsRefreshedOncePerSecondWhileWaiting) {
    TestRig rig;
    rig.clock.show(2026, 12, 8, 10, 0, 0, 40);
    rig.terminal.after_ms(3500).type("k");
    std::vector<int> seconds_shown;
    const Key key = rig.console.next_key_with_clock(
        [&] { seconds_shown.push_back(rig.clock.now().second); });
    EXPECT_EQ(key, (Key{'k', false}));
    // 10:00:00.40 at first, then each full second until the key at 10:00:03.90.
    EXPECT_EQ(seconds_shown, (std::vector<int>{0, 1, 2, 3}));
    EXPECT_EQ(rig.clock.now().hundredths, 90);
}

// Once the input has ended every way of waiting or looking ends the screen that asked, and
// keys read before the end still arrive first.
TEST(ConsoleLostTerminal, EveryWaitAndPollThrows) {
    const std::function<void(Console&)> waits[] = {
        [](Console& c) { c.next_key(); },
        [](Console& c) { c.key_pressed(); },
        [](Console& c) { c.wait_for_key(1000); },
        [](Console& c) { c.delay_ms(500); },
        [](Console& c) { c.beep(); },
        [](Console& c) { c.next_key_with_clock([] {}); },
    };
    for (const auto& wait : waits) {
        TestRig rig(ScriptedTerminal::WhenExhausted::Lose);
        rig.terminal.type("a").extended(scan::kF4);
        EXPECT_EQ(rig.console.next_key(), (Key{'a', false}));
        EXPECT_EQ(rig.console.next_key(), (Key{scan::kF4, true}));
        const std::uint64_t start = rig.clock.tick_ms();
        EXPECT_THROW(wait(rig.console), TerminalLost);
        EXPECT_EQ(rig.clock.tick_ms(), start) << "no time passes on a lost terminal";
    }
}

TEST(ConsoleWriting, NumbersAndLineEnds) {
    TestRig rig;
    rig.console.goto_xy(3, 2);
    rig.console.write_number(-42);
    rig.console.write_char(' ');
    rig.console.write_number(0);
    rig.console.write_line_end();
    rig.console.write_number(1234567890123LL);
    EXPECT_EQ(rig.row(2), full_row("  -42 0"));
    EXPECT_EQ(rig.row(3), full_row("1234567890123"));
}

}  // namespace
