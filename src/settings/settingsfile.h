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

} // namespace settings
