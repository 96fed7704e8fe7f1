#include "program/rules_texts.hpp"

namespace {

// clang-format off
constexpr MarkedRow kPage[] = {
    {1, {"^                            ***  Spielregeln !  ***^",
         "^                         ***  Rules of the game !  ***^"}},
    {3, {" Mirelvanthoque ist ein Denkspiel fuer zwei Spieler. Auf dem Papier spielt man",
         " Mirelvanthoque is a game of thought for two players. On paper it is played"}},
    {4, {" es mit einem Code aus vier Ziffern.",
         " with a code of four digits."}},
    {6, {" Die Computerversion kennt auch Buchstaben. Sie legen fest, welche Zeichen",
         " The computerversion knows letters as well. You decide which signs are allowed,"}},
    {7, {" erlaubt sind, wie lang der Code ist (2 bis 9 Zeichen) und ob sich Zeichen",
         " how long the code is (2 to 9 signs) and whether a sign may occur more than"}},
    {8, {" darin wiederholen duerfen.",
         " once in it."}},
    {10, {" Der 1. Spieler denkt sich einen Code aus, der 2. Spieler versucht ihn zu",
          " The 1st player thinks of a code, the 2nd player tries to guess it. Every"}},
    {11, {" erraten. Jeder Versuch wird mit zwei Zahlen beantwortet: P ist die Zahl der",
          " trial is answered with two numbers: P is the number of positions in which"}},
    {12, {" Positionen, an denen Versuch und Code uebereinstimmen, Z die Zahl der weiteren",
          " trial and code agree, S the number of further signs that both have in common"}},
    {13, {" Zeichen, die beide an anderen Positionen gemeinsam haben. Beispiel: Code abc,",
          " at other positions. Example: code abc, trial acd gives P=1 (the a) and S=1"}},
    {14, {" Versuch acd ergibt P=1 (das a) und Z=1 (das c).",
          " (the c)."}},
    {16, {" Der Computer kann jede der beiden Rollen uebernehmen. Zwei Menschen koennen",
          " The computer can take either role. Two people can play against each other"}},
    {17, {" gegeneinander spielen, wobei der Computer die Aufsicht fuehrt, und der",
          " with the computer in charge, and the computer can play against itself."}},
    {18, {" Computer kann gegen sich selbst spielen. Mit ^\"Esc\"^ brechen Sie ein Spiel ab,",
          " ^'Esc'^ stops a game, ^'F4'^ forces the guessing computer to decide soon."}},
    {19, {" mit ^\"F4\"^ zwingen Sie den ratenden Computer zu einer baldigen Entscheidung.",
          ""}},
    {21, {" Erlaubt man Leerzeichen (^\" \"^ oder ^\"*\"^), so passen sie zu keinem Zeichen.",
          " Vacant signs (^' '^ or ^'*'^) may be allowed; they match no sign at all."}},
    {22, {" Beispiel: Code abc, Versuch a*b ergibt 1 Position und 1 Zeichen.",
          " Example: code abc, trial a*b gives 1 position and 1 sign."}},
    {24, {" Die Loesung ist fest oder variabel. Einen variablen Code aendert der erste",
          " The answercode is either fixed or variable. Player 1 changes a variable code"}},
    {25, {" Spieler im Rahmen seiner bisherigen Antworten, um das Raetsel zu erschweren.",
          " within his former answers, to make the riddle harder."}},
};
// clang-format on

constexpr RulesPage kPages[] = {kPage};

}  // namespace

std::span<const RulesPage> short_rules() { return kPages; }
