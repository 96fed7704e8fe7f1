#include "program/conditions_place.hpp"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace {

const std::string kProgram = "/usr/games/mirelvanthoque";
const std::string kBeside = "/usr/games/BEDINGUN.DAT";

// Facts with the paths that are writable listed; everything else is not.
PlaceFacts facts(std::set<std::string> writable, std::optional<std::string> xdg = std::nullopt,
                 std::string home = "/home/anna") {
    return {kProgram, std::move(xdg), std::move(home),
            [writable = std::move(writable)](const std::string& path) { return writable.contains(path); }};
}

void expect_beside(const ConditionsPlace& place) {
    EXPECT_EQ(place.own, kBeside);
    EXPECT_EQ(place.starting, kBeside);
    EXPECT_EQ(place.folder_to_make, "");
}

void expect_users(const ConditionsPlace& place, const std::string& folder) {
    EXPECT_EQ(place.own, folder + "/BEDINGUN.DAT");
    EXPECT_EQ(place.starting, kBeside);
    EXPECT_EQ(place.folder_to_make, folder);
}

TEST(ConditionsPlace, AWritableFileOrFolderBesideTheProgramKeepsItThere) {
    expect_beside(place_conditions(facts({kBeside})));
    expect_beside(place_conditions(facts({"/usr/games/"})));
    expect_beside(place_conditions(facts({kBeside, "/usr/games/"}, "/xdg")));
}

TEST(ConditionsPlace, OtherwiseTheUsersConfigurationFolderHoldsIt) {
#if defined(_WIN32)
    expect_users(place_conditions(facts({}, "C:/Users/anna/AppData/Roaming")),
                 "C:/Users/anna/AppData/Roaming/mirelvanthoque");
    expect_users(place_conditions(facts({}, "//server/anna/")), "//server/anna/mirelvanthoque");
    // Without a drive, a path hangs on the current drive.
    expect_users(place_conditions(facts({}, "/xdg")), "/home/anna/.config/mirelvanthoque");
#else
    expect_users(place_conditions(facts({}, "/home/anna/settings")), "/home/anna/settings/mirelvanthoque");
    expect_users(place_conditions(facts({}, "/xdg///")), "/xdg/mirelvanthoque");
    expect_users(place_conditions(facts({}, "/")), "/mirelvanthoque");
#endif
}

TEST(ConditionsPlace, WithoutAnAbsoluteConfigHomeTheHomeFoldersConfigIsUsed) {
    expect_users(place_conditions(facts({})), "/home/anna/.config/mirelvanthoque");
    expect_users(place_conditions(facts({}, "")), "/home/anna/.config/mirelvanthoque");
    expect_users(place_conditions(facts({}, "relative/config")), "/home/anna/.config/mirelvanthoque");
    expect_users(place_conditions(facts({}, std::nullopt, "/home/anna/")), "/home/anna/.config/mirelvanthoque");
    expect_users(place_conditions(facts({}, std::nullopt, "/")), "/.config/mirelvanthoque");
}

TEST(ConditionsPlace, WithoutAnyFolderOfTheUsersTheFileBesideIsReadAndKept) {
    expect_beside(place_conditions(facts({}, std::nullopt, "")));
    expect_beside(place_conditions(facts({}, "not/absolute", "")));
}

TEST(ConditionsPlace, AProgramWithoutAKnownFolderLooksAtTheWorkingFolder) {
    PlaceFacts unknown = facts({"."});
    unknown.program_path = "";
    const ConditionsPlace place = place_conditions(unknown);
    EXPECT_EQ(place.own, "BEDINGUN.DAT");
    EXPECT_EQ(place.starting, "BEDINGUN.DAT");
    unknown.writable = [](const std::string&) { return false; };
    EXPECT_EQ(place_conditions(unknown).own, "/home/anna/.config/mirelvanthoque/BEDINGUN.DAT");
}

}  // namespace
