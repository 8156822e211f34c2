// Smooth value noise and its fractal sums, for stone, clouds, hills and rock
// surfaces. Lattice values come from a stateless hash, so a seed names one
// fixed, endless texture.
#pragma once

#include <cstdint>

namespace Assets {

// Value noise in [0, 1] at (x, y), one unit per lattice cell.
double Noise2(double x, double y, uint64_t seed);
// Fractal sum of octaves, each twice as fine and gain times as strong; in [0, 1].
double Fbm2(double x, double y, uint64_t seed, int octaves, double gain = 0.5);
// One-dimensional fractal noise in [0, 1] (skylines, ridges, outlines).
double Fbm1(double x, uint64_t seed, int octaves, double gain = 0.5);
// Noise on a circle: periodic in angle (radians), for closed outlines.
double LoopNoise(double angle, double radius, uint64_t seed, int octaves);

}  // namespace Assets
