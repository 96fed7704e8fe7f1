#include "program/title_page.hpp"

#include "console/marked_text.hpp"
#include "core/keys.hpp"

namespace {

// The page asks in both languages at once, so each row is the same in either.
constexpr MarkedRow both(int row, std::string_view text) { return {row, {text, text}}; }

constexpr MarkedRow kTitleRows[] = {
    both(1, "^ *******  Mirelvanthoque  ***  Windows - 64-Bit - Version  2025-06-21.  *******^"),
    both(19, "^ Deutsch:^"),
    both(20, " Wollen Sie \"Deutsch\" als Sprache waehlen, So druecken Sie bitte \"d\" oder \"D\"."),
    both(21, " Wollen Sie das Programm beenden, So druecken Sie bitte \"Esc\"/\"Escape\"."),
    both(23, "^ English:^"),
    both(24, " To choose 'English' as language, please press 'e' or 'E'."),
    both(25, " To leave the program, please press 'Esc'/'Escape'.                            "),
};

}  // namespace

bool run_title_page(App& app) {
    draw_marked_page(app.console, kTitleRows, app.language, app.colours);
    for (;;) {
        const Key key = app.console.next_key();
        if (key.extended) continue;
        switch (key.code) {
        case 'd': case 'D':
            app.language = Language::German;
            return true;
        case 'e': case 'E':
            app.language = Language::English;
            return true;
        case keys::kEsc: case keys::kCtrlC:
            return false;
        default:
            break;
        }
    }
}
