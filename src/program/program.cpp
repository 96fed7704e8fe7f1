#include "program/program.hpp"

#include "calendar/calendar_screen.hpp"
#include "calendar/clock_screen.hpp"
#include "colours/colour_screen.hpp"
#include "program/configuration_page.hpp"
#include "program/game.hpp"
#include "program/main_menu.hpp"
#include "program/rules_pages.hpp"
#include "program/run_conditions.hpp"
#include "program/start_up.hpp"
#include "program/title_page.hpp"

namespace {

// The attribute of the console before the run, given back at its end.
constexpr std::uint8_t kPlainAttribute = 7;

enum class MenuOutcome {
    Redraw,     // draw the menu again
    BackToTop,  // write the conditions file, then draw the menu
    End,
};

// Item 5: the game set-up begins; its screens come back here when the user is done.
void begin_game(App& app) {
    app.setup.record.vacant_signs = app.setup.saved_vacant;
    app.game_language = app.language;
    if (app.virtual_date.in_force) app.virtual_date.compute_next_day();
    derive_byte_budget(app.setup);
    run_game(app);
}

MenuOutcome dispatch(App& app, std::uint8_t choice) {
    switch (choice) {
    case '1':
        return run_title_page(app) ? MenuOutcome::Redraw : MenuOutcome::End;
    case '2':
        // The computer's own date is being looked at, so no virtual one stays in force.
        app.virtual_date.in_force = false;
        run_clock_screen(app);
        return MenuOutcome::Redraw;
    case '3':
        run_calendar_screen(app, app.virtual_date);
        return MenuOutcome::Redraw;
    case '4':
        run_colour_screen(app);
        save_run_conditions(app);
        return MenuOutcome::Redraw;
    case '8':
        run_configuration_page(app);
        save_run_conditions(app);
        return MenuOutcome::Redraw;
    case '5':
        begin_game(app);
        return MenuOutcome::BackToTop;
    case '6':
        run_short_rules(app);
        return MenuOutcome::Redraw;
    case '7':
        run_detailed_rules(app);
        return MenuOutcome::Redraw;
    case '9':
        return MenuOutcome::End;
    default:
        return MenuOutcome::Redraw;
    }
}

void end_run(App& app) {
    save_run_conditions(app);
    Console& console = app.console;
    console.set_attribute(kPlainAttribute);
    console.clear_screen();
    const std::vector<std::string> lines = closing_lines(app);
    for (const std::string& line : lines) {
        console.write_text(line);
        console.write_line_end();
    }
    console.shut_down(lines);
}

}  // namespace

std::vector<std::string> closing_lines(const App& app) {
    return {
        app.program_path,
        "",
        "Mirelvanthoque  ***  Windows - 64-Bit - Version  2025-06-21,",
        "Version ohne Grafik- und Sonderzeichen / version without graphics characters.",
        "",
        "Bye-bye!",
        "",
    };
}

int run_program(App& app) {
    start_up(app);
    try {
        if (run_title_page(app)) {
            MenuOutcome outcome = MenuOutcome::BackToTop;
            while (outcome == MenuOutcome::BackToTop) {
                save_run_conditions(app);
                do {
                    draw_main_menu(app);
                    outcome = dispatch(app, read_menu_choice(app));
                } while (outcome == MenuOutcome::Redraw);
            }
        }
        end_run(app);
        return 0;
    } catch (const TerminalLost& lost) {
        // Whatever was under way has been left as on Esc; nobody is there to read a closing text.
        save_run_conditions(app);
        app.console.abandon_terminal();
        return lost.signal_number == 0 ? kExitTerminalLost : 128 + lost.signal_number;
    }
}
