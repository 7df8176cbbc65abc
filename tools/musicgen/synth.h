#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace musicgen {

constexpr int kSampleRate = 44100;
constexpr double kPi = 3.14159265358979323846;

// SplitMix64: the same numbers on every compiler and standard library, which the
// <random> distributions do not promise. Every track must come out byte-identical.
class Rng {
public:
    explicit Rng(uint64_t seed) : state_(seed) {}
    uint64_t next()
    {
        uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    double uniform() { return double(next() >> 11) * (1.0 / 9007199254740992.0); }
    double range(double a, double b) { return a + (b - a) * uniform(); }
    int below(int n) { return int(uniform() * n); }
    bool chance(double p) { return uniform() < p; }
    float noise() { return float(uniform() * 2.0 - 1.0); }

private:
    uint64_t state_;
};

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
