#pragma once

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "match/encoder.hpp"
#include "match/match.hpp"
#include "setup/game_setup.hpp"
#include "support/screen_rows.hpp"
#include "support/test_rig.hpp"

// A whole match on the scripted terminal, begun the way the conditions screen begins it.
struct MatchRig : TestRig {
    MatchRig(Language language, ConditionsRecord conditions) {
        app.game_language = language;
        app.setup.record = conditions;
        validate_conditions(app.setup);
        app.setup.signs.set_stretch(static_cast<char>(conditions.first_sign),
                                    static_cast<char>(conditions.last_sign));
        app.setup.saved_vacant = app.setup.record.vacant_signs;
        clock.show(2025, 1, 5, 9, 7, 3);
    }

    // The code the computer is about to draw, from a copy of the seeded generator.
    std::string coming_fixed_code() const {
        Random copy = app.random;
        const ConditionsRecord& record = app.setup.record;
        const Code code = choose_fixed_code(app.setup.signs.set_size(), record.code_length,
                                            record.repetition != 0, copy);
        return text_of_code(code, app.setup.signs).substr(0, record.code_length);
    }

    // Keys a second apart, the first after `first_ms`.
    void type_slowly(std::string_view keys, std::uint64_t first_ms = 1000) {
        for (std::size_t i = 0; i < keys.size(); ++i)
            terminal.after_ms(i == 0 ? first_ms : 1000).type(keys.substr(i, 1));
    }

    bool play() {
        const bool again = run_match(app);
        EXPECT_EQ(terminal.keys_left(), 0u);
        return again;
    }
    std::string answer_code() const {
        return std::string(app.setup.answer_code.data(), app.setup.record.code_length);
    }
};

// The notice of tables too large for this machine, in each language, and the label the board
// shows once the match has ended.
struct MemoryNotice {
    Language language;
    std::string_view text;
    std::string_view end_label;
};
inline constexpr MemoryNotice kMemoryNotices[] = {
    {Language::German, "Zu wenig Arbeitsspeicher auf diesem Rechner fuer diese Tabellen - bitte Taste.",
     "| Spielende  "},
    {Language::English, "Not enough memory on this machine for these tables - press a key.", "| Game end  "},
};

// Plays the match, noting row 25 and the end label as each key is taken: the notice must stand
// at the first key with the match not yet ended, the summary at the second.
inline void expect_notice_until_a_key(MatchRig& rig, const MemoryNotice& notice,
                                      const std::string& summary) {
    std::vector<std::string> status_lines;
    std::vector<std::string> end_labels;
    rig.terminal.before_each_key([&](std::size_t) {
        status_lines.push_back(rig.row(25));
        end_labels.push_back(rig.row(19).substr(0, notice.end_label.size()));
    });
    EXPECT_FALSE(rig.play());
    EXPECT_EQ(status_lines, (std::vector{full_row(notice.text), summary}));
    ASSERT_EQ(end_labels.size(), 2u);
    EXPECT_NE(end_labels[0], notice.end_label);
    EXPECT_EQ(end_labels[1], notice.end_label);
}

inline ConditionsRecord conditions(char first, char last, int length, bool repetition) {
    ConditionsRecord record;
    record.first_sign = static_cast<std::uint8_t>(first);
    record.last_sign = static_cast<std::uint8_t>(last);
    record.code_length = static_cast<std::uint8_t>(length);
    record.repetition = repetition;
    return record;
}

// P and Z of a try against a code, counted the plain way.
inline std::pair<int, int> plain_score(std::string_view guess, std::string_view code) {
    int p = 0;
    int common = 0;
    std::string rest(code);
    for (std::size_t i = 0; i < guess.size(); ++i) p += guess[i] == code[i];
    for (char sign : guess) {
        const auto found = rest.find(sign);
        if (found == std::string::npos) continue;
        ++common;
        rest[found] = '#';
    }
    return {p, common - p};
}

