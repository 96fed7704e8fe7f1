#include "console/yes_no.hpp"

#include "core/keys.hpp"

namespace {

std::uint8_t fold_answer(std::uint8_t code) {
    if (is_yes_key(code)) return 'j';
    return code == 'N' ? 'n' : code;
}

bool ends_field(std::uint8_t code) {
    return code == 'j' || code == 'n' || code == keys::kBackspace || code == keys::kEnter ||
           code == keys::kCtrlC || code == keys::kEsc;
}

}  // namespace

YesNoOutcome ask_yes_no(Console& console, Language language, std::uint8_t& value) {
    const int column = console.where_x();
    const int row = console.where_y();
    YesNoOutcome outcome;
    for (;;) {
        Key key = console.next_key();
        if (key.extended) continue;
        outcome.key = fold_answer(key.code);
        if (ends_field(outcome.key)) break;
    }
    const std::uint8_t wanted = outcome.key == 'j' ? 1 : outcome.key == 'n' ? 0 : value;
    if (wanted != value) {
        value = wanted;
        outcome.changed = true;
        console.goto_xy(column, row);
        console.write_text(value ? kYesText(language) : kNoText(language));
    }
    return outcome;
}
