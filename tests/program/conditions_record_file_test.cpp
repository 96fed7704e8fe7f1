// What the conditions file holds and how it is read and saved, on every system.
#include <gtest/gtest.h>

#include <unistd.h>

#include <set>
#include <string>
#include <vector>

#include "platform/safe_file.hpp"
#include "program/conditions_file.hpp"
#include "support/conditions_bytes.hpp"
#include "support/conditions_fixture.hpp"

namespace {

TEST(ConditionsDefaults, AreTheBytesTheFileDescribes) {
    const ConditionsBytes bytes = to_bytes(ConditionsRecord{});
    const std::uint8_t head[14] = {31, 30, 1, 4, 4, 5, '0', '9', 0, 0, 0, 1, 0, 1};
    for (int i = 0; i < 14; ++i) EXPECT_EQ(bytes[i], head[i]) << "byte " << i;
    for (std::size_t i = 14; i < 80; ++i) EXPECT_EQ(bytes[i], 32) << "byte " << i;
}

TEST_F(ConditionsFile, MissingEmptyOrShortFilesGiveTheDefaults) {
    EXPECT_EQ(load_conditions(path_), ConditionsRecord{});
    write_file({});
    EXPECT_EQ(load_conditions(path_), ConditionsRecord{});
    std::vector<std::uint8_t> short_file(79, 1);
    write_file(short_file);
    EXPECT_EQ(load_conditions(path_), ConditionsRecord{});
}

TEST_F(ConditionsFile, ExactlyEightyBytesAreTakenAsTheyAre) {
    const ConditionsBytes bytes = to_bytes(sample_record());
    write_file({bytes.begin(), bytes.end()});
    EXPECT_EQ(to_bytes(load_conditions(path_)), bytes);
}

TEST_F(ConditionsFile, BytesBeyondTheRecordAreNeverRead) {
    const ConditionsBytes bytes = to_bytes(sample_record());
    std::vector<std::uint8_t> longer(bytes.size() + 100, 0xEE);
    std::copy(bytes.begin(), bytes.end(), longer.begin());
    write_file(longer);
    EXPECT_EQ(to_bytes(load_conditions(path_)), bytes);
}

TEST_F(ConditionsFile, SavingWritesTheRecordByteForByteAndLeavesNoTemporaryFile) {
    const ConditionsRecord record = sample_record();
    EXPECT_TRUE(save_conditions(path_, record));
    const ConditionsBytes bytes = to_bytes(record);
    EXPECT_EQ(read_file(), std::vector<std::uint8_t>(bytes.begin(), bytes.end()));
    EXPECT_EQ(load_conditions(path_), record);
    EXPECT_EQ(folder_entries(), std::vector<std::string>{kConditionsFileName});
}

TEST_F(ConditionsFile, SavingReplacesALongerOldFile) {
    write_file(std::vector<std::uint8_t>(200, 7));
    EXPECT_TRUE(save_conditions(path_, ConditionsRecord{}));
    EXPECT_EQ(read_file().size(), 80u);
}

TEST_F(ConditionsFile, AMissingFolderIsAbsorbed) {
    EXPECT_FALSE(save_conditions((folder_ / "gone" / kConditionsFileName).string(), ConditionsRecord{}));
    EXPECT_EQ(load_conditions((folder_ / "gone" / kConditionsFileName).string()), ConditionsRecord{});
}

TEST(TemporaryNames, AreFreshEachTimeAndTellNothingOfTheProcess) {
    const std::string beside = "/some/folder/BEDINGUN.DAT";
    const std::string pid_part = std::string(".") + std::to_string(getpid()) + ".";
    std::set<std::string> names;
    for (int i = 0; i < 200; ++i) {
        const std::string name = temporary_name_beside(beside);
        EXPECT_EQ(name.rfind(beside + ".", 0), 0u) << name;
        EXPECT_EQ(name.size(), beside.size() + 1 + 16 + 4) << name;
        EXPECT_EQ(name.find(pid_part), std::string::npos) << name;
        names.insert(name);
    }
    EXPECT_EQ(names.size(), 200u);
}

}  // namespace
