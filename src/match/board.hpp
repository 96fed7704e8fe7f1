#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "match/match_session.hpp"

// One try as the board keeps it.
struct TryRecord {
    std::uint16_t number = 0;  // as shown: the try count, or its last three digits
    std::array<char, 9> code = blank_code();
    std::uint8_t p = 0;
    std::uint8_t z = 0;

    static constexpr std::array<char, 9> blank_code() {
        std::array<char, 9> blanks{};
        blanks.fill(' ');
        return blanks;
    }
};

// Where a board slot's fields stand: two columns of 15 rows on screen rows 9..23.
struct BoardPlace {
    int column;  // 1 or 2
    int row;     // 1..15

    static BoardPlace of_slot(int slot) { return {(slot - 1) / 15 + 1, (slot - 1) % 15 + 1}; }
    int screen_row() const { return 8 + row; }
    int number_column() const { return column == 1 ? 42 : 62; }
    // The n signs centred in the nine places of the code column.
    int code_column(int code_length) const {
        return column == 1 ? (101 - code_length) / 2 : (141 - code_length) / 2;
    }
    int p_column() const { return column == 1 ? 56 : 76; }
    int z_column() const { return column == 1 ? 58 : 78; }
};

// What the header states about the match besides the conditions.
struct MatchHeader {
    int worst_case = 0;    // 0: no statement
    std::string opening;   // 12 characters
    bool vacant_chosen = false;  // the user's choice, not the match's condition
};

// The whole match screen but the clock panel's texts and the status line: header, player
// panel and the empty board with try number 1 in place.
void draw_match_screen(MatchSession& session, const MatchHeader& header);

// A try number in its three places: leading blanks while the count is small, leading zeros
// once the count has passed 999.
void write_try_number(Console& console, const BoardPlace& place, int number, bool leading_zeros);

// The board after try 30: slot `newest` holds the latest try at the bottom of column 2, the
// 29 before it above; the newest row is cleared for the try to come.
void redraw_board_ring(Console& console, const std::array<TryRecord, 30>& slots, int newest,
                       int code_length, bool leading_zeros, bool person_guesses);
