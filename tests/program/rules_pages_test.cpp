#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/keys.hpp"
#include "program/rules_pages.hpp"
#include "program/rules_texts.hpp"
#include "support/screen_rows.hpp"
#include "support/test_rig.hpp"

namespace {

enum class Rules { Short, Detailed };

std::span<const RulesPage> pages_of(Rules rules) {
    return rules == Rules::Short ? short_rules() : detailed_rules();
}

constexpr Key key(std::uint8_t code) { return {code, false}; }
constexpr Key ext(std::uint8_t scan_code) { return {scan_code, true}; }

constexpr Key kNext = key('x');
constexpr Key kEsc = key(keys::kEsc);

const std::vector<Key> kForwardKeys = {
    key('x'), key('Q'), key('7'), key(' '), key('*'), key(keys::kEnter), key('\t'),
    key(keys::kCtrlBackspace), ext(scan::kPgDn), ext(scan::kCtrlPgDn), ext(scan::kAltPgDn),
};
const std::vector<Key> kBackKeys = {
    key(keys::kBackspace), ext(scan::kPgUp), ext(scan::kCtrlPgUp), ext(scan::kAltPgUp),
};
// Cursor, function and editing keys, and scan codes that share their numbers with the
// ordinary codes of Backspace, Enter, Esc, Ctrl-C and a letter.
const std::vector<Key> kIgnoredKeys = {
    ext(scan::kF1),   ext(scan::kF4),   ext(scan::kShiftF4), ext(scan::kF6),
    ext(scan::kUp),   ext(scan::kDown), ext(scan::kLeft),    ext(scan::kRight),
    ext(scan::kHome), ext(scan::kEnd),  ext(scan::kInsert),  ext(scan::kDel),
    ext(scan::kCtrlDel), ext(keys::kBackspace), ext(keys::kEnter), ext(keys::kEsc),
    ext(keys::kCtrlC),   ext('x'),
};

std::vector<std::string> rows_of(const RulesPage& page, Language language) {
    std::vector<std::string> rows(Screen::kRows, full_row(""));
    for (const MarkedRow& line : page) {
        std::string text(line.text(language));
        std::erase(text, '^');
        rows[line.row - 1] = full_row(text);
    }
    return rows;
}

// The page whose every row stands on the screen, or -1.
int page_on_screen(const TestRig& rig, std::span<const RulesPage> pages) {
    for (std::size_t page = 0; page < pages.size(); ++page) {
        const std::vector<std::string> rows = rows_of(pages[page], rig.app.language);
        bool shown = true;
        for (int row = 1; row <= Screen::kRows && shown; ++row)
            shown = rig.row(row) == rows[row - 1];
        if (shown) return static_cast<int>(page);
    }
    return -1;
}

// The texts in the emphasized attribute, run by run, in reading order.
std::vector<std::string> emphasized_runs(const TestRig& rig) {
    const ColourScheme& colours = rig.app.colours;
    std::vector<std::string> runs;
    for (int row = 1; row <= Screen::kRows; ++row) {
        const std::string marks =
            emphasis_row(rig.screen(), row, colours.standard, colours.emphasized);
        const std::string text = rig.row(row);
        for (std::size_t at = marks.find('E'); at != std::string::npos;) {
            const std::size_t end = std::min(marks.find_first_not_of('E', at), marks.size());
            runs.push_back(text.substr(at, end - at));
            at = marks.find('E', end);
        }
    }
    return runs;
}

struct Walk {
    std::vector<int> pages;                  // the page on screen as each key was taken
    std::vector<std::uint64_t> generations;  // the screen's generation then
    std::vector<std::vector<std::string>> emphasis;  // the emphasized runs then
    std::vector<std::string> last_screen;    // rows 1..25 once the rules were left
    std::size_t keys_left = 0;
};

// Runs the rules on the keys, followed by an extended key they ignore: a run that does not
// leave when it should takes it and then finds the script exhausted.
Walk walk(Rules rules, Language language, const std::vector<Key>& script) {
    TestRig rig;
    rig.app.language = language;
    rig.app.colours = {0x1F, 0x1E};
    Walk walk;
    rig.terminal.before_each_key([&](std::size_t) {
        walk.pages.push_back(page_on_screen(rig, pages_of(rules)));
        walk.generations.push_back(rig.screen().generation());
        walk.emphasis.push_back(emphasized_runs(rig));
    });
    for (Key k : script) k.extended ? rig.terminal.extended(k.code) : rig.terminal.key(k.code);
    rig.terminal.extended(scan::kF1);
    if (rules == Rules::Short) run_short_rules(rig.app);
    else run_detailed_rules(rig.app);
    for (int row = 1; row <= Screen::kRows; ++row) walk.last_screen.push_back(rig.row(row));
    walk.keys_left = rig.terminal.keys_left();
    EXPECT_EQ(rig.console.attribute(), rig.app.colours.standard);
    return walk;
}

std::string name_of(Key k) {
    return (k.extended ? "scan " : "key ") + std::to_string(k.code);
}

const Language kLanguages[] = {Language::German, Language::English};

TEST(DetailedRules, EveryForwardKeyTurnsToTheNextPageAndLeavesAfterTheLast) {
    for (Language language : kLanguages) {
        for (Key forward : kForwardKeys) {
            SCOPED_TRACE(name_of(forward));
            const Walk w = walk(Rules::Detailed, language, {forward, forward, forward, forward});
            EXPECT_EQ(w.pages, (std::vector<int>{0, 1, 2, 3}));
            EXPECT_EQ(w.keys_left, 1u);
        }
    }
}

TEST(DetailedRules, EveryBackKeyTurnsBackButNotBeforeTheFirstPage) {
    for (Language language : kLanguages) {
        for (Key back : kBackKeys) {
            SCOPED_TRACE(name_of(back));
            const Walk w = walk(Rules::Detailed, language,
                                {kNext, kNext, kNext, back, back, back, back, kNext, kEsc});
            EXPECT_EQ(w.pages, (std::vector<int>{0, 1, 2, 3, 2, 1, 0, 0, 1}));
            ASSERT_EQ(w.generations.size(), 9u);
            EXPECT_EQ(w.generations[7], w.generations[6]) << "back on the first page drew";
            EXPECT_EQ(w.keys_left, 1u);
        }
    }
}

TEST(DetailedRules, PagesBackAndForthWithoutLimit) {
    const Key down = ext(scan::kPgDn), up = ext(scan::kPgUp), back = key(keys::kBackspace);
    const Walk w = walk(Rules::Detailed, Language::English,
                        {down, down, down, up, up, up, down, down, down, back, back, back,
                         down, up, down, down, down, down});
    EXPECT_EQ(w.pages,
              (std::vector<int>{0, 1, 2, 3, 2, 1, 0, 1, 2, 3, 2, 1, 0, 1, 0, 1, 2, 3}));
    EXPECT_EQ(w.keys_left, 1u);
}

TEST(DetailedRules, EscAndCtrlCLeaveFromEveryPage) {
    for (Language language : kLanguages) {
        for (std::uint8_t leave : {keys::kEsc, keys::kCtrlC}) {
            for (int page = 0; page < 4; ++page) {
                SCOPED_TRACE(testing::Message() << "key " << int(leave) << " on page " << page);
                std::vector<Key> script(page, kNext);
                script.push_back(key(leave));
                const Walk w = walk(Rules::Detailed, language, script);
                ASSERT_EQ(w.pages.size(), static_cast<std::size_t>(page + 1));
                EXPECT_EQ(w.pages.back(), page);
                EXPECT_EQ(w.keys_left, 1u);
            }
        }
    }
}

TEST(DetailedRules, OtherExtendedKeysChangeNothingInTheMiddleOrOnTheLastPage) {
    std::vector<Key> script = {kNext};
    script.insert(script.end(), kIgnoredKeys.begin(), kIgnoredKeys.end());
    script.insert(script.end(), {kNext, kNext});
    script.insert(script.end(), kIgnoredKeys.begin(), kIgnoredKeys.end());
    script.push_back(kEsc);
    const Walk w = walk(Rules::Detailed, Language::German, script);

    const std::size_t ignored = kIgnoredKeys.size();
    std::vector<int> pages = {0};
    pages.insert(pages.end(), ignored + 1, 1);
    pages.push_back(2);
    pages.insert(pages.end(), ignored + 1, 3);
    ASSERT_EQ(w.pages, pages);
    for (std::size_t first : {std::size_t{1}, ignored + 3}) {
        for (std::size_t i = 1; i <= ignored; ++i)
            EXPECT_EQ(w.generations[first + i], w.generations[first]) << "key " << first + i;
    }
    EXPECT_EQ(w.keys_left, 1u);
}

TEST(ShortRules, EveryForwardKeyAndEscAndCtrlCLeaveTheOnlyPage) {
    std::vector<Key> leaving = kForwardKeys;
    leaving.insert(leaving.end(), {key(keys::kEsc), key(keys::kCtrlC)});
    for (Language language : kLanguages) {
        for (Key leave : leaving) {
            SCOPED_TRACE(name_of(leave));
            const Walk w = walk(Rules::Short, language, {leave});
            EXPECT_EQ(w.pages, std::vector<int>{0});
            EXPECT_EQ(w.keys_left, 1u);
        }
    }
}

TEST(ShortRules, BackKeysAndOtherExtendedKeysAreIgnored) {
    std::vector<Key> script = kBackKeys;
    script.insert(script.end(), kIgnoredKeys.begin(), kIgnoredKeys.end());
    const std::size_t ignored = script.size();
    script.push_back(kNext);
    for (Language language : kLanguages) {
        const Walk w = walk(Rules::Short, language, script);
        EXPECT_EQ(w.pages, std::vector<int>(ignored + 1, 0));
        for (std::size_t i = 1; i <= ignored; ++i)
            EXPECT_EQ(w.generations[i], w.generations[0]) << name_of(script[i - 1]);
        EXPECT_EQ(w.keys_left, 1u);
    }
}

// Headings given word for word, in German and in English.
const Bilingual kShortHeading{"                            ***  Spielregeln !  ***",
                              "                         ***  Rules of the game !  ***"};
const Bilingual kCourseHeading{"                        Spielablauf (\"Mirelvanthoque\"):",
                               "                               Course of the game:"};
const Bilingual kFirstExampleHeading{"      Beispiel:", "          Example:"};
const Bilingual kComputerVersionHeading{
    "             Die vorliegende wesentlich erweiterte Computerversion:",
    "               The present fundamentally improved computerversion:"};
const Bilingual kDifferencesHeading{"                        Unterschiede zum Originalspiel:",
                                    "                       Differences to the original game:"};
const Bilingual kSecondExampleHeading{"Beispiel:", "Example:"};
const Bilingual kReviewHeading{"          Hier das Spiel noch einmal im Ueberblick:",
                               "          Here is a review of the game:"};

TEST(RulesPages, RowsGivenWordForWordStandWholeInBothLanguages) {
    struct Case {
        Rules rules;
        int page;
        int row;
        Bilingual text;
    };
    const Case cases[] = {
        {Rules::Short, 0, 1, kShortHeading},
        {Rules::Detailed, 0, 3, kCourseHeading},
        {Rules::Detailed, 0, 17, kFirstExampleHeading},
        {Rules::Detailed, 1, 1, kComputerVersionHeading},
        {Rules::Detailed, 1, 9, kDifferencesHeading},
        {Rules::Detailed, 2, 9, kSecondExampleHeading},
        {Rules::Detailed, 3, 1, kReviewHeading},
        {Rules::Detailed, 3, 3, {"          Nr.  Code  P  Z", "          No.  Code  P  S"}},
        {Rules::Detailed, 3, 4, {"            1   ba   1  0", "            1   ba   1  0"}},
        {Rules::Detailed, 3, 5, {"            2   bb   0  0", "            2   bb   0  0"}},
        {Rules::Detailed, 3, 6, {"            3   aa   2  0", "            3   aa   2  0"}},
    };
    for (Language language : kLanguages) {
        for (const Case& c : cases) {
            SCOPED_TRACE(testing::Message() << "page " << c.page + 1 << " row " << c.row);
            std::vector<Key> script(c.page, kNext);
            script.push_back(kEsc);
            const Walk w = walk(c.rules, language, script);
            EXPECT_EQ(w.last_screen[c.row - 1], full_row(c.text(language)));
        }
    }
}

TEST(RulesPages, OnlyTitlesHeadingsAndKeyNamesAreEmphasized) {
    using Runs = std::vector<std::string_view>;
    struct Case {
        Rules rules;
        Language language;
        std::vector<Runs> pages;
    };
    const Runs german_differences = {kComputerVersionHeading.german, "\"F4\"", "\"F6\"",
                                     kDifferencesHeading.german, "Leertaste", "\"*\""};
    const Runs english_differences = {kComputerVersionHeading.english, "'F4'", "'F6'",
                                      kDifferencesHeading.english, "space bar", "'*'"};
    const Case cases[] = {
        {Rules::Short, Language::German,
         {{kShortHeading.german, "\"Esc\"", "\"F4\"", "\" \"", "\"*\""}}},
        {Rules::Short, Language::English,
         {{kShortHeading.english, "'Esc'", "'F4'", "' '", "'*'"}}},
        {Rules::Detailed, Language::German,
         {{"               ***  Mirelvanthoque  -  Genaue Spielanleitung  ***",
           kCourseHeading.german, kFirstExampleHeading.german},
          german_differences,
          {kSecondExampleHeading.german},
          {kReviewHeading.german, "Starre Antworten:", "Bestes Spiel:", "\"F4\"",
           "Ihre Antworten:"}}},
        {Rules::Detailed, Language::English,
         {{"         ***  Mirelvanthoque  -  Detailed instruction of the game  ***",
           kCourseHeading.english, kFirstExampleHeading.english},
          english_differences,
          {kSecondExampleHeading.english},
          {kReviewHeading.english, "Rigid answers:", "Best play:", "'F4'", "Your answers:"}}},
    };
    for (const Case& c : cases) {
        const std::vector<Key> script(c.pages.size(), kNext);
        const Walk w = walk(c.rules, c.language, script);
        ASSERT_EQ(w.emphasis.size(), c.pages.size());
        for (std::size_t page = 0; page < c.pages.size(); ++page) {
            const Runs shown(w.emphasis[page].begin(), w.emphasis[page].end());
            EXPECT_EQ(shown, c.pages[page]) << "page " << page + 1;
        }
    }
}

TEST(RulesTexts, EveryRowFitsTheScreenInPlainCharacters) {
    EXPECT_EQ(short_rules().size(), 1u);
    EXPECT_EQ(detailed_rules().size(), 4u);
    for (Rules rules : {Rules::Short, Rules::Detailed}) {
        const std::span<const RulesPage> pages = pages_of(rules);
        for (std::size_t page = 0; page < pages.size(); ++page) {
            int previous_row = 0;
            for (const MarkedRow& line : pages[page]) {
                SCOPED_TRACE(testing::Message() << (rules == Rules::Short ? "short" : "detailed")
                                                << " page " << page + 1 << " row " << line.row);
                EXPECT_GT(line.row, previous_row);
                EXPECT_LE(line.row, Screen::kRows);
                previous_row = line.row;
                for (Language language : kLanguages) {
                    const std::string_view text = line.text(language);
                    const auto marks = std::count(text.begin(), text.end(), '^');
                    EXPECT_EQ(marks % 2, 0) << text;
                    EXPECT_LE(text.size() - marks, 79u) << text;
                    for (unsigned char ch : text)
                        EXPECT_TRUE(ch >= 32 && ch <= 126) << "byte " << int(ch) << " in " << text;
                }
            }
        }
    }
}

}  // namespace
