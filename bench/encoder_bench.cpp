#include "encoder_bench.hpp"

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "bench_figures.hpp"
#include "console/console.hpp"
#include "match/encoder.hpp"
#include "match/match_clock.hpp"
#include "match/match_session.hpp"
#include "platform/system_clock.hpp"
#include "platform/system_memory.hpp"
#include "reference_encoder.hpp"

namespace {

struct Condition {
    char first_sign;
    char last_sign;
    int code_length;
    bool repetition;
};

constexpr Condition kConditions[] = {
    {'0', '9', 4, false},
    {'a', 's', 5, true},
    {'a', 'e', 9, true},
    {'0', '9', 6, true},
};

constexpr std::uint64_t kSeed = 20250621;
constexpr int kTriesPerGame = 15;

// A terminal on which no key is ever pressed, so the build polls the keyboard as in a match.
class SilentTerminal : public TerminalBackend {
   public:
    void present(const Screen&) override {}
    bool wait_for_key(int) override { return false; }
    Key take_key() override { return {}; }
    void bell(int, int) override {}
    std::optional<TerminalLost> lost() const override { return std::nullopt; }
    void shut_down(const std::vector<std::string>&) override {}
};

// Seconds per call: each sample repeats the call until it has run for a few milliseconds.
double median_seconds_per_call(const std::function<void()>& call, int samples) {
    std::vector<double> per_call;
    for (int sample = 0; sample < samples; ++sample) {
        const auto start = std::chrono::steady_clock::now();
        int calls = 0;
        do {
            call();
            ++calls;
        } while (seconds_since(start) < 0.005);
        per_call.push_back(seconds_since(start) / calls);
    }
    return median(per_call);
}

Code random_try(const CodeSet& set, Random& random) {
    Code code;
    code.length = set.code_length;
    for (int position = 0; position < set.code_length; ++position)
        code.signs[position] = static_cast<SignIndex>(random.uniform(set.set_size) + 1);
    return code;
}

// The same tries for both: random codes, every fourth one a repeat of the try before.
std::vector<Code> tries_of_game(const CodeSet& set, int game) {
    Random random(kSeed + static_cast<std::uint64_t>(game));
    std::vector<Code> tries;
    for (int number = 0; number < kTriesPerGame; ++number)
        tries.push_back(number % 4 == 3 ? tries.back() : random_try(set, random));
    return tries;
}

struct Figures {
    std::uint64_t codes = 0;
    double build_seconds = 0;
    double pass_seconds = 0;
    double filter_seconds = 0;
    Signature signature;
};

class GameRig {
   public:
    explicit GameRig(const Condition& condition)
        : console_(terminal_, clock_), session_(console_, clock_, memory_) {
        GameSetup& setup = session_.setup;
        setup.signs.set_stretch(condition.first_sign, condition.last_sign);
        setup.record.code_length = static_cast<std::uint8_t>(condition.code_length);
        setup.record.repetition = condition.repetition ? 1 : 0;
        setup.record.computer_sets_riddle = 1;
        setup.record.answer_fixed = 0;
    }

    MatchSession& session() { return session_; }
    MatchClock& match_clock() { return match_clock_; }

    TypedTry typed(const Code& code) const {
        TypedTry typed;
        const std::string text = text_of_code(code, session_.setup.signs);
        std::copy(text.begin(), text.end(), typed.text.begin());
        typed.code = code;
        return typed;
    }

   private:
    SilentTerminal terminal_;
    SystemClock clock_;
    SystemMemory memory_;
    Console console_;
    MatchSession session_;
    MatchClock match_clock_{session_, MatchKind{false, false}};
};

Figures measure_candidate_list(const Condition& condition, const CodeSet& set, int samples,
                               int games) {
    Figures figures;
    GameRig rig(condition);
    VariableAnswer answer;
    std::vector<double> builds;
    for (int sample = 0; sample < samples; ++sample) {
        const auto start = std::chrono::steady_clock::now();
        if (prepare_variable_answer(rig.session(), rig.match_clock(), answer) != Preparation::Ready)
            return figures;
        builds.push_back(seconds_since(start));
    }
    figures.build_seconds = median(builds);
    figures.codes = answer.candidate_count();
    const Code first_try = tries_of_game(set, 0).front();
    figures.pass_seconds = median_seconds_per_call([&] { answer.classify(first_try); }, samples);

    std::vector<double> filters;
    for (int game = 0; game < games; ++game) {
        if (game > 0 &&
            prepare_variable_answer(rig.session(), rig.match_clock(), answer) != Preparation::Ready)
            return figures;
        std::vector<TryRecord> earlier;
        for (const Code& try_code : tries_of_game(set, game)) {
            const TypedTry typed = rig.typed(try_code);
            Response response;
            if (const auto known = answer.known_answer(typed, earlier)) {
                response = *known;
            } else {
                const ClassTable classes = answer.classify(try_code);
                response = choose_variable_answer(classes, answer.responses());
                const auto start = std::chrono::steady_clock::now();
                answer.narrow(try_code, response);
                if (earlier.empty()) filters.push_back(seconds_since(start));
            }
            figures.signature.add(response);
            if (response.p == set.code_length) break;
            earlier.push_back(
                TryRecord{0, typed.text, response.p, static_cast<std::uint8_t>(response.z())});
        }
        answer.release();
        figures.signature.add(0xFF);
    }
    figures.filter_seconds = median(filters);
    return figures;
}

Figures measure_reference(const CodeSet& set, int samples, int games) {
    Figures figures;
    std::vector<double> builds;
    for (int sample = 0; sample < samples; ++sample) {
        const auto start = std::chrono::steady_clock::now();
        ReferenceEncoder reference(set);
        builds.push_back(seconds_since(start));
        figures.codes = reference.size();
        if (sample == 0) {
            const Code first_try = tries_of_game(set, 0).front();
            figures.pass_seconds =
                median_seconds_per_call([&] { reference.classify(first_try); }, samples);
        }
    }
    figures.build_seconds = median(builds);

    for (int game = 0; game < games; ++game) {
        ReferenceEncoder reference(set);
        for (const Code& try_code : tries_of_game(set, game)) {
            const Response response = reference.answer(try_code);
            figures.signature.add(response);
            if (response.p == set.code_length) break;
        }
        figures.signature.add(0xFF);
    }
    return figures;
}

}  // namespace

bool run_encoder_bench(bool quick) {
    const int samples = quick ? 3 : 7;
    const int games = quick ? 2 : 6;
    bool all_equal = true;
    for (const Condition& condition : kConditions) {
        const SignRing ring(condition.first_sign, condition.last_sign);
        const CodeSet set{ring.set_size(), condition.code_length, condition.repetition};
        const Figures list = measure_candidate_list(condition, set, samples, games);
        const Figures reference = measure_reference(set, samples, games);
        const bool equal =
            list.signature.hash == reference.signature.hash && list.codes == reference.codes;
        all_equal = all_equal && equal;
        std::printf(
            "encoder %d over %2d signs %-15s codes %8llu | build %7.4f s, ref %7.4f s | pass %9.6f "
            "s "
            "= %.3g/s, ref %9.6f s = %.3g/s | ratio %6.1f | filter %9.6f s | signature %016llx, "
            "ref %016llx %s\n",
            condition.code_length, set.set_size,
            condition.repetition ? "with repetition" : "no repetition",
            static_cast<unsigned long long>(list.codes), list.build_seconds,
            reference.build_seconds, list.pass_seconds,
            static_cast<double>(list.codes) / list.pass_seconds, reference.pass_seconds,
            static_cast<double>(reference.codes) / reference.pass_seconds,
            reference.pass_seconds / list.pass_seconds, list.filter_seconds,
            static_cast<unsigned long long>(list.signature.hash),
            static_cast<unsigned long long>(reference.signature.hash),
            equal ? "equal" : "DIFFERENT");
    }
    return all_equal;
}
