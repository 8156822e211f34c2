// The town: rows of houses and the helpers shared by the landmarks.
#include "tools/town.h"

#include "tools/noise.h"

namespace Assets {

void PaintWindow(Canvas& canvas, double x0, double y0, double x1, double y1, bool lit, bool arched,
                 const TownColors& colors, double glow) {
    Contour shape = arched ? ArchedRect(x0, y0, x1, y1) : Rect(x0, y0, x1, y1);
    if (!lit) {
        canvas.Fill(Path(shape), Mix(colors.darkWindow, colors.hazeColor, colors.haze));
        return;
    }
    Color warm = Mix(colors.window, colors.hazeColor, colors.haze * 0.6);
    // Lamplight is brighter low in the room, where the lamp hangs.
    canvas.FillShaded(Path(shape), [&](double, double py) {
        double t = dm::Clamp01((py - y0) / dm::Max(1.0, y1 - y0));
        return warm * (0.78 + 0.22 * t);
    });
    double size = dm::Max(x1 - x0, y1 - y0);
    canvas.Glow((x0 + x1) / 2, (y0 + y1) / 2, size * 1.6, warm, 0.07 * glow * (1 - colors.haze), 2.0);
}

void PaintHouses(Canvas& canvas, Random& random, double x0, double x1, double baseY, double minHeight, double maxHeight,
                 const TownColors& colors, double scale) {
    double x = x0 - random.Range(0, 12) * scale;
    while (x < x1) {
        double w = random.Range(30, 72) * scale;
        if (x + w > x1) w = x1 - x;  // the row ends where it was asked to
        if (w < 16 * scale) break;
        double h = random.Range(minHeight, maxHeight);
        double top = baseY - h;
        Color wall = Mix(colors.wall * random.Range(0.82, 1.18), colors.hazeColor, colors.haze);
        Color roof = Mix(colors.roof * random.Range(0.85, 1.1), colors.hazeColor, colors.haze);
        int roofKind = random.Int(0, 9);
        if (roofKind < 6) {
            // A shallow tiled gable, the usual roof of the old town.
            double rise = w * random.Range(0.14, 0.22);
            canvas.Fill(Path({{x - 2 * scale, top}, {x + w / 2, top - rise}, {x + w + 2 * scale, top}}), roof);
            if (random.Chance(0.3)) {
                double cx = x + w * random.Range(0.2, 0.7);
                canvas.Fill(Path(Rect(cx, top - rise * 0.9, cx + 4 * scale, top - rise * 0.2)), roof);
            }
        } else {
            // A flat roof with a cornice.
            canvas.Fill(Path(Rect(x - 1.5 * scale, top - 3 * scale, x + w + 1.5 * scale, top + 1)), roof);
        }
        canvas.Fill(Path(Rect(x, top, x + w, baseY + 1)), wall);
        int floors = static_cast<int>((h - 10 * scale) / (17 * scale));
        int columns = static_cast<int>((w - 6 * scale) / (13 * scale));
        if (columns < 1) columns = 1;
        double pitch = w / columns;
        bool arched = random.Chance(0.35);
        for (int f = 0; f < floors; ++f) {
            double wy = top + 7 * scale + f * 17 * scale;
            for (int c = 0; c < columns; ++c) {
                double wx = x + pitch * (c + 0.5);
                if (f == floors - 1 && c == columns / 2 && random.Chance(0.5)) {
                    // A doorway on the ground floor.
                    PaintWindow(canvas, wx - 4 * scale, baseY - 14 * scale, wx + 4 * scale, baseY, random.Chance(0.15),
                                true, colors, 0.8);
                    continue;
                }
                if (random.Chance(0.15)) continue;  // a blind wall
                PaintWindow(canvas, wx - 2.8 * scale, wy, wx + 2.8 * scale, wy + 8.5 * scale,
                            random.Chance(colors.litChance), arched, colors);
            }
        }
        x += w + random.Range(-8, 3) * scale;
    }
}

}  // namespace Assets
