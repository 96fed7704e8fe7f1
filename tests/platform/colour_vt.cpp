#include "platform/colour_vt.hpp"

#include <algorithm>

namespace {

// SGR colour numbers run red before blue; PC attributes run blue before red.
constexpr std::uint8_t kPcColourOfAnsi[8] = {0 /*black*/, 4 /*red*/,     2 /*green*/, 6 /*brown*/,
                                             1 /*blue*/,  5 /*magenta*/, 3 /*cyan*/,  7 /*grey*/};

}  // namespace

ColourVt::ColourVt(int columns, int rows)
    : columns_(columns), rows_(rows), cells_(static_cast<std::size_t>(columns * rows)) {}

void ColourVt::feed(std::string_view bytes) {
    for (char ch : bytes) {
        switch (state_) {
        case State::Text:
            if (ch == '\x1b') {
                state_ = State::Escape;
            } else if (ch == '\a') {
                ++bells_;
            } else if (ch >= 0x20 && ch <= 0x7E) {
                cell(column_, row_) = Cell{ch, attr_};
                ++characters_written_;
                if (column_ < columns_) ++column_;
            } else {
                unexpected_.push_back("control " + std::to_string(static_cast<unsigned char>(ch)));
            }
            break;
        case State::Escape:
            if (ch == '[') {
                state_ = State::Csi;
                parameters_.clear();
            } else {
                unexpected_.push_back(std::string("ESC ") + ch);
                state_ = State::Text;
            }
            break;
        case State::Csi:
            if (ch >= 0x20 && ch <= 0x3F) {
                parameters_ += ch;
            } else {
                control_sequence(ch);
                state_ = State::Text;
            }
            break;
        }
    }
}

std::string ColourVt::row_text(int row) const {
    std::string text;
    for (int column = 1; column <= columns_; ++column) text += ch(column, row);
    return text;
}

std::vector<int> ColourVt::numbers() const {
    std::vector<int> values{0};
    for (char ch : parameters_) {
        if (ch == ';') {
            values.push_back(0);
        } else if (ch >= '0' && ch <= '9') {
            values.back() = values.back() * 10 + (ch - '0');
        }
    }
    return values;
}

void ColourVt::control_sequence(char final_byte) {
    if (!parameters_.empty() && parameters_[0] == '?') {
        bool set = final_byte == 'h';
        if (parameters_ == "?25") {
            cursor_visible_ = set;
        } else if (parameters_ == "?1049") {
            alternate_ = set;
        } else if (parameters_ == "?7") {
            autowrap_ = set;
        } else {
            unexpected_.push_back("mode " + parameters_);
        }
        return;
    }
    std::vector<int> values = numbers();
    switch (final_byte) {
    case 'H':
        row_ = std::clamp(values.size() > 0 && values[0] > 0 ? values[0] : 1, 1, rows_);
        column_ = std::clamp(values.size() > 1 && values[1] > 0 ? values[1] : 1, 1, columns_);
        return;
    case 'J':
        if (values[0] == 2) {
            std::fill(cells_.begin(), cells_.end(), Cell{' ', attr_});
            return;
        }
        break;
    case 'm': select_graphics(); return;
    default: break;
    }
    unexpected_.push_back("CSI " + parameters_ + final_byte);
}

void ColourVt::select_graphics() {
    ++colour_changes_;
    for (int value : numbers()) {
        int foreground = attr_ & 0x0F;
        int background = attr_ >> 4;
        if (value == 0) {
            foreground = 7;
            background = 0;
        } else if (value >= 30 && value <= 37) {
            foreground = kPcColourOfAnsi[value - 30];
        } else if (value >= 90 && value <= 97) {
            foreground = 8 + kPcColourOfAnsi[value - 90];
        } else if (value >= 40 && value <= 47) {
            background = kPcColourOfAnsi[value - 40];
        } else if (value >= 100 && value <= 107) {
            background = 8 + kPcColourOfAnsi[value - 100];
        } else {
            unexpected_.push_back("SGR " + std::to_string(value));
        }
        attr_ = static_cast<std::uint8_t>(background * 16 + foreground);
    }
}
