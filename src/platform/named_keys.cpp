#include "platform/named_keys.hpp"

#include <algorithm>
#include <array>
#include <vector>

namespace {

struct ScanCodes {
    std::uint8_t plain, shift, ctrl, alt;
};

// The game's scan codes, in the order of NamedKey.
constexpr std::array<ScanCodes, 23> kScanCodes{{
    {scan::kUp, scan::kUp, scan::kCtrlUp, scan::kAltUp},
    {scan::kDown, scan::kDown, scan::kCtrlDown, scan::kAltDown},
    {scan::kLeft, scan::kLeft, scan::kCtrlLeft, scan::kAltLeft},
    {scan::kRight, scan::kRight, scan::kCtrlRight, scan::kAltRight},
    {scan::kHome, scan::kHome, scan::kCtrlHome, scan::kAltHome},
    {scan::kEnd, scan::kEnd, scan::kCtrlEnd, scan::kAltEnd},
    {scan::kInsert, scan::kInsert, scan::kCtrlInsert, scan::kAltInsert},
    {scan::kDel, scan::kShiftDel, scan::kCtrlDel, scan::kAltDel},
    {scan::kPgUp, scan::kPgUp, scan::kCtrlPgUp, scan::kAltPgUp},
    {scan::kPgDn, scan::kPgDn, scan::kCtrlPgDn, scan::kAltPgDn},
    {scan::kBackTab, scan::kBackTab, scan::kBackTab, scan::kBackTab},
    {scan::kF1, scan::kShiftF1, scan::kCtrlF1, scan::kAltF1},
    {scan::kF2, scan::kShiftF2, scan::kCtrlF2, scan::kAltF2},
    {scan::kF3, scan::kShiftF3, scan::kCtrlF3, scan::kAltF3},
    {scan::kF4, scan::kShiftF4, scan::kCtrlF4, scan::kAltF4},
    {scan::kF5, scan::kShiftF5, scan::kCtrlF5, scan::kAltF5},
    {scan::kF6, scan::kShiftF6, scan::kCtrlF6, scan::kAltF6},
    {scan::kF7, scan::kShiftF7, scan::kCtrlF7, scan::kAltF7},
    {scan::kF8, scan::kShiftF8, scan::kCtrlF8, scan::kAltF8},
    {scan::kF9, scan::kShiftF9, scan::kCtrlF9, scan::kAltF9},
    {scan::kF10, scan::kShiftF10, scan::kCtrlF10, scan::kAltF10},
    {scan::kF11, scan::kShiftF11, scan::kCtrlF11, scan::kAltF11},
    {scan::kF12, scan::kShiftF12, scan::kCtrlF12, scan::kAltF12},
}};

}  // namespace

Key scan_key(NamedKey name, Modifiers mods) {
    const ScanCodes& codes = kScanCodes[static_cast<std::size_t>(name)];
    std::uint8_t code = mods.ctrl ? codes.ctrl : mods.alt ? codes.alt : mods.shift ? codes.shift
                                                                                   : codes.plain;
    return {code, true};
}

std::span<const std::uint8_t> decodable_scan_codes() {
    static const std::vector<std::uint8_t> codes = [] {
        std::vector<std::uint8_t> all;
        for (const ScanCodes& key : kScanCodes) {
            all.insert(all.end(), {key.plain, key.shift, key.ctrl, key.alt});
        }
        std::sort(all.begin(), all.end());
        all.erase(std::unique(all.begin(), all.end()), all.end());
        return all;
    }();
    return codes;
}
