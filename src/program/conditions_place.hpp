#pragma once

#include <functional>
#include <optional>
#include <string>

// Where a run keeps its conditions. Beside the program when the file there or the program's
// folder is writable for the user, so a portable copy keeps working as it always has;
// otherwise in the user's configuration folder, with the file beside the program (a system-wide
// default) giving the starting values until the user has one of their own.
struct ConditionsPlace {
    // The file the run writes, and reads when it exists.
    std::string own;
    // The file read while `own` does not exist.
    std::string starting;
    // The folder of `own`, made at the first save; empty beside the program.
    std::string folder_to_make;

    static ConditionsPlace beside(const std::string& program_path);
};

// What the place depends on, read from the process or given by a test.
struct PlaceFacts {
    std::string program_path;
    std::optional<std::string> xdg_config_home;
    // Absolute, or empty when unknown.
    std::string home;
    std::function<bool(const std::string& path)> writable;
};

PlaceFacts facts_of_this_process(std::string program_path);

ConditionsPlace place_conditions(const PlaceFacts& facts);
