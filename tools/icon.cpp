#include "tools/icon.h"

#include "tools/canvas.h"
#include "tools/noise.h"

namespace Assets {

namespace {

// The meteor on a transparent square of n pixels: a fiery tail from the
// upper right to a glowing rock at the lower left.
IconImage DrawIcon(int n) {
    Canvas c(n, n, {}, 0.0);
    const double s = n;
    const Point head{0.36 * s, 0.64 * s};
    const Point end{0.98 * s, 0.02 * s};
    const double r = 0.23 * s;
    double dx = end.x - head.x, dy = end.y - head.y;
    double len = dm::Sqrt(dx * dx + dy * dy);
    double ux = dx / len, uy = dy / len;
    Contour tail{{head.x - uy * r * 0.95, head.y + ux * r * 0.95},
                 {end.x - uy * 0.02 * s, end.y + ux * 0.02 * s},
                 {end.x + uy * 0.02 * s, end.y - ux * 0.02 * s},
                 {head.x + uy * r * 0.95, head.y - ux * r * 0.95}};
    Rasterize(Path(tail), n, n, [&](int x, int y, double cover) {
        double px = x + 0.5 - head.x, py = y + 0.5 - head.y;
        double t = dm::Clamp01((px * ux + py * uy) / len);
        double across = dm::Abs(px * -uy + py * ux) / (r * (1 - t) + 0.5);
        Color col = t < 0.35 ? Mix(Rgb(255, 246, 170), Rgb(255, 150, 40), t / 0.35)
                             : Mix(Rgb(255, 150, 40), Rgb(210, 40, 30), (t - 0.35) / 0.65);
        col = Mix(col, Rgb(255, 255, 220), dm::Clamp01(0.6 - across) * (1 - t));
        c.Blend(x, y, col, cover * (1.0 - 0.75 * t * t));
    });
    // The head: a dark rim for contrast on light desktops, a ball of fire
    // and, where there is room for it, the rock inside.
    const double rim = dm::Max(1.0, s / 32);
    c.Fill(Path(Ellipse(head.x, head.y, r + rim, r + rim, 48)), Rgb(60, 16, 6));
    c.FillShaded(Path(Ellipse(head.x, head.y, r, r, 48)), [&](double px, double py) {
        double d = dm::Sqrt((px - head.x) * (px - head.x) + (py - head.y) * (py - head.y)) / r;
        return d < 0.5 ? Mix(Rgb(255, 252, 220), Rgb(255, 214, 90), d / 0.5)
                       : Mix(Rgb(255, 214, 90), Rgb(236, 90, 24), (d - 0.5) / 0.5);
    });
    if (n >= 32) {
        // The rock leads, on the lower left; the fire streams off behind it.
        const double rr = r * 0.8;
        const Point rock{head.x - 0.2 * r, head.y + 0.2 * r};
        c.FillShaded(Path(Ellipse(rock.x, rock.y, rr, rr, 40)), [&](double px, double py) {
            double u = (px - rock.x) / rr, v = (py - rock.y) / rr;
            double w = dm::Sqrt(dm::Max(0.0, 1 - u * u - v * v));
            double light = dm::Max(0.0, -0.5 * u - 0.55 * v + 0.67 * w);
            double grain = Fbm2(u * 3 + 4, v * 3 + 2, 21, 3);
            Color stone = Mix(Rgb(100, 80, 64), Rgb(176, 146, 112), grain) * (0.4 + 0.85 * light);
            return Mix(stone, Rgb(255, 130, 40), dm::Clamp01(-0.6 * u + 0.6 * v) * (1 - 0.5 * w));
        });
    }
    IconImage image;
    image.size = n;
    image.bgra.resize(static_cast<size_t>(n) * n * 4);
    for (int y = 0; y < n; ++y)
        for (int x = 0; x < n; ++x) {
            double a = c.AlphaAt(x, y);
            Color col = a > 0 ? c.At(x, y) * (1.0 / a) : Color{};
            size_t i = (static_cast<size_t>(y) * n + x) * 4;
            image.bgra[i + 0] = static_cast<uint8_t>(dm::Floor(dm::Clamp01(col.b) * 255 + 0.5));
            image.bgra[i + 1] = static_cast<uint8_t>(dm::Floor(dm::Clamp01(col.g) * 255 + 0.5));
            image.bgra[i + 2] = static_cast<uint8_t>(dm::Floor(dm::Clamp01(col.r) * 255 + 0.5));
            image.bgra[i + 3] = static_cast<uint8_t>(dm::Floor(dm::Clamp01(a) * 255 + 0.5));
        }
    return image;
}

}  // namespace

std::vector<IconImage> MakeIconImages() {
    return {DrawIcon(16), DrawIcon(32), DrawIcon(48)};
}

}  // namespace Assets
