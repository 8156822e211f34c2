// A small raster toolkit: a canvas of linear colour with coverage (alpha),
// anti-aliased filling of any outline (non-zero winding, exact horizontal
// coverage and several sub-scanlines per row), additive light and the shapes
// the pictures are built from.
#pragma once

#include <algorithm>
#include <cstdint>
#include <utility>
#include <vector>

#include "tools/det_math.h"

namespace Assets {

struct Color {
    double r = 0, g = 0, b = 0;
    Color operator+(const Color& o) const { return {r + o.r, g + o.g, b + o.b}; }
    Color operator-(const Color& o) const { return {r - o.r, g - o.g, b - o.b}; }
    Color operator*(double k) const { return {r * k, g * k, b * k}; }
    Color operator*(const Color& o) const { return {r * o.r, g * o.g, b * o.b}; }
    double Max() const { return dm::Max(r, dm::Max(g, b)); }
    double Luma() const { return 0.3 * r + 0.59 * g + 0.11 * b; }
};

// A colour from 8-bit components.
inline Color Rgb(int r, int g, int b) {
    return {r / 255.0, g / 255.0, b / 255.0};
}
inline Color Mix(const Color& a, const Color& b, double t) {
    return a + (b - a) * t;
}

struct Point {
    double x = 0, y = 0;
};

using Contour = std::vector<Point>;

// One or more closed contours filled together with the non-zero rule, so a
// contour running the other way cuts a hole.
struct Path {
    std::vector<Contour> contours;
    Path() = default;
    explicit Path(Contour c) { contours.push_back(std::move(c)); }
    Path& Add(Contour c) {
        contours.push_back(std::move(c));
        return *this;
    }
    Path& Add(const Path& other) {
        for (const Contour& c : other.contours) contours.push_back(c);
        return *this;
    }
};

// Sub-scanlines per pixel row; horizontal coverage is computed exactly.
inline constexpr int kSubRows = 6;

// Calls fn(x, y, coverage) for every pixel the path covers inside a
// width x height area, coverage in (0, 1].
template <class F>
void Rasterize(const Path& path, int width, int height, F&& fn) {
    struct Edge {
        Point a, b;
    };
    std::vector<Edge> edges;
    double minX = 1e30, minY = 1e30, maxX = -1e30, maxY = -1e30;
    for (const Contour& c : path.contours) {
        for (size_t i = 0; i < c.size(); ++i) {
            const Point& a = c[i];
            const Point& b = c[(i + 1) % c.size()];
            minX = dm::Min(minX, a.x);
            maxX = dm::Max(maxX, a.x);
            minY = dm::Min(minY, a.y);
            maxY = dm::Max(maxY, a.y);
            if (a.y != b.y) edges.push_back({a, b});
        }
    }
    if (edges.empty()) return;
    int x0 = std::max(0, static_cast<int>(dm::Floor(minX)));
    int x1 = std::min(width - 1, static_cast<int>(dm::Floor(maxX)));
    int y0 = std::max(0, static_cast<int>(dm::Floor(minY)));
    int y1 = std::min(height - 1, static_cast<int>(dm::Floor(maxY)));
    if (x0 > x1 || y0 > y1) return;

    std::vector<double> acc(static_cast<size_t>(x1 - x0 + 2));
    std::vector<std::pair<double, int>> crossings;
    const double weight = 1.0 / kSubRows;
    auto addSpan = [&](double xa, double xb) {
        xa = dm::Clamp(xa, x0, x1 + 1.0);
        xb = dm::Clamp(xb, x0, x1 + 1.0);
        if (xb <= xa) return;
        int ia = static_cast<int>(dm::Floor(xa));
        int ib = static_cast<int>(dm::Floor(xb));
        if (ia == ib) {
            acc[ia - x0] += (xb - xa) * weight;
            return;
        }
        acc[ia - x0] += (ia + 1 - xa) * weight;
        for (int i = ia + 1; i < ib; ++i) acc[i - x0] += weight;
        if (ib <= x1) acc[ib - x0] += (xb - ib) * weight;
    };
    for (int y = y0; y <= y1; ++y) {
        std::fill(acc.begin(), acc.end(), 0.0);
        for (int s = 0; s < kSubRows; ++s) {
            double sy = y + (s + 0.5) / kSubRows;
            crossings.clear();
            for (const Edge& e : edges) {
                bool down = e.a.y <= sy && e.b.y > sy;
                bool up = e.b.y <= sy && e.a.y > sy;
                if (!down && !up) continue;
                double x = e.a.x + (sy - e.a.y) * (e.b.x - e.a.x) / (e.b.y - e.a.y);
                crossings.push_back({x, down ? 1 : -1});
            }
            std::sort(crossings.begin(), crossings.end());
            int winding = 0;
            double start = 0;
            for (const auto& [x, dir] : crossings) {
                int before = winding;
                winding += dir;
                if (before == 0 && winding != 0) start = x;
                if (before != 0 && winding == 0) addSpan(start, x);
            }
        }
        for (int x = x0; x <= x1; ++x) {
            double c = dm::Min(1.0, acc[x - x0]);
            if (c > 1e-6) fn(x, y, c);
        }
    }
}

class Canvas {
public:
    Canvas(int w, int h, Color fill = {}, double alpha = 1.0);

    int Width() const { return width; }
    int Height() const { return height; }
    bool Inside(int x, int y) const { return x >= 0 && y >= 0 && x < width && y < height; }
    // Colours are stored premultiplied by coverage, which makes "over" and
    // additive light the same simple sums for opaque and sprite canvases.
    const Color& At(int x, int y) const { return pixels[Index(x, y)]; }
    double AlphaAt(int x, int y) const { return alpha[Index(x, y)]; }
    void Set(int x, int y, const Color& c, double a = 1.0);

    // Paints colour c over the pixel with opacity a.
    void Blend(int x, int y, const Color& c, double a);
    // Adds light: the pixel brightens and becomes as opaque as it is bright.
    void AddLight(int x, int y, const Color& c, double a);

    void Fill(const Path& path, const Color& c, double opacity = 1.0);
    template <class Shader>
    void FillShaded(const Path& path, Shader&& shader, double opacity = 1.0) {
        Rasterize(path, width, height,
                  [&](int x, int y, double cov) { Blend(x, y, shader(x + 0.5, y + 0.5), cov * opacity); });
    }
    // Additive light inside the path, strength given per pixel by the shader.
    template <class Shader>
    void LightShaded(const Path& path, Shader&& shader, double opacity = 1.0) {
        Rasterize(path, width, height,
                  [&](int x, int y, double cov) { AddLight(x, y, shader(x + 0.5, y + 0.5), cov * opacity); });
    }
    // A soft round light: strength (1 - d / radius)^falloff.
    void Glow(double cx, double cy, double radius, const Color& c, double strength, double falloff = 2.0);
    // Calls fn(x, y, px, py) for every pixel of a rectangle, px/py its centre.
    template <class F>
    void ForEach(int x0, int y0, int x1, int y1, F&& fn) {
        x0 = std::max(0, x0);
        y0 = std::max(0, y0);
        x1 = std::min(width - 1, x1);
        y1 = std::min(height - 1, y1);
        for (int y = y0; y <= y1; ++y)
            for (int x = x0; x <= x1; ++x) fn(x, y, x + 0.5, y + 0.5);
    }

    // 24-bit rows top-down as B, G, R bytes; a faint deterministic dither
    // keeps the dark sky gradients free of bands.
    std::vector<uint8_t> ToBgr(bool dither, uint64_t seed) const;
    // The same for a sprite whose transparent colour is pure black: pixels
    // with little coverage become (0, 0, 0); every other pixel is blended
    // toward a near-black edge colour and never comes out as pure black.
    std::vector<uint8_t> ToSpriteBgr(const Color& edge, double threshold) const;

private:
    size_t Index(int x, int y) const { return static_cast<size_t>(y) * width + x; }
    int width, height;
    std::vector<Color> pixels;
    std::vector<double> alpha;
};

// Shapes, as outlines for Canvas::Fill.
Contour Rect(double x0, double y0, double x1, double y1);
Contour Ellipse(double cx, double cy, double rx, double ry, int segments = 72);
// Elliptic arc from angle a0 to a1 (degrees, 0 = right, 90 = up on screen).
void AppendArc(Contour& c, double cx, double cy, double rx, double ry, double a0, double a1, int segments);
// A window or arcade opening: a rectangle closed at the top by a half circle.
Contour ArchedRect(double x0, double top, double x1, double bottom);
// A thick line with round ends.
Contour Capsule(Point a, Point b, double radius);
Contour Reversed(Contour c);
Contour Translated(Contour c, double dx, double dy);
// Rotation by angle (radians) about (cx, cy), then scale.
Contour Transformed(Contour c, double cx, double cy, double angle, double scale);

}  // namespace Assets
