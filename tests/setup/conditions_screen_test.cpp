#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/keys.hpp"
#include "setup/conditions_screen.hpp"
#include "setup/memory_budget.hpp"
#include "support/screen_rows.hpp"
#include "support/test_rig.hpp"

namespace {

const std::string kLine(79, '_');
std::string bar(const std::string& inner) {
    std::string padded = inner;
    padded.resize(77, ' ');
    return "|" + padded + "|";
}
const std::string k42(42, '_');
const std::string k34(34, '_');

// A rig whose conditions are validated as at start-up, in the given language.
struct ScreenRig : TestRig {
    explicit ScreenRig(Language language, const ConditionsRecord& record = ConditionsRecord{}) {
        app.setup.record = record;
        validate_conditions(app.setup);
        app.language = language;
        app.game_language = language;
    }
    void expect_rows(const std::vector<std::string>& rows) const {
        ASSERT_EQ(rows.size(), 25u);
        for (int row = 1; row <= 25; ++row)
            EXPECT_EQ(this->row(row), full_row(rows[row - 1])) << "row " << row;
    }
    std::pair<int, int> cursor() const { return {console.where_x(), console.where_y()}; }
};

std::vector<std::string> german_default_rows() {
    return {
        kLine,
        "|                               Mirelvanthoque                      | 256 MiB |",
        "|                             ******************                    |_________|",
        bar(" 2 - 9  Zeichen mit/ohne Wiederholungsmoeglichkeit."),
        bar(" Zur Verfuegung stehender Zeichensatz: a,..,z,0,..,9."),
        bar(" Der Computer kann hoechstens folgende Codes erraten:"),
        bar(" Laenge des Codes         :       2    3    4    5    6    7    8    9"),
        bar(" Groesse des Zeichensatzes:      36   36   36   19   11    8    6    5"),
        bar(std::string(77, '_')),
        bar(" Gewuenschte Spielbedingungen:    | Zeitbegrenzung (nur fuer den PC):10 Sek."),
        "|" + k34 + "| (00 Sek. bedeutet keine Zeitbegrenzung.) |",
        "| Ton              :         Nein. |" + k42 + "|",
        bar(" Kleinstes Zeichen:         0     | Soll der PC raten? Nein."),
        "| Groesstes Zeichen:         9     |" + k42 + "|",
        bar(" Zeichensatz      :         0123456789"),
        "| Laenge des Codes :         4     _" + k42 + "|",
        bar(" Wiederholung von Zeichen?  Nein. | Soll der PC eine Loesung vorgeben? Ja."),
        bar(" Sind Leerzeichen erlaubt?  Nein. | Loesung ...."),
        "| Ist die Loesung fest?      Ja.   |" + k42 + "|",
        "|" + k34 + "| Bitte waehlen Sie (1, 2, 3 oder 4): 1.   |",
        bar(" 1.: Spiel zu diesen Bed. -  2.: Revanche -  3.: Bed. aendern -  4.: Ende."),
        bar(std::string(77, '_')),
        "| 1. Spieler,denkt sich Raetsel aus: *** Der Computer ***            O.K.? Ja.|",
        "| 2. Spieler,knackt den Code       :                                 O.K.? Ja.|",
        bar(std::string(77, '_')),
    };
}

std::vector<std::string> english_default_rows() {
    return {
        kLine,
        "|                               Mirelvanthoque                      | 256 MiB |",
        "|                             ******************                    |_________|",
        bar(" 2 - 9  signs with/without the possibility of repetitions."),
        bar(" You can choose from the following signs: a,..,z,0,..,9."),
        bar(" The computer at most can guess one of the following codes:"),
        bar(" Length of the code          :    2    3    4    5    6    7    8    9"),
        bar(" Max. number of allowed signs:   36   36   36   19   11    8    6    5"),
        bar(std::string(77, '_')),
        bar(" Please choose now:               | Timelimit (only for computer): 10 sec."),
        "|" + k34 + "| (00 sec. means no timelimit.)            |",
        "| Sound             :        No.   |" + k42 + "|",
        bar(" First sign        :        0     | Shall the computer guess? No."),
        "| Last  sign        :        9     |" + k42 + "|",
        bar(" Set of signs      :        0123456789"),
        "| Length of the code:        4     _" + k42 + "|",
        bar(" Repetitions of signs?      No.   | Shall the computer ask a riddle? Yes."),
        bar(" Are vacant signs allowed?  No.   | Answer: ...."),
        "| Is the answer fixed?       Yes.  |" + k42 + "|",
        "|" + k34 + "| Please choose now (1, 2, 3 or 4):  1.    |",
        bar(" 1: Game on these conditions -  2: Rematch -  3: Change conditons -  4: End."),
        bar(std::string(77, '_')),
        "| 1st player,who devises the riddle: *** The computer ***            O.K.? Yes|",
        "| 2nd player,who cracks the code   :                                 O.K.? Yes|",
        bar(std::string(77, '_')),
    };
}

TEST(ConditionsScreenLayout, GermanDefaults) {
    ScreenRig rig(Language::German);
    rig.terminal.type("4");
    EXPECT_EQ(run_conditions_screen(rig.app, rig.app.setup), ConditionsOutcome::MainMenu);
    rig.expect_rows(german_default_rows());
    const auto& c = rig.app.colours;
    EXPECT_EQ(emphasis_row(rig.screen(), 2, c.standard, c.emphasized),
              std::string(69, 's') + "s" + std::string(7, 'E') + "sss");
    EXPECT_EQ(emphasis_row(rig.screen(), 13, c.standard, c.emphasized), std::string(80, 's'));
}

TEST(ConditionsScreenLayout, EnglishDefaults) {
    ScreenRig rig(Language::English);
    rig.terminal.type("4");
    run_conditions_screen(rig.app, rig.app.setup);
    rig.expect_rows(english_default_rows());
}

TEST(ConditionsScreenLayout, AStretchAcrossTheWrapLengthNineAndTheComputerGuessing) {
    ConditionsRecord record;
    record.first_sign = 'y';
    record.last_sign = 'b';
    record.code_length = 9;
    record.repetition = 1;
    record.computer_sets_riddle = 0;
    record.computer_guesses = 1;
    record.memory_choice = 15;
    record.time_limit = 0;
    const std::string name = "anna berg";
    std::copy(name.begin(), name.end(), record.player1.text.begin());
    ScreenRig rig(Language::German, record);
    // Both roles are persons now, so the form waits on field 11 first.
    rig.terminal.key(keys::kCtrlC);
    run_conditions_screen(rig.app, rig.app.setup);
    // 14 signs at length 9 with repetition: beyond what the computer can guess.
    EXPECT_EQ(rig.row(2), full_row("|                               Mirelvanthoque                      | 256 GiB |"));
    EXPECT_EQ(rig.row(8), full_row(bar(" Groesse des Zeichensatzes:      36   36   36   36   35   21   14   10")));
    EXPECT_EQ(rig.row(10), full_row(bar(" Gewuenschte Spielbedingungen:    | Zeitbegrenzung (nur fuer den PC):00 Sek.")));
    EXPECT_EQ(rig.row(13), full_row(bar(" Kleinstes Zeichen:         y     | Soll der PC raten? Nein.")));
    EXPECT_EQ(rig.row(14), full_row("| Groesstes Zeichen:         b     |" + k42 + "|"));
    EXPECT_EQ(rig.row(15), full_row(bar(" Zeichensatz      :         yz0123456789ab")));
    EXPECT_EQ(rig.row(16), full_row("| Laenge des Codes :         9     _" + k42 + "|"));
    EXPECT_EQ(rig.row(17), full_row(bar(" Wiederholung von Zeichen?  Ja.   | Soll der PC eine Loesung vorgeben? Nein.")));
    EXPECT_EQ(rig.row(18), full_row(bar(" Sind Leerzeichen erlaubt?  Nein. | Loesung .........")));
    EXPECT_EQ(rig.row(23), full_row("| 1. Spieler,denkt sich Raetsel aus: Anna Berg                       O.K.? Ja.|"));
    EXPECT_EQ(rig.row(24), full_row("| 2. Spieler,knackt den Code       :                                 O.K.? Ja.|"));
    EXPECT_EQ(rig.app.setup.record.computer_guesses, 0);
}

TEST(ConditionsScreenLayout, TheComputerAsGuesserInEnglishWithNames) {
    ConditionsRecord record;
    record.computer_sets_riddle = 0;
    record.computer_guesses = 1;
    const std::string name = "j. test";
    std::copy(name.begin(), name.end(), record.player1.text.begin());
    ScreenRig rig(Language::English, record);
    rig.terminal.type("4");
    run_conditions_screen(rig.app, rig.app.setup);
    EXPECT_EQ(rig.row(13), full_row(bar(" First sign        :        0     | Shall the computer guess? Yes.")));
    EXPECT_EQ(rig.row(17), full_row(bar(" Repetitions of signs?      No.   | Shall the computer ask a riddle? No.")));
    EXPECT_EQ(rig.row(23), full_row("| 1st player,who devises the riddle: J. Test                         O.K.? Yes|"));
    EXPECT_EQ(rig.row(24), full_row("| 2nd player,who cracks the code   : *** The computer ***            O.K.? Yes|"));
}

TEST(ConditionsChoice, TheChoiceWaitsOnItsFieldAndKnowsItsKeys) {
    for (const auto& [keys, outcome] : std::vector<std::pair<std::string, ConditionsOutcome>>{
             {"1", ConditionsOutcome::StartMatch},
             {"\r", ConditionsOutcome::StartMatch},
             {"4", ConditionsOutcome::MainMenu},
             {"\x1b", ConditionsOutcome::MainMenu},
             {"\x03", ConditionsOutcome::MainMenu},
             {"x9 1", ConditionsOutcome::StartMatch}}) {
        ScreenRig rig(Language::German);
        rig.terminal.extended(scan::kF1).type(keys);
        EXPECT_EQ(run_conditions_screen(rig.app, rig.app.setup), outcome) << keys;
        EXPECT_EQ(rig.cursor(), std::make_pair(74, 20));
        EXPECT_EQ(rig.terminal.keys_left(), 0u);
    }
    ScreenRig english(Language::English);
    english.terminal.type("1");
    run_conditions_screen(english.app, english.app.setup);
    EXPECT_EQ(english.cursor(), std::make_pair(73, 20));
}

// Drives the form from the choice through "3" and reports where the cursor waits after
// the given keys, with the state of the record.
struct FormRun {
    ScreenRig rig;
    explicit FormRun(Language language = Language::German, const ConditionsRecord& record = ConditionsRecord{})
        : rig(language, record) {}
    // Runs the keys and then leaves through the choice or the main menu.
    std::pair<int, int> cursor_after(const std::string& keys) {
        rig.terminal.type(keys);
        std::pair<int, int> seen{0, 0};
        rig.terminal.before_each_key([&](std::size_t taken) {
            if (taken == keys.size()) seen = rig.cursor();
        });
        rig.terminal.key(keys::kCtrlC).key(keys::kCtrlC).key(keys::kCtrlC);
        try {
            run_conditions_screen(rig.app, rig.app.setup);
        } catch (const ScriptExhausted&) {
        }
        return seen;
    }
};

TEST(ConditionsForm, ForwardThroughTheFieldsWithEnter) {
    FormRun run;
    // 3 opens field 1; Enter keeps each value.
    EXPECT_EQ(run.cursor_after("3"), std::make_pair(71, 10));
    EXPECT_EQ(FormRun().cursor_after("3\r"), std::make_pair(30, 12));
    EXPECT_EQ(FormRun().cursor_after("3\r\r"), std::make_pair(30, 13));
    EXPECT_EQ(FormRun().cursor_after("3\r\r\r"), std::make_pair(30, 14));
    EXPECT_EQ(FormRun().cursor_after("3\r\r\r\r"), std::make_pair(30, 16));
    EXPECT_EQ(FormRun().cursor_after("3\r\r\r\r\r"), std::make_pair(30, 17));
    EXPECT_EQ(FormRun().cursor_after("3\r\r\r\r\r\r"), std::make_pair(30, 18));
    EXPECT_EQ(FormRun().cursor_after("3\r\r\r\r\r\r\r"), std::make_pair(30, 19));
    EXPECT_EQ(FormRun().cursor_after("3\r\r\r\r\r\r\r\r"), std::make_pair(57, 13));
    // Field 10, the empty name of the person who guesses, is typed from its first position;
    // Enter ends it and the O.K. question waits at column 76.
    EXPECT_EQ(FormRun().cursor_after("3\r\r\r\r\r\r\r\r\r"), std::make_pair(38, 24));
    EXPECT_EQ(FormRun().cursor_after("3\r\r\r\r\r\r\r\r\r\r"), std::make_pair(76, 24));
    EXPECT_EQ(FormRun().cursor_after("3\r\r\r\r\r\r\r\r\r\rj"), std::make_pair(73, 17));
    // Field 12 is skipped on the first pass; the computer sets the riddle: the choice.
    EXPECT_EQ(FormRun().cursor_after("3\r\r\r\r\r\r\r\r\r\rj\r"), std::make_pair(74, 20));
}

TEST(ConditionsForm, EnglishPositions) {
    EXPECT_EQ(FormRun(Language::English).cursor_after("3"), std::make_pair(69, 10));
    EXPECT_EQ(FormRun(Language::English).cursor_after("3\r\r\r\r\r\r\r\r"), std::make_pair(64, 13));
    EXPECT_EQ(FormRun(Language::English).cursor_after("3\r\r\r\r\r\r\r\r\r\rj"), std::make_pair(71, 17));
}

TEST(ConditionsForm, BackspaceTargets) {
    // Field 1 back goes to the end of the form: the choice (the computer sets the riddle).
    EXPECT_EQ(FormRun().cursor_after("3\b"), std::make_pair(74, 20));
    EXPECT_EQ(FormRun().cursor_after("3\r\b"), std::make_pair(71, 10));
    EXPECT_EQ(FormRun().cursor_after("3\r\r\r\r\b"), std::make_pair(30, 14));
    EXPECT_EQ(FormRun().cursor_after("3\r\r\r\r\r\r\r\r\b"), std::make_pair(30, 19));
    // From field 11 back to field 9 (the computer can guess).
    EXPECT_EQ(FormRun().cursor_after("3\r\r\r\r\r\r\r\r\r\rj\b"), std::make_pair(57, 13));
    // The choice's Backspace: field 11, with the answer dots back.
    EXPECT_EQ(FormRun().cursor_after("\b"), std::make_pair(73, 17));
}

TEST(ConditionsForm, EscGoesToFieldOneAndFromThereToTheMenu) {
    EXPECT_EQ(FormRun().cursor_after("3\r\r\r\x1b"), std::make_pair(71, 10));
    FormRun run;
    run.rig.terminal.type("3\r\r\x1b\x1b");
    EXPECT_EQ(run_conditions_screen(run.rig.app, run.rig.app.setup), ConditionsOutcome::MainMenu);
    EXPECT_EQ(run.rig.terminal.keys_left(), 0u);
}

TEST(ConditionsForm, CtrlCInAFieldGoesToTheMenu) {
    FormRun run;
    run.rig.terminal.type("3\r\r\r\x03");
    EXPECT_EQ(run_conditions_screen(run.rig.app, run.rig.app.setup), ConditionsOutcome::MainMenu);
    EXPECT_EQ(run.rig.terminal.keys_left(), 0u);
}

TEST(ConditionsForm, TimeLimitDigitAndIgnoredKeys) {
    FormRun run;
    run.rig.terminal.type("3xA").extended(scan::kUp).type("7\x1b");
    run.rig.terminal.type("\x1b");
    EXPECT_EQ(run_conditions_screen(run.rig.app, run.rig.app.setup), ConditionsOutcome::MainMenu);
    EXPECT_EQ(run.rig.app.setup.record.time_limit, 7);
    EXPECT_EQ(run.rig.row(10).substr(70, 8), "70 Sek. ");
}

TEST(ConditionsForm, MovingTheFirstSignKeepsTheSetSize) {
    FormRun run;
    run.cursor_after("3\r\rx");
    EXPECT_EQ(run.rig.app.setup.signs.set_size(), 10);
    EXPECT_EQ(run.rig.app.setup.record.first_sign, 'x');
    EXPECT_EQ(run.rig.app.setup.record.last_sign, '6');
    EXPECT_EQ(run.rig.row(13).substr(29, 1), "x");
    EXPECT_EQ(run.rig.row(14).substr(29, 1), "6");
    EXPECT_EQ(run.rig.row(15), full_row(bar(" Zeichensatz      :         xyz0123456")));
}

TEST(ConditionsForm, TheLastSignFieldRefusesTheFirstSignAndResizesTheSet) {
    FormRun run;
    // "0" is the first sign: ignored; "5" shrinks the set to six signs.
    run.cursor_after("3\r\r\r05");
    EXPECT_EQ(run.rig.app.setup.signs.set_size(), 6);
    EXPECT_EQ(run.rig.row(15), full_row(bar(" Zeichensatz      :         012345")));
    FormRun longer;
    longer.cursor_after("3\r\r\rC");
    EXPECT_EQ(longer.rig.app.setup.signs.set_size(), 13);
    EXPECT_EQ(longer.rig.row(15), full_row(bar(" Zeichensatz      :         0123456789abc")));
}

TEST(ConditionsForm, LengthSevenOverSixSignsForcesRepetitionAndSkipsItsField) {
    ConditionsRecord record;
    record.last_sign = '5';
    FormRun run(Language::German, record);
    // After the length the form skips field 6 and waits on field 7.
    EXPECT_EQ(run.cursor_after("3\r\r\r\r7"), std::make_pair(30, 18));
    EXPECT_EQ(run.rig.app.setup.record.repetition, 1);
    EXPECT_EQ(run.rig.app.setup.record.code_length, 7);
    EXPECT_EQ(run.rig.row(17).substr(29, 5), "Ja.  ");
    EXPECT_EQ(run.rig.row(18).substr(45, 9), ".......  ");
    EXPECT_EQ(run.rig.row(16).substr(29, 1), "7");
    // Back from field 7 skips field 6 to the length.
    EXPECT_EQ(FormRun(Language::German, record).cursor_after("3\r\r\r\r7\b"), std::make_pair(30, 16));
}

TEST(ConditionsForm, AShorterCodeBlanksItsDots) {
    FormRun run;
    run.cursor_after("3\r\r\r\r2");
    EXPECT_EQ(run.rig.row(18).substr(45, 9), "..       ");
}

TEST(ConditionsForm, FieldEightIsSkippedWithoutAVariableAnswer) {
    ConditionsRecord record;
    record.first_sign = 'a';
    record.last_sign = 'k';  // 11 signs
    record.code_length = 9;
    record.repetition = 1;
    FormRun run(Language::German, record);
    // From the vacant-sign field straight past field 8 and 9 to the name of player 2.
    EXPECT_EQ(run.cursor_after("3\r\r\r\r\r\r\r"), std::make_pair(38, 24));
    EXPECT_EQ(run.rig.app.setup.record.answer_fixed, 1);
}

TEST(ConditionsForm, FieldNineIsSkippedWhenTheComputerCannotGuess) {
    ConditionsRecord record;
    record.first_sign = 'a';
    record.last_sign = '9';  // 36 signs, length 6: no guessing, a variable answer at 128 GiB
    record.code_length = 6;
    record.memory_choice = 14;
    FormRun run(Language::German, record);
    EXPECT_EQ(run.cursor_after("3\r\r\r\r\r\r\r\r"), std::make_pair(38, 24));
}

TEST(ConditionsForm, FieldTenIsSkippedWhenTheComputerGuesses) {
    FormRun run;
    EXPECT_EQ(run.cursor_after("3\r\r\r\r\r\r\r\rj"), std::make_pair(73, 17));
    EXPECT_EQ(run.rig.app.setup.record.computer_guesses, 1);
    EXPECT_EQ(run.rig.row(24), full_row("| 2. Spieler,knackt den Code       : *** Der Computer ***            O.K.? Ja.|"));
}

TEST(ConditionsForm, TheVacantChoiceIsSaved) {
    FormRun run;
    run.cursor_after("3\r\r\r\r\r\rj");
    EXPECT_EQ(run.rig.app.setup.saved_vacant, 1);
    EXPECT_EQ(run.rig.app.setup.record.vacant_signs, 1);
}

TEST(ConditionsForm, BothPersonsWithAFixedAnswerStartAtFieldElevenAndTypeTheCode) {
    ConditionsRecord record;
    record.computer_sets_riddle = 0;
    ScreenRig rig(Language::German, record);
    // Enter at field 11 keeps "no", field 12 is skipped on the first pass, field 13 takes the
    // code, then the choice starts the match.
    rig.terminal.type("\r0123").type("1");
    EXPECT_EQ(run_conditions_screen(rig.app, rig.app.setup), ConditionsOutcome::StartMatch);
    EXPECT_EQ(std::string(rig.app.setup.answer_code.data(), 9), "0123     ");
    EXPECT_EQ(rig.row(18).substr(45, 4), "0123");
}

TEST(ConditionsForm, MoreBackEscAndCtrlCTargets) {
    ConditionsRecord persons;
    persons.computer_sets_riddle = 0;
    struct Case {
        ConditionsRecord record;
        std::string keys;
        std::pair<int, int> cursor;
    };
    const Case cases[] = {
        // Both persons with a fixed answer: field 1 back goes to field 11.
        {persons, "\r01233", {71, 10}},
        {persons, "\r01233\b", {73, 17}},
        // Esc in a name field acts at its question and goes back like Backspace.
        {ConditionsRecord{}, "3\r\r\r\r\r\r\r\r\r\r\x1b", {57, 13}},
        // Ctrl-C while typing a name restarts the form at field 1.
        {ConditionsRecord{}, "3\r\r\r\r\r\r\r\r\rab\x03", {71, 10}},
        // The answer code: Esc goes to field 11, Ctrl-C to field 1, Backspace at its start
        // back to field 11.
        {persons, "\r01\x1b", {73, 17}},
        {persons, "\r01\x03", {71, 10}},
        {persons, "\r\b", {73, 17}},
        // The choice's Backspace resumes the typed code at its end.
        {persons, "\r0123\b", {49, 18}},
    };
    for (const Case& c : cases) {
        FormRun run(Language::German, c.record);
        EXPECT_EQ(run.cursor_after(c.keys), c.cursor) << c.keys;
    }
}

TEST(ConditionsForm, ThePlayerOneNameComesOnlyAfterTheFirstPass) {
    ConditionsRecord persons;
    persons.computer_sets_riddle = 0;
    // 11 -> (12 skipped) -> answer code on the first pass.
    EXPECT_EQ(FormRun(Language::German, persons).cursor_after("\r"), std::make_pair(46, 18));
    // After a Backspace the name of player 1 is asked for: from 11 back to 9, on to 10 (an
    // empty name, confirmed), 11 and then 12.
    EXPECT_EQ(FormRun(Language::German, persons).cursor_after("\b\r\rj\r"), std::make_pair(38, 23));
}

TEST(ConditionsForm, ALongerCodeThatTheMemoryCannotKeepVariableForcesAFixedAnswer) {
    ConditionsRecord record;
    record.first_sign = 'a';
    record.last_sign = 'k';  // 11 signs
    record.answer_fixed = 0;
    FormRun run(Language::German, record);
    // Length 9 without repetition: 11!/2! codes of 32 bytes exceed 256 MiB.
    run.cursor_after("3\r\r\r\r9");
    EXPECT_EQ(run.rig.app.setup.record.answer_fixed, 1);
    EXPECT_EQ(run.rig.row(19).substr(29, 5), "Ja.  ");
    EXPECT_FALSE(run.rig.app.setup.verdict.variable_answer_possible);
}

TEST(ConditionsForm, RefusedKeysChangeNothing) {
    FormRun run;
    std::vector<std::string> rows_before, rows_after;
    const auto all_rows = [&] {
        std::vector<std::string> rows;
        for (int row = 1; row <= 25; ++row) rows.push_back(run.rig.row(row));
        return rows;
    };
    run.rig.terminal.before_each_key([&](std::size_t taken) {
        if (taken == 3) rows_before = all_rows();
        if (taken == 7) rows_after = all_rows();
    });
    // In the first-sign field: keys that are no signs, an extended key and punctuation.
    run.rig.terminal.type("3\r\r").type("#").type("!").extended(scan::kLeft).type("~");
    const ConditionsRecord before = run.rig.app.setup.record;
    run.rig.terminal.key(keys::kCtrlC);
    run_conditions_screen(run.rig.app, run.rig.app.setup);
    EXPECT_EQ(run.rig.app.setup.record, before);
    ASSERT_EQ(rows_before.size(), 25u);
    EXPECT_EQ(rows_after, rows_before);
}

TEST(ConditionsRematch, PersonEncoderAndComputerGuesserSwapRolesAndNames) {
    ConditionsRecord record;
    record.computer_sets_riddle = 0;
    record.computer_guesses = 1;
    const std::string name = "anna";
    std::copy(name.begin(), name.end(), record.player1.text.begin());
    ScreenRig rig(Language::German, record);
    rig.terminal.type("2");
    EXPECT_EQ(run_conditions_screen(rig.app, rig.app.setup), ConditionsOutcome::StartMatch);
    EXPECT_EQ(rig.app.setup.record.computer_sets_riddle, 1);
    EXPECT_EQ(rig.app.setup.record.computer_guesses, 0);
    EXPECT_EQ(std::string(rig.app.setup.record.player2.text.data(), 4), "Anna");
    EXPECT_EQ(rig.app.setup.record.player1.empty(), true);
}

TEST(ConditionsRematch, ComputerEncoderAndPersonGuesserSwapWhenTheComputerCanGuess) {
    ScreenRig rig(Language::German);
    rig.terminal.type("2");
    EXPECT_EQ(run_conditions_screen(rig.app, rig.app.setup), ConditionsOutcome::StartMatch);
    EXPECT_EQ(rig.app.setup.record.computer_sets_riddle, 0);
    EXPECT_EQ(rig.app.setup.record.computer_guesses, 1);

    ConditionsRecord record;
    record.first_sign = 'a';
    record.last_sign = '9';
    record.code_length = 6;  // the computer cannot guess: the key is ignored
    ScreenRig cannot(Language::German, record);
    cannot.terminal.type("24");
    EXPECT_EQ(run_conditions_screen(cannot.app, cannot.app.setup), ConditionsOutcome::MainMenu);
    EXPECT_EQ(cannot.app.setup.record.computer_sets_riddle, 1);
}

TEST(ConditionsRematch, TheComputerAgainstItselfSimplyStartsAgain) {
    ConditionsRecord record;
    record.computer_guesses = 1;
    ScreenRig rig(Language::German, record);
    rig.terminal.type("2");
    EXPECT_EQ(run_conditions_screen(rig.app, rig.app.setup), ConditionsOutcome::StartMatch);
    EXPECT_EQ(rig.app.setup.record.computer_sets_riddle, 1);
    EXPECT_EQ(rig.app.setup.record.computer_guesses, 1);
}

TEST(ConditionsRematch, TwoPersonsWithAVariableAnswerSwapNames) {
    ConditionsRecord record;
    record.computer_sets_riddle = 0;
    record.answer_fixed = 0;
    const std::string name = "bob";
    std::copy(name.begin(), name.end(), record.player2.text.begin());
    ScreenRig rig(Language::German, record);
    rig.terminal.type("2");
    EXPECT_EQ(run_conditions_screen(rig.app, rig.app.setup), ConditionsOutcome::StartMatch);
    EXPECT_EQ(std::string(rig.app.setup.record.player1.text.data(), 3), "Bob");
}

TEST(ConditionsRematch, TwoPersonsWithAFixedAnswerTypeANewCode) {
    ConditionsRecord record;
    record.computer_sets_riddle = 0;
    const std::string one = "anna", two = "bob";
    std::copy(one.begin(), one.end(), record.player1.text.begin());
    std::copy(two.begin(), two.end(), record.player2.text.begin());
    ScreenRig rig(Language::German, record);
    // First code 0123, then the rematch asks the other person for a code: 4567.
    rig.terminal.type("\r0123").type("2");
    std::string code_before_rematch;
    rig.terminal.before_each_key([&](std::size_t taken) {
        if (taken == 6) code_before_rematch = rig.row(18).substr(45, 4);
    });
    rig.terminal.type("4567").type("1");
    EXPECT_EQ(run_conditions_screen(rig.app, rig.app.setup), ConditionsOutcome::StartMatch);
    EXPECT_EQ(code_before_rematch, "....");
    EXPECT_EQ(std::string(rig.app.setup.answer_code.data(), 4), "4567");
    EXPECT_EQ(rig.row(23).substr(37, 4), "Bob ");
    EXPECT_EQ(rig.row(24).substr(37, 4), "Anna");
}

}  // namespace
