#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "program/conditions_file.hpp"
#include "support/temp_folder.hpp"

namespace fs = std::filesystem;

// A conditions file in a folder of the test's own.
class ConditionsFile : public ::testing::Test {
protected:
    void write_file(const std::vector<std::uint8_t>& bytes) { TempFolder::write_bytes(path_, bytes); }
    std::vector<std::uint8_t> read_file() const { return TempFolder::read_bytes(path_); }
    std::vector<std::string> folder_entries() const {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(folder_)) names.push_back(entry.path().filename().string());
        return names;
    }

    TempFolder folder{"conditions"};
    const fs::path& folder_ = folder.path();
    const std::string path_ = folder.file(kConditionsFileName);
};

inline ConditionsRecord sample_record() {
    ConditionsRecord record;
    record.standard_attribute = 0x2F;
    record.emphasized_attribute = 0x2E;
    record.time_limit = 3;
    record.code_length = 6;
    record.memory_choice = 9;
    record.first_sign = 'y';
    record.last_sign = 'b';
    record.sound = 1;
    record.repetition = 1;
    record.vacant_signs = 1;
    record.computer_sets_riddle = 0;
    record.computer_guesses = 1;
    record.answer_fixed = 0;
    const std::string one = "Anna Berg", two = "J. Test";
    std::copy(one.begin(), one.end(), record.player1.text.begin());
    std::copy(two.begin(), two.end(), record.player2.text.begin());
    return record;
}
