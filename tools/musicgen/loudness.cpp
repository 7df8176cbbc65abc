#include "loudness.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace musicgen {

namespace {

struct Biquad {
    double b0, b1, b2, a1, a2;
    double z1 = 0, z2 = 0;
    double run(double x)
    {
        const double y = b0 * x + z1;
        z1 = b1 * x - a1 * y + z2;
        z2 = b2 * x - a2 * y;
        return y;
    }
};

// The two K-weighting stages from their analogue prototypes, so any sample rate gets
// the same curve as the 48 kHz coefficients printed in BS.1770.
void kWeighting(int rate, Biquad *shelf, Biquad *highPass)
{
    {
        const double f0 = 1681.974450955533, gainDb = 3.999843853973347, q = 0.7071752369554196;
        const double k = std::tan(kPi * f0 / rate);
        const double vh = std::pow(10.0, gainDb / 20.0);
        const double vb = std::pow(vh, 0.4996667741545416);
        const double a0 = 1.0 + k / q + k * k;
        *shelf = {(vh + vb * k / q + k * k) / a0, 2.0 * (k * k - vh) / a0,
                  (vh - vb * k / q + k * k) / a0, 2.0 * (k * k - 1.0) / a0,
                  (1.0 - k / q + k * k) / a0};
    }
    {
        const double f0 = 38.13547087602444, q = 0.5003270373238773;
        const double k = std::tan(kPi * f0 / rate);
        const double a0 = 1.0 + k / q + k * k;
        *highPass = {1.0, -2.0, 1.0, 2.0 * (k * k - 1.0) / a0, (1.0 - k / q + k * k) / a0};
    }
}

constexpr int kPhases = 4;
constexpr int kHalf = 8;  // taps each side of the interpolation point

// Windowed-sinc interpolator: taps[p][j] weighs x[m - kHalf + 1 + j] for the point m + p/4.
struct Interpolator {
    std::array<std::array<double, 2 * kHalf>, kPhases> taps{};
    double maxAbsSum = 0;
    Interpolator()
    {
        for (int p = 1; p < kPhases; ++p) {
            double sum = 0;
            for (int j = 0; j < 2 * kHalf; ++j) {
                const double tau = double(p) / kPhases + double(kHalf - 1 - j);
                const double u = tau / kHalf;
                const double window = 0.42 + 0.5 * std::cos(kPi * u) + 0.08 * std::cos(2 * kPi * u);
                const double sinc = std::sin(kPi * tau) / (kPi * tau);
                taps[size_t(p)][size_t(j)] = sinc * window;
                sum += sinc * window;
            }
            double abs = 0;
            for (double &t : taps[size_t(p)]) {
                t /= sum;
                abs += std::fabs(t);
            }
            maxAbsSum = std::max(maxAbsSum, abs);
        }
    }
};

const Interpolator &interpolator()
{
    static const Interpolator i;
    return i;
}

} // namespace

double toDb(double linear) { return 20.0 * std::log10(std::max(linear, 1e-12)); }

void applyGain(StereoBuffer &buf, double db)
{
    const float g = float(std::pow(10.0, db / 20.0));
    for (size_t i = 0; i < buf.frames(); ++i) {
        buf.left[i] *= g;
        buf.right[i] *= g;
    }
}

double integratedLoudness(const StereoBuffer &buf, int rate)
{
    const size_t segment = size_t(rate / 10);  // 100 ms: blocks step by this
    std::vector<double> energy;                // per segment, summed over channels
    Biquad s[2], h[2];
    for (int c = 0; c < 2; ++c)
        kWeighting(rate, &s[c], &h[c]);
    double acc = 0;
    size_t inSegment = 0;
    for (size_t i = 0; i < buf.frames(); ++i) {
        const double l = h[0].run(s[0].run(buf.left[i]));
        const double r = h[1].run(s[1].run(buf.right[i]));
        acc += l * l + r * r;
        if (++inSegment == segment) {
            energy.push_back(acc);
            acc = 0;
            inSegment = 0;
        }
    }
    std::vector<double> blocks;
    for (size_t i = 0; i + 4 <= energy.size(); ++i)
        blocks.push_back((energy[i] + energy[i + 1] + energy[i + 2] + energy[i + 3])
                         / double(4 * segment));
    auto lufs = [](double z) { return -0.691 + 10.0 * std::log10(std::max(z, 1e-30)); };
    auto gatedMean = [&](double gate) {
        double sum = 0;
        size_t n = 0;
        for (double z : blocks) {
            if (lufs(z) > gate) {
                sum += z;
                ++n;
            }
        }
        return n ? sum / double(n) : 0.0;
    };
    const double absolute = gatedMean(-70.0);
    if (absolute <= 0)
        return -70.0;
    const double relative = gatedMean(lufs(absolute) - 10.0);
    return lufs(relative);
}

std::vector<float> truePeakPerFrame(const StereoBuffer &buf, float floor)
{
    const Interpolator &ip = interpolator();
    const size_t n = buf.frames();
    std::vector<float> out(n, 0.0f);
    // Block maxima let quiet stretches skip the filter: the interpolated value can
    // never exceed the local sample peak times the taps' absolute sum.
    constexpr size_t kBlock = 16;
    std::vector<float> blockMax((n + kBlock - 1) / kBlock, 0.0f);
    for (size_t i = 0; i < n; ++i) {
        const float a = std::max(std::fabs(buf.left[i]), std::fabs(buf.right[i]));
        out[i] = a;
        blockMax[i / kBlock] = std::max(blockMax[i / kBlock], a);
    }
    const float limit = float(floor / ip.maxAbsSum);
    for (size_t m = 0; m + 1 < n; ++m) {
        const size_t lo = m >= kHalf - 1 ? m - (kHalf - 1) : 0;
        const size_t hi = std::min(n - 1, m + kHalf);
        float local = 0;
        for (size_t b = lo / kBlock; b <= hi / kBlock; ++b)
            local = std::max(local, blockMax[b]);
        if (local < limit)
            continue;
        float peak = out[m];
        for (int p = 1; p < kPhases; ++p) {
            const auto &t = ip.taps[size_t(p)];
            double l = 0, r = 0;
            for (int j = 0; j < 2 * kHalf; ++j) {
                const long idx = long(m) - (kHalf - 1) + j;
                if (idx < 0 || idx >= long(n))
                    continue;
                l += t[size_t(j)] * buf.left[size_t(idx)];
                r += t[size_t(j)] * buf.right[size_t(idx)];
            }
            peak = std::max(peak, float(std::max(std::fabs(l), std::fabs(r))));
        }
        out[m] = peak;
    }
    return out;
}

double truePeakDb(const StereoBuffer &buf)
{
    // The true peak is at least the sample peak, so only frames that could beat it
    // need oversampling.
    float samplePeak = 0;
    for (size_t i = 0; i < buf.frames(); ++i)
        samplePeak = std::max({samplePeak, std::fabs(buf.left[i]), std::fabs(buf.right[i])});
    const std::vector<float> p = truePeakPerFrame(buf, samplePeak);
    return toDb(p.empty() ? 0.0 : *std::max_element(p.begin(), p.end()));
}

namespace {

// Offline look-ahead limiter. need[i] is the gain frame i requires; a forward minimum
// over the look-ahead window lowers the gain before each peak, a slow exponential
// recovery releases it, and a moving average of the same length removes the corners.
// The average only spans frames that already sit at or below need[peak], so the peak
// itself is fully covered.
double limit(StereoBuffer &buf, const std::vector<float> &peaks, double ceiling)
{
    const size_t n = buf.frames();
    const size_t look = size_t(0.004 * kSampleRate);
    std::vector<double> need(n);
    for (size_t i = 0; i < n; ++i)
        need[i] = peaks[i] > ceiling ? ceiling / peaks[i] : 1.0;
    // Forward minimum over [i, i + look) through a monotonic deque.
    std::vector<double> ahead(n);
    std::vector<size_t> dq(n + look + 1);
    size_t head = 0, tail = 0;
    for (size_t k = n + look; k-- > 0;) {
        if (k < n) {
            while (tail > head && need[dq[tail - 1]] >= need[k])
                --tail;
            dq[tail++] = k;
        }
        while (tail > head && dq[head] >= k + look)
            ++head;
        if (k < n)
            ahead[k] = need[dq[head]];
    }
    const double release = std::exp(-1.0 / (0.12 * kSampleRate));
    double g = 1.0;
    for (size_t i = 0; i < n; ++i) {
        g = std::min(ahead[i], 1.0 - (1.0 - g) * release);
        ahead[i] = g;
    }
    double sum = 0, deepest = 1.0;
    for (size_t i = 0; i < n; ++i) {
        sum += ahead[i];
        if (i >= look)
            sum -= ahead[i - look];
        const double gain = i + 1 >= look ? sum / double(look) : std::min(sum / double(i + 1), ahead[i]);
        deepest = std::min(deepest, gain);
        buf.left[i] = float(buf.left[i] * gain);
        buf.right[i] = float(buf.right[i] * gain);
    }
    return toDb(deepest);
}

} // namespace

MasterReport master(StereoBuffer &buf, double targetLufs, double ceilingDb)
{
    MasterReport report{integratedLoudness(buf), -200.0, 0.0};
    if (report.loudness <= -70.0)
        return report;
    applyGain(buf, targetLufs - report.loudness);
    const float ceiling = float(std::pow(10.0, ceilingDb / 20.0));
    for (int pass = 0; pass < 6; ++pass) {
        const std::vector<float> peaks = truePeakPerFrame(buf, ceiling * 0.9f);
        if (*std::max_element(peaks.begin(), peaks.end()) <= ceiling)
            break;
        // Aim a little under the ceiling: the loudness gain that follows lifts it again.
        report.maxReduction = std::min(report.maxReduction, limit(buf, peaks, ceiling * 0.97));
        applyGain(buf, targetLufs - integratedLoudness(buf));
    }
    report.truePeak = truePeakDb(buf);
    if (report.truePeak > ceilingDb) {
        applyGain(buf, ceilingDb - report.truePeak - 0.01);
        report.truePeak = truePeakDb(buf);
    }
    report.loudness = integratedLoudness(buf);
    return report;
}

} // namespace musicgen
