#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/keys.hpp"
#include "setup/name_field.hpp"
#include "support/screen_rows.hpp"
#include "support/test_rig.hpp"

namespace {

constexpr Bilingual kPlayer1Label{" 1. Spieler,denkt sich Raetsel aus: ",
                                  " 1st player,who devises the riddle: "};
constexpr Bilingual kPlayer2Label{" 2. Spieler,knackt den Code       : ",
                                  " 2nd player,who cracks the code   : "};
constexpr Bilingual kOkQuestion{" O.K.? Ja.", " O.K.? Yes"};

PlayerName name_of(const std::string& text) {
    PlayerName name;
    for (std::size_t i = 0; i < text.size() && i < 31; ++i) name.text[i] = text[i];
    return name;
}

std::string text_of(const PlayerName& name) {
    std::string text(name.text.begin(), name.text.begin() + 31);
    return text.substr(0, text.find_last_not_of(' ') + 1);
}

// Row 23 or 24 of the conditions screen as it stands with this name text in the field.
std::string name_row(int player, Language language, const std::string& name_text) {
    std::string name = name_text;
    name.resize(31, ' ');
    const Bilingual label = player == 1 ? kPlayer1Label : kPlayer2Label;
    std::string row = "|";
    row.append(label(language)).append(name).append(kOkQuestion(language)).append("|");
    return full_row(row);
}

// One name field on a conditions screen's name rows, recording the cursor column and the
// name's row as each scripted key is taken.
struct NameFieldRun {
    explicit NameFieldRun(int player_ = 1, Language language_ = Language::German)
        : player(player_), language(language_) {
        for (int p = 1; p <= 2; ++p) {
            rig.console.goto_xy(1, 22 + p);
            rig.console.write_text(name_row(p, language, "").substr(0, 79));
        }
        rig.terminal.before_each_key([this](std::size_t) {
            columns.push_back(rig.console.where_x());
            rows.push_back(rig.row(22 + player));
        });
    }

    std::uint8_t edit(PlayerName& name) { return edit_name(rig.console, player, name); }
    std::string expected_row(const std::string& name_text) const {
        return name_row(player, language, name_text);
    }

    int player;
    Language language;
    TestRig rig;
    std::vector<int> columns;
    std::vector<std::string> rows;
};

struct TypedName {
    std::string keys;
    std::string stored;
};

TEST(NameFieldTyping, WordsGetCapitalsInitialsGetDotsAndOtherKeysAreIgnored) {
    const std::vector<TypedName> cases = {
        {"j test", "J. Test"},
        {"abc-def", "Abc-Def"},
        {"ABC", "Abc"},
        {"a1b2c3", "Abc"},
        {"mARIE cURIE", "Marie Curie"},
        {"ab_cd", "Ab-Cd"},
        {"dr.who", "Dr. Who"},
        {"dr:who", "Dr. Who"},
        {"j-k", "J.-K."},
        {"a b c", "A. B. C."},
        // A second separator replaces the first; leading separators and dots do nothing.
        {"ab -cd", "Ab-Cd"},
        {"ab- cd", "Ab Cd"},
        {" -.ab", "Ab"},
        {"ab .cd", "Ab Cd"},
        {"ab!?#cd", "Abcd"},
        // Ending the name drops a trailing hyphen and gives a last initial its dot.
        {"ab-", "Ab"},
        {"ab c", "Ab C."},
    };
    for (const TypedName& c : cases) {
        SCOPED_TRACE(c.keys);
        NameFieldRun run;
        run.rig.terminal.type(c.keys).key(keys::kEnter).type("j");
        PlayerName name;
        EXPECT_EQ(run.edit(name), 'j');
        EXPECT_EQ(text_of(name), c.stored);
        EXPECT_EQ(run.rig.row(23), run.expected_row(c.stored));
        EXPECT_EQ(run.rig.terminal.keys_left(), 0u);
    }
}

TEST(NameFieldTyping, CursorMovesOnlyForKeysThatTypeAndWaitsOnTheQuestion) {
    NameFieldRun run;
    run.rig.terminal.type("a1b c\r").extended(scan::kLeft).type("j");
    PlayerName name;
    EXPECT_EQ(run.edit(name), 'j');
    // The digit leaves the cursor where it was; Enter gives the last initial its dot.
    EXPECT_EQ(run.columns, (std::vector<int>{38, 39, 39, 40, 41, 42, 76, 76}));
    EXPECT_EQ(run.rows[6], run.expected_row("Ab C."));
    EXPECT_EQ(text_of(name), "Ab C.");
}

TEST(NameFieldTyping, BackspaceAtTheFirstPositionEmptiesTheNameAndGoesBack) {
    {
        NameFieldRun run;
        run.rig.terminal.key(keys::kBackspace);
        PlayerName name;
        EXPECT_EQ(run.edit(name), keys::kBackspace);
        EXPECT_TRUE(name.empty());
        EXPECT_EQ(run.rig.row(23), run.expected_row(""));
    }
    {
        NameFieldRun run;
        run.rig.terminal.type("ab\b\b\b");
        PlayerName name;
        EXPECT_EQ(run.edit(name), keys::kBackspace);
        EXPECT_EQ(name, PlayerName{});
        EXPECT_EQ(run.rig.row(23), run.expected_row(""));
        EXPECT_EQ(run.columns, (std::vector<int>{38, 39, 40, 39, 38}));
    }
}

TEST(NameFieldTyping, BackspaceOverAnInitialsDotTakesTheDotAndTheBlankAway) {
    NameFieldRun run;
    run.rig.terminal.type("j \bohn\rj");
    PlayerName name;
    EXPECT_EQ(run.edit(name), 'j');
    EXPECT_EQ(run.rows[3], run.expected_row("J"));
    EXPECT_EQ(run.columns[3], 39);
    EXPECT_EQ(text_of(name), "John");
    EXPECT_EQ(run.rig.row(23), run.expected_row("John"));
}

TEST(NameFieldTyping, BackspaceStepsBackOnePlaceUnlessADotStandsTwoPlacesBack) {
    NameFieldRun run;
    // "A. B" loses its B, then the initial's dot and blank together; "Dr. " loses ". ".
    run.rig.terminal.type("a b\b\bl dr.\bew\rj");
    PlayerName name;
    EXPECT_EQ(run.edit(name), 'j');
    EXPECT_EQ(run.rows[4], run.expected_row("A."));
    EXPECT_EQ(run.columns[4], 41);
    EXPECT_EQ(run.rows[5], run.expected_row("A"));
    EXPECT_EQ(run.columns[5], 39);
    EXPECT_EQ(text_of(name), "Al Drew");
    EXPECT_EQ(run.rig.row(23), run.expected_row("Al Drew"));
}

TEST(NameFieldTyping, EnterAndEscEndTypingAtTheQuestionCtrlCRestartsAtOnce) {
    for (const std::uint8_t ending : {keys::kEnter, keys::kEsc}) {
        NameFieldRun run;
        run.rig.terminal.type("ab c").key(ending).type("j");
        PlayerName name;
        EXPECT_EQ(run.edit(name), 'j');
        EXPECT_EQ(run.columns.back(), 76);
        EXPECT_EQ(text_of(name), "Ab C.");
    }
    NameFieldRun run;
    run.rig.terminal.type("ab c").key(keys::kCtrlC).type("jj");
    PlayerName name;
    EXPECT_EQ(run.edit(name), 2);
    EXPECT_EQ(text_of(name), "Ab C.");
    EXPECT_EQ(run.rig.row(23), run.expected_row("Ab C."));
    EXPECT_EQ(run.rig.terminal.keys_left(), 2u);
}

TEST(NameFieldTyping, ANameOfThirtyOnePositionsEndsByItself) {
    const std::vector<TypedName> cases = {
        {"abcdefghij abcdefghij abcdefghi", "Abcdefghij Abcdefghij Abcdefghi"},
        {"abcdefghijklmnopqrstuvwxyzabcd.", "Abcdefghijklmnopqrstuvwxyzabcd."},
        // A dot at position 30 takes the blank after it with it.
        {"abcdefghijklmnopqrstuvwxyzabc.", "Abcdefghijklmnopqrstuvwxyzabc."},
        // A separator at 29 still leaves room for a word of two.
        {"abcdefghijklmnopqrstuvwxyzab xy", "Abcdefghijklmnopqrstuvwxyzab Xy"},
    };
    for (const TypedName& c : cases) {
        SCOPED_TRACE(c.keys);
        NameFieldRun run;
        run.rig.terminal.type(c.keys).type("xj");
        PlayerName name;
        EXPECT_EQ(run.edit(name), 'j');
        EXPECT_EQ(run.columns[run.columns.size() - 2], 76);  // the "x" fell on the question
        EXPECT_EQ(text_of(name), c.stored);
        EXPECT_EQ(run.rig.row(23), run.expected_row(c.stored));
    }
}

TEST(NameFieldTyping, ASeparatorWithNoRoomForAnotherWordEndsTheName) {
    const std::vector<TypedName> cases = {
        {"abcdefghijklmnopqrstuvwxyzabc ", "Abcdefghijklmnopqrstuvwxyzabc"},
        {"abcdefghijklmnopqrstuvwxyzabcd-", "Abcdefghijklmnopqrstuvwxyzabcd"},
        // An initial at 28 would need its dot at 29 and the separator at 30.
        {"abcdefghijklmnopqrstuvwxyz x ", "Abcdefghijklmnopqrstuvwxyz X."},
        {"abcdefghijklmnopqrstuvwxyza x ", "Abcdefghijklmnopqrstuvwxyza X."},
    };
    for (const TypedName& c : cases) {
        SCOPED_TRACE(c.keys);
        NameFieldRun run;
        run.rig.terminal.type(c.keys).type("j");
        PlayerName name;
        EXPECT_EQ(run.edit(name), 'j');
        EXPECT_EQ(run.columns.back(), 76);
        EXPECT_EQ(text_of(name), c.stored);
        EXPECT_EQ(run.rig.row(23), run.expected_row(c.stored));
    }
}

TEST(NameFieldQuestion, AStoredNameIsShownNormalisedAndAwaitsTheAnswer) {
    for (const std::string yes : {"j", "J", "y", "Y", "z", "Z", "\r"}) {
        SCOPED_TRACE(yes);
        NameFieldRun run(2, Language::English);
        run.rig.terminal.type("q7").extended('n').type(yes);
        PlayerName name = name_of("anna  berg");
        EXPECT_EQ(run.edit(name), 'j');
        EXPECT_EQ(text_of(name), "Anna");
        EXPECT_EQ(run.columns, (std::vector<int>{76, 76, 76, 76}));
        EXPECT_EQ(run.rig.row(24), run.expected_row("Anna"));
        EXPECT_EQ(run.rig.row(23), name_row(1, Language::English, ""));
    }
}

TEST(NameFieldQuestion, EscGoesBackAndCtrlCRestartsTheForm) {
    {
        NameFieldRun run;
        run.rig.terminal.key(keys::kEsc);
        PlayerName name = name_of("Anna");
        EXPECT_EQ(run.edit(name), keys::kBackspace);
        EXPECT_EQ(text_of(name), "Anna");
    }
    {
        NameFieldRun run;
        run.rig.terminal.key(keys::kCtrlC);
        PlayerName name = name_of("Anna");
        EXPECT_EQ(run.edit(name), keys::kEsc);
        EXPECT_EQ(text_of(name), "Anna");
    }
    {
        // Esc while typing leads to the question; Esc there leaves the field.
        NameFieldRun run;
        run.rig.terminal.type("ab").key(keys::kEsc).key(keys::kEsc);
        PlayerName name;
        EXPECT_EQ(run.edit(name), keys::kBackspace);
        EXPECT_EQ(text_of(name), "Ab");
    }
}

TEST(NameFieldQuestion, NoEmptiesTheNameAndStartsANewOne) {
    for (const std::string no : {"n", "N"}) {
        NameFieldRun run;
        run.rig.terminal.type(no).type("bob\rj");
        PlayerName name = name_of("Anna Berg");
        EXPECT_EQ(run.edit(name), 'j');
        EXPECT_EQ(run.rows[0], run.expected_row("Anna Berg"));
        EXPECT_EQ(run.rows[1], run.expected_row(""));
        EXPECT_EQ(run.columns[1], 38);
        EXPECT_EQ(text_of(name), "Bob");
        EXPECT_EQ(run.rig.row(23), run.expected_row("Bob"));
    }
}

TEST(NameFieldQuestion, BackspaceEditsTheNameFromItsEnd) {
    NameFieldRun run;
    run.rig.terminal.type("\bbel\r\b\b\b\rj");
    PlayerName name = name_of("Anna");
    EXPECT_EQ(run.edit(name), 'j');
    EXPECT_EQ(run.columns[1], 42);
    EXPECT_EQ(run.rows[4], run.expected_row("Annabel"));
    EXPECT_EQ(run.columns[6], 45);  // after "Annabel" again
    EXPECT_EQ(text_of(name), "Annab");
    EXPECT_EQ(run.rig.row(23), run.expected_row("Annab"));
}

TEST(NameFieldQuestion, EditingFromTheEndStartsAfterAnInitialsDot) {
    NameFieldRun run;
    run.rig.terminal.type("\b\bob\rj");
    PlayerName name = name_of("Anna B.");
    EXPECT_EQ(run.edit(name), 'j');
    EXPECT_EQ(run.columns[1], 45);
    EXPECT_EQ(run.rows[2], run.expected_row("Anna B"));
    EXPECT_EQ(run.columns[2], 44);
    EXPECT_EQ(text_of(name), "Anna Bob");
}

TEST(NameFieldQuestion, EditingFromTheEndDropsADotAtPosition29Or30) {
    {
        NameFieldRun run;
        run.rig.terminal.type("\by\rj");
        PlayerName name = name_of("Abcdefghijklmnopqrstuvwxyz X.");
        EXPECT_EQ(run.edit(name), 'j');
        EXPECT_EQ(run.rows[1], run.expected_row("Abcdefghijklmnopqrstuvwxyz X"));
        EXPECT_EQ(run.columns[1], 66);
        EXPECT_EQ(text_of(name), "Abcdefghijklmnopqrstuvwxyz Xy");
    }
    {
        // Ending at once gives the initial its dot back.
        NameFieldRun run;
        run.rig.terminal.type("\b\rj");
        PlayerName name = name_of("Abcdefghijklmnopqrstuvwxyza X.");
        EXPECT_EQ(run.edit(name), 'j');
        EXPECT_EQ(run.rows[1], run.expected_row("Abcdefghijklmnopqrstuvwxyza X"));
        EXPECT_EQ(run.columns[1], 67);
        EXPECT_EQ(text_of(name), "Abcdefghijklmnopqrstuvwxyza X.");
        EXPECT_EQ(run.rig.row(23), run.expected_row("Abcdefghijklmnopqrstuvwxyza X."));
    }
}

TEST(NameFieldQuestion, EditingAFullNameFromTheEndGivesUpItsLastCharacter) {
    NameFieldRun run;
    run.rig.terminal.type("\bqj");
    PlayerName name = name_of("Abcdefghij Abcdefghij Abcdefghi");
    EXPECT_EQ(run.edit(name), 'j');
    EXPECT_EQ(run.rows[1], run.expected_row("Abcdefghij Abcdefghij Abcdefgh"));
    EXPECT_EQ(run.columns[1], 68);
    EXPECT_EQ(run.columns[2], 76);  // the q filled position 31 again
    EXPECT_EQ(text_of(name), "Abcdefghij Abcdefghij Abcdefghq");
}

TEST(NameDisplay, ShowNamesNormalisesSwapsAndWritesOnlyTheRowsAsked) {
    TestRig rig;
    PlayerName first = name_of("anna berg");
    PlayerName second = name_of("BOB");
    show_names(rig.console, first, second, true, false, true);
    EXPECT_EQ(text_of(first), "Bob");
    EXPECT_EQ(text_of(second), "Anna Berg");
    EXPECT_EQ(rig.row(23), full_row(std::string(37, ' ') + "Bob"));
    EXPECT_EQ(rig.row(24), full_row(""));

    show_names(rig.console, first, second, false, true, false);
    EXPECT_EQ(text_of(first), "Bob");
    EXPECT_EQ(rig.row(24), full_row(std::string(37, ' ') + "Anna Berg"));
}

TEST(NameDisplay, ALongerNameIsOverwrittenCompletely) {
    TestRig rig;
    PlayerName first = name_of("Abcdefghij Abcdefghij Abcdefghi");
    PlayerName second;
    show_names(rig.console, first, second, true, true, false);
    first = name_of("Al");
    show_names(rig.console, first, second, true, true, false);
    EXPECT_EQ(rig.row(23), full_row(std::string(37, ' ') + "Al"));
    EXPECT_EQ(rig.row(24), full_row(""));
}

TEST(NameDisplay, TheComputerStandsInTheRowsOfItsRoles) {
    TestRig rig;
    show_computer_name(rig.console, Language::German, false, true);
    EXPECT_EQ(rig.row(23), full_row(""));
    EXPECT_EQ(rig.row(24), full_row(std::string(37, ' ') + "*** Der Computer ***"));
    show_computer_name(rig.console, Language::English, true, false);
    EXPECT_EQ(rig.row(23), full_row(std::string(37, ' ') + "*** The computer ***"));
    EXPECT_EQ(rig.row(24), full_row(std::string(37, ' ') + "*** Der Computer ***"));
}

}  // namespace
