#include "match/board.hpp"

#include "core/text.hpp"

namespace {

// clang-format off
constexpr std::string_view kTitle = "  ***  Mirelvanthoque  **  Windows - 64-Bit - Version  2025-06-21.  ***  ";
constexpr std::string_view kBoardRow = "|*|   |         | | |*|   |         | | |";
constexpr std::string_view kFirstBoardRow = "|*|  1|         | | |*|   |         | | |";
constexpr std::string_view kRow3 = "|_____________________________________________________________________________|";
constexpr std::string_view kRow6 = "|__________________________________________|__________________________________|";
constexpr std::string_view kRow24 = "|_____________________________________|_|___|_________|_|_|_|___|_________|_|_|";

constexpr Bilingual kWithRepetition{" Zeichen mit Wiederholung ", " signs with repetition    "};
constexpr Bilingual kWithoutRepetition{" Zeichen ohne Wiederholung", " signs without repetition "};
constexpr Bilingual kVacantRow7Allowed{
    "| Das Leerzeichen \" \"/\"*\" darf zum    |*|Nr.|  Code   |P|Z|*|Nr.|  Code   |P|Z|",
    "| The vacant sign ' '/'*' may be used |*|No.|  Code   |P|S|*|No.|  Code   |P|S|"};
constexpr Bilingual kVacantRow7Refused{
    "| Das Leerzeichen \" \"/\"*\" darf zum    |*|Nr.|  Code   |P|Z|*|Nr.|  Code   |P|Z|",
    "| The vacant sign ' '/'*' cannot be   |*|No.|  Code   |P|S|*|No.|  Code   |P|S|"};
constexpr Bilingual kVacantRow8Allowed{"| Raten zuhilfegenommen werden.       ",
                                       "| for guessing.                       "};
constexpr Bilingual kVacantRow8Refused{"| Raten nicht zuhilfegenommen werden. ",
                                       "| used for guessing.                  "};
constexpr std::string_view kRow8Board = "|*|___|_________|_|_|*|___|_________|_|_|";
constexpr Bilingual kFixed{" Der zu ratende Code ist fest.       ", " The answercode is fixed.            "};
constexpr Bilingual kNotFixed{" Der zu ratende Code ist nicht fest. ", " The answercode is not fixed.        "};

constexpr Bilingual kRiddleFrom{"| Das Raetsel stammt von              ", "| The riddle comes from               "};
constexpr Bilingual kRiddleFromComputer{"| Das Raetsel stammt vom Computer.    ", "| The riddle comes from               "};
constexpr Bilingual kSolutionFrom{"| Die Loesung stammt von              ", "| The solution comes from             "};
constexpr Bilingual kSolutionFromComputer{"| Die Loesung stammt vom Computer.    ", "| The solution comes from             "};
constexpr Bilingual kComputerSecondRow{"|                                     ", "| the computer.                       "};

constexpr Bilingual kWorstCaseA{"   Der Code kann mit maximal ", " It is possible to crack the code "};
constexpr std::string_view kWorstCaseAExactly = "   Der Code kann mit genau ";
constexpr std::string_view kWorstCaseBGerman = "   Versuchen geknackt werden.     ";
// clang-format on

// The worst case in three places, left-aligned.
std::string worst_case_number(int worst_case) { return padded(std::to_string(worst_case), 3); }

std::pair<std::string, std::string> worst_case_texts(Language language, int worst_case, bool fixed) {
    if (worst_case == 0) return {std::string(34, ' '), std::string(34, ' ')};
    const std::string w = worst_case_number(worst_case);
    if (language == Language::English) {
        std::string b = fixed ? join({" with ", w, " trials or less."}) : join({" with ", w, " trials."});
        return {std::string(kWorstCaseA(language)), padded(b, 34)};
    }
    std::string a = fixed ? join({kWorstCaseA(language), w, "  "}) : join({kWorstCaseAExactly, w, "    "});
    return {a, std::string(kWorstCaseBGerman)};
}

// A person's name as the panel shows it: the name and a dot.
std::string name_row(const PlayerName& name) {
    const std::string_view text(name.text.data(), PlayerName::kPositions);
    return padded(join({"| ", without_trailing_blanks(text), "."}), 34) + "    ";
}

std::pair<std::string, std::string> player_rows(Language language, bool computer, bool riddle,
                                                const PlayerName& name) {
    if (computer) {
        return {std::string(riddle ? kRiddleFromComputer(language) : kSolutionFromComputer(language)),
                std::string(kComputerSecondRow(language))};
    }
    return {std::string(riddle ? kRiddleFrom(language) : kSolutionFrom(language)), name_row(name)};
}

}  // namespace

void draw_match_screen(MatchSession& session, const MatchHeader& header) {
    const Language l = session.game_language;
    const ConditionsRecord& record = session.setup.record;
    const bool fixed = record.answer_fixed;
    const auto [worst_a, worst_b] = worst_case_texts(l, header.worst_case, fixed);
    const auto [riddle_1, riddle_2] =
        player_rows(l, record.computer_sets_riddle, true, record.player1);
    const auto [solution_1, solution_2] =
        player_rows(l, record.computer_guesses, false, record.player2);
    const std::string blank_panel = padded("|", 38);
    const std::string line_panel = "|" + std::string(37, '_');
    const std::string length(1, static_cast<char>('0' + record.code_length));

    const std::string rows[25] = {
        join({"_", "__", kTitle, "__", "_"}),
        join({"|", std::string(77, ' '), "|"}),
        std::string(kRow3),
        join({padded(join({"| ", session.setup.signs.set_signs()}), 43), "|", worst_a, "|"}),
        join({"| ", length, record.repetition ? kWithRepetition(l) : kWithoutRepetition(l), "  ",
              header.opening, "|", worst_b, "|"}),
        std::string(kRow6),
        std::string(header.vacant_chosen ? kVacantRow7Allowed(l) : kVacantRow7Refused(l)),
        join({header.vacant_chosen ? kVacantRow8Allowed(l) : kVacantRow8Refused(l), kRow8Board}),
        join({"|", fixed ? kFixed(l) : kNotFixed(l), kFirstBoardRow}),
        join({blank_panel, kBoardRow}),
        join({line_panel, kBoardRow}),
        join({riddle_1, kBoardRow}),
        join({riddle_2, kBoardRow}),
        join({solution_1, kBoardRow}),
        join({solution_2, kBoardRow}),
        join({line_panel, kBoardRow}),
        join({blank_panel, kBoardRow}),
        join({blank_panel, kBoardRow}),
        join({blank_panel, kBoardRow}),
        join({blank_panel, kBoardRow}),
        join({blank_panel, kBoardRow}),
        join({blank_panel, kBoardRow}),
        join({blank_panel, kBoardRow}),
        std::string(kRow24),
        "",
    };
    Console& console = session.console;
    console.set_attribute(session.colours.standard);
    console.clear_screen();
    for (int row = 1; row <= 24; ++row) {
        console.goto_xy(1, row);
        console.write_text(rows[row - 1]);
    }
}

void write_try_number(Console& console, const BoardPlace& place, int number, bool leading_zeros) {
    std::string text = std::to_string(number % 1000);
    text.insert(0, 3 - text.size(), leading_zeros ? '0' : ' ');
    console.goto_xy(place.number_column(), place.screen_row());
    console.write_text(text);
}

void redraw_board_ring(Console& console, const std::array<TryRecord, 30>& slots, int newest,
                       int code_length, bool leading_zeros, bool person_guesses) {
    for (int column = 1; column <= 2; ++column) {
        for (int row = 1; row <= 15; ++row) {
            const BoardPlace place{column, row};
            const TryRecord& record = slots[((column - 1) * 15 + row + newest - 1) % 30];
            write_try_number(console, place, record.number, leading_zeros);
            if (column == 2 && row == 15) break;
            console.goto_xy(place.code_column(code_length), place.screen_row());
            console.write_text(std::string_view(record.code.data(), code_length));
            console.goto_xy(place.p_column(), place.screen_row());
            console.write_char(static_cast<char>('0' + record.p));
            console.goto_xy(place.z_column(), place.screen_row());
            console.write_char(static_cast<char>('0' + record.z));
        }
    }
    const BoardPlace last{2, 15};
    console.goto_xy(last.code_column(code_length), last.screen_row());
    console.write_text(std::string(code_length, person_guesses ? '.' : ' '));
    console.goto_xy(last.p_column(), last.screen_row());
    console.write_text(" | ");
}
