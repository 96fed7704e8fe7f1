#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "core/keys.hpp"
#include "program/conditions_file.hpp"
#include "program/program.hpp"
#include "support/conditions_bytes.hpp"
#include "support/temp_folder.hpp"
#include "support/test_rig.hpp"

namespace {

namespace fs = std::filesystem;

// A game folder of its own, with the program file's path inside it.
class GameFolder : public ::testing::Test {
protected:
    std::string program() const { return folder.file("mirelvanthoque"); }
    std::string file() const { return folder.file(kConditionsFileName); }
    void write_file(const ConditionsRecord& record) const { TempFolder::write_bytes(file(), bytes_of(record)); }
    std::vector<std::uint8_t> read_file() const { return TempFolder::read_bytes(file()); }

    TempFolder folder{"run-conditions"};
    const fs::path& folder_ = folder.path();
};

TEST_F(GameFolder, StartingWithoutAFileUsesTheDefaultsAndTheEndWritesThem) {
    TestRig rig(ScriptedTerminal::WhenExhausted::Fail, program());
    rig.terminal.key(keys::kEsc);
    EXPECT_EQ(run_program(rig.app), 0);
    EXPECT_EQ(rig.app.conditions_place.own, file());
    EXPECT_EQ(rig.app.setup.record, ConditionsRecord{});
    EXPECT_EQ(rig.app.colours, (ColourScheme{31, 30}));
    EXPECT_EQ(read_file(), bytes_of(ConditionsRecord{}));
}

TEST_F(GameFolder, TheLoadedRecordIsValidatedAndItsColoursTakenIntoUse) {
    ConditionsRecord record;
    record.standard_attribute = 0x44;
    record.emphasized_attribute = 0x4E;
    record.code_length = 12;
    record.first_sign = 'A';
    record.last_sign = 'H';
    record.memory_choice = 16;
    write_file(record);
    TestRig rig(ScriptedTerminal::WhenExhausted::Fail, program());
    rig.terminal.type("e");
    EXPECT_THROW(run_program(rig.app), ScriptExhausted);
    EXPECT_EQ(rig.app.colours, (ColourScheme{0x07, 0x0E}));
    EXPECT_EQ(rig.app.setup.record.code_length, 4);
    EXPECT_EQ(rig.app.setup.signs.set_signs(), "abcdefgh");
    EXPECT_EQ(rig.app.setup.byte_budget, 172359680u);
    // The menu is drawn in the repaired colours and its first pass has written the file.
    EXPECT_EQ(rig.screen().cell(1, 3).attr, 0x07);
    const std::vector<std::uint8_t> written = read_file();
    ASSERT_EQ(written.size(), 80u);
    EXPECT_EQ(written[0], 0x07);
    EXPECT_EQ(written[1], 0x0E);
    EXPECT_EQ(written[3], 4);
    EXPECT_EQ(written[5], 5);
    EXPECT_EQ(written[6], 'a');
}

TEST_F(GameFolder, AValidFileSurvivesARunByteForByte) {
    ConditionsRecord record;
    record.standard_attribute = 0x2F;
    record.emphasized_attribute = 0x2E;
    record.time_limit = 0;
    record.code_length = 5;
    record.memory_choice = 3;
    record.first_sign = 'x';
    record.last_sign = '3';
    record.sound = 1;
    record.vacant_signs = 1;
    record.computer_sets_riddle = 0;
    const std::string name = "Anna";
    std::copy(name.begin(), name.end(), record.player1.text.begin());
    write_file(record);
    TestRig rig(ScriptedTerminal::WhenExhausted::Fail, program());
    rig.terminal.type("d9");
    EXPECT_EQ(run_program(rig.app), 0);
    EXPECT_EQ(read_file(), bytes_of(record));
}

TEST_F(GameFolder, TheMenuWritesTheFileOnEachPassAndAfterColoursAndConfiguration) {
    TestRig rig(ScriptedTerminal::WhenExhausted::Fail, program());
    std::vector<bool> written_before_key;
    std::vector<std::uint8_t> vacant_byte_before_key;
    rig.terminal.before_each_key([&](std::size_t taken) {
        const std::vector<std::uint8_t> bytes = read_file();
        written_before_key.push_back(!bytes.empty());
        vacant_byte_before_key.push_back(bytes.size() == 80 ? bytes[10] : 255);
        fs::remove(file());
        // As a match would, switch the vacant sign off for the game set-up's run.
        if (taken == 5) rig.app.setup.record.vacant_signs = 0;
    });
    rig.app.setup.saved_vacant = 1;
    ConditionsRecord record;
    record.vacant_signs = 1;
    write_file(record);
    // Items 2, 4 and 8 end with Enter, item 5's conditions screen with "4".
    rig.terminal.type("d2\r4\r548\r");
    EXPECT_THROW(run_program(rig.app), ScriptExhausted);
    // The file laid down before the run; then the first pass writes, item 2 does not, item 4
    // does, the conditions screen does not, and the return from it to the menu does.
    EXPECT_EQ(written_before_key,
              (std::vector<bool>{true, true, false, false, false, true, false, true, false}));
    EXPECT_EQ(vacant_byte_before_key[7], 1);
    EXPECT_EQ(read_file().size(), 80u);
}

TEST_F(GameFolder, AFolderThatCannotBeWrittenDoesNotStopTheRun) {
    TestRig rig(ScriptedTerminal::WhenExhausted::Fail, (folder_ / "missing" / "mirelvanthoque").string());
    rig.terminal.type("e4\r548\r").key(keys::kCtrlC);
    EXPECT_EQ(run_program(rig.app), 0);
    EXPECT_TRUE(rig.terminal.is_shut_down());
}

// An installed game: the file beside it is the system's default, the user's own lies in a
// configuration folder that does not exist yet.
class UserFolder : public GameFolder {
protected:
    std::string config_folder() const { return folder.file("home/.config/mirelvanthoque"); }
    std::string own_file() const { return config_folder() + "/" + kConditionsFileName; }
    ConditionsPlace place() const { return {own_file(), file(), config_folder()}; }
    static ConditionsRecord record_with_colours(std::uint8_t standard, std::uint8_t emphasized) {
        ConditionsRecord record;
        record.standard_attribute = standard;
        record.emphasized_attribute = emphasized;
        return record;
    }
};

TEST_F(UserFolder, TheDefaultBesideTheProgramStartsTheUsersOwnFileInAPrivateFolder) {
    const ConditionsRecord system_default = record_with_colours(0x1F, 0x1E);
    write_file(system_default);
    TestRig rig(ScriptedTerminal::WhenExhausted::Fail);
    rig.app.conditions_place = place();
    rig.terminal.type("e9");
    EXPECT_EQ(run_program(rig.app), 0);
    EXPECT_EQ(rig.app.colours, (ColourScheme{0x1F, 0x1E}));
    EXPECT_EQ(load_conditions(own_file()), system_default);
    EXPECT_EQ(TempFolder::read_bytes(own_file()).size(), 80u);
#if !defined(_WIN32)
    // Windows gives a new folder the rights of the profile it is made in.
    EXPECT_EQ(fs::status(config_folder()).permissions(), fs::perms::owner_all);
#endif
    EXPECT_EQ(read_file(), bytes_of(system_default));
}

TEST_F(UserFolder, OnceTheUserHasAFileTheDefaultIsNoLongerRead) {
    write_file(record_with_colours(0x1F, 0x1E));
    fs::create_directories(config_folder());
    const std::vector<std::uint8_t> own = bytes_of(record_with_colours(0x2F, 0x2E));
    TempFolder::write_bytes(own_file(), own);
    TestRig rig(ScriptedTerminal::WhenExhausted::Fail);
    rig.app.conditions_place = place();
    rig.terminal.type("e9");
    EXPECT_EQ(run_program(rig.app), 0);
    EXPECT_EQ(rig.app.colours, (ColourScheme{0x2F, 0x2E}));
    EXPECT_EQ(TempFolder::read_bytes(own_file()), own);
    EXPECT_EQ(read_file(), bytes_of(record_with_colours(0x1F, 0x1E)));
}

TEST_F(UserFolder, AFolderThatCannotBeMadeLeavesTheRunAndTheDefaultAlone) {
    write_file(record_with_colours(0x1F, 0x1E));
    TempFolder::write_bytes(folder.file("home"), {'x'});
    TestRig rig(ScriptedTerminal::WhenExhausted::Fail);
    rig.app.conditions_place = place();
    rig.terminal.type("e4\r9");
    EXPECT_EQ(run_program(rig.app), 0);
    EXPECT_FALSE(fs::exists(own_file()));
    EXPECT_EQ(read_file(), bytes_of(record_with_colours(0x1F, 0x1E)));
}

}  // namespace
