// The home of every performance figure of the game. Run without arguments for all of them.
#include <cstdio>
#include <cstring>

#include "encoder_bench.hpp"
#include "guesser_bench.hpp"
#include "idle_clock_wait.hpp"

int main(int argc, char** argv) {
    const bool all = argc < 2;
    int status = 0;
    if (all || std::strcmp(argv[1], "idle") == 0) {
        constexpr int kSeconds = 10;
        const double cpu = idle_clock_wait_cpu_seconds(kSeconds);
        std::printf("idle clock wait: %.3f s CPU over %d s of waiting\n", cpu, kSeconds);
    }
    if (all || std::strcmp(argv[1], "encoder") == 0) {
        const bool quick = argc > 2 && std::strcmp(argv[2], "--quick") == 0;
        if (!run_encoder_bench(quick)) status = 1;
    }
    if (all || std::strcmp(argv[1], "guesser") == 0) {
        const bool quick = argc > 2 && std::strcmp(argv[2], "--quick") == 0;
        if (!run_guesser_bench(quick)) status = 1;
    }
    return status;
}
