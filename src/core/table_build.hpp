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
};

// How the build came out. TooLargeForMachine: more than the memory the machine has left;
// NoRoom: more entries than can be counted or numbered, or an allocation failed.
enum class BuildResult { Built, Abandoned, NoRoom, TooLargeForMachine };
