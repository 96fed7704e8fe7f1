// The built game installed where its player cannot write, run by an unprivileged user: the
// settings go to the user's configuration folder and come back in the next run.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "program/conditions_file.hpp"
#include "support/game_in_pty.hpp"
#include "support/other_user.hpp"
#include "support/temp_folder.hpp"

namespace {

namespace fs = std::filesystem;

// Root's 0755 folder holding the game, as an install leaves it; nobody with a home of their own.
GameInPty::Options installed_for_nobody(const std::string& home) {
    GameInPty::Options options;
    options.prepare_folder = [](const fs::path& folder) { chmod(folder.c_str(), 0755); };
    options.in_child = [home] {
        setenv("HOME", home.c_str(), 1);
        unsetenv("XDG_CONFIG_HOME");
        if (!become_nobody()) _exit(126);
    };
    return options;
}

TEST(InstalledCopyInPty, ANobodysSettingsPersistInTheirOwnFolderFromRunToRun) {
    REQUIRE_ROOT();
    const TempFolder home("installed-home");
    chown(home.path().c_str(), kNobody, kNobodyGroup);
    const fs::path own_folder = home.path() / ".config" / "mirelvanthoque";
    const std::string own_file = (own_folder / kConditionsFileName).string();

    std::vector<std::uint8_t> first_run;
    {
        GameInPty game(installed_for_nobody(home.path().string()));
        ASSERT_TRUE(open_english_menu(game));
        // The colour screen: another background and standard colour, kept with Enter.
        game.send("4");
        ASSERT_TRUE(game.wait_for("Please set the combination of colours"));
        game.send("6g\r");
        ASSERT_TRUE(game.wait_for("Please choose now:"));
        expect_item_nine_ends_cleanly(game);
        EXPECT_EQ(entries_of(game.folder()), std::set<std::string>{"mirelvanthoque"});
        first_run = TempFolder::read_bytes(own_file);
    }
    ASSERT_EQ(first_run.size(), 80u);
    EXPECT_NE(first_run[0], to_bytes(ConditionsRecord{})[0]);
    struct stat folder_status {};
    ASSERT_EQ(stat(own_folder.c_str(), &folder_status), 0);
    EXPECT_EQ(folder_status.st_mode & 07777, 0700u);
    EXPECT_EQ(folder_status.st_uid, kNobody);
    EXPECT_EQ(link_status(own_file).st_uid, kNobody);

    // A new install elsewhere; the run starts from the user's file and writes it back as it was.
    GameInPty again(installed_for_nobody(home.path().string()));
    ASSERT_TRUE(open_english_menu(again));
    expect_item_nine_ends_cleanly(again);
    EXPECT_EQ(TempFolder::read_bytes(own_file), first_run);
    EXPECT_EQ(entries_of(again.folder()), std::set<std::string>{"mirelvanthoque"});
}

}  // namespace
