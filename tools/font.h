// The lettering of the title and interlude pictures: a rounded geometric
// typeface designed as stroke centre lines (capital height 100 units, y up
// from the baseline), drawn as thick strokes through their distance field.
// The same field gives the effects of bold poster lettering: a gradient fill
// with a bevel, an outline, an extruded side and a glow.
#pragma once

#include <string>
#include <vector>

#include "tools/canvas.h"

namespace Assets {

struct Glyph {
    double width = 0;              // extent of the centre lines
    std::vector<Contour> strokes;  // open polylines, font units, y up
};

// The glyph of a character; nullptr for a character the font lacks.
const Glyph* FindGlyph(char c);

struct TextStyle {
    double capHeight = 100;  // pixels
    double weight = 12;      // half the stroke width, font units
    double tracking = 8;     // extra space between letters, font units
    double slant = 0;        // horizontal shift per pixel of height (italic)
    Color fillTop{1, 1, 1}, fillMiddle{1, 1, 1}, fillBottom{1, 1, 1};
    double bevel = 0.5;     // strength of the light and shade along the edges
    double bevelWidth = 6;  // pixels
    Color outline{0.02, 0.02, 0.03};
    double outlineWidth = 3;  // pixels
    Color side{0.1, 0.05, 0.02};
    double sideX = 0, sideY = 0;  // direction and depth of the extruded side, pixels
    Color glow{1, 0.6, 0.2};
    double glowRadius = 0;  // pixels; 0 for none
    double glowStrength = 0.5;
};

// Width in pixels of the text set in the style.
double MeasureText(const std::string& text, const TextStyle& style);
// Draws one line of text centred on centerX with its baseline at baselineY.
void DrawText(Canvas& canvas, const std::string& text, double centerX, double baselineY, const TextStyle& style);

}  // namespace Assets
