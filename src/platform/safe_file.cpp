#include "platform/safe_file.hpp"

#include <fcntl.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <optional>
#include <vector>

#include "platform/temporary_file.hpp"

namespace {

// The regular file a name stands for, or the place where it is to be made.
struct Place {
    std::string path;
    bool exists = false;
    struct stat status {};
};

std::string folder_of(const std::string& path) {
    const auto slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::optional<std::string> link_text(const std::string& path) {
    std::vector<char> buffer(256);
    for (;;) {
        const ssize_t length = readlink(path.c_str(), buffer.data(), buffer.size());
        if (length <= 0) return std::nullopt;
        if (static_cast<std::size_t>(length) < buffer.size())
            return std::string(buffer.data(), static_cast<std::size_t>(length));
        buffer.resize(buffer.size() * 2);
    }
}

std::optional<Place> find_place(std::string path) {
    for (int links = 0;; ++links) {
        struct stat status;
        if (lstat(path.c_str(), &status) != 0) {
            if (errno == ENOENT) return Place{path, false, {}};
            return std::nullopt;
        }
        if (S_ISREG(status.st_mode)) return Place{path, true, status};
        if (!S_ISLNK(status.st_mode) || status.st_uid != geteuid() || links == kMaxFileLinks)
            return std::nullopt;
        const auto target = link_text(path);
        if (!target) return std::nullopt;
        path = target->front() == '/' ? *target : folder_of(path) + "/" + *target;
    }
}

// Opens the place's file as it was found: a regular file, the same one, not through a link.
int open_found_file(const Place& place, int access) {
    const int fd = open(place.path.c_str(), access | O_NONBLOCK | O_NOFOLLOW | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) return -1;
    struct stat status;
    if (fstat(fd, &status) == 0 && S_ISREG(status.st_mode) && status.st_dev == place.status.st_dev &&
        status.st_ino == place.status.st_ino)
        return fd;
    close(fd);
    return -1;
}

bool read_exactly(int fd, std::uint8_t* data, std::size_t size) {
    std::size_t done = 0;
    while (done < size) {
        const ssize_t got = read(fd, data + done, size - done);
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) return false;
        done += static_cast<std::size_t>(got);
    }
    return true;
}

bool write_all(int fd, const std::uint8_t* data, std::size_t size) {
    std::size_t done = 0;
    while (done < size) {
        const ssize_t put = write(fd, data + done, size - done);
        if (put < 0 && errno == EINTR) continue;
        if (put <= 0) return false;
        done += static_cast<std::size_t>(put);
    }
    return true;
}

// The game's plain rule for a file it cannot replace: write the record, cut what follows.
bool write_in_place(const Place& place, const std::uint8_t* data, std::size_t size) {
    const int fd = open_found_file(place, O_WRONLY);
    if (fd < 0) return false;
    bool written = write_all(fd, data, size) && ftruncate(fd, static_cast<off_t>(size)) == 0 &&
                   fsync(fd) == 0;
    written = close(fd) == 0 && written;
    return written;
}

// The temporary file's name goes to `name`; -1 when none can be made.
int create_temporary_beside(const Place& place, std::string& name) {
    // Made private first when it is to take an old file's mode.
    const mode_t mode = place.exists ? 0600 : 0666;
    for (int attempt = 0; attempt < 8; ++attempt) {
        name = temporary_name_beside(place.path);
        const int fd = create_new_file(name, mode);
        if (fd >= 0) {
            track_temporary_file(name.c_str());
            return fd;
        }
        if (errno != EEXIST) return -1;
    }
    return -1;
}

std::uint64_t random_bits() {
    std::uint64_t bits = 0;
    if (getrandom(&bits, sizeof bits, GRND_NONBLOCK) == static_cast<ssize_t>(sizeof bits)) return bits;
    // Early in a boot the pool may not be ready: the clock and process mixed (splitmix64).
    static std::uint64_t counter = 0;
    bits = static_cast<std::uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count()) ^
           (static_cast<std::uint64_t>(getpid()) << 40) ^ (++counter * 0x9E3779B97F4A7C15ull);
    bits = (bits ^ (bits >> 30)) * 0xBF58476D1CE4E5B9ull;
    bits = (bits ^ (bits >> 27)) * 0x94D049BB133111EBull;
    return bits ^ (bits >> 31);
}

}  // namespace

std::string temporary_name_beside(const std::string& path) {
    char digits[17];
    std::snprintf(digits, sizeof digits, "%016llx", static_cast<unsigned long long>(random_bits()));
    return path + "." + digits + ".tmp";
}

int create_new_file(const std::string& path, mode_t mode) {
    return open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_NOCTTY | O_CLOEXEC, mode);
}

bool read_file_head(const std::string& path, std::uint8_t* data, std::size_t size) {
    const auto place = find_place(path);
    if (!place || !place->exists) return false;
    const int fd = open_found_file(*place, O_RDONLY);
    if (fd < 0) return false;
    const bool complete = read_exactly(fd, data, size);
    close(fd);
    return complete;
}

bool replace_file(const std::string& path, const std::uint8_t* data, std::size_t size) {
    const auto place = find_place(path);
    if (!place) return false;
    // Without any write permission bit the file is read-only by its owner's choice, root or not.
    if (place->exists && (place->status.st_mode & 0222) == 0) return false;

    std::string temporary;
    const int fd = create_temporary_beside(*place, temporary);
    if (fd < 0) return place->exists && write_in_place(*place, data, size);
    if (place->exists) {
        // The owner first: a change of owner may clear set-id bits the mode then puts back.
        (void)!fchown(fd, place->status.st_uid, place->status.st_gid);
        (void)!fchmod(fd, place->status.st_mode & 07777);
    }
    bool written = write_all(fd, data, size) && fsync(fd) == 0;
    written = close(fd) == 0 && written;
    const bool replaced = written && rename(temporary.c_str(), place->path.c_str()) == 0;
    if (!replaced) unlink(temporary.c_str());
    untrack_temporary_file();
    // A rename refused (a sticky folder, a file of another user) still leaves the plain write.
    return replaced || (written && place->exists && write_in_place(*place, data, size));
}
