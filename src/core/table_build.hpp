#pragma once

#include <cstdint>
#include <functional>

// What the build of one of the computer's tables reports and asks while it works; a member
// left empty is not called.
struct BuildHooks {
    // Asked before every 16th entry, the first included; true breaks the build off.
    std::function<bool()> abandon_requested;
    // Before the first entry and after every 256 more: the entries made so far.
    std::function<void(std::uint64_t made)> heartbeat;
    // Each time the tenths done (entries made * 10 div entries) grow.
    std::function<void(int tenths)> progress;

    bool asks_to_abandon() const { return abandon_requested && abandon_requested(); }
};

// Calls a build's hooks at the pace they promise, over `entries` entries in all.
class BuildPacer {
public:
    BuildPacer(const BuildHooks& hooks, std::uint64_t entries)
        : hooks_(hooks), entries_(entries), next_tenth_at_((entries + 9) / 10) {}

    // Before entry `made`, counted from 0: true when the build is to break off.
    bool before_entry(std::uint64_t made) const {
        if (made % kHeartbeatEntries == 0 && hooks_.heartbeat) hooks_.heartbeat(made);
        return made % kEntriesPerPoll == 0 && hooks_.asks_to_abandon();
    }
    // Once `made` entries are done.
    void after_entry(std::uint64_t made) {
        if (made < next_tenth_at_) return;
        const int tenths = static_cast<int>(made * 10 / entries_);
        next_tenth_at_ = ((static_cast<std::uint64_t>(tenths) + 1) * entries_ + 9) / 10;
        if (hooks_.progress) hooks_.progress(tenths);
    }

private:
    static constexpr std::uint64_t kHeartbeatEntries = 256;
    // Reading the clock to throttle a keyboard poll costs more than making an entry; sixteen
    // entries take well under a microsecond, so Esc acts as promptly.
    static constexpr std::uint64_t kEntriesPerPoll = 16;

    const BuildHooks& hooks_;
    std::uint64_t entries_;
    std::uint64_t next_tenth_at_;
};

// How the build came out. TooLargeForMachine: more than the memory the machine has left;
// NoRoom: more entries than can be counted or numbered, or an allocation failed.
enum class BuildResult { Built, Abandoned, NoRoom, TooLargeForMachine };
