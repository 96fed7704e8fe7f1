#include "setup/code_entry.hpp"

#include <algorithm>
#include <string_view>

#include "core/keys.hpp"

namespace {

constexpr int kAnswerColumn = 46;
constexpr int kAnswerRow = 18;

char fold_to_lower(std::uint8_t code) {
    if (code >= 'A' && code <= 'Z') return static_cast<char>(code - 'A' + 'a');
    return static_cast<char>(code);
}

bool permutation_mode(const GameSetup& setup) {
    return !setup.record.repetition && setup.record.code_length == setup.signs.set_size();
}

}  // namespace

std::uint8_t enter_answer_code(Session& session, GameSetup& setup, bool resume) {
    Console& console = session.console;
    auto& code = setup.answer_code;
    const int length = setup.record.code_length;
    const bool permutation = permutation_mode(setup);
    // In permutation mode the last sign follows from the others and is never typed.
    const int typed_length = permutation ? length - 1 : length;

    int k = 1;
    if (resume) {
        k = typed_length;
        console.goto_xy(kAnswerColumn - 1 + k, kAnswerRow);
        console.write_text(permutation ? "..\b\b" : ".\b");
    } else {
        console.goto_xy(kAnswerColumn, kAnswerRow);
    }

    char last_sign = 0;
    while (k <= typed_length) {
        const Key key = console.next_key();
        if (key.extended) continue;
        if (key.code == keys::kEsc || key.code == keys::kCtrlC) return key.code;
        const char sign = fold_to_lower(key.code);
        if (!setup.signs.in_set(sign)) {
            if (key.code != keys::kBackspace) continue;
            if (k == 1) return keys::kBackspace;
            --k;
            console.write_text("\b.\b");
            continue;
        }
        const auto typed_end = code.begin() + (k - 1);
        if (!setup.record.repetition && std::find(code.begin(), typed_end, sign) != typed_end)
            continue;
        code[k - 1] = sign;
        console.write_char(sign);
        last_sign = sign;
        ++k;
    }

    if (permutation) {
        code[length - 1] = first_free_sign(setup.signs, std::string_view(code.data(), length - 1));
        console.write_char(code[length - 1]);
    }
    std::fill(code.begin() + length, code.end(), ' ');
    return static_cast<std::uint8_t>(last_sign);
}
