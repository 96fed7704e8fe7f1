#include <gtest/gtest.h>

#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

#include "setup/conditions_file.hpp"
#include "support/temp_folder.hpp"

namespace {

namespace fs = std::filesystem;

class ConditionsFile : public ::testing::Test {
protected:
    void write_file(const std::vector<std::uint8_t>& bytes) { TempFolder::write_bytes(path_, bytes); }
    std::vector<std::uint8_t> read_file() const { return TempFolder::read_bytes(path_); }
    std::vector<std::string> folder_entries() const {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(folder_)) names.push_back(entry.path().filename());
        return names;
    }

    TempFolder folder{"conditions"};
    const fs::path& folder_ = folder.path();
    const std::string path_ = folder.file(kConditionsFileName);
};

ConditionsRecord sample_record() {
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

// Runs a piece of the test in a child process, for limits and identities the test itself
// must not take on. Returns the child's exit code.
int in_child(const std::function<int()>& body) {
    const pid_t pid = fork();
    if (pid == 0) _exit(body());
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

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
    std::vector<std::uint8_t> longer(bytes.begin(), bytes.end());
    longer.insert(longer.end(), 100, 0xEE);
    write_file(longer);
    EXPECT_EQ(to_bytes(load_conditions(path_)), bytes);
}

TEST_F(ConditionsFile, AnUnreadableFileGivesTheDefaults) {
    fs::create_directory(path_);  // opens, but cannot be read as a file
    EXPECT_EQ(load_conditions(path_), ConditionsRecord{});
    fs::remove(path_);

    const ConditionsBytes bytes = to_bytes(sample_record());
    write_file({bytes.begin(), bytes.end()});
    fs::permissions(path_, fs::perms::none);
    // Root reads anything, so the reading is done as an unprivileged user.
    const int result = in_child([&] {
        if (getuid() == 0 && (setgid(65534) != 0 || setuid(65534) != 0)) return 2;
        return load_conditions(path_) == ConditionsRecord{} ? 0 : 1;
    });
    EXPECT_EQ(result, 0);
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

TEST_F(ConditionsFile, AReadOnlyFolderMakesSavingDoNothing) {
    write_file(std::vector<std::uint8_t>(80, 9));
    fs::permissions(folder_, fs::perms::owner_read | fs::perms::owner_exec | fs::perms::group_read |
                                 fs::perms::group_exec | fs::perms::others_read | fs::perms::others_exec);
    const int result = in_child([&] {
        if (getuid() == 0 && (setgid(65534) != 0 || setuid(65534) != 0)) return 2;
        return save_conditions(path_, sample_record()) ? 1 : 0;
    });
    EXPECT_EQ(result, 0);
    EXPECT_EQ(read_file(), std::vector<std::uint8_t>(80, 9));
    EXPECT_EQ(folder_entries().size(), 1u);
}

TEST_F(ConditionsFile, AWriteThatFailsHalfWayLeavesTheOldFileIntact) {
    const ConditionsBytes old_bytes = to_bytes(sample_record());
    write_file({old_bytes.begin(), old_bytes.end()});
    // A file size limit of 40 bytes makes the write stop in the middle of the record.
    const int result = in_child([&] {
        signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{40, 40};
        if (setrlimit(RLIMIT_FSIZE, &limit) != 0) return 2;
        return save_conditions(path_, ConditionsRecord{}) ? 1 : 0;
    });
    EXPECT_EQ(result, 0);
    EXPECT_EQ(read_file(), std::vector<std::uint8_t>(old_bytes.begin(), old_bytes.end()));
    EXPECT_EQ(folder_entries(), std::vector<std::string>{kConditionsFileName});
}

TEST_F(ConditionsFile, AMissingFolderIsAbsorbed) {
    EXPECT_FALSE(save_conditions((folder_ / "gone" / kConditionsFileName).string(), ConditionsRecord{}));
    EXPECT_EQ(load_conditions((folder_ / "gone" / kConditionsFileName).string()), ConditionsRecord{});
}

}  // namespace
