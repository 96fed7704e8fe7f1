#include "platform/vt_renderer.hpp"

namespace {

// PC colour order (blue before red) to the ANSI order of SGR colours.
constexpr int kAnsiColour[8] = {0, 4, 2, 6, 1, 5, 3, 7};

int foreground_sgr(std::uint8_t attr) {
    int colour = attr & 0x0F;
    return (colour < 8 ? 30 : 90) + kAnsiColour[colour & 7];
}

int background_sgr(std::uint8_t attr) {
    int colour = attr >> 4;
    return (colour < 8 ? 40 : 100) + kAnsiColour[colour & 7];
}

void append_sgr(std::string& out, std::optional<std::uint8_t> from, std::uint8_t to) {
    bool foreground = !from || foreground_sgr(*from) != foreground_sgr(to);
    bool background = !from || background_sgr(*from) != background_sgr(to);
    if (!foreground && !background) return;
    out += "\x1b[";
    // From an unknown state a reset clears bold, underline and the like as well.
    if (!from) out += "0;";
    if (foreground) out += std::to_string(foreground_sgr(to));
    if (foreground && background) out += ';';
    if (background) out += std::to_string(background_sgr(to));
    out += 'm';
}

// The model holds plain ASCII; anything else would upset the terminal, so it shows as "?".
char visible(char ch) { return ch >= 0x20 && ch <= 0x7E ? ch : '?'; }

}  // namespace

Frame Frame::of(const Screen& screen) {
    Frame frame;
    for (int row = 1; row <= Screen::kRows; ++row) {
        for (int column = 1; column <= Screen::kColumns; ++column) {
            frame.cells[(row - 1) * Screen::kColumns + (column - 1)] = screen.cell(column, row);
        }
    }
    frame.cursor_column = screen.where_x();
    frame.cursor_row = screen.where_y();
    return frame;
}

std::string VtRenderer::update(const Frame& wanted) {
    std::string cells;
    for (int row = 1; row <= Screen::kRows; ++row) {
        for (int column = 1; column <= Screen::kColumns; ++column) {
            const Screen::Cell& cell = wanted.cell(column, row);
            if (shown_ && shown_->cell(column, row) == cell) continue;
            draw_cell(cells, column, row, cell);
        }
    }
    std::string out;
    // The cursor hides while cells change, so it is not seen jumping across the screen.
    if (!cells.empty()) out = "\x1b[?25l" + cells;
    move_to(out, {wanted.cursor_column, wanted.cursor_row});
    if (!cells.empty()) out += "\x1b[?25h";
    shown_ = wanted;
    return out;
}

void VtRenderer::invalidate() {
    shown_.reset();
    attribute_.reset();
    position_.reset();
}

void VtRenderer::draw_cell(std::string& out, int column, int row, Screen::Cell cell) {
    move_to(out, {column, row});
    append_sgr(out, attribute_, cell.attr);
    attribute_ = cell.attr;
    out += visible(cell.ch);
    // Where the cursor stands after the last column differs between terminals.
    if (column < Screen::kColumns) {
        position_ = Position{column + 1, row};
    } else {
        position_.reset();
    }
}

void VtRenderer::move_to(std::string& out, Position target) {
    if (position_ == target) return;
    out += "\x1b[" + std::to_string(target.row) + ';' + std::to_string(target.column) + 'H';
    position_ = target;
}
