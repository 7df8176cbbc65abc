#pragma once

#include "synth.h"

#include <vector>

namespace musicgen {

struct Track {
    const char *fileName;
    StereoBuffer (*compose)();
};

// The game's eight pieces, in the order the build writes them.
const std::vector<Track> &tracks();

} // namespace musicgen
