#pragma once

#include <array>
#include <cstdint>

#include "core/code_counts.hpp"
#include "core/signs.hpp"
#include "setup/capability_table.hpp"
#include "setup/conditions_record.hpp"

// What the computer can do under given conditions within a byte budget.
struct CapabilityVerdict {
    bool computer_can_guess = true;
    bool variable_answer_possible = true;
    bool operator==(const CapabilityVerdict&) const = default;
};

// The corrections a capability check made, so a screen can show them.
struct CapabilityChanges {
    bool table_changed = false;
    bool answer_fixed_forced = false;
    bool computer_guessing_stopped = false;
};

// The conditions of play for the run: the record and the working values derived from it.
struct GameSetup {
    ConditionsRecord record;
    SignRing signs;
    // The user's choice of vacant signs; the record's byte may be off for one match.
    std::uint8_t saved_vacant = 0;
    std::uint8_t memory_choice = 5;
    std::uint64_t byte_budget = 0;
    CapabilityTable capability;
    CapabilityVerdict verdict;
    // The fixed answer a person typed on the conditions screen: the signs in positions
    // 1..n, blanks after them; a blank first position means none is known.
    std::array<char, 9> answer_code = blank_answer_code();

    static constexpr std::array<char, 9> blank_answer_code() {
        std::array<char, 9> blanks{};
        blanks.fill(' ');
        return blanks;
    }
};

CapabilityVerdict assess_capability(int set_size, int code_length, bool repetition, bool vacant,
                                    std::uint64_t byte_budget);

// Brings the capability table up to date and forces the answer to be fixed and the person to
// guess where the computer cannot do otherwise.
CapabilityChanges check_capability(GameSetup& setup, int set_size, int code_length,
                                   bool repetition, bool vacant);

void derive_byte_budget(GameSetup& setup);

// Puts a loaded record into range and derives the working values from it.
void validate_conditions(GameSetup& setup);

// The record as the file must hold it: the user's vacant-sign choice and the working memory
// choice in it, names normalised.
ConditionsRecord record_to_save(GameSetup& setup, std::uint8_t standard_attribute,
                                std::uint8_t emphasized_attribute);
