// The night sky every picture shares: gradient, thin clouds, stars, the moon,
// meteors with glowing tails, and the hills on the horizon.
#pragma once

#include <cstdint>

#include "tools/canvas.h"
#include "tools/random.h"

namespace Assets {

struct SkyColors {
    Color top, middle, horizon;
    double middleAt = 0.55;  // where the middle colour sits, 0 top .. 1 horizon
};

// Vertical gradient from y = 0 to horizonY (and the horizon colour below).
void PaintSkyGradient(Canvas& canvas, const SkyColors& sky, double horizonY);
// A radial wash of light, e.g. the glow of a town or of a sunset on the horizon.
void PaintHorizonGlow(Canvas& canvas, double cx, double cy, double rx, double ry, const Color& c, double strength);
// Thin wisps of cloud between y0 and y1, lit by the given colour.
void PaintClouds(Canvas& canvas, const Color& c, double strength, double y0, double y1, double scale, uint64_t seed);

struct StarField {
    int count = 300;
    double y0 = 0, y1 = 450;  // band the stars are spread over; they thin out towards y1
    Color tint{0.9, 0.93, 1.0};
    double brightness = 1.0;
    double avoidX = -1000, avoidY = -1000, avoidRadius = 0;  // no stars here (the moon)
};
void PaintStars(Canvas& canvas, const StarField& field, Random& random);
// One star with optional cross-shaped glints.
void PaintStar(Canvas& canvas, double x, double y, double radius, const Color& c, double strength, double glint);

struct Moon {
    double x = 0, y = 0, radius = 30;
    Color light{1.0, 0.97, 0.86};
    Color halo{0.6, 0.7, 1.0};
    double haloStrength = 0.25;
    double phase = 0;  // angle of the sun behind the moon in degrees: 0 full, 90 half, 140 crescent
    Color darkSide{0.05, 0.06, 0.1};
    uint64_t seed = 1;
};
void PaintMoon(Canvas& canvas, const Moon& moon);

struct Meteor {
    Point head, tailEnd;
    double width = 8;  // half width of the tail near the head
    double headRadius = 6;
    Color core{1.0, 0.98, 0.85}, hot{1.0, 0.72, 0.25}, cool{0.85, 0.2, 0.15};
    double strength = 1.0;
};
void PaintMeteor(Canvas& canvas, const Meteor& meteor, Random& random);

// A ridge of hills: silhouette at baseY +- amplitude, filled to the bottom,
// with a colour that darkens downwards and a faint lit rim.
void PaintRidge(Canvas& canvas, double baseY, double amplitude, double frequency, uint64_t seed, const Color& top,
                const Color& bottom, const Color& rim);

}  // namespace Assets
