#include <gtest/gtest.h>

#include <ostream>

#include "core/keys.hpp"
#include "program/main_menu.hpp"
#include "program/program.hpp"
#include "program/start_up.hpp"
#include "program/title_page.hpp"
#include "support/screen_rows.hpp"
#include "support/test_rig.hpp"

namespace {

const char* const kTitleRow =
    " *******  Mirelvanthoque  ***  Windows - 64-Bit - Version  2025-06-21.  *******";

const std::vector<std::string> kClosing = {
    "/opt/games/mirelvanthoque",
    "",
    "Mirelvanthoque  ***  Windows - 64-Bit - Version  2025-06-21,",
    "Version ohne Grafik- und Sonderzeichen / version without graphics characters.",
    "",
    "Bye-bye!",
    "",
};

void expect_closing_screen(const TestRig& rig) {
    EXPECT_TRUE(rig.terminal.is_shut_down());
    EXPECT_EQ(rig.terminal.closing_lines(), kClosing);
    for (std::size_t i = 0; i < kClosing.size(); ++i)
        EXPECT_EQ(rig.row(static_cast<int>(i) + 1), full_row(kClosing[i]));
    EXPECT_EQ(rig.screen().cell(1, 1).attr, 7);
}

TEST(TitlePage, ShowsTheTitleAndBothLanguageBlocks) {
    TestRig rig;
    rig.terminal.type("d");
    ASSERT_TRUE(run_title_page(rig.app));
    const std::string rows[26] = {
        "", kTitleRow, "", "", "", "", "", "", "", "", "", "", "", "", "", "", "", "", "",
        " Deutsch:",
        " Wollen Sie \"Deutsch\" als Sprache waehlen, So druecken Sie bitte \"d\" oder \"D\".",
        " Wollen Sie das Programm beenden, So druecken Sie bitte \"Esc\"/\"Escape\".",
        "",
        " English:",
        " To choose 'English' as language, please press 'e' or 'E'.",
        " To leave the program, please press 'Esc'/'Escape'.",
    };
    for (int row = 1; row <= 25; ++row) EXPECT_EQ(rig.row(row), full_row(rows[row])) << row;
    const auto& c = rig.app.colours;
    EXPECT_EQ(emphasis_row(rig.screen(), 1, c.standard, c.emphasized),
              std::string(79, 'E') + "s");
    EXPECT_EQ(emphasis_row(rig.screen(), 19, c.standard, c.emphasized),
              std::string(9, 'E') + std::string(71, 's'));
    EXPECT_EQ(emphasis_row(rig.screen(), 25, c.standard, c.emphasized), std::string(80, 's'));
}

TEST(TitlePage, LanguageKeysInBothCases) {
    for (const char* key : {"d", "D"}) {
        TestRig rig;
        rig.app.language = Language::English;
        rig.terminal.type(key);
        EXPECT_TRUE(run_title_page(rig.app));
        EXPECT_EQ(rig.app.language, Language::German);
    }
    for (const char* key : {"e", "E"}) {
        TestRig rig;
        rig.terminal.type(key);
        EXPECT_TRUE(run_title_page(rig.app));
        EXPECT_EQ(rig.app.language, Language::English);
    }
}

TEST(TitlePage, OtherKeysAndExtendedKeysAreIgnored) {
    TestRig rig;
    rig.terminal.type("x1\r\b ").extended(scan::kF1).extended('e').extended(27).type("e");
    EXPECT_TRUE(run_title_page(rig.app));
    EXPECT_EQ(rig.app.language, Language::English);
    EXPECT_EQ(rig.terminal.keys_left(), 0u);
}

TEST(TitlePage, EscAndCtrlCLeave) {
    for (std::uint8_t key : {keys::kEsc, keys::kCtrlC}) {
        TestRig rig;
        rig.terminal.key(key);
        EXPECT_FALSE(run_title_page(rig.app));
    }
}

struct MenuCase {
    Language language;
    std::vector<std::string> rows;  // rows 1..25
    std::vector<std::string> emphasis;  // rows 1..25, as emphasis_row gives them
};

// The whole menu in one language: text and emphasis of every row.
void expect_menu(const TestRig& rig, const std::vector<std::string>& rows,
                 const std::vector<std::string>& marks) {
    const auto& c = rig.app.colours;
    for (int row = 1; row <= 25; ++row) {
        EXPECT_EQ(rig.row(row), full_row(rows[row - 1])) << "row " << row;
        std::string expected = marks[row - 1];
        expected.resize(80, 's');
        EXPECT_EQ(emphasis_row(rig.screen(), row, c.standard, c.emphasized), expected)
            << "row " << row;
    }
}

// Marks 'E' under the parts of a text that stand between '^' and drops the marks.
std::pair<std::string, std::string> split_marks(const std::string& marked) {
    std::string text, marks;
    bool on = false;
    for (char ch : marked) {
        if (ch == '^') { on = !on; continue; }
        text += ch;
        marks += on ? 'E' : 's';
    }
    return {text, marks};
}

void check_menu(Language language, const std::vector<std::string>& marked_rows) {
    TestRig rig;
    rig.app.language = language;
    draw_main_menu(rig.app);
    std::vector<std::string> rows, marks;
    for (const auto& marked : marked_rows) {
        auto [text, mark] = split_marks(marked);
        rows.push_back(text);
        marks.push_back(mark);
    }
    expect_menu(rig, rows, marks);
}

TEST(MainMenu, GermanScreen) {
    check_menu(Language::German, {
        "^                              Bedienungsanleitung:^",
        "",
        "  Die Bedienung erfolgt ausschliesslich ueber die Tastatur. Jeder widerspruchs-",
        " freie Befehl wird sofort ohne Bestaetigung durch \"CR\"/\"Enter\" ausgefuehrt:",
        "",
        " - Mit ^\"Esc\"^/^\"Escape\"^ koennen Sie immer aus dem Programm fluechten, wenn Sie",
        "   einmal nicht mehr weiter wissen.",
        " - ^\"Backspace\"^/^\"<--\"^/^\"Ctrl H\"^/^\"Strg H\"^ und ^\"PgUp\"^ blaettern Texte zurueck.",
        " - ^Jeder andere Tastendruck^ blaettert hingegen vorwaerts.",
        " - Die ^Ziffern- und Buchstabentasten^ dienen der Auswahl, Eingabe und Aenderung.",
        "   (Falls der Ziffernblock nicht aktiv ist, bitte die Taste ^\"Num\"^ druecken oder",
        "   die Tasten oberhalb des Buchstaben-Blockes verwenden.)",
        " - ^\"CR\"^/^\"Enter\"^ uebernimmt einen vorgegebenen Wert und setzt das Programm fort.",
        " - ^\"Backspace\"^/^\"<--\"^/^\"Ctrl H\"^/^\"Strg H\"^ und beim Raten ^\"del\"^ sind zur Korrektur.",
        " - Die Funktionstaste ^\"F4\"^ erzwingt eine baldige Beendigung des Ratevorganges.",
        " - Mit den ^Cursortasten <-^ und ^->^ koennen Sie sich beim Raten im Code bewegen.",
        " - ^\" \"^ bzw. ^\"*\"^ stehen fuer das Leerzeichen, falls es beim Raten erlaubt ist.",
        "",
        "^                                Bitte waehlen Sie:^",
        "",
        " 1 - Sprache aendern.                     5 - Das Spiel beginnt.",
        " 2 - Datum/Uhrzeit anzeigen/einstellen.   6 - Kurze Spielanleitung.  (1 Seite)",
        " 3 - Wochentagskalender von 0000 - 9999/  7 - Genaue Spielanleitung. (4 Seiten)",
        "     Virtuelles Spieldatum.               8 - Konfiguration.         (1 Seite)",
        " 4 - Bringen Sie Farbe ins Spiel.         9 - Programm beenden.",
    });
}

TEST(MainMenu, EnglishScreen) {
    check_menu(Language::English, {
        "^                             Operating instructions:^",
        "",
        " Mirelvanthoque expects an input exclusively with the keyboard. Each consistent",
        " command will be realized immediately without pressing the 'CR'/'Enter'-key:",
        "",
        " - With ^'Esc'^/^'Escape'^ you always can escape from the program, if you do not",
        "   know, what to do.",
        " - ^'Backspace'^/^'<--'^/^'Ctrl H'^/^'Strg H'^ and ^'PgUp'^ show the previous page.",
        " - Pressing ^any other key^ shows the next page of a text.",
        " - Use the ^number- and characterkeys^ for inputs, to select or to change",
        "   something. (If the numbers are not activ, please press the ^'Num'^-key or use",
        "   the keys above the characters.)",
        " - ^'CR'^/^'Enter'^ accepts the proposition from the pc or continues the program.",
        " - Use ^'Backspace'^/^'<--'^/^'Ctrl H'^/^'Strg H'^ and while guessing ^'del'^ to correct.",
        " - The functionkey ^'F4'^ terminates soon the guessing of the computer.",
        " - Use the ^cursorkeys '<-'^ and ^'->'^, to move the cursor while guessing.",
        " - While guessing use ^' '^ respectively ^'*'^ for the vacant sign when allowed.",
        "",
        "^                               Please choose now:^",
        "",
        " 1 - Change the language.        5 - The game starts.",
        " 2 - Show/change date/time.      6 - Short instruction of the game.   (1 page)",
        " 3 - Calendar from 0000 to 9999/ 7 - Detailed instruction of the game.(4 pages)",
        "     Virtual date of the game.   8 - Configuration.                   (1 page)",
        " 4 - Lend colour to the game.    9 - End of the game.",
    });
}

TEST(MainMenu, ChoiceIgnoresEverythingButTheNineItems) {
    TestRig rig;
    rig.terminal.type("0a\r\x1b ").extended(scan::kUp).extended('5').type("7");
    EXPECT_EQ(read_menu_choice(rig.app), '7');
    EXPECT_EQ(rig.terminal.keys_left(), 0u);
}

TEST(MainMenu, CtrlCCountsAsItemNine) {
    TestRig rig;
    rig.terminal.key(keys::kCtrlC);
    EXPECT_EQ(read_menu_choice(rig.app), '9');
}

TEST(WholeRun, EscAsTheFirstKeyEndsWithoutAMenu) {
    TestRig rig;
    rig.terminal.key(keys::kEsc);
    EXPECT_EQ(run_program(rig.app), 0);
    expect_closing_screen(rig);
}

TEST(WholeRun, CtrlCOnTheTitlePageEndsLikeEsc) {
    TestRig rig;
    rig.terminal.key(keys::kCtrlC);
    EXPECT_EQ(run_program(rig.app), 0);
    expect_closing_screen(rig);
}

TEST(WholeRun, EnglishThenItemNine) {
    TestRig rig;
    rig.terminal.type("E9");
    EXPECT_EQ(run_program(rig.app), 0);
    EXPECT_EQ(rig.app.language, Language::English);
    expect_closing_screen(rig);
}

TEST(WholeRun, CtrlCInTheMenuEnds) {
    TestRig rig;
    rig.terminal.type("d").key(keys::kCtrlC);
    EXPECT_EQ(run_program(rig.app), 0);
    expect_closing_screen(rig);
}

TEST(WholeRun, ItemOneThenEscEndsTheProgram) {
    TestRig rig;
    rig.terminal.type("d1").key(keys::kEsc);
    EXPECT_EQ(run_program(rig.app), 0);
    expect_closing_screen(rig);
}

TEST(WholeRun, ItemOneChangesTheLanguageOfTheMenu) {
    TestRig rig;
    // After item 1 and "e" the menu is drawn again, in English; item 9 then ends.
    rig.terminal.type("d1e9");
    EXPECT_EQ(run_program(rig.app), 0);
    EXPECT_EQ(rig.app.language, Language::English);
}

TEST(WholeRun, TheMenuStandsInTheChosenLanguageUntilAKeyComes) {
    TestRig rig;
    rig.terminal.type("e");
    EXPECT_THROW(run_program(rig.app), ScriptExhausted);
    EXPECT_EQ(rig.row(19), full_row("                               Please choose now:"));
    EXPECT_FALSE(rig.terminal.is_shut_down());
}

TEST(WholeRun, ArrowInTheMenuIsIgnored) {
    TestRig rig;
    rig.terminal.type("d").extended(scan::kDown).extended(scan::kF1).type("9");
    EXPECT_EQ(run_program(rig.app), 0);
    expect_closing_screen(rig);
    EXPECT_EQ(rig.terminal.keys_left(), 0u);
}

TEST(WholeRun, ItemsTwoThreeSixAndSevenOpenTheirScreensAndComeBack) {
    TestRig rig;
    std::vector<std::string> first_rows;
    rig.terminal.before_each_key([&](std::size_t) { first_rows.push_back(rig.row(1)); });
    rig.terminal.type("d2\r3\r6").key(keys::kEsc).type("7").key(keys::kCtrlC).type("9");
    EXPECT_EQ(run_program(rig.app), 0);
    EXPECT_EQ(rig.terminal.keys_left(), 0u);
    ASSERT_EQ(first_rows.size(), 10u);
    const std::string menu = first_rows[1];
    EXPECT_EQ(first_rows[2].substr(0, 74),
              "Bitte stellen Sie Datum und Uhrzeit ein (benoetigt Administrationsrechte):");
    EXPECT_EQ(first_rows[3], menu);
    EXPECT_EQ(first_rows[4].substr(0, 48), "Bitte stellen Sie Ihr virtuelles Spieldatum ein:");
    EXPECT_EQ(first_rows[5], menu);
    EXPECT_NE(first_rows[6], menu);  // the short rules
    EXPECT_EQ(first_rows[7], menu);
    EXPECT_NE(first_rows[8], menu);  // the detailed rules
    EXPECT_EQ(first_rows[9], menu);
    // Looking at the clock changes nothing.
    EXPECT_TRUE(rig.clock.date_settings().empty());
    EXPECT_EQ(rig.clock.time_settings(), 0);
}

TEST(WholeRun, AVirtualDateShowsInTheNextMatchWithTheNextDayAfterMidnight) {
    TestRig rig;
    rig.clock.show(2026, 12, 8, 23, 0, 0);
    // Item 3: the thousands of the year become 1, so 8 December 1026 is in force.
    rig.terminal.type("d31\r");
    // Item 5, and a match against the computer's code; its first try waits past midnight.
    rig.terminal.type("51").after_ms(2 * 3600 * 1000).key(keys::kEsc);
    std::string start_row;
    std::string date_row;
    rig.terminal.before_each_key([&](std::size_t taken) {
        if (taken != 6) return;
        start_row = rig.row(17);
        date_row = rig.row(19);
    });
    rig.terminal.type("n").key(keys::kEsc).type("9");
    EXPECT_EQ(run_program(rig.app), 0);
    EXPECT_TRUE(rig.app.virtual_date.in_force);
    EXPECT_EQ(start_row.substr(0, 38), "| Spielbeginn: Donnerstag, 8.12.1026, ") << start_row;
    EXPECT_EQ(date_row.substr(0, 38), "| Datum/Zeit : Freitag, 9.12.1026,    ") << date_row;
    EXPECT_TRUE(rig.clock.date_settings().empty());
}

TEST(WholeRun, ItemTwoTurnsTheVirtualDateOff) {
    TestRig rig;
    rig.terminal.type("d31\r2\r9");
    EXPECT_EQ(run_program(rig.app), 0);
    EXPECT_FALSE(rig.app.virtual_date.in_force);
    EXPECT_TRUE(rig.clock.date_settings().empty());
}

TEST(WholeRun, StartUpSeedsTheGeneratorFromTheTick) {
    TestRig first, second, third;
    second.clock.advance_ms(7);
    third.clock.advance_ms(7);
    start_up(first.app);
    start_up(second.app);
    start_up(third.app);
    const auto from_second = second.app.random.next();
    EXPECT_NE(first.app.random.next(), from_second);
    EXPECT_EQ(third.app.random.next(), from_second);
}

struct YearCase {
    std::uint16_t year, month, day;
    std::uint16_t corrected_year, corrected_day;
};

void PrintTo(const YearCase& c, std::ostream* out) {
    *out << c.year << "-" << c.month << "-" << c.day;
}

class YearCorrection : public ::testing::TestWithParam<YearCase> {};

TEST_P(YearCorrection, OutOfRangeYearsAreWrittenBackCorrected) {
    const YearCase& c = GetParam();
    FakeClock clock;
    clock.show(c.year, c.month, c.day, 13, 14, 15);
    correct_system_year(clock);
    ASSERT_EQ(clock.date_settings().size(), 1u);
    EXPECT_EQ(clock.date_settings()[0].year, c.corrected_year);
    EXPECT_EQ(clock.date_settings()[0].month, c.month);
    EXPECT_EQ(clock.date_settings()[0].day, c.corrected_day);
    const DateTime now = clock.now();
    EXPECT_EQ(now.year, c.corrected_year);
    EXPECT_EQ(now.hour, 13);
    EXPECT_EQ(now.minute, 14);
    EXPECT_EQ(clock.time_settings(), 0);
}

INSTANTIATE_TEST_SUITE_P(Years, YearCorrection,
                         ::testing::Values(YearCase{1975, 6, 30, 2075, 30},
                                           YearCase{1979, 12, 31, 2079, 31},
                                           YearCase{1900, 3, 1, 2000, 1},
                                           YearCase{10000, 7, 4, 9999, 4},
                                           YearCase{12345, 1, 31, 9999, 31},
                                           // 9999 has no 29 February
                                           YearCase{10000, 2, 29, 9999, 28}));

TEST(YearCorrectionRange, YearsFrom1980To9999AreLeftAlone) {
    for (std::uint16_t year : {1980, 2026, 9999}) {
        FakeClock clock;
        clock.show(year, 5, 5);
        correct_system_year(clock);
        EXPECT_TRUE(clock.date_settings().empty()) << year;
    }
}

TEST(YearCorrectionRange, ARefusedSettingIsNotFatal) {
    TestRig rig;
    rig.clock.show(1975, 1, 1);
    rig.clock.refuse_setting();
    rig.terminal.key(keys::kEsc);
    EXPECT_EQ(run_program(rig.app), 0);
    EXPECT_TRUE(rig.terminal.is_shut_down());
}

TEST(YearCorrectionRange, TheWholeRunCorrectsTheYearFirst) {
    TestRig rig;
    rig.clock.show(1975, 8, 9);
    rig.terminal.key(keys::kEsc);
    run_program(rig.app);
    EXPECT_EQ(rig.clock.now().year, 2075);
}

}  // namespace
