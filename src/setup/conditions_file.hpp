#pragma once

#include <string>

#include "setup/conditions_record.hpp"

inline constexpr const char* kConditionsFileName = "BEDINGUN.DAT";

// The defaults, overlaid by the file's first 80 bytes when it has them. Every failure to
// read leaves the defaults; nothing is reported.
ConditionsRecord load_conditions(const std::string& path);

// Writes the record through a temporary file in the same folder that is renamed over the old
// one, so a failed write never leaves a damaged file. Failures are absorbed; returns whether
// the file now holds the record.
bool save_conditions(const std::string& path, const ConditionsRecord& record);
