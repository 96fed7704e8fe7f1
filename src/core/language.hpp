#pragma once

#include <cstdint>
#include <string_view>

enum class Language : std::uint8_t { English = 0, German = 1 };

// A screen text in both languages, kept side by side where the screen is drawn.
struct Bilingual {
    std::string_view german;
    std::string_view english;

    constexpr std::string_view operator()(Language language) const {
        return language == Language::German ? german : english;
    }
};
