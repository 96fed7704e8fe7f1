// The built game's command line, with pipes and files where a terminal would be.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <pty.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>
#include <vector>

namespace {

struct GameRun {
    int status = -1;
    std::string out;
    std::string err;
};

std::string read_all(int fd) {
    std::string text;
    char buffer[4096];
    for (ssize_t got; (got = read(fd, buffer, sizeof buffer)) > 0;) text.append(buffer, static_cast<std::size_t>(got));
    close(fd);
    return text;
}

// Runs the game with the arguments; standard input from `input_fd` (or /dev/null), standard
// output to a pipe unless `output_fd` is given.
GameRun run_game(const std::vector<std::string>& arguments, int input_fd = -1, int output_fd = -1) {
    int out[2], err[2];
    if (pipe(out) != 0 || pipe(err) != 0) return {};
    const pid_t pid = fork();
    if (pid == 0) {
        const int input = input_fd >= 0 ? input_fd : open("/dev/null", O_RDONLY);
        dup2(input, 0);
        dup2(output_fd >= 0 ? output_fd : out[1], 1);
        dup2(err[1], 2);
        std::vector<char*> argv{const_cast<char*>(MIRELVANTHOQUE_GAME_PATH)};
        for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
        argv.push_back(nullptr);
        alarm(10);
        execv(argv[0], argv.data());
        _exit(127);
    }
    close(out[1]);
    close(err[1]);
    GameRun run;
    run.out = read_all(out[0]);
    run.err = read_all(err[0]);
    int status = 0;
    waitpid(pid, &status, 0);
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

std::string first_line(const std::string& text) { return text.substr(0, text.find('\n')); }

TEST(CommandLineOfTheGame, EachArgumentGivesItsStatusOnItsStream) {
    const GameRun help = run_game({"--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_EQ(first_line(help.out), "Usage: mirelvanthoque [-h | --help | -V | --version]");
    EXPECT_NE(help.out.find("Settings are kept in\n  /"), std::string::npos) << help.out;
    EXPECT_EQ(help.err, "");
    EXPECT_EQ(run_game({"-h"}).out, help.out);

    const GameRun version = run_game({"-V"});
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.out, std::string("mirelvanthoque ") + MIRELVANTHOQUE_VERSION + "\n");
    EXPECT_EQ(version.err, "");
    EXPECT_EQ(run_game({"--version"}).out, version.out);

    for (const std::vector<std::string>& wrong : {std::vector<std::string>{"--halp"},
                                                  std::vector<std::string>{"game"},
                                                  std::vector<std::string>{"-V", "-h"}}) {
        const GameRun misuse = run_game(wrong);
        EXPECT_EQ(misuse.status, 2) << wrong.front();
        EXPECT_EQ(misuse.out, "");
        EXPECT_TRUE(misuse.err.starts_with("mirelvanthoque: ")) << misuse.err;
        EXPECT_NE(misuse.err.find("\n\n" + help.out), std::string::npos) << misuse.err;
    }
}

TEST(CommandLineOfTheGame, WithoutATerminalNothingIsDrawnAndTheStatusIsOne) {
    const std::string message =
        "mirelvanthoque: needs an interactive terminal: standard input and output must both be one\n";
    const GameRun from_null = run_game({});
    EXPECT_EQ(from_null.status, 1);
    EXPECT_EQ(from_null.out, "");
    EXPECT_EQ(from_null.err, message);

    // A terminal to read from but a pipe to write to is no better.
    int master = -1, slave = -1;
    ASSERT_EQ(openpty(&master, &slave, nullptr, nullptr, nullptr), 0);
    const GameRun to_pipe = run_game({}, slave);
    close(slave);
    close(master);
    EXPECT_EQ(to_pipe.status, 1);
    EXPECT_EQ(to_pipe.out, "");
    EXPECT_EQ(to_pipe.err, message);
}

TEST(CommandLineOfTheGame, AHelpThatCannotBeWrittenFails) {
    const int full = open("/dev/full", O_WRONLY);
    ASSERT_GE(full, 0);
    const GameRun run = run_game({"--help"}, -1, full);
    close(full);
    EXPECT_EQ(run.status, 1);
}

}  // namespace
