#include "console/marked_text.hpp"

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

void draw_marked_page(Console& console, std::span<const MarkedRow> rows, Language language,
                      const ColourScheme& colours) {
    console.set_attribute(colours.standard);
    console.clear_screen();
    for (const MarkedRow& line : rows) {
        console.goto_xy(1, line.row);
        write_marked(console, line.text(language), colours.standard, colours.emphasized);
    }
}
