#include "synth.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace musicgen {

namespace {

constexpr int kTableBits = 11;
constexpr int kTableSize = 1 << kTableBits;
constexpr int kMaxHarmonics = 96;

// One period of a waveform with the given harmonics, read with linear interpolation.
// Band-limited saws and squares come from here, so nothing aliases.
struct Table {
    std::array<float, kTableSize + 1> v;
};

// Hot loops call this per voice per sample: std::floor is a library call on baseline
// x86-64, the cast is not.
inline double wrap(double phase)
{
    double whole = double(int64_t(phase));
    if (whole > phase)
        whole -= 1.0;
    return phase - whole;
}

// For phases already known to lie in [0, 1).
inline float readUnit(const Table &t, double phase)
{
    const double x = phase * kTableSize;
    const int i = int(x);
    const float f = float(x - i);
    return t.v[i] + f * (t.v[i + 1] - t.v[i]);
}

inline float readTable(const Table &t, double phase)
{
    const double x = wrap(phase) * kTableSize;
    const int i = int(x);
    const float f = float(x - i);
    return t.v[i] + f * (t.v[i + 1] - t.v[i]);
}

const Table &sineTable()
{
    static const Table table = [] {
        Table t;
        for (int i = 0; i <= kTableSize; ++i)
            t.v[i] = float(std::sin(2.0 * kPi * i / kTableSize));
        return t;
    }();
    return table;
}

inline float fastSin(double phase) { return readTable(sineTable(), phase); }

// Saw (all harmonics 1/k) and square (odd harmonics 1/k) for every harmonic count.
struct WaveBank {
    std::vector<Table> saw, square;
    WaveBank() : saw(kMaxHarmonics + 1), square(kMaxHarmonics + 1)
    {
        std::vector<double> s(kTableSize + 1, 0.0), q(kTableSize + 1, 0.0);
        for (int n = 1; n <= kMaxHarmonics; ++n) {
            for (int i = 0; i <= kTableSize; ++i) {
                const double a = std::sin(2.0 * kPi * n * i / kTableSize) / n;
                s[i] += a;
                if (n % 2 == 1)
                    q[i] += a;
            }
            for (int i = 0; i <= kTableSize; ++i) {
                saw[n].v[i] = float(s[i] * 0.55);
                square[n].v[i] = float(q[i] * 0.8);
            }
        }
    }
};

const WaveBank &waves()
{
    static const WaveBank bank;
    return bank;
}

int harmonicsBelow(double hz, double limitHz)
{
    return std::clamp(int(limitHz / std::max(hz, 1.0)), 1, kMaxHarmonics);
}

// Topology-preserving state variable filter: stays stable while the cutoff sweeps.
struct Svf {
    double g = 0, k = 1, a1 = 0, a2 = 0, a3 = 0, ic1 = 0, ic2 = 0;
    double low = 0, band = 0, high = 0;
    void set(double hz, double q)
    {
        hz = std::clamp(hz, 20.0, kSampleRate * 0.45);
        g = std::tan(kPi * hz / kSampleRate);
        k = 1.0 / q;
        a1 = 1.0 / (1.0 + g * (g + k));
        a2 = g * a1;
        a3 = g * a2;
    }
    void run(double v0)
    {
        const double v3 = v0 - ic2;
        const double v1 = a1 * ic1 + a2 * v3;
        const double v2 = ic2 + a2 * ic1 + a3 * v3;
        ic1 = 2 * v1 - ic1;
        ic2 = 2 * v2 - ic2;
        low = v2;
        band = v1;
        high = v0 - k * v1 - v2;
    }
};

struct Pan {
    float l, r;
    explicit Pan(double p)
    {
        const double a = (std::clamp(p, -1.0, 1.0) + 1.0) * kPi / 4.0;
        l = float(std::cos(a));
        r = float(std::sin(a));
    }
};

// Linear attack, hold while the key is down, then exponential release. Rendering
// stops once the release is 52 dB down, where cutting it off cannot be heard.
struct Envelope {
    double attack, release, holdUntil;
    double end() const { return holdUntil + release * 6.0; }
};

// Steps an Envelope one sample at a time: an exp() per sample would cost more than
// the oscillators it shapes.
struct EnvelopeRun {
    double attackStep, releaseMul;
    size_t holdSamples, i = 0;
    double level = 0, release = 1;
    explicit EnvelopeRun(const Envelope &e)
        : attackStep(e.attack > 0 ? 1.0 / (e.attack * kSampleRate) : 1.0),
          releaseMul(std::exp(-1.0 / (e.release * kSampleRate))),
          holdSamples(size_t(e.holdUntil * kSampleRate))
    {
    }
    double next()
    {
        level = std::min(1.0, level + attackStep);
        if (i++ > holdSamples)
            release *= releaseMul;
        return level * release;
    }
};

struct Writer {
    StereoBuffer &buf;
    size_t start;
    size_t count;
    Writer(StereoBuffer &b, double startSeconds, double seconds) : buf(b)
    {
        start = size_t(std::max(0.0, std::round(startSeconds * kSampleRate)));
        const size_t n = size_t(std::max(0.0, seconds) * kSampleRate);
        count = start >= buf.frames() ? 0 : std::min(n, buf.frames() - start);
    }
    void add(size_t i, float v, const Pan &p)
    {
        buf.left[start + i] += v * p.l;
        buf.right[start + i] += v * p.r;
    }
};

constexpr double kDt = 1.0 / kSampleRate;

void piano(const Note &n, float bright, StereoBuffer &buf)
{
    const double f = midiToHz(n.pitch);
    const double t0 = std::clamp(3.2 * std::pow(261.6 / f, 0.7), 0.5, 9.0);
    const double releaseTime = 0.12;
    const double len = std::min(n.length + releaseTime * 6, t0 * 3.0);
    Writer w(buf, n.start, len);
    const Pan pan(n.pan);
    const double v = n.velocity;
    struct Partial { double inc, amp, fast, slow, fastMul, slowMul, ph; };
    std::vector<Partial> ps;
    for (int k = 1; k <= 12; ++k) {
        const double fk = f * k * std::sqrt(1.0 + 0.0003 * k * k);
        if (fk > 12000)
            break;
        const double amp = v * std::pow(double(k), -1.15)
                * std::exp(-(k - 1) * (0.75 - 0.45 * v * (0.6 + 0.4 * bright)));
        if (amp < 0.003 * v)
            break;  // soft notes have few audible partials
        const double tk = t0 / (1.0 + 0.5 * (k - 1));
        ps.push_back({fk * kDt, amp, 0.6, 0.4, std::exp(-kDt / (tk * 0.22)),
                      std::exp(-kDt / tk), 0.0});
    }
    const size_t holdEnd = size_t(n.length * kSampleRate);
    const double relMul = std::exp(-kDt / releaseTime);
    double rel = 1.0;
    for (size_t i = 0; i < w.count; ++i) {
        double s = 0;
        for (auto &p : ps) {
            s += p.amp * (p.fast + p.slow) * fastSin(p.ph);
            p.ph += p.inc;
            if (p.ph >= 1.0)
                p.ph -= 1.0;
            p.fast *= p.fastMul;
            p.slow *= p.slowMul;
        }
        // Partials that have died away cost as much as loud ones; drop them.
        if (i % 512 == 0) {
            ps.erase(std::remove_if(ps.begin(), ps.end(),
                                    [](const Partial &p) { return p.amp * (p.fast + p.slow) < 2e-5; }),
                     ps.end());
            if (ps.empty())
                break;
        }
        if (i > holdEnd)
            rel *= relMul;
        const double att = std::min(1.0, i / (0.002 * kSampleRate));
        w.add(i, float(s * rel * att * 0.5), pan);
    }
}

void electricPiano(const Note &n, float bright, StereoBuffer &buf)
{
    const double f = midiToHz(n.pitch);
    const double decay = std::clamp(2.5 * std::pow(261.6 / f, 0.5), 0.6, 5.0);
    Envelope env{0.003, 0.15, n.length};
    EnvelopeRun run(env);
    Writer w(buf, n.start, std::min(env.end(), decay * 4));
    const Pan pan(n.pan);
    const double index0 = (0.8 + 1.6 * n.velocity * bright) * std::min(1.0, 800.0 / f);
    double pc = 0, pm = 0, indexDecay = 1, ampDecay = 1;
    const double indexMul = std::exp(-kDt / 0.35), ampMul = std::exp(-kDt / decay);
    for (size_t i = 0; i < w.count; ++i) {
        const double index = index0 * indexDecay + 0.15;
        const double m = fastSin(pm) * index / (2 * kPi);
        const double s = fastSin(pc + m) * ampDecay * run.next();
        indexDecay *= indexMul;
        ampDecay *= ampMul;
        pc = wrap(pc + f * kDt);
        pm = wrap(pm + f * kDt);
        w.add(i, float(s * n.velocity * 0.45), pan);
    }
}

// Inharmonic partials with their own decays; covers celesta, glockenspiel and marimba.
void struck(const Note &n, const double *ratios, const double *amps, const double *decays,
            int count, double baseDecay, double gain, StereoBuffer &buf)
{
    const double f = midiToHz(n.pitch);
    const double len = std::min(n.length + 1.0, baseDecay * 5.0);
    Writer w(buf, n.start, len);
    const Pan pan(n.pan);
    const size_t holdEnd = size_t(n.length * kSampleRate);
    const double relMul = std::exp(-kDt / 0.3);
    for (int k = 0; k < count; ++k) {
        const double fk = f * ratios[k];
        if (fk > 15000)
            continue;
        const double mul = std::exp(-kDt / (baseDecay * decays[k]));
        double a = amps[k] * n.velocity * gain, ph = 0, rel = 1;
        for (size_t i = 0; i < w.count; ++i) {
            if (i > holdEnd)
                rel *= relMul;
            const double att = std::min(1.0, i / (0.001 * kSampleRate));
            w.add(i, float(a * rel * att * fastSin(ph)), pan);
            ph += fk * kDt;
            a *= mul;
        }
    }
}

// Detuned band-limited saws through a low-pass; pads and string sections differ in
// attack, vibrato and how far the filter opens.
void sawEnsemble(const Note &n, int voices, double detuneCents, double attack, double release,
                 double cutoffRatio, double vibratoDepth, double gain, StereoBuffer &buf,
                 double spread)
{
    const double f = midiToHz(n.pitch);
    Envelope env{attack, release, n.length};
    EnvelopeRun run(env);
    Writer w(buf, n.start, env.end());
    const Table &tab = waves().saw[harmonicsBelow(f * 1.02, 12000)];
    const size_t count = size_t(voices);
    std::vector<double> phases(count, 0.0), incs(count, 0.0);
    std::vector<Pan> pans;
    Rng rng(uint64_t(n.pitch * 1000) + uint64_t(n.start * 1000));
    for (int v = 0; v < voices; ++v) {
        const double pos = voices == 1 ? 0.0 : (2.0 * v / (voices - 1) - 1.0);
        incs[size_t(v)] = f * std::pow(2.0, pos * detuneCents / 1200.0) * kDt;
        phases[size_t(v)] = rng.next();
        pans.emplace_back(n.pan + pos * spread);
    }
    Svf fl, fr;
    const double cutoff = std::min(f * cutoffRatio, 9000.0);
    fl.set(cutoff, 0.6);
    fr.set(cutoff, 0.6);
    double vib = rng.next();
    const double vibRate = 5.2 + rng.uniform(-0.3, 0.3);
    const double scale = n.velocity * gain / voices;
    for (size_t i = 0; i < w.count; ++i) {
        double mod = 1.0;
        if (vibratoDepth > 0) {
            const double t = i * kDt;
            const double vdepth = vibratoDepth * std::min(1.0, std::max(0.0, (t - 0.25) / 0.4));
            mod += vdepth * fastSin(vib);
            vib += vibRate * kDt;
        }
        double l = 0, r = 0;
        for (size_t v = 0; v < count; ++v) {
            const float s = readUnit(tab, phases[v]);
            phases[v] += incs[v] * mod;
            if (phases[v] >= 1.0)
                phases[v] -= 1.0;
            l += s * pans[v].l;
            r += s * pans[v].r;
        }
        fl.run(l);
        fr.run(r);
        const double e = run.next() * scale;
        buf.left[w.start + i] += float(fl.low * e);
        buf.right[w.start + i] += float(fr.low * e);
    }
}

void flute(const Note &n, float bright, uint64_t seed, StereoBuffer &buf)
{
    static const Table tone = [] {
        Table t;
        for (int i = 0; i <= kTableSize; ++i) {
            const double x = 2.0 * kPi * i / kTableSize;
            t.v[i] = float(std::sin(x) + 0.22 * std::sin(2 * x) + 0.08 * std::sin(3 * x)
                           + 0.03 * std::sin(4 * x));
        }
        return t;
    }();
    const double f = midiToHz(n.pitch);
    Envelope env{0.06, 0.12, n.length};
    EnvelopeRun run(env);
    Writer w(buf, n.start, env.end());
    const Pan pan(n.pan);
    Rng rng(seed);
    Svf breath;
    breath.set(f * 2.0, 1.2);
    double ph = 0, vib = 0;
    for (size_t i = 0; i < w.count; ++i) {
        const double t = i * kDt;
        const double vdepth = 0.004 * std::min(1.0, std::max(0.0, (t - 0.2) / 0.3));
        ph += f * kDt * (1.0 + vdepth * fastSin(vib));
        vib += 5.0 * kDt;
        breath.run(rng.noise());
        const double chiff = std::exp(-t / 0.04);
        const double s = readTable(tone, ph) + breath.band * (0.25 + 0.6 * chiff) * (0.5 + bright);
        w.add(i, float(s * run.next() * n.velocity * 0.35), pan);
    }
}

void brass(const Note &n, float bright, StereoBuffer &buf)
{
    const double f = midiToHz(n.pitch);
    Envelope env{0.045, 0.15, n.length};
    EnvelopeRun run(env);
    Writer w(buf, n.start, env.end());
    const Table &tab = waves().saw[harmonicsBelow(f, 10000)];
    const Pan pan(n.pan);
    Svf flt;
    double p1 = 0, p2 = 0.3, vib = 0;
    for (size_t i = 0; i < w.count; ++i) {
        const double t = i * kDt;
        if (i % 16 == 0) {
            const double swell = std::min(1.0, t / 0.08);
            const double open = 1.5 + (2.0 + 4.0 * bright * n.velocity) * swell
                    * (0.75 + 0.25 * std::exp(-t / 0.4));
            flt.set(f * open, 0.8);
        }
        const double mod = 1.0 + 0.003 * std::min(1.0, t / 0.5) * fastSin(vib);
        vib += 5.5 * kDt;
        const double s = readTable(tab, p1) + readTable(tab, p2);
        p1 += f * kDt * mod * 1.0015;
        p2 += f * kDt * mod * 0.9985;
        flt.run(s);
        w.add(i, float(flt.low * run.next() * n.velocity * 0.4), pan);
    }
}

// Karplus-Strong string: a noise burst circulating in a damped delay line.
void pluck(const Note &n, float bright, uint64_t seed, StereoBuffer &buf, double gain)
{
    const double f = midiToHz(n.pitch);
    // The read tap sits one sample behind the write and the two-point average adds half
    // a sample, so the loop is 1.5 samples longer than the tap distance.
    const double period = kSampleRate / f - 1.5;
    const int len = int(period) + 2;
    std::vector<double> line(size_t(len) + 1, 0.0);
    Rng rng(seed);
    double prev = 0;
    const double soft = 0.25 + 0.6 * (1.0 - bright * n.velocity);
    for (int i = 0; i <= len; ++i) {
        const double x = rng.noise();
        prev = prev * soft + x * (1.0 - soft);
        line[size_t(i)] = prev;
    }
    // No DC in the loop, and the same starting peak whatever the tone filter removed.
    double mean = 0, peak = 1e-9;
    for (double x : line)
        mean += x;
    mean /= double(line.size());
    for (double &x : line) {
        x -= mean;
        peak = std::max(peak, std::fabs(x));
    }
    for (double &x : line)
        x /= peak;
    const double decay = std::clamp(3.0 * std::pow(196.0 / f, 0.5), 0.5, 6.0);
    const double rho = std::pow(0.001, 1.0 / (decay * f));
    Envelope env{0.0, 0.06, n.length};
    EnvelopeRun run(env);
    Writer w(buf, n.start, std::min(env.end(), decay * 1.2));
    const Pan pan(n.pan);
    // Circular buffer read with a fractional delay of 'period' samples.
    const size_t size = line.size();
    size_t wr = size - 1;
    const double frac = period - std::floor(period);
    const size_t ip = size_t(std::floor(period));
    double last = 0;
    for (size_t i = 0; i < w.count; ++i) {
        const size_t r0 = (wr + size - ip) % size;
        const size_t r1 = (r0 + size - 1) % size;
        const double d = line[r0] * (1.0 - frac) + line[r1] * frac;
        const double y = rho * 0.5 * (d + last);
        last = d;
        wr = (wr + 1) % size;
        line[wr] = y;
        w.add(i, float(y * run.next() * n.velocity * gain), pan);
    }
}

void bass(const Note &n, float bright, StereoBuffer &buf)
{
    static const Table tone = [] {
        Table t;
        for (int i = 0; i <= kTableSize; ++i) {
            const double x = 2.0 * kPi * i / kTableSize;
            t.v[i] = float(std::sin(x) + 0.35 * std::sin(2 * x) + 0.15 * std::sin(3 * x)
                           + 0.06 * std::sin(4 * x));
        }
        return t;
    }();
    const double f = midiToHz(n.pitch);
    Envelope env{0.006, 0.07, n.length};
    EnvelopeRun run(env);
    Writer w(buf, n.start, env.end());
    const Pan pan(n.pan);
    Svf flt;
    flt.set(f * (3.0 + 4.0 * bright), 0.7);
    double ph = 0;
    for (size_t i = 0; i < w.count; ++i) {
        const double t = i * kDt;
        flt.run(readTable(tone, ph));
        ph += f * kDt;
        const double body = 0.75 + 0.25 * std::exp(-t / 0.25);
        w.add(i, float(flt.low * run.next() * body * n.velocity * 0.7), pan);
    }
}

void synthBass(const Note &n, float bright, StereoBuffer &buf)
{
    const double f = midiToHz(n.pitch);
    Envelope env{0.003, 0.04, n.length};
    EnvelopeRun run(env);
    Writer w(buf, n.start, env.end());
    const Table &saw = waves().saw[harmonicsBelow(f, 8000)];
    const Pan pan(n.pan);
    Svf flt;
    double p1 = 0, p2 = 0.5, sub = 0;
    for (size_t i = 0; i < w.count; ++i) {
        const double t = i * kDt;
        if (i % 16 == 0)
            flt.set(f * (1.5 + (3.0 + 8.0 * bright) * std::exp(-t / 0.09)), 1.6);
        flt.run(readTable(saw, p1) + readTable(saw, p2));
        p1 += f * kDt * 1.002;
        p2 += f * kDt * 0.998;
        sub += f * kDt;
        const double s = flt.low * 0.5 + 0.5 * fastSin(sub);
        w.add(i, float(s * run.next() * n.velocity * 0.6), pan);
    }
}

void subBass(const Note &n, StereoBuffer &buf)
{
    const double f = midiToHz(n.pitch);
    Envelope env{0.04, 0.25, n.length};
    EnvelopeRun run(env);
    Writer w(buf, n.start, env.end());
    const Pan pan(n.pan);
    double ph = 0;
    for (size_t i = 0; i < w.count; ++i) {
        const double s = fastSin(ph) + 0.12 * fastSin(2 * ph);
        ph += f * kDt;
        w.add(i, float(s * run.next() * n.velocity * 0.7), pan);
    }
}

void synthPluck(const Note &n, float bright, StereoBuffer &buf)
{
    const double f = midiToHz(n.pitch);
    Envelope env{0.002, 0.08, n.length};
    EnvelopeRun run(env);
    Writer w(buf, n.start, std::min(env.end(), 0.9));
    const Table &sq = waves().square[harmonicsBelow(f, 12000)];
    const Table &saw = waves().saw[harmonicsBelow(f, 12000)];
    const Pan pan(n.pan);
    Svf flt;
    double ph = 0;
    for (size_t i = 0; i < w.count; ++i) {
        const double t = i * kDt;
        if (i % 16 == 0)
            flt.set(f * (1.2 + (2.0 + 10.0 * bright) * std::exp(-t / 0.07)), 1.2);
        flt.run(0.6 * readTable(sq, ph) + 0.4 * readTable(saw, ph));
        ph += f * kDt;
        w.add(i, float(flt.low * run.next() * std::exp(-t / 0.35) * n.velocity * 0.5), pan);
    }
}

// ---- Drums: all noise comes from the per-note seed.

void kick(const Note &n, uint64_t seed, StereoBuffer &buf)
{
    Writer w(buf, n.start, 0.5);
    const Pan pan(n.pan);
    Rng rng(seed);
    Svf click;
    click.set(3000, 0.7);
    double ph = 0;
    for (size_t i = 0; i < w.count; ++i) {
        const double t = i * kDt;
        const double f = 48.0 + 95.0 * std::exp(-t / 0.035);
        ph += f * kDt;
        click.run(rng.noise());
        const double s = fastSin(ph) * std::exp(-t / 0.28) + click.low * 0.25 * std::exp(-t / 0.004);
        const double att = std::min(1.0, t / 0.0015);
        w.add(i, float(s * att * n.velocity * 0.95), pan);
    }
}

void snare(const Note &n, float bright, uint64_t seed, StereoBuffer &buf, bool clap)
{
    Writer w(buf, n.start, 0.45);
    const Pan pan(n.pan);
    Rng rng(seed);
    Svf hp, bp;
    hp.set(1400 + 1500 * bright, 0.7);
    bp.set(1200, 1.4);
    double ph = 0;
    for (size_t i = 0; i < w.count; ++i) {
        const double t = i * kDt;
        const double x = rng.noise();
        double s;
        if (clap) {
            bp.run(x);
            const double tb = std::fmod(t, 0.011);
            const double bursts = t < 0.033 ? std::exp(-tb / 0.004) : 0.0;
            s = bp.band * (bursts + std::exp(-t / 0.12) * 0.8) * 1.6;
        } else {
            hp.run(x);
            s = hp.high * std::exp(-t / 0.11) * 0.7 + fastSin(ph) * std::exp(-t / 0.07) * 0.55;
            ph += (180.0 + 40 * std::exp(-t / 0.02)) * kDt;
        }
        const double att = std::min(1.0, t / 0.001);
        w.add(i, float(s * att * n.velocity * 0.8), pan);
    }
}

void hat(const Note &n, uint64_t seed, StereoBuffer &buf, double decay, double hz, double q)
{
    Writer w(buf, n.start, decay * 6);
    const Pan pan(n.pan);
    Rng rng(seed);
    Svf f1, f2;
    f1.set(hz, q);
    f2.set(hz * 1.3, 0.7);
    const double attack = decay > 0.05 && q > 1.0 ? 0.012 : 0.0008;
    for (size_t i = 0; i < w.count; ++i) {
        const double t = i * kDt;
        f1.run(rng.noise());
        f2.run(f1.high + f1.band);
        const double att = std::min(1.0, t / attack);
        w.add(i, float(f2.high * att * std::exp(-t / decay) * n.velocity * 0.5), pan);
    }
}

void tom(const Note &n, uint64_t seed, StereoBuffer &buf, double decay, double noiseAmt)
{
    const double f0 = midiToHz(n.pitch);
    Writer w(buf, n.start, decay * 5);
    const Pan pan(n.pan);
    Rng rng(seed);
    Svf lp;
    lp.set(f0 * 6, 0.7);
    double p1 = 0, p2 = 0;
    for (size_t i = 0; i < w.count; ++i) {
        const double t = i * kDt;
        const double bend = 1.0 + 0.35 * std::exp(-t / 0.06);
        p1 += f0 * bend * kDt;
        p2 += f0 * 1.5 * bend * kDt;
        lp.run(rng.noise());
        const double s = (fastSin(p1) + 0.3 * fastSin(p2) * std::exp(-t / (decay * 0.5)))
                        * std::exp(-t / decay)
                + lp.low * noiseAmt * std::exp(-t / 0.05);
        const double att = std::min(1.0, t / (noiseAmt > 0.5 ? 0.01 : 0.002));
        w.add(i, float(s * att * n.velocity * 0.7), pan);
    }
}

void crash(const Note &n, uint64_t seed, StereoBuffer &buf)
{
    Writer w(buf, n.start, 4.0);
    Rng rng(seed);
    Svf l1, r1;
    l1.set(4500, 0.6);
    r1.set(4700, 0.6);
    for (size_t i = 0; i < w.count; ++i) {
        const double t = i * kDt;
        l1.run(rng.noise());
        r1.run(rng.noise());
        const double e = std::exp(-t / 1.1) * std::min(1.0, t / 0.002) * n.velocity * 0.3;
        buf.left[w.start + i] += float(l1.high * e);
        buf.right[w.start + i] += float(r1.high * e);
    }
}

} // namespace

double midiToHz(double pitch) { return 440.0 * std::pow(2.0, (pitch - 69.0) / 12.0); }

void renderNote(Instrument inst, const Note &n, float bright, uint64_t seed, StereoBuffer &buf)
{
    static const double bellRatios[] = {1.0, 2.0, 2.76, 4.0, 5.4};
    static const double bellAmps[] = {1.0, 0.35, 0.25, 0.12, 0.08};
    static const double bellDecays[] = {1.0, 0.6, 0.35, 0.25, 0.15};
    static const double marimbaRatios[] = {1.0, 3.93, 9.2};
    static const double marimbaAmps[] = {1.0, 0.28, 0.06};
    static const double marimbaDecays[] = {1.0, 0.25, 0.08};
    switch (inst) {
    case Instrument::Piano: piano(n, bright, buf); break;
    case Instrument::ElectricPiano: electricPiano(n, bright, buf); break;
    case Instrument::Bell:
        struck(n, bellRatios, bellAmps, bellDecays, 5, 2.2, 0.3, buf);
        break;
    case Instrument::Marimba:
        struck(n, marimbaRatios, marimbaAmps, marimbaDecays, 3, 0.55, 0.45, buf);
        break;
    case Instrument::Pad:
        sawEnsemble(n, 3, 14, 1.2, 1.1, 2.5 + 4 * bright, 0.0, 0.5, buf, 0.7);
        break;
    case Instrument::Strings:
        sawEnsemble(n, 4, 12, 0.25, 0.45, 3.0 + 5 * bright, 0.0035, 0.9, buf, 0.5);
        break;
    case Instrument::StaccatoStrings: {
        Note s = n;
        s.length = std::min(n.length, 0.12);
        sawEnsemble(s, 3, 10, 0.008, 0.09, 3.0 + 6 * bright, 0.0, 0.9, buf, 0.4);
        break;
    }
    case Instrument::Flute: flute(n, bright, seed, buf); break;
    case Instrument::Brass: brass(n, bright, buf); break;
    case Instrument::Pluck: pluck(n, bright, seed, buf, 0.7); break;
    case Instrument::Bass: bass(n, bright, buf); break;
    case Instrument::SynthBass: synthBass(n, bright, buf); break;
    case Instrument::SubBass: subBass(n, buf); break;
    case Instrument::SynthPluck: synthPluck(n, bright, buf); break;
    case Instrument::Kick: kick(n, seed, buf); break;
    case Instrument::Snare: snare(n, bright, seed, buf, false); break;
    case Instrument::Clap: snare(n, bright, seed, buf, true); break;
    case Instrument::ClosedHat: hat(n, seed, buf, 0.035, 7000, 0.7); break;
    case Instrument::OpenHat: hat(n, seed, buf, 0.22, 7500, 0.7); break;
    case Instrument::Shaker: hat(n, seed, buf, 0.06, 5500, 1.5); break;
    case Instrument::Tom: tom(n, seed, buf, 0.35, 0.25); break;
    case Instrument::Timpani: tom(n, seed, buf, 1.3, 0.6); break;
    case Instrument::Crash: crash(n, seed, buf); break;
    }
}

namespace {

struct Comb {
    std::vector<float> line;
    size_t pos = 0;
    float store = 0;
    float process(float in, float feedback, float damp)
    {
        const float out = line[pos];
        store = out * (1 - damp) + store * damp;
        line[pos] = in + store * feedback;
        if (++pos == line.size())
            pos = 0;
        return out;
    }
};

struct Allpass {
    std::vector<float> line;
    size_t pos = 0;
    float process(float in)
    {
        const float b = line[pos];
        line[pos] = in + b * 0.5f;
        if (++pos == line.size())
            pos = 0;
        return b - in;
    }
};

} // namespace

StereoBuffer reverb(const StereoBuffer &in, double roomSize, double damping)
{
    static const int combLen[] = {1116, 1188, 1277, 1356, 1422, 1491, 1557, 1617};
    static const int apLen[] = {556, 441, 341, 225};
    const int spread = 23;
    const size_t preDelay = size_t(0.02 * kSampleRate);
    std::vector<Comb> cl(8), cr(8);
    std::vector<Allpass> al(4), ar(4);
    for (int i = 0; i < 8; ++i) {
        cl[size_t(i)].line.assign(size_t(combLen[i]), 0.0f);
        cr[size_t(i)].line.assign(size_t(combLen[i] + spread), 0.0f);
    }
    for (int i = 0; i < 4; ++i) {
        al[size_t(i)].line.assign(size_t(apLen[i]), 0.0f);
        ar[size_t(i)].line.assign(size_t(apLen[i] + spread), 0.0f);
    }
    const float fb = float(roomSize * 0.28 + 0.7);
    const float damp = float(damping * 0.4);
    StereoBuffer out(in.frames());
    for (size_t i = 0; i < in.frames(); ++i) {
        const float x = i >= preDelay ? (in.left[i - preDelay] + in.right[i - preDelay]) * 0.015f
                                      : 0.0f;
        float l = 0, r = 0;
        for (int c = 0; c < 8; ++c) {
            l += cl[size_t(c)].process(x, fb, damp);
            r += cr[size_t(c)].process(x, fb, damp);
        }
        for (int a = 0; a < 4; ++a) {
            l = al[size_t(a)].process(l);
            r = ar[size_t(a)].process(r);
        }
        out.left[i] = l;
        out.right[i] = r;
    }
    return out;
}

StereoBuffer pingPongDelay(const StereoBuffer &in, double seconds, double feedback)
{
    const size_t d = std::max<size_t>(1, size_t(seconds * kSampleRate));
    StereoBuffer out(in.frames());
    std::vector<float> bl(d, 0.0f), br(d, 0.0f);
    float lpL = 0, lpR = 0;
    size_t pos = 0;
    const float fb = float(feedback);
    for (size_t i = 0; i < in.frames(); ++i) {
        const float yl = bl[pos], yr = br[pos];
        lpL += 0.45f * (yr - lpL);
        lpR += 0.45f * (yl - lpR);
        // Input enters on the left only; the crossed feedback makes it bounce.
        bl[pos] = (in.left[i] + in.right[i]) * 0.5f + lpL * fb;
        br[pos] = lpR * fb;
        if (++pos == d)
            pos = 0;
        out.left[i] = yl;
        out.right[i] = yr;
    }
    return out;
}

} // namespace musicgen
