#include <gtest/gtest.h>

#include "console/colour_scheme.hpp"

namespace {

TEST(LoadedSchemeValidation, AValidSchemeStaysAsItIs) {
    EXPECT_EQ(validate_loaded_scheme(31, 30), (ColourScheme{31, 30}));
    EXPECT_EQ(validate_loaded_scheme(0x07, 0x0F), (ColourScheme{0x07, 0x0F}));
}

TEST(LoadedSchemeValidation, InvisibleStandardTextBecomesLightGreyOnBlack) {
    EXPECT_EQ(validate_loaded_scheme(0x44, 0x4E).standard, 7);
    EXPECT_EQ(validate_loaded_scheme(0x44, 0x4E).emphasized, 0x0E);
    EXPECT_EQ(validate_loaded_scheme(0x00, 0x0E).standard, 7);
}

TEST(LoadedSchemeValidation, TheBlinkBitIsCleared) {
    EXPECT_EQ(validate_loaded_scheme(0x9F, 0x9E), (ColourScheme{0x1F, 0x1E}));
    // With the top bit gone the background equals the text colour.
    EXPECT_EQ(validate_loaded_scheme(0xA2, 0x2E).standard, 7);
}

TEST(LoadedSchemeValidation, EmphasisTakesTheStandardBackground) {
    EXPECT_EQ(validate_loaded_scheme(0x2F, 0x5E), (ColourScheme{0x2F, 0x2E}));
    // Emphasis in the colour of the shared background falls back to the standard attribute.
    EXPECT_EQ(validate_loaded_scheme(0x2F, 0x72), (ColourScheme{0x2F, 0x2F}));
}

TEST(LoadedSchemeValidation, EveryPairOfBytesGivesAReadableSchemeWithOneBackground) {
    for (int standard = 0; standard < 256; ++standard) {
        for (int emphasized = 0; emphasized < 256; ++emphasized) {
            const ColourScheme scheme = validate_loaded_scheme(static_cast<std::uint8_t>(standard),
                                                               static_cast<std::uint8_t>(emphasized));
            ASSERT_LT(scheme.standard, 0x80);
            ASSERT_NE(scheme.standard >> 4, scheme.standard & 0x0F);
            ASSERT_NE(scheme.emphasized >> 4, scheme.emphasized & 0x0F);
            ASSERT_EQ(scheme.standard >> 4, scheme.emphasized >> 4);
        }
    }
}

}  // namespace
