#include "support/vt_screen.hpp"

#include <algorithm>
#include <cstdlib>

VtScreen::VtScreen(int columns, int rows)
    : columns_(columns), rows_(rows),
      main_grid_(rows, std::string(columns, ' ')),
      alternate_grid_(rows, std::string(columns, ' ')) {}

std::string VtScreen::row(int number) const { return grid().at(number - 1); }

bool VtScreen::contains(std::string_view text) const {
    return std::any_of(grid().begin(), grid().end(),
                       [&](const std::string& line) { return line.find(text) != std::string::npos; });
}

void VtScreen::feed(std::string_view bytes) {
    for (char ch : bytes) {
        switch (state_) {
        case State::Text:
            if (ch == '\x1b') {
                state_ = State::Escape;
            } else {
                put(ch);
            }
            break;
        case State::Escape:
            if (ch == '[') {
                state_ = State::Csi;
                parameters_.clear();
            } else if (ch == ']') {
                state_ = State::Osc;
            } else if (ch == '(' || ch == ')') {
                state_ = State::Skip;  // character set designation: one more byte
            } else {
                if (ch == '7') { saved_column_ = column_; saved_row_ = row_; }
                if (ch == '8') { column_ = saved_column_; row_ = saved_row_; }
                state_ = State::Text;
            }
            break;
        case State::Skip:
            state_ = State::Text;
            break;
        case State::Osc:
            if (ch == '\a' || ch == '\x1b') state_ = State::Text;
            break;
        case State::Csi:
            if (ch >= 0x40 && ch <= 0x7e) {
                control_sequence(ch);
                state_ = State::Text;
            } else {
                parameters_ += ch;
            }
            break;
        }
    }
}

void VtScreen::put(char ch) {
    switch (ch) {
    case '\r': column_ = 0; return;
    case '\n':
        if (row_ < rows_ - 1) {
            ++row_;
        } else {
            grid().erase(grid().begin());
            grid().push_back(std::string(columns_, ' '));
        }
        return;
    case '\b': if (column_ > 0) --column_; return;
    case '\a': ++bells_; return;
    default: break;
    }
    if (static_cast<unsigned char>(ch) < 0x20) return;
    if (column_ >= columns_) {
        column_ = 0;
        put('\n');
    }
    grid()[row_][column_++] = ch;
}

int VtScreen::parameter(std::size_t index, int fallback) const {
    std::size_t start = 0;
    for (std::size_t i = 0; i < index; ++i) {
        start = parameters_.find(';', start);
        if (start == std::string::npos) return fallback;
        ++start;
    }
    const int value = std::atoi(parameters_.c_str() + start);
    return value == 0 ? fallback : value;
}

void VtScreen::private_mode(int mode, bool set) {
    if (mode == 25) cursor_visible_ = set;
    if (mode == 1049 || mode == 47 || mode == 1047) {
        if (set && !alternate_) {
            alternate_grid_.assign(rows_, std::string(columns_, ' '));
            saved_column_ = column_;
            saved_row_ = row_;
        }
        if (!set && alternate_) {
            column_ = saved_column_;
            row_ = saved_row_;
        }
        alternate_ = set;
    }
}

void VtScreen::control_sequence(char final_byte) {
    if (!parameters_.empty() && parameters_[0] == '?') {
        if (final_byte == 'h' || final_byte == 'l') {
            const std::string modes = parameters_.substr(1);
            std::size_t start = 0;
            while (start <= modes.size()) {
                private_mode(std::atoi(modes.c_str() + start), final_byte == 'h');
                start = modes.find(';', start);
                if (start == std::string::npos) break;
                ++start;
            }
        }
        return;
    }
    Grid& lines = grid();
    switch (final_byte) {
    case 'H': case 'f':
        row_ = std::clamp(parameter(0, 1) - 1, 0, rows_ - 1);
        column_ = std::clamp(parameter(1, 1) - 1, 0, columns_ - 1);
        break;
    case 'A': row_ = std::max(0, row_ - parameter(0, 1)); break;
    case 'B': row_ = std::min(rows_ - 1, row_ + parameter(0, 1)); break;
    case 'C': column_ = std::min(columns_ - 1, column_ + parameter(0, 1)); break;
    case 'D': column_ = std::max(0, column_ - parameter(0, 1)); break;
    case 'G': column_ = std::clamp(parameter(0, 1) - 1, 0, columns_ - 1); break;
    case 'J': {
        const int mode = std::atoi(parameters_.c_str());
        if (mode == 2 || mode == 3) {
            lines.assign(rows_, std::string(columns_, ' '));
        } else if (mode == 0) {
            lines[row_].replace(column_, columns_ - column_, columns_ - column_, ' ');
            for (int r = row_ + 1; r < rows_; ++r) lines[r].assign(columns_, ' ');
        }
        break;
    }
    case 'K': {
        const int mode = std::atoi(parameters_.c_str());
        if (mode == 0) lines[row_].replace(column_, columns_ - column_, columns_ - column_, ' ');
        if (mode == 2) lines[row_].assign(columns_, ' ');
        break;
    }
    default:
        break;  // colours and anything else leave the characters alone
    }
}
