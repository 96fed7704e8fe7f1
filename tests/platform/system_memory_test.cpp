#include "platform/system_memory.hpp"

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>

#include "support/temp_folder.hpp"

namespace {

constexpr std::uint64_t kMiB = std::uint64_t{1} << 20;

// /proc and /sys/fs/cgroup laid out in a folder of the test's own.
class FakeSystemFiles {
public:
    // MemAvailable of 8 GiB unless a test says otherwise.
    FakeSystemFiles() { write("proc/meminfo", meminfo(8192 * 1024)); }

    static std::string meminfo(std::uint64_t available_kibibytes) {
        return "MemTotal:       16318412 kB\nMemFree:         1024 kB\nMemAvailable:   " +
               std::to_string(available_kibibytes) + " kB\nBuffers:          31944 kB\n";
    }

    void write(const std::filesystem::path& relative, std::string_view text) const {
        const std::filesystem::path file = folder_.path() / relative;
        std::filesystem::create_directories(file.parent_path());
        std::ofstream(file) << text;
    }
    void remove(const std::filesystem::path& relative) const {
        std::filesystem::remove(folder_.path() / relative);
    }
    void make_folder(const std::filesystem::path& relative) const {
        std::filesystem::create_directories(folder_.path() / relative);
    }
    // Limit and usage of a v2 group, in MiB; "max" for no limit.
    void v2_group(const std::string& group, const std::string& limit_mib, std::uint64_t used_mib) const {
        write("cgroup" + group + "/memory.max",
              limit_mib == "max" ? "max\n" : std::to_string(std::stoull(limit_mib) * kMiB) + "\n");
        write("cgroup" + group + "/memory.current", std::to_string(used_mib * kMiB) + "\n");
    }

    std::uint64_t available() const {
        return available_memory_bytes(MemoryFileRoots{folder_.path() / "proc", folder_.path() / "cgroup"});
    }

private:
    // Several may live side by side in one test; each needs a folder of its own.
    inline static int made_ = 0;
    TempFolder folder_{"memory-probe-" + std::to_string(++made_)};
};

TEST(SystemMemory, MemAvailableStandsAloneWhenNoGroupSetsALimit) {
    struct Case {
        std::string_view name;
        std::string_view cgroup_list;  // empty: no /proc/self/cgroup
        std::string_view file;
        std::string_view limit;
    };
    const Case cases[] = {
        {"no cgroup file", "", "", ""},
        {"v2 max", "0::/game.scope\n", "cgroup/game.scope/memory.max", "max\n"},
        {"v1 unlimited", "4:memory:/game\n", "cgroup/memory/game/memory.limit_in_bytes",
         "9223372036854771712\n"},
        {"v2 beyond any machine", "0::/game.scope\n", "cgroup/game.scope/memory.max",
         "4611686018427387904\n"},
        {"limit of another controller", "3:pids:/game\n", "cgroup/pids/game/memory.limit_in_bytes",
         "1048576\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FakeSystemFiles files;
        if (!c.cgroup_list.empty()) files.write("proc/self/cgroup", c.cgroup_list);
        if (!c.file.empty()) files.write(c.file, c.limit);
        EXPECT_EQ(files.available(), 8192 * kMiB);
    }
}

TEST(SystemMemory, AVersion2LimitLeavesWhatItsGroupDoesNotUseIfThatIsLess) {
    struct Case {
        std::string_view name;
        std::string limit_mib;
        std::uint64_t used_mib;
        std::uint64_t expected_mib;
    };
    const Case cases[] = {
        {"limit below MemAvailable", "1024", 300, 724},
        {"limit leaves exactly MemAvailable", "9000", 808, 8192},
        {"limit leaves more than MemAvailable", "65536", 300, 8192},
        {"usage at the limit", "1024", 1024, 0},
        {"usage beyond the limit", "1024", 1100, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FakeSystemFiles files;
        files.write("proc/self/cgroup", "0::/user.slice/game.scope\n");
        files.v2_group("/user.slice/game.scope", c.limit_mib, c.used_mib);
        EXPECT_EQ(files.available(), c.expected_mib * kMiB);
    }
}

TEST(SystemMemory, PageCacheTheGroupCouldDropCountsAsRoom) {
    FakeSystemFiles v2;
    v2.write("proc/self/cgroup", "0::/game.scope\n");
    v2.v2_group("/game.scope", "1024", 1000);
    v2.write("cgroup/game.scope/memory.stat",
             "anon 104857600\nfile 838860800\nactive_file 12582912\ninactive_file 524288000\n");
    EXPECT_EQ(v2.available(), (24 + 500) * kMiB);

    // v1 lists the group's own inactive_file before the hierarchy's total, which is the one
    // its usage matches.
    FakeSystemFiles v1;
    v1.write("proc/self/cgroup", "4:memory:/game\n");
    v1.write("cgroup/memory/game/memory.limit_in_bytes", std::to_string(1024 * kMiB));
    v1.write("cgroup/memory/game/memory.usage_in_bytes", std::to_string(1000 * kMiB));
    v1.write("cgroup/memory/game/memory.stat",
             "inactive_file 1048576\ntotal_inactive_file " + std::to_string(200 * kMiB) + "\n");
    EXPECT_EQ(v1.available(), 224 * kMiB);

    // Cache beyond the usage cannot make more than the whole limit.
    FakeSystemFiles odd;
    odd.write("proc/self/cgroup", "0::/game.scope\n");
    odd.v2_group("/game.scope", "1024", 100);
    odd.write("cgroup/game.scope/memory.stat", "inactive_file " + std::to_string(400 * kMiB) + "\n");
    EXPECT_EQ(odd.available(), 1024 * kMiB);
}

TEST(SystemMemory, AVersion1LimitIsReadWhereItsControllerIsMounted) {
    FakeSystemFiles own_mount;
    own_mount.write("proc/self/cgroup",
                    "12:pids:/docker/abc\n4:memory:/docker/abc\n3:cpu,cpuacct:/docker/abc\n0::/\n");
    own_mount.write("cgroup/memory/docker/abc/memory.limit_in_bytes", "2147483648\n");
    own_mount.write("cgroup/memory/docker/abc/memory.usage_in_bytes", "536870912\n");
    EXPECT_EQ(own_mount.available(), 1536 * kMiB);

    FakeSystemFiles shared_mount;
    shared_mount.write("proc/self/cgroup", "5:cpu,memory:/game\n");
    shared_mount.write("cgroup/cpu,memory/game/memory.limit_in_bytes", "2147483648\n");
    shared_mount.write("cgroup/cpu,memory/game/memory.usage_in_bytes", "0\n");
    EXPECT_EQ(shared_mount.available(), 2048 * kMiB);
}

TEST(SystemMemory, TheTightestLimitOfTheGroupAndThoseAboveItCounts) {
    // The slice above the process's group holds it to less than its own limit.
    FakeSystemFiles parent_tighter;
    parent_tighter.write("proc/self/cgroup", "0::/games.slice/game.scope\n");
    parent_tighter.v2_group("/games.slice", "512", 112);
    parent_tighter.v2_group("/games.slice/game.scope", "max", 100);
    EXPECT_EQ(parent_tighter.available(), 400 * kMiB);

    FakeSystemFiles own_tighter;
    own_tighter.write("proc/self/cgroup", "0::/games.slice/game.scope\n");
    own_tighter.v2_group("/games.slice", "4096", 112);
    own_tighter.v2_group("/games.slice/game.scope", "256", 100);
    EXPECT_EQ(own_tighter.available(), 156 * kMiB);

    // Inside a container the mount point is the container's group; the listed path is the
    // host's and does not exist below it.
    FakeSystemFiles container;
    container.write("proc/self/cgroup", "0::/system.slice/docker-abc.scope\n");
    container.v2_group("", "768", 256);
    EXPECT_EQ(container.available(), 512 * kMiB);

    // A host with both hierarchies: the smaller room counts.
    FakeSystemFiles hybrid;
    hybrid.write("proc/self/cgroup", "4:memory:/game\n0::/game\n");
    hybrid.write("cgroup/memory/game/memory.limit_in_bytes", std::to_string(3000 * kMiB));
    hybrid.write("cgroup/memory/game/memory.usage_in_bytes", "0");
    hybrid.v2_group("/game", "2000", 0);
    EXPECT_EQ(hybrid.available(), 2000 * kMiB);
}

TEST(SystemMemory, WhatCannotBeReadSetsNoLimit) {
    FakeSystemFiles garbage_limit;
    garbage_limit.write("proc/self/cgroup", "0::/game.scope\n");
    garbage_limit.write("cgroup/game.scope/memory.max", "plenty\n");
    EXPECT_EQ(garbage_limit.available(), 8192 * kMiB);

    FakeSystemFiles folder_for_a_limit;
    folder_for_a_limit.write("proc/self/cgroup", "0::/game.scope\n");
    folder_for_a_limit.make_folder("cgroup/game.scope/memory.max");
    EXPECT_EQ(folder_for_a_limit.available(), 8192 * kMiB);

    FakeSystemFiles garbled_list;
    garbled_list.write("proc/self/cgroup", "no colons here\n4:memory\n");
    garbled_list.write("cgroup/memory/memory.limit_in_bytes", std::to_string(kMiB));
    EXPECT_EQ(garbled_list.available(), 8192 * kMiB);

    // A limit without its usage still bounds the room.
    FakeSystemFiles limit_alone;
    limit_alone.write("proc/self/cgroup", "0::/game.scope\n");
    limit_alone.write("cgroup/game.scope/memory.max", std::to_string(1024 * kMiB));
    EXPECT_EQ(limit_alone.available(), 1024 * kMiB);

    // Without MemAvailable the free pages of this machine stand in; a tight enough limit is
    // below them on any machine.
    for (const std::string_view meminfo : {"", "MemTotal: 16318412 kB\nMemAvailable: lots\n"}) {
        FakeSystemFiles no_estimate;
        if (meminfo.empty())
            no_estimate.remove("proc/meminfo");
        else
            no_estimate.write("proc/meminfo", meminfo);
        no_estimate.write("proc/self/cgroup", "0::/game.scope\n");
        no_estimate.v2_group("/game.scope", "2", 1);
        EXPECT_EQ(no_estimate.available(), kMiB);
    }
}

}  // namespace
