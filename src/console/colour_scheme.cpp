#include "console/colour_scheme.hpp"

namespace {

std::uint8_t background(std::uint8_t attr) { return (attr >> 4) & 0x07; }
std::uint8_t text_colour(std::uint8_t attr) { return attr & 0x0F; }
bool invisible(std::uint8_t attr) { return background(attr) == text_colour(attr); }

}  // namespace

ColourScheme validate_loaded_scheme(std::uint8_t standard, std::uint8_t emphasized) {
    ColourScheme scheme;
    scheme.standard = standard & 0x7F;
    if (invisible(scheme.standard)) scheme.standard = 7;
    scheme.emphasized =
        static_cast<std::uint8_t>((background(scheme.standard) << 4) | text_colour(emphasized));
    if (invisible(scheme.emphasized)) scheme.emphasized = scheme.standard;
    return scheme;
}
