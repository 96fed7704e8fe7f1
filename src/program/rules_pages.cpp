#include "program/rules_pages.hpp"

#include <cstddef>

#include "core/keys.hpp"
#include "program/rules_texts.hpp"

namespace {

enum class PageStep { Forward, Back, Leave, Ignore };

PageStep step_of(Key key) {
    if (key.extended) {
        switch (key.code) {
        case scan::kPgDn:
        case scan::kCtrlPgDn:
        case scan::kAltPgDn:
            return PageStep::Forward;
        case scan::kPgUp:
        case scan::kCtrlPgUp:
        case scan::kAltPgUp:
            return PageStep::Back;
        default:
            return PageStep::Ignore;
        }
    }
    switch (key.code) {
    case keys::kBackspace:
        return PageStep::Back;
    case keys::kEsc:
    case keys::kCtrlC:
        return PageStep::Leave;
    default:
        return PageStep::Forward;
    }
}

void draw_page(App& app, const RulesPage& page) {
    draw_marked_page(app.console, page, app.language, app.colours);
}

// Forward from the last page leaves; back from the first page does nothing.
void show_pages(App& app, std::span<const RulesPage> pages) {
    std::size_t page = 0;
    draw_page(app, pages[page]);
    for (;;) {
        switch (step_of(app.console.next_key())) {
        case PageStep::Forward:
            if (++page == pages.size()) return;
            break;
        case PageStep::Back:
            if (page == 0) continue;
            --page;
            break;
        case PageStep::Leave:
            return;
        case PageStep::Ignore:
            continue;
        }
        draw_page(app, pages[page]);
    }
}

}  // namespace

void run_short_rules(App& app) { show_pages(app, short_rules()); }

void run_detailed_rules(App& app) { show_pages(app, detailed_rules()); }
