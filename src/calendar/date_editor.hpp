#pragma once

#include <span>

#include "calendar/date_fields.hpp"
#include "console/marked_text.hpp"
#include "console/session.hpp"

// Where the edited date comes from and goes to: the computer's clock or the virtual date.
class DateKeeper {
public:
    virtual ~DateKeeper() = default;

    // Before every redraw: the values to show, from the clock or derived from the date.
    virtual void refresh(BlockValues& values) = 0;
    // A digit or F1 changed the date, or a digit the time, away from what the block shows.
    virtual void date_changed(const BlockValues& /*values*/) {}
    virtual void time_changed(const BlockValues& /*values*/) {}
    // After every key that does not leave the screen.
    virtual void key_done(const BlockValues& /*values*/) {}
};

// What a screen of the editor shows besides the shared instructions and the block.
struct EditorForm {
    std::span<const MarkedRow> rows;  // '^' marks emphasis, as for draw_marked_page
    Bilingual year_label;             // the 20 characters before the year
    FieldSet fields;
    bool running_clock;               // refresh while waiting for a key
};

// Draws the page and the block from `opening`, the date F1 brings back, and lets the user
// edit it digit by digit until Enter, Esc or Ctrl-C.
void run_date_editor(Session& session, const EditorForm& form, const BlockValues& opening,
                     DateKeeper& keeper);
