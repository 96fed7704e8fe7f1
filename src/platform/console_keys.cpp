#include "platform/console_keys.hpp"

#include "platform/named_keys.hpp"

namespace {

std::optional<NamedKey> named_by_virtual_key(std::uint16_t key) {
    using namespace console_key;
    switch (key) {
    case kUp: return NamedKey::Up;
    case kDown: return NamedKey::Down;
    case kLeft: return NamedKey::Left;
    case kRight: return NamedKey::Right;
    case kHome: return NamedKey::Home;
    case kEnd: return NamedKey::End;
    case kInsert: return NamedKey::Insert;
    case kDelete: return NamedKey::Delete;
    case kPrior: return NamedKey::PageUp;
    case kNext: return NamedKey::PageDown;
    default: break;
    }
    if (key >= kF1 && key <= kF12) return static_cast<NamedKey>(static_cast<int>(NamedKey::F1) + (key - kF1));
    return std::nullopt;
}

// Some consoles leave the virtual key out and pass only the keyboard's scan code.
std::optional<NamedKey> named_by_scan_code(std::uint16_t code) {
    switch (code) {
    case scan::kUp: return NamedKey::Up;
    case scan::kDown: return NamedKey::Down;
    case scan::kLeft: return NamedKey::Left;
    case scan::kRight: return NamedKey::Right;
    case scan::kHome: return NamedKey::Home;
    case scan::kEnd: return NamedKey::End;
    case scan::kInsert: return NamedKey::Insert;
    case scan::kDel: return NamedKey::Delete;
    case scan::kPgUp: return NamedKey::PageUp;
    case scan::kPgDn: return NamedKey::PageDown;
    case 87: return NamedKey::F11;  // the keyboard's codes for F11 and F12
    case 88: return NamedKey::F12;
    default: break;
    }
    if (code >= scan::kF1 && code <= scan::kF10)
        return static_cast<NamedKey>(static_cast<int>(NamedKey::F1) + (code - scan::kF1));
    return std::nullopt;
}

}  // namespace

std::optional<Key> key_of(const ConsoleKeyEvent& event) {
    using namespace console_key;
    if (!event.key_down) return std::nullopt;
    const std::uint32_t state = event.control_state;
    const bool alt_gr = (state & kRightAlt) != 0 && (state & kLeftCtrl) != 0;
    const Modifiers mods{(state & kShift) != 0, !alt_gr && (state & (kLeftAlt | kRightAlt)) != 0,
                         (state & (kLeftCtrl | kRightCtrl)) != 0};
    const std::optional<NamedKey> name =
        event.virtual_key != 0 ? named_by_virtual_key(event.virtual_key) : named_by_scan_code(event.scan_code);
    if (name) return scan_key(*name, mods);
    if (event.virtual_key == kTab && mods.shift) return scan_key(NamedKey::BackTab, mods);
    if (mods.alt) return std::nullopt;
    const char16_t ch = event.character;
    // Ctrl-Enter comes as a line feed.
    if (ch == u'\n') return Key{keys::kEnter, false};
    if (ch >= 1 && ch <= 0x7F) return Key{static_cast<std::uint8_t>(ch), false};
    return std::nullopt;
}
