#include "platform/key_decoder.hpp"

#include <algorithm>
#include <array>
#include <string_view>
#include <vector>

#include "core/keys.hpp"
#include "platform/named_keys.hpp"

namespace {

// xterm's modifier parameter: 1 + a bit set of Shift 1, Alt 2, Ctrl 4, Meta 8.
Modifiers xterm_modifiers(int parameter) {
    int bits = parameter > 1 ? parameter - 1 : 0;
    return {(bits & 1) != 0, (bits & (2 | 8)) != 0, (bits & 4) != 0};
}


// "CSI n ~" key numbers of xterm, the Linux console, rxvt and tmux/screen.
struct TildeKey {
    int number;
    NamedKey name;
    bool shifted;  // F13..F20 are how rxvt and the Linux console send Shift-F3..Shift-F10
};

constexpr std::array<TildeKey, 28> kTildeKeys{{
    {1, NamedKey::Home, false},   {2, NamedKey::Insert, false},  {3, NamedKey::Delete, false},
    {4, NamedKey::End, false},    {5, NamedKey::PageUp, false},  {6, NamedKey::PageDown, false},
    {7, NamedKey::Home, false},   {8, NamedKey::End, false},     {11, NamedKey::F1, false},
    {12, NamedKey::F2, false},    {13, NamedKey::F3, false},     {14, NamedKey::F4, false},
    {15, NamedKey::F5, false},    {17, NamedKey::F6, false},     {18, NamedKey::F7, false},
    {19, NamedKey::F8, false},    {20, NamedKey::F9, false},     {21, NamedKey::F10, false},
    {23, NamedKey::F11, false},   {24, NamedKey::F12, false},    {25, NamedKey::F3, true},
    {26, NamedKey::F4, true},     {28, NamedKey::F5, true},      {29, NamedKey::F6, true},
    {31, NamedKey::F7, true},     {32, NamedKey::F8, true},      {33, NamedKey::F9, true},
    {34, NamedKey::F10, true},
}};

// Final letters that name a key by themselves, after CSI or SS3.
struct LetterKey {
    char final_byte;
    NamedKey name;
};

constexpr std::array<LetterKey, 11> kLetterKeys{{
    {'A', NamedKey::Up},  {'B', NamedKey::Down}, {'C', NamedKey::Right}, {'D', NamedKey::Left},
    {'H', NamedKey::Home}, {'F', NamedKey::End}, {'P', NamedKey::F1},    {'Q', NamedKey::F2},
    {'R', NamedKey::F3},  {'S', NamedKey::F4},   {'Z', NamedKey::BackTab},
}};

// rxvt's arrows: lower-case finals, Shift after CSI and Ctrl after SS3.
std::optional<NamedKey> rxvt_arrow(std::uint8_t final_byte) {
    switch (final_byte) {
    case 'a': return NamedKey::Up;
    case 'b': return NamedKey::Down;
    case 'c': return NamedKey::Right;
    case 'd': return NamedKey::Left;
    default: return std::nullopt;
    }
}

std::optional<NamedKey> letter_key(std::uint8_t final_byte) {
    for (const LetterKey& entry : kLetterKeys) {
        if (static_cast<std::uint8_t>(entry.final_byte) == final_byte) return entry.name;
    }
    return std::nullopt;
}

const TildeKey* tilde_key(int number) {
    for (const TildeKey& entry : kTildeKeys) {
        if (entry.number == number) return &entry;
    }
    return nullptr;
}

// Numeric parameters of a sequence; 0 stands for an empty one, sub-parameters after ":" are
// ignored. Nothing for private (<=>?) or intermediate bytes, which no key of ours uses.
std::optional<std::vector<int>> parameters(std::string_view text) {
    std::vector<int> values;
    if (text.empty()) return values;
    if (text.front() >= '<' && text.front() <= '?') return std::nullopt;
    int value = 0;
    bool in_sub_parameter = false;
    for (char ch : text) {
        if (ch >= '0' && ch <= '9') {
            if (!in_sub_parameter && value < 100000) value = value * 10 + (ch - '0');
        } else if (ch == ';') {
            values.push_back(value);
            value = 0;
            in_sub_parameter = false;
        } else if (ch == ':') {
            in_sub_parameter = true;
        } else {
            return std::nullopt;
        }
    }
    values.push_back(value);
    return values;
}

int parameter(const std::vector<int>& values, std::size_t index) {
    return index < values.size() ? values[index] : 0;
}

// A key named by its final letter takes its modifier from the second parameter ("CSI 1;5A");
// older terminals put it first ("SS3 5A", "SS3 2P").
Modifiers letter_modifiers(const std::vector<int>& values) {
    if (values.size() >= 2) return xterm_modifiers(values[1]);
    return xterm_modifiers(parameter(values, 0));
}

// A character key with modifiers, as modifyOtherKeys ("CSI 27;m;c~") and the CSI-u form
// ("CSI c;m u") send it.
std::optional<Key> modified_character(int code, Modifiers mods) {
    if (mods.alt) return std::nullopt;
    switch (code) {
    case 8:
    case 127: return Key{static_cast<std::uint8_t>(mods.ctrl ? 127 : 8), false};
    case 9: return mods.shift ? scan_key(NamedKey::BackTab, mods) : Key{9, false};
    case 10:
    case 13: return Key{13, false};
    case 27: return Key{27, false};
    default: break;
    }
    bool letter = (code >= 'a' && code <= 'z') || (code >= 'A' && code <= 'Z');
    if (mods.ctrl && (letter || (code >= '[' && code <= '_'))) {
        return Key{static_cast<std::uint8_t>(code & 0x1F), false};
    }
    if (mods.shift && code >= 'a' && code <= 'z') code -= 'a' - 'A';
    if (code >= 1 && code <= 0x7E) return Key{static_cast<std::uint8_t>(code), false};
    return std::nullopt;
}

std::optional<Key> tilde_sequence(const std::vector<int>& values, Modifiers mods) {
    const TildeKey* entry = tilde_key(parameter(values, 0));
    if (entry == nullptr) return std::nullopt;
    mods.shift = mods.shift || entry->shifted;
    return scan_key(entry->name, mods);
}

Modifiers with_alt(Modifiers mods, bool alt) {
    mods.alt = mods.alt || alt;
    return mods;
}

std::optional<Key> decode_csi(std::string_view text, std::uint8_t final_byte, bool alt) {
    std::optional<std::vector<int>> values = parameters(text);
    if (!values) return std::nullopt;
    Modifiers mods = with_alt(xterm_modifiers(parameter(*values, 1)), alt);
    switch (final_byte) {
    case '~':
        if (parameter(*values, 0) == 27 && values->size() >= 3) {
            return modified_character((*values)[2], mods);
        }
        return tilde_sequence(*values, mods);
    case 'u': return modified_character(parameter(*values, 0), mods);
    case '$': return tilde_sequence(*values, with_alt({true, false, false}, alt));
    case '^': return tilde_sequence(*values, with_alt({false, false, true}, alt));
    case '@': return tilde_sequence(*values, with_alt({true, false, true}, alt));
    default: break;
    }
    if (std::optional<NamedKey> name = letter_key(final_byte)) {
        return scan_key(*name, with_alt(letter_modifiers(*values), alt));
    }
    if (std::optional<NamedKey> arrow = rxvt_arrow(final_byte)) {
        return scan_key(*arrow, with_alt({true, false, false}, alt));
    }
    return std::nullopt;
}

// The numeric keypad in application mode (SS3 j..y, M, X, I) sends its characters.
std::optional<Key> keypad_key(std::uint8_t final_byte) {
    constexpr std::string_view kKeypad = "*+,-./0123456789";
    if (final_byte >= 'j' && final_byte <= 'y') {
        return Key{static_cast<std::uint8_t>(kKeypad[final_byte - 'j']), false};
    }
    switch (final_byte) {
    case 'M': return Key{13, false};
    case 'X': return Key{'=', false};
    case 'I': return Key{9, false};
    default: return std::nullopt;
    }
}

std::optional<Key> decode_ss3(std::string_view text, std::uint8_t final_byte, bool alt) {
    std::optional<std::vector<int>> values = parameters(text);
    if (!values) return std::nullopt;
    if (std::optional<NamedKey> name = letter_key(final_byte)) {
        return scan_key(*name, with_alt(letter_modifiers(*values), alt));
    }
    if (std::optional<NamedKey> arrow = rxvt_arrow(final_byte)) {
        return scan_key(*arrow, with_alt({false, false, true}, alt));
    }
    if (alt) return std::nullopt;
    return keypad_key(final_byte);
}

bool is_control(std::uint8_t byte) { return byte < 0x20 || byte == 0x7F; }

}  // namespace

void KeyDecoder::feed(std::uint8_t byte) {
    switch (state_) {
    case State::Ground: ground(byte); break;
    case State::Escape: escape(byte); break;
    case State::EscapeEscape: escape_escape(byte); break;
    case State::Csi:
    case State::Ss3: sequence_byte(byte); break;
    case State::LinuxFunction: linux_function(byte); break;
    }
}

std::optional<Key> KeyDecoder::next() {
    if (keys_.empty()) return std::nullopt;
    Key key = keys_.front();
    keys_.pop_front();
    return key;
}

void KeyDecoder::timeout() {
    if (state_ == State::Escape || state_ == State::EscapeEscape) emit({keys::kEsc, false});
    if (state_ == State::EscapeEscape) emit({keys::kEsc, false});
    state_ = State::Ground;
}

void KeyDecoder::ground(std::uint8_t byte) {
    switch (byte) {
    case keys::kEsc: state_ = State::Escape; return;
    case 0: return;
    case 10:
    case 13: emit({13, false}); return;
    case 8:
    case 127: emit({8, false}); return;
    default:
        if (byte < 0x80) emit({byte, false});
        return;
    }
}

void KeyDecoder::escape(std::uint8_t byte) {
    switch (byte) {
    case '[': start_sequence(State::Csi, false); return;
    case 'O': start_sequence(State::Ss3, false); return;
    case keys::kEsc: state_ = State::EscapeEscape; return;
    case 8:
    case 127: state_ = State::Ground; return;  // Alt-Backspace
    default: break;
    }
    state_ = State::Ground;
    if (is_control(byte)) {
        emit({keys::kEsc, false});
        ground(byte);
    }
}

void KeyDecoder::escape_escape(std::uint8_t byte) {
    switch (byte) {
    case '[': start_sequence(State::Csi, true); return;
    case 'O': start_sequence(State::Ss3, true); return;
    default:
        emit({keys::kEsc, false});
        state_ = State::Escape;
        escape(byte);
        return;
    }
}

void KeyDecoder::start_sequence(State state, bool alt) {
    state_ = state;
    alt_prefix_ = alt;
    sequence_.clear();
}

void KeyDecoder::sequence_byte(std::uint8_t byte) {
    if (byte == keys::kEsc) {
        state_ = State::Escape;
        return;
    }
    if (state_ == State::Csi && sequence_.empty() && byte == '[') {
        state_ = State::LinuxFunction;
        return;
    }
    bool rxvt_final = state_ == State::Csi && byte == '$';
    if (byte >= 0x20 && byte <= 0x3F && !rxvt_final) {
        // Introducer bytes, the bytes so far, this one and a final byte still to come.
        std::size_t length = (alt_prefix_ ? 3 : 2) + sequence_.size() + 2;
        if (length > kMaxSequence) {
            abandon_sequence();
            return;
        }
        sequence_.push_back(static_cast<char>(byte));
        return;
    }
    if (rxvt_final || (byte >= 0x40 && byte <= 0x7E)) {
        finish_sequence(byte);
        return;
    }
    abandon_sequence();
    ground(byte);
}

void KeyDecoder::linux_function(std::uint8_t byte) {
    state_ = State::Ground;
    if (byte >= 'A' && byte <= 'E') {
        auto name = static_cast<NamedKey>(static_cast<int>(NamedKey::F1) + (byte - 'A'));
        emit(scan_key(name, Modifiers{false, alt_prefix_, false}));
    } else if (byte == keys::kEsc) {
        state_ = State::Escape;
    } else if (is_control(byte) || byte >= 0x80) {
        ground(byte);
    }
}

void KeyDecoder::finish_sequence(std::uint8_t final_byte) {
    std::optional<Key> key = state_ == State::Csi ? decode_csi(sequence_, final_byte, alt_prefix_)
                                                  : decode_ss3(sequence_, final_byte, alt_prefix_);
    state_ = State::Ground;
    if (key) emit(*key);
}
