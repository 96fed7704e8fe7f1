#include <gtest/gtest.h>

#include <algorithm>

#include <signal.h>
#include <sys/inotify.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <set>
#include <string>
#include <vector>

#include "platform/safe_file.hpp"
#include "platform/temporary_file.hpp"
#include "program/conditions_file.hpp"
#include "support/conditions_bytes.hpp"
#include "support/conditions_fixture.hpp"
#include "support/other_user.hpp"
#include "support/temp_folder.hpp"

namespace {

TEST_F(ConditionsFile, AnUnreadableFileGivesTheDefaults) {
    fs::create_directory(path_);  // opens, but cannot be read as a file
    EXPECT_EQ(load_conditions(path_), ConditionsRecord{});
    fs::remove(path_);

    const ConditionsBytes bytes = to_bytes(sample_record());
    write_file({bytes.begin(), bytes.end()});
    fs::permissions(path_, fs::perms::none);
    // Root reads anything, so the reading is done as an unprivileged user.
    const int result = in_child([&] {
        if (getuid() == 0 && !become_nobody()) return 2;
        return load_conditions(path_) == ConditionsRecord{} ? 0 : 1;
    });
    EXPECT_EQ(result, 0);
}

TEST_F(ConditionsFile, AReadOnlyFolderMakesSavingDoNothing) {
    write_file(std::vector<std::uint8_t>(80, 9));
    fs::permissions(folder_, fs::perms::owner_read | fs::perms::owner_exec | fs::perms::group_read |
                                 fs::perms::group_exec | fs::perms::others_read | fs::perms::others_exec);
    const int result = in_child([&] {
        if (getuid() == 0 && !become_nobody()) return 2;
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

bool same_file(const struct stat& a, const struct stat& b) { return a.st_dev == b.st_dev && a.st_ino == b.st_ino; }

// ---- The temporary file

TEST(TemporaryNames, ANewFileIsNeverMadeThroughALink) {
    TempFolder folder{"new-file"};
    const std::string victim = folder.file("victim"), planted = folder.file("planted");
    TempFolder::write_bytes(victim, {1, 2, 3});
    fs::create_symlink(victim, planted);
    EXPECT_EQ(create_new_file(planted, 0600), -1);
    EXPECT_EQ(TempFolder::read_bytes(victim), (std::vector<std::uint8_t>{1, 2, 3}));

    // A dangling link neither: its target is not made.
    const std::string dangling = folder.file("dangling");
    fs::create_symlink(folder.file("made-through-link"), dangling);
    EXPECT_EQ(create_new_file(dangling, 0600), -1);
    EXPECT_FALSE(fs::exists(folder.file("made-through-link")));

    const int fd = create_new_file(folder.file("fresh"), 0600);
    EXPECT_GE(fd, 0);
    close(fd);
    EXPECT_EQ(create_new_file(folder.file("fresh"), 0600), -1);  // exclusive
}

TEST_F(ConditionsFile, EverySaveGoesThroughATemporaryFileOfAFreshName) {
    const int watch = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    ASSERT_GE(watch, 0);
    ASSERT_GE(inotify_add_watch(watch, folder_.c_str(), IN_CREATE), 0);
    EXPECT_TRUE(save_conditions(path_, sample_record()));
    EXPECT_TRUE(save_conditions(path_, ConditionsRecord{}));

    std::vector<std::string> created;
    alignas(inotify_event) char buffer[4096];
    for (ssize_t got; (got = read(watch, buffer, sizeof buffer)) > 0;) {
        for (char* at = buffer; at < buffer + got;) {
            const auto* event = reinterpret_cast<const inotify_event*>(at);
            if (event->len > 0) created.emplace_back(event->name);
            at += sizeof(inotify_event) + event->len;
        }
    }
    close(watch);
    ASSERT_EQ(created.size(), 2u);
    EXPECT_NE(created[0], created[1]);
    for (const std::string& name : created) {
        EXPECT_EQ(name.rfind(std::string(kConditionsFileName) + ".", 0), 0u) << name;
        EXPECT_EQ(name.find(std::to_string(getpid())), std::string::npos) << name;
    }
    EXPECT_EQ(folder_entries(), std::vector<std::string>{kConditionsFileName});
    EXPECT_EQ(read_file(), bytes_of(ConditionsRecord{}));
}

TEST_F(ConditionsFile, ALinkLaidAtTheOldPredictableNameIsNotWrittenThrough) {
    TempFolder elsewhere{"conditions-victim"};
    const std::string victim = elsewhere.file("victim");
    TempFolder::write_bytes(victim, {7, 7, 7});
    const std::string planted = path_ + "." + std::to_string(getpid()) + ".tmp";
    fs::create_symlink(victim, planted);
    EXPECT_TRUE(save_conditions(path_, sample_record()));
    EXPECT_EQ(read_file(), bytes_of(sample_record()));
    EXPECT_EQ(TempFolder::read_bytes(victim), (std::vector<std::uint8_t>{7, 7, 7}));
    EXPECT_TRUE(fs::is_symlink(planted));
    EXPECT_EQ(folder_entries().size(), 2u);
}

TEST_F(ConditionsFile, ASignalEndingTheGameDuringASaveLeavesNoTemporaryFile) {
    write_file(bytes_of(sample_record()));
    // The file size limit raises SIGXFSZ in the middle of the record; the handler does what
    // the game's handlers do.
    const int result = in_child([&] {
        struct sigaction action {};
        action.sa_handler = [](int) {
            remove_tracked_temporary_file();
            _exit(3);
        };
        sigaction(SIGXFSZ, &action, nullptr);
        const rlimit limit{40, 40};
        if (setrlimit(RLIMIT_FSIZE, &limit) != 0) return 2;
        save_conditions(path_, ConditionsRecord{});
        return 0;
    });
    EXPECT_EQ(result, 3);
    EXPECT_EQ(read_file(), bytes_of(sample_record()));
    EXPECT_EQ(folder_entries(), std::vector<std::string>{kConditionsFileName});
}

// ---- Mode and owner

TEST_F(ConditionsFile, TheReplacementKeepsTheModeOwnerAndGroup) {
    REQUIRE_ROOT();
    struct Case {
        mode_t mode;
        uid_t owner;
        gid_t group;
    };
    for (const Case& c : {Case{0640, kNobody, kNobodyGroup}, Case{0600, 0, 0}, Case{0604, 0, kNobodyGroup},
                          Case{0666, kNobody, 0}}) {
        write_file({1, 2, 3});
        ASSERT_EQ(chown(path_.c_str(), c.owner, c.group), 0);
        ASSERT_EQ(chmod(path_.c_str(), c.mode), 0);
        const struct stat before = link_status(path_);
        EXPECT_TRUE(save_conditions(path_, sample_record()));
        const struct stat after = link_status(path_);
        EXPECT_FALSE(same_file(before, after)) << "replaced, not written over";
        EXPECT_EQ(after.st_mode & 07777, c.mode);
        EXPECT_EQ(after.st_uid, c.owner);
        EXPECT_EQ(after.st_gid, c.group);
        EXPECT_EQ(read_file(), bytes_of(sample_record()));
        EXPECT_EQ(folder_entries(), std::vector<std::string>{kConditionsFileName});
    }
}

TEST_F(ConditionsFile, ANewFileGetsTheUsualModeAndAnOwnerTheUserCannotGiveIsNoError) {
    const mode_t old_mask = umask(022);
    EXPECT_TRUE(save_conditions(path_, sample_record()));
    EXPECT_EQ(link_status(path_).st_mode & 07777, 0644u);
    umask(027);
    fs::remove(path_);
    EXPECT_TRUE(save_conditions(path_, sample_record()));
    EXPECT_EQ(link_status(path_).st_mode & 07777, 0640u);
    umask(old_mask);

    // Nobody replaces root's writable file in nobody's folder: it becomes nobody's.
    REQUIRE_ROOT();
    ASSERT_EQ(chown(folder_.c_str(), kNobody, kNobodyGroup), 0);
    ASSERT_EQ(chmod(path_.c_str(), 0666), 0);
    EXPECT_EQ(in_child([&] { return become_nobody() && save_conditions(path_, ConditionsRecord{}) ? 0 : 1; }), 0);
    EXPECT_EQ(read_file(), bytes_of(ConditionsRecord{}));
    EXPECT_EQ(link_status(path_).st_uid, kNobody);
    EXPECT_EQ(link_status(path_).st_mode & 07777, 0666u);
    EXPECT_EQ(folder_entries(), std::vector<std::string>{kConditionsFileName});
}

// ---- Read-only and in-place

TEST_F(ConditionsFile, AFileWithoutAWriteBitIsReadButNeverWrittenEvenByRoot) {
    for (const mode_t mode : {0444, 0400, 0555, 0}) {
        write_file(bytes_of(sample_record()));
        ASSERT_EQ(chmod(path_.c_str(), mode), 0);
        const struct stat before = link_status(path_);
        if (geteuid() == 0) {
            EXPECT_EQ(load_conditions(path_), sample_record()) << mode;
        }
        EXPECT_FALSE(save_conditions(path_, ConditionsRecord{})) << mode;
        const struct stat after = link_status(path_);
        EXPECT_TRUE(same_file(before, after));
        EXPECT_EQ(after.st_mode & 07777, mode);
        EXPECT_EQ(after.st_mtim.tv_nsec, before.st_mtim.tv_nsec);
        chmod(path_.c_str(), 0600);
        EXPECT_EQ(read_file(), bytes_of(sample_record())) << mode;
        EXPECT_EQ(folder_entries(), std::vector<std::string>{kConditionsFileName});
        fs::remove(path_);
    }
}

TEST_F(ConditionsFile, AWritableFileInAFolderTheUserCannotWriteIsWrittenInPlace) {
    REQUIRE_ROOT();
    // Root's folder, nobody's file, longer than a record.
    write_file(std::vector<std::uint8_t>(200, 9));
    ASSERT_EQ(chown(path_.c_str(), kNobody, kNobodyGroup), 0);
    ASSERT_EQ(chmod(path_.c_str(), 0640), 0);
    ASSERT_EQ(chmod(folder_.c_str(), 0755), 0);
    const struct stat before = link_status(path_);
    EXPECT_EQ(in_child([&] { return become_nobody() && save_conditions(path_, sample_record()) ? 0 : 1; }), 0);
    const struct stat after = link_status(path_);
    EXPECT_TRUE(same_file(before, after));
    EXPECT_EQ(after.st_uid, kNobody);
    EXPECT_EQ(after.st_mode & 07777, 0640u);
    EXPECT_EQ(read_file(), bytes_of(sample_record()));
    EXPECT_EQ(folder_entries(), std::vector<std::string>{kConditionsFileName});
}

TEST_F(ConditionsFile, ARenameRefusedInAStickyFolderFallsBackToTheFileItselfOrLeavesNothing) {
    REQUIRE_ROOT();
    // Nobody may make files in the sticky folder but not rename over root's file.
    ASSERT_EQ(chmod(folder_.c_str(), 01777), 0);
    write_file(bytes_of(sample_record()));
    ASSERT_EQ(chmod(path_.c_str(), 0666), 0);
    const struct stat before = link_status(path_);
    EXPECT_EQ(in_child([&] { return become_nobody() && save_conditions(path_, ConditionsRecord{}) ? 0 : 1; }), 0);
    EXPECT_TRUE(same_file(before, link_status(path_)));
    EXPECT_EQ(link_status(path_).st_uid, 0u);
    EXPECT_EQ(read_file(), bytes_of(ConditionsRecord{}));
    EXPECT_EQ(folder_entries(), std::vector<std::string>{kConditionsFileName});

    // Root's file that nobody may not write: the temporary file is written, not renamed, removed.
    ASSERT_EQ(chmod(path_.c_str(), 0644), 0);
    EXPECT_EQ(in_child([&] { return become_nobody() && !save_conditions(path_, sample_record()) ? 0 : 1; }), 0);
    EXPECT_EQ(read_file(), bytes_of(ConditionsRecord{}));
    EXPECT_EQ(folder_entries(), std::vector<std::string>{kConditionsFileName});
}

// ---- Links

class ConditionsLink : public ConditionsFile {
protected:
    TempFolder elsewhere{"conditions-target"};
    const std::string target_ = elsewhere.file("settings.dat");
};

TEST_F(ConditionsLink, OfTheUsersOwnStaysALinkWhileItsTargetIsReplacedInItsFolder) {
    TempFolder::write_bytes(target_, bytes_of(sample_record()));
    ASSERT_EQ(chmod(target_.c_str(), 0640), 0);
    // Absolute, and a chain of two with a relative link.
    for (const bool chained : {false, true}) {
        fs::remove(path_);
        if (chained) {
            fs::create_symlink(target_, folder_ / "middle");
            fs::create_symlink("middle", path_);
        } else {
            fs::create_symlink(target_, path_);
        }
        EXPECT_EQ(load_conditions(path_), sample_record());
        EXPECT_TRUE(save_conditions(path_, ConditionsRecord{}));
        EXPECT_EQ(TempFolder::read_bytes(target_), bytes_of(ConditionsRecord{}));
        EXPECT_EQ(link_status(target_).st_mode & 07777, 0640u);
        EXPECT_TRUE(fs::is_symlink(path_));
        EXPECT_EQ(fs::read_symlink(path_), chained ? fs::path("middle") : fs::path(target_));
        EXPECT_EQ(entries_of(elsewhere.path()), std::set<std::string>{"settings.dat"});
        EXPECT_TRUE(save_conditions(path_, sample_record()));
        EXPECT_EQ(load_conditions(path_), sample_record());
    }
}

TEST_F(ConditionsLink, OfTheUsersOwnPointingNowhereGetsItsTargetMade) {
    fs::create_symlink(target_, path_);
    EXPECT_EQ(load_conditions(path_), ConditionsRecord{});
    EXPECT_TRUE(save_conditions(path_, sample_record()));
    EXPECT_TRUE(fs::is_symlink(path_));
    EXPECT_EQ(TempFolder::read_bytes(target_), bytes_of(sample_record()));
}

TEST_F(ConditionsLink, ChainsLongerThanTheLimitAreUnusable) {
    TempFolder::write_bytes(target_, bytes_of(sample_record()));
    std::string next = target_;
    for (int i = 1; i <= kMaxFileLinks; ++i) {
        const std::string link = folder.file("link" + std::to_string(i));
        fs::create_symlink(next, link);
        next = link;
    }
    EXPECT_EQ(load_conditions(next), sample_record());
    fs::create_symlink(next, path_);
    EXPECT_EQ(load_conditions(path_), ConditionsRecord{});
    EXPECT_FALSE(save_conditions(path_, ConditionsRecord{}));
    EXPECT_EQ(TempFolder::read_bytes(target_), bytes_of(sample_record()));

    // A loop ends the same way.
    fs::create_symlink("loop-b", folder_ / "loop-a");
    fs::create_symlink("loop-a", folder_ / "loop-b");
    EXPECT_EQ(load_conditions(folder.file("loop-a")), ConditionsRecord{});
    EXPECT_FALSE(save_conditions(folder.file("loop-a"), ConditionsRecord{}));
}

TEST_F(ConditionsLink, OfAnotherUserIsNeitherReadNorWrittenThrough) {
    REQUIRE_ROOT();
    TempFolder::write_bytes(target_, bytes_of(sample_record()));
    ASSERT_EQ(chmod(target_.c_str(), 0600), 0);
    // Nobody's link straight to the file, and nobody's link at the end of root's own link.
    for (const bool behind_own_link : {false, true}) {
        const std::string foreign = behind_own_link ? folder.file("foreign") : path_;
        fs::create_symlink(target_, foreign);
        ASSERT_EQ(lchown(foreign.c_str(), kNobody, kNobodyGroup), 0);
        if (behind_own_link) fs::create_symlink("foreign", path_);
        EXPECT_EQ(load_conditions(path_), ConditionsRecord{});
        EXPECT_FALSE(save_conditions(path_, ConditionsRecord{}));
        EXPECT_EQ(TempFolder::read_bytes(target_), bytes_of(sample_record()));
        EXPECT_EQ(link_status(target_).st_mode & 07777, 0600u);
        EXPECT_TRUE(fs::is_symlink(path_));
        EXPECT_EQ(folder_entries().size(), behind_own_link ? 2u : 1u);
        fs::remove(path_);
        fs::remove(foreign);
    }
}

// ---- Anything but a regular file

TEST_F(ConditionsFile, AnythingButARegularFileGivesTheDefaultsAtOnceAndIsNeverWritten) {
    struct Case {
        const char* what;
        std::function<bool()> make;
        mode_t type;
    };
    const Case cases[] = {
        {"fifo", [&] { return mkfifo(path_.c_str(), 0666) == 0; }, S_IFIFO},
        {"folder", [&] { return mkdir(path_.c_str(), 0777) == 0; }, S_IFDIR},
        {"device", [&] { return mknod(path_.c_str(), S_IFCHR | 0666, makedev(1, 3)) == 0; }, S_IFCHR},
        {"own link to a fifo",
         [&] { return mkfifo(folder.file("fifo").c_str(), 0666) == 0 && symlink("fifo", path_.c_str()) == 0; },
         S_IFLNK},
        {"own link to /dev/null", [&] { return symlink("/dev/null", path_.c_str()) == 0; }, S_IFLNK},
    };
    for (const Case& c : cases) {
        if (!c.make()) {
            ADD_FAILURE() << "cannot make a " << c.what;
            continue;
        }
        // A load or save that waited would be ended by the alarm.
        EXPECT_EQ(in_child(
                      [&] {
                          return load_conditions(path_) == ConditionsRecord{} &&
                                         !save_conditions(path_, sample_record())
                                     ? 0
                                     : 1;
                      },
                      3),
                  0)
            << c.what;
        EXPECT_EQ(link_status(path_).st_mode & S_IFMT, c.type) << c.what;
        fs::remove(path_);
        fs::remove(folder.file("fifo"));
        EXPECT_TRUE(folder_entries().empty()) << c.what;
    }
}

}  // namespace
