#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

// The 80 x 25 character screen the whole game draws on. Columns and rows count from 1.
// This is the only place that knows how written characters move the cursor.
class Screen {
public:
    static constexpr int kColumns = 80;
    static constexpr int kRows = 25;

    struct Cell {
        char ch = ' ';
        std::uint8_t attr = 7;
        bool operator==(const Cell&) const = default;
    };

    Screen();

    void goto_xy(int column, int row);
    int where_x() const { return column_; }
    int where_y() const { return row_; }

    std::uint8_t attribute() const { return attribute_; }
    void set_attribute(std::uint8_t attr) { attribute_ = attr; }

    // Blanks in the current attribute, cursor to the top left.
    void clear();
    void write(std::string_view text);
    void write(char ch);

    const Cell& cell(int column, int row) const { return cells_[index(column, row)]; }
    // The characters of one row, all 80 of them.
    std::string row_text(int row) const;

    // Counts every change, so a renderer can skip frames in which nothing happened.
    std::uint64_t generation() const { return generation_; }

private:
    static int index(int column, int row) { return (row - 1) * kColumns + (column - 1); }
    void line_feed();
    void scroll_up();

    std::array<Cell, kColumns * kRows> cells_;
    int column_ = 1;
    int row_ = 1;
    std::uint8_t attribute_ = 7;
    std::uint64_t generation_ = 0;
};
