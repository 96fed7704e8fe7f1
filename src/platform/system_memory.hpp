#pragma once

#include <cstdint>
#include <filesystem>

#include "platform/physical_memory.hpp"

// Where the probe reads: the proc file system and the mount point of the cgroup file systems.
struct MemoryFileRoots {
    std::filesystem::path proc = "/proc";
    std::filesystem::path cgroup = "/sys/fs/cgroup";
};

// The smaller of the kernel's MemAvailable estimate (the free physical pages where that is not
// reported) and what the memory limits of the process's cgroup and the cgroups above it leave:
// cgroup v2 memory.max, v1 memory.limit_in_bytes, less what the group uses beyond page cache it
// could drop. "max" or a limit beyond any machine means none. 0 when nothing can be read.
std::uint64_t available_memory_bytes(const MemoryFileRoots& roots);

// The machine the game runs on.
class SystemMemory : public PhysicalMemory {
public:
    std::uint64_t available_bytes() override;
};
