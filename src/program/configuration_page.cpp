#include "program/configuration_page.hpp"

#include <string>
#include <string_view>

#include "console/marked_text.hpp"
#include "core/keys.hpp"
#include "setup/memory_budget.hpp"

namespace {

// clang-format off
// The English text is shorter at the top, so the rows of the two languages do not pair up.
constexpr MarkedRow kPageRows[] = {
    {1, {"^                            ***  Konfiguration  ***^",
         ""}},
    {2, {"",
         "^                            ***  Configuration  ***^"}},
    {3, {"  Klicken Sie mit einem rechten Mausklick auf die obere Fensterleiste und",
         ""}},
    {4, {"waehlen \"Eigenschaften\".",
         "  Start 'Mirelvanthoque' and choose with a click with the right mouse button"}},
    {5, {"  Wechseln Sie zum Kartenreiter \"Schriftart\" und waehlen eine gut lesbare",
         "  on the top window bar 'Properties'."}},
    {6, {"Schriftgroesse aus.",
         "  Choose the tab 'Font' and then an appropriate font and fontsize."}},
    {7, {"  Wechseln Sie anschliessend zum Kartenreiter \"Layout\" und waehlen dort sowohl",
         "  Choose the tab 'Layout' and choose Width=80 and Height=25, both windowsize"}},
    {8, {"fuer die Fensterpuffergroesse als auch fuer die Fenstergroesse:",
         "  and windowcache-size."}},
    {9, {"Breite=80 und Hoehe=25.",
         "  Depending on your operatingsystem there are more options, you can test."}},
    {10, {"  Je nach Betriebssystem stehen weitere Optionen zur Verfuegung.",
          ""}},
    {11, {" ______________________________________________________________________________",
          " ______________________________________________________________________________"}},
    {13, {"Geben Sie unten ein,wieviel Speicherplatz dem Spiel zur Verfuegung stehen soll.",
          "  Please choose now, how much memory (RAM) the game should be able to use."}},
    {14, {"Mit dem Speicherplatz begrenzen Sie gleichzeitig die Zeit, die der Computer zum",
          "  The memory limits also the time, that the computer needs to guess."}},
    {15, {"Raten benoetigt. Bestaetigen Sie anschliessend die Auswahl mit \"CR\"/\"Enter\".",
          "  Please confirm your choice by pressing the 'CR'/'Enter'-key."}},
};
// clang-format on

// Heads the column of the large sizes.
constexpr Bilingual kWideColumnHeading{"64-Bit:", "64-bit:"};
constexpr int kHeadingColumn = 25;
constexpr int kHeadingRow = 17;

constexpr int kChoicesPerColumn = 8;
constexpr int kFirstLargeChoice = kChoicesPerColumn + 1;

struct Place {
    int column;
    int row;
};

// The place of an entry's key character.
Place place_of(int choice) {
    if (choice <= kChoicesPerColumn) return {3, choice + 16};
    return {39, choice + 8};
}

std::string entry_text(int choice, bool marked) {
    return memory_choice_key(choice) + std::string(marked ? " (*): " : " ( ): ") +
           std::string(memory_label(choice));
}

// Leaves the cursor on the entry's key character.
void draw_entry(Console& console, int choice, bool marked, const ColourScheme& colours) {
    const Place place = place_of(choice);
    console.goto_xy(place.column, place.row);
    console.set_attribute(marked ? colours.emphasized : colours.standard);
    console.write_text(entry_text(choice, marked));
    console.goto_xy(place.column, place.row);
}

void draw_page(App& app) {
    Console& console = app.console;
    const ColourScheme& colours = app.colours;
    draw_marked_page(console, kPageRows, app.language, colours);
    console.goto_xy(kHeadingColumn, kHeadingRow);
    console.write_text(kWideColumnHeading(app.language));
    for (int choice = 1; choice <= kMemoryChoiceCount; ++choice)
        draw_entry(console, choice, false, colours);
}

bool leaves_page(Key key) {
    return !key.extended &&
           (key.code == keys::kEnter || key.code == keys::kEsc || key.code == keys::kCtrlC);
}

int previous_in_column(int choice) {
    if (choice == 1) return kChoicesPerColumn;
    if (choice == kFirstLargeChoice) return kMemoryChoiceCount;
    return choice - 1;
}

int next_in_column(int choice) {
    if (choice == kChoicesPerColumn) return 1;
    if (choice == kMemoryChoiceCount) return kFirstLargeChoice;
    return choice + 1;
}

// The large column is one entry shorter; its last entry stands across from the last small one.
int other_column(int choice) {
    if (choice == kChoicesPerColumn) return kMemoryChoiceCount;
    return choice < kChoicesPerColumn ? choice + kChoicesPerColumn : choice - kChoicesPerColumn;
}

// The choice a key leads to; the same choice when the key means nothing here.
int choice_after(int choice, Key key) {
    if (!key.extended) {
        const int chosen = memory_choice_of_key(static_cast<char>(key.code));
        return chosen != 0 ? chosen : choice;
    }
    switch (key.code) {
    case scan::kUp:
    case scan::kCtrlUp:
    case scan::kAltUp:
        return previous_in_column(choice);
    case scan::kDown:
    case scan::kCtrlDown:
    case scan::kAltDown:
        return next_in_column(choice);
    case scan::kLeft:
    case scan::kRight:
    case scan::kCtrlLeft:
    case scan::kCtrlRight:
    case scan::kAltLeft:
    case scan::kAltRight:
        return other_column(choice);
    default:
        return choice;
    }
}

}  // namespace

void run_configuration_page(App& app) {
    Console& console = app.console;
    std::uint8_t& choice = app.setup.memory_choice;
    // A choice outside the fifteen would put the mark off the list.
    choice = valid_memory_choice(choice);
    draw_page(app);
    draw_entry(console, choice, true, app.colours);
    for (Key key = console.next_key(); !leaves_page(key); key = console.next_key()) {
        const int chosen = choice_after(choice, key);
        if (chosen == choice) continue;
        draw_entry(console, choice, false, app.colours);
        draw_entry(console, chosen, true, app.colours);
        choice = static_cast<std::uint8_t>(chosen);
    }
    console.set_attribute(app.colours.standard);
}
