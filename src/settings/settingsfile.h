#pragma once

#include "core/settinglines.h"

namespace settings {

// Before start-up reads its values: a missing file, missing lines or a speed or
// volume that is not a number from 0 to 1 are replaced by the defaults (mode 0,
// speeds 0.5), each with a warning naming the line; good lines are kept.
void repairSettingsFile();

} // namespace settings
