#include "match/preparation.hpp"

#include "core/language.hpp"
#include "core/text.hpp"

namespace {

constexpr Bilingual kTooLargeForMachine{
    "Zu wenig Arbeitsspeicher auf diesem Rechner fuer diese Tabellen - bitte Taste.",
    "Not enough memory on this machine for these tables - press a key."};
constexpr int kStatusRow = 25;
// Up to column 79: writing the last cell of the last row would scroll the screen.
constexpr std::size_t kStatusWidth = 79;

}  // namespace

void tell_tables_too_large_for_machine(MatchSession& session) {
    Console& console = session.console;
    const std::string_view text = kTooLargeForMachine(session.game_language);
    console.goto_xy(1, kStatusRow);
    console.write_text(padded(text, kStatusWidth));
    console.goto_xy(static_cast<int>(text.size()) + 1, kStatusRow);
    console.next_key();
}
