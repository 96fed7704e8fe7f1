#include "shell/marked_text.hpp"

void write_marked(Console& console, std::string_view text, std::uint8_t standard,
                  std::uint8_t emphasized) {
    bool emphasis = false;
    console.set_attribute(standard);
    for (char ch : text) {
        if (ch == '^') {
            emphasis = !emphasis;
            console.set_attribute(emphasis ? emphasized : standard);
        } else {
            console.write_char(ch);
        }
    }
    console.set_attribute(standard);
}
