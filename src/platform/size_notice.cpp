#include "platform/size_notice.hpp"

#include <algorithm>
#include <cstddef>
#include <sstream>

namespace {

// Adds `text` to the lines, starting a new line when it does not fit on the last one.
void place(std::vector<std::string>& lines, const std::string& text, std::size_t width) {
    if (!lines.empty() && lines.back().size() + 1 + text.size() <= width) {
        lines.back() += ' ';
        lines.back() += text;
    } else {
        lines.push_back(text);
    }
}

void place_phrase(std::vector<std::string>& lines, const std::string& phrase, std::size_t width) {
    if (phrase.size() <= width) {
        place(lines, phrase, width);
        return;
    }
    std::istringstream words(phrase);
    for (std::string word; words >> word;) {
        for (std::size_t start = 0; start < word.size(); start += width)
            place(lines, word.substr(start, width), width);
    }
}

}  // namespace

std::vector<std::string> size_notice(int columns, int rows) {
    const std::string size = std::to_string(columns) + " x " + std::to_string(rows);
    const std::string phrases[] = {"Mirelvanthoque", "needs 80 x 25 /", "braucht 80 x 25",
                                   "(now/jetzt " + size + ")"};
    const auto width = static_cast<std::size_t>(std::max(columns, 1));
    std::vector<std::string> lines;
    for (const std::string& phrase : phrases) place_phrase(lines, phrase, width);
    lines.resize(std::min(lines.size(), static_cast<std::size_t>(std::max(rows, 1))));
    return lines;
}
