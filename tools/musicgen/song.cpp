#include "song.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <sstream>
#include <stdexcept>

namespace musicgen {

namespace {

int letterClass(char c)
{
    switch (c) {
    case 'C': return 0;
    case 'D': return 2;
    case 'E': return 4;
    case 'F': return 5;
    case 'G': return 7;
    case 'A': return 9;
    case 'B': return 11;
    default: return -1;
    }
}

// Reads a note name at s[pos]; advances pos. Returns -1 if there is none.
int readNoteName(const std::string &s, size_t &pos)
{
    if (pos >= s.size())
        return -1;
    int pc = letterClass(s[pos]);
    if (pc < 0)
        return -1;
    ++pos;
    if (pos < s.size() && s[pos] == '#') {
        ++pc;
        ++pos;
    } else if (pos < s.size() && s[pos] == 'b') {
        --pc;
        ++pos;
    }
    return (pc + 12) % 12;
}

int mod12(int x) { return ((x % 12) + 12) % 12; }

std::vector<std::string> split(const std::string &s, char sep)
{
    std::vector<std::string> out;
    std::string cur;
    for (char c : s) {
        if (c == sep) {
            out.push_back(cur);
            cur.clear();
        } else {
            cur += c;
        }
    }
    out.push_back(cur);
    return out;
}

std::vector<std::string> words(const std::string &s)
{
    std::istringstream in(s);
    std::vector<std::string> out;
    std::string w;
    while (in >> w)
        out.push_back(w);
    return out;
}

bool contains(const std::vector<int> &v, int x) { return std::find(v.begin(), v.end(), x) != v.end(); }

} // namespace

bool parseChord(const std::string &symbol, Chord *out)
{
    static const std::vector<std::pair<std::string, std::vector<int>>> qualities = {
        {"", {0, 4, 7}},           {"m", {0, 3, 7}},           {"7", {0, 4, 7, 10}},
        {"maj7", {0, 4, 7, 11}},   {"m7", {0, 3, 7, 10}},      {"m7b5", {0, 3, 6, 10}},
        {"dim", {0, 3, 6}},        {"sus4", {0, 5, 7}},        {"sus2", {0, 2, 7}},
        {"7sus4", {0, 5, 7, 10}},  {"add9", {0, 4, 7, 2}},     {"madd9", {0, 3, 7, 2}},
        {"6", {0, 4, 7, 9}},       {"m6", {0, 3, 7, 9}},       {"9", {0, 4, 7, 10, 2}},
        {"maj9", {0, 4, 7, 11, 2}}, {"m9", {0, 3, 7, 10, 2}},  {"aug", {0, 4, 8}},
    };
    size_t pos = 0;
    const int root = readNoteName(symbol, pos);
    if (root < 0)
        return false;
    const size_t slash = symbol.find('/', pos);
    const std::string quality = symbol.substr(pos, slash == std::string::npos ? std::string::npos
                                                                              : slash - pos);
    int bass = root;
    if (slash != std::string::npos) {
        size_t bpos = slash + 1;
        bass = readNoteName(symbol, bpos);
        if (bass < 0 || bpos != symbol.size())
            return false;
    }
    for (const auto &q : qualities) {
        if (q.first == quality) {
            out->root = root;
            out->bass = bass;
            out->tones.clear();
            for (int iv : q.second)
                out->tones.push_back(mod12(root + iv));
            return true;
        }
    }
    return false;
}

Song::Song(double bpm, int beatsPerBar, int tonic, bool minor, uint64_t seed)
    : bpm_(bpm), beatsPerBar_(beatsPerBar), tonic_(tonic), minor_(minor), seed_(seed), rng_(seed)
{
}

int Song::addBars(const std::string &progression)
{
    const int first = bars();
    for (const std::string &barText : split(progression, '|')) {
        const auto symbols = words(barText);
        if (symbols.empty())
            throw std::runtime_error("empty bar in \"" + progression + "\"");
        Bar bar;
        bar.tonic = tonic_;
        bar.minor = minor_;
        const double each = double(beatsPerBar_) / double(symbols.size());
        for (size_t i = 0; i < symbols.size(); ++i) {
            Chord c;
            if (!parseChord(symbols[i], &c))
                throw std::runtime_error("bad chord \"" + symbols[i] + "\"");
            bar.slots.push_back({double(bars()) * beatsPerBar_ + double(i) * each, each, c});
        }
        bars_.push_back(bar);
    }
    return first;
}

void Song::setKey(int tonic, bool minor)
{
    tonic_ = tonic;
    minor_ = minor;
}

int Song::addPart(const PartSettings &settings)
{
    parts_.push_back({settings, {}});
    return int(parts_.size()) - 1;
}

void Song::note(int part, double beat, double beats, double pitch, float velocity, float pan)
{
    Part &p = parts_[size_t(part)];
    Note n;
    n.start = beat * secondsPerBeat();
    n.length = beats * secondsPerBeat();
    n.pitch = pitch;
    n.velocity = velocity;
    n.pan = pan + p.settings.pan;
    if (p.settings.humanise) {
        n.start += rng_.uniform(-0.006, 0.006);
        n.velocity *= float(rng_.uniform(0.93, 1.04));
    }
    n.start = std::max(0.0, n.start);
    n.velocity = std::clamp(n.velocity, 0.0f, 1.0f);
    p.notes.push_back(n);
}

const Song::Slot &Song::slotAt(double beat) const
{
    const int b = std::clamp(int(std::floor(beat / beatsPerBar_ + 1e-9)), 0, bars() - 1);
    const Bar &bar = bars_[size_t(b)];
    for (size_t i = bar.slots.size(); i-- > 0;) {
        if (bar.slots[i].beat <= beat + 1e-9)
            return bar.slots[i];
    }
    return bar.slots.front();
}

std::vector<int> Song::scaleFor(int bar, const Chord &chord) const
{
    static const int major[] = {0, 2, 4, 5, 7, 9, 11};
    static const int minor[] = {0, 2, 3, 5, 7, 8, 10};
    const Bar &b = bars_[size_t(bar)];
    std::vector<int> scale;
    for (int i = 0; i < 7; ++i)
        scale.push_back(mod12(b.tonic + (b.minor ? minor[i] : major[i])));
    // Borrowed chord tones (the raised leading note over a major V in minor, say)
    // replace their diatonic neighbour so the melody never rubs against the chord.
    for (int t : chord.tones) {
        if (contains(scale, t))
            continue;
        for (int &s : scale) {
            if (mod12(s - t) == 1 || mod12(t - s) == 1) {
                s = t;
                break;
            }
        }
    }
    std::sort(scale.begin(), scale.end());
    return scale;
}

std::vector<int> Song::voice(const Chord &chord, const std::vector<int> &previous, int low,
                             int high, int count) const
{
    std::vector<int> tones = chord.tones;
    while (int(tones.size()) > count) {
        // Drop the fifth first, then the root: thirds and colour tones carry the sound.
        if (tones.size() > 2 && tones[2] == mod12(chord.root + 7))
            tones.erase(tones.begin() + 2);
        else
            tones.erase(tones.begin());
    }
    for (size_t i = 0; int(tones.size()) < count; ++i)
        tones.push_back(tones[i % tones.size()]);

    std::vector<std::vector<int>> options;
    for (int t : tones) {
        std::vector<int> o;
        for (int p = low; p <= high; ++p) {
            if (mod12(p) == t)
                o.push_back(p);
        }
        options.push_back(o);
    }
    const double centre = (low + high) * 0.5;
    std::vector<int> best, cur(tones.size());
    double bestCost = 1e18;
    std::function<void(size_t)> search = [&](size_t i) {
        if (i == tones.size()) {
            std::vector<int> s = cur;
            std::sort(s.begin(), s.end());
            double cost = 0;
            for (size_t k = 1; k < s.size(); ++k) {
                if (s[k] == s[k - 1])
                    return;
                if (s[k] - s[k - 1] <= 1)
                    cost += 8;  // a semitone cluster sounds like a wrong note in a pad
                if (s[k - 1] < 55 && s[k] - s[k - 1] < 3)
                    cost += 6;  // close low intervals turn to mud
            }
            if (s.back() - s.front() > 17)
                cost += 3.0 * (s.back() - s.front() - 17);
            if (previous.size() == s.size()) {
                for (size_t k = 0; k < s.size(); ++k)
                    cost += std::abs(s[k] - previous[k]);
            } else {
                double mean = 0;
                for (int p : s)
                    mean += p;
                cost += std::abs(mean / double(s.size()) - centre) * 2;
            }
            if (cost < bestCost) {
                bestCost = cost;
                best = s;
            }
            return;
        }
        for (int p : options[i]) {
            cur[i] = p;
            search(i + 1);
        }
    };
    search(0);
    if (best.empty()) {
        // A narrow range cannot hold a doubled note: voice fewer parts.
        if (count <= 1)
            throw std::runtime_error("no voicing in range");
        return voice(chord, previous, low, high, count - 1);
    }
    return best;
}

void Song::pad(int part, int bar0, int bar1, int low, int high, float velocity)
{
    // Notes shared by consecutive chords are held rather than struck again, as a
    // string section would tie them; only the moving voices re-attack.
    std::vector<int> prev;
    std::vector<std::pair<int, double>> held;  // pitch, start beat
    double endBeat = 0;
    for (int b = bar0; b < bar1; ++b) {
        for (const Slot &s : bars_[size_t(b)].slots) {
            prev = voice(s.chord, prev, low, high, 4);
            std::vector<std::pair<int, double>> next;
            for (const auto &h : held) {
                if (contains(prev, h.first))
                    next.push_back(h);
                else
                    note(part, h.second, s.beat - h.second + 0.05, h.first, velocity);
            }
            for (int p : prev) {
                bool tied = false;
                for (const auto &h : next)
                    tied = tied || h.first == p;
                if (!tied)
                    next.emplace_back(p, s.beat);
            }
            held = next;
            endBeat = s.beat + s.beats;
        }
    }
    for (const auto &h : held)
        note(part, h.second, endBeat - h.second + 0.05, h.first, velocity);
}

void Song::arpeggio(int part, int bar0, int bar1, const std::vector<int> &order, double step,
                    int low, int high, float velocity)
{
    std::vector<int> prev;
    const Chord *last = nullptr;
    for (int b = bar0; b < bar1; ++b) {
        const double barStart = double(b) * beatsPerBar_;
        int i = 0;
        for (double t = 0; t < beatsPerBar_ - 1e-9; t += step, ++i) {
            const Slot &s = slotAt(barStart + t);
            if (last != &s.chord) {
                prev = voice(s.chord, prev, low, high, int(std::min<size_t>(s.chord.tones.size(), 4)));
                last = &s.chord;
            }
            const int idx = order[size_t(i) % order.size()];
            const int n = int(prev.size());
            const int pitch = prev[size_t(idx % n)] + 12 * (idx / n);
            const float accent = std::fmod(t, 1.0) < 1e-9 ? 1.0f : 0.85f;
            note(part, barStart + t, step * 1.6, pitch, velocity * accent);
        }
    }
}

void Song::chordHits(int part, int bar0, int bar1, const std::vector<double> &beats,
                     double length, int low, int high, float velocity)
{
    std::vector<int> prev;
    for (int b = bar0; b < bar1; ++b) {
        for (double t : beats) {
            const Slot &s = slotAt(double(b) * beatsPerBar_ + t);
            prev = voice(s.chord, prev, low, high, int(std::min<size_t>(s.chord.tones.size(), 4)));
            for (int p : prev)
                note(part, double(b) * beatsPerBar_ + t, length, p, velocity);
        }
    }
}

void Song::bassLine(int part, int bar0, int bar1, const std::string &pattern, int low,
                    float velocity)
{
    const double step = double(beatsPerBar_) / double(pattern.size());
    for (int b = bar0; b < bar1; ++b) {
        for (size_t i = 0; i < pattern.size(); ++i) {
            const char c = pattern[i];
            if (c == '-' || c == '.')
                continue;
            size_t len = 1;
            while (i + len < pattern.size() && pattern[i + len] == '-')
                ++len;
            const double beat = double(b) * beatsPerBar_ + double(i) * step;
            const Chord &ch = slotAt(beat).chord;
            // Third, fifth and octave count up from the root; a fifth that would climb
            // past an octave above 'low' is taken below the root instead.
            const int root = low + mod12(ch.root - low);
            int pitch = low + mod12(ch.bass - low);
            if (c == '3' && ch.tones.size() > 1) {
                pitch = root + mod12(ch.tones[1] - ch.root);
            } else if (c == '5') {
                const int fifth = contains(ch.tones, mod12(ch.root + 7)) ? mod12(ch.root + 7)
                                                                         : ch.tones.back();
                pitch = root + mod12(fifth - ch.root);
                if (pitch > low + 12)
                    pitch -= 12;
            } else if (c == '8') {
                pitch = root + 12;
            }
            note(part, beat, double(len) * step * 0.92, pitch,
                 velocity * (i == 0 ? 1.0f : 0.88f));
        }
    }
}

void Song::drums(int part, int bar0, int bar1, const std::string &pattern, float velocity,
                 double pitch)
{
    const double step = double(beatsPerBar_) / double(pattern.size());
    for (int b = bar0; b < bar1; ++b) {
        for (size_t i = 0; i < pattern.size(); ++i) {
            float v = 0;
            switch (pattern[i]) {
            case 'X': v = 1.0f; break;
            case 'x': v = 0.72f; break;
            case 'o': v = 0.45f; break;
            default: continue;
            }
            note(part, double(b) * beatsPerBar_ + double(i) * step, step, pitch, velocity * v);
        }
    }
}

std::vector<Song::MelodyNote> Song::composeMelody(int bar0, int bar1, const MelodyStyle &style,
                                                  int motif)
{
    Rng rng(seed_ * 31 + uint64_t(motif) * 1000003ull + 17);
    std::vector<MelodyNote> out;
    for (const auto *set : {&style.rhythms, &style.cadences}) {
        for (const auto &r : *set) {
            double sum = 0;
            for (double d : r)
                sum += std::fabs(d);
            if (std::fabs(sum - beatsPerBar_) > 1e-9)
                throw std::runtime_error("melody rhythm does not fill a bar");
        }
    }
    auto chordTones = [&](const Chord &c) {
        std::vector<int> v;
        for (int p = style.low; p <= style.high; ++p)
            if (contains(c.tones, mod12(p)))
                v.push_back(p);
        return v;
    };
    auto scaleTones = [&](int bar, const Chord &c) {
        const std::vector<int> sc = scaleFor(bar, c);
        std::vector<int> v;
        for (int p = style.low; p <= style.high; ++p)
            if (contains(sc, mod12(p)))
                v.push_back(p);
        return v;
    };
    auto nearest = [](const std::vector<int> &v, int target) {
        int best = v.front();
        for (int p : v)
            if (std::abs(p - target) < std::abs(best - target))
                best = p;
        return best;
    };

    int prev = nearest(chordTones(slotAt(double(bar0) * beatsPerBar_).chord),
                       (style.low + style.high) / 2);
    std::vector<MelodyNote> firstHalf;  // first two bars of the opening phrase
    const int phrases = (bar1 - bar0 + 3) / 4;
    for (int ph = 0; ph < phrases; ++ph) {
        const int pb0 = bar0 + ph * 4;
        const int pb1 = std::min(bar1, pb0 + 4);
        const bool finalPhrase = ph == phrases - 1;
        const auto &rA = style.rhythms[size_t(rng.below(int(style.rhythms.size())))];
        const auto &rB = style.rhythms[size_t(rng.below(int(style.rhythms.size())))];
        const auto &cad = style.cadences[size_t(rng.below(int(style.cadences.size())))];

        // An answering phrase opens like the first one when the harmony allows: that
        // repetition is what makes a tune singable.
        bool echoed = false;
        if (ph % 2 == 1 && !firstHalf.empty()) {
            bool same = true;
            for (int k = 0; k < 2; ++k) {
                const Chord &a = slotAt(double(bar0 + k) * beatsPerBar_).chord;
                const Chord &b = slotAt(double(pb0 + k) * beatsPerBar_).chord;
                same = same && a.tones == b.tones;
            }
            if (same) {
                for (MelodyNote m : firstHalf) {
                    m.beat += double(pb0 - bar0) * beatsPerBar_;
                    out.push_back(m);
                }
                prev = firstHalf.back().pitch;
                echoed = true;
            }
        }
        std::vector<int> barOneSteps;  // scale-step intervals of the phrase's first bar
        for (int b = echoed ? pb0 + 2 : pb0; b < pb1; ++b) {
            const bool lastBar = b == pb1 - 1;
            const int inPhrase = b - pb0;
            const std::vector<double> &rhythm = lastBar ? cad : (inPhrase == 1 ? rB : rA);
            double t = 0;
            std::vector<int> barPitches;
            size_t idx = 0;
            for (size_t ri = 0; ri < rhythm.size(); ++ri) {
                const double d = rhythm[ri];
                if (d < 0) {
                    t -= d;
                    continue;
                }
                const double beat = double(b) * beatsPerBar_ + t;
                const Chord &chord = slotAt(beat).chord;
                const bool strong = std::fmod(t, beatsPerBar_ == 3 ? 3.0 : 2.0) < 1e-9 || d >= 1.5;
                bool lastNote = lastBar;
                for (size_t rj = ri + 1; rj < rhythm.size(); ++rj)
                    lastNote = lastNote && rhythm[rj] < 0;
                const std::vector<int> ct = chordTones(chord);
                const std::vector<int> st = scaleTones(b, chord);
                int pitch;
                if (lastNote) {
                    std::vector<int> goal;
                    for (int p : ct) {
                        const bool root = mod12(p) == chord.root;
                        if (finalPhrase ? root : !root || ph % 2 == 1)
                            goal.push_back(p);
                    }
                    pitch = nearest(goal.empty() ? ct : goal, prev);
                } else if (inPhrase == 2 && idx < barOneSteps.size() + 1 && !barOneSteps.empty()
                           && idx > 0) {
                    // Third bar repeats the first one's shape on the new harmony.
                    auto it = std::find(st.begin(), st.end(), prev);
                    int si = it == st.end() ? int(std::lower_bound(st.begin(), st.end(), prev) - st.begin())
                                            : int(it - st.begin());
                    si = std::clamp(si + barOneSteps[idx - 1], 0, int(st.size()) - 1);
                    pitch = st[size_t(si)];
                    if (strong && !contains(chord.tones, mod12(pitch)))
                        pitch = nearest(ct, pitch);
                } else {
                    const std::vector<int> &cand = strong ? ct : st;
                    const double pos = (b - pb0 + t / beatsPerBar_) / double(pb1 - pb0);
                    const int dir = pos < 0.5 ? 1 : -1;
                    std::vector<double> w;
                    double sum = 0;
                    for (int p : cand) {
                        const int iv = p - prev;
                        double x = std::exp(-std::abs(iv) / 2.2);
                        if (iv == 0)
                            x *= 0.3;
                        if (std::abs(iv) > 7)
                            x *= style.leapChance;
                        if (iv * dir > 0)
                            x *= 1.6;
                        w.push_back(x);
                        sum += x;
                    }
                    double r = rng.next() * sum;
                    size_t k = 0;
                    while (k + 1 < w.size() && r > w[k]) {
                        r -= w[k];
                        ++k;
                    }
                    pitch = cand[k];
                }
                if (inPhrase == 0 && !barPitches.empty()) {
                    auto si = [&](int p) {
                        return int(std::lower_bound(st.begin(), st.end(), p) - st.begin());
                    };
                    barOneSteps.push_back(si(pitch) - si(barPitches.back()));
                }
                barPitches.push_back(pitch);
                const float v = style.velocity * (strong ? 1.0f : 0.88f) * (lastNote ? 0.92f : 1.0f);
                MelodyNote m{beat - double(bar0) * beatsPerBar_, d * style.legato, pitch, v};
                out.push_back(m);
                if (ph == 0 && inPhrase < 2)
                    firstHalf.push_back(m);
                prev = pitch;
                t += d;
                ++idx;
            }
        }
    }
    return out;
}

void Song::melody(int part, int bar0, int bar1, const MelodyStyle &style, int motif,
                  int transpose)
{
    auto it = motifs_.find(motif);
    if (it == motifs_.end())
        it = motifs_.emplace(motif, composeMelody(bar0, bar1, style, motif)).first;
    for (const MelodyNote &m : it->second) {
        const double beat = m.beat + double(bar0) * beatsPerBar_;
        if (beat >= double(bar1) * beatsPerBar_)
            break;
        note(part, beat, m.beats, m.pitch + transpose, m.velocity);
    }
}

void Song::sparkle(int part, int bar0, int bar1, double perBar, int low, int high,
                   float velocity)
{
    const int steps = beatsPerBar_ * 2;
    for (int b = bar0; b < bar1; ++b) {
        for (int i = 0; i < steps; ++i) {
            if (!rng_.chance(perBar / steps))
                continue;
            const double beat = double(b) * beatsPerBar_ + i * 0.5;
            const Chord &c = slotAt(beat).chord;
            std::vector<int> tones;
            for (int p = low; p <= high; ++p)
                if (contains(c.tones, mod12(p)))
                    tones.push_back(p);
            if (tones.empty())
                continue;
            const int pitch = tones[size_t(rng_.below(int(tones.size())))];
            note(part, beat, 1.0, pitch, velocity * float(rng_.uniform(0.5, 1.0)),
                 float(rng_.uniform(-0.6, 0.6)));
        }
    }
}

void Song::counterLine(int part, int bar0, int bar1, int low, int high, float velocity)
{
    int prev = (low + high) / 2;
    for (int b = bar0; b < bar1; ++b) {
        for (const Slot &s : bars_[size_t(b)].slots) {
            // Thirds and sevenths define the chord; roots and fifths only when much closer.
            auto cost = [&](int p) {
                const int pc = mod12(p);
                const bool plain = pc == s.chord.root || pc == mod12(s.chord.root + 7);
                return std::abs(p - prev) + (plain ? 2.5 : 0.0);
            };
            int best = -1;
            for (int p = low; p <= high; ++p) {
                if (contains(s.chord.tones, mod12(p)) && (best < 0 || cost(p) < cost(best)))
                    best = p;
            }
            if (best < 0)
                continue;  // range narrower than the chord
            note(part, s.beat, s.beats * 0.97, best, velocity);
            prev = best;
        }
    }
}

double Song::lengthSeconds(const MixSettings &mix) const
{
    return double(bars()) * beatsPerBar_ * secondsPerBeat() + mix.tailSeconds;
}

StereoBuffer Song::render(const MixSettings &mix) const
{
    const size_t frames = size_t(lengthSeconds(mix) * kSampleRate);
    StereoBuffer master(frames), roomSend(frames), echoSend(frames);
    for (size_t pi = 0; pi < parts_.size(); ++pi) {
        const Part &p = parts_[pi];
        StereoBuffer buf(frames);
        for (size_t ni = 0; ni < p.notes.size(); ++ni) {
            const uint64_t seed = seed_ * 0x9E3779B97F4A7C15ull + pi * 1000003ull + ni * 7919ull;
            renderNote(p.settings.instrument, p.notes[ni], p.settings.brightness, seed, buf);
        }
        for (size_t i = 0; i < frames; ++i) {
            const float l = buf.left[i] * p.settings.gain, r = buf.right[i] * p.settings.gain;
            master.left[i] += l;
            master.right[i] += r;
            roomSend.left[i] += l * p.settings.reverb;
            roomSend.right[i] += r * p.settings.reverb;
            echoSend.left[i] += l * p.settings.delay;
            echoSend.right[i] += r * p.settings.delay;
        }
    }
    const StereoBuffer echo = pingPongDelay(echoSend, mix.delayBeats * secondsPerBeat(),
                                            mix.delayFeedback);
    for (size_t i = 0; i < frames; ++i) {
        master.left[i] += echo.left[i] * 0.5f;
        master.right[i] += echo.right[i] * 0.5f;
        roomSend.left[i] += echo.left[i] * 0.3f;
        roomSend.right[i] += echo.right[i] * 0.3f;
    }
    const StereoBuffer room = reverb(roomSend, mix.roomSize, mix.damping);
    const float wet = float(mix.reverbLevel);
    // One-pole DC blocker (about 5 Hz): the loop point must sit at zero.
    const double r = 1.0 - 2.0 * kPi * 5.0 / kSampleRate;
    double xl = 0, yl = 0, xr = 0, yr = 0;
    const double fadeIn = 0.06 * kSampleRate;
    const double fadeOut = mix.fadeSeconds * kSampleRate;
    for (size_t i = 0; i < frames; ++i) {
        const double l = master.left[i] + room.left[i] * wet;
        const double rr = master.right[i] + room.right[i] * wet;
        yl = l - xl + r * yl;
        xl = l;
        yr = rr - xr + r * yr;
        xr = rr;
        double g = 1.0;
        if (i < fadeIn)
            g *= 0.5 - 0.5 * std::cos(kPi * double(i) / fadeIn);
        const double left = double(frames - 1 - i);
        if (left < fadeOut)
            g *= 0.5 - 0.5 * std::cos(kPi * left / fadeOut);
        master.left[i] = float(yl * g);
        master.right[i] = float(yr * g);
    }
    return master;
}

} // namespace musicgen
