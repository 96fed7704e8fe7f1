#pragma once

#include <cstdint>

// Physical memory the program may still fill without the system having to kill something:
// the kernel's MemAvailable estimate, or the free physical pages where that is not reported.
// 0 when neither can be read.
std::uint64_t available_memory_bytes();
