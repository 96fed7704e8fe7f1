#pragma once

#include <cstdint>

#include "platform/physical_memory.hpp"

// Physical memory of the size a test chooses, whatever the machine has.
class FakeMemory : public PhysicalMemory {
public:
    // Room for every table the tests build unless they say otherwise.
    static constexpr std::uint64_t kRoomy = std::uint64_t{16} << 30;

    std::uint64_t available_bytes() override { return bytes_; }
    void set_available(std::uint64_t bytes) { bytes_ = bytes; }

private:
    std::uint64_t bytes_ = kRoomy;
};
