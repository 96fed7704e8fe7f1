#include "program/conditions_file.hpp"

#include "platform/safe_file.hpp"

ConditionsRecord load_conditions(const std::string& path) {
    ConditionsBytes bytes;
    return read_file_head(path, bytes.data(), bytes.size()) ? from_bytes(bytes) : ConditionsRecord{};
}

bool save_conditions(const std::string& path, const ConditionsRecord& record) {
    const ConditionsBytes bytes = to_bytes(record);
    return replace_file(path, bytes.data(), bytes.size());
}
