#pragma once

#include <string>

#include "setup/conditions_record.hpp"

inline constexpr const char* kConditionsFileName = "BEDINGUN.DAT";

// The defaults, overlaid by the file's first 80 bytes when it has them. Every failure to
// read leaves the defaults; nothing is reported. Only a regular file is read, reached through
// links of the user's own alone (platform/safe_file.hpp has the rules).
ConditionsRecord load_conditions(const std::string& path);

// Replaces the file through a temporary file in its folder that takes the old file's mode and
// owner, so a failed write never leaves a damaged file; a read-only file is left alone, a
// link of the user's own keeps pointing at its target, which is replaced. Failures are
// absorbed; returns whether the file now holds the record.
bool save_conditions(const std::string& path, const ConditionsRecord& record);
