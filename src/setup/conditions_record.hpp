#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

// A player's name as the conditions file holds it: a length byte that is always 32, then 31
// characters of name padded with blanks and a blank in the last place.
struct PlayerName {
    static constexpr int kPositions = 31;

    std::uint8_t length = 32;
    std::array<char, 32> text = blank_text();

    bool empty() const { return text[0] == ' '; }
    // Position 1..32 as the rules count them.
    char& at(int position) { return text[position - 1]; }
    char at(int position) const { return text[position - 1]; }

    static constexpr std::array<char, 32> blank_text() {
        std::array<char, 32> blanks{};
        blanks.fill(' ');
        return blanks;
    }
    bool operator==(const PlayerName&) const = default;
};

// The conditions of play exactly as the 80 bytes of the conditions file lay them out.
struct ConditionsRecord {
    std::uint8_t standard_attribute = 31;
    std::uint8_t emphasized_attribute = 30;
    std::uint8_t time_limit = 1;  // tens of seconds per computer try, 0 = none
    std::uint8_t code_length = 4;
    std::uint8_t reserved = 4;  // checked at load, used by nothing
    std::uint8_t memory_choice = 5;
    std::uint8_t first_sign = '0';
    std::uint8_t last_sign = '9';
    std::uint8_t sound = 0;
    std::uint8_t repetition = 0;
    std::uint8_t vacant_signs = 0;
    std::uint8_t computer_sets_riddle = 1;
    std::uint8_t computer_guesses = 0;
    std::uint8_t answer_fixed = 1;
    PlayerName player1;  // devises the riddle
    PlayerName player2;  // cracks the code

    bool operator==(const ConditionsRecord&) const = default;
};

static_assert(sizeof(PlayerName) == 33);
static_assert(sizeof(ConditionsRecord) == 80);
static_assert(offsetof(ConditionsRecord, memory_choice) == 5);
static_assert(offsetof(ConditionsRecord, answer_fixed) == 13);
static_assert(offsetof(ConditionsRecord, player1) == 14);
static_assert(offsetof(ConditionsRecord, player2) == 47);

using ConditionsBytes = std::array<std::uint8_t, sizeof(ConditionsRecord)>;

ConditionsBytes to_bytes(const ConditionsRecord& record);
ConditionsRecord from_bytes(const ConditionsBytes& bytes);
