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

Preparation preparation_of(BuildResult result) {
    switch (result) {
    case BuildResult::Built: return Preparation::Ready;
    case BuildResult::TooLargeForMachine: return Preparation::TooLargeForMachine;
    case BuildResult::Abandoned:
    case BuildResult::NoRoom: return Preparation::Abandoned;
    }
    return Preparation::Abandoned;
}

BuildHooks hooks_on_clock(MatchClock& clock, std::function<bool()> abandon_requested) {
    BuildHooks hooks;
    hooks.abandon_requested = std::move(abandon_requested);
    hooks.heartbeat = [&clock](std::uint64_t made) {
        clock.record_progress(static_cast<std::int32_t>(made));
        clock.tick();
    };
    hooks.progress = [&clock](int tenths) { clock.show_progress(tenths); };
    return hooks;
}

void tell_tables_too_large_for_machine(MatchSession& session) {
    Console& console = session.console;
    const std::string_view text = kTooLargeForMachine(session.game_language);
    console.goto_xy(1, kStatusRow);
    console.write_text(padded(text, kStatusWidth));
    console.goto_xy(static_cast<int>(text.size()) + 1, kStatusRow);
    console.next_key();
}
