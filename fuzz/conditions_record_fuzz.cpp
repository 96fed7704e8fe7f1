// Random bytes of any length as the conditions file, taken through the start-up's loading and
// corrections; what comes out must be a record every screen can rely on, stay as it is when
// validated again and come back unchanged from the file the game writes at the end.

#include <fcntl.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>

#include "console/colour_scheme.hpp"
#include "core/signs.hpp"
#include "program/conditions_file.hpp"
#include "program/run_conditions.hpp"
#include "setup/game_setup.hpp"
#include "setup/memory_budget.hpp"
#include "setup/player_names.hpp"

namespace {

void require(bool holds, const char* what) {
    if (holds) return;
    std::fprintf(stderr, "conditions record: %s\n", what);
    std::abort();
}

// Saving syncs the file to disk, which on a disk-backed /tmp costs a hundred times the rest of
// a run; /dev/shm keeps files in memory. $TMPDIR still decides when it is set.
std::filesystem::path base_folder() {
    std::error_code ignored;
    if (std::getenv("TMPDIR") == nullptr && std::filesystem::is_directory("/dev/shm", ignored) &&
        access("/dev/shm", W_OK) == 0) {
        return "/dev/shm";
    }
    return std::filesystem::temp_directory_path();
}

// A folder only this process uses, removed at the end of the run.
class PrivateFolder {
public:
    PrivateFolder() {
        std::string pattern = (base_folder() / "fuzz-conditions-XXXXXX").string();
        require(mkdtemp(pattern.data()) != nullptr, "cannot make a private folder");
        path_ = pattern;
    }
    ~PrivateFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    PrivateFolder(const PrivateFolder&) = delete;
    PrivateFolder& operator=(const PrivateFolder&) = delete;

    std::string file(const char* name) const { return (path_ / name).string(); }

private:
    std::filesystem::path path_;
};

const PrivateFolder& folder() {
    static const PrivateFolder instance;
    return instance;
}

void write_file(const std::string& path, const std::uint8_t* data, std::size_t size) {
    const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    require(fd >= 0, "cannot write the input file");
    std::size_t done = 0;
    while (done < size) {
        const ssize_t put = write(fd, data + done, size - done);
        require(put > 0, "cannot write the input file");
        done += static_cast<std::size_t>(put);
    }
    require(close(fd) == 0, "cannot write the input file");
}

struct LoadedConditions {
    GameSetup setup;
    ColourScheme colours;
};

LoadedConditions load_at_start_up(const std::string& path) {
    LoadedConditions loaded;
    load_run_conditions(path, loaded.setup, loaded.colours);
    return loaded;
}

bool is_flag(std::uint8_t value) { return value <= 1; }

void require_normalised(const PlayerName& name) {
    require(name.length == 32, "name length byte is not 32");
    require(name.at(32) == ' ', "name's last place is not blank");
    for (int position = 1; position <= PlayerName::kPositions; ++position) {
        const char ch = name.at(position);
        const bool allowed = (ch >= 'a' && ch <= 'z') || (ch >= 'A' && ch <= 'Z') || ch == ' ' ||
                             ch == '-' || ch == '.';
        require(allowed, "name holds a character names may not");
    }
    if (name.empty()) require(name == PlayerName{}, "an empty name is not all blank");
    PlayerName again = name;
    normalise_name(again);
    require(again == name, "normalising a normalised name changes it");
}

bool is_valid_attribute_pair(const ColourScheme& colours) {
    const auto background = [](std::uint8_t attribute) { return (attribute >> 4) & 0x07; };
    const auto text = [](std::uint8_t attribute) { return attribute & 0x0F; };
    return colours.standard < 0x80 && colours.emphasized < 0x80 &&
           background(colours.standard) == background(colours.emphasized) &&
           background(colours.standard) != text(colours.standard) &&
           background(colours.emphasized) != text(colours.emphasized);
}

// What the conditions screen, the configuration page and a match take for granted.
void require_screen_ready(const LoadedConditions& loaded) {
    const GameSetup& setup = loaded.setup;
    const ConditionsRecord& record = setup.record;
    require(record.code_length >= 2 && record.code_length <= kMaxCodeLength, "code length");
    require(is_ring_sign(static_cast<char>(record.first_sign)), "first sign not a ring sign");
    require(is_ring_sign(static_cast<char>(record.last_sign)), "last sign not a ring sign");
    require(record.first_sign != record.last_sign, "first and last sign equal");
    require(record.time_limit <= 9, "time limit");
    require(is_memory_choice(record.memory_choice), "memory choice");
    require(record.reserved >= 1 && record.reserved <= 8, "reserved byte");
    for (std::uint8_t flag : {record.sound, record.repetition, record.vacant_signs,
                              record.computer_sets_riddle, record.computer_guesses,
                              record.answer_fixed}) {
        require(is_flag(flag), "yes/no byte other than 0 or 1");
    }
    require_normalised(record.player1);
    require_normalised(record.player2);

    require(setup.signs.first_sign() == static_cast<char>(record.first_sign), "ring's first sign");
    require(setup.signs.last_sign() == static_cast<char>(record.last_sign), "ring's last sign");
    require(setup.signs.set_size() >= 2, "set of fewer than two signs");
    require(record.code_length <= setup.signs.set_size() || record.repetition == 1,
            "code longer than the set without repetition");
    require(setup.memory_choice == record.memory_choice, "working memory choice");
    require(setup.byte_budget == byte_budget(setup.memory_choice), "byte budget");
    require(setup.saved_vacant == record.vacant_signs, "saved vacant-sign choice");
    require(setup.verdict == assess_capability(setup.signs.set_size(), record.code_length,
                                               record.repetition, record.vacant_signs,
                                               setup.byte_budget),
            "capability verdict");
    require(setup.verdict.variable_answer_possible || record.answer_fixed == 1,
            "variable answer where the computer cannot give one");
    require(setup.verdict.computer_can_guess || record.computer_guesses == 0,
            "computer guesses where it cannot");
    require(is_valid_attribute_pair(loaded.colours), "colour attributes");
}

void require_same_working_values(const GameSetup& a, const GameSetup& b, const char* what) {
    require(a.record == b.record, what);
    require(a.signs.sign_string() == b.signs.sign_string(), what);
    require(a.signs.set_size() == b.signs.set_size(), what);
    require(a.saved_vacant == b.saved_vacant, what);
    require(a.memory_choice == b.memory_choice, what);
    require(a.byte_budget == b.byte_budget, what);
    require(a.verdict == b.verdict, what);
    require(a.capability.line() == b.capability.line(), what);
}

void require_idempotent(const LoadedConditions& loaded) {
    LoadedConditions again = loaded;
    validate_conditions(again.setup);
    require_same_working_values(again.setup, loaded.setup, "validating again changes the setup");
    require(validate_loaded_scheme(loaded.colours.standard, loaded.colours.emphasized) ==
                loaded.colours,
            "validating the colours again changes them");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string input = folder().file("input");
    const std::string output = folder().file("output");
    write_file(input, data, size);

    LoadedConditions loaded = load_at_start_up(input);
    require_screen_ready(loaded);
    require_idempotent(loaded);

    // The file holds the repaired colours; the rest must come back as it was.
    LoadedConditions expected = loaded;
    expected.setup.record.standard_attribute = loaded.colours.standard;
    expected.setup.record.emphasized_attribute = loaded.colours.emphasized;

    const ConditionsRecord saved = save_run_conditions(output, loaded.setup, loaded.colours);
    require(saved == expected.setup.record, "the record saved is not the one in use");
    require(load_conditions(output) == saved, "the saved file does not load as written");
    const LoadedConditions reloaded = load_at_start_up(output);
    require_same_working_values(reloaded.setup, expected.setup,
                                "the next start-up works with other values");
    require(reloaded.colours == expected.colours, "the next start-up has other colours");
    return 0;
}
