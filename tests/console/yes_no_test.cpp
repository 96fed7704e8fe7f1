#include <gtest/gtest.h>

#include <ostream>

#include "console/yes_no.hpp"
#include "core/keys.hpp"
#include "support/screen_rows.hpp"
#include "support/test_rig.hpp"

namespace {

struct YesNoCase {
    Language language;
    std::uint8_t value_before;
    std::string keys;
    std::uint8_t key_after;
    std::uint8_t value_after;
    bool changed;
    std::string field_after;  // what stands at columns 30..34 afterwards
};

// Keeps the test names short: the keys and the value before them.
void PrintTo(const YesNoCase& c, std::ostream* out) {
    *out << (c.language == Language::German ? "de" : "en") << " value " << int(c.value_before)
         << " keys";
    for (char ch : c.keys) *out << ' ' << int(static_cast<unsigned char>(ch));
}

class YesNoField : public ::testing::TestWithParam<YesNoCase> {};

TEST_P(YesNoField, AnswersKeysAndWritesOnlyOnChange) {
    const YesNoCase& c = GetParam();
    TestRig rig;
    rig.terminal.type(c.keys);
    rig.console.goto_xy(30, 19);
    rig.console.write_text("-----");
    rig.console.goto_xy(30, 19);
    std::uint8_t value = c.value_before;
    const YesNoOutcome outcome = ask_yes_no(rig.console, c.language, value);
    EXPECT_EQ(outcome.key, c.key_after);
    EXPECT_EQ(value, c.value_after);
    EXPECT_EQ(outcome.changed, c.changed);
    EXPECT_EQ(rig.row(19).substr(29, 5), c.field_after);
    EXPECT_EQ(rig.terminal.keys_left(), 0u);
}

INSTANTIATE_TEST_SUITE_P(
    Answers, YesNoField,
    ::testing::Values(
        YesNoCase{Language::German, 0, "j", 'j', 1, true, "Ja.  "},
        YesNoCase{Language::German, 1, "n", 'n', 0, true, "Nein."},
        YesNoCase{Language::English, 0, "y", 'j', 1, true, "Yes. "},
        YesNoCase{Language::English, 1, "N", 'n', 0, true, "No.  "},
        // z and Z count as yes because keyboards swap y and z.
        YesNoCase{Language::German, 0, "Z", 'j', 1, true, "Ja.  "},
        YesNoCase{Language::German, 0, "z", 'j', 1, true, "Ja.  "},
        YesNoCase{Language::English, 0, "Y", 'j', 1, true, "Yes. "},
        YesNoCase{Language::English, 0, "J", 'j', 1, true, "Yes. "},
        // An answer equal to the value changes nothing and writes nothing.
        YesNoCase{Language::German, 1, "j", 'j', 1, false, "-----"},
        YesNoCase{Language::English, 0, "n", 'n', 0, false, "-----"},
        YesNoCase{Language::German, 1, "\r", keys::kEnter, 1, false, "-----"},
        YesNoCase{Language::German, 0, "\b", keys::kBackspace, 0, false, "-----"},
        YesNoCase{Language::English, 1, "\x1b", keys::kEsc, 1, false, "-----"},
        YesNoCase{Language::English, 1, "\x03", keys::kCtrlC, 1, false, "-----"},
        // Other keys are ignored until one that ends the field.
        YesNoCase{Language::German, 0, "xq7 \tj", 'j', 1, true, "Ja.  "}));

TEST(YesNoFieldKeys, ExtendedKeyChangesNothingAndTheFieldWaitsOn) {
    TestRig rig;
    rig.terminal.extended(scan::kF4).extended(75).extended('n').type("n");
    rig.console.goto_xy(57, 13);
    std::uint8_t value = 1;
    const YesNoOutcome outcome = ask_yes_no(rig.console, Language::German, value);
    EXPECT_EQ(outcome.key, 'n');
    EXPECT_EQ(value, 0);
    EXPECT_EQ(rig.row(13).substr(56, 5), "Nein.");
    EXPECT_EQ(rig.terminal.keys_left(), 0u);
}

TEST(YesNoFieldKeys, WritesAtTheFieldPositionInTheCurrentAttribute) {
    TestRig rig;
    rig.terminal.type("j");
    rig.console.set_attribute(0x1E);
    rig.console.goto_xy(64, 13);
    std::uint8_t value = 0;
    ask_yes_no(rig.console, Language::English, value);
    EXPECT_EQ(rig.row(13), full_row(std::string(63, ' ') + "Yes. "));
    EXPECT_EQ(rig.screen().cell(64, 13).attr, 0x1E);
}

// One set of yes letters serves the field, the name question and the match's questions.
TEST(YesKeys, JYAndZInBothCasesAndNothingElse) {
    for (int code = 0; code < 256; ++code) {
        const bool yes = code != 0 && std::string_view("jJyYzZ").find(static_cast<char>(code)) !=
                                          std::string_view::npos;
        EXPECT_EQ(is_yes_key(static_cast<std::uint8_t>(code)), yes) << code;
    }
}

}  // namespace
