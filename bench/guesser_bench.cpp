#include "guesser_bench.hpp"

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <string>
#include <unordered_set>
#include <vector>

#include "bench_figures.hpp"
#include "guesser/guesser.hpp"
#include "guesser/search_workers.hpp"
#include "reference_guesser.hpp"

namespace {

// Which answers a condition plays.
enum class Answers {
    All,          // every code, as one strategy tree
    Random,       // codes drawn at random
    NearOpening,  // the opening try with one place changed: where a random answer's first full
                  // search would take the reference far too long
};

struct Games {
    Answers answers;
    int guesser;    // without All: how many the guesser plays
    int reference;  // how many the reference plays too, the first ones of the guesser's
};

struct Condition {
    int length;
    int set_size;
    bool repetition;
    bool vacant;
    Games full;
    Games quick;
};

// The vacant sign is only ever in play with two signs, over four places or more.
constexpr Condition kConditions[] = {
    {4, 6, true, false, {Answers::All, 0, 100}, {Answers::All, 0, 20}},
    {4, 2, true, true, {Answers::All, 0, 16}, {Answers::All, 0, 8}},
    {5, 2, true, true, {Answers::All, 0, 16}, {Answers::All, 0, 8}},
    {6, 2, true, true, {Answers::All, 0, 16}, {Answers::All, 0, 6}},
    {7, 2, true, true, {Answers::All, 0, 12}, {Answers::All, 0, 4}},
    {8, 2, true, true, {Answers::All, 0, 8}, {Answers::All, 0, 3}},
    {9, 2, true, true, {Answers::All, 0, 6}, {Answers::All, 0, 2}},
    {4, 10, false, false, {Answers::All, 0, 50}, {Answers::All, 0, 10}},
    {6, 6, false, false, {Answers::All, 0, 20}, {Answers::Random, 100, 5}},
    {5, 8, true, false, {Answers::All, 0, 20}, {Answers::Random, 100, 4}},
    {5, 19, true, false, {Answers::Random, 10, 1}, {Answers::NearOpening, 3, 1}},
    {9, 5, true, false, {Answers::NearOpening, 20, 3}, {Answers::NearOpening, 3, 1}},
};

constexpr std::uint64_t kSeed = 20250621;
constexpr std::uint64_t kMemory = std::uint64_t{1} << 34;
// A game that has not ended by then has gone wrong.
constexpr int kMostTries = 20;

std::uint64_t key_of(const Code& code) {
    std::uint64_t key = 0;
    for (int position = 0; position < code.length; ++position) key = key * (kRingSize + 1) + code.signs[position];
    return key;
}

std::vector<Code> all_codes(const CodeSet& set) {
    CandidateList list;
    list.build(set, kMemory, {});
    std::vector<Code> codes;
    for (std::size_t entry = 0; entry < list.size(); ++entry) codes.push_back(list.code(entry));
    return codes;
}

// Distinct codes drawn at random, the same ones for both sides.
std::vector<Code> random_codes(const CodeSet& set, int count) {
    Random random(kSeed + 1);
    std::vector<Code> codes;
    std::unordered_set<std::uint64_t> drawn;
    while (static_cast<int>(codes.size()) < count) {
        Code code;
        code.length = set.code_length;
        std::vector<SignIndex> pool;
        for (int sign = 1; sign <= set.set_size; ++sign) pool.push_back(static_cast<SignIndex>(sign));
        for (int position = 0; position < set.code_length; ++position) {
            const auto place = static_cast<std::ptrdiff_t>(random.uniform(pool.size()));
            code.signs[position] = pool[place];
            if (!set.repetition) pool.erase(pool.begin() + place);
        }
        if (drawn.insert(key_of(code)).second) codes.push_back(code);
    }
    return codes;
}

bool in_set(const CodeSet& set, const Code& code) {
    if (set.repetition) return true;
    const SignCounts counts = sign_counts(code, set.set_size, false);
    return std::all_of(counts.begin(), counts.end(), [](std::uint8_t count) { return count <= 1; });
}

// The codes one place away from the opening try, in a random order.
std::vector<Code> near_codes(const CodeSet& set, const Code& opening, int count) {
    std::vector<Code> codes;
    for (int position = 0; position < set.code_length; ++position) {
        for (int sign = 1; sign <= set.set_size; ++sign) {
            Code code = opening;
            code.signs[position] = static_cast<SignIndex>(sign);
            if (sign != opening.signs[position] && in_set(set, code)) codes.push_back(code);
        }
    }
    Random random(kSeed + 1);
    for (std::size_t i = codes.size(); i > 1; --i) std::swap(codes[i - 1], codes[random.uniform(i)]);
    codes.resize(std::min(codes.size(), static_cast<std::size_t>(count)));
    return codes;
}

std::vector<Code> answers_of(const Games& games, const CodeSet& set, const Code& opening) {
    switch (games.answers) {
        case Answers::All:
            return all_codes(set);
        case Answers::Random:
            return random_codes(set, games.guesser);
        case Answers::NearOpening:
            return near_codes(set, opening, games.guesser);
    }
    return {};
}

Response response_of(const Code& try_code, const Code& answer, int set_size) {
    return score(try_code, answer, sign_counts(answer, set_size, false));
}

void add_step(Signature& path, const Code& code, Response response) {
    for (int position = 0; position < code.length; ++position) path.add(code.signs[position]);
    path.add(response);
}

// Spreads a game's hash, so that the games of a sample can be added up in any order: the tree
// meets them in another order than the reference plays them.
std::uint64_t spread(std::uint64_t x) {
    x ^= x >> 30;
    x *= 0xBF58476D1CE4E5B9ULL;
    x ^= x >> 27;
    x *= 0x94D049BB133111EBULL;
    return x ^ (x >> 31);
}

struct Played {
    int games = 0;
    int worst = 0;
    long long tries = 0;
    std::uint64_t signature = 0;  // over the games of the reference's sample
    bool sound = true;            // every game ended on its answer within kMostTries

    void finish(int game_tries, const Signature& path, bool in_sample) {
        ++games;
        worst = std::max(worst, game_tries);
        tries += game_tries;
        if (in_sample) signature += spread(path.hash);
    }
};

struct SearchFigures {
    double seconds = 0;
    std::uint64_t scorings = 0;
    double rate() const { return seconds > 0 ? static_cast<double>(scorings) / seconds : 0; }
};

void search(Guesser& guesser, Random& random) {
    guesser.begin_search(random);
    while (!guesser.search_done()) guesser.evaluate_next(random);
    guesser.end_search();
}

// The guesser's games as one tree: at each try the answers still open are split by their
// response, and each branch carries on with its own copy of the guesser and the generator.
struct TreeWalk {
    bool whole;
    const std::unordered_set<std::uint64_t>& sample;
    Played played;

    void explore(Guesser& guesser, Random& random, const std::vector<Code>& answers, Signature path,
                 int tries) {
        const int n = guesser.shape().length;
        ++tries;
        if (guesser.one_candidate_left()) {
            const Code code = guesser.candidate(0);
            if (answers.size() != 1 || answers.front() != code) {
                played.sound = false;
                return;
            }
            add_step(path, code, Response{static_cast<std::uint8_t>(n), static_cast<std::uint8_t>(n)});
            played.finish(tries, path, sample.count(key_of(code)) != 0);
            return;
        }
        if (tries > kMostTries) {
            played.sound = false;
            return;
        }
        search(guesser, random);
        const Code chosen = guesser.chosen();
        const ClassTable classes = guesser.chosen_classes();
        constexpr int kSide = kMaxCodeLength + 1;
        std::array<std::vector<Code>, kSide * kSide> by_response;
        for (const Code& answer : answers) {
            const Response response = response_of(chosen, answer, guesser.shape().set_size);
            by_response[response.t * kSide + response.p].push_back(answer);
        }
        int last_branch = 0;  // the last one takes the state itself instead of a copy
        for (int t = 0; t <= n; ++t)
            for (int p = 0; p < n && p <= t; ++p)
                if (!by_response[t * kSide + p].empty()) last_branch = t * kSide + p;
        for (int t = 0; t <= n; ++t) {
            for (int p = 0; p <= t; ++p) {
                const std::vector<Code>& group = by_response[t * kSide + p];
                // Over a whole set the answers open are the candidates, so the classes must agree.
                if (whole && static_cast<std::int64_t>(group.size()) != classes.count(t, p))
                    played.sound = false;
                if (group.empty()) continue;
                const Response response{static_cast<std::uint8_t>(p), static_cast<std::uint8_t>(t)};
                Signature next = path;
                add_step(next, chosen, response);
                if (p == n) {
                    played.finish(tries, next, sample.count(key_of(chosen)) != 0);
                    continue;
                }
                if (t * kSide + p == last_branch) {
                    guesser.apply(response, random);
                    explore(guesser, random, group, next, tries);
                    continue;
                }
                Guesser branch = guesser;
                Random branch_random = random;
                branch.apply(response, branch_random);
                explore(branch, branch_random, group, next, tries);
            }
        }
    }
};

// The first search with the opening over in the game against the answer, timed on copies of
// the state it starts from.
SearchFigures time_first_full_search(Guesser guesser, Random random, const Code& answer, int samples) {
    for (int tries = 1; tries <= kMostTries && !guesser.one_candidate_left(); ++tries) {
        const Guesser before = guesser;
        const Random random_before = random;
        guesser.begin_search(random);
        if (!guesser.opening_phase()) {
            std::vector<double> seconds;
            SearchFigures figures;
            // A search of a second or more is timed once; shorter ones are taken again.
            while (static_cast<int>(seconds.size()) < samples && (seconds.empty() || seconds.front() < 1.0)) {
                Guesser copy = before;
                Random copy_random = random_before;
                const std::uint64_t scorings = copy.scorings();
                const auto start = std::chrono::steady_clock::now();
                search(copy, copy_random);
                seconds.push_back(seconds_since(start));
                figures.scorings = copy.scorings() - scorings;
            }
            figures.seconds = median(seconds);
            return figures;
        }
        while (!guesser.search_done()) guesser.evaluate_next(random);
        guesser.end_search();
        const Response response = response_of(guesser.chosen(), answer, guesser.shape().set_size);
        if (guesser.apply(response, random) == Guesser::Applied::Won) break;
    }
    return {};
}

// One game of the reference against the answer, from its own build with the same seed.
void play_reference(const GuessShape& shape, const Code& answer, Played& played,
                    std::vector<double>& builds, SearchFigures* first_full_search) {
    Random random(kSeed);
    const auto start = std::chrono::steady_clock::now();
    ReferenceGuesser reference(shape);
    reference.build(random);
    builds.push_back(seconds_since(start));
    const auto n = static_cast<std::uint8_t>(shape.length);
    Signature path;
    for (int tries = 1; tries <= kMostTries; ++tries) {
        if (reference.one_candidate_left()) {
            const Code code = reference.first_candidate();
            add_step(path, code, Response{n, n});
            if (code == answer)
                played.finish(tries, path, true);
            else
                played.sound = false;
            return;
        }
        const std::uint64_t scorings = reference.scorings();
        const auto search_start = std::chrono::steady_clock::now();
        reference.search(random);
        if (first_full_search && !reference.opening_phase()) {
            *first_full_search = {seconds_since(search_start), reference.scorings() - scorings};
            first_full_search = nullptr;
        }
        const Response response = response_of(reference.chosen(), answer, shape.set_size);
        add_step(path, reference.chosen(), response);
        if (reference.apply(response, random)) {
            played.finish(tries, path, true);
            return;
        }
    }
    played.sound = false;
}

// The whole 5 over 8 set as a strategy tree and the first full search of 5 over 19, each with
// one thread and with all of them, in the same run. The two alternate, several times, and the
// medians are compared: on a shared machine a core's speed changes from second to second.
bool run_speed_up(int threads) {
    constexpr int kRounds = 3;
    SearchWorkers one(1);
    SearchWorkers all(threads);
    const std::array<SearchWorkers*, 2> pools{&one, &all};
    const auto built = [](Guesser& guesser, Random& random) {
        return guesser.build(random, kMemory, {}) == BuildResult::Built;
    };

    const GuessShape eight{5, 8, true, true, false};
    const CodeSet eight_set{8, 5, true};
    const std::vector<Code> answers = all_codes(eight_set);
    std::unordered_set<std::uint64_t> sample;
    for (const Code& answer : random_codes(eight_set, 20)) sample.insert(key_of(answer));
    const GuessShape nineteen{5, 19, true, true, false};
    const Code answer = random_codes(CodeSet{19, 5, true}, 1).front();

    std::array<std::vector<double>, 2> tree_seconds;
    std::array<std::uint64_t, 2> tree_signatures{};
    std::array<std::vector<double>, 2> first_seconds;
    std::array<std::uint64_t, 2> first_scorings{};
    bool sound = true;
    for (int round = 0; round < kRounds; ++round) {
        for (int run = 0; run < 2; ++run) {
            Guesser root(eight);
            Random random(kSeed);
            sound = built(root, random) && sound;
            root.use_workers(pools[run]);
            TreeWalk walk{true, sample, {}};
            const auto start = std::chrono::steady_clock::now();
            walk.explore(root, random, answers, Signature{}, 0);
            tree_seconds[run].push_back(seconds_since(start));
            sound = sound && walk.played.sound && walk.played.games == static_cast<int>(answers.size()) &&
                    (round == 0 || walk.played.signature == tree_signatures[run]);
            tree_signatures[run] = walk.played.signature;
        }
        for (int run = 0; run < 2; ++run) {
            Guesser root(nineteen);
            Random random(kSeed);
            sound = built(root, random) && sound;
            root.use_workers(pools[run]);
            const SearchFigures figures = time_first_full_search(root, random, answer, 1);
            first_seconds[run].push_back(figures.seconds);
            first_scorings[run] = figures.scorings;
        }
    }
    const std::array<double, 2> tree{median(tree_seconds[0]), median(tree_seconds[1])};
    const std::array<SearchFigures, 2> first{SearchFigures{median(first_seconds[0]), first_scorings[0]},
                                             SearchFigures{median(first_seconds[1]), first_scorings[1]}};
    const bool equal = sound && tree_signatures[0] == tree_signatures[1] && first[0].scorings > 0;
    std::printf(
        "guesser speed-up, %d threads against 1, medians of %d alternating: 5 over 8 whole set %7.3f s against "
        "%7.3f s = %.2f | 5 over 19 first full search %7.3f s = %.3g/s against %7.3f s = %.3g/s = %.2f | "
        "signature %016llx, 1 thread %016llx %s\n",
        threads, kRounds, tree[1], tree[0], tree[1] > 0 ? tree[0] / tree[1] : 0.0, first[1].seconds, first[1].rate(),
        first[0].seconds, first[0].rate(), first[1].seconds > 0 ? first[0].seconds / first[1].seconds : 0.0,
        static_cast<unsigned long long>(tree_signatures[1]), static_cast<unsigned long long>(tree_signatures[0]),
        equal ? "equal" : sound ? "DIFFERENT" : "GAME WENT WRONG");
    std::fflush(stdout);
    return equal;
}

// The longest stretch of the computer's work without a look at the keyboard, in a game of
// 6 over a..p (16.7 million tries and candidates): the build, then for each try the symmetry
// pass, a search cut short after a few thousand tries as F4 would, and the filtering. A look
// is what the game's driver turns into a key poll and a clock tick.
void run_stall_check(int threads) {
    constexpr int kEvaluationsPerSearch = 2000;
    const GuessShape shape{6, 16, true, true, false};
    SearchWorkers workers(threads);
    using Clock = std::chrono::steady_clock;
    Clock::time_point last_look = Clock::now();
    double longest = 0;
    const char* longest_where = "";
    const char* where = "build";
    const auto look = [&] {
        const Clock::time_point now = Clock::now();
        const double gap = std::chrono::duration<double>(now - last_look).count();
        if (gap > longest) {
            longest = gap;
            longest_where = where;
        }
        last_look = now;
    };
    BuildHooks hooks;
    hooks.abandon_requested = [&] {
        look();
        return false;
    };
    hooks.heartbeat = [&](std::uint64_t) { look(); };
    Guesser guesser(shape);
    guesser.use_workers(&workers);
    guesser.use_pulse([&] {
        look();
        return false;
    });
    Random random(kSeed);
    const auto start = Clock::now();
    const bool built = guesser.build(random, kMemory, hooks) == BuildResult::Built;
    const Code answer = random_codes(CodeSet{16, 6, true}, 1).front();
    int tries = 0;
    bool won = false;
    while (built && !won && tries < kMostTries && !guesser.one_candidate_left()) {
        ++tries;
        where = "symmetry pass";
        look();
        guesser.begin_search(random);
        where = "search";
        for (int evaluated = 0; evaluated < kEvaluationsPerSearch && !guesser.search_done(); ++evaluated) {
            guesser.evaluate_next(random);
            look();
        }
        guesser.end_search();
        where = "filtering";
        won = guesser.apply(response_of(guesser.chosen(), answer, shape.set_size), random) ==
              Guesser::Applied::Won;
    }
    look();
    std::printf("guesser stalls, 6 over 16 signs, %d threads: longest stretch without a look at the keys "
                "%.3f s (%s) over %.1f s, %d tries%s\n",
                threads, longest, longest_where, std::chrono::duration<double>(Clock::now() - start).count(), tries,
                built ? "" : ", NOT BUILT");
    std::fflush(stdout);
}

}  // namespace

bool run_guesser_bench(bool quick, int threads) {
    SearchWorkers workers(threads);
    const int samples = quick ? 3 : 5;
    // Short searches are timed more often: the machines are shared, and a median of a few
    // runs of 10 ms moves by a third from one minute to the next.
    const int search_samples = quick ? 5 : 15;
    bool all_equal = true;
    for (const Condition& condition : kConditions) {
        const GuessShape shape{condition.length, condition.set_size, condition.repetition,
                               condition.repetition, condition.vacant};
        const CodeSet set{condition.set_size, condition.length, condition.repetition};
        const Games games = quick ? condition.quick : condition.full;

        Guesser root(shape);
        root.use_workers(&workers);
        Random root_random(kSeed);
        std::vector<double> builds;
        bool built = true;
        for (int build = 0; build < samples; ++build) {
            Guesser guesser(shape);
            Random random(kSeed);
            const auto start = std::chrono::steady_clock::now();
            built = built && guesser.build(random, kMemory, {}) == BuildResult::Built;
            builds.push_back(seconds_since(start));
            root = std::move(guesser);
            root.use_workers(&workers);
            root_random = random;
        }
        const std::vector<Code> answers = answers_of(games, set, root.opening_try());
        const std::vector<Code> reference_answers =
            games.answers == Answers::All
                ? random_codes(set, games.reference)
                : std::vector<Code>(answers.begin(), answers.begin() + std::min<std::size_t>(answers.size(), games.reference));
        std::unordered_set<std::uint64_t> reference_keys;
        for (const Code& answer : reference_answers) reference_keys.insert(key_of(answer));

        const SearchFigures first = time_first_full_search(root, root_random, reference_answers.front(), search_samples);
        TreeWalk walk{games.answers == Answers::All, reference_keys, {}};
        const auto tree_start = std::chrono::steady_clock::now();
        if (built) walk.explore(root, root_random, answers, Signature{}, 0);
        const double tree_seconds = seconds_since(tree_start);

        Played reference;
        std::vector<double> reference_builds;
        SearchFigures reference_first;
        for (const Code& answer : reference_answers)
            play_reference(shape, answer, reference, reference_builds,
                           &answer == &reference_answers.front() ? &reference_first : nullptr);

        const bool sound = built && walk.played.sound && walk.played.games == static_cast<int>(answers.size()) &&
                           reference.sound && reference.games == static_cast<int>(reference_answers.size());
        const bool equal = sound && walk.played.signature == reference.signature;
        all_equal = all_equal && equal;
        const std::string conditions = std::string(condition.repetition ? "with repetition" : "no repetition") +
                                       (condition.vacant ? ", vacant" : "");
        const char* kind = games.answers == Answers::All ? "all" : games.answers == Answers::Random ? "random" : "near";
        std::printf(
            "guesser %d over %2d signs %-23s %-6s %2d threads %6d games: worst %d mean %.3f in %7.3f s | build %7.4f s, "
            "ref %7.4f s | first full search %8.4f s = %.3g/s, ref %8.4f s = %.3g/s | ratio %5.1f | "
            "signature %016llx, ref %016llx over %d games %s\n",
            condition.length, condition.set_size, conditions.c_str(), kind, threads, walk.played.games, walk.played.worst,
            walk.played.games ? static_cast<double>(walk.played.tries) / walk.played.games : 0.0, tree_seconds,
            median(builds), median(reference_builds), first.seconds, first.rate(), reference_first.seconds,
            reference_first.rate(), reference_first.rate() > 0 ? first.rate() / reference_first.rate() : 0.0,
            static_cast<unsigned long long>(walk.played.signature),
            static_cast<unsigned long long>(reference.signature), reference.games,
            equal ? "equal" : sound ? "DIFFERENT" : "GAME WENT WRONG");
        std::fflush(stdout);
    }
    const bool speed_up_equal = run_speed_up(threads);
    if (!quick) run_stall_check(threads);
    return speed_up_equal && all_equal;
}
