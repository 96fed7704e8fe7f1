#include "program/conditions_place.hpp"

#include "platform/program_path.hpp"
#include "platform/user_folders.hpp"
#include "program/conditions_file.hpp"

namespace {

constexpr const char* kOwnFolderName = "mirelvanthoque";

std::string without_trailing_slashes(std::string folder) {
    while (folder.ends_with('/')) folder.pop_back();
    return folder;
}

// The user's configuration folder, without its trailing '/' (so "" stands for the root).
std::optional<std::string> config_home(const PlaceFacts& facts) {
    if (facts.xdg_config_home && is_absolute_path(*facts.xdg_config_home))
        return without_trailing_slashes(*facts.xdg_config_home);
    if (facts.home.empty()) return std::nullopt;
    return without_trailing_slashes(facts.home) + "/.config";
}

}  // namespace

ConditionsPlace ConditionsPlace::beside(const std::string& program_path) {
    const std::string file = directory_of(program_path) + kConditionsFileName;
    return {file, file, {}};
}

PlaceFacts facts_of_this_process(std::string program_path) {
#if defined(_WIN32)
    // Windows keeps a user's settings under %APPDATA%.
    const char* kConfigHome = "APPDATA";
#else
    const char* kConfigHome = "XDG_CONFIG_HOME";
#endif
    return {std::move(program_path), environment_value(kConfigHome), home_folder(), writable_by_user};
}

ConditionsPlace place_conditions(const PlaceFacts& facts) {
    const ConditionsPlace beside = ConditionsPlace::beside(facts.program_path);
    const std::string program_folder = directory_of(facts.program_path);
    if (facts.writable(beside.own) || facts.writable(program_folder.empty() ? "." : program_folder))
        return beside;
    const auto config = config_home(facts);
    // Nowhere of the user's own: the file beside the program is read and, as before, kept.
    if (!config) return beside;
    const std::string folder = *config + "/" + kOwnFolderName;
    return {folder + "/" + kConditionsFileName, beside.own, folder};
}
