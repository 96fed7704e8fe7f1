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
