#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>

// For each code length 2..9, the most signs the computer can guess within a byte budget.
class CapabilityTable {
   public:
    static constexpr int kMinLength = 2;
    static constexpr int kMaxLength = 9;

    // Rebuilds only for a budget (rounded down to a multiple of 32) other than the last
    // one; the first refresh always builds. Says whether it rebuilt.
    bool refresh(std::uint64_t budget);

    // 0 for lengths outside 2..9 and before the first refresh.
    int entry(int code_length) const;
    // The eight entries as the conditions screen shows them: two-character fields
    // (" -" for 0 and 1) separated by three blanks.
    std::string line() const;

   private:
    std::array<std::uint8_t, kMaxLength + 1> entries_{};
    std::optional<std::uint64_t> built_for_;
};
