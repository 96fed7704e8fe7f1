#include <gtest/gtest.h>

#include <string>

#include "core/keys.hpp"
#include "match/try_entry.hpp"
#include "support/test_rig.hpp"

namespace {

// A board with a running clock, on the conditions given.
struct TryRig : TestRig {
    explicit TryRig(char first = '0', char last = '9', int length = 4) {
        app.setup.record.first_sign = static_cast<std::uint8_t>(first);
        app.setup.record.last_sign = static_cast<std::uint8_t>(last);
        app.setup.record.code_length = static_cast<std::uint8_t>(length);
        validate_conditions(app.setup);
        app.game_language = Language::German;
        draw_match_screen(app, MatchHeader{});
        clock.start();
    }
    std::optional<TypedTry> enter(bool vacant = false) {
        return enter_try(app, clock, BoardPlace{1, 1}, vacant, true);
    }
    std::string field() const { return row(9).substr(47, 4); }
    MatchClock clock{app, MatchKind{}};
};

std::string text_of(const TypedTry& typed, int length) { return std::string(typed.text.data(), length); }

TEST(TryEntry, SignsFillTheFieldAndTheTryEndsWhenNoPositionIsEmpty) {
    TryRig rig;
    rig.terminal.type("1234");
    const auto typed = rig.enter();
    ASSERT_TRUE(typed);
    EXPECT_EQ(text_of(*typed, 4), "1234");
    EXPECT_EQ(typed->code.signs[0], 2);  // '1' is the second sign of 0..9
    EXPECT_EQ(rig.field(), "1234");
    EXPECT_EQ(rig.terminal.keys_left(), 0u);
}

TEST(TryEntry, SignsOutsideTheSetAndOtherKeysAreIgnored) {
    TryRig rig('0', '5');
    std::vector<int> columns;
    rig.terminal.before_each_key([&](std::size_t) { columns.push_back(rig.console.where_x()); });
    rig.terminal.type("7a!").extended(scan::kF1).extended(scan::kUp).type("0123");
    const auto typed = rig.enter();
    ASSERT_TRUE(typed);
    EXPECT_EQ(text_of(*typed, 4), "0123");
    // The cursor stays on position 1 for every ignored key.
    EXPECT_EQ(std::vector<int>(columns.begin(), columns.begin() + 6), std::vector<int>(6, 48));
}

TEST(TryEntry, UpperCaseIsFolded) {
    TryRig rig('a', 'f');
    rig.terminal.type("ABcF");
    const auto typed = rig.enter();
    ASSERT_TRUE(typed);
    EXPECT_EQ(text_of(*typed, 4), "abcf");
}

TEST(TryEntry, TheCursorWrapsBothWays) {
    TryRig rig;
    std::vector<int> columns;
    rig.terminal.before_each_key([&](std::size_t) { columns.push_back(rig.console.where_x()); });
    // Left from position 1 goes to position 4; filling it jumps back to position 1.
    rig.terminal.extended(scan::kLeft).type("9").type("123");
    const auto typed = rig.enter();
    ASSERT_TRUE(typed);
    EXPECT_EQ(text_of(*typed, 4), "1239");
    EXPECT_EQ(columns, (std::vector<int>{48, 51, 48, 49, 50}));
}

TEST(TryEntry, AllCursorKeyVariantsMove) {
    for (std::uint8_t right : {scan::kRight, scan::kCtrlRight, scan::kAltRight}) {
        TryRig rig;
        // From position 1 the three left keys go to 4, 3 and 2, one more back to 1.
        rig.terminal.extended(right).type("123").extended(scan::kAltLeft).extended(scan::kCtrlLeft)
            .extended(scan::kLeft).extended(scan::kLeft).type("4");
        const auto typed = rig.enter();
        ASSERT_TRUE(typed);
        // Right skips position 1; the left keys come back to it.
        EXPECT_EQ(text_of(*typed, 4), "4123");
    }
    TryRig enter;
    enter.terminal.type("\r\r\r5678");
    const auto typed = enter.enter();
    ASSERT_TRUE(typed);
    EXPECT_EQ(text_of(*typed, 4), "6785");
}

TEST(TryEntry, BackspaceEmptiesThePositionUnderTheCursorAndMovesLeft) {
    TryRig rig;
    std::string field_after_backspace;
    rig.terminal.before_each_key([&](std::size_t taken) {
        if (taken == 4) field_after_backspace = rig.field();
    });
    // 1, 2, left (onto the 2), Backspace: the 2 goes, the cursor stands on position 1.
    rig.terminal.type("12").extended(scan::kLeft).key(keys::kBackspace).type("5678");
    const auto typed = rig.enter();
    ASSERT_TRUE(typed);
    EXPECT_EQ(field_after_backspace, "1...");
    EXPECT_EQ(text_of(*typed, 4), "5678");
}

TEST(TryEntry, ClearKeysEmptyThePositionAndMoveRight) {
    for (const auto& clear : std::vector<Key>{{',', false}, {127, false}, {scan::kDel, true},
                                              {scan::kAltDel, true}, {6, true}, {7, true}}) {
        TryRig rig;
        rig.terminal.type("12").extended(scan::kLeft);
        if (clear.extended) rig.terminal.extended(clear.code); else rig.terminal.key(clear.code);
        // The clear leaves the cursor on position 3; 3 and 4 fill, the cursor wraps to 1.
        rig.terminal.type("34").extended(scan::kRight).type("9");
        const auto typed = rig.enter();
        ASSERT_TRUE(typed);
        EXPECT_EQ(text_of(*typed, 4), "1934") << int(clear.code);
    }
}

TEST(TryEntry, VacantSignsOnlyWhenAllowed) {
    TryRig refused;
    refused.terminal.type(" *+~1234");
    auto typed = refused.enter(false);
    ASSERT_TRUE(typed);
    EXPECT_EQ(text_of(*typed, 4), "1234");

    TryRig allowed;
    allowed.terminal.type(" *+~");
    typed = allowed.enter(true);
    ASSERT_TRUE(typed);
    EXPECT_EQ(text_of(*typed, 4), "****");
    EXPECT_EQ(typed->code.signs, (std::array<SignIndex, 9>{}));
    EXPECT_EQ(allowed.field(), "****");
}

TEST(TryEntry, EscAndCtrlCAbandon) {
    for (std::uint8_t key : {keys::kEsc, keys::kCtrlC}) {
        TryRig rig;
        rig.terminal.type("12").key(key);
        EXPECT_FALSE(rig.enter());
        EXPECT_EQ(rig.terminal.keys_left(), 0u);
    }
}

TEST(TryEntry, ATryMayRepeatSignsEvenWithoutRepetition) {
    TryRig rig;
    rig.terminal.type("7777");
    const auto typed = rig.enter();
    ASSERT_TRUE(typed);
    EXPECT_EQ(text_of(*typed, 4), "7777");
}

TEST(TryEntry, LaterTriesStartFromDots) {
    TryRig rig;
    rig.console.goto_xy(48, 9);
    rig.console.write_text("1234");
    std::string before_first_key;
    rig.terminal.before_each_key([&](std::size_t taken) {
        if (taken == 0) before_first_key = rig.field();
    });
    rig.terminal.type("5678");
    rig.enter();
    EXPECT_EQ(before_first_key, "....");
}

}  // namespace
