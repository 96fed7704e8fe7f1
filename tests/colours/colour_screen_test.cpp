#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "colours/colour_screen.hpp"
#include "core/keys.hpp"
#include "setup/game_setup.hpp"
#include "support/screen_rows.hpp"
#include "support/test_rig.hpp"

namespace {

// The key table, rows 3..23, columns 1..40.
std::vector<std::string> key_table(Language language) {
    const bool german = language == Language::German;
    return {
        "________________________________________",
        german ? "|Ziffer fuer| gewuenschte  | Buchstabe |"
               : "|numeral for|    choosen   |  letter   |",
        german ? "|Hintergrund|    Farbe     | fuer Text |"
               : "|background |    colour    | for text  |",
        "|___________|______________|___________|",
        "|        1  |              |  a/A      |",
        "|           |**************|  b/B      |",
        "|        2  |**************|  c/C      |",
        "|           |**************|  d/D      |",
        "|        3  |**************|  e/E      |",
        "|           |**************|  f/F      |",
        "|        4  |**************|  g/G      |",
        "|           |**************|  h/H      |",
        "|        5  |**************|  i/I      |",
        "|           |**************|  j/J      |",
        "|        6  |**************|  k/K      |",
        "|           |**************|  l/L      |",
        "|        7  |**************|  m/M      |",
        "|           |**************|  n/N      |",
        "|        8  |**************|  o/O      |",
        "|           |**************|  p/P      |",
        "|___________|______________|___________|",
    };
}

// The sample box, rows 3..23, columns 41..80; '^' marks the emphasized parts.
std::vector<std::string> sample_box(Language language) {
    if (language == Language::German)
        return {
            "________________________________________",
            "|Bitte stellen Sie eine Farbkombination|",
            "|aus Hintergrundfarbe,Standardtextfarbe|",
            "|und ^hervorgehobener Textfarbe^ ein, die|",
            "|Sie gut lesen koennen.                |",
            "|                                      |",
            "|Zur Auswahl eines anderen Hintergrunds|",
            "|geben Sie bitte die entsprechende Zif-|",
            "|fer ein,fuer eine neue Textfarbe bitte|",
            "|den entsprechenden Buchstaben: Klein- |",
            "|buchstaben fuer Standardtext, ^Gross-  ^|",
            "|^buchstaben fuer hervorgehobenen Text^. |",
            "|Die Aenderungen sind sofort gueltig.  |",
            "|                                      |",
            "|Dieser Text ist in Standardtextfarbe, |",
            "|^dieser in hervorgehobener Textfarbe^,  |",
            "|auf gueltigem Hintergrund geschrieben.|",
            "|                                      |",
            "|Sind Sie fertig, so druecken Sie bitte|",
            "|\"CR\"/\"ENTER\".                         |",
            "|______________________________________|",
        };
    return {
        "________________________________________",
        "|Please set the combination of colours |",
        "|for the background, for standardtext  |",
        "|and for ^emphasized text^, so that you  |",
        "|can easily read.                      |",
        "|                                      |",
        "|To choose another background, please  |",
        "|press the corresponding number.       |",
        "|To choose another colour for the text,|",
        "|please press the corresponding letter:|",
        "|small letters for standardtext and    |",
        "|^capital letters for emphasized text^.  |",
        "|The screen will immediately change.   |",
        "|                                      |",
        "|The text is written on the valid back-|",
        "|ground with standardtextcolour and    |",
        "|^this text with emphasized textcolour^. |",
        "|                                      |",
        "|When you are ready, please press the  |",
        "|'CR'/'ENTER' - key.                   |",
        "|______________________________________|",
    };
}

// Text without the marks, and 'E' or 's' per character.
std::pair<std::string, std::string> split_marks(const std::string& marked) {
    std::string text, marks;
    bool on = false;
    for (char ch : marked) {
        if (ch == '^') {
            on = !on;
            continue;
        }
        text += ch;
        marks += on ? 'E' : 's';
    }
    return {text, marks};
}

// The emphasis of box row `row` (3..23) over columns 41..80, as emphasis_row shows it.
std::string box_emphasis(const Screen& screen, int row, const ColourScheme& colours) {
    return emphasis_row(screen, row, colours.standard, colours.emphasized).substr(40);
}

std::string expected_box_emphasis(Language language, int row) {
    return split_marks(sample_box(language)[row - 3]).second;
}

// The sixteen letters' colours: each dark colour followed by its light partner.
constexpr int kLetterColours[16] = {0, 8, 1, 9, 2, 10, 3, 11, 4, 12, 5, 13, 6, 14, 7, 15};

void expect_whole_screen(const TestRig& rig, Language language) {
    const auto table = key_table(language);
    const auto box = sample_box(language);
    for (int row = 1; row <= 25; ++row) {
        if (row < 3 || row > 23) {
            EXPECT_EQ(rig.row(row), std::string(80, ' ')) << "row " << row;
            for (int column = 1; column <= 80; ++column)
                ASSERT_EQ(rig.screen().cell(column, row).attr, 7) << column << "," << row;
            continue;
        }
        EXPECT_EQ(rig.row(row), table[row - 3] + split_marks(box[row - 3]).first) << "row " << row;
        EXPECT_EQ(box_emphasis(rig.screen(), row, rig.app.colours),
                  expected_box_emphasis(language, row))
            << "row " << row;
        for (int column = 1; column <= 40; ++column) {
            const bool swatch = row >= 7 && row <= 22 && column >= 14 && column <= 27;
            const int expected = swatch ? kLetterColours[row - 7] : 7;
            ASSERT_EQ(rig.screen().cell(column, row).attr, expected) << column << "," << row;
        }
    }
}

void expect_cursor_at_rest(const TestRig& rig) {
    EXPECT_EQ(rig.console.where_x(), 79);
    EXPECT_EQ(rig.console.where_y(), 22);
}

TEST(ColourScreen, DrawsKeyTableAndSampleBoxInBothLanguages) {
    for (Language language : {Language::German, Language::English}) {
        TestRig rig;
        rig.app.language = language;
        rig.terminal.key(keys::kEnter);
        run_colour_screen(rig.app);
        expect_whole_screen(rig, language);
        expect_cursor_at_rest(rig);
        EXPECT_EQ(rig.console.attribute(), rig.app.colours.standard);
    }
}

TEST(ColourScreen, DefaultSchemeAcceptsAndRefusesAsTheRulesSay) {
    TestRig rig;
    rig.terminal.type("2cCp").key(keys::kEsc);
    run_colour_screen(rig.app);
    EXPECT_EQ(rig.app.colours, (ColourScheme{31, 30}));

    TestRig small_a;
    small_a.terminal.type("a").key(keys::kEsc);
    run_colour_screen(small_a.app);
    EXPECT_EQ(small_a.app.colours, (ColourScheme{0x10, 30}));

    TestRig capital_p;
    capital_p.terminal.type("P").key(keys::kEsc);
    run_colour_screen(capital_p.app);
    EXPECT_EQ(capital_p.app.colours, (ColourScheme{31, 0x1F}));  // equal colours are allowed
}

TEST(ColourScreen, EveryLetterStandsForItsColourInBothCases) {
    for (int index = 0; index < 16; ++index) {
        const int colour = kLetterColours[index];
        const int background = colour == 0 ? 1 : 0;
        const int other = colour == 15 ? 14 : 15;
        TestRig rig;
        rig.app.colours = {static_cast<std::uint8_t>(background * 16 + other),
                           static_cast<std::uint8_t>(background * 16 + other)};
        rig.terminal.key(static_cast<std::uint8_t>('a' + index))
            .key(static_cast<std::uint8_t>('A' + index))
            .key(keys::kEsc);
        run_colour_screen(rig.app);
        EXPECT_EQ(rig.app.colours.standard, background * 16 + colour) << char('a' + index);
        EXPECT_EQ(rig.app.colours.emphasized, background * 16 + colour) << char('A' + index);
    }
}

TEST(ColourScreen, LettersInTheBackgroundColourAreRefused) {
    for (int index = 0; index < 16; ++index) {
        const int colour = kLetterColours[index];
        if (colour > 7) continue;
        const ColourScheme start{static_cast<std::uint8_t>(colour * 16 + (colour == 7 ? 0 : 15)),
                                 static_cast<std::uint8_t>(colour * 16 + 14)};
        TestRig rig;
        rig.app.colours = start;
        rig.terminal.key(static_cast<std::uint8_t>('a' + index))
            .key(static_cast<std::uint8_t>('A' + index))
            .key(keys::kEsc);
        run_colour_screen(rig.app);
        EXPECT_EQ(rig.app.colours, start) << char('a' + index);
    }
}

TEST(ColourScreen, BackgroundDigitsKeepBothTextColours) {
    for (int digit = 1; digit <= 8; ++digit) {
        const int background = digit - 1;
        const ColourScheme start = background == 1 ? ColourScheme{0x0F, 0x0E} : ColourScheme{};
        TestRig rig;
        rig.app.colours = start;
        rig.terminal.key(static_cast<std::uint8_t>('0' + digit)).key(keys::kEsc);
        run_colour_screen(rig.app);
        EXPECT_EQ(rig.app.colours,
                  (ColourScheme{static_cast<std::uint8_t>(background * 16 + 15),
                                static_cast<std::uint8_t>(background * 16 + 14)}))
            << digit;
    }
}

TEST(ColourScreen, BackgroundInEitherTextColourIsRefused) {
    struct Case {
        ColourScheme start;
        char digit;
    };
    const Case cases[] = {
        {{0x17, 0x1E}, '8'},  // light grey standard text
        {{0x1F, 0x13}, '4'},  // cyan emphasized text
        {{0x4F, 0x4E}, '5'},  // the background already
    };
    for (const Case& c : cases) {
        TestRig rig;
        rig.app.colours = c.start;
        rig.terminal.key(static_cast<std::uint8_t>(c.digit)).key(keys::kEsc);
        run_colour_screen(rig.app);
        EXPECT_EQ(rig.app.colours, c.start) << c.digit;
    }
}

// Runs the screen on the default scheme with the given keys before Esc.
struct ScreenAfterKeys {
    explicit ScreenAfterKeys(Language language, std::string_view typed) {
        rig.app.language = language;
        rig.terminal.type(typed).key(keys::kEsc);
        run_colour_screen(rig.app);
    }
    TestRig rig;
};

TEST(ColourScreen, NewBackgroundRedrawsTheWholeBoxAndNotTheTable) {
    for (Language language : {Language::German, Language::English}) {
        ScreenAfterKeys after(language, "5");
        ASSERT_EQ(after.rig.app.colours, (ColourScheme{0x4F, 0x4E}));
        expect_whole_screen(after.rig, language);
        expect_cursor_at_rest(after.rig);
    }
}

TEST(ColourScreen, NewStandardColourLeavesTheEmphasizedPartsAlone) {
    for (Language language : {Language::German, Language::English}) {
        ScreenAfterKeys after(language, "a");
        const Screen& screen = after.rig.screen();
        for (int row = 3; row <= 23; ++row) {
            EXPECT_EQ(box_emphasis(screen, row, {0x10, 30}), expected_box_emphasis(language, row))
                << "row " << row;
        }
        expect_cursor_at_rest(after.rig);
    }
}

TEST(ColourScreen, NewEmphasizedColourRewritesOnlyTheEmphasizedWords) {
    for (Language language : {Language::German, Language::English}) {
        ScreenAfterKeys after(language, "L");
        const ColourScheme now{31, 0x1D};
        ASSERT_EQ(after.rig.app.colours, now);
        for (int row = 3; row <= 23; ++row) {
            std::string expected = expected_box_emphasis(language, row);
            // The padding after "Gross-" shows no colour and keeps the old emphasis.
            if (language == Language::German && row == 13) expected.replace(37, 2, "??");
            EXPECT_EQ(box_emphasis(after.rig.screen(), row, now), expected) << "row " << row;
        }
        if (language == Language::German) {
            EXPECT_EQ(after.rig.screen().cell(78, 13).attr, 30);
        }
        expect_cursor_at_rest(after.rig);
    }
}

TEST(ColourScreen, ChangesInARowAllReachTheBox) {
    ScreenAfterKeys after(Language::German, "Hj3a");
    const ColourScheme now{0x20, 0x2B};
    ASSERT_EQ(after.rig.app.colours, now);
    // The text colour set before the last background change still counts in the box.
    for (int row = 3; row <= 23; ++row)
        EXPECT_EQ(box_emphasis(after.rig.screen(), row, now),
                  expected_box_emphasis(Language::German, row))
            << "row " << row;
}

TEST(ColourScreen, RefusedAndUnknownKeysDrawNothing) {
    TestRig rig;
    std::vector<std::uint64_t> generations;
    rig.terminal.before_each_key(
        [&](std::size_t) { generations.push_back(rig.screen().generation()); });
    rig.terminal.type("2cCp09qQz!* \b")
        .extended('1')
        .extended('a')
        .extended('A')
        .extended(keys::kEnter)
        .extended(keys::kEsc)
        .extended(scan::kF1)
        .extended(scan::kUp)
        .type("a")
        .key(keys::kEsc);
    run_colour_screen(rig.app);
    ASSERT_EQ(generations.size(), 22u);
    for (std::size_t i = 1; i <= 20; ++i) EXPECT_EQ(generations[i], generations[0]) << "key " << i;
    // The extended Enter and Esc did not leave: the "a" after them was taken.
    EXPECT_EQ(rig.app.colours, (ColourScheme{0x10, 30}));
    EXPECT_EQ(rig.terminal.keys_left(), 0u);
}

TEST(ColourScreen, EnterEscAndCtrlCLeaveAndKeepTheChanges) {
    for (std::uint8_t leave : {keys::kEnter, keys::kEsc, keys::kCtrlC}) {
        TestRig rig;
        rig.terminal.type("6g").key(leave).type("a");
        run_colour_screen(rig.app);
        EXPECT_EQ(rig.app.colours, (ColourScheme{0x53, 0x5E}));
        EXPECT_EQ(rig.console.attribute(), 0x53);
        EXPECT_EQ(rig.terminal.keys_left(), 1u);
        // The menu saves the scheme straight from the working copies.
        const ConditionsRecord saved =
            record_to_save(rig.app.setup, rig.app.colours.standard, rig.app.colours.emphasized);
        EXPECT_EQ(saved.standard_attribute, 0x53);
        EXPECT_EQ(saved.emphasized_attribute, 0x5E);
    }
}

}  // namespace
