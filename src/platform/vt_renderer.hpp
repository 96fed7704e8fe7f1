#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "core/screen.hpp"

// One picture of the screen model: its cells and where its cursor stands.
struct Frame {
    std::array<Screen::Cell, Screen::kColumns * Screen::kRows> cells{};
    int cursor_column = 1;
    int cursor_row = 1;

    static Frame of(const Screen& screen);
    const Screen::Cell& cell(int column, int row) const {
        return cells[(row - 1) * Screen::kColumns + (column - 1)];
    }
};

// The escape sequences that bring a VT-like terminal from the frame it shows to the next one:
// only changed cells, colour changes only where the attribute changes, the 16 PC colours as
// SGR 30-37/90-97 and 40-47 (100-107 for a set blink bit). The frame sits at the top left.
class VtRenderer {
public:
    std::string update(const Frame& wanted);
    // The terminal's content or colour state is no longer known (cleared, resized, written
    // over): the next update draws every cell.
    void invalidate();

private:
    struct Position {
        int column, row;
        bool operator==(const Position&) const = default;
    };

    void draw_cell(std::string& out, int column, int row, Screen::Cell cell);
    void move_to(std::string& out, Position target);

    std::optional<Frame> shown_;
    std::optional<std::uint8_t> attribute_;  // the colours the terminal is set to
    std::optional<Position> position_;       // where the terminal's cursor is
};
