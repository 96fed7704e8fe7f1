#include <gtest/gtest.h>

#include <cctype>
#include <string>
#include <vector>

#include "core/keys.hpp"
#include "program/configuration_page.hpp"
#include "setup/game_setup.hpp"
#include "support/screen_rows.hpp"
#include "support/test_rig.hpp"

namespace {

const std::vector<std::string> kChoiceRows = {
    "  1 ( ):   1 MiB        64-Bit:       a ( ):   4 GiB",
    "  2 ( ):   8 MiB                      b ( ):   8 GiB",
    "  3 ( ):  64 MiB                      c ( ):  16 GiB",
    "  4 ( ): 128 MiB                      d ( ):  32 GiB",
    "  5 ( ): 256 MiB                      e ( ):  64 GiB",
    "  6 ( ): 512 MiB                      f ( ): 128 GiB",
    "  7 ( ):   1 GiB                      g ( ): 256 GiB",
    "  8 ( ):   2 GiB",
};

// Rows 1..25 of the page with no entry marked.
std::vector<std::string> page_rows(Language language) {
    const std::string rule =
        " ______________________________________________________________________________";
    std::vector<std::string> rows;
    if (language == Language::German) {
        rows = {
            "                            ***  Konfiguration  ***",
            "",
            "  Klicken Sie mit einem rechten Mausklick auf die obere Fensterleiste und",
            "waehlen \"Eigenschaften\".",
            "  Wechseln Sie zum Kartenreiter \"Schriftart\" und waehlen eine gut lesbare",
            "Schriftgroesse aus.",
            "  Wechseln Sie anschliessend zum Kartenreiter \"Layout\" und waehlen dort sowohl",
            "fuer die Fensterpuffergroesse als auch fuer die Fenstergroesse:",
            "Breite=80 und Hoehe=25.",
            "  Je nach Betriebssystem stehen weitere Optionen zur Verfuegung.",
            rule,
            "",
            "Geben Sie unten ein,wieviel Speicherplatz dem Spiel zur Verfuegung stehen soll.",
            "Mit dem Speicherplatz begrenzen Sie gleichzeitig die Zeit, die der Computer zum",
            "Raten benoetigt. Bestaetigen Sie anschliessend die Auswahl mit \"CR\"/\"Enter\".",
            "",
        };
        rows.insert(rows.end(), kChoiceRows.begin(), kChoiceRows.end());
    } else {
        rows = {
            "",
            "                            ***  Configuration  ***",
            "",
            "  Start 'Mirelvanthoque' and choose with a click with the right mouse button",
            "  on the top window bar 'Properties'.",
            "  Choose the tab 'Font' and then an appropriate font and fontsize.",
            "  Choose the tab 'Layout' and choose Width=80 and Height=25, both windowsize",
            "  and windowcache-size.",
            "  Depending on your operatingsystem there are more options, you can test.",
            "",
            rule,
            "",
            "  Please choose now, how much memory (RAM) the game should be able to use.",
            "  The memory limits also the time, that the computer needs to guess.",
            "  Please confirm your choice by pressing the 'CR'/'Enter'-key.",
            "",
        };
        rows.insert(rows.end(), kChoiceRows.begin(), kChoiceRows.end());
        rows[16] = "  1 ( ):   1 MiB        64-bit:       a ( ):   4 GiB";
    }
    rows.push_back("");
    for (std::string& row : rows) row = full_row(row);
    return rows;
}

struct EntryPlace {
    int column;
    int row;
};

// Where each choice's key character stands, as the page lays them out.
const EntryPlace kPlaces[16] = {
    {0, 0},   {3, 17},  {3, 18},  {3, 19},  {3, 20},  {3, 21},  {3, 22},  {3, 23},
    {3, 24},  {39, 17}, {39, 18}, {39, 19}, {39, 20}, {39, 21}, {39, 22}, {39, 23},
};

// The whole page with `marked` drawn as the marked, emphasized entry.
void expect_page(const TestRig& rig, Language language, int marked) {
    std::vector<std::string> rows = page_rows(language);
    const EntryPlace place = kPlaces[marked];
    rows[place.row - 1][place.column + 2] = '*';
    const ColourScheme& colours = rig.app.colours;
    const int title_row = language == Language::German ? 1 : 2;
    for (int row = 1; row <= 25; ++row) {
        EXPECT_EQ(rig.row(row), rows[row - 1]) << "row " << row;
        std::string emphasis(80, 's');
        if (row == title_row) emphasis.replace(0, 51, 51, 'E');
        if (row == place.row) emphasis.replace(place.column - 1, 14, 14, 'E');
        EXPECT_EQ(emphasis_row(rig.screen(), row, colours.standard, colours.emphasized), emphasis)
            << "row " << row;
    }
    EXPECT_EQ(rig.console.where_x(), place.column);
    EXPECT_EQ(rig.console.where_y(), place.row);
}

TEST(ConfigurationPage, ShowsThePageWithTheCurrentChoiceMarked) {
    for (Language language : {Language::German, Language::English}) {
        for (std::uint8_t choice : {1, 5, 8, 9, 15}) {
            TestRig rig;
            rig.app.language = language;
            rig.app.colours = {0x2F, 0x2E};
            rig.app.setup.memory_choice = choice;
            rig.terminal.key(keys::kEnter);
            run_configuration_page(rig.app);
            SCOPED_TRACE(testing::Message() << "choice " << int(choice));
            expect_page(rig, language, choice);
            EXPECT_EQ(rig.app.setup.memory_choice, choice);
            EXPECT_EQ(rig.console.attribute(), 0x2F);
        }
    }
}

TEST(ConfigurationPage, EveryChoiceKeyMovesTheMark) {
    const std::string digits = "12345678";
    const std::string letters = "abcdefg";
    for (Language language : {Language::German, Language::English}) {
        for (int choice = 1; choice <= 15; ++choice) {
            const char key = choice <= 8 ? digits[choice - 1] : letters[choice - 9];
            for (char typed : {key, static_cast<char>(std::toupper(key))}) {
                TestRig rig;
                rig.app.language = language;
                rig.terminal.key(static_cast<std::uint8_t>(typed)).key(keys::kEsc);
                run_configuration_page(rig.app);
                SCOPED_TRACE(testing::Message() << "key " << typed);
                EXPECT_EQ(rig.app.setup.memory_choice, choice);
                expect_page(rig, language, choice);
            }
        }
    }
}

TEST(ConfigurationPage, CursorKeysWrapInsideTheirColumn) {
    struct Case {
        int from;
        std::vector<std::uint8_t> scans;
        int to;
    };
    const std::vector<std::uint8_t> up = {scan::kUp, scan::kCtrlUp, scan::kAltUp};
    const std::vector<std::uint8_t> down = {scan::kDown, scan::kCtrlDown, scan::kAltDown};
    const std::vector<std::uint8_t> across = {scan::kLeft,      scan::kRight,   scan::kCtrlLeft,
                                              scan::kCtrlRight, scan::kAltLeft, scan::kAltRight};
    const Case cases[] = {
        {1, up, 8},      {8, down, 1},   {9, up, 15},     {15, down, 9},  {5, up, 4},
        {5, down, 6},    {12, up, 11},   {12, down, 13},  {8, across, 15}, {15, across, 7},
        {1, across, 9},  {7, across, 15}, {9, across, 1}, {14, across, 6},
    };
    for (const Case& c : cases) {
        for (std::uint8_t scan_code : c.scans) {
            TestRig rig;
            rig.app.setup.memory_choice = static_cast<std::uint8_t>(c.from);
            rig.terminal.extended(scan_code).key(keys::kEsc);
            run_configuration_page(rig.app);
            SCOPED_TRACE(testing::Message() << c.from << " scan " << int(scan_code));
            EXPECT_EQ(rig.app.setup.memory_choice, c.to);
            expect_page(rig, Language::German, c.to);
        }
    }
}

TEST(ConfigurationPage, AWalkOverTheColumnsLeavesOneMark) {
    TestRig rig;
    rig.app.language = Language::English;
    rig.terminal.extended(scan::kRight)   // 5 -> 13
        .extended(scan::kDown)            // 14
        .extended(scan::kDown)            // 15
        .extended(scan::kDown)            // 9
        .extended(scan::kLeft)            // 1
        .extended(scan::kUp)              // 8
        .extended(scan::kAltRight)        // 15
        .type("3")
        .key(keys::kEsc);
    run_configuration_page(rig.app);
    EXPECT_EQ(rig.app.setup.memory_choice, 3);
    expect_page(rig, Language::English, 3);
}

TEST(ConfigurationPage, KeysThatChooseNothingNewDrawNothing) {
    TestRig rig;
    rig.app.setup.memory_choice = 9;
    std::vector<std::uint64_t> generations;
    rig.terminal.before_each_key(
        [&](std::size_t) { generations.push_back(rig.screen().generation()); });
    // The key of the marked choice, keys of no choice, and the ordinary characters that share
    // their codes with the cursor keys' scan codes.
    rig.terminal.type("aA09hHzHPKM \b*")
        .extended('1')
        .extended('a')
        .extended(keys::kEnter)
        .extended(keys::kEsc)
        .extended(scan::kF4)
        .extended(scan::kPgUp)
        .extended(scan::kHome)
        .type("2")
        .key(keys::kEsc);
    run_configuration_page(rig.app);
    ASSERT_EQ(generations.size(), 23u);
    for (std::size_t i = 1; i <= 21; ++i) EXPECT_EQ(generations[i], generations[0]) << "key " << i;
    EXPECT_EQ(rig.app.setup.memory_choice, 2);
    EXPECT_EQ(rig.terminal.keys_left(), 0u);
}

TEST(ConfigurationPage, LeavingKeepsTheNewChoiceButNotTheBudget) {
    for (std::uint8_t leave : {keys::kEnter, keys::kEsc, keys::kCtrlC}) {
        TestRig rig;
        rig.app.setup.byte_budget = 172359680;  // the budget of choice 5
        rig.terminal.type("g").key(leave).type("1");
        run_configuration_page(rig.app);
        EXPECT_EQ(rig.app.setup.memory_choice, 15);
        EXPECT_EQ(rig.app.setup.byte_budget, 172359680u);
        EXPECT_EQ(rig.terminal.keys_left(), 1u);
        EXPECT_EQ(rig.console.attribute(), rig.app.colours.standard);
        EXPECT_EQ(record_to_save(rig.app.setup, 31, 30).memory_choice, 15);
    }
}

TEST(ConfigurationPage, AChoiceOutsideTheListIsShownAndKeptAsTheDefault) {
    for (std::uint8_t stored : {0, 16, 255}) {
        TestRig rig;
        rig.app.setup.memory_choice = stored;
        rig.terminal.key(keys::kEsc);
        run_configuration_page(rig.app);
        EXPECT_EQ(rig.app.setup.memory_choice, 5);
        expect_page(rig, Language::German, 5);
    }
}

}  // namespace
