// The sprite strips: the ship, the rocks and the diamond. Frames are stacked
// vertically; pure black is the transparent colour, so the strips keep it
// for the empty background only, and every drawn pixel, dark outlines and
// soft edges included, comes out at least a little above black.
#include "tools/gem.h"
#include "tools/noise.h"
#include "tools/pictures.h"
#include "tools/sky.h"

namespace Assets {

namespace {

const Color kEdge = Rgb(6, 6, 10);   // what soft edges blend toward
constexpr double kOpaqueFrom = 0.3;  // coverage below this stays transparent

// A dark rim one pixel wide around everything drawn so far, so the sprite
// reads on any background.
void Outline(Canvas& c, const Color& color) {
    const int w = c.Width(), h = c.Height();
    std::vector<double> rim(static_cast<size_t>(w) * h, 0.0);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            double best = 0;
            for (int dy = -1; dy <= 1; ++dy)
                for (int dx = -1; dx <= 1; ++dx)
                    if (c.Inside(x + dx, y + dy)) best = dm::Max(best, c.AlphaAt(x + dx, y + dy));
            rim[static_cast<size_t>(y) * w + x] = best;
        }
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            double a = c.AlphaAt(x, y), r = rim[static_cast<size_t>(y) * w + x] * 0.95;
            if (r <= a) continue;
            // The rim goes under what is already there.
            Color premultiplied = c.At(x, y) + color * (r * (1 - a));
            double total = a + r * (1 - a);
            c.Set(x, y, premultiplied * (1.0 / total), total);
        }
}

// Converts a frame to sprite bytes and closes pinholes: a transparent pixel
// with drawn pixels on both sides in both directions would show the
// background through the body, so it takes the average of its neighbours.
void PutFrame(std::vector<uint8_t>& strip, int stripWidth, int top, const Canvas& frame) {
    std::vector<uint8_t> bytes = frame.ToSpriteBgr(kEdge, kOpaqueFrom);
    const int w = frame.Width(), h = frame.Height();
    auto black = [&](int x, int y) {
        size_t i = (static_cast<size_t>(y) * w + x) * 3;
        return bytes[i] == 0 && bytes[i + 1] == 0 && bytes[i + 2] == 0;
    };
    for (int y = 1; y + 1 < h; ++y)
        for (int x = 1; x + 1 < w; ++x) {
            if (!black(x, y) || black(x - 1, y) || black(x + 1, y) || black(x, y - 1) || black(x, y + 1)) continue;
            for (int k = 0; k < 3; ++k) {
                int sum = 0;
                for (auto [dx, dy] : {std::pair{-1, 0}, {1, 0}, {0, -1}, {0, 1}})
                    sum += bytes[(static_cast<size_t>(y + dy) * w + x + dx) * 3 + k];
                bytes[(static_cast<size_t>(y) * w + x) * 3 + k] = static_cast<uint8_t>(dm::Max(1.0, sum / 4.0));
            }
        }
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            for (int k = 0; k < 3; ++k)
                strip[((static_cast<size_t>(top + y)) * stripWidth + x) * 3 + k] =
                    bytes[(static_cast<size_t>(y) * w + x) * 3 + k];
}

Contour Mirror(const Contour& half, double axis) {
    Contour c = half;
    for (auto it = half.rbegin(); it != half.rend(); ++it) c.push_back({2 * axis - it->x, it->y});
    return c;
}

// ---- The ship -------------------------------------------------------------

// Metal lit from the upper left, brightest along the spine.
Color Hull(double px, double py, double cx) {
    double side = (px - cx) / 14.0;
    double light = 0.72 - 0.38 * side - 0.25 * dm::Abs(side) + 0.12 * (1 - py / 40);
    return Mix(Rgb(78, 92, 124), Rgb(214, 226, 244), dm::Clamp01(light));
}

// The engine flame below a nozzle: a flickering teardrop of light.
void Flame(Canvas& c, double x, double top, double length, double width, double sway, double heat) {
    c.ForEach(static_cast<int>(x - width - 3), static_cast<int>(top), static_cast<int>(x + width + 3),
              static_cast<int>(top + length + 2), [&](int ix, int iy, double px, double py) {
                  double t = (py - top) / length;
                  if (t < 0 || t > 1) return;
                  double centre = x + sway * t * t;
                  double half = width * (1 - t) * (0.7 + 0.6 * dm::Sqrt(dm::Max(0.0, 0.25 - (t - 0.5) * (t - 0.5))));
                  double d = dm::Abs(px - centre) / dm::Max(0.3, half + 0.5);
                  if (d > 1.2) return;
                  double body = dm::Clamp01(1.25 - d) * (1 - t * 0.55);
                  Color col = t < 0.3 ? Mix(Rgb(255, 255, 236), Rgb(255, 214, 96), t / 0.3)
                                      : Mix(Rgb(255, 214, 96), Rgb(236, 80, 30), dm::Clamp01((t - 0.3) / 0.6));
                  if (d < 0.45 && t < 0.5) col = Mix(col, Rgb(200, 236, 255), (0.45 - d) * 1.4 * (1 - 2 * t));
                  c.AddLight(ix, iy, col * heat, body);
              });
}

Canvas ShipFrame(int frame) {
    Canvas c(50, 50, {}, 0.0);
    const double cx = 25;
    // Wings first, then the hull over them.
    c.FillShaded(Path(Mirror({{cx, 18}, {cx + 6, 19}, {cx + 21, 31}, {cx + 22, 35}, {cx + 20, 37}, {cx + 5, 34}}, cx)),
                 [&](double px, double py) {
                     double light = 0.62 - 0.02 * (px - cx) + 0.01 * (30 - py);
                     return Mix(Rgb(60, 70, 96), Rgb(170, 182, 206), dm::Clamp01(light));
                 });
    // Red stripes on the wings and the wing tips.
    for (double s : {-1.0, 1.0}) {
        c.Fill(Path({{cx + s * 12, 26}, {cx + s * 16, 29.5}, {cx + s * 15, 31}, {cx + s * 11, 28}}), Rgb(214, 52, 40));
        c.Fill(Path(Rect(dm::Min(cx + s * 20, cx + s * 22), 31, dm::Max(cx + s * 20, cx + s * 22), 36)),
               s < 0 ? Rgb(230, 50, 40) : Rgb(60, 220, 90));
    }
    // Engine pods with their nozzles.
    for (double s : {-1.0, 1.0}) {
        double ex = cx + s * 6.5;
        c.FillShaded(Path(Rect(ex - 3, 27, ex + 3, 39)), [&](double px, double py) { return Hull(px, py, ex) * 0.8; });
        c.Fill(Path(Rect(ex - 2.3, 38, ex + 2.3, 40.5)), Rgb(40, 40, 48));
        c.Fill(Path(Rect(ex - 1.4, 38.5, ex + 1.4, 40.5)), Rgb(255, 170, 80), 0.7);
    }
    // The hull: a long pointed body.
    c.FillShaded(Path(Mirror({{cx, 2}, {cx + 2.2, 6}, {cx + 4.2, 14}, {cx + 5, 24}, {cx + 4.6, 34}, {cx + 3, 38}}, cx)),
                 [&](double px, double py) { return Hull(px, py, cx); });
    // Panel lines and the spine.
    c.Fill(Path(Rect(cx - 0.35, 25, cx + 0.35, 36)), Rgb(70, 80, 104), 0.7);
    c.Fill(Path(Rect(cx - 4.6, 28, cx + 4.6, 28.7)), Rgb(70, 80, 104), 0.6);
    c.Fill(Path(Mirror({{cx, 3.5}, {cx + 1.3, 6.5}, {cx + 0.9, 8}}, cx)), Rgb(214, 52, 40));  // nose tip
    // The canopy: dark glass with a bright reflection.
    c.FillShaded(Path(Ellipse(cx, 15.5, 2.9, 6.2, 32)), [&](double px, double py) {
        double t = dm::Clamp01((py - 9) / 13);
        return Mix(Rgb(120, 220, 255), Rgb(20, 60, 120), t) * (1.0 - 0.2 * dm::Clamp01((px - cx) / 3));
    });
    c.Fill(Path(Ellipse(cx - 1.0, 12.8, 0.9, 2.4, 16)), Rgb(235, 250, 255), 0.85);
    Outline(c, Rgb(10, 12, 20));

    // The flame flickers: length, heat and sway change from frame to frame.
    static const double lengths[8] = {9.5, 7.5, 10.5, 8.0, 9.0, 7.0, 10.0, 8.5};
    static const double sways[8] = {0.0, 0.8, -0.6, 0.5, -0.9, 0.3, 0.7, -0.4};
    static const double heats[8] = {1.0, 0.85, 1.0, 0.9, 0.95, 0.8, 1.0, 0.88};
    for (double s : {-1.0, 1.0})
        Flame(c, cx + s * 6.5, 40.2, lengths[frame] - (s > 0 ? 0.8 * (frame % 2) : 0), 2.4, sways[frame] * s,
              heats[frame]);
    c.Glow(cx - 6.5, 42, 5, Rgb(255, 150, 60), 0.25 * heats[frame], 1.5);
    c.Glow(cx + 6.5, 42, 5, Rgb(255, 150, 60), 0.25 * heats[frame], 1.5);
    return c;
}

// ---- The rocks ------------------------------------------------------------

struct Crater {
    double u, v, radius, depth;
};

// One rock seen in a tumble: the same rock, turned by `turn` radians in
// the picture plane, lit from the upper left. Burning rocks glow on the
// leading (lower) side.
struct Rock {
    double cx, cy, radius;
    double turn;
    double burn;  // 0 cold .. 1 burning
};

const Crater kCraters[] = {{-0.35, -0.3, 0.28, 0.9}, {0.38, 0.12, 0.22, 0.8},  {-0.05, 0.45, 0.18, 0.7},
                           {0.15, -0.55, 0.14, 0.6}, {-0.55, 0.25, 0.12, 0.6}, {0.5, -0.35, 0.1, 0.5}};

// Radius of the outline at angle a (rock coordinates): lumpy and elongated.
double RockOutline(double a) {
    double lumps = LoopNoise(a, 1.4, 4242, 3) - 0.5;
    return (1.0 + 0.13 * dm::Cos(2 * a)) * (0.92 + 0.3 * lumps);
}

// Height of the surface at rock coordinates (u, v), and whether it is inside.
double RockHeight(double u, double v, bool& inside) {
    double r = dm::Sqrt(u * u + v * v);
    double a = dm::Atan2(v, u);
    double edge = RockOutline(a);
    double k = r / edge;
    inside = k < 1.0;
    double dome = dm::Sqrt(dm::Max(0.0, 1 - k * k)) * 0.9;
    double bumps = (Fbm2(u * 3.2 + 5, v * 3.2 + 9, 515, 4) - 0.5) * 0.28;
    double h = dome + bumps;
    for (const Crater& c : kCraters) {
        double d = dm::Sqrt((u - c.u) * (u - c.u) + (v - c.v) * (v - c.v)) / c.radius;
        if (d < 1) h -= c.depth * c.radius * (1 - d * d) * 0.9;
        h += c.depth * c.radius * 0.45 * dm::Exp(-((d - 1) * (d - 1)) / 0.08);
    }
    return h;
}

Color RockColor(const Rock& rock, double px, double py) {
    double s = dm::Sin(-rock.turn), k = dm::Cos(-rock.turn);
    auto local = [&](double x, double y, bool& inside) {
        double dx = (x - rock.cx) / rock.radius, dy = (y - rock.cy) / rock.radius;
        return RockHeight(dx * k - dy * s, dx * s + dy * k, inside);
    };
    bool ignored = false;
    double e = 0.35;
    double gx = (local(px + e, py, ignored) - local(px - e, py, ignored)) / (2 * e) * rock.radius;
    double gy = (local(px, py + e, ignored) - local(px, py - e, ignored)) / (2 * e) * rock.radius;
    double nx = -gx, ny = -gy, nz = 1.0;
    double len = dm::Sqrt(nx * nx + ny * ny + nz * nz);
    nx /= len;
    ny /= len;
    nz /= len;
    const double lx = -0.55, ly = -0.62, lz = 0.56;
    double diffuse = dm::Max(0.0, nx * lx + ny * ly + nz * lz);
    double dx = (px - rock.cx) / rock.radius, dy = (py - rock.cy) / rock.radius;
    double u = dx * k - dy * s, v = dx * s + dy * k;
    double tone = Fbm2(u * 2.5 + 1, v * 2.5 + 3, 616, 4);
    Color albedo = Mix(Rgb(92, 80, 70), Rgb(150, 128, 104), tone);
    if (Fbm2(u * 5 + 7, v * 5 + 2, 717, 2) > 0.62) albedo = albedo * 0.78;  // darker speckles
    Color c = albedo * (0.16 + 1.05 * diffuse);
    // A cool rim of moonlight on the shadow side.
    double rim = dm::Pow(dm::Max(0.0, 1 - nz), 2.0) * dm::Max(0.0, nx * 0.6 + ny * 0.4);
    c = c + Rgb(70, 90, 130) * rim * 0.6;
    if (rock.burn > 0) {
        // The leading face, pushing through the air, glows red hot.
        double front = dm::Smoothstep(-0.1, 1.0, dy) * (0.35 + 0.65 * (1 - nz)) + 0.25 * dm::Max(0.0, ny);
        double heat = rock.burn * dm::Clamp01(front);
        c = c * (1 - 0.5 * heat) + Rgb(200, 50, 14) * (heat * 0.6) + Rgb(255, 190, 80) * (heat * heat * heat * 0.9);
    }
    return c;
}

void DrawRock(Canvas& c, const Rock& rock) {
    const int n = 3;  // samples per axis, for smooth edges
    c.ForEach(0, 0, c.Width() - 1, c.Height() - 1, [&](int x, int y, double, double) {
        Color sum;
        int hits = 0;
        for (int j = 0; j < n; ++j)
            for (int i = 0; i < n; ++i) {
                double px = x + (i + 0.5) / n, py = y + (j + 0.5) / n;
                double s = dm::Sin(-rock.turn), k = dm::Cos(-rock.turn);
                double dx = (px - rock.cx) / rock.radius, dy = (py - rock.cy) / rock.radius;
                bool inside = false;
                RockHeight(dx * k - dy * s, dx * s + dy * k, inside);
                if (!inside) continue;
                sum = sum + RockColor(rock, px, py);
                ++hits;
            }
        if (hits > 0) c.Blend(x, y, sum * (1.0 / hits), static_cast<double>(hits) / (n * n));
    });
}

// The fiery trail above a falling rock: turbulent flames streaming upwards.
void RockFlames(Canvas& c, double cx, double cy, double radius, int frame) {
    const double top = 1.5;
    const double phase = frame * 2.3;
    c.ForEach(0, 0, c.Width() - 1, c.Height() - 1, [&](int x, int y, double px, double py) {
        double t = (cy - py) / (cy - top);  // 0 at the rock's centre, 1 at the top
        if (t > 1) return;
        double tc = dm::Clamp01(t);
        double sway = (Fbm2(py / 9.0 + phase, 3.1, 818, 2) - 0.5) * 8 * tc;
        double turbulence = Fbm2(px / 4.0, py / 7.0 + phase * 1.7, 919 + frame, 3);
        Color col = tc < 0.2 ? Mix(Rgb(255, 246, 200), Rgb(255, 196, 76), tc / 0.2)
                             : Mix(Rgb(255, 196, 76), Rgb(210, 50, 20), dm::Clamp01((tc - 0.2) / 0.6));
        if (t < 0) return;  // below the centre the rock hides the fire
        double half = radius * (1.12 - 0.92 * dm::Pow(tc, 0.7));
        double d = dm::Abs(px - cx - sway) / half;
        if (d > 1.15) return;
        double tongue = dm::Clamp01((1.0 - d) * 2.5 + (turbulence - 0.5) * 1.4);
        double v = tongue * dm::Pow(1 - tc, 1.1) * (0.6 + 0.9 * turbulence) * 1.9;
        if (v <= 0.02) return;
        c.AddLight(x, y, col, dm::Min(1.0, v * 1.3));
    });
}

// The air the rock pushes through glows in a thin rim round its lower side,
// following its outline.
void HotRim(Canvas& flames, const Canvas& rock, double cy) {
    const int reach = 4;
    flames.ForEach(0, 0, flames.Width() - 1, flames.Height() - 1, [&](int x, int y, double, double py) {
        if (rock.AlphaAt(x, y) >= 0.5) return;
        double nearest = 1e9;
        for (int dy = -reach; dy <= reach; ++dy)
            for (int dx = -reach; dx <= reach; ++dx)
                if (rock.Inside(x + dx, y + dy) && rock.AlphaAt(x + dx, y + dy) >= 0.5)
                    nearest = dm::Min(nearest, dm::Sqrt(dx * dx + dy * dy));
        if (nearest > reach) return;
        double strength = dm::Clamp01(1.0 - (nearest - 1.0) / 2.6) * dm::Smoothstep(cy - 10, cy + 6, py);
        flames.AddLight(x, y, Rgb(255, 150, 56), strength * 0.95);
    });
}

Canvas RockFrame(int index) {
    Canvas c(45, 63, {}, 0.0);
    if (index == 5) return c;  // never shown: left empty
    if (index < 5) {
        DrawRock(c, {22.5, 31.5, 17.5, index * dm::kTwoPi / 5.0, 0.0});
        Outline(c, Rgb(12, 10, 10));
        return c;
    }
    int k = index - 6;
    const double cx = 22.5, cy = 44, r = 15.5;
    RockFlames(c, cx, cy, r, k);
    Canvas rock(45, 63, {}, 0.0);
    DrawRock(rock, {cx, cy, r, k * dm::kTwoPi / 4.0 + 0.4, 1.0});
    HotRim(c, rock, cy);
    Outline(rock, Rgb(40, 12, 6));
    for (int y = 0; y < 63; ++y)
        for (int x = 0; x < 45; ++x) {
            double a = rock.AlphaAt(x, y);
            if (a > 0) c.Blend(x, y, rock.At(x, y) * (1.0 / a), a);
        }
    // Sparks torn off the trail.
    Random random(0x5EED00 + k);
    for (int i = 0; i < 5; ++i)
        PaintStar(c, random.Range(8, 37), random.Range(3, 30), 0.6, Rgb(255, 200, 100), random.Range(0.5, 0.9), 0);
    return c;
}

// ---- The diamond ------------------------------------------------------------

Canvas DiamondFrame() {
    Canvas c(32, 32, {}, 0.0);
    PaintGem(c, 0, 0, 1.0);
    return c;
}

Picture Strip(const char* name, int width, int frameHeight, int frames, Canvas (*make)(int)) {
    Picture p{name, width, frameHeight * frames,
              std::vector<uint8_t>(static_cast<size_t>(width) * frameHeight * frames * 3)};
    for (int k = 0; k < frames; ++k) PutFrame(p.bgr, width, k * frameHeight, make(k));
    return p;
}

}  // namespace

Picture MakePlayerStrip() {
    return Strip("player.bmp", 50, 50, 8, ShipFrame);
}
Picture MakeRockStrip() {
    return Strip("meteorne_notte.bmp", 45, 63, 10, RockFrame);
}
Picture MakeDiamond() {
    return Strip("diamante.bmp", 32, 32, 1, [](int) { return DiamondFrame(); });
}

}  // namespace Assets
