#include "tools/sky.h"

#include "tools/noise.h"

namespace Assets {

void PaintSkyGradient(Canvas& canvas, const SkyColors& sky, double horizonY) {
    canvas.ForEach(0, 0, canvas.Width() - 1, canvas.Height() - 1, [&](int x, int y, double, double py) {
        double t = dm::Clamp01(py / horizonY);
        Color c = t < sky.middleAt
                      ? Mix(sky.top, sky.middle, dm::Smoothstep(0, 1, t / sky.middleAt))
                      : Mix(sky.middle, sky.horizon, dm::Smoothstep(0, 1, (t - sky.middleAt) / (1 - sky.middleAt)));
        canvas.Set(x, y, c);
    });
}

void PaintHorizonGlow(Canvas& canvas, double cx, double cy, double rx, double ry, const Color& c, double strength) {
    canvas.ForEach(static_cast<int>(cx - rx), static_cast<int>(cy - ry), static_cast<int>(cx + rx),
                   static_cast<int>(cy + ry), [&](int x, int y, double px, double py) {
                       double dx = (px - cx) / rx, dy = (py - cy) / ry;
                       double d = dx * dx + dy * dy;
                       if (d < 1.0) canvas.AddLight(x, y, c, strength * (1 - d) * (1 - d));
                   });
}

void PaintClouds(Canvas& canvas, const Color& c, double strength, double y0, double y1, double scale, uint64_t seed) {
    canvas.ForEach(
        0, static_cast<int>(y0), canvas.Width() - 1, static_cast<int>(y1), [&](int x, int y, double px, double py) {
            // Stretched noise gives long horizontal wisps.
            double n = Fbm2(px / (scale * 3.0), py / scale, seed, 5);
            double v = dm::Smoothstep(0.52, 0.8, n);
            double band =
                dm::Smoothstep(y0, y0 + (y1 - y0) * 0.3, py) * (1 - dm::Smoothstep(y0 + (y1 - y0) * 0.7, y1, py));
            if (v > 0) canvas.AddLight(x, y, c, strength * v * band);
        });
}

void PaintStar(Canvas& canvas, double x, double y, double radius, const Color& c, double strength, double glint) {
    int reach = static_cast<int>(radius * 3 + 1);
    canvas.ForEach(static_cast<int>(x) - reach, static_cast<int>(y) - reach, static_cast<int>(x) + reach,
                   static_cast<int>(y) + reach, [&](int px, int py, double cx, double cy) {
                       double d2 = ((cx - x) * (cx - x) + (cy - y) * (cy - y)) / (radius * radius);
                       canvas.AddLight(px, py, c, strength * dm::Exp(-d2 * 1.4));
                   });
    if (glint <= 0) return;
    // Thin cross-shaped rays that fade with distance.
    int length = static_cast<int>(glint);
    for (int i = -length; i <= length; ++i) {
        if (i == 0) continue;
        double k = strength * 0.55 * dm::Pow(1.0 - dm::Abs(i) / (glint + 1.0), 2.0);
        int ix = static_cast<int>(dm::Floor(x)) + i, iy = static_cast<int>(dm::Floor(y)) + i;
        canvas.AddLight(ix, static_cast<int>(dm::Floor(y)), c, k);
        canvas.AddLight(static_cast<int>(dm::Floor(x)), iy, c, k);
    }
}

void PaintStars(Canvas& canvas, const StarField& field, Random& random) {
    for (int i = 0; i < field.count; ++i) {
        double x = random.Range(0, canvas.Width());
        // Denser high up: the air near the horizon hides the faint ones.
        double t = random.Unit();
        double y = field.y0 + (field.y1 - field.y0) * t * t * 0.6 + (field.y1 - field.y0) * t * 0.4;
        double magnitude = random.Unit();
        double tintShift = random.Range(-1, 1);
        double radius = 0.55 + magnitude * magnitude * magnitude * 0.9;
        double strength = field.brightness * (0.18 + 0.82 * magnitude * magnitude) * (1.0 - 0.6 * t);
        double dx = x - field.avoidX, dy = y - field.avoidY;
        if (dx * dx + dy * dy < field.avoidRadius * field.avoidRadius) continue;
        Color c = field.tint;
        if (tintShift > 0.5) c = Mix(c, Color{1.0, 0.85, 0.65}, tintShift - 0.5);  // a few warm stars
        if (tintShift < -0.6) c = Mix(c, Color{0.7, 0.8, 1.0}, -tintShift - 0.6);  // and a few blue ones
        double glint = magnitude > 0.97 ? 4 + (magnitude - 0.97) * 200 : 0;
        PaintStar(canvas, x, y, radius, c, strength, glint);
    }
}

void PaintMoon(Canvas& canvas, const Moon& moon) {
    canvas.Glow(moon.x, moon.y, moon.radius * 5, moon.halo, moon.haloStrength, 2.6);
    double sunX = dm::Sin(dm::Radians(moon.phase)), sunZ = dm::Cos(dm::Radians(moon.phase));
    int r = static_cast<int>(moon.radius) + 2;
    canvas.ForEach(static_cast<int>(moon.x) - r, static_cast<int>(moon.y) - r, static_cast<int>(moon.x) + r,
                   static_cast<int>(moon.y) + r, [&](int x, int y, double px, double py) {
                       double u = (px - moon.x) / moon.radius, v = (py - moon.y) / moon.radius;
                       double d = dm::Sqrt(u * u + v * v);
                       double cover = dm::Clamp01((1.0 - d) * moon.radius + 0.5);
                       if (cover <= 0) return;
                       double w = dm::Sqrt(1.0 - dm::Min(1.0, d * d));
                       // Seas: broad dark patches; highlands: fine mottling.
                       double seas = dm::Smoothstep(0.5, 0.62, Fbm2(u * 1.6 + 3, v * 1.6 + 7, moon.seed, 4));
                       double mottle = Fbm2(u * 7 + 11, v * 7 + 5, moon.seed + 9, 3);
                       double albedo = (0.88 + 0.22 * (mottle - 0.5)) * (1.0 - 0.28 * seas);
                       double limb = 0.78 + 0.22 * w;
                       double lit = dm::Smoothstep(-0.06, 0.12, u * sunX + w * sunZ);
                       Color c = Mix(moon.darkSide, moon.light * (albedo * limb), lit);
                       canvas.Blend(x, y, c, cover);
                   });
}

void PaintMeteor(Canvas& canvas, const Meteor& m, Random& random) {
    double dx = m.tailEnd.x - m.head.x, dy = m.tailEnd.y - m.head.y;
    double length = dm::Sqrt(dx * dx + dy * dy);
    double ux = dx / length, uy = dy / length;
    double reach = m.width * 3.5 + m.headRadius * 4;
    int x0 = static_cast<int>(dm::Min(m.head.x, m.tailEnd.x) - reach);
    int x1 = static_cast<int>(dm::Max(m.head.x, m.tailEnd.x) + reach);
    int y0 = static_cast<int>(dm::Min(m.head.y, m.tailEnd.y) - reach);
    int y1 = static_cast<int>(dm::Max(m.head.y, m.tailEnd.y) + reach);
    canvas.ForEach(x0, y0, x1, y1, [&](int x, int y, double px, double py) {
        double ax = px - m.head.x, ay = py - m.head.y;
        double along = ax * ux + ay * uy;
        double across = ax * -uy + ay * ux;
        double t = along / length;
        if (t < -0.05 || t > 1.0) return;
        double tc = dm::Clamp01(t);
        double width = m.width * (0.45 + 0.55 * dm::Sqrt(tc));
        // Nothing runs ahead of the head but its own glow.
        double front = dm::Smoothstep(-0.012, 0.004, t);
        double outer = front * dm::Pow(1.0 - tc, 1.5) * dm::Exp(-(across * across) / (width * width));
        double inner = front * dm::Pow(1.0 - tc, 3.0) * dm::Exp(-(across * across) / (0.12 * width * width));
        Color c = tc < 0.25 ? Mix(m.core, m.hot, tc / 0.25) : Mix(m.hot, m.cool, dm::Clamp01((tc - 0.25) / 0.6));
        canvas.AddLight(x, y, c, m.strength * outer * 0.75);
        canvas.AddLight(x, y, m.core, m.strength * inner * 0.8);
    });
    // Sparks shed along the tail.
    int sparks = static_cast<int>(length / 6);
    for (int i = 0; i < sparks; ++i) {
        double t = random.Unit();
        t = t * t;
        double off = random.Range(-1.6, 1.6) * m.width * (0.4 + t);
        double sx = m.head.x + ux * length * t - uy * off, sy = m.head.y + uy * length * t + ux * off;
        PaintStar(canvas, sx, sy, 0.7, m.hot, m.strength * 0.6 * (1 - t), 0);
    }
    canvas.Glow(m.head.x, m.head.y, m.headRadius * 5, m.hot, m.strength * 0.45, 2.2);
    canvas.Glow(m.head.x, m.head.y, m.headRadius * 1.6, m.core, m.strength * 1.0, 1.2);
}

void PaintRidge(Canvas& canvas, double baseY, double amplitude, double frequency, uint64_t seed, const Color& top,
                const Color& bottom, const Color& rim) {
    Contour c;
    const int w = canvas.Width();
    std::vector<double> ys;
    for (int x = -2; x <= w + 2; x += 2) {
        double y = baseY - amplitude * (Fbm1(x * frequency, seed, 5) - 0.5) * 2.0;
        c.push_back({static_cast<double>(x), y});
        ys.push_back(y);
    }
    double lowest = baseY - amplitude * 1.2;
    c.push_back({w + 2.0, canvas.Height() + 1.0});
    c.push_back({-2.0, canvas.Height() + 1.0});
    double span = canvas.Height() - lowest;
    canvas.FillShaded(Path(c), [&](double, double py) { return Mix(top, bottom, dm::Clamp01((py - lowest) / span)); });
    // The rim catches a little light from the sky.
    for (size_t i = 0; i + 1 < ys.size(); ++i) {
        int x = -2 + static_cast<int>(i) * 2;
        for (int k = 0; k < 2; ++k) {
            double y = dm::Lerp(ys[i], ys[i + 1], k * 0.5);
            canvas.AddLight(x + k, static_cast<int>(dm::Floor(y + 0.5)), rim, 0.5);
        }
    }
}

}  // namespace Assets
