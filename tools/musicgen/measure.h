#pragma once

#include "synth.h"

#include <string>

// Measures a decoded track the way the music checks need it, so that they
// need no other decoder than LAME's own.
namespace musicgen {

// 16-bit PCM, mono or stereo.
bool readWav(const std::string &path, StereoBuffer *buf, int *rate, int *channels, std::string *error);

// Prints "key value" lines: rate, channels, seconds, lufs, dbtp, and the mean
// levels in dBFS of the first 2 ms (head) and the last 50 ms (tail).
int printMeasures(const std::string &wavPath);

} // namespace musicgen
