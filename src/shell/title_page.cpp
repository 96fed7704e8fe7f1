#include "shell/title_page.hpp"

#include "shell/keys.hpp"
#include "shell/marked_text.hpp"

namespace {

struct TitleRow {
    int row;
    std::string_view text;  // '^' switches emphasis
};

constexpr TitleRow kTitleRows[] = {
    {1, "^ *******  Mirelvanthoque  ***  Windows - 64-Bit - Version  2025-06-21.  *******^"},
    {19, "^ Deutsch:^"},
    {20, " Wollen Sie \"Deutsch\" als Sprache waehlen, So druecken Sie bitte \"d\" oder \"D\"."},
    {21, " Wollen Sie das Programm beenden, So druecken Sie bitte \"Esc\"/\"Escape\"."},
    {23, "^ English:^"},
    {24, " To choose 'English' as language, please press 'e' or 'E'."},
    {25, " To leave the program, please press 'Esc'/'Escape'.                            "},
};

void draw_title_page(App& app) {
    Console& console = app.console;
    console.set_attribute(app.colours.standard);
    console.clear_screen();
    for (const TitleRow& line : kTitleRows) {
        console.goto_xy(1, line.row);
        write_marked(console, line.text, app.colours.standard, app.colours.emphasized);
    }
}

}  // namespace

bool run_title_page(App& app) {
    draw_title_page(app);
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
