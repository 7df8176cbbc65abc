#pragma once

#include "synth.h"

#include <vector>

namespace musicgen {

// Integrated loudness per ITU-R BS.1770-4 / EBU R128: K-weighting, 400 ms blocks with
// 75 % overlap, absolute gate at -70 LUFS, relative gate 10 LU below. Returns -70 or
// less for silence.
double integratedLoudness(const StereoBuffer &buf, int sampleRate = kSampleRate);

// Per frame, the largest magnitude over both channels after 4x oversampling, so the
// peaks between samples that a DAC or an MP3 decoder reconstructs are seen.
// Frames that cannot come near 'floor' report their plain sample peak to save time.
std::vector<float> truePeakPerFrame(const StereoBuffer &buf, float floor = 0.0f);
double truePeakDb(const StereoBuffer &buf);

double toDb(double linear);
void applyGain(StereoBuffer &buf, double db);

struct MasterReport {
    double loudness;       // LUFS after mastering
    double truePeak;       // dBTP after mastering
    double maxReduction;   // deepest limiter gain reduction, dB (0 = untouched)
};

// Brings the mix to targetLufs while holding the oversampled peak under ceilingDb:
// gain, then a look-ahead limiter on the true-peak envelope, repeated because limiting
// lowers the loudness a little each time.
MasterReport master(StereoBuffer &buf, double targetLufs, double ceilingDb);

} // namespace musicgen
