#include "program/command_line.hpp"

#include <ostream>

namespace {

constexpr std::string_view kProgramName = "mirelvanthoque";

constexpr std::string_view kUsageHead =
    "Usage: mirelvanthoque [-h | --help | -V | --version]\n"
    "\n"
    "A code-breaking game for a text terminal of 80 x 25, in German and in English.\n"
    "One side sets a code of 2 to 9 signs, the other tries codes and is answered with\n"
    "P (right sign, right place) and Z (further signs in common; S on the English\n"
    "screens). Either side may be a person or the computer.\n"
    "Without an option the game starts; it needs an interactive terminal.\n"
    "\n"
    "Options:\n"
    "  -h, --help     print this help and exit\n"
    "  -V, --version  print the version and exit\n"
    "\n"
    "Settings are kept in\n";

}  // namespace

CommandLine read_command_line(std::span<const std::string_view> arguments) {
    using Request = CommandLine::Request;
    if (arguments.empty()) return {Request::Play, {}};
    if (arguments.size() > 1)
        return {Request::Misuse, "one option at most, not " + std::to_string(arguments.size())};
    const std::string_view argument = arguments.front();
    if (argument == "-h" || argument == "--help") return {Request::Help, {}};
    if (argument == "-V" || argument == "--version") return {Request::Version, {}};
    if (argument.starts_with('-') && argument.size() > 1)
        return {Request::Misuse, "unknown option '" + std::string(argument) + "'"};
    return {Request::Misuse, "unexpected argument '" + std::string(argument) + "'"};
}

std::string usage_text(const ConditionsPlace& place) {
    std::string text(kUsageHead);
    text += "  " + place.own + "\n";
    if (place.starting != place.own)
        text += "which, until it exists, takes its first values from\n  " + place.starting + "\n";
    return text;
}

std::string version_text() { return std::string(kProgramName) + " " + MIRELVANTHOQUE_VERSION + "\n"; }

std::optional<int> answer_command_line(const CommandLine& command, bool interactive,
                                       const ConditionsPlace& place, std::ostream& out,
                                       std::ostream& err) {
    using Request = CommandLine::Request;
    switch (command.request) {
    // An answer that could not be written (a full disk, a closed pipe) is no success.
    case Request::Help:
        out << usage_text(place) << std::flush;
        return out ? 0 : 1;
    case Request::Version:
        out << version_text() << std::flush;
        return out ? 0 : 1;
    case Request::Misuse:
        err << kProgramName << ": " << command.problem << "\n\n" << usage_text(place) << std::flush;
        return kExitMisuse;
    case Request::Play:
        break;
    }
    if (interactive) return std::nullopt;
    err << kProgramName << ": needs an interactive terminal: standard input and output must both be one\n"
        << std::flush;
    return kExitNoTerminal;
}
