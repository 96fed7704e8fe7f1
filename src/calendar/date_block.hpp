#pragma once

#include <string>
#include <string_view>

#include "calendar/date_fields.hpp"
#include "console/colour_scheme.hpp"
#include "console/console.hpp"
#include "core/language.hpp"

// The date block of rows 18 to 21, and the time rows 23 to 25 where the fields include them,
// in the standard text attribute. It remembers what it shows, so that a redraw writes only
// the parts that changed.
class DateBlock {
public:
    // `year_label` is the 20 characters before the year, which differ between the screens.
    DateBlock(Console& console, Language language, const ColourScheme& colours,
              Bilingual year_label, FieldSet fields)
        : console_(console), language_(language), colours_(colours), year_label_(year_label),
          fields_(fields) {}

    // Every row, labels included; the cursor is left where the writing ends.
    void draw(const BlockValues& values);
    // Writes what differs from the values shown; leaves the cursor where the writing ends.
    void update(const BlockValues& values);
    const BlockValues& shown() const { return shown_; }

private:
    void write_at(int column, int row, std::string_view text);
    // The units digit alone while the tens stay, else both.
    void update_two_digits(int row, int shown, int value);
    std::string_view leap_text(bool leap_year) const;
    std::string twelve_hour_text(int hour) const;

    Console& console_;
    Language language_;
    const ColourScheme& colours_;
    Bilingual year_label_;
    FieldSet fields_;
    BlockValues shown_;
};
