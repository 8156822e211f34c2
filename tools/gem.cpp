#include "tools/gem.h"

#include "tools/sky.h"

namespace Assets {

void PaintGem(Canvas& c, double x, double y, double k) {
    auto at = [&](double px, double py) { return Point{x + px * k, y + py * k}; };
    // A brilliant seen from the side: table, crown facets, girdle, pavilion.
    const double gy = 13, ty = 6.5, by = 29;
    const Point table[4] = {at(9, ty), at(13.7, ty), at(18.3, ty), at(23, ty)};
    const Point girdle[5] = {at(2.5, gy), at(9.5, gy), at(16, gy), at(22.5, gy), at(29.5, gy)};
    const Point culet = at(16, by);
    const Color crown[7] = {Rgb(120, 200, 250), Rgb(200, 240, 255), Rgb(150, 220, 255), Rgb(236, 250, 255),
                            Rgb(110, 190, 245), Rgb(180, 232, 255), Rgb(84, 160, 230)};
    // A dark setting under the stone, so it reads on any background.
    Contour outline{table[0], table[3], girdle[4], culet, girdle[0]};
    Point centre = at(16, 16);
    double grow = 1.0 + 1.5 / (13.5 * k);
    for (Point& p : outline) p = {centre.x + (p.x - centre.x) * grow, centre.y + (p.y - centre.y) * grow};
    c.Fill(Path(outline), Rgb(8, 18, 44));
    // The crown: alternating triangles between the table edge and the girdle.
    c.Fill(Path({table[0], table[3], girdle[4], girdle[0]}), Rgb(140, 210, 250));
    c.Fill(Path({girdle[0], table[0], girdle[1]}), crown[0]);
    c.Fill(Path({table[0], table[1], girdle[1]}), crown[1]);
    c.Fill(Path({girdle[1], table[1], girdle[2]}), crown[2]);
    c.Fill(Path({table[1], table[2], girdle[2]}), crown[3]);
    c.Fill(Path({girdle[2], table[2], girdle[3]}), crown[4]);
    c.Fill(Path({table[2], table[3], girdle[3]}), crown[5]);
    c.Fill(Path({girdle[3], table[3], girdle[4]}), crown[6]);
    // The pavilion: long facets down to the point.
    const Color pavilion[4] = {Rgb(40, 110, 210), Rgb(110, 190, 250), Rgb(60, 150, 235), Rgb(24, 80, 180)};
    for (int i = 0; i < 4; ++i) c.Fill(Path({girdle[i], girdle[i + 1], culet}), pavilion[i]);
    c.Fill(Path({girdle[1], at(12.5, gy), culet}), Rgb(200, 240, 255), 0.7);  // a streak of reflected light
    Contour band = Rect(girdle[0].x, girdle[0].y - 0.6 * k, girdle[4].x, girdle[0].y + 0.6 * k);
    c.Fill(Path(band), Rgb(230, 248, 255), 0.8);  // the girdle catches the light
    for (int i = 1; i < 4; ++i) c.Fill(Path(Capsule(girdle[i], culet, 0.25 * k)), Rgb(230, 248, 255), 0.5);
    // Sparkles.
    Point s1 = at(22.5, 7.5), s2 = at(8.5, 19.5), s3 = at(27.5, 2.5);
    PaintStar(c, s1.x, s1.y, 1.3 * k, Rgb(255, 255, 255), 1.0, 5.5 * k);
    PaintStar(c, s2.x, s2.y, 0.9 * k, Rgb(230, 250, 255), 0.8, 3 * k);
    PaintStar(c, s3.x, s3.y, 0.6 * k, Rgb(230, 250, 255), 0.6, 0);
}

}  // namespace Assets
