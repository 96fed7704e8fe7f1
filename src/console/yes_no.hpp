#pragma once

#include <cstdint>

#include "console/console.hpp"
#include "core/language.hpp"

inline constexpr Bilingual kYesText{"Ja.  ", "Yes. "};
inline constexpr Bilingual kNoText{"Nein.", "No.  "};

// The letters that say yes: j and y, and z, which some keyboards have where y is meant.
constexpr bool is_yes_key(std::uint8_t code) {
    return code == 'j' || code == 'J' || code == 'y' || code == 'Y' || code == 'z' || code == 'Z';
}

struct YesNoOutcome {
    // 'j', 'n', Enter (keep), Backspace (previous field), Esc or Ctrl-C (leave the form).
    std::uint8_t key = 0;
    bool changed = false;
};

// The yes/no field at the cursor position the caller set; value is 1 for yes, 0 for no.
YesNoOutcome ask_yes_no(Console& console, Language language, std::uint8_t& value);
