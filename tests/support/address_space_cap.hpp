#pragma once

#if !defined(_WIN32)
#include <sys/resource.h>
#include <unistd.h>
#endif

#include <algorithm>
#include <cstdint>
#include <fstream>

// The sanitizers' allocators end the process on a failed allocation instead of failing it.
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
inline constexpr bool kAllocationFailureEndsTheProcess = true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(thread_sanitizer)
inline constexpr bool kAllocationFailureEndsTheProcess = true;
#else
inline constexpr bool kAllocationFailureEndsTheProcess = false;
#endif
#else
inline constexpr bool kAllocationFailureEndsTheProcess = false;
#endif

#if defined(_WIN32)
// Windows caps a process's memory only through a job, which the tests do not set up.
inline constexpr bool kAddressSpaceCanBeCapped = false;
class AddressSpaceCap {
public:
    explicit AddressSpaceCap(std::uint64_t) {}
    bool applied() const { return false; }
};
#else
inline constexpr bool kAddressSpaceCanBeCapped = true;

// Lets the process map only a little more than it has mapped already, so that a large
// allocation fails on any machine as it would on a small one. The old limit comes back at the end.
class AddressSpaceCap {
public:
    explicit AddressSpaceCap(std::uint64_t headroom) {
        getrlimit(RLIMIT_AS, &saved_);
        rlimit capped = saved_;
        capped.rlim_cur = std::min<rlim_t>(mapped_bytes() + headroom, saved_.rlim_max);
        applied_ = setrlimit(RLIMIT_AS, &capped) == 0;
    }
    ~AddressSpaceCap() { setrlimit(RLIMIT_AS, &saved_); }
    AddressSpaceCap(const AddressSpaceCap&) = delete;
    AddressSpaceCap& operator=(const AddressSpaceCap&) = delete;

    bool applied() const { return applied_; }

private:
    static std::uint64_t mapped_bytes() {
        std::ifstream statm("/proc/self/statm");
        std::uint64_t pages = 0;
        statm >> pages;
        return pages * static_cast<std::uint64_t>(sysconf(_SC_PAGESIZE));
    }

    rlimit saved_{};
    bool applied_ = false;
};
#endif
