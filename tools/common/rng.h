#pragma once
// The generators' only source of randomness. Their output must be the same
// bytes on every compiler and standard library, which the <random>
// distributions do not promise; SplitMix64 with this arithmetic does.
#include <cstdint>

class Rng
{
public:
    explicit Rng(std::uint64_t seed) : state(seed) {}
    // Uniform in [0, 1).
    double next() { return double(raw() >> 11) * (1.0 / 9007199254740992.0); }
    // Uniform in [lo, hi).
    double uniform(double lo, double hi) { return lo + (hi - lo) * next(); }
    // Uniform integer in [lo, hi], both ends included.
    int range(int lo, int hi)
    {
        if (hi <= lo)
            return lo;
        const std::uint64_t span = std::uint64_t(std::int64_t(hi) - lo + 1);
        return int(std::int64_t(lo) + std::int64_t(raw() % span));
    }
    // Doubles here would be truncated silently; uniform() is the one for them.
    int range(double, double) = delete;
    // Uniform integer in [0, n); draws differently from range(0, n - 1).
    int below(int n) { return int(next() * n); }
    bool chance(double p) { return next() < p; }
    // Uniform in [-1, 1).
    float noise() { return float(next() * 2.0 - 1.0); }

private:
    std::uint64_t raw()
    {
        std::uint64_t z = (state += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    std::uint64_t state;
};
