#include "tools/noise.h"

#include "tools/det_math.h"
#include "tools/random.h"

namespace Assets {

static double Fade(double t) {
    return t * t * t * (t * (t * 6.0 - 15.0) + 10.0);
}

double Noise2(double x, double y, uint64_t seed) {
    double fx = dm::Floor(x), fy = dm::Floor(y);
    int64_t ix = static_cast<int64_t>(fx), iy = static_cast<int64_t>(fy);
    double tx = Fade(x - fx), ty = Fade(y - fy);
    double a = HashUnit(ix, iy, seed), b = HashUnit(ix + 1, iy, seed);
    double c = HashUnit(ix, iy + 1, seed), d = HashUnit(ix + 1, iy + 1, seed);
    return dm::Lerp(dm::Lerp(a, b, tx), dm::Lerp(c, d, tx), ty);
}

double Fbm2(double x, double y, uint64_t seed, int octaves, double gain) {
    double sum = 0.0, amplitude = 1.0, total = 0.0;
    for (int i = 0; i < octaves; ++i) {
        sum += Noise2(x, y, seed + 101u * i) * amplitude;
        total += amplitude;
        amplitude *= gain;
        // Each octave is also turned a little, so the lattices do not line up.
        double nx = x * 1.6 - y * 1.2, ny = x * 1.2 + y * 1.6;
        x = nx + 17.3;
        y = ny + 5.1;
    }
    return sum / total;
}

double Fbm1(double x, uint64_t seed, int octaves, double gain) {
    return Fbm2(x, 0.37, seed, octaves, gain);
}

double LoopNoise(double angle, double radius, uint64_t seed, int octaves) {
    return Fbm2(10.0 + radius * dm::Cos(angle), 10.0 + radius * dm::Sin(angle), seed, octaves);
}

}  // namespace Assets
