#pragma once

#include <iosfwd>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "program/conditions_place.hpp"

inline constexpr int kExitNoTerminal = 1;
inline constexpr int kExitMisuse = 2;

// What the command line asks for; `problem` says what is wrong with a misuse.
struct CommandLine {
    enum class Request { Play, Help, Version, Misuse };
    Request request = Request::Play;
    std::string problem;
};

// The arguments after the program's name.
CommandLine read_command_line(std::span<const std::string_view> arguments);

std::string usage_text(const ConditionsPlace& place);
std::string version_text();

// Answers every request but a game it can play: writes to `out` or `err` and gives the exit
// status. Nothing for a game on an interactive terminal, which the caller then starts.
std::optional<int> answer_command_line(const CommandLine& command, bool interactive,
                                       const ConditionsPlace& place, std::ostream& out,
                                       std::ostream& err);
