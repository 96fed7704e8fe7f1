#include "match/answer_check.hpp"

#include "core/keys.hpp"

namespace {

// The digit a key stands for, or -1.
int digit_of(const Key& key) {
    if (key.extended || key.code < '0' || key.code > '9') return -1;
    return key.code - '0';
}

bool p_possible(const ClassTable& classes, int code_length, int p) {
    for (int t = p; t <= code_length; ++t)
        if (classes.possible(t, p)) return true;
    return false;
}

// The only P some class offers, or nothing when there are several.
std::optional<int> only_possible_p(const ClassTable& classes, int code_length) {
    std::optional<int> only;
    for (int p = 0; p <= code_length; ++p) {
        if (!p_possible(classes, code_length, p)) continue;
        if (only) return std::nullopt;
        only = p;
    }
    return only;
}

// The only Z the classes leave beside this P, or nothing when there are several.
std::optional<int> only_possible_z(const ClassTable& classes, int code_length, int p) {
    if (p >= code_length - 1) return 0;
    std::optional<int> only;
    for (int t = p; t <= code_length; ++t) {
        if (!classes.possible(t, p)) continue;
        if (only) return std::nullopt;
        only = t - p;
    }
    return only;
}

void write_digit(Console& console, int column, int row, int value) {
    console.goto_xy(column, row);
    console.write_char(static_cast<char>('0' + value));
}

}  // namespace

std::optional<Response> take_person_answer(MatchSession& session, MatchClock& clock,
                                           const ClassTable& classes, int code_length,
                                           const BoardPlace& place) {
    Console& console = session.console;
    if (session.setup.record.sound) console.beep();

    const std::optional<int> filled_p = only_possible_p(classes, code_length);
    for (;;) {
        int p = 0;
        if (filled_p) {
            p = *filled_p;
        } else {
            console.goto_xy(place.p_column(), place.screen_row());
            for (;;) {
                const Key key = clock.next_key();
                if (keys::abandons(key)) return std::nullopt;
                p = digit_of(key);
                if (p >= 0 && p <= code_length && p_possible(classes, code_length, p)) break;
            }
        }
        write_digit(console, place.p_column(), place.screen_row(), p);
        console.goto_xy(place.z_column(), place.screen_row());

        if (const std::optional<int> z = only_possible_z(classes, code_length, p)) {
            write_digit(console, place.z_column(), place.screen_row(), *z);
            return Response{static_cast<std::uint8_t>(p), static_cast<std::uint8_t>(p + *z)};
        }
        for (;;) {
            const Key key = clock.next_key();
            if (keys::abandons(key)) return std::nullopt;
            if (!key.extended && key.code == keys::kBackspace && !filled_p) {
                console.goto_xy(place.p_column(), place.screen_row());
                console.write_char(' ');
                break;
            }
            const int z = digit_of(key);
            if (z >= 0 && z <= code_length - p && classes.possible(p + z, p)) {
                write_digit(console, place.z_column(), place.screen_row(), z);
                return Response{static_cast<std::uint8_t>(p), static_cast<std::uint8_t>(p + z)};
            }
        }
    }
}
