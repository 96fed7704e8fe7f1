#pragma once

#include <cstdint>
#include <vector>

#include "setup/conditions_record.hpp"

// A record as the bytes of its file.
inline std::vector<std::uint8_t> bytes_of(const ConditionsRecord& record) {
    const ConditionsBytes bytes = to_bytes(record);
    return {bytes.begin(), bytes.end()};
}
