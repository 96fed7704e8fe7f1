#include "core/code_counts.hpp"

int effective_sign_count(int set_size, int code_length, bool vacant) {
    return vacant && set_size == 2 && code_length > 3 ? set_size + 1 : set_size;
}

std::uint64_t candidate_record_size(int code_length, int effective_signs) {
    const std::uint64_t bytes = static_cast<std::uint64_t>(code_length + 24 + effective_signs);
    return (bytes + 31) / 32 * 32;
}

std::uint64_t code_count(int set_size, int code_length, bool repetition) {
    std::uint64_t count = 1;
    for (int i = 0; i < code_length; ++i) {
        const int choices = repetition ? set_size : set_size - i;
        count *= static_cast<std::uint64_t>(choices > 0 ? choices : 0);
    }
    return count;
}
