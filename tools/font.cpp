#include "tools/font.h"

#include <array>

namespace Assets {

namespace {

// Builds a glyph's strokes: M starts a stroke, L draws a line, A an elliptic
// arc (angles in degrees, counter-clockwise, 0 pointing right).
class Pen {
public:
    explicit Pen(double width) { glyph.width = width; }
    Pen& M(double x, double y) {
        glyph.strokes.push_back({{x, y}});
        return *this;
    }
    Pen& L(double x, double y) {
        glyph.strokes.back().push_back({x, y});
        return *this;
    }
    Pen& A(double cx, double cy, double rx, double ry, double a0, double a1) {
        if (glyph.strokes.empty()) glyph.strokes.emplace_back();
        int n = static_cast<int>(dm::Abs(a1 - a0) / 8.0) + 4;
        for (int i = 0; i <= n; ++i) {
            double a = dm::Radians(dm::Lerp(a0, a1, static_cast<double>(i) / n));
            glyph.strokes.back().push_back({cx + rx * dm::Cos(a), cy + ry * dm::Sin(a)});
        }
        return *this;
    }
    // An arc as a stroke of its own.
    Pen& Arc(double cx, double cy, double rx, double ry, double a0, double a1) {
        glyph.strokes.emplace_back();
        return A(cx, cy, rx, ry, a0, a1);
    }
    Glyph glyph;
};

std::array<Glyph, 128> BuildFont() {
    std::array<Glyph, 128> f{};
    auto set = [&](char c, Pen p) { f[static_cast<unsigned char>(c)] = std::move(p.glyph); };
    // Capitals: height 100.
    set('A', Pen(70).M(0, 0).L(35, 100).L(70, 0).M(14, 32).L(56, 32));
    set('B', Pen(62)
                 .M(0, 0)
                 .L(0, 100)
                 .L(34, 100)
                 .A(34, 76, 24, 24, 90, -90)
                 .L(0, 52)
                 .M(0, 52)
                 .L(36, 52)
                 .A(36, 26, 26, 26, 90, -90)
                 .L(0, 0));
    set('C', Pen(84).Arc(50, 50, 50, 50, 50, 310));
    set('D', Pen(72).M(0, 0).L(0, 100).L(22, 100).A(22, 50, 50, 50, 90, -90).L(0, 0));
    set('E', Pen(58).M(58, 100).L(0, 100).L(0, 0).L(58, 0).M(0, 52).L(46, 52));
    set('F', Pen(58).M(58, 100).L(0, 100).L(0, 0).M(0, 52).L(46, 52));
    set('G', Pen(100).Arc(50, 50, 50, 50, 45, 360).L(58, 50));
    set('H', Pen(72).M(0, 0).L(0, 100).M(72, 0).L(72, 100).M(0, 52).L(72, 52));
    set('I', Pen(0).M(0, 0).L(0, 100));
    set('J', Pen(52).M(52, 100).L(52, 30).A(26, 30, 26, 30, 0, -180));
    set('K', Pen(66).M(0, 0).L(0, 100).M(64, 100).L(2, 38).M(24, 60).L(66, 0));
    set('L', Pen(56).M(0, 100).L(0, 0).L(56, 0));
    set('M', Pen(86).M(0, 0).L(0, 100).L(43, 28).L(86, 100).L(86, 0));
    set('N', Pen(72).M(0, 0).L(0, 100).L(72, 0).L(72, 100));
    set('O', Pen(100).Arc(50, 50, 50, 50, 0, 360));
    set('P', Pen(62).M(0, 0).L(0, 100).L(34, 100).A(34, 73, 27, 27, 90, -90).L(0, 46));
    set('Q', Pen(100).Arc(50, 50, 50, 50, 0, 360).M(58, 26).L(98, -6));
    set('R', Pen(64).M(0, 0).L(0, 100).L(34, 100).A(34, 74, 26, 26, 90, -90).L(0, 48).M(30, 48).L(64, 0));
    set('S', Pen(68).Arc(34, 75, 32, 25, 25, 270).A(34, 25, 34, 25, 90, -155));
    set('T', Pen(72).M(0, 100).L(72, 100).M(36, 100).L(36, 0));
    set('U', Pen(70).M(0, 100).L(0, 35).A(35, 35, 35, 35, 180, 360).L(70, 100));
    set('V', Pen(72).M(0, 100).L(36, 0).L(72, 100));
    set('W', Pen(104).M(0, 100).L(24, 0).L(52, 72).L(80, 0).L(104, 100));
    set('X', Pen(70).M(0, 100).L(70, 0).M(0, 0).L(70, 100));
    set('Y', Pen(72).M(0, 100).L(36, 48).L(72, 100).M(36, 48).L(36, 0));
    set('Z', Pen(66).M(2, 100).L(66, 100).L(0, 0).L(66, 0));
    // Small letters: x-height 66, ascenders 100, descenders to -32.
    set('a', Pen(60).Arc(30, 33, 30, 33, 0, 360).M(60, 66).L(60, 0));
    set('b', Pen(60).M(0, 0).L(0, 100).Arc(30, 33, 30, 33, 0, 360));
    set('c', Pen(56).Arc(32, 33, 32, 33, 45, 315));
    set('d', Pen(60).Arc(30, 33, 30, 33, 0, 360).M(60, 0).L(60, 100));
    set('e', Pen(62).M(0, 33).L(62, 33).A(31, 33, 31, 33, 0, 315));
    set('f', Pen(44).M(14, 0).L(14, 78).A(34, 78, 20, 22, 180, 40).M(0, 64).L(40, 64));
    set('g', Pen(60).Arc(30, 33, 30, 33, 0, 360).M(60, 66).L(60, -6).A(30, -6, 30, 26, 0, -160));
    set('h', Pen(60).M(0, 0).L(0, 100).M(0, 36).A(30, 36, 30, 30, 180, 0).L(60, 0));
    set('i', Pen(0).M(0, 0).L(0, 66).M(0, 94).L(0, 95));
    set('j', Pen(24).M(24, 66).L(24, -8).A(4, -8, 20, 24, 0, -150).M(24, 94).L(24, 95));
    set('k', Pen(58).M(0, 0).L(0, 100).M(54, 66).L(2, 24).M(20, 40).L(58, 0));
    set('l', Pen(0).M(0, 0).L(0, 100));
    set('m', Pen(96)
                 .M(0, 0)
                 .L(0, 66)
                 .M(0, 42)
                 .A(24, 42, 24, 24, 180, 0)
                 .L(48, 0)
                 .M(48, 42)
                 .A(72, 42, 24, 24, 180, 0)
                 .L(96, 0));
    set('n', Pen(60).M(0, 0).L(0, 66).M(0, 36).A(30, 36, 30, 30, 180, 0).L(60, 0));
    set('o', Pen(64).Arc(32, 33, 32, 33, 0, 360));
    set('p', Pen(60).M(0, 66).L(0, -32).Arc(30, 33, 30, 33, 0, 360));
    set('q', Pen(60).Arc(30, 33, 30, 33, 0, 360).M(60, 66).L(60, -32));
    set('r', Pen(42).M(0, 0).L(0, 66).M(0, 34).A(32, 34, 32, 32, 180, 75));
    set('s', Pen(52).Arc(26, 49.75, 24, 16.25, 25, 270).A(26, 16.75, 26, 16.75, 90, -155));
    set('t', Pen(46).M(16, 92).L(16, 16).A(36, 16, 20, 16, 180, 300).M(0, 66).L(40, 66));
    set('u', Pen(60).M(0, 66).L(0, 32).A(30, 32, 30, 32, 180, 360).M(60, 66).L(60, 0));
    set('v', Pen(64).M(0, 66).L(32, 0).L(64, 66));
    set('w', Pen(92).M(0, 66).L(22, 0).L(46, 50).L(70, 0).L(92, 66));
    set('x', Pen(60).M(0, 66).L(60, 0).M(0, 0).L(60, 66));
    set('y', Pen(64).M(0, 66).L(32, 2).M(64, 66).L(16, -32));
    set('z', Pen(56).M(0, 66).L(56, 66).L(0, 0).L(56, 0));
    set(' ', Pen(26));
    set('!', Pen(0).M(0, 100).L(0, 34).M(0, 2).L(0, 3));
    set('.', Pen(0).M(0, 2).L(0, 3));
    return f;
}

const std::array<Glyph, 128>& Font() {
    static const std::array<Glyph, 128> font = BuildFont();
    return font;
}

struct Segment {
    Point a, b;
};

struct PlacedGlyph {
    std::vector<Segment> segments;
    double x0 = 0, y0 = 0, x1 = 0, y1 = 0;  // bounds of the centre lines, pixels
};

double SegmentDistance(const Segment& s, double px, double py) {
    double dx = s.b.x - s.a.x, dy = s.b.y - s.a.y;
    double len2 = dx * dx + dy * dy;
    double t = len2 > 0 ? dm::Clamp01(((px - s.a.x) * dx + (py - s.a.y) * dy) / len2) : 0.0;
    double ex = s.a.x + dx * t - px, ey = s.a.y + dy * t - py;
    return dm::Sqrt(ex * ex + ey * ey);
}

double Advance(const Glyph& g, const TextStyle& style) {
    return g.width + 2 * style.weight + style.tracking;
}

}  // namespace

const Glyph* FindGlyph(char c) {
    unsigned char u = static_cast<unsigned char>(c);
    if (u >= 128) return nullptr;
    const Glyph& g = Font()[u];
    if (g.strokes.empty() && c != ' ') return nullptr;
    return &g;
}

double MeasureText(const std::string& text, const TextStyle& style) {
    double units = 0;
    for (char c : text)
        if (const Glyph* g = FindGlyph(c)) units += Advance(*g, style);
    if (units > 0) units -= style.tracking;
    return units * style.capHeight / 100.0;
}

void DrawText(Canvas& canvas, const std::string& text, double centerX, double baselineY, const TextStyle& style) {
    const double scale = style.capHeight / 100.0;
    const double halfWidth = style.weight * scale;
    double penX = centerX - MeasureText(text, style) / 2 + halfWidth;

    std::vector<PlacedGlyph> placed;
    for (char c : text) {
        const Glyph* g = FindGlyph(c);
        if (!g) continue;
        PlacedGlyph p{{}, 1e30, 1e30, -1e30, -1e30};
        for (const Contour& stroke : g->strokes) {
            std::vector<Point> pts;
            for (const Point& q : stroke) {
                double y = baselineY - q.y * scale;
                double x = penX + q.x * scale + style.slant * (baselineY - y);
                pts.push_back({x, y});
                p.x0 = dm::Min(p.x0, x);
                p.x1 = dm::Max(p.x1, x);
                p.y0 = dm::Min(p.y0, y);
                p.y1 = dm::Max(p.y1, y);
            }
            if (pts.size() == 1) pts.push_back(pts[0]);
            for (size_t i = 0; i + 1 < pts.size(); ++i) p.segments.push_back({pts[i], pts[i + 1]});
        }
        if (!p.segments.empty()) placed.push_back(std::move(p));
        penX += Advance(*g, style) * scale;
    }
    if (placed.empty()) return;

    // Distance from a point to the nearest centre line; glyphs whose bounds
    // lie farther than the best distance so far are skipped.
    auto distance = [&](double px, double py) {
        double best = 1e30;
        for (const PlacedGlyph& g : placed) {
            double bx = dm::Max(0.0, dm::Max(g.x0 - px, px - g.x1));
            double by = dm::Max(0.0, dm::Max(g.y0 - py, py - g.y1));
            if (bx * bx + by * by >= best * best) continue;
            for (const Segment& s : g.segments) best = dm::Min(best, SegmentDistance(s, px, py));
        }
        return best;
    };

    const double sideLength = dm::Sqrt(style.sideX * style.sideX + style.sideY * style.sideY);
    const int sideSteps = static_cast<int>(sideLength) + 1;
    const double reach = halfWidth + style.outlineWidth + sideLength + style.glowRadius * 2.5 + 2;
    double minX = 1e30, minY = 1e30, maxX = -1e30, maxY = -1e30;
    for (const PlacedGlyph& g : placed) {
        minX = dm::Min(minX, g.x0);
        minY = dm::Min(minY, g.y0);
        maxX = dm::Max(maxX, g.x1);
        maxY = dm::Max(maxY, g.y1);
    }
    const double top = baselineY - style.capHeight;
    const double lightX = -0.6, lightY = -0.8;  // towards the light, top left

    canvas.ForEach(static_cast<int>(minX - reach), static_cast<int>(minY - reach), static_cast<int>(maxX + reach),
                   static_cast<int>(maxY + reach), [&](int x, int y, double px, double py) {
                       double d = distance(px, py) - halfWidth;
                       if (style.glowRadius > 0 && d > 0) {
                           double k = d / style.glowRadius;
                           if (k < 2.5) canvas.AddLight(x, y, style.glow, style.glowStrength * dm::Exp(-k * k));
                       }
                       if (sideLength > 0 && d > 0) {
                           double ds = 1e30;
                           for (int i = 1; i <= sideSteps; ++i) {
                               double t = static_cast<double>(i) / sideSteps;
                               ds = dm::Min(ds, distance(px - style.sideX * t, py - style.sideY * t));
                           }
                           ds -= halfWidth + style.outlineWidth;
                           double cover = dm::Clamp01(0.5 - ds);
                           if (cover > 0) canvas.Blend(x, y, style.side, cover);
                       }
                       double outlineCover = dm::Clamp01(0.5 - (d - style.outlineWidth));
                       if (outlineCover > 0 && style.outlineWidth > 0) canvas.Blend(x, y, style.outline, outlineCover);
                       double fillCover = dm::Clamp01(0.5 - d);
                       if (fillCover <= 0) return;
                       double t = (py - top) / style.capHeight;
                       Color c = t < 0.5 ? Mix(style.fillTop, style.fillMiddle, dm::Clamp01(t * 2))
                                         : Mix(style.fillMiddle, style.fillBottom, dm::Clamp01(t * 2 - 1));
                       if (-d < style.bevelWidth) {
                           double gx = distance(px + 0.5, py) - distance(px - 0.5, py);
                           double gy = distance(px, py + 0.5) - distance(px, py - 0.5);
                           double len = dm::Sqrt(gx * gx + gy * gy);
                           if (len > 1e-9) {
                               double facing = (gx * lightX + gy * lightY) / len;
                               double edge = 1.0 - dm::Max(0.0, -d) / style.bevelWidth;
                               double k = style.bevel * facing * edge;
                               c = k > 0 ? Mix(c, Color{1, 1, 1}, k) : c * (1.0 + k);
                           }
                       }
                       canvas.Blend(x, y, c, fillCover);
                   });
}

}  // namespace Assets
