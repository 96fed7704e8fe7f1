// The built game in a pseudo-terminal with its conditions file made awkward: a FIFO, a
// read-only file, links of the user's own and of others, folders the player cannot write.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "program/conditions_file.hpp"
#include "support/conditions_bytes.hpp"
#include "support/game_in_pty.hpp"
#include "support/other_user.hpp"
#include "support/temp_folder.hpp"

namespace {

namespace fs = std::filesystem;

const std::set<std::string> kGameAndFile{"mirelvanthoque", kConditionsFileName};

// A few bytes that no record is: a run that saves leaves the defaults' 80 bytes instead.
const std::vector<std::uint8_t> kShortFile{'o', 'l', 'd'};

std::string conditions_file(const fs::path& folder) { return (folder / kConditionsFileName).string(); }

// The title page within a second, the English menu, item 9, a clean end. The menu and the
// end both save the conditions.
void play_to_the_end(GameInPty& game) {
    ASSERT_TRUE(game.wait_for(kTitlePageTitle, 1000)) << "the start waits";
    game.send("e");
    ASSERT_TRUE(game.wait_for("Please choose now:"));
    game.send("9");
    const int status = game.wait_for_exit();
    ASSERT_TRUE(WIFEXITED(status)) << status;
    EXPECT_EQ(WEXITSTATUS(status), 0);
    expect_modes_restored(game);
}

void as_nobody() {
    if (!become_nobody()) _exit(126);
}

GameInPty::Options options_with(std::function<void()> in_child,
                                std::function<void(const fs::path&)> prepare_folder) {
    GameInPty::Options options;
    options.in_child = std::move(in_child);
    options.prepare_folder = std::move(prepare_folder);
    return options;
}
GameInPty::Options options_with(std::function<void(const fs::path&)> prepare_folder) {
    return options_with({}, std::move(prepare_folder));
}

TEST(ConditionsFileInPty, APlainFileGetsTheRecordAndNoTemporaryFileStays) {
    GameInPty game(options_with([](const fs::path& folder) {
                                          TempFolder::write_bytes(conditions_file(folder), kShortFile);
                                      }));
    play_to_the_end(game);
    EXPECT_EQ(TempFolder::read_bytes(conditions_file(game.folder())), bytes_of(ConditionsRecord{}));
    EXPECT_EQ(entries_of(game.folder()), kGameAndFile);
}

TEST(ConditionsFileInPty, SavesStoppedByAFileSizeLimitLeaveTheOldFileAndNoTemporaryFile) {
    // The limit cuts every write of the record short and raises SIGXFSZ, which ends the game.
    const auto limited = [] {
        const rlimit limit{40, 40};
        setrlimit(RLIMIT_FSIZE, &limit);
    };
    GameInPty game(options_with(limited, [](const fs::path& folder) {
        TempFolder::write_bytes(conditions_file(folder), kShortFile);
    }));
    ASSERT_TRUE(game.wait_for(kTitlePageTitle, 1000));
    game.send("e");
    const int status = game.wait_for_exit();
    ASSERT_TRUE(WIFSIGNALED(status)) << status;
    EXPECT_EQ(WTERMSIG(status), SIGXFSZ);
    expect_modes_restored(game);
    EXPECT_EQ(TempFolder::read_bytes(conditions_file(game.folder())), kShortFile);
    EXPECT_EQ(entries_of(game.folder()), kGameAndFile);
}

TEST(ConditionsFileInPty, AFifoInTheFilesPlaceNeitherHoldsUpTheStartNorIsReplaced) {
    GameInPty game(options_with([](const fs::path& folder) {
                                          mkfifo(conditions_file(folder).c_str(), 0666);
                                      }));
    play_to_the_end(game);
    EXPECT_TRUE(S_ISFIFO(link_status(conditions_file(game.folder())).st_mode));
    EXPECT_EQ(entries_of(game.folder()), kGameAndFile);
}

TEST(ConditionsFileInPty, AReadOnlyFileStaysAsItIsEvenForRoot) {
    struct stat before {};
    GameInPty game(options_with([&](const fs::path& folder) {
                                          TempFolder::write_bytes(conditions_file(folder), kShortFile);
                                          chmod(conditions_file(folder).c_str(), 0444);
                                          before = link_status(conditions_file(folder));
                                      }));
    play_to_the_end(game);
    const struct stat after = link_status(conditions_file(game.folder()));
    EXPECT_EQ(after.st_ino, before.st_ino);
    EXPECT_EQ(after.st_mode & 07777, 0444u);
    EXPECT_EQ(TempFolder::read_bytes(conditions_file(game.folder())), kShortFile);
    EXPECT_EQ(entries_of(game.folder()), kGameAndFile);
}

TEST(ConditionsFileInPty, AFileOfAnotherUserKeepsItsModeAndOwner) {
    REQUIRE_ROOT();
    GameInPty game(options_with([](const fs::path& folder) {
                                          const std::string file = conditions_file(folder);
                                          TempFolder::write_bytes(file, kShortFile);
                                          chown(file.c_str(), kNobody, kNobodyGroup);
                                          chmod(file.c_str(), 0640);
                                      }));
    play_to_the_end(game);
    const struct stat after = link_status(conditions_file(game.folder()));
    EXPECT_EQ(after.st_mode & 07777, 0640u);
    EXPECT_EQ(after.st_uid, kNobody);
    EXPECT_EQ(after.st_gid, kNobodyGroup);
    EXPECT_EQ(TempFolder::read_bytes(conditions_file(game.folder())), bytes_of(ConditionsRecord{}));
    EXPECT_EQ(entries_of(game.folder()), kGameAndFile);
}

TEST(ConditionsFileInPty, ALinkOfTheUsersOwnKeepsPointingAtItsTargetWhichGetsTheRecord) {
    TempFolder elsewhere{"conditions-e2e-target"};
    const std::string target = elsewhere.file("settings.dat");
    TempFolder::write_bytes(target, kShortFile);
    chmod(target.c_str(), 0640);
    GameInPty game(options_with([&](const fs::path& folder) {
                                          fs::create_symlink(target, conditions_file(folder));
                                      }));
    play_to_the_end(game);
    const std::string link = conditions_file(game.folder());
    ASSERT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(fs::read_symlink(link), fs::path(target));
    EXPECT_EQ(TempFolder::read_bytes(target), bytes_of(ConditionsRecord{}));
    EXPECT_EQ(link_status(target).st_mode & 07777, 0640u);
    EXPECT_EQ(entries_of(elsewhere.path()), std::set<std::string>{"settings.dat"});
    EXPECT_EQ(entries_of(game.folder()), kGameAndFile);
}

TEST(ConditionsFileInPty, ALinkLaidByAnotherUserInASharedFolderNeverLeaksRootsFile) {
    REQUIRE_ROOT();
    // Root's secret, shaped like a record whose colours and names a leak would carry along.
    TempFolder vault{"conditions-e2e-vault"};
    const std::string secret = vault.file("secret");
    ConditionsRecord shaped;
    shaped.standard_attribute = 0x1A;
    shaped.emphasized_attribute = 0x1B;
    const std::string word = "TOPSECRET";
    std::copy(word.begin(), word.end(), shaped.player1.text.begin());
    TempFolder::write_bytes(secret, bytes_of(shaped));
    chmod(secret.c_str(), 0600);
    const struct stat secret_before = link_status(secret);

    // The game's folder is shared (sticky, world-writable); nobody has laid the link.
    GameInPty game(options_with([&](const fs::path& folder) {
                                          chmod(folder.c_str(), 01777);
                                          const std::string link = conditions_file(folder);
                                          fs::create_symlink(secret, link);
                                          lchown(link.c_str(), kNobody, kNobodyGroup);
                                      }));
    play_to_the_end(game);
    EXPECT_EQ(TempFolder::read_bytes(secret), bytes_of(shaped));
    const struct stat secret_after = link_status(secret);
    EXPECT_EQ(secret_after.st_mode & 07777, 0600u);
    EXPECT_EQ(secret_after.st_mtim.tv_sec, secret_before.st_mtim.tv_sec);
    EXPECT_EQ(secret_after.st_mtim.tv_nsec, secret_before.st_mtim.tv_nsec);
    const std::string link = conditions_file(game.folder());
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(link_status(link).st_uid, kNobody);
    EXPECT_EQ(entries_of(game.folder()), kGameAndFile);
    EXPECT_EQ(entries_of(vault.path()), std::set<std::string>{"secret"});
}

TEST(ConditionsFileInPty, AsNobodyAWritableFileInAFolderNobodyCannotWriteIsWrittenInPlace) {
    REQUIRE_ROOT();
    struct stat before {};
    // Root's folder (0755) holds the game and nobody's file.
    GameInPty game(options_with(as_nobody, [&](const fs::path& folder) {
                                          const std::string file = conditions_file(folder);
                                          TempFolder::write_bytes(file, kShortFile);
                                          chown(file.c_str(), kNobody, kNobodyGroup);
                                          chmod(folder.c_str(), 0755);
                                          before = link_status(file);
                                      }));
    play_to_the_end(game);
    const struct stat after = link_status(conditions_file(game.folder()));
    EXPECT_EQ(after.st_ino, before.st_ino);
    EXPECT_EQ(after.st_uid, kNobody);
    EXPECT_EQ(TempFolder::read_bytes(conditions_file(game.folder())), bytes_of(ConditionsRecord{}));
    EXPECT_EQ(entries_of(game.folder()), kGameAndFile);
}

TEST(ConditionsFileInPty, AsNobodyAFileOfRootsInASharedFolderIsLeftAloneWithoutLeftovers) {
    REQUIRE_ROOT();
    // Nobody can make a temporary file in the sticky folder but neither rename it over root's
    // file nor write that file.
    GameInPty game(options_with(as_nobody, [](const fs::path& folder) {
                                          chmod(folder.c_str(), 01777);
                                          TempFolder::write_bytes(conditions_file(folder), kShortFile);
                                          chmod(conditions_file(folder).c_str(), 0644);
                                      }));
    play_to_the_end(game);
    EXPECT_EQ(TempFolder::read_bytes(conditions_file(game.folder())), kShortFile);
    EXPECT_EQ(entries_of(game.folder()), kGameAndFile);
}

}  // namespace
