#pragma once

#include <cstdint>

// How much physical memory the program may still fill. Before building large tables the game
// asks this rather than letting the system kill it; tests stand in a size of their own.
class PhysicalMemory {
public:
    virtual ~PhysicalMemory() = default;

    // 0 when nothing can be found out.
    virtual std::uint64_t available_bytes() = 0;
};
