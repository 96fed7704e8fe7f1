#include "setup/game_setup.hpp"

#include "setup/memory_budget.hpp"
#include "setup/player_names.hpp"

namespace {

constexpr std::uint64_t kVariableRecordSize = 32;

char folded_sign(std::uint8_t stored) {
    const char ch = static_cast<char>(stored);
    if (ch >= 'A' && ch <= 'Z') return static_cast<char>(ch - 'A' + 'a');
    return ch;
}

// Beyond these the computer's tables would not fit any of the budgets it offers.
void apply_length_limits(CapabilityVerdict& verdict, int set_size, int code_length,
                         bool repetition, int effective_signs) {
    struct Limit {
        int guess_signs, variable_with_repetition, variable_without;
    };
    static constexpr Limit kLimits[] = {
        {35, 35, 36},  // length 6
        {21, 21, 24},  // length 7
        {14, 14, 18},  // length 8
        {10, 10, 15},  // length 9
    };
    if (code_length < 6) return;
    const Limit& limit = kLimits[code_length - 6];
    if (effective_signs > limit.guess_signs) verdict.computer_can_guess = false;
    const int variable_limit = repetition ? limit.variable_with_repetition : limit.variable_without;
    if (set_size > variable_limit) verdict.variable_answer_possible = false;
}

}  // namespace

CapabilityVerdict assess_capability(int set_size, int code_length, bool repetition, bool vacant,
                                    std::uint64_t byte_budget) {
    const int effective = effective_sign_count(set_size, code_length, vacant);
    CapabilityVerdict verdict;
    apply_length_limits(verdict, set_size, code_length, repetition, effective);
    if (!verdict.variable_answer_possible) verdict.computer_can_guess = false;
    if (verdict.variable_answer_possible &&
        code_count(set_size, code_length, repetition) * kVariableRecordSize > byte_budget) {
        verdict = CapabilityVerdict{false, false};
    }
    if (verdict.computer_can_guess) {
        std::uint64_t guesser_codes = code_count(effective, code_length, true);
        if (effective == set_size + 1) guesser_codes -= 1;  // the all-vacant try
        if (guesser_codes * candidate_record_size(code_length, effective) > byte_budget)
            verdict.computer_can_guess = false;
    }
    return verdict;
}

CapabilityChanges check_capability(GameSetup& setup, int set_size, int code_length,
                                   bool repetition, bool vacant) {
    CapabilityChanges changes;
    changes.table_changed = setup.capability.refresh(setup.byte_budget);
    setup.verdict = assess_capability(set_size, code_length, repetition, vacant, setup.byte_budget);
    ConditionsRecord& record = setup.record;
    if (!setup.verdict.variable_answer_possible && !record.answer_fixed) {
        record.answer_fixed = 1;
        changes.answer_fixed_forced = true;
    }
    if (!setup.verdict.computer_can_guess && record.computer_guesses) {
        record.computer_guesses = 0;
        changes.computer_guessing_stopped = true;
    }
    return changes;
}

void derive_byte_budget(GameSetup& setup) { setup.byte_budget = byte_budget(setup.memory_choice); }

void validate_conditions(GameSetup& setup) {
    ConditionsRecord& record = setup.record;
    if (record.reserved == 0 || record.reserved > 8) record.reserved = 4;
    record.memory_choice = valid_memory_choice(record.memory_choice);
    setup.memory_choice = record.memory_choice;

    char first = folded_sign(record.first_sign);
    if (!is_ring_sign(first)) first = 'a';
    char last = folded_sign(record.last_sign);
    if (!is_ring_sign(last)) last = first;
    if (record.code_length < 2 || record.code_length > 9) record.code_length = 4;
    if (first == last) {
        const bool digit = first >= '0' && first <= '9';
        first = digit ? '0' : 'a';
        last = digit ? '5' : 'f';
    }
    record.first_sign = static_cast<std::uint8_t>(first);
    record.last_sign = static_cast<std::uint8_t>(last);

    // Any non-zero yes/no byte means yes; the screens compare with 1.
    for (std::uint8_t* flag : {&record.sound, &record.repetition, &record.vacant_signs,
                               &record.computer_sets_riddle, &record.computer_guesses,
                               &record.answer_fixed}) {
        *flag = *flag ? 1 : 0;
    }

    setup.signs.set_stretch(first, last);
    const int set_size = setup.signs.set_size();
    if (record.code_length > set_size) record.repetition = 1;

    derive_byte_budget(setup);
    check_capability(setup, set_size, record.code_length, record.repetition, record.vacant_signs);

    setup.saved_vacant = record.vacant_signs;
    if (record.time_limit > 9) record.time_limit = 6;
    normalise_names(record.player1, record.player2, false);
}

ConditionsRecord record_to_save(GameSetup& setup, std::uint8_t standard_attribute,
                                std::uint8_t emphasized_attribute) {
    normalise_names(setup.record.player1, setup.record.player2, false);
    ConditionsRecord saved = setup.record;
    saved.vacant_signs = setup.saved_vacant;
    saved.memory_choice = setup.memory_choice;
    saved.standard_attribute = standard_attribute;
    saved.emphasized_attribute = emphasized_attribute;
    return saved;
}
