// The generator's own pseudo-random numbers: a fixed algorithm (SplitMix64)
// so that every seed gives the same pictures on every machine and library.
#pragma once

#include <cstdint>

namespace Assets {

class Random {
public:
    explicit Random(uint64_t seed) : state(seed) {}

    uint64_t Next() {
        state += 0x9E3779B97F4A7C15ull;
        uint64_t z = state;
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    // Uniform in [0, 1), 53 random bits.
    double Unit() { return static_cast<double>(Next() >> 11) * (1.0 / 9007199254740992.0); }
    double Range(double lo, double hi) { return lo + (hi - lo) * Unit(); }
    // Uniform integer in [lo, hi].
    int Int(int lo, int hi) { return lo + static_cast<int>(Next() % static_cast<uint64_t>(hi - lo + 1)); }
    bool Chance(double p) { return Unit() < p; }

private:
    uint64_t state;
};

// A stateless hash of integer coordinates to [0, 1): the same lattice value
// every time it is asked for, which noise and dithering need.
inline double HashUnit(int64_t x, int64_t y, uint64_t seed) {
    uint64_t h = seed * 0x9E3779B97F4A7C15ull;
    h ^= static_cast<uint64_t>(x) * 0xC2B2AE3D27D4EB4Full;
    h = (h ^ (h >> 29)) * 0xBF58476D1CE4E5B9ull;
    h ^= static_cast<uint64_t>(y) * 0x165667B19E3779F9ull;
    h = (h ^ (h >> 32)) * 0x94D049BB133111EBull;
    h ^= h >> 29;
    return static_cast<double>(h >> 11) * (1.0 / 9007199254740992.0);
}

}  // namespace Assets
