#include "platform/program_path.hpp"

#if !defined(_WIN32)
#include <unistd.h>

#include <vector>

std::string program_file_path() {
    std::vector<char> buffer(4096);
    for (;;) {
        const ssize_t length = readlink("/proc/self/exe", buffer.data(), buffer.size());
        if (length < 0) return {};
        if (static_cast<size_t>(length) < buffer.size()) return std::string(buffer.data(), length);
        buffer.resize(buffer.size() * 2);
    }
}
#endif

std::string directory_of(const std::string& path) {
#if defined(_WIN32)
    const auto slash = path.find_last_of("/\\");
#else
    const auto slash = path.rfind('/');
#endif
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}
