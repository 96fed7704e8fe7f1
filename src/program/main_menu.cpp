#include "program/main_menu.hpp"

#include <string_view>

#include "console/marked_text.hpp"
#include "core/keys.hpp"

namespace {

// clang-format off
constexpr MarkedRow kMenuRows[] = {
    {1, {"^                              Bedienungsanleitung:^",
         "^                             Operating instructions:^"}},
    {3, {"  Die Bedienung erfolgt ausschliesslich ueber die Tastatur. Jeder widerspruchs-",
         " Mirelvanthoque expects an input exclusively with the keyboard. Each consistent"}},
    {4, {" freie Befehl wird sofort ohne Bestaetigung durch \"CR\"/\"Enter\" ausgefuehrt:",
         " command will be realized immediately without pressing the 'CR'/'Enter'-key:"}},
    {6, {" - Mit ^\"Esc\"^/^\"Escape\"^ koennen Sie immer aus dem Programm fluechten, wenn Sie",
         " - With ^'Esc'^/^'Escape'^ you always can escape from the program, if you do not"}},
    {7, {"   einmal nicht mehr weiter wissen.",
         "   know, what to do."}},
    {8, {" - ^\"Backspace\"^/^\"<--\"^/^\"Ctrl H\"^/^\"Strg H\"^ und ^\"PgUp\"^ blaettern Texte zurueck.",
         " - ^'Backspace'^/^'<--'^/^'Ctrl H'^/^'Strg H'^ and ^'PgUp'^ show the previous page."}},
    {9, {" - ^Jeder andere Tastendruck^ blaettert hingegen vorwaerts.",
         " - Pressing ^any other key^ shows the next page of a text."}},
    {10, {" - Die ^Ziffern- und Buchstabentasten^ dienen der Auswahl, Eingabe und Aenderung.",
          " - Use the ^number- and characterkeys^ for inputs, to select or to change"}},
    {11, {"   (Falls der Ziffernblock nicht aktiv ist, bitte die Taste ^\"Num\"^ druecken oder",
          "   something. (If the numbers are not activ, please press the ^'Num'^-key or use"}},
    {12, {"   die Tasten oberhalb des Buchstaben-Blockes verwenden.)",
          "   the keys above the characters.)"}},
    {13, {" - ^\"CR\"^/^\"Enter\"^ uebernimmt einen vorgegebenen Wert und setzt das Programm fort.",
          " - ^'CR'^/^'Enter'^ accepts the proposition from the pc or continues the program."}},
    {14, {" - ^\"Backspace\"^/^\"<--\"^/^\"Ctrl H\"^/^\"Strg H\"^ und beim Raten ^\"del\"^ sind zur Korrektur.",
          " - Use ^'Backspace'^/^'<--'^/^'Ctrl H'^/^'Strg H'^ and while guessing ^'del'^ to correct."}},
    {15, {" - Die Funktionstaste ^\"F4\"^ erzwingt eine baldige Beendigung des Ratevorganges.",
          " - The functionkey ^'F4'^ terminates soon the guessing of the computer."}},
    {16, {" - Mit den ^Cursortasten <-^ und ^->^ koennen Sie sich beim Raten im Code bewegen.",
          " - Use the ^cursorkeys '<-'^ and ^'->'^, to move the cursor while guessing."}},
    {17, {" - ^\" \"^ bzw. ^\"*\"^ stehen fuer das Leerzeichen, falls es beim Raten erlaubt ist.",
          " - While guessing use ^' '^ respectively ^'*'^ for the vacant sign when allowed."}},
    {19, {"^                                Bitte waehlen Sie:^",
          "^                               Please choose now:^"}},
    {21, {" 1 - Sprache aendern.                     5 - Das Spiel beginnt.",
          " 1 - Change the language.        5 - The game starts."}},
    {22, {" 2 - Datum/Uhrzeit anzeigen/einstellen.   6 - Kurze Spielanleitung.  (1 Seite)",
          " 2 - Show/change date/time.      6 - Short instruction of the game.   (1 page)"}},
    {23, {" 3 - Wochentagskalender von 0000 - 9999/  7 - Genaue Spielanleitung. (4 Seiten)",
          " 3 - Calendar from 0000 to 9999/ 7 - Detailed instruction of the game.(4 pages)"}},
    {24, {"     Virtuelles Spieldatum.               8 - Konfiguration.         (1 Seite)",
          "     Virtual date of the game.   8 - Configuration.                   (1 page)"}},
    {25, {" 4 - Bringen Sie Farbe ins Spiel.         9 - Programm beenden.               ",
          " 4 - Lend colour to the game.    9 - End of the game.                         "}},
};
// clang-format on

}  // namespace

void draw_main_menu(App& app) {
    draw_marked_page(app.console, kMenuRows, app.language, app.colours);
}

std::uint8_t read_menu_choice(App& app) {
    for (;;) {
        const Key key = app.console.next_key();
        if (key.extended) continue;
        if (key.code == keys::kCtrlC) return '9';
        if (key.code >= '1' && key.code <= '9') return key.code;
    }
}
