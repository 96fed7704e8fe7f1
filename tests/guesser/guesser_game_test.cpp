#include <gtest/gtest.h>

#include "guesser/guesser.hpp"
#include "match/scoring.hpp"

namespace {

// Plays one game against a fixed code; the number of tries, or 0 if it went wrong.
int play(const GuessShape& shape, const Code& code, std::uint64_t seed) {
    Random random(seed);
    Guesser guesser(shape);
    if (guesser.build(random, std::uint64_t{1} << 34, {}) != TryTable::BuildResult::Built) return 0;
    const SignCounts counts = sign_counts(code, shape.set_size, false);
    for (int tries = 1; tries <= 20; ++tries) {
        Code chosen;
        if (guesser.one_candidate_left()) {
            chosen = guesser.candidate(0);
            return chosen.signs == code.signs ? tries : 0;
        }
        guesser.begin_search(random);
        while (!guesser.search_done()) guesser.evaluate_next(random);
        guesser.end_search();
        chosen = guesser.chosen();
        const Response response = score(chosen, code, counts);
        if (guesser.apply(response, random) == Guesser::Applied::Won) return tries;
    }
    return 0;
}

TEST(GuesserGame, FourOverSixWithRepetition) {
    const GuessShape shape{4, 6, true, true, false};
    int worst = 0;
    long total = 0;
    int games = 0;
    Code code;
    code.length = 4;
    for (int a = 1; a <= 6; ++a)
        for (int b = 1; b <= 6; ++b)
            for (int c = 1; c <= 6; ++c)
                for (int d = 1; d <= 6; ++d) {
                    code.signs = {static_cast<SignIndex>(a), static_cast<SignIndex>(b),
                                  static_cast<SignIndex>(c), static_cast<SignIndex>(d)};
                    const int tries = play(shape, code, 7 + games);
                    ASSERT_GT(tries, 0);
                    worst = std::max(worst, tries);
                    total += tries;
                    ++games;
                }
    EXPECT_LE(worst, 5);
    printf("worst %d mean %.3f\n", worst, double(total) / games);
}

}  // namespace
