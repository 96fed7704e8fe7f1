#include "platform/user_folders.hpp"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>

#include "support/other_user.hpp"
#include "support/temp_folder.hpp"

namespace {

namespace fs = std::filesystem;

mode_t mode_of(const fs::path& path) {
    struct stat status {};
    stat(path.c_str(), &status);
    return status.st_mode & 07777;
}

TEST(UserFolders, MissingFoldersAreMadeForTheUserAloneAndExistingOnesKeepTheirMode) {
    const TempFolder folder("user-folders-make");
    chmod(folder.path().c_str(), 0755);
    const fs::path deep = folder.path() / "config" / "mirelvanthoque";
    EXPECT_TRUE(make_private_folders(deep.string()));
    EXPECT_EQ(mode_of(folder.path() / "config"), 0700u);
    EXPECT_EQ(mode_of(deep), 0700u);
    EXPECT_EQ(mode_of(folder.path()), 0755u);
    // Again, and with a trailing slash: nothing to do, still true.
    EXPECT_TRUE(make_private_folders(deep.string()));
    EXPECT_TRUE(make_private_folders(deep.string() + "/"));
}

TEST(UserFolders, AFileInTheWayOrAFolderNobodyMayWriteIsReported) {
    REQUIRE_ROOT();
    const TempFolder folder("user-folders-blocked");
    TempFolder::write_bytes(folder.file("config"), {'x'});
    EXPECT_FALSE(make_private_folders(folder.file("config") + "/mirelvanthoque"));
    chmod(folder.path().c_str(), 0755);
    const std::string closed = folder.file("closed");
    EXPECT_EQ(in_child([&] {
                  if (!become_nobody()) return 100;
                  return make_private_folders(closed) ? 1 : 0;
              }),
              0);
    EXPECT_FALSE(fs::exists(closed));
}

TEST(UserFolders, WritabilityIsTheEffectiveUsers) {
    REQUIRE_ROOT();
    const TempFolder folder("user-folders-writable");
    chmod(folder.path().c_str(), 0755);
    const std::string roots = folder.file("roots");
    TempFolder::write_bytes(roots, {'x'});
    // Root may write a file without write bits too.
    chmod(roots.c_str(), 0444);
    const std::string shared = folder.file("shared");
    TempFolder::write_bytes(shared, {'x'});
    chmod(shared.c_str(), 0666);
    EXPECT_TRUE(writable_by_user(roots));
    EXPECT_TRUE(writable_by_user(folder.path().string()));
    EXPECT_EQ(in_child([&] {
                  if (!become_nobody()) return 100;
                  return (writable_by_user(roots) ? 1 : 0) + (writable_by_user(folder.path().string()) ? 2 : 0) +
                         (writable_by_user(shared) ? 0 : 4) + (writable_by_user(folder.file("missing")) ? 8 : 0);
              }),
              0);
}

TEST(UserFolders, ADanglingLinkIsAnEntryAndAMissingNameIsNot) {
    const TempFolder folder("user-folders-exists");
    fs::create_symlink(folder.path() / "nowhere", folder.path() / "link");
    EXPECT_TRUE(entry_exists(folder.file("link")));
    EXPECT_FALSE(entry_exists(folder.file("nowhere")));
}

TEST(UserFolders, HomeIsTakenFromTheEnvironmentOnlyWhenAbsolute) {
    // In a child: the variables are the process's own.
    EXPECT_EQ(in_child([] {
                  setenv("HOME", "/home/anna", 1);
                  if (home_folder() != "/home/anna") return 1;
                  setenv("HOME", "relative", 1);
                  const std::string from_passwd = home_folder();
                  if (from_passwd.empty() || from_passwd.front() != '/') return 2;
                  unsetenv("HOME");
                  if (home_folder() != from_passwd) return 3;
                  if (environment_value("HOME")) return 4;
                  setenv("XDG_CONFIG_HOME", "", 1);
                  return environment_value("XDG_CONFIG_HOME") == std::string() ? 0 : 5;
              }),
              0);
}

}  // namespace
