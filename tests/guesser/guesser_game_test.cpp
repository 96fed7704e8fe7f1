#include <gtest/gtest.h>

#include "core/scoring.hpp"
#include "guesser/guesser.hpp"

namespace {

// Plays one game against a fixed code from a built guesser, on copies of it and of the
// generator; the number of tries, or 0 if it went wrong.
int play(Guesser guesser, Random random, const GuessShape& shape, const Code& code) {
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
    Random random(7);
    Guesser built(shape);
    ASSERT_EQ(built.build(random, std::uint64_t{1} << 34, {}), BuildResult::Built);
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
                    random.next();  // each game its own draws
                    const int tries = play(built, random, shape, code);
                    ASSERT_GT(tries, 0);
                    worst = std::max(worst, tries);
                    total += tries;
                    ++games;
                }
    EXPECT_LE(worst, 5);
    // The largest-class rule averages about four and a half tries here; far more would mean
    // a measure or the choice went wrong without breaking the worst case.
    EXPECT_LT(static_cast<double>(total) / games, 4.6);
}

}  // namespace
