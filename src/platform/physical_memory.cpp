#include "platform/physical_memory.hpp"

#include <unistd.h>

#include <fstream>
#include <sstream>
#include <string>
#include <string_view>

namespace {

// MemAvailable also counts the page cache that could be dropped, which free pages do not.
bool read_mem_available(std::uint64_t& bytes) {
    std::ifstream meminfo("/proc/meminfo");
    constexpr std::string_view kKey = "MemAvailable:";
    for (std::string line; std::getline(meminfo, line);) {
        if (line.compare(0, kKey.size(), kKey) != 0) continue;
        std::istringstream value(line.substr(kKey.size()));
        std::uint64_t kibibytes = 0;
        if (!(value >> kibibytes)) return false;
        bytes = kibibytes * 1024;
        return true;
    }
    return false;
}

}  // namespace

std::uint64_t available_memory_bytes() {
    std::uint64_t bytes = 0;
    if (read_mem_available(bytes)) return bytes;
    const long pages = sysconf(_SC_AVPHYS_PAGES);
    const long page_size = sysconf(_SC_PAGESIZE);
    if (pages <= 0 || page_size <= 0) return 0;
    return static_cast<std::uint64_t>(pages) * static_cast<std::uint64_t>(page_size);
}
