#pragma once

#include <string>
#include <string_view>

// A pseudo-terminal for tests: the code under test gets the slave side as its terminal, the
// test plays the person at the master side.
class PtyPair {
public:
    PtyPair(int columns, int rows);
    ~PtyPair();
    PtyPair(const PtyPair&) = delete;
    PtyPair& operator=(const PtyPair&) = delete;

    int slave() const { return slave_; }
    void resize(int columns, int rows);
    void type(std::string_view bytes);
    // Everything the terminal has sent until it stays quiet for quiet_ms (at most ~2 s).
    std::string read_output(int quiet_ms = 60);
    // The person's side hangs up: reads on the slave side end.
    void hang_up();

private:
    int master_ = -1;
    int slave_ = -1;
};
