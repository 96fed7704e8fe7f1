// The home of every performance figure of the game. Run without arguments for all of them.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "encoder_bench.hpp"
#include "guesser/search_workers.hpp"
#include "guesser_bench.hpp"
#if !defined(_WIN32)
#include "idle_clock_wait.hpp"
#endif

namespace {

constexpr int kMostThreads = 256;

int usage() {
    std::fprintf(stderr,
                 "usage: mirelvanthoque-bench [idle | encoder | guesser] [--quick] [--threads N]\n"
                 "  --quick      fewer conditions and samples, as CI runs them\n"
                 "  --threads N  threads of the computer's search, 1 to %d (default: the hardware's, %d)\n",
                 kMostThreads, SearchWorkers::hardware_threads());
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    std::string mode = "all";
    bool quick = false;
    int threads = SearchWorkers::hardware_threads();
    for (int k = 1; k < argc; ++k) {
        const std::string argument = argv[k];
        if (argument == "--quick") {
            quick = true;
        } else if (argument == "--threads") {
            if (k + 1 >= argc) return usage();
            const std::string value = argv[++k];
            char* end = nullptr;
            const long count = std::strtol(value.c_str(), &end, 10);
            if (value.empty() || *end != '\0' || count < 1 || count > kMostThreads) return usage();
            threads = static_cast<int>(count);
        } else if (k == 1 && (argument == "idle" || argument == "encoder" || argument == "guesser")) {
            mode = argument;
        } else {
            return usage();
        }
    }
    const bool all = mode == "all";
    int status = 0;
    if (all || mode == "idle") {
#if defined(_WIN32)
        std::printf("idle clock wait: measured in a pseudo-terminal, which Windows has not\n");
#else
        constexpr int kSeconds = 10;
        const double cpu = idle_clock_wait_cpu_seconds(kSeconds);
        std::printf("idle clock wait: %.3f s CPU over %d s of waiting\n", cpu, kSeconds);
#endif
    }
    if ((all || mode == "encoder") && !run_encoder_bench(quick)) status = 1;
    if ((all || mode == "guesser") && !run_guesser_bench(quick, threads)) status = 1;
    return status;
}
