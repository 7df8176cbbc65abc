#pragma once

#include "settings/settinglines.h"

#include <string>
#include <vector>

namespace settings {

// What start-up runs with: the four setting lines after the repair.
struct StartSettings {
    std::vector<std::string> lines; // at least four; lines 2 to 4 are numbers from 0 to 1
    bool stored = true;             // false: the file could not be written, the values live in memory only
};

// Before start-up reads its values: a missing file, missing lines or a speed or
// volume that is not a number from 0 to 1 are replaced by the defaults (mode 0,
// speeds 0.5), each with a warning naming the line; good lines are kept. When
// the repaired file cannot be written the game still runs with the repaired
// values, after one warning that says why.
StartSettings repairSettingsFile();

// Line n (2 to 4) of repaired settings as a number.
float settingValue(const StartSettings &settings, int n);

// The option lines 5 to 11 (settinglines.h) take only the values the README
// names: 0 or 1, the interludes' mode and the text size 0 to 2, the box's
// opacity 0.2 to 1. Anything else is the line's default, and the repair puts
// the default in the file with a warning, as for lines 2 to 4; a missing line
// stays missing (the default too). Line n's value, or its default:
float optionValue(const std::vector<std::string> &lines, int n);

// Option line n's default as the file holds it ("0" for a line without one).
std::string optionDefaultText(int n);

} // namespace settings
