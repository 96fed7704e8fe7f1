#include "match/answer_check.hpp"

#include <gtest/gtest.h>

#include <initializer_list>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "core/keys.hpp"
#include "support/test_rig.hpp"

namespace {

constexpr BoardPlace kPlace{1, 1};

// A class table with the given responses (P, Z) possible, each held by one code.
ClassTable classes_of(std::initializer_list<std::pair<int, int>> p_and_z) {
    ClassTable classes;
    for (const auto& [p, z] : p_and_z)
        classes.add(Response{static_cast<std::uint8_t>(p), static_cast<std::uint8_t>(p + z)});
    return classes;
}

// One answer typed on a scripted terminal, with what the P and Z cells and the cursor showed
// as each key was taken.
struct AnswerEntry {
    explicit AnswerEntry(bool sound = false) {
        rig.app.setup.record.sound = sound ? 1 : 0;
        rig.terminal.before_each_key([this](std::size_t) {
            cells.push_back(shown());
            cursor_columns.push_back(rig.console.where_x());
        });
    }

    std::optional<Response> take(const ClassTable& classes, int length) {
        return take_person_answer(rig.app, clock, classes, length, kPlace);
    }
    // The P cell, a blank, the Z cell.
    std::string shown() const {
        return rig.row(kPlace.screen_row()).substr(kPlace.p_column() - 1, 3);
    }

    TestRig rig;
    MatchClock clock{rig.app, MatchKind{false, false}};
    std::vector<std::string> cells;
    std::vector<int> cursor_columns;
};

std::optional<Response> response(int p, int z) {
    return Response{static_cast<std::uint8_t>(p), static_cast<std::uint8_t>(p + z)};
}

TEST(PersonAnswer, TheOnlyPossibleResponseIsFilledInAfterTheToneWithoutAKey) {
    for (const bool sound : {true, false}) {
        AnswerEntry entry(sound);
        EXPECT_EQ(entry.take(classes_of({{1, 2}}), 4), response(1, 2));
        EXPECT_EQ(entry.shown(), "1 2");
        EXPECT_EQ(entry.rig.terminal.bells(), sound ? 1 : 0);
        EXPECT_TRUE(entry.cells.empty());
    }
}

TEST(PersonAnswer, PAtOrJustShortOfTheLengthShowsZAsZeroAtOnce) {
    AnswerEntry winning;
    winning.rig.terminal.type("4");
    EXPECT_EQ(winning.take(classes_of({{4, 0}, {0, 4}, {2, 2}}), 4), response(4, 0));
    EXPECT_EQ(winning.shown(), "4 0");

    AnswerEntry one_short;
    // A class 3/1 cannot arise from scoring; even if a table held one, Z stays 0.
    one_short.rig.terminal.type("3");
    EXPECT_EQ(one_short.take(classes_of({{3, 0}, {3, 1}, {0, 1}}), 4), response(3, 0));
    EXPECT_EQ(one_short.shown(), "3 0");
    EXPECT_EQ(one_short.rig.terminal.keys_left(), 0u);
}

TEST(PersonAnswer, TwoResponsesWithDifferentPAskForPAndFillInZ) {
    const ClassTable classes = classes_of({{1, 0}, {0, 2}});
    {
        AnswerEntry entry;
        entry.rig.terminal.type("21");
        EXPECT_EQ(entry.take(classes, 4), response(1, 0));
        EXPECT_EQ(entry.cells, (std::vector<std::string>{"   ", "   "}));
        EXPECT_EQ(entry.shown(), "1 0");
    }
    {
        AnswerEntry entry;
        entry.rig.terminal.type("0");
        EXPECT_EQ(entry.take(classes, 4), response(0, 2));
        EXPECT_EQ(entry.shown(), "0 2");
    }
}

TEST(PersonAnswer, OnlyZValuesOfNonEmptyClassesAreTaken) {
    AnswerEntry entry;
    // P = 1 offers Z = 0 or Z = 2; 1, 3 (beyond the length), letters and extended keys fail.
    entry.rig.terminal.type("1").type("13x").extended('2').type("2");
    EXPECT_EQ(entry.take(classes_of({{1, 0}, {1, 2}, {0, 3}}), 3), response(1, 2));
    EXPECT_EQ(entry.cells, (std::vector<std::string>{"   ", "1  ", "1  ", "1  ", "1  ", "1  "}));
    EXPECT_EQ(entry.cursor_columns,
              (std::vector<int>{kPlace.p_column(), kPlace.z_column(), kPlace.z_column(),
                                kPlace.z_column(), kPlace.z_column(), kPlace.z_column()}));
    EXPECT_EQ(entry.shown(), "1 2");
}

TEST(PersonAnswer, RefusedPKeysLeaveTheCursorInThePCell) {
    AnswerEntry entry;
    // Class 2/x is empty, 9 exceeds the length, ':' is the code after '9', '1' comes extended,
    // and Backspace has no P to go back to.
    entry.rig.terminal.type("29:").extended('1').key(keys::kBackspace).type("0").type("3");
    EXPECT_EQ(entry.take(classes_of({{1, 1}, {0, 1}, {0, 3}}), 3), response(0, 3));
    EXPECT_EQ(entry.cells,
              (std::vector<std::string>{"   ", "   ", "   ", "   ", "   ", "   ", "0  "}));
    const int p = kPlace.p_column();
    EXPECT_EQ(entry.cursor_columns, (std::vector<int>{p, p, p, p, p, p, kPlace.z_column()}));
}

TEST(PersonAnswer, BackspaceAfterATypedPAsksForPAgain) {
    AnswerEntry entry;
    entry.rig.terminal.type("1").key(keys::kBackspace).type("0").type("3");
    EXPECT_EQ(entry.take(classes_of({{1, 1}, {1, 2}, {0, 1}, {0, 3}}), 4), response(0, 3));
    EXPECT_EQ(entry.cells, (std::vector<std::string>{"   ", "1  ", "   ", "0  "}));
    EXPECT_EQ(entry.cursor_columns, (std::vector<int>{kPlace.p_column(), kPlace.z_column(),
                                                      kPlace.p_column(), kPlace.z_column()}));
    EXPECT_EQ(entry.shown(), "0 3");
}

TEST(PersonAnswer, BackspaceAfterAFilledInPIsIgnored) {
    AnswerEntry entry;
    entry.rig.terminal.key(keys::kBackspace).type("2");
    EXPECT_EQ(entry.take(classes_of({{0, 1}, {0, 2}}), 4), response(0, 2));
    EXPECT_EQ(entry.cells, (std::vector<std::string>{"0  ", "0  "}));
    EXPECT_EQ(entry.shown(), "0 2");
}

TEST(PersonAnswer, EscOrCtrlCAbandonInEitherCell) {
    const ClassTable classes = classes_of({{1, 0}, {1, 1}, {0, 2}});
    for (const std::uint8_t key : {keys::kEsc, keys::kCtrlC}) {
        AnswerEntry in_p;
        in_p.rig.terminal.key(key);
        EXPECT_EQ(in_p.take(classes, 4), std::nullopt);
        EXPECT_EQ(in_p.shown(), "   ");

        AnswerEntry in_z;
        in_z.rig.terminal.type("1").key(key);
        EXPECT_EQ(in_z.take(classes, 4), std::nullopt);
        EXPECT_EQ(in_z.shown(), "1  ");
    }
}

TEST(PersonAnswer, TheClockRunsWhileKeysAreAwaited) {
    AnswerEntry entry;
    entry.clock.start();
    entry.rig.terminal.after_ms(3000).type("1").after_ms(2000).type("1");
    EXPECT_EQ(entry.take(classes_of({{1, 0}, {1, 1}, {0, 2}}), 4), response(1, 1));
    // The game time in row 21 was redrawn while the second key was awaited.
    const int seconds = std::stoi(entry.rig.row(21).substr(31, 2));
    EXPECT_GE(seconds, 3);
    EXPECT_LE(seconds, 5);
}

}  // namespace
