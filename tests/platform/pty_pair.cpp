#include "platform/pty_pair.hpp"

#include <poll.h>
#include <pty.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <chrono>
#include <stdexcept>

PtyPair::PtyPair(int columns, int rows) {
    winsize size{};
    size.ws_col = static_cast<unsigned short>(columns);
    size.ws_row = static_cast<unsigned short>(rows);
    if (openpty(&master_, &slave_, nullptr, nullptr, &size) != 0) {
        throw std::runtime_error("openpty failed");
    }
}

PtyPair::~PtyPair() {
    if (master_ >= 0) close(master_);
    close(slave_);
}

void PtyPair::resize(int columns, int rows) {
    winsize size{};
    size.ws_col = static_cast<unsigned short>(columns);
    size.ws_row = static_cast<unsigned short>(rows);
    ioctl(master_, TIOCSWINSZ, &size);
}

void PtyPair::type(std::string_view bytes) {
    while (!bytes.empty()) {
        ssize_t count = write(master_, bytes.data(), bytes.size());
        if (count <= 0) throw std::runtime_error("writing to the pty failed");
        bytes.remove_prefix(static_cast<std::size_t>(count));
    }
}

std::string PtyPair::read_output(int quiet_ms) {
    std::string output;
    const auto give_up = std::chrono::steady_clock::now() + std::chrono::seconds(2);
    while (std::chrono::steady_clock::now() < give_up) {
        pollfd readable{master_, POLLIN, 0};
        if (poll(&readable, 1, quiet_ms) <= 0) break;
        char buffer[4096];
        ssize_t count = read(master_, buffer, sizeof buffer);
        if (count <= 0) break;
        output.append(buffer, static_cast<std::size_t>(count));
    }
    return output;
}

void PtyPair::hang_up() {
    close(master_);
    master_ = -1;
}
