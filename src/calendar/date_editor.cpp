#include "calendar/date_editor.hpp"

#include <optional>

#include "calendar/date_block.hpp"
#include "console/kept_cursor.hpp"
#include "core/keys.hpp"

namespace {

// The instructions both screens share; each screen adds its title and its own rows.
constexpr MarkedRow kSharedRows[] = {
    {3,
     {"Gehen Sie dazu mit den Cursor-tasten (\"Pfeile\" nach rechts, links, oben und",
      "Please move the cursor with the cursor-keys ('arrows' to the left, to the"}},
    {4,
     {"unten) auf die Position, die Sie aendern wollen.",
      "right, upwards and downwards) to the position, you want to change."}},
    {5,
     {"Ueberschreiben Sie dann einfach die falschen Ziffern mit den richtigen.",
      "Now you can correct the wrong digits by pressing the right digits."}},
    {8, {"^Beachten Sie dabei bitte folgendes:^", "^Please note the following:^"}},
    {9,
     {"Den ^Wochentag^ koennen Sie nicht aendern, er ergibt sich aus dem Datum.",
      "You cannot change the ^day of the week^, because it results from the date."}},
    {10,
     {"Zusaetzliche wird angezeigt, ob das aktuelle Jahr ein ^Schaltjahr^ ist.",
      "Besides you get the information, whether the displayed year is a ^leap-year^."}},
    {12,
     {"Es werden nur Aenderungen zugelassen,die auch zu gueltigen Ergebnissen fuehren.",
      "There are only changes allowed, which have a correct result."}},
};

std::optional<Move> move_of(const Key& key) {
    if (!key.extended) return std::nullopt;
    switch (key.code) {
    case scan::kRight:
    case scan::kCtrlRight:
    case scan::kAltRight:
        return Move::Right;
    case scan::kLeft:
    case scan::kCtrlLeft:
    case scan::kAltLeft:
        return Move::Left;
    case scan::kUp:
    case scan::kCtrlUp:
    case scan::kAltUp:
        return Move::Up;
    case scan::kDown:
    case scan::kCtrlDown:
    case scan::kAltDown:
        return Move::Down;
    default:
        return std::nullopt;
    }
}

bool is_f1(const Key& key) {
    return key.extended && (key.code == scan::kF1 || key.code == scan::kShiftF1 ||
                            key.code == scan::kCtrlF1 || key.code == scan::kAltF1);
}

bool leaves(const Key& key) {
    return !key.extended &&
           (key.code == keys::kEnter || key.code == keys::kEsc || key.code == keys::kCtrlC);
}

std::optional<int> digit_of(const Key& key) {
    if (key.extended || key.code < '0' || key.code > '9') return std::nullopt;
    return key.code - '0';
}

class DateEditor {
public:
    DateEditor(Session& session, const EditorForm& form, const BlockValues& opening,
               DateKeeper& keeper)
        : console_(session.console), form_(form), opening_(opening), edited_(opening),
          keeper_(keeper),
          block_(session.console, session.language, session.colours, form.year_label,
                 form.fields) {}

    void run() {
        block_.draw(edited_);
        redraw();
        place_cursor();
        for (;;) {
            const Key key = next_key();
            if (leaves(key)) return;
            const bool typed = apply(key);
            redraw();
            if (typed) position_ = moved(position_, Move::Right, edited_, form_.fields);
            keeper_.key_done(edited_);
            place_cursor();
        }
    }

private:
    void redraw() {
        keeper_.refresh(edited_);
        block_.update(edited_);
    }

    void place_cursor() { console_.goto_xy(column_of(position_), row_of(position_.field)); }

    Key next_key() {
        if (!form_.running_clock) return console_.next_key();
        return console_.next_key_with_clock([this] {
            const KeptCursor kept(console_);
            redraw();
        });
    }

    // True when a digit was taken, after which the cursor moves on.
    bool apply(const Key& key) {
        if (const std::optional<int> digit = digit_of(key)) return type_digit(*digit);
        if (const std::optional<Move> move = move_of(key))
            position_ = moved(position_, *move, edited_, form_.fields);
        else if (is_f1(key))
            restore_opening_date();
        return false;
    }

    bool type_digit(int digit) {
        if (!accepts_digit(position_, edited_, digit)) return false;
        put_digit(position_, edited_, digit);
        if (is_date_field(position_.field)) {
            put_date_right(edited_);
            if (!edited_.same_date(block_.shown())) keeper_.date_changed(edited_);
        } else {
            put_time_right(edited_);
            if (!edited_.same_time(block_.shown())) keeper_.time_changed(edited_);
        }
        return true;
    }

    void restore_opening_date() {
        if (edited_.same_date(opening_)) return;
        edited_.year = opening_.year;
        edited_.month = opening_.month;
        edited_.day = opening_.day;
        edited_.weekday = opening_.weekday;
        edited_.leap_year = opening_.leap_year;
        keeper_.date_changed(edited_);
    }

    Console& console_;
    const EditorForm& form_;
    const BlockValues opening_;
    BlockValues edited_;
    DateKeeper& keeper_;
    DateBlock block_;
    FieldPosition position_;
};

}  // namespace

void run_date_editor(Session& session, const EditorForm& form, const BlockValues& opening,
                     DateKeeper& keeper) {
    draw_marked_page(session.console, form.rows, session.language, session.colours);
    for (const MarkedRow& line : kSharedRows) {
        session.console.goto_xy(1, line.row);
        write_marked(session.console, line.text(session.language), session.colours.standard,
                     session.colours.emphasized);
    }
    DateEditor(session, form, opening, keeper).run();
}
