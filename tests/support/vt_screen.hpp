#pragma once

#include <string>
#include <string_view>
#include <vector>

// Just enough of a VT100/xterm screen to read what the game draws on a pseudo-terminal:
// cursor moves, erasing, the alternate screen and the cursor's visibility. Colours are
// parsed and dropped.
class VtScreen {
public:
    VtScreen(int columns, int rows);

    void feed(std::string_view bytes);

    std::string row(int number) const;  // 1-based, padded to the full width
    bool contains(std::string_view text) const;
    bool on_alternate_screen() const { return alternate_; }
    bool cursor_visible() const { return cursor_visible_; }
    int bells() const { return bells_; }
    // 1-based, as the game counts.
    int cursor_column() const { return column_ + 1; }
    int cursor_row() const { return row_ + 1; }

private:
    using Grid = std::vector<std::string>;

    void put(char ch);
    void control_sequence(char final_byte);
    void private_mode(int mode, bool set);
    Grid& grid() { return alternate_ ? alternate_grid_ : main_grid_; }
    const Grid& grid() const { return alternate_ ? alternate_grid_ : main_grid_; }
    int parameter(std::size_t index, int fallback) const;

    int columns_, rows_;
    Grid main_grid_, alternate_grid_;
    int column_ = 0, row_ = 0;
    int saved_column_ = 0, saved_row_ = 0;
    bool alternate_ = false;
    bool cursor_visible_ = true;
    int bells_ = 0;

    enum class State { Text, Escape, Csi, Osc, Skip } state_ = State::Text;
    std::string parameters_;
};
