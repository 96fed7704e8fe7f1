#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/keys.hpp"
#include "setup/code_entry.hpp"
#include "support/screen_rows.hpp"
#include "support/test_rig.hpp"

namespace {

// Row 18 of the German conditions screen with this text in the nine places of the code.
std::string answer_row(const std::string& field) {
    std::string code = field;
    code.resize(9, ' ');
    return full_row("| Sind Leerzeichen erlaubt?  Nein. | Loesung " + code +
                    std::string(24, ' ') + "|");
}

// The answer code field under given conditions, recording the cursor column and the code's
// nine places on screen as each scripted key is taken.
struct AnswerEntry {
    AnswerEntry(char first, char last, int length, bool repetition,
                const std::string& shown_code = "") {
        GameSetup& setup = rig.app.setup;
        setup.signs.set_stretch(first, last);
        setup.record.first_sign = static_cast<std::uint8_t>(first);
        setup.record.last_sign = static_cast<std::uint8_t>(last);
        setup.record.code_length = static_cast<std::uint8_t>(length);
        setup.record.repetition = repetition ? 1 : 0;
        std::string field = shown_code.empty() ? std::string(length, '.') : shown_code;
        for (std::size_t i = 0; i < shown_code.size(); ++i) setup.answer_code[i] = shown_code[i];
        rig.console.goto_xy(1, 18);
        rig.console.write_text(answer_row(field).substr(0, 79));
        rig.terminal.before_each_key([this](std::size_t) {
            columns.push_back(rig.console.where_x());
            fields.push_back(rig.row(18).substr(45, 9));
        });
    }

    std::uint8_t enter(bool resume = false) {
        return enter_answer_code(rig.app, rig.app.setup, resume);
    }
    std::string answer() const {
        return std::string(rig.app.setup.answer_code.begin(), rig.app.setup.answer_code.end());
    }

    TestRig rig;
    std::vector<int> columns;
    std::vector<std::string> fields;
};

TEST(AnswerCodeEntry, SignsOutsideTheSetDoNothingAndTheCodeEndsByItself) {
    AnswerEntry entry('0', '5', 4, false);
    entry.rig.terminal.type("7a!0").extended(scan::kLeft).type("12 3");
    EXPECT_EQ(entry.enter(), '3');
    EXPECT_EQ(entry.columns, (std::vector<int>{46, 46, 46, 46, 47, 47, 48, 49, 49}));
    EXPECT_EQ(entry.answer(), "0123     ");
    EXPECT_EQ(entry.rig.row(18), answer_row("0123"));
    EXPECT_EQ(entry.rig.console.where_x(), 50);
    EXPECT_EQ(entry.rig.terminal.keys_left(), 0u);
}

TEST(AnswerCodeEntry, UpperCaseIsFoldedAndTheSetMayWrapAroundTheRing) {
    AnswerEntry entry('y', 'b', 3, false);
    entry.rig.terminal.type("xcY0B");
    EXPECT_EQ(entry.enter(), 'b');
    EXPECT_EQ(entry.answer(), "y0b      ");
    EXPECT_EQ(entry.rig.row(18), answer_row("y0b"));
}

TEST(AnswerCodeEntry, AnExtendedKeyIsIgnoredEvenWhenItsScanCodeLooksLikeASign) {
    AnswerEntry entry('0', '9', 2, false);
    entry.rig.terminal.extended('1').extended(scan::kDel).type("45");
    EXPECT_EQ(entry.enter(), '5');
    EXPECT_EQ(entry.answer(), "45       ");
}

TEST(AnswerCodeEntry, WithoutRepetitionASignAlreadyGivenIsRefused) {
    AnswerEntry entry('0', '9', 4, false);
    entry.rig.terminal.type("00121034");
    EXPECT_EQ(entry.enter(), '3');
    EXPECT_EQ(entry.columns[1], 47);
    EXPECT_EQ(entry.columns[4], 49);
    EXPECT_EQ(entry.fields[4], "012.     ");
    EXPECT_EQ(entry.answer(), "0123     ");
    EXPECT_EQ(entry.rig.terminal.keys_left(), 1u);
}

TEST(AnswerCodeEntry, WithRepetitionAnySignMayRecur) {
    AnswerEntry entry('a', 'b', 5, true);
    entry.rig.terminal.type("aaaba");
    EXPECT_EQ(entry.enter(), 'a');
    EXPECT_EQ(entry.answer(), "aaaba    ");
    EXPECT_EQ(entry.rig.row(18), answer_row("aaaba"));
}

TEST(AnswerCodeEntry, PlacesAfterTheCodeBecomeBlank) {
    AnswerEntry entry('0', '9', 3, false, "876543210");
    entry.rig.terminal.type("012");
    EXPECT_EQ(entry.enter(), '2');
    EXPECT_EQ(entry.answer(), "012      ");
}

TEST(AnswerCodeEntry, InPermutationModeTheLastSignFollowsFromTheOthers) {
    {
        AnswerEntry entry('a', 'd', 4, false);
        entry.rig.terminal.type("CAD");
        EXPECT_EQ(entry.enter(), 'd');
        EXPECT_EQ(entry.answer(), "cadb     ");
        EXPECT_EQ(entry.rig.row(18), answer_row("cadb"));
        EXPECT_EQ(entry.rig.console.where_x(), 50);
    }
    {
        AnswerEntry entry('a', 'b', 2, false);
        entry.rig.terminal.type("b");
        EXPECT_EQ(entry.enter(), 'b');
        EXPECT_EQ(entry.answer(), "ba       ");
    }
    {
        AnswerEntry entry('1', '9', 9, false);
        entry.rig.terminal.type("98765432");
        EXPECT_EQ(entry.enter(), '2');
        EXPECT_EQ(entry.answer(), "987654321");
        EXPECT_EQ(entry.rig.row(18), answer_row("987654321"));
    }
}

TEST(AnswerCodeEntry, BackspaceFreesThePlaceBeforeAndLeavesAtTheFirst) {
    {
        AnswerEntry entry('0', '9', 4, false);
        entry.rig.terminal.key(keys::kBackspace).type("x");
        EXPECT_EQ(entry.enter(), keys::kBackspace);
        EXPECT_EQ(entry.answer(), "         ");
        EXPECT_EQ(entry.rig.row(18), answer_row("...."));
        EXPECT_EQ(entry.rig.terminal.keys_left(), 1u);
    }
    {
        AnswerEntry entry('0', '9', 4, false);
        entry.rig.terminal.type("01\b234");
        EXPECT_EQ(entry.enter(), '4');
        EXPECT_EQ(entry.fields[3], "0...     ");
        EXPECT_EQ(entry.columns[3], 47);
        EXPECT_EQ(entry.answer(), "0234     ");
    }
    {
        // The freed place no longer counts against repetition.
        AnswerEntry entry('a', 'd', 3, false);
        entry.rig.terminal.type("ab\bbc");
        EXPECT_EQ(entry.enter(), 'c');
        EXPECT_EQ(entry.answer(), "abc      ");
    }
    {
        AnswerEntry entry('0', '9', 4, false);
        entry.rig.terminal.type("01\b\b\b");
        EXPECT_EQ(entry.enter(), keys::kBackspace);
        EXPECT_EQ(entry.rig.row(18), answer_row("...."));
        EXPECT_EQ(entry.columns.back(), 46);
    }
}

TEST(AnswerCodeEntry, EscAndCtrlCLeaveAtOnce) {
    for (const std::uint8_t leave : {keys::kEsc, keys::kCtrlC}) {
        AnswerEntry entry('0', '9', 4, false);
        entry.rig.terminal.type("01").key(leave).type("23");
        EXPECT_EQ(entry.enter(), leave);
        EXPECT_EQ(entry.rig.row(18), answer_row("01.."));
        EXPECT_EQ(entry.rig.terminal.keys_left(), 2u);
    }
}

TEST(AnswerCodeEntry, ResumingWipesTheLastSignAndTypesOnThere) {
    {
        AnswerEntry entry('0', '9', 4, false, "0123");
        entry.rig.terminal.type("15");
        EXPECT_EQ(entry.enter(true), '5');
        EXPECT_EQ(entry.fields[0], "012.     ");
        EXPECT_EQ(entry.columns[0], 49);
        EXPECT_EQ(entry.answer(), "0125     ");
        EXPECT_EQ(entry.rig.row(18), answer_row("0125"));
    }
    {
        AnswerEntry entry('0', '9', 4, false, "0123");
        entry.rig.terminal.type("\b\b\b\b");
        EXPECT_EQ(entry.enter(true), keys::kBackspace);
        EXPECT_EQ(entry.rig.row(18), answer_row("...."));
        EXPECT_EQ(entry.columns, (std::vector<int>{49, 48, 47, 46}));
    }
}

TEST(AnswerCodeEntry, ResumingInPermutationModeWipesTheImpliedSignToo) {
    {
        AnswerEntry entry('a', 'd', 4, false, "cadb");
        entry.rig.terminal.type("cab");
        EXPECT_EQ(entry.enter(true), 'b');
        EXPECT_EQ(entry.fields[0], "ca..     ");
        EXPECT_EQ(entry.columns, (std::vector<int>{48, 48, 48}));
        EXPECT_EQ(entry.answer(), "cabd     ");
        EXPECT_EQ(entry.rig.row(18), answer_row("cabd"));
    }
    {
        AnswerEntry entry('a', 'b', 2, false, "ba");
        entry.rig.terminal.key(keys::kBackspace);
        EXPECT_EQ(entry.enter(true), keys::kBackspace);
        EXPECT_EQ(entry.columns[0], 46);
        EXPECT_EQ(entry.rig.row(18), answer_row(".."));
    }
}

}  // namespace
