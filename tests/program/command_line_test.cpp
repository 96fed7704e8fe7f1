#include "program/command_line.hpp"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <string_view>
#include <vector>

namespace {

const ConditionsPlace kBeside = ConditionsPlace::beside("/opt/mirelvanthoque/mirelvanthoque");
const ConditionsPlace kUsers{"/home/anna/.config/mirelvanthoque/BEDINGUN.DAT",
                             "/usr/games/BEDINGUN.DAT", "/home/anna/.config/mirelvanthoque"};

struct Answer {
    std::optional<int> status;
    std::string out;
    std::string err;
};

Answer answer(std::vector<std::string_view> arguments, bool interactive = true,
              const ConditionsPlace& place = kBeside) {
    std::ostringstream out, err;
    const auto status = answer_command_line(read_command_line(arguments), interactive, place, out, err);
    return {status, out.str(), err.str()};
}

TEST(CommandLine, EachArgumentHasItsStatusAndStream) {
    struct Case {
        std::vector<std::string_view> arguments;
        bool interactive;
        std::optional<int> status;
        bool to_out;
        std::string first_line;
    };
    const std::string usage = "Usage: mirelvanthoque [-h | --help | -V | --version]";
    const std::string version = std::string("mirelvanthoque ") + MIRELVANTHOQUE_VERSION;
    const std::string no_terminal =
        "mirelvanthoque: needs an interactive terminal: standard input and output must both be one";
    const std::vector<Case> cases = {
        {{}, true, std::nullopt, false, ""},
        {{}, false, 1, false, no_terminal},
        {{"-h"}, true, 0, true, usage},
        {{"--help"}, false, 0, true, usage},
        {{"-V"}, true, 0, true, version},
        {{"--version"}, false, 0, true, version},
        {{"-x"}, true, 2, false, "mirelvanthoque: unknown option '-x'"},
        {{"--helpme"}, true, 2, false, "mirelvanthoque: unknown option '--helpme'"},
        {{"--"}, true, 2, false, "mirelvanthoque: unknown option '--'"},
        {{"-hV"}, true, 2, false, "mirelvanthoque: unknown option '-hV'"},
        {{"-H"}, true, 2, false, "mirelvanthoque: unknown option '-H'"},
        {{"-"}, true, 2, false, "mirelvanthoque: unexpected argument '-'"},
        {{"play"}, false, 2, false, "mirelvanthoque: unexpected argument 'play'"},
        {{""}, true, 2, false, "mirelvanthoque: unexpected argument ''"},
        {{"-h", "-V"}, true, 2, false, "mirelvanthoque: one option at most, not 2"},
        {{"--help", "--help", "x"}, true, 2, false, "mirelvanthoque: one option at most, not 3"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.arguments.empty() ? std::string("(none)") : std::string(c.arguments.front()));
        const Answer got = answer(c.arguments, c.interactive);
        EXPECT_EQ(got.status, c.status);
        const std::string& written = c.to_out ? got.out : got.err;
        EXPECT_EQ(written.substr(0, written.find('\n')), c.first_line);
        EXPECT_EQ(c.to_out ? got.err : got.out, "");
    }
}

TEST(CommandLine, AMisuseIsFollowedByTheUsage) {
    const Answer got = answer({"--colour"});
    EXPECT_EQ(got.err, "mirelvanthoque: unknown option '--colour'\n\n" + usage_text(kBeside));
}

TEST(CommandLine, TheHelpNamesTheConditionsFileOfThisUser) {
    const std::string beside = answer({"--help"}).out;
    EXPECT_TRUE(beside.ends_with("Settings are kept in\n  /opt/mirelvanthoque/BEDINGUN.DAT\n")) << beside;
    const std::string users = answer({"--help"}, true, kUsers).out;
    EXPECT_TRUE(users.ends_with("Settings are kept in\n"
                                "  /home/anna/.config/mirelvanthoque/BEDINGUN.DAT\n"
                                "which, until it exists, takes its first values from\n"
                                "  /usr/games/BEDINGUN.DAT\n"))
        << users;
}

TEST(CommandLine, AnAnswerThatCannotBeWrittenIsNoSuccess) {
    std::ostringstream out, err;
    out.setstate(std::ios::badbit);
    const CommandLine help{CommandLine::Request::Help, {}};
    EXPECT_EQ(answer_command_line(help, true, kBeside, out, err), 1);
    const CommandLine version{CommandLine::Request::Version, {}};
    EXPECT_EQ(answer_command_line(version, true, kBeside, out, err), 1);
}

TEST(CommandLine, TheHelpKeepsWithinTheTerminalsWidth) {
    std::istringstream lines(usage_text(kUsers));
    for (std::string line; std::getline(lines, line);) EXPECT_LE(line.size(), 80u) << line;
}

}  // namespace
