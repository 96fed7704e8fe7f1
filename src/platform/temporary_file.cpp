#include "platform/temporary_file.hpp"

#include <unistd.h>

#include <climits>
#include <csignal>
#include <cstring>

namespace {

char g_path[PATH_MAX];
// Set only while g_path holds a whole path, so a handler never reads one half written.
volatile std::sig_atomic_t g_tracked = 0;

}  // namespace

void track_temporary_file(const char* path) {
    g_tracked = 0;
    const std::size_t length = std::strlen(path);
    if (length >= sizeof g_path) return;
    std::memcpy(g_path, path, length + 1);
    g_tracked = 1;
}

void untrack_temporary_file() { g_tracked = 0; }

void remove_tracked_temporary_file() {
    if (!g_tracked) return;
    g_tracked = 0;
    unlink(g_path);
}
