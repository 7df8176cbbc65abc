#pragma once

#include "rng.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace musicgen {

constexpr int kSampleRate = 44100;
constexpr double kPi = 3.14159265358979323846;

struct StereoBuffer {
    std::vector<float> left;
    std::vector<float> right;
    explicit StereoBuffer(size_t frames = 0) : left(frames, 0.0f), right(frames, 0.0f) {}
    size_t frames() const { return left.size(); }
};

enum class Instrument {
    Piano, ElectricPiano, Bell, Marimba, Pad, Strings, StaccatoStrings, Flute, Brass,
    Pluck, Bass, SynthBass, SubBass, SynthPluck,
    Kick, Snare, Clap, ClosedHat, OpenHat, Shaker, Tom, Timpani, Crash,
};

struct Note {
    double start = 0;    // seconds
    double length = 0;   // seconds the key is held; the release rings on after it
    double pitch = 60;   // MIDI note number
    float velocity = 1;  // 0..1
    float pan = 0;       // -1 (left) .. 1 (right)
};

double midiToHz(double pitch);

// Adds one note into buf. brightness (0..1) opens filters and upper partials;
// seed feeds the noise of that one note so a re-render is identical.
void renderNote(Instrument inst, const Note &note, float brightness, uint64_t seed,
                StereoBuffer &buf);

// Freeverb-style room: eight damped combs and four allpasses per side, the right side
// slightly detuned so the tail is wide. Returns only the wet signal.
StereoBuffer reverb(const StereoBuffer &in, double roomSize, double damping);

// Ping-pong echo, darkened on every repeat so it sits behind the dry part.
StereoBuffer pingPongDelay(const StereoBuffer &in, double seconds, double feedback);

} // namespace musicgen
