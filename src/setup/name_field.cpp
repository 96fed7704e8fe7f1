#include "setup/name_field.hpp"

#include <string_view>

#include "console/yes_no.hpp"
#include "core/keys.hpp"
#include "setup/player_names.hpp"

namespace {

constexpr int kNameColumn = 38;
// The "J" of " O.K.? Ja." and the "Y" of " O.K.? Yes".
constexpr int kQuestionColumn = 76;
constexpr int kLastPosition = PlayerName::kPositions;
// A word after a separator needs two positions ("Xy" or "X."), so no separator goes later.
constexpr int kLastSeparator = kLastPosition - 2;

// Ctrl-C while typing: the form starts again from its first field.
constexpr std::uint8_t kAbandonedWhileTyping = 2;

int name_row(int player) { return 22 + player; }

bool is_upper(char ch) { return ch >= 'A' && ch <= 'Z'; }
bool is_lower(char ch) { return ch >= 'a' && ch <= 'z'; }
bool is_separator(char ch) { return ch == ' ' || ch == '-'; }
char to_upper(char ch) { return is_lower(ch) ? static_cast<char>(ch - 'a' + 'A') : ch; }
char to_lower(char ch) { return is_upper(ch) ? static_cast<char>(ch - 'A' + 'a') : ch; }

// Keyboards without a handy hyphen or dot may use "_" and ":".
char fold_name_key(std::uint8_t code) {
    if (code == '_') return '-';
    if (code == ':') return '.';
    return static_cast<char>(code);
}

void write_name(Console& console, int row, const PlayerName& name) {
    console.goto_xy(kNameColumn, row);
    console.write_text(std::string_view(name.text.data(), PlayerName::kPositions));
}

enum class TypingEnd { Done, Back, Abandoned };

// Typing a name position by position; position k stands at column 37 + k, and every position
// from k on is blank, on screen as in the name.
class NameTyping {
public:
    NameTyping(Console& console, int row, PlayerName& name)
        : console_(console), row_(row), name_(name) {}

    void start_empty() {
        name_ = PlayerName{};
        write_name(console_, row_, name_);
        k_ = 1;
    }

    void start_at_end();
    TypingEnd run();

private:
    char previous() const { return k_ == 1 ? ' ' : name_.at(k_ - 1); }
    void put(int position, char ch);
    void type_letter(char letter);
    bool type_separator(char separator);
    void type_dot();
    void step_back();
    void finish_word();

    Console& console_;
    int row_;
    PlayerName& name_;
    int k_ = 1;
};

void NameTyping::put(int position, char ch) {
    name_.at(position) = ch;
    console_.goto_xy(kNameColumn - 1 + position, row_);
    console_.write_char(ch);
}

void NameTyping::start_at_end() {
    normalise_name(name_);
    write_name(console_, row_, name_);
    int last = kLastPosition;
    while (last > 0 && name_.at(last) == ' ') --last;
    k_ = last + 1;
    // No word can follow a dot this late, so it goes to let the initial grow into a word. A
    // full name leaves no place after it: its last character goes instead.
    const bool late_dot = (last == kLastSeparator || last == kLastSeparator + 1) &&
                          name_.at(last) == '.';
    if (late_dot || last == kLastPosition) {
        put(last, ' ');
        k_ = last;
    }
}

void NameTyping::type_letter(char letter) {
    put(k_, is_separator(previous()) ? to_upper(letter) : to_lower(letter));
    ++k_;
}

// False when the name has no room for another word and typing ends.
bool NameTyping::type_separator(char separator) {
    const char before = previous();
    if (is_separator(before)) {
        if (k_ > 1) put(k_ - 1, separator);
        return true;
    }
    const bool initial = is_upper(before);
    const int separator_position = initial ? k_ + 1 : k_;
    if (separator_position > kLastSeparator) {
        if (initial) put(k_, '.');
        return false;
    }
    if (initial) put(k_++, '.');
    put(k_++, separator);
    return true;
}

void NameTyping::type_dot() {
    if (is_separator(previous())) return;
    put(k_++, '.');
    if (k_ <= kLastPosition) put(k_++, ' ');
}

void NameTyping::step_back() {
    // An initial's dot and the blank after it go with one key, back to the letter.
    const int places = k_ >= 3 && name_.at(k_ - 2) == '.' ? 2 : 1;
    for (int i = 0; i < places; ++i) put(--k_, ' ');
}

void NameTyping::finish_word() {
    if (previous() == '-') put(--k_, ' ');
    if (is_upper(previous())) put(k_, '.');
}

TypingEnd NameTyping::run() {
    while (k_ <= kLastPosition) {
        console_.goto_xy(kNameColumn - 1 + k_, row_);
        const Key key = console_.next_key();
        if (key.extended) continue;
        const char ch = fold_name_key(key.code);
        switch (ch) {
        case keys::kEnter:
        case keys::kEsc:
            finish_word();
            return TypingEnd::Done;
        case keys::kCtrlC:
            finish_word();
            return TypingEnd::Abandoned;
        case keys::kBackspace:
            if (k_ == 1) {
                name_ = PlayerName{};
                return TypingEnd::Back;
            }
            step_back();
            break;
        case ' ':
        case '-':
            if (!type_separator(ch)) return TypingEnd::Done;
            break;
        case '.':
            type_dot();
            break;
        default:
            if (is_lower(ch) || is_upper(ch)) type_letter(ch);
            break;
        }
    }
    return TypingEnd::Done;
}

// 'j' (yes or Enter), 'n', Backspace, Esc or Ctrl-C.
std::uint8_t ask_name_ok(Console& console, int row) {
    console.goto_xy(kQuestionColumn, row);
    for (;;) {
        const Key key = console.next_key();
        if (key.extended) continue;
        if (key.code == keys::kEnter || is_yes_key(key.code)) return 'j';
        switch (key.code) {
        case 'n': case 'N':
            return 'n';
        case keys::kBackspace: case keys::kEsc: case keys::kCtrlC:
            return key.code;
        default:
            break;
        }
    }
}

}  // namespace

std::uint8_t edit_name(Console& console, int player, PlayerName& name) {
    const int row = name_row(player);
    normalise_name(name);
    write_name(console, row, name);
    NameTyping typing(console, row, name);
    bool typing_due = name.empty();
    for (;;) {
        if (typing_due) {
            const TypingEnd end = typing.run();
            normalise_name(name);
            if (end == TypingEnd::Back) return keys::kBackspace;
            if (end == TypingEnd::Abandoned) return kAbandonedWhileTyping;
        }
        switch (ask_name_ok(console, row)) {
        case 'j':
            return 'j';
        case 'n':
            typing.start_empty();
            break;
        case keys::kBackspace:
            typing.start_at_end();
            break;
        case keys::kEsc:
            return keys::kBackspace;
        default:  // Ctrl-C
            return keys::kEsc;
        }
        typing_due = true;
    }
}

void show_names(Console& console, PlayerName& first, PlayerName& second, bool show_first,
                bool show_second, bool swap) {
    normalise_names(first, second, swap);
    if (show_first) write_name(console, name_row(1), first);
    if (show_second) write_name(console, name_row(2), second);
}

void show_computer_name(Console& console, Language language, bool first, bool second) {
    for (int player = 1; player <= 2; ++player) {
        if (player == 1 ? !first : !second) continue;
        console.goto_xy(kNameColumn, name_row(player));
        console.write_text(kComputerName(language));
    }
}
