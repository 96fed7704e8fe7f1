#include <gtest/gtest.h>

#include "program/conditions_file.hpp"
#include "program/game.hpp"
#include "support/temp_folder.hpp"
#include "support/test_rig.hpp"

namespace {

TEST(ConditionsGame, AMatchStartsWithTheConditionsWrittenToTheFile) {
    const TempFolder folder("conditions-game");
    TestRig rig(ScriptedTerminal::WhenExhausted::Fail, folder.file("mirelvanthoque"));
    rig.app.game_language = Language::German;
    validate_conditions(rig.app.setup);
    // Sound on in field 2, then on through the form to the choice and "1"; the match is left
    // at its first try and no new game wanted.
    rig.terminal.type("3\rj\r\r\r\r\r\r\r\rj\r1\x1bn");
    run_game(rig.app);
    EXPECT_EQ(rig.terminal.keys_left(), 0u);
    const ConditionsRecord saved = load_conditions(folder.file(kConditionsFileName));
    EXPECT_EQ(saved.sound, 1);
    EXPECT_EQ(saved, record_to_save(rig.app.setup, rig.app.colours.standard,
                                    rig.app.colours.emphasized));
}

}  // namespace
