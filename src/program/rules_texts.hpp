#pragma once

#include <span>

#include "console/marked_text.hpp"

// One page of the rules: its rows in both languages, '^' marking the emphasized parts.
using RulesPage = std::span<const MarkedRow>;

// Main menu item 6: one page.
std::span<const RulesPage> short_rules();
// Main menu item 7: four pages.
std::span<const RulesPage> detailed_rules();
