#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// A colour terminal as far as the game's renderer drives it: cursor positioning, SGR colours
// (reset, 30-37, 90-97, 40-47, 100-107), erasing the display, cursor visibility and the modes
// the terminal sets. Colours are kept as PC attributes so tests compare them with the model.
// Anything else is collected in unexpected(), so a test sees stray output.
class ColourVt {
public:
    ColourVt(int columns, int rows);

    void feed(std::string_view bytes);

    char ch(int column, int row) const { return cell(column, row).ch; }
    std::uint8_t attr(int column, int row) const { return cell(column, row).attr; }
    std::string row_text(int row) const;
    int cursor_column() const { return column_; }
    int cursor_row() const { return row_; }
    bool cursor_visible() const { return cursor_visible_; }
    bool alternate_screen() const { return alternate_; }
    bool autowrap() const { return autowrap_; }
    int colour_changes() const { return colour_changes_; }
    int characters_written() const { return characters_written_; }
    int bells() const { return bells_; }
    const std::vector<std::string>& unexpected() const { return unexpected_; }

private:
    struct Cell {
        char ch = ' ';
        std::uint8_t attr = 7;
    };

    Cell& cell(int column, int row) { return cells_[(row - 1) * columns_ + (column - 1)]; }
    const Cell& cell(int column, int row) const {
        return cells_[(row - 1) * columns_ + (column - 1)];
    }
    void control_sequence(char final_byte);
    void select_graphics();
    std::vector<int> numbers() const;

    int columns_, rows_;
    std::vector<Cell> cells_;
    int column_ = 1, row_ = 1;
    std::uint8_t attr_ = 7;
    bool cursor_visible_ = true;
    bool alternate_ = false;
    bool autowrap_ = true;
    int colour_changes_ = 0;
    int characters_written_ = 0;
    int bells_ = 0;
    std::vector<std::string> unexpected_;

    enum class State { Text, Escape, Csi } state_ = State::Text;
    std::string parameters_;
};
