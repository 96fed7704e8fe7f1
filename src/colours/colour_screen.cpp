#include "colours/colour_screen.hpp"

#include <cstdint>
#include <iterator>
#include <string>
#include <string_view>

#include "core/keys.hpp"
#include "core/text.hpp"

namespace {

// The key table is drawn in this attribute whatever the scheme.
constexpr std::uint8_t kPlainAttribute = 7;
constexpr int kTableColumn = 1;
constexpr int kBoxColumn = 41;
constexpr int kTopRow = 3;
constexpr int kFirstLetterRow = 7;
constexpr int kBottomRow = 23;
constexpr int kBoxWidth = 38;  // between the bars
constexpr int kTableWidth = 40;
constexpr int kRestColumn = 79;
constexpr int kRestRow = 22;
constexpr int kLetterCount = 16;

std::uint8_t background_of(std::uint8_t attr) { return (attr >> 4) & 0x07; }
std::uint8_t text_colour_of(std::uint8_t attr) { return attr & 0x0F; }
std::uint8_t attribute_of(int background, int text_colour) {
    return static_cast<std::uint8_t>(background * 16 + text_colour);
}

// The letters run through the palette as pairs: each dark colour, then its light partner.
std::uint8_t colour_of_letter(int index) {
    return static_cast<std::uint8_t>(index % 2 == 0 ? index / 2 : 8 + (index - 1) / 2);
}

// clang-format off
constexpr Bilingual kTableHeader[] = {
    {"|Ziffer fuer| gewuenschte  | Buchstabe |", "|numeral for|    choosen   |  letter   |"},
    {"|Hintergrund|    Farbe     | fuer Text |", "|background |    colour    | for text  |"},
};
constexpr std::string_view kTableRule = "|___________|______________|___________|";

// Rows 4..22 of the sample box between its bars; '^' switches to the emphasized attribute.
constexpr Bilingual kBoxLines[] = {
    {"Bitte stellen Sie eine Farbkombination",     "Please set the combination of colours "},
    {"aus Hintergrundfarbe,Standardtextfarbe",     "for the background, for standardtext  "},
    {"und ^hervorgehobener Textfarbe^ ein, die",   "and for ^emphasized text^, so that you  "},
    {"Sie gut lesen koennen.                ",     "can easily read.                      "},
    {"                                      ",     "                                      "},
    {"Zur Auswahl eines anderen Hintergrunds",     "To choose another background, please  "},
    {"geben Sie bitte die entsprechende Zif-",     "press the corresponding number.       "},
    {"fer ein,fuer eine neue Textfarbe bitte",     "To choose another colour for the text,"},
    {"den entsprechenden Buchstaben: Klein- ",     "please press the corresponding letter:"},
    {"buchstaben fuer Standardtext, ^Gross-  ^",   "small letters for standardtext and    "},
    {"^buchstaben fuer hervorgehobenen Text^. ",   "^capital letters for emphasized text^.  "},
    {"Die Aenderungen sind sofort gueltig.  ",     "The screen will immediately change.   "},
    {"                                      ",     "                                      "},
    {"Dieser Text ist in Standardtextfarbe, ",     "The text is written on the valid back-"},
    {"^dieser in hervorgehobener Textfarbe^,  ",   "ground with standardtextcolour and    "},
    {"auf gueltigem Hintergrund geschrieben.",     "^this text with emphasized textcolour^. "},
    {"                                      ",     "                                      "},
    {"Sind Sie fertig, so druecken Sie bitte",     "When you are ready, please press the  "},
    {"\"CR\"/\"ENTER\".                         ", "'CR'/'ENTER' - key.                   "},
};
// clang-format on

constexpr bool has_box_width(std::string_view line) {
    int width = 0;
    for (char ch : line) width += ch == '^' ? 0 : 1;
    return width == kBoxWidth;
}
constexpr bool all_lines_fit() {
    for (const Bilingual& line : kBoxLines)
        if (!has_box_width(line.german) || !has_box_width(line.english)) return false;
    return true;
}
static_assert(all_lines_fit());
static_assert(std::size(kBoxLines) == kBottomRow - kTopRow - 1);

std::string between_bars(std::string_view inside) {
    std::string line(1, '|');
    line.append(inside);
    line.push_back('|');
    return line;
}

std::string box_row(int row, Language language) {
    if (row == kTopRow) return std::string(kBoxWidth + 2, '_');
    if (row == kBottomRow) return between_bars(std::string(kBoxWidth, '_'));
    return between_bars(kBoxLines[row - kTopRow - 1](language));
}

// Every other letter line, from the first, names the next background digit.
std::string digit_field(int line) {
    std::string field(11, ' ');
    if (line % 2 == 1) field[8] = static_cast<char>('0' + (line + 1) / 2);
    return field;
}

std::string letter_field(int index) {
    std::string field = "  a/A      ";
    field[2] = static_cast<char>('a' + index);
    field[4] = static_cast<char>('A' + index);
    return field;
}

void draw_key_table(Console& console, Language language) {
    console.set_attribute(kPlainAttribute);
    console.goto_xy(kTableColumn, kTopRow);
    console.write_text(std::string(kTableWidth, '_'));
    for (int i = 0; i < 2; ++i) {
        console.goto_xy(kTableColumn, kTopRow + 1 + i);
        console.write_text(kTableHeader[i](language));
    }
    console.goto_xy(kTableColumn, kFirstLetterRow - 1);
    console.write_text(kTableRule);
    for (int index = 0; index < kLetterCount; ++index) {
        const std::uint8_t colour = colour_of_letter(index);
        console.goto_xy(kTableColumn, kFirstLetterRow + index);
        console.set_attribute(kPlainAttribute);
        console.write_text(between_bars(digit_field(index + 1)));
        // Stars in black on black could not be seen; that field stays empty.
        console.set_attribute(attribute_of(0, colour));
        console.write_text(std::string(14, colour == 0 ? ' ' : '*'));
        console.set_attribute(kPlainAttribute);
        console.write_text(between_bars(letter_field(index)));
    }
    console.goto_xy(kTableColumn, kBottomRow);
    console.write_text(kTableRule);
}

enum class BoxParts { All, Standard, Emphasized };

// Writes the chosen parts of the box; the others are stepped over so they keep their colour.
void draw_box(Console& console, Language language, const ColourScheme& colours, BoxParts parts) {
    for (int row = kTopRow; row <= kBottomRow; ++row) {
        const std::string line = box_row(row, language);
        int column = kBoxColumn;
        bool emphasized = false;
        std::string_view rest = line;
        while (true) {
            const auto mark = rest.find('^');
            const std::string_view part = rest.substr(0, mark);
            const bool wanted = parts == BoxParts::All ||
                                (parts == BoxParts::Emphasized) == emphasized;
            if (wanted && !part.empty()) {
                console.goto_xy(column, row);
                console.set_attribute(emphasized ? colours.emphasized : colours.standard);
                // Blanks show no text colour, so a change of emphasis leaves the padding alone.
                console.write_text(parts == BoxParts::Emphasized ? without_trailing_blanks(part)
                                                                 : part);
            }
            column += static_cast<int>(part.size());
            if (mark == std::string_view::npos) break;
            rest = rest.substr(mark + 1);
            emphasized = !emphasized;
        }
    }
    console.set_attribute(colours.standard);
    console.goto_xy(kRestColumn, kRestRow);
}

enum class Change { None, Background, Standard, Emphasized, Leave };

// Applies one key to the scheme; keys that would hide text or change nothing are refused.
Change apply_key(ColourScheme& colours, Key key) {
    if (key.extended) return Change::None;
    const int background = background_of(colours.standard);
    const int standard = text_colour_of(colours.standard);
    const int emphasized = text_colour_of(colours.emphasized);
    const char ch = static_cast<char>(key.code);
    if (key.code == keys::kEnter || key.code == keys::kEsc || key.code == keys::kCtrlC)
        return Change::Leave;
    if (ch >= '1' && ch <= '8') {
        const int chosen = ch - '1';
        if (chosen == background || chosen == standard || chosen == emphasized)
            return Change::None;
        colours.standard = attribute_of(chosen, standard);
        colours.emphasized = attribute_of(chosen, emphasized);
        return Change::Background;
    }
    if (ch >= 'a' && ch <= 'p') {
        const int chosen = colour_of_letter(ch - 'a');
        if (chosen == background || chosen == standard) return Change::None;
        colours.standard = attribute_of(background, chosen);
        return Change::Standard;
    }
    if (ch >= 'A' && ch <= 'P') {
        const int chosen = colour_of_letter(ch - 'A');
        if (chosen == background || chosen == emphasized) return Change::None;
        colours.emphasized = attribute_of(background, chosen);
        return Change::Emphasized;
    }
    return Change::None;
}

BoxParts parts_changed_by(Change change) {
    switch (change) {
    case Change::Standard:
        return BoxParts::Standard;
    case Change::Emphasized:
        return BoxParts::Emphasized;
    default:
        return BoxParts::All;
    }
}

}  // namespace

void run_colour_screen(Session& session) {
    Console& console = session.console;
    console.set_attribute(kPlainAttribute);
    console.clear_screen();
    draw_key_table(console, session.language);
    draw_box(console, session.language, session.colours, BoxParts::All);
    for (;;) {
        const Change change = apply_key(session.colours, console.next_key());
        if (change == Change::None) continue;
        console.set_attribute(session.colours.standard);
        if (change == Change::Leave) return;
        draw_box(console, session.language, session.colours, parts_changed_by(change));
    }
}
