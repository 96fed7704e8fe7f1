#include "program/game.hpp"

#include "match/match.hpp"
#include "program/run_conditions.hpp"
#include "setup/conditions_screen.hpp"

namespace {

// A match begins with the conditions as they now stand, written to the file first.
void prepare_match(App& app) {
    GameSetup& setup = app.setup;
    setup.signs.set_stretch(static_cast<char>(setup.record.first_sign),
                            static_cast<char>(setup.record.last_sign));
    check_capability(setup, setup.signs.set_size(), setup.record.code_length,
                     setup.record.repetition, setup.record.vacant_signs);
    setup.saved_vacant = setup.record.vacant_signs;
    save_run_conditions(app);
}

}  // namespace

void run_game(App& app) {
    while (run_conditions_screen(app, app.setup) == ConditionsOutcome::StartMatch) {
        prepare_match(app);
        if (!run_match(app)) return;
    }
}
