#include "setup/conditions_file.hpp"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

namespace {

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

}  // namespace

ConditionsRecord load_conditions(const std::string& path) {
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return ConditionsRecord{};
    ConditionsBytes bytes;
    const bool complete = read_exactly(fd, bytes.data(), bytes.size());
    close(fd);
    return complete ? from_bytes(bytes) : ConditionsRecord{};
}

bool save_conditions(const std::string& path, const ConditionsRecord& record) {
    const std::string temporary = path + "." + std::to_string(getpid()) + ".tmp";
    const int fd = open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (fd < 0) return false;
    const ConditionsBytes bytes = to_bytes(record);
    bool written = write_all(fd, bytes.data(), bytes.size()) && fsync(fd) == 0;
    written = close(fd) == 0 && written;
    if (written && rename(temporary.c_str(), path.c_str()) == 0) return true;
    unlink(temporary.c_str());
    return false;
}
