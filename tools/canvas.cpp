#include "tools/canvas.h"

#include "tools/random.h"

namespace Assets {

Canvas::Canvas(int w, int h, Color fill, double a)
    : width(w), height(h), pixels(static_cast<size_t>(w) * h, fill * a), alpha(static_cast<size_t>(w) * h, a) {}

void Canvas::Set(int x, int y, const Color& c, double a) {
    if (!Inside(x, y)) return;
    pixels[Index(x, y)] = c * a;
    alpha[Index(x, y)] = a;
}

void Canvas::Blend(int x, int y, const Color& c, double a) {
    if (!Inside(x, y) || a <= 0.0) return;
    a = dm::Min(a, 1.0);
    size_t i = Index(x, y);
    pixels[i] = pixels[i] * (1.0 - a) + c * a;
    alpha[i] = alpha[i] * (1.0 - a) + a;
}

void Canvas::AddLight(int x, int y, const Color& c, double a) {
    if (!Inside(x, y) || a <= 0.0) return;
    size_t i = Index(x, y);
    pixels[i] = pixels[i] + c * a;
    alpha[i] = dm::Min(1.0, dm::Max(alpha[i], pixels[i].Max()));
}

void Canvas::Fill(const Path& path, const Color& c, double opacity) {
    Rasterize(path, width, height, [&](int x, int y, double cov) { Blend(x, y, c, cov * opacity); });
}

void Canvas::Glow(double cx, double cy, double radius, const Color& c, double strength, double falloff) {
    int x0 = static_cast<int>(dm::Floor(cx - radius)), x1 = static_cast<int>(dm::Floor(cx + radius));
    int y0 = static_cast<int>(dm::Floor(cy - radius)), y1 = static_cast<int>(dm::Floor(cy + radius));
    ForEach(x0, y0, x1, y1, [&](int x, int y, double px, double py) {
        double d = dm::Sqrt((px - cx) * (px - cx) + (py - cy) * (py - cy)) / radius;
        if (d >= 1.0) return;
        AddLight(x, y, c, strength * dm::Pow(1.0 - d, falloff));
    });
}

static uint8_t ToByte(double v) {
    v = dm::Clamp(v, 0.0, 255.0);
    return static_cast<uint8_t>(dm::Floor(v + 0.5));
}

std::vector<uint8_t> Canvas::ToBgr(bool dither, uint64_t seed) const {
    std::vector<uint8_t> out(static_cast<size_t>(width) * height * 3);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const Color& c = pixels[Index(x, y)];
            double n = 0.0;
            if (dither) n = HashUnit(x, y, seed) + HashUnit(x, y, seed + 1) - 1.0;  // triangular, +-1 LSB
            size_t o = Index(x, y) * 3;
            out[o + 0] = ToByte(c.b * 255.0 + n);
            out[o + 1] = ToByte(c.g * 255.0 + n);
            out[o + 2] = ToByte(c.r * 255.0 + n);
        }
    }
    return out;
}

std::vector<uint8_t> Canvas::ToSpriteBgr(const Color& edge, double threshold) const {
    std::vector<uint8_t> out(static_cast<size_t>(width) * height * 3, 0);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            size_t i = Index(x, y);
            if (alpha[i] < threshold) continue;
            Color c = pixels[i] + edge * (1.0 - dm::Min(1.0, alpha[i]));
            uint8_t b = ToByte(c.b * 255.0), g = ToByte(c.g * 255.0), r = ToByte(c.r * 255.0);
            if (b == 0 && g == 0 && r == 0) b = g = r = 1;
            out[i * 3 + 0] = b;
            out[i * 3 + 1] = g;
            out[i * 3 + 2] = r;
        }
    }
    return out;
}

Contour Rect(double x0, double y0, double x1, double y1) {
    return {{x0, y0}, {x1, y0}, {x1, y1}, {x0, y1}};
}

void AppendArc(Contour& c, double cx, double cy, double rx, double ry, double a0, double a1, int segments) {
    for (int i = 0; i <= segments; ++i) {
        double a = dm::Radians(dm::Lerp(a0, a1, static_cast<double>(i) / segments));
        c.push_back({cx + rx * dm::Cos(a), cy - ry * dm::Sin(a)});
    }
}

Contour Ellipse(double cx, double cy, double rx, double ry, int segments) {
    Contour c;
    AppendArc(c, cx, cy, rx, ry, 0.0, 360.0 - 360.0 / segments, segments - 1);
    return c;
}

Contour ArchedRect(double x0, double top, double x1, double bottom) {
    double r = (x1 - x0) / 2;
    Contour c{{x0, bottom}};
    AppendArc(c, x0 + r, top + r, r, r, 180.0, 0.0, 24);
    c.push_back({x1, bottom});
    return c;
}

Contour Capsule(Point a, Point b, double radius) {
    double dx = b.x - a.x, dy = b.y - a.y;
    double angle = dm::Atan2(-dy, dx) * 180.0 / dm::kPi;  // screen y points down
    Contour c;
    AppendArc(c, b.x, b.y, radius, radius, angle - 90.0, angle + 90.0, 12);
    AppendArc(c, a.x, a.y, radius, radius, angle + 90.0, angle + 270.0, 12);
    return c;
}

Contour Reversed(Contour c) {
    std::reverse(c.begin(), c.end());
    return c;
}

Contour Translated(Contour c, double dx, double dy) {
    for (Point& p : c) {
        p.x += dx;
        p.y += dy;
    }
    return c;
}

Contour Transformed(Contour c, double cx, double cy, double angle, double scale) {
    double s = dm::Sin(angle), k = dm::Cos(angle);
    for (Point& p : c) {
        double x = p.x - cx, y = p.y - cy;
        p = {cx + (x * k - y * s) * scale, cy + (x * s + y * k) * scale};
    }
    return c;
}

}  // namespace Assets
