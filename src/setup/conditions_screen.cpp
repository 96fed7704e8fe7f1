#include "setup/conditions_screen.hpp"

#include <string>
#include <string_view>

#include "console/kept_cursor.hpp"
#include "console/yes_no.hpp"
#include "core/keys.hpp"
#include "core/text.hpp"
#include "setup/code_entry.hpp"
#include "setup/memory_budget.hpp"
#include "setup/name_field.hpp"
#include "setup/player_names.hpp"

namespace {

// The form's fields in their forward order, then the two ways out.
enum Field {
    kToMainMenu = 0,
    kTimeLimit,
    kSound,
    kFirstSign,
    kLastSign,
    kCodeLength,
    kRepetition,
    kVacant,
    kAnswerFixed,
    kComputerGuesses,
    kPlayer2Name,
    kComputerSetsRiddle,
    kPlayer1Name,
    kAnswerCode,
    kChoice,
    kStartMatch,
};

// How a field was left.
enum class Exit { Next, Back, Escape, CtrlC };

struct Place {
    int german_column;
    int english_column;
    int row;
    int column(Language language) const {
        return language == Language::German ? german_column : english_column;
    }
};

constexpr Place kTimeLimitPlace{71, 69, 10};
constexpr Place kComputerGuessesPlace{57, 64, 13};
constexpr Place kComputerSetsRiddlePlace{73, 71, 17};
constexpr Place kChoicePlace{74, 73, 20};
// The form's values stand in one column, a row each.
constexpr int kValueColumn = 30;
constexpr int kSoundRow = 12;
constexpr int kFirstSignRow = 13;
constexpr int kLastSignRow = 14;
constexpr int kSignSetRow = 15;
constexpr int kCodeLengthRow = 16;
constexpr int kRepetitionRow = 17;
constexpr int kVacantSignsRow = 18;
constexpr int kAnswerFixedRow = 19;
constexpr int kTableLineColumn = 35;
constexpr int kTableLineRow = 8;
constexpr int kAnswerColumn = 46;
constexpr int kAnswerRow = 18;

// clang-format off
constexpr std::string_view kTitleRow2 = "                               Mirelvanthoque                      ";
constexpr std::string_view kTitleRow3 = "                             ******************                    ";
constexpr Bilingual kRow4{" 2 - 9  Zeichen mit/ohne Wiederholungsmoeglichkeit.",
                          " 2 - 9  signs with/without the possibility of repetitions."};
constexpr Bilingual kRow5{" Zur Verfuegung stehender Zeichensatz: a,..,z,0,..,9.",
                          " You can choose from the following signs: a,..,z,0,..,9."};
constexpr Bilingual kRow6{" Der Computer kann hoechstens folgende Codes erraten:",
                          " The computer at most can guess one of the following codes:"};
constexpr Bilingual kRow7{" Laenge des Codes         :       2    3    4    5    6    7    8    9       ",
                          " Length of the code          :    2    3    4    5    6    7    8    9       "};
constexpr Bilingual kRow8{" Groesse des Zeichensatzes:      ",
                          " Max. number of allowed signs:   "};
constexpr Bilingual kRow10{" Gewuenschte Spielbedingungen:    | Zeitbegrenzung (nur fuer den PC):",
                           " Please choose now:               | Timelimit (only for computer): "};
constexpr Bilingual kRow10End{"0 Sek. ", "0 sec.   "};
constexpr Bilingual kRow11{" (00 Sek. bedeutet keine Zeitbegrenzung.) ",
                           " (00 sec. means no timelimit.)            "};
constexpr Bilingual kSoundLabel{" Ton              :         ", " Sound             :        "};
constexpr Bilingual kFirstSignLabel{" Kleinstes Zeichen:         ", " First sign        :        "};
constexpr Bilingual kComputerGuessesLabel{" Soll der PC raten? ", " Shall the computer guess? "};
constexpr Bilingual kComputerGuessesEnd{"                 ", "          "};
constexpr Bilingual kLastSignLabel{" Groesstes Zeichen:         ", " Last  sign        :        "};
constexpr Bilingual kSetLabel{" Zeichensatz      :         ", " Set of signs      :        "};
constexpr Bilingual kLengthLabel{" Laenge des Codes :         ", " Length of the code:        "};
constexpr Bilingual kRepetitionLabel{" Wiederholung von Zeichen?  ", " Repetitions of signs?      "};
constexpr Bilingual kComputerSetsRiddleLabel{" Soll der PC eine Loesung vorgeben? ",
                                             " Shall the computer ask a riddle? "};
constexpr Bilingual kComputerSetsRiddleEnd{" ", "   "};
constexpr Bilingual kVacantLabel{" Sind Leerzeichen erlaubt?  ", " Are vacant signs allowed?  "};
constexpr Bilingual kAnswerLabel{" Loesung ", " Answer: "};
constexpr Bilingual kAnswerFixedLabel{" Ist die Loesung fest?      ", " Is the answer fixed?       "};
constexpr Bilingual kRow20{" Bitte waehlen Sie (1, 2, 3 oder 4): 1.   ",
                           " Please choose now (1, 2, 3 or 4):  1.    "};
constexpr Bilingual kRow21{" 1.: Spiel zu diesen Bed. -  2.: Revanche -  3.: Bed. aendern -  4.: Ende.   ",
                           " 1: Game on these conditions -  2: Rematch -  3: Change conditons -  4: End. "};
constexpr Bilingual kPlayer1Label{" 1. Spieler,denkt sich Raetsel aus: ", " 1st player,who devises the riddle: "};
constexpr Bilingual kPlayer2Label{" 2. Spieler,knackt den Code       : ", " 2nd player,who cracks the code   : "};
constexpr Bilingual kConfirmation{" O.K.? Ja.", " O.K.? Yes"};
// clang-format on

std::string framed(std::string_view inner) { return join({"|", padded(inner, 77), "|"}); }

class ConditionsForm {
public:
    ConditionsForm(Session& session, GameSetup& setup)
        : session_(session), console_(session.console), setup_(setup), record_(setup.record),
          language_(session.game_language) {}

    ConditionsOutcome run();

private:
    bool both_persons() const { return !record_.computer_sets_riddle && !record_.computer_guesses; }
    bool typed_fixed_answer() const { return record_.answer_fixed && both_persons(); }
    int set_size() const { return setup_.signs.set_size(); }
    int code_length() const { return record_.code_length; }
    bool applies(Field field) const;

    Field arrive(Field field);
    Field after(Field field, Exit exit);
    Field back_target(Field field);
    Field run_field(Field field);

    Exit yes_no_field(int column, int row, std::uint8_t& value, bool* changed = nullptr);
    Exit digit_field(const Place& place, char lowest, std::uint8_t& value);
    Exit sign_field(bool last_sign);
    Exit name_field(int player);
    Exit answer_code_field();
    Field choice();

    void show_check(int length, bool repetition, bool vacant);
    void draw();
    void show_player_row(int player);
    void write_yes_no(int column, int row, bool yes);
    void write_answer_dots();
    void change_first_sign(char sign);
    void change_last_sign(char sign);
    void change_code_length(int length);
    bool rematch();

    Session& session_;
    Console& console_;
    GameSetup& setup_;
    ConditionsRecord& record_;
    Language language_;
    bool entry_flag_ = true;
    bool resume_answer_code_ = false;
    std::string shown_table_line_;
};

bool ConditionsForm::applies(Field field) const {
    switch (field) {
    case kRepetition: return code_length() <= set_size();
    case kAnswerFixed: return setup_.verdict.variable_answer_possible;
    case kComputerGuesses: return setup_.verdict.computer_can_guess;
    case kPlayer2Name: return !record_.computer_guesses;
    case kPlayer1Name: return !record_.computer_sets_riddle && !entry_flag_;
    case kAnswerCode: return typed_fixed_answer();
    default: return true;
    }
}

// Moves on from a field the form arrives at to the first one that applies, running the
// capability checks that arriving at some fields makes.
Field ConditionsForm::arrive(Field field) {
    for (;;) {
        if (field == kCodeLength) show_check(2, false, false);
        if (field == kVacant) show_check(code_length(), record_.repetition, false);
        if (field == kAnswerFixed) show_check(code_length(), record_.repetition, record_.vacant_signs);
        if (field == kToMainMenu || field == kStartMatch || applies(field)) return field;
        if (field == kRepetition && !record_.repetition) {
            record_.repetition = 1;
            write_yes_no(kValueColumn, kRepetitionRow, true);
        }
        field = static_cast<Field>(field + 1);
    }
}

Field ConditionsForm::back_target(Field field) {
    const Field before_guessing = setup_.verdict.variable_answer_possible ? kAnswerFixed : kVacant;
    switch (field) {
    case kTimeLimit:
        show_check(code_length(), record_.repetition, record_.vacant_signs);
        return typed_fixed_answer() ? kComputerSetsRiddle : kChoice;
    case kVacant: return code_length() > set_size() ? kCodeLength : kRepetition;
    case kComputerGuesses: return before_guessing;
    case kComputerSetsRiddle:
        show_check(code_length(), record_.repetition, record_.vacant_signs);
        [[fallthrough]];
    case kPlayer2Name:
        return setup_.verdict.computer_can_guess ? kComputerGuesses : before_guessing;
    case kPlayer1Name:
    case kAnswerCode: return kComputerSetsRiddle;
    default: return static_cast<Field>(field - 1);
    }
}

Field ConditionsForm::after(Field field, Exit exit) {
    if (exit != Exit::Next) entry_flag_ = false;
    const bool name = field == kPlayer1Name || field == kPlayer2Name;
    switch (exit) {
    case Exit::Next:
        return static_cast<Field>(field + 1);
    case Exit::Back:
        return back_target(field);
    case Exit::Escape:
        if (field == kTimeLimit) return kToMainMenu;
        if (name) return back_target(field);
        if (field == kAnswerCode) return kComputerSetsRiddle;
        return kTimeLimit;
    case Exit::CtrlC:
        return name || field == kAnswerCode ? kTimeLimit : kToMainMenu;
    }
    return kToMainMenu;
}

Exit exit_of(std::uint8_t key) {
    switch (key) {
    case keys::kBackspace: return Exit::Back;
    case keys::kEsc: return Exit::Escape;
    case keys::kCtrlC: return Exit::CtrlC;
    default: return Exit::Next;
    }
}

Exit ConditionsForm::yes_no_field(int column, int row, std::uint8_t& value, bool* changed) {
    console_.goto_xy(column, row);
    const YesNoOutcome outcome = ask_yes_no(console_, language_, value);
    if (changed) *changed = outcome.changed;
    return exit_of(outcome.key);
}

Exit ConditionsForm::digit_field(const Place& place, char lowest, std::uint8_t& value) {
    const int column = place.column(language_);
    for (;;) {
        console_.goto_xy(column, place.row);
        const Key key = console_.next_key();
        if (key.extended) continue;
        if (key.code == keys::kEnter) return Exit::Next;
        if (key.code == keys::kBackspace || key.code == keys::kEsc || key.code == keys::kCtrlC)
            return exit_of(key.code);
        if (key.code >= lowest && key.code <= '9') {
            value = static_cast<std::uint8_t>(key.code - '0');
            console_.write_char(static_cast<char>(key.code));
            return Exit::Next;
        }
    }
}

Exit ConditionsForm::sign_field(bool last_sign) {
    const int row = last_sign ? kLastSignRow : kFirstSignRow;
    for (;;) {
        console_.goto_xy(kValueColumn, row);
        const Key key = console_.next_key();
        if (key.extended) continue;
        if (key.code == keys::kEnter) return Exit::Next;
        if (key.code == keys::kBackspace || key.code == keys::kEsc || key.code == keys::kCtrlC)
            return exit_of(key.code);
        char sign = static_cast<char>(key.code);
        if (sign >= 'A' && sign <= 'Z') sign = static_cast<char>(sign - 'A' + 'a');
        if (!is_ring_sign(sign)) continue;
        if (last_sign) {
            if (sign == setup_.signs.first_sign()) continue;
            if (sign != setup_.signs.last_sign()) change_last_sign(sign);
        } else if (sign != setup_.signs.first_sign()) {
            change_first_sign(sign);
        }
        return Exit::Next;
    }
}

Exit ConditionsForm::name_field(int player) {
    PlayerName& name = player == 1 ? record_.player1 : record_.player2;
    const std::uint8_t key = edit_name(console_, player, name);
    if (key == 'j') return Exit::Next;
    if (key == keys::kBackspace) return Exit::Back;
    return Exit::CtrlC;
}

Exit ConditionsForm::answer_code_field() {
    if (!resume_answer_code_) {
        setup_.answer_code = GameSetup::blank_answer_code();
        write_answer_dots();
    }
    console_.goto_xy(kAnswerColumn, kAnswerRow);
    const std::uint8_t key = enter_answer_code(session_, setup_, resume_answer_code_);
    resume_answer_code_ = false;
    if (key == keys::kBackspace || key == keys::kEsc || key == keys::kCtrlC) return exit_of(key);
    return Exit::Next;
}

Field ConditionsForm::run_field(Field field) {
    switch (field) {
    case kTimeLimit:
        return after(field, digit_field(kTimeLimitPlace, '0', record_.time_limit));
    case kSound:
        return after(field, yes_no_field(kValueColumn, kSoundRow, record_.sound));
    case kFirstSign:
        return after(field, sign_field(false));
    case kLastSign:
        return after(field, sign_field(true));
    case kCodeLength: {
        std::uint8_t length = record_.code_length;
        const Exit exit =
            digit_field(Place{kValueColumn, kValueColumn, kCodeLengthRow}, '2', length);
        if (exit == Exit::Next) {
            if (length != record_.code_length) change_code_length(length);
            show_check(code_length(), false, false);
        }
        return after(field, exit);
    }
    case kRepetition:
        return after(field, yes_no_field(kValueColumn, kRepetitionRow, record_.repetition));
    case kVacant: {
        const Exit exit = yes_no_field(kValueColumn, kVacantSignsRow, record_.vacant_signs);
        setup_.saved_vacant = record_.vacant_signs;
        return after(field, exit);
    }
    case kAnswerFixed:
        return after(field, yes_no_field(kValueColumn, kAnswerFixedRow, record_.answer_fixed));
    case kComputerGuesses: {
        bool changed = false;
        const Exit exit = yes_no_field(kComputerGuessesPlace.column(language_),
                                       kComputerGuessesPlace.row, record_.computer_guesses, &changed);
        if (changed) show_player_row(2);
        return after(field, exit);
    }
    case kPlayer2Name:
        return after(field, name_field(2));
    case kComputerSetsRiddle: {
        bool changed = false;
        const Exit exit = yes_no_field(kComputerSetsRiddlePlace.column(language_),
                                       kComputerSetsRiddlePlace.row, record_.computer_sets_riddle,
                                       &changed);
        if (changed) show_player_row(1);
        return after(field, exit);
    }
    case kPlayer1Name:
        return after(field, name_field(1));
    case kAnswerCode:
        return after(field, answer_code_field());
    case kChoice:
        return choice();
    default:
        return field;
    }
}

Field ConditionsForm::choice() {
    entry_flag_ = false;
    for (;;) {
        console_.goto_xy(kChoicePlace.column(language_), kChoicePlace.row);
        const Key key = console_.next_key();
        if (key.extended) continue;
        switch (key.code) {
        case '1': case keys::kEnter:
            return kStartMatch;
        case '2':
            if (!rematch()) continue;
            return typed_fixed_answer() ? kAnswerCode : kStartMatch;
        case '3':
            return kTimeLimit;
        case '4': case keys::kEsc: case keys::kCtrlC:
            return kToMainMenu;
        case keys::kBackspace:
            show_check(code_length(), record_.repetition, record_.vacant_signs);
            if (typed_fixed_answer()) {
                resume_answer_code_ = true;
                return kAnswerCode;
            }
            setup_.answer_code = GameSetup::blank_answer_code();
            write_answer_dots();
            return kComputerSetsRiddle;
        default:
            break;
        }
    }
}

// The roles change sides; each person keeps their name. False when the computer cannot take
// over the guessing.
bool ConditionsForm::rematch() {
    const bool computer_sets = record_.computer_sets_riddle;
    const bool computer_guesses = record_.computer_guesses;
    if (computer_sets && computer_guesses) return true;
    if (computer_sets && !setup_.verdict.computer_can_guess) return false;
    normalise_names(record_.player1, record_.player2, true);
    if (computer_sets != computer_guesses) {
        record_.computer_sets_riddle = computer_guesses;
        record_.computer_guesses = computer_sets;
    } else if (record_.answer_fixed) {
        show_player_row(1);
        show_player_row(2);
        setup_.answer_code = GameSetup::blank_answer_code();
        write_answer_dots();
    }
    return true;
}

void ConditionsForm::show_check(int length, bool repetition, bool vacant) {
    const KeptCursor kept(console_);
    const CapabilityChanges changes = check_capability(setup_, set_size(), length, repetition, vacant);
    if (setup_.capability.line() != shown_table_line_) {
        shown_table_line_ = setup_.capability.line();
        console_.goto_xy(kTableLineColumn, kTableLineRow);
        console_.write_text(shown_table_line_);
    }
    if (changes.answer_fixed_forced) write_yes_no(kValueColumn, kAnswerFixedRow, true);
    if (changes.computer_guessing_stopped) {
        write_yes_no(kComputerGuessesPlace.column(language_), kComputerGuessesPlace.row, false);
        show_player_row(2);
    }
}

void ConditionsForm::write_yes_no(int column, int row, bool yes) {
    console_.goto_xy(column, row);
    console_.write_text(yes ? kYesText(language_) : kNoText(language_));
}

void ConditionsForm::show_player_row(int player) {
    const bool computer = player == 1 ? record_.computer_sets_riddle : record_.computer_guesses;
    if (computer) {
        show_computer_name(console_, language_, player == 1, player == 2);
    } else {
        show_names(console_, record_.player1, record_.player2, player == 1, player == 2, false);
    }
}

void ConditionsForm::write_answer_dots() {
    console_.goto_xy(kAnswerColumn, kAnswerRow);
    console_.write_text(padded(std::string(code_length(), '.'), 9));
}

void ConditionsForm::change_first_sign(char sign) {
    setup_.signs.move_first_sign(sign);
    record_.first_sign = static_cast<std::uint8_t>(sign);
    record_.last_sign = static_cast<std::uint8_t>(setup_.signs.last_sign());
    console_.goto_xy(kValueColumn, kFirstSignRow);
    console_.write_char(sign);
    console_.goto_xy(kValueColumn, kLastSignRow);
    console_.write_char(setup_.signs.last_sign());
    console_.goto_xy(kValueColumn, kSignSetRow);
    console_.write_text(setup_.signs.set_signs());
}

void ConditionsForm::change_last_sign(char sign) {
    const int old_size = set_size();
    setup_.signs.set_last_sign(sign);
    record_.last_sign = static_cast<std::uint8_t>(sign);
    const int new_size = set_size();
    console_.goto_xy(kValueColumn, kLastSignRow);
    console_.write_char(sign);
    if (new_size > old_size) {
        console_.goto_xy(kValueColumn + old_size, kSignSetRow);
        console_.write_text(setup_.signs.set_signs().substr(old_size));
    } else {
        console_.goto_xy(kValueColumn + new_size, kSignSetRow);
        console_.write_text(std::string(old_size - new_size, ' '));
    }
}

void ConditionsForm::change_code_length(int length) {
    const int old_length = code_length();
    if (length < old_length) {
        console_.goto_xy(kAnswerColumn + length, kAnswerRow);
        console_.write_text(std::string(old_length - length, ' '));
    } else {
        console_.goto_xy(kAnswerColumn + old_length, kAnswerRow);
        console_.write_text(std::string(length - old_length, '.'));
    }
    record_.code_length = static_cast<std::uint8_t>(length);
    if (length > set_size() && !record_.repetition) {
        record_.repetition = 1;
        write_yes_no(kValueColumn, kRepetitionRow, true);
    }
}

void ConditionsForm::draw() {
    const Language l = language_;
    const auto yes_no = [&](std::uint8_t value) { return value ? kYesText(l) : kNoText(l); };
    const auto player_text = [&](int player) {
        const bool computer = player == 1 ? record_.computer_sets_riddle : record_.computer_guesses;
        if (computer) return kComputerName(l);
        const PlayerName& name = player == 1 ? record_.player1 : record_.player2;
        return std::string_view(name.text.data(), PlayerName::kPositions);
    };
    const std::string line(77, '_');
    const std::string separator(42, '_');
    const std::string left_line(34, '_');
    const std::string answer = padded(std::string(code_length(), '.'), 9);
    const std::string time_limit(1, static_cast<char>('0' + record_.time_limit));
    const std::string length(1, static_cast<char>('0' + code_length()));
    const std::string first(1, setup_.signs.first_sign());
    const std::string last(1, setup_.signs.last_sign());

    console_.set_attribute(session_.colours.standard);
    console_.clear_screen();
    const std::string rows[26] = {
        "",
        std::string(79, '_'),
        join({"|", kTitleRow2, "|         |"}),  // the memory text is written after, emphasized
        join({"|", kTitleRow3, "|_________|"}),
        framed(kRow4(l)),
        framed(kRow5(l)),
        framed(kRow6(l)),
        framed(kRow7(l)),
        framed(join({kRow8(l), shown_table_line_})),
        join({"|", line, "|"}),
        framed(join({kRow10(l), time_limit, kRow10End(l)})),
        join({"|", left_line, "|", kRow11(l), "|"}),
        join({"|", kSoundLabel(l), yes_no(record_.sound), " |", separator, "|"}),
        join({"|", kFirstSignLabel(l), first, "     |", kComputerGuessesLabel(l),
              yes_no(record_.computer_guesses), kComputerGuessesEnd(l), "|"}),
        join({"|", kLastSignLabel(l), last, "     |", separator, "|"}),
        framed(join({kSetLabel(l), padded(setup_.signs.set_signs(), 36)})),
        join({"|", kLengthLabel(l), length, "     _", separator, "|"}),
        join({"|", kRepetitionLabel(l), yes_no(record_.repetition), " |",
              kComputerSetsRiddleLabel(l), yes_no(record_.computer_sets_riddle),
              kComputerSetsRiddleEnd(l), "|"}),
        framed(join({kVacantLabel(l), yes_no(record_.vacant_signs), " |", kAnswerLabel(l), answer})),
        join({"|", kAnswerFixedLabel(l), yes_no(record_.answer_fixed), " |", separator, "|"}),
        join({"|", left_line, "|", kRow20(l), "|"}),
        framed(kRow21(l)),
        join({"|", line, "|"}),
        join({"|", kPlayer1Label(l), player_text(1), kConfirmation(l), "|"}),
        join({"|", kPlayer2Label(l), player_text(2), kConfirmation(l), "|"}),
        join({"|", line, "|"}),
    };
    for (int row = 1; row <= 25; ++row) {
        console_.goto_xy(1, row);
        console_.write_text(rows[row]);
    }
    console_.goto_xy(71, 2);
    console_.set_attribute(session_.colours.emphasized);
    console_.write_text(memory_label(setup_.memory_choice));
    console_.set_attribute(session_.colours.standard);
}

ConditionsOutcome ConditionsForm::run() {
    check_capability(setup_, set_size(), code_length(), record_.repetition, record_.vacant_signs);
    shown_table_line_ = setup_.capability.line();
    normalise_names(record_.player1, record_.player2, false);
    setup_.answer_code = GameSetup::blank_answer_code();
    draw();
    Field field = typed_fixed_answer() ? kComputerSetsRiddle : kChoice;
    for (;;) {
        field = arrive(field);
        if (field == kToMainMenu) return ConditionsOutcome::MainMenu;
        if (field == kStartMatch) return ConditionsOutcome::StartMatch;
        field = run_field(field);
    }
}

}  // namespace

ConditionsOutcome run_conditions_screen(Session& session, GameSetup& setup) {
    return ConditionsForm(session, setup).run();
}
