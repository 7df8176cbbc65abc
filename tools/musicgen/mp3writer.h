#pragma once

#include "synth.h"

#include <string>

namespace musicgen {

// Encodes 44.1 kHz stereo at 128 kbit/s CBR. The file is written under a temporary
// name in the same directory and renamed into place, so a crash never leaves a
// truncated track where the game looks for it. Returns false and sets *error on failure.
bool writeMp3(const StereoBuffer &audio, const std::string &path, std::string *error);

} // namespace musicgen
