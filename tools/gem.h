// The cut gem of the game: the diamond sprite and the gems that decorate the
// "level complete" picture are the same drawing at different sizes.
#pragma once

#include "tools/canvas.h"

namespace Assets {

// Draws the gem with its top-left corner at (x, y); at scale 1 it fills a
// 32 x 32 cell.
void PaintGem(Canvas& canvas, double x, double y, double scale);

}  // namespace Assets
