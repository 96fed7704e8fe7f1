#include "platform/user_folders.hpp"

#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <vector>

std::optional<std::string> environment_value(const char* name) {
    const char* value = std::getenv(name);
    if (value == nullptr) return std::nullopt;
    return std::string(value);
}

bool is_absolute_path(const std::string& path) { return path.starts_with('/'); }

std::string home_folder() {
    if (const auto home = environment_value("HOME"); home && home->starts_with('/')) return *home;
    std::vector<char> buffer(4096);
    passwd entry{};
    passwd* found = nullptr;
    while (getpwuid_r(geteuid(), &entry, buffer.data(), buffer.size(), &found) == ERANGE)
        buffer.resize(buffer.size() * 2);
    if (found == nullptr || found->pw_dir == nullptr || found->pw_dir[0] != '/') return {};
    return found->pw_dir;
}

bool writable_by_user(const std::string& path) {
    return faccessat(AT_FDCWD, path.c_str(), W_OK, AT_EACCESS) == 0;
}

bool entry_exists(const std::string& path) {
    struct stat status;
    return lstat(path.c_str(), &status) == 0;
}

namespace {

bool is_folder(const std::string& path) {
    struct stat status;
    return stat(path.c_str(), &status) == 0 && S_ISDIR(status.st_mode);
}

}  // namespace

bool make_private_folders(const std::string& folder) {
    // Every save asks; once the folder is there, one look answers.
    if (is_folder(folder)) return true;
    std::string made;
    std::size_t start = 0;
    while (start <= folder.size()) {
        const std::size_t slash = folder.find('/', start);
        const std::size_t end = slash == std::string::npos ? folder.size() : slash;
        made = folder.substr(0, end);
        if (!made.empty() && mkdir(made.c_str(), 0700) != 0 && errno != EEXIST) return false;
        start = end + 1;
    }
    return is_folder(folder);
}
