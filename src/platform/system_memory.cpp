#include "platform/system_memory.hpp"

#include <unistd.h>

#include <algorithm>
#include <charconv>
#include <fstream>
#include <optional>
#include <string>
#include <string_view>

namespace fs = std::filesystem;

namespace {

using Bytes = std::optional<std::uint64_t>;

// cgroup v1 writes "no limit" as nearly 2^63; no machine comes near this.
constexpr std::uint64_t kNoLimitFrom = std::uint64_t{1} << 60;

// The names one cgroup version gives the files the probe reads.
struct GroupFiles {
    std::string_view limit;
    std::string_view usage;
    // In memory.stat: page cache the kernel drops before it fails an allocation, which the
    // usage counts all the same.
    std::string_view reclaimable;
};
constexpr GroupFiles kVersion2{"memory.max", "memory.current", "inactive_file"};
constexpr GroupFiles kVersion1{"memory.limit_in_bytes", "memory.usage_in_bytes",
                               "total_inactive_file"};

Bytes leading_number(std::string_view text) {
    const auto begin = text.find_first_not_of(" \t");
    if (begin == std::string_view::npos) return std::nullopt;
    text.remove_prefix(begin);
    std::uint64_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc{}) return std::nullopt;
    return value;
}

Bytes number_in_file(const fs::path& file) {
    std::ifstream in(file);
    std::string line;
    if (!std::getline(in, line)) return std::nullopt;
    return leading_number(line);
}

// The number after `key` in a file of "key value" lines; meminfo puts a colon after its keys.
Bytes keyed_number(const fs::path& file, std::string_view key) {
    std::ifstream in(file);
    for (std::string line; std::getline(in, line);) {
        const std::string_view text(line);
        if (text.size() <= key.size() || !text.starts_with(key)) continue;
        const char after = text[key.size()];
        if (after == ':' || after == ' ' || after == '\t')
            return leading_number(text.substr(key.size() + 1));
    }
    return std::nullopt;
}

Bytes smaller(Bytes a, Bytes b) {
    if (!a) return b;
    if (!b) return a;
    return std::min(*a, *b);
}

// MemAvailable also counts the page cache that could be dropped, which free pages do not.
Bytes memory_of_machine(const fs::path& proc_root) {
    if (const Bytes kibibytes = keyed_number(proc_root / "meminfo", "MemAvailable"))
        return *kibibytes * 1024;
    const long pages = sysconf(_SC_AVPHYS_PAGES);
    const long page_size = sysconf(_SC_PAGESIZE);
    if (pages <= 0 || page_size <= 0) return std::nullopt;
    return static_cast<std::uint64_t>(pages) * static_cast<std::uint64_t>(page_size);
}

// What one group's limit leaves; nothing when it sets no limit or the limit cannot be read.
Bytes room_in_group(const fs::path& group, const GroupFiles& files) {
    const Bytes limit = number_in_file(group / files.limit);
    if (!limit || *limit >= kNoLimitFrom) return std::nullopt;
    std::uint64_t used = number_in_file(group / files.usage).value_or(0);
    used -= std::min(used, keyed_number(group / "memory.stat", files.reclaimable).value_or(0));
    return *limit > used ? *limit - used : 0;
}

// A group's limit binds everything below it, so the groups above the process's own count too.
// The walk ends at the mount point, which inside a container is often the container's group
// even where the listed path does not exist below it.
Bytes tightest_room(const fs::path& mount, const fs::path& group, const GroupFiles& files) {
    Bytes tightest;
    for (fs::path relative = group.relative_path();; relative = relative.parent_path()) {
        tightest = smaller(tightest, room_in_group(mount / relative, files));
        if (relative.empty()) return tightest;
    }
}

bool lists_memory_controller(std::string_view controllers) {
    while (!controllers.empty()) {
        const auto comma = controllers.find(',');
        if (controllers.substr(0, comma) == "memory") return true;
        if (comma == std::string_view::npos) break;
        controllers.remove_prefix(comma + 1);
    }
    return false;
}

// /proc/self/cgroup has one "id:controllers:path" line per hierarchy: "0::path" for the v2
// one, the memory controller's own line for v1, whose hierarchy is mounted under its name.
Bytes room_under_cgroup_limits(const MemoryFileRoots& roots) {
    std::ifstream in(roots.proc / "self" / "cgroup");
    Bytes tightest;
    for (std::string line; std::getline(in, line);) {
        const auto first = line.find(':');
        if (first == std::string::npos) continue;
        const auto second = line.find(':', first + 1);
        if (second == std::string::npos) continue;
        const std::string_view id = std::string_view(line).substr(0, first);
        const std::string_view controllers =
            std::string_view(line).substr(first + 1, second - first - 1);
        const fs::path group = line.substr(second + 1);
        if (id == "0" && controllers.empty())
            tightest = smaller(tightest, tightest_room(roots.cgroup, group, kVersion2));
        else if (lists_memory_controller(controllers))
            tightest =
                smaller(tightest, tightest_room(roots.cgroup / controllers, group, kVersion1));
    }
    return tightest;
}

}  // namespace

std::uint64_t available_memory_bytes(const MemoryFileRoots& roots) {
    return smaller(memory_of_machine(roots.proc), room_under_cgroup_limits(roots)).value_or(0);
}

std::uint64_t SystemMemory::available_bytes() { return available_memory_bytes(MemoryFileRoots{}); }
