#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "core/keys.hpp"
#include "support/screen_rows.hpp"
#include "support/test_rig.hpp"

// The rows of a date screen as the user must see them; '^' encloses emphasized text. Rows
// not listed are blank.
using PageRows = std::map<int, std::string>;

// The instructions both date screens share.
inline PageRows shared_instructions(Language language) {
    if (language == Language::German)
        return {
            {3, "Gehen Sie dazu mit den Cursor-tasten (\"Pfeile\" nach rechts, links, oben und"},
            {4, "unten) auf die Position, die Sie aendern wollen."},
            {5, "Ueberschreiben Sie dann einfach die falschen Ziffern mit den richtigen."},
            {8, "^Beachten Sie dabei bitte folgendes:^"},
            {9, "Den ^Wochentag^ koennen Sie nicht aendern, er ergibt sich aus dem Datum."},
            {10, "Zusaetzliche wird angezeigt, ob das aktuelle Jahr ein ^Schaltjahr^ ist."},
            {12, "Es werden nur Aenderungen zugelassen,die auch zu gueltigen Ergebnissen fuehren."},
        };
    return {
        {3, "Please move the cursor with the cursor-keys ('arrows' to the left, to the"},
        {4, "right, upwards and downwards) to the position, you want to change."},
        {5, "Now you can correct the wrong digits by pressing the right digits."},
        {8, "^Please note the following:^"},
        {9, "You cannot change the ^day of the week^, because it results from the date."},
        {10, "Besides you get the information, whether the displayed year is a ^leap-year^."},
        {12, "There are only changes allowed, which have a correct result."},
    };
}

inline PageRows merged(PageRows rows, const PageRows& more) {
    rows.insert(more.begin(), more.end());
    return rows;
}

// Every row of the screen, its characters and which of them are emphasized.
inline void expect_page(const TestRig& rig, const PageRows& rows) {
    const ColourScheme& colours = rig.app.colours;
    for (int row = 1; row <= Screen::kRows; ++row) {
        const auto found = rows.find(row);
        std::string text, marks;
        bool emphasized = false;
        for (char ch : found == rows.end() ? std::string() : found->second) {
            if (ch == '^') {
                emphasized = !emphasized;
                continue;
            }
            text += ch;
            marks += emphasized ? 'E' : 's';
        }
        marks.resize(Screen::kColumns, 's');
        EXPECT_EQ(rig.row(row), full_row(text)) << "row " << row;
        EXPECT_EQ(emphasis_row(rig.screen(), row, colours.standard, colours.emphasized), marks)
            << "row " << row;
    }
}

// The cursor's column and row as each key is taken, and once more at the end.
// `also` runs after each record, to look at the screen between two keys.
struct CursorTrail {
    explicit CursorTrail(TestRig& rig, std::function<void(std::size_t)> also = {}) : rig_(rig) {
        rig.terminal.before_each_key([this, also](std::size_t taken) {
            places.emplace_back(rig_.console.where_x(), rig_.console.where_y());
            if (also) also(taken);
        });
    }

    TestRig& rig_;
    std::vector<std::pair<int, int>> places;
};

// Cursor keys by name, for scripts that read like the keys a person presses.
inline void press(ScriptedTerminal& terminal, std::initializer_list<std::uint8_t> scan_codes) {
    for (std::uint8_t code : scan_codes) terminal.extended(code);
}
