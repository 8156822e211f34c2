// The small Italian town of the level backgrounds: rows of houses with lit
// windows, and the helpers the landmarks share (stone shading, windows).
#pragma once

#include "tools/canvas.h"
#include "tools/random.h"

namespace Assets {

struct TownColors {
    Color wall, roof;
    Color window{1.0, 0.72, 0.32};  // a lit window
    Color darkWindow{0.02, 0.02, 0.04};
    double litChance = 0.3;
    double haze = 0;  // 0 near .. 1 lost in the sky colour
    Color hazeColor;
};

// A row of houses on the ground line baseY, from x0 to x1, with heights
// between minHeight and maxHeight; scale sets the size of floors and windows.
void PaintHouses(Canvas& canvas, Random& random, double x0, double x1, double baseY, double minHeight, double maxHeight,
                 const TownColors& colors, double scale);

// A window: lit (warm, with a soft glow) or dark; arched when asked.
void PaintWindow(Canvas& canvas, double x0, double y0, double x1, double y1, bool lit, bool arched,
                 const TownColors& colors, double glow = 1.0);

}  // namespace Assets
