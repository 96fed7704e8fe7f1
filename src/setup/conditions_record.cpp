#include "setup/conditions_record.hpp"

#include <cstring>

ConditionsBytes to_bytes(const ConditionsRecord& record) {
    ConditionsBytes bytes;
    std::memcpy(bytes.data(), &record, bytes.size());
    return bytes;
}

ConditionsRecord from_bytes(const ConditionsBytes& bytes) {
    ConditionsRecord record;
    std::memcpy(&record, bytes.data(), bytes.size());
    return record;
}
