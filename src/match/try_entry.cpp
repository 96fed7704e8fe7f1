#include "match/try_entry.hpp"

#include <string>

#include "core/keys.hpp"

namespace {

enum class Action { None, Sign, Vacant, Left, Right, Back, Clear, Abandon };

Action action_of(const Key& key, char& sign, const SignRing& signs, bool vacant_allowed) {
    if (key.extended) {
        switch (key.code) {
        case scan::kLeft: case scan::kCtrlLeft: case scan::kAltLeft: return Action::Left;
        case scan::kRight: case scan::kCtrlRight: case scan::kAltRight: return Action::Right;
        case scan::kDel: case scan::kAltDel: case scan::kCtrlDel: case scan::kShiftDel:
            return Action::Clear;
        default: return Action::None;
        }
    }
    switch (key.code) {
    case keys::kEsc: case keys::kCtrlC: return Action::Abandon;
    case keys::kBackspace: return Action::Back;
    case keys::kEnter: return Action::Right;
    case ',': case keys::kCtrlBackspace: return Action::Clear;
    case ' ': case '*': case '+': case '~': return vacant_allowed ? Action::Vacant : Action::None;
    default: break;
    }
    sign = static_cast<char>(key.code);
    if (sign >= 'A' && sign <= 'Z') sign = static_cast<char>(sign - 'A' + 'a');
    return signs.in_set(sign) ? Action::Sign : Action::None;
}

}  // namespace

std::optional<TypedTry> enter_try(MatchSession& session, MatchClock& clock, const BoardPlace& place,
                                  bool vacant_allowed, bool write_dots) {
    Console& console = session.console;
    const SignRing& signs = session.setup.signs;
    const int length = session.setup.record.code_length;
    const int first_column = place.code_column(length);
    const int row = place.screen_row();
    if (write_dots) {
        console.goto_xy(first_column, row);
        console.write_text(std::string(length, '.'));
    }
    TypedTry typed;
    typed.code.length = length;
    std::array<bool, 9> filled{};
    int filled_count = 0;
    int k = 1;
    const auto put = [&](char shown, bool fill) {
        console.goto_xy(first_column + k - 1, row);
        console.write_char(shown);
        if (fill != filled[k - 1]) filled_count += fill ? 1 : -1;
        filled[k - 1] = fill;
    };
    clock.start_guessing();
    for (;;) {
        console.goto_xy(first_column + k - 1, row);
        const Key key = clock.next_key();
        char sign = 0;
        switch (action_of(key, sign, signs, vacant_allowed)) {
        case Action::Sign:
            typed.text[k - 1] = sign;
            typed.code.signs[k - 1] = signs.index_of_sign(sign);
            put(sign, true);
            ++k;
            break;
        case Action::Vacant:
            typed.text[k - 1] = kVacantSign;
            typed.code.signs[k - 1] = kVacantIndex;
            put(kVacantSign, true);
            ++k;
            break;
        case Action::Left: --k; break;
        case Action::Right: ++k; break;
        case Action::Back:
            put('.', false);
            --k;
            break;
        case Action::Clear:
            put('.', false);
            ++k;
            break;
        case Action::Abandon:
            clock.stop_guessing();
            return std::nullopt;
        case Action::None:
            break;
        }
        if (k == 0) k = length;
        if (k == length + 1) k = 1;
        if (filled_count == length) {
            clock.stop_guessing();
            console.goto_xy(first_column + k - 1, row);
            return typed;
        }
    }
}
