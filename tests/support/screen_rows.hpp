#pragma once

#include <string>
#include <string_view>

#include "core/screen.hpp"

// A row as it must stand on screen: the text padded with blanks to the full 80 columns.
inline std::string full_row(std::string_view text) {
    std::string row(text);
    row.resize(Screen::kColumns, ' ');
    return row;
}

// One character per cell: 'E' where the cell has the emphasized attribute, 's' where the
// standard one, '?' for any other; lets a test compare the emphasis of a whole row at once.
inline std::string emphasis_row(const Screen& screen, int row, unsigned char standard,
                                unsigned char emphasized) {
    std::string marks(Screen::kColumns, '?');
    for (int column = 1; column <= Screen::kColumns; ++column) {
        const auto attr = screen.cell(column, row).attr;
        marks[column - 1] = attr == emphasized ? 'E' : attr == standard ? 's' : '?';
    }
    return marks;
}
