#pragma once

#include <gtest/gtest.h>

#include <grp.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <functional>
#include <set>
#include <string>

// Tests of files and permissions: another user to own things and to run as, and children to
// run pieces of a test in.
// For tests that change owners or run as nobody: skipped unless run as root.
#define REQUIRE_ROOT()                                    \
    do {                                                  \
        if (geteuid() != 0) GTEST_SKIP() << "needs root"; \
    } while (false)

inline constexpr uid_t kNobody = 65534;
inline constexpr gid_t kNobodyGroup = 65534;

// Takes on the identity of nobody, supplementary groups dropped; false when it cannot.
inline bool become_nobody() {
    return (getuid() != 0 || setgroups(0, nullptr) == 0) && setgid(kNobodyGroup) == 0 &&
           setuid(kNobody) == 0;
}

// Runs a piece of the test in a child process, for limits and identities the test itself must
// not take on. A child still running after `seconds` is ended by SIGALRM. Returns the child's
// exit code, or -1 when it did not exit.
inline int in_child(const std::function<int()>& body, unsigned seconds = 10) {
    const pid_t pid = fork();
    if (pid == 0) {
        alarm(seconds);
        _exit(body());
    }
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// The names in a folder.
inline std::set<std::string> entries_of(const std::filesystem::path& folder) {
    std::set<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        names.insert(entry.path().filename());
    return names;
}

inline struct stat link_status(const std::string& path) {
    struct stat status {};
    lstat(path.c_str(), &status);
    return status;
}
