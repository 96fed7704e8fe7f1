#include "core/screen.hpp"

#include <algorithm>

Screen::Screen() { cells_.fill(Cell{}); }

void Screen::goto_xy(int column, int row) {
    column_ = std::clamp(column, 1, kColumns);
    row_ = std::clamp(row, 1, kRows);
    ++generation_;
}

void Screen::clear() {
    cells_.fill(Cell{' ', attribute_});
    column_ = 1;
    row_ = 1;
    ++generation_;
}

void Screen::write(std::string_view text) {
    for (char ch : text) write(ch);
}

void Screen::write(char ch) {
    ++generation_;
    switch (ch) {
    case '\b':
        if (column_ > 1) --column_;
        return;
    case '\r':
        column_ = 1;
        return;
    case '\n':
        line_feed();
        return;
    default:
        break;
    }
    cells_[index(column_, row_)] = Cell{ch, attribute_};
    if (column_ < kColumns) {
        ++column_;
    } else {
        column_ = 1;
        line_feed();
    }
}

void Screen::line_feed() {
    if (row_ < kRows) {
        ++row_;
    } else {
        scroll_up();
    }
}

void Screen::scroll_up() {
    std::copy(cells_.begin() + kColumns, cells_.end(), cells_.begin());
    std::fill(cells_.end() - kColumns, cells_.end(), Cell{' ', attribute_});
}

std::string Screen::row_text(int row) const {
    std::string text(kColumns, ' ');
    for (int column = 1; column <= kColumns; ++column) text[column - 1] = cell(column, row).ch;
    return text;
}
