#pragma once

#include "synth.h"

#include <map>
#include <string>
#include <vector>

namespace musicgen {

// A chord by pitch classes (0 = C). bass is the pitch class of the lowest note, which
// differs from root only for slash chords such as "C/E".
struct Chord {
    int root = 0;
    int bass = 0;
    std::vector<int> tones;  // pitch classes, root first, then third, fifth, extensions
};

// Parses symbols such as "C", "F#m7", "Bbmaj7", "Gsus4", "E7", "Dm9", "Am/C", "Cadd9".
// Returns false on anything it does not understand, so a typo in a track fails loudly.
bool parseChord(const std::string &symbol, Chord *out);

struct MelodyStyle {
    int low = 67;
    int high = 84;
    std::vector<std::vector<double>> rhythms;   // one bar each, in beats; negative = rest
    std::vector<std::vector<double>> cadences;  // the closing bar of a phrase
    double legato = 0.92;
    float velocity = 0.8f;
    double leapChance = 0.15;
};

struct PartSettings {
    Instrument instrument = Instrument::Piano;
    float gain = 1.0f;
    float pan = 0.0f;
    float reverb = 0.2f;      // send level into the shared room
    float delay = 0.0f;       // send level into the ping-pong echo
    float brightness = 0.5f;
    bool humanise = true;     // small timing and velocity drift
};

struct MixSettings {
    double roomSize = 0.8;
    double damping = 0.4;
    double reverbLevel = 1.0;
    double delayBeats = 0.75;
    double delayFeedback = 0.35;
    double tailSeconds = 4.0;   // silence after the last bar for the room to die away
    double fadeSeconds = 8.0;   // the end fades to exact silence over this span
};

// A piece on a bar grid: chords per bar, parts with notes, and generators that write
// idiomatic figures (pads, arpeggios, bass lines, melodies) from the chords. Everything
// random comes from the song's own seed.
class Song {
public:
    Song(double bpm, int beatsPerBar, int tonic, bool minor, uint64_t seed);

    // Bars separated by '|', one or more chords per bar sharing it evenly, e.g.
    // "C | G/B | Am F | G". Returns the index of the first bar added.
    int addBars(const std::string &progression);
    // Applies to bars added from now on; melodies follow the new scale.
    void setKey(int tonic, bool minor);
    int bars() const { return int(bars_.size()); }
    double secondsPerBeat() const { return 60.0 / bpm_; }
    int beatsPerBar() const { return beatsPerBar_; }

    int addPart(const PartSettings &settings);
    const std::vector<Note> &notes(int part) const { return parts_[size_t(part)].notes; }
    void note(int part, double beat, double beats, double pitch, float velocity, float pan = 0);

    void pad(int part, int bar0, int bar1, int low, int high, float velocity);
    // order indexes the voiced chord tones, continuing an octave up past the last one.
    void arpeggio(int part, int bar0, int bar1, const std::vector<int> &order, double step,
                  int low, int high, float velocity);
    // Block chords struck at the given beats of every bar.
    void chordHits(int part, int bar0, int bar1, const std::vector<double> &beats,
                   double length, int low, int high, float velocity);
    // One character per step of a bar: R root (or slash bass), 3 third, 5 fifth,
    // 8 octave, '-' holds the previous note, '.' rest.
    void bassLine(int part, int bar0, int bar1, const std::string &pattern, int low,
                  float velocity);
    // 'X' loud, 'x' normal, 'o' soft, '.' rest; the string spans one bar.
    void drums(int part, int bar0, int bar1, const std::string &pattern, float velocity,
               double pitch = 60);
    // A melody in four-bar phrases; calling again with the same motif id replays the
    // same tune, so sections can return.
    void melody(int part, int bar0, int bar1, const MelodyStyle &style, int motif,
                int transpose = 0);
    // Scattered high chord tones on an eighth-note grid, 'perBar' on average.
    void sparkle(int part, int bar0, int bar1, double perBar, int low, int high, float velocity);
    // Slow line of guide tones (thirds and sevenths), one per chord.
    void counterLine(int part, int bar0, int bar1, int low, int high, float velocity);

    StereoBuffer render(const MixSettings &mix) const;
    double lengthSeconds(const MixSettings &mix) const;

private:
    struct Slot {
        double beat;  // absolute
        double beats;
        Chord chord;
    };
    struct Bar {
        std::vector<Slot> slots;
        int tonic;
        bool minor;
    };
    struct Part {
        PartSettings settings;
        std::vector<Note> notes;
    };
    struct MelodyNote {
        double beat;  // relative to the first bar of the melody
        double beats;
        int pitch;
        float velocity;
    };

    const Slot &slotAt(double beat) const;
    std::vector<int> scaleFor(int bar, const Chord &chord) const;
    std::vector<int> voice(const Chord &chord, const std::vector<int> &previous, int low,
                           int high, int count) const;
    std::vector<MelodyNote> composeMelody(int bar0, int bar1, const MelodyStyle &style,
                                          int motif);

    double bpm_;
    int beatsPerBar_;
    int tonic_;
    bool minor_;
    uint64_t seed_;
    Rng rng_;
    std::vector<Bar> bars_;
    std::vector<Part> parts_;
    std::map<int, std::vector<MelodyNote>> motifs_;
};

} // namespace musicgen
