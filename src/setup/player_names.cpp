#include "setup/player_names.hpp"

#include <algorithm>

namespace {

bool is_upper(char ch) { return ch >= 'A' && ch <= 'Z'; }
bool is_lower(char ch) { return ch >= 'a' && ch <= 'z'; }
bool is_separator(char ch) { return ch == ' ' || ch == '-'; }

char allowed_character(char ch) {
    if (is_upper(ch)) return static_cast<char>(ch - 'A' + 'a');
    if (is_lower(ch) || ch == '-' || ch == '.' || ch == ' ') return ch;
    if (ch == ':') return '.';
    if (ch == '_') return '-';
    return ' ';
}

void blank_from(PlayerName& name, int position) {
    for (int k = std::max(position, 1); k <= PlayerName::kPositions; ++k) name.at(k) = ' ';
}

}  // namespace

void normalise_name(PlayerName& name) {
    name.length = 32;
    name.at(32) = ' ';
    for (int k = 1; k <= PlayerName::kPositions; ++k) name.at(k) = allowed_character(name.at(k));

    for (int k = 1; k <= PlayerName::kPositions; ++k) {
        const char before = k == 1 ? ' ' : name.at(k - 1);
        char& here = name.at(k);
        if (is_separator(before) && (here == ' ' || here == '.' || here == '-')) {
            blank_from(name, k - 1);
            break;
        }
        if (is_upper(before) && is_separator(here)) {
            here = '.';
        } else if (before == '.' && here != '-') {
            here = ' ';
        } else if (is_separator(before) && is_lower(here)) {
            here = static_cast<char>(here - 'a' + 'A');
        }
    }

    if (name.at(31) == '-') name.at(31) = ' ';
    if (is_separator(name.at(30))) {
        name.at(30) = ' ';
        name.at(31) = ' ';
    }
}

void normalise_names(PlayerName& first, PlayerName& second, bool swap) {
    normalise_name(first);
    normalise_name(second);
    if (swap) {
        std::swap_ranges(first.text.begin(), first.text.begin() + PlayerName::kPositions,
                         second.text.begin());
    }
}
