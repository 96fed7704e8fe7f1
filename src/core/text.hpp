#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

// Screen rows are put together from fixed texts and fields of fixed width.
inline std::string join(std::initializer_list<std::string_view> parts) {
    std::string text;
    for (std::string_view part : parts) text.append(part);
    return text;
}

inline std::string padded(std::string_view text, std::size_t width) {
    std::string line(text);
    line.resize(width, ' ');
    return line;
}

// Fields are stored padded with blanks; some places show only what was typed.
inline std::string_view without_trailing_blanks(std::string_view text) {
    const auto last = text.find_last_not_of(' ');
    return last == std::string_view::npos ? std::string_view{} : text.substr(0, last + 1);
}
