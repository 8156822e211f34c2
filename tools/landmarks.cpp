// The five level backgrounds: night views of the town, each with its
// landmark and its own colours, so the player sees at once that the level
// changed. The landmarks stand in the lower part, floodlit from below; the
// sky above keeps the play readable.
#include "tools/noise.h"
#include "tools/pictures.h"
#include "tools/sky.h"
#include "tools/town.h"

namespace Assets {

namespace {

constexpr int kWidth = 800, kHeight = 600;
constexpr double kGround = 566;  // the street the landmarks stand on

struct Palette {
    SkyColors sky;
    double horizonY = 520;
    Color cloud;
    double cloudStrength = 0.08;
    Moon moon;
    Color starTint{0.9, 0.93, 1.0};
    Color hillTop, hillBottom, hillRim;
    Color stone;  // stone in moonlight, high up
    Color flood;  // stone in the floodlight at its foot
    Color roof;
    Color metal;  // crosses, railings
    Color street;
    TownColors backTown, frontTown;
    uint64_t seed = 1;
};

// Drawing helpers for one picture.
class Scene {
public:
    Scene(Canvas& c, const Palette& p) : canvas(c), palette(p), random(p.seed) {}

    void Sky() {
        PaintSkyGradient(canvas, palette.sky, palette.horizonY);
        PaintClouds(canvas, palette.cloud, palette.cloudStrength, 40, 330, 55, random.Next());
        StarField stars;
        stars.count = 360;
        stars.y0 = 10;
        stars.y1 = palette.horizonY - 60;
        stars.tint = palette.starTint;
        stars.avoidX = palette.moon.x;
        stars.avoidY = palette.moon.y;
        stars.avoidRadius = palette.moon.radius * 1.6;
        PaintStars(canvas, stars, random);
        PaintMoon(canvas, palette.moon);
    }

    void Hills(double baseY, double amplitude) {
        PaintRidge(canvas, baseY, amplitude, 0.0035, random.Next(), palette.hillTop, palette.hillBottom,
                   palette.hillRim);
    }

    // Stone at (px, py) on a building standing on baseY: warm floodlight
    // near the foot, cool moonlight higher up, darker on side faces, with
    // courses of masonry and a little weathering.
    Color Stone(double px, double py, double baseY, double reach, double shade) const {
        double flood = dm::Exp(-(baseY - py) / reach);
        Color c = Mix(palette.stone, palette.flood, flood * 0.85);
        double grain = Fbm2(px / 5.0, py / 3.0, palette.seed + 5, 3);
        c = c * (0.88 + 0.22 * grain);
        if (dm::Fract(py / 7.0) < 0.14) c = c * 0.9;
        return c * shade;
    }

    void Wall(const Contour& outline, double baseY, double reach, double shade = 1.0) {
        canvas.FillShaded(Path(outline), [&](double px, double py) { return Stone(px, py, baseY, reach, shade); });
    }

    // A moulding: a lit band with a thin shadow under it.
    void Cornice(double x0, double x1, double y, double thickness, double baseY, double reach) {
        canvas.Fill(Path(Rect(x0, y + thickness, x1, y + thickness + 1.5)), palette.stone * 0.25, 0.8);
        canvas.FillShaded(Path(Rect(x0, y, x1, y + thickness)),
                          [&](double px, double py) { return Stone(px, py, baseY, reach, 1.25); });
    }

    void Window(double x0, double y0, double x1, double y1, bool lit, bool arched, double glow = 1.0) {
        PaintWindow(canvas, x0, y0, x1, y1, lit, arched, palette.frontTown, glow);
    }

    // An opening in a wall with a recessed frame of lighter stone.
    void FramedWindow(double x0, double y0, double x1, double y1, bool lit, bool arched, double baseY, double reach) {
        Contour frame = arched ? ArchedRect(x0 - 2, y0 - 2, x1 + 2, y1 + 1) : Rect(x0 - 2, y0 - 2, x1 + 2, y1 + 1);
        canvas.FillShaded(Path(frame), [&](double px, double py) { return Stone(px, py, baseY, reach, 1.2); });
        Window(x0, y0, x1, y1, lit, arched);
    }

    void Roof(const Contour& outline, double shade = 1.0) {
        canvas.FillShaded(Path(outline), [&](double px, double py) {
            double tiles = dm::Fract(px / 4.0) < 0.3 ? 0.82 : 1.0;
            return palette.roof * (shade * tiles * (0.9 + 0.2 * Fbm2(px / 3, py / 3, 33, 2)));
        });
    }

    // A round window of coloured glass with its tracery.
    void RoseWindow(double cx, double cy, double r, double baseY, double reach) {
        canvas.FillShaded(Path(Ellipse(cx, cy, r + 3, r + 3)),
                          [&](double px, double py) { return Stone(px, py, baseY, reach, 1.25); });
        canvas.FillShaded(Path(Ellipse(cx, cy, r, r)), [&](double px, double py) {
            double d = dm::Sqrt((px - cx) * (px - cx) + (py - cy) * (py - cy)) / r;
            double a = dm::Atan2(py - cy, px - cx);
            Color glass = Mix(Rgb(255, 190, 90), Rgb(200, 70, 60), d);
            if (dm::Fract(a / dm::kTwoPi * 12.0) < 0.5) glass = Mix(glass, Rgb(90, 120, 230), 0.35 * d);
            return glass * 0.85;
        });
        for (int i = 0; i < 12; ++i) {
            double a = dm::kTwoPi * i / 12.0;
            canvas.Fill(Path(Capsule({cx + dm::Cos(a) * r * 0.25, cy + dm::Sin(a) * r * 0.25},
                                     {cx + dm::Cos(a) * r, cy + dm::Sin(a) * r}, 0.7)),
                        palette.stone * 0.35);
        }
        canvas.Fill(Path(Ellipse(cx, cy, r * 0.25, r * 0.25)), Stone(cx, cy, baseY, reach, 1.1));
        canvas.Glow(cx, cy, r * 2.2, Rgb(255, 170, 80), 0.08, 2.0);
    }

    void Cross(double x, double top, double size) {
        canvas.Fill(Path(Rect(x - size * 0.09, top, x + size * 0.09, top + size)), palette.metal);
        canvas.Fill(Path(Rect(x - size * 0.34, top + size * 0.22, x + size * 0.34, top + size * 0.36)), palette.metal);
    }

    void Clock(double cx, double cy, double r) {
        canvas.Fill(Path(Ellipse(cx, cy, r + 1.5, r + 1.5)), palette.stone * 0.35);
        canvas.Fill(Path(Ellipse(cx, cy, r, r)), Rgb(238, 226, 190));
        canvas.Glow(cx, cy, r * 2.5, Rgb(255, 230, 170), 0.1, 2.0);
        canvas.Fill(Path(Capsule({cx, cy}, {cx + r * 0.45, cy - r * 0.35}, 0.9)), Rgb(30, 24, 20));
        canvas.Fill(Path(Capsule({cx, cy}, {cx - r * 0.1, cy - r * 0.8}, 0.7)), Rgb(30, 24, 20));
    }

    // A street lamp on an iron post.
    void Lamp(double x, double baseY, double height) {
        canvas.Fill(Path(Rect(x - 1, baseY - height, x + 1, baseY)), palette.metal * 0.7);
        canvas.Fill(Path(Ellipse(x, baseY - height - 2, 2.6, 3.2)), Rgb(255, 226, 150));
        canvas.Glow(x, baseY - height - 2, 34, Rgb(255, 180, 90), 0.22, 2.2);
        canvas.Glow(x, baseY - height - 2, 8, Rgb(255, 240, 200), 0.5, 1.5);
        PaintHorizonGlow(canvas, x, baseY + 10, 46, 11, Rgb(255, 170, 90), 0.16);  // its pool of light
    }

    // The street in front: dark paving, warmer where the lamps shine.
    void Street() {
        canvas.FillShaded(Path(Rect(0, kGround, kWidth, kHeight)), [&](double px, double py) {
            double stones = Fbm2(px / 4.0, py / 2.0, 91, 2);
            return palette.street * (0.85 + 0.3 * stones);
        });
        // The kerb catches a little light.
        canvas.Fill(Path(Rect(0, kGround, kWidth, kGround + 1.5)), palette.street * 2.2, 0.8);
    }

    void BackTown(double x0, double x1, double baseY, double minH, double maxH) {
        PaintHouses(canvas, random, x0, x1, baseY, minH, maxH, palette.backTown, 0.75);
    }
    void FrontTown(double x0, double x1, double minH, double maxH) {
        PaintHouses(canvas, random, x0, x1, kGround + 2, minH, maxH, palette.frontTown, 1.0);
    }

    Canvas& canvas;
    const Palette& palette;
    Random random;
};

TownColors Town(Color wall, Color roof, double lit, double haze, Color hazeColor) {
    TownColors t;
    t.wall = wall;
    t.roof = roof;
    t.litChance = lit;
    t.haze = haze;
    t.hazeColor = hazeColor;
    return t;
}

// 1: deep blue night; a Romanesque church with its bell tower.
void PaintSanMartino(Canvas& canvas) {
    Palette p;
    p.sky = {Rgb(2, 5, 22), Rgb(8, 22, 62), Rgb(30, 52, 104), 0.55};
    p.cloud = Rgb(60, 80, 140);
    p.moon.x = 640;
    p.moon.y = 118;
    p.moon.radius = 32;
    p.moon.light = Rgb(250, 246, 226);
    p.moon.halo = Rgb(110, 140, 230);
    p.moon.haloStrength = 0.22;
    p.moon.phase = 0;
    p.moon.seed = 11;
    p.hillTop = Rgb(22, 32, 62);
    p.hillBottom = Rgb(10, 16, 34);
    p.hillRim = Rgb(60, 80, 130);
    p.stone = Rgb(62, 70, 98);
    p.flood = Rgb(190, 150, 104);
    p.roof = Rgb(70, 40, 36);
    p.metal = Rgb(30, 30, 40);
    p.street = Rgb(16, 18, 30);
    p.backTown = Town(Rgb(30, 40, 72), Rgb(40, 34, 52), 0.18, 0.35, Rgb(30, 52, 104));
    p.frontTown = Town(Rgb(20, 24, 44), Rgb(34, 24, 30), 0.3, 0, {});
    p.seed = 101;
    Scene s(canvas, p);
    s.Sky();
    s.Hills(468, 20);
    s.BackTown(-10, 810, 520, 40, 90);

    const double base = kGround;
    // Side aisles with lean-to roofs.
    s.Wall(Rect(226, 470, 276, base), base, 90, 0.8);
    s.Roof({{220, 474}, {276, 440}, {276, 450}, {226, 480}}, 0.9);
    s.Wall(Rect(434, 470, 484, base), base, 90, 0.8);
    s.Roof({{434, 440}, {490, 474}, {484, 480}, {434, 450}}, 0.9);
    s.Window(244, 500, 256, 524, true, true);
    s.Window(454, 500, 466, 524, false, true);
    // The facade with its gable, rose window and portal.
    s.Wall({{270, base}, {270, 420}, {355, 352}, {440, 420}, {440, base}}, base, 110);
    s.Roof({{262, 424}, {355, 344}, {448, 424}, {440, 424}, {355, 354}, {270, 424}}, 1.0);
    s.Cornice(268, 442, 420, 3, base, 110);
    s.RoseWindow(355, 450, 19, base, 110);
    s.canvas.FillShaded(Path(ArchedRect(330, 494, 380, base)),
                        [&](double px, double py) { return s.Stone(px, py, base, 110, 1.3); });
    s.canvas.Fill(Path(ArchedRect(336, 500, 374, base)), Rgb(46, 26, 18));
    s.canvas.Fill(Path(Rect(354.3, 520, 355.7, base)), Rgb(24, 14, 10));
    s.canvas.Glow(355, 540, 40, Rgb(255, 170, 80), 0.12, 2.0);
    s.FramedWindow(290, 470, 300, 496, true, true, base, 110);
    s.FramedWindow(410, 470, 420, 496, false, true, base, 110);
    // A band of small blind arches under the raking cornice, a Romanesque habit.
    for (int i = 1; i < 12; ++i) {
        double t = i / 12.0;
        for (double side : {-1.0, 1.0}) {
            double x = 355 + side * 85 * (1 - t), y = 420 - 68 * t;
            s.canvas.Fill(Path(ArchedRect(x - 2.6, y + 3, x + 2.6, y + 9)), p.stone * 0.42, 0.75);
        }
    }
    s.canvas.Fill(Path(Ellipse(355, 392, 6, 6)), p.stone * 0.3);  // an oculus in the gable
    s.canvas.Fill(Path(Ellipse(355, 392, 4.2, 4.2)), Rgb(255, 190, 100), 0.8);
    s.Cross(355, 320, 26);

    // The bell tower: shaft, clock, belfry, pyramid spire.
    const double tx0 = 500, tx1 = 552;
    s.Wall(Rect(tx0, 262, tx1, base), base, 180);
    s.Wall(Rect(tx1, 262, tx1 + 8, base), base, 180, 0.62);
    for (double y : {480.0, 400.0, 330.0}) s.Cornice(tx0 - 2, tx1 + 9, y, 3, base, 180);
    s.FramedWindow(522, 494, 530, 516, false, true, base, 180);
    s.FramedWindow(522, 420, 530, 444, true, true, base, 180);
    s.Clock(526, 366, 13);
    for (double x : {507.0, 529.0}) {
        s.canvas.Fill(Path(ArchedRect(x, 276, x + 16, 322)), Rgb(10, 12, 26));
        s.canvas.Fill(Path(Ellipse(x + 8, 300, 5, 6)), Rgb(120, 90, 40));  // a bell
        s.canvas.Fill(Path(Rect(x + 7, 290, x + 9, 294)), Rgb(90, 70, 30));
    }
    s.Cornice(tx0 - 3, tx1 + 10, 258, 5, base, 180);
    s.Roof({{tx0 - 2, 258}, {526, 186}, {tx1 + 10, 258}});
    s.Roof({{526, 186}, {tx1 + 10, 258}, {tx1, 258}}, 0.6);
    s.Cross(526, 160, 28);

    s.FrontTown(-20, 220, 70, 130);
    s.FrontTown(578, 820, 70, 140);
    s.Street();
    s.Lamp(232, kGround + 2, 50);
    s.Lamp(480, kGround + 2, 50);
    s.Lamp(610, kGround + 2, 50);
}

// 2: violet night; a cathedral crowned by a ribbed dome.
void PaintCattedrale(Canvas& canvas) {
    Palette p;
    p.sky = {Rgb(8, 3, 22), Rgb(34, 14, 60), Rgb(84, 44, 102), 0.5};
    p.cloud = Rgb(120, 80, 150);
    p.cloudStrength = 0.1;
    p.moon.x = 150;
    p.moon.y = 110;
    p.moon.radius = 28;
    p.moon.light = Rgb(250, 236, 240);
    p.moon.halo = Rgb(190, 130, 230);
    p.moon.haloStrength = 0.2;
    p.moon.phase = 55;
    p.moon.darkSide = Rgb(40, 22, 60);
    p.moon.seed = 12;
    p.starTint = Rgb(245, 230, 255);
    p.hillTop = Rgb(46, 26, 66);
    p.hillBottom = Rgb(20, 10, 32);
    p.hillRim = Rgb(120, 80, 150);
    p.stone = Rgb(84, 66, 100);
    p.flood = Rgb(200, 160, 130);
    p.roof = Rgb(64, 38, 48);
    p.metal = Rgb(36, 24, 40);
    p.street = Rgb(20, 14, 28);
    p.backTown = Town(Rgb(50, 32, 72), Rgb(58, 34, 62), 0.16, 0.35, Rgb(84, 44, 102));
    p.frontTown = Town(Rgb(28, 18, 40), Rgb(40, 22, 36), 0.3, 0, {});
    p.seed = 202;
    Scene s(canvas, p);
    s.Sky();
    s.Hills(472, 18);
    s.BackTown(-10, 810, 522, 40, 86);

    const double base = kGround;
    const double cx = 400;
    // Drum with its windows, then the dome with ribs and the lantern.
    s.Wall(Rect(cx - 62, 372, cx + 62, 450), base, 160);
    s.Cornice(cx - 66, cx + 66, 368, 5, base, 160);
    for (int i = -2; i <= 2; ++i)
        s.FramedWindow(cx + i * 24 - 4, 384, cx + i * 24 + 4, 406, i % 2 == 0, true, base, 160);
    const double domeBase = 368, domeRx = 60, domeRy = 76;
    Contour dome;
    AppendArc(dome, cx, domeBase, domeRx, domeRy, 180, 0, 48);
    canvas.FillShaded(Path(dome), [&](double px, double py) {
        double u = (px - cx) / domeRx, v = (domeBase - py) / domeRy;
        double w = dm::Sqrt(1 - dm::Min(1.0, u * u + v * v));
        // Lit by the moon from the upper left and by the floodlights below.
        double light = 0.35 + 0.45 * dm::Max(0.0, -0.55 * u + 0.45 * v + 0.7 * w) + 0.25 * (1 - v);
        double rib = dm::Abs(dm::Fract((dm::Atan2(u, w) / dm::kPi) * 8.0 + 0.5) - 0.5);
        Color lead = Mix(Rgb(60, 66, 96), Rgb(150, 120, 120), 0.3 * (1 - v));
        Color c = lead * light;
        if (rib < 0.06) c = s.Stone(px, py, base, 160, 1.2) * (0.6 + 0.4 * light);
        return c;
    });
    s.Cornice(cx - 12, cx + 12, domeBase - domeRy - 2, 3, base, 160);
    s.Wall(Rect(cx - 9, domeBase - domeRy - 24, cx + 9, domeBase - domeRy - 2), base, 160);
    for (double x : {cx - 5.0, cx + 1.0}) s.Window(x, domeBase - domeRy - 19, x + 4, domeBase - domeRy - 8, true, true);
    Contour lantern;
    AppendArc(lantern, cx, domeBase - domeRy - 24, 11, 10, 180, 0, 16);
    canvas.Fill(Path(lantern), Rgb(60, 66, 96) * 0.8);
    s.Cross(cx, domeBase - domeRy - 58, 24);

    // Transept wings and the nave front with three portals and a pediment.
    s.Wall(Rect(236, 462, 302, base), base, 90, 0.78);
    s.Wall(Rect(498, 462, 564, base), base, 90, 0.78);
    s.Cornice(232, 304, 458, 4, base, 90);
    s.Cornice(496, 568, 458, 4, base, 90);
    s.FramedWindow(262, 484, 276, 520, true, true, base, 90);
    s.FramedWindow(524, 484, 538, 520, false, true, base, 90);
    s.Wall({{300, base}, {300, 450}, {500, 450}, {500, base}}, base, 120);
    s.Wall({{296, 450}, {cx, 398}, {504, 450}}, base, 120);
    s.Roof({{288, 452}, {cx, 392}, {512, 452}, {504, 452}, {cx, 400}, {296, 452}});
    s.Cornice(296, 504, 448, 4, base, 120);
    s.RoseWindow(cx, 432, 11, base, 120);
    for (double x : {318.0, 346.0, 374.0, 406.0, 434.0, 462.0})  // pilasters
        canvas.FillShaded(Path(Rect(x + (x > cx ? 16 : 0), 454, x + (x > cx ? 22 : 6), base)),
                          [&](double px, double py) { return s.Stone(px, py, base, 120, 1.22); });
    for (int i = -1; i <= 1; ++i) {
        double w = i == 0 ? 22 : 14, top = i == 0 ? 494 : 514;
        double x = cx + i * 58;
        canvas.FillShaded(Path(ArchedRect(x - w - 4, top - 4, x + w + 4, base)),
                          [&](double px, double py) { return s.Stone(px, py, base, 120, 1.3); });
        canvas.Fill(Path(ArchedRect(x - w, top, x + w, base)), Rgb(44, 24, 20));
        if (i == 0) canvas.Glow(x, base - 16, 46, Rgb(255, 170, 90), 0.12, 2.0);
    }
    for (double x : {330.0, 460.0}) s.FramedWindow(x, 468, x + 10, 494, x < cx, true, base, 120);

    s.FrontTown(-20, 226, 64, 128);
    s.FrontTown(574, 820, 64, 136);
    s.Street();
    s.Lamp(222, kGround + 2, 52);
    s.Lamp(578, kGround + 2, 52);
}

// 3: teal night; a baroque church between twin bell towers.
void PaintChiesaCerreto(Canvas& canvas) {
    Palette p;
    p.sky = {Rgb(1, 12, 18), Rgb(6, 40, 52), Rgb(26, 84, 92), 0.55};
    p.cloud = Rgb(60, 130, 140);
    p.cloudStrength = 0.09;
    p.moon.x = 624;
    p.moon.y = 96;
    p.moon.radius = 26;
    p.moon.light = Rgb(236, 252, 246);
    p.moon.halo = Rgb(100, 210, 210);
    p.moon.haloStrength = 0.18;
    p.moon.phase = 120;
    p.moon.darkSide = Rgb(8, 40, 50);
    p.moon.seed = 13;
    p.starTint = Rgb(220, 255, 250);
    p.hillTop = Rgb(14, 50, 56);
    p.hillBottom = Rgb(6, 22, 28);
    p.hillRim = Rgb(60, 140, 140);
    p.stone = Rgb(62, 92, 96);
    p.flood = Rgb(200, 176, 130);
    p.roof = Rgb(60, 50, 44);
    p.metal = Rgb(20, 36, 40);
    p.street = Rgb(10, 22, 26);
    p.backTown = Town(Rgb(22, 60, 66), Rgb(34, 50, 52), 0.16, 0.35, Rgb(26, 84, 92));
    p.frontTown = Town(Rgb(12, 32, 38), Rgb(26, 30, 30), 0.3, 0, {});
    p.seed = 303;
    Scene s(canvas, p);
    s.Sky();
    s.Hills(470, 22);
    s.BackTown(-10, 810, 524, 40, 84);

    const double base = kGround - 12;  // the church stands on a flight of steps
    for (int i = 0; i < 4; ++i) {
        double y = base + i * 3.0;
        canvas.FillShaded(Path(Rect(300 - i * 8, y, 500 + i * 8, y + 3.5)),
                          [&](double px, double py) { return s.Stone(px, py, kGround, 60, i % 2 ? 1.0 : 1.2); });
    }
    // Facade between the towers: two orders, a curved pediment.
    s.Wall(Rect(340, 420, 460, base), base, 120);
    s.Cornice(336, 464, 470, 4, base, 120);
    s.Cornice(336, 464, 418, 4, base, 120);
    Contour top{{350, 418}};
    AppendArc(top, 400, 418, 50, 34, 180, 0, 30);
    s.Wall(top, base, 120);
    Contour moulding;
    AppendArc(moulding, 400, 418, 54, 38, 180, 0, 30);
    AppendArc(moulding, 400, 418, 49, 33, 0, 180, 30);
    s.Roof(moulding, 1.0);
    s.Window(390, 396, 410, 414, true, true);
    canvas.FillShaded(Path(ArchedRect(378, 490, 422, base)),
                      [&](double px, double py) { return s.Stone(px, py, base, 120, 1.3); });
    canvas.Fill(Path(ArchedRect(384, 496, 416, base)), Rgb(40, 22, 18));
    canvas.Glow(400, base - 20, 44, Rgb(255, 170, 90), 0.12, 2.0);
    s.FramedWindow(392, 434, 408, 462, true, true, base, 120);
    for (double x : {352.0, 436.0}) {
        s.FramedWindow(x + 1, 434, x + 11, 458, false, true, base, 120);
        s.FramedWindow(x + 1, 496, x + 11, 524, x < 400, true, base, 120);
    }
    s.Cross(400, 360, 22);

    // The two towers, with belfries and small cupolas.
    for (double x0 : {284.0, 462.0}) {
        double x1 = x0 + 54;
        s.Wall(Rect(x0, 312, x1, base), base, 170, x0 < 400 ? 1.0 : 0.9);
        for (double y : {470.0, 418.0, 366.0}) s.Cornice(x0 - 2, x1 + 2, y, 3, base, 170);
        s.FramedWindow(x0 + 22, 484, x0 + 32, 508, x0 < 400, true, base, 170);
        s.FramedWindow(x0 + 22, 430, x0 + 32, 454, false, true, base, 170);
        canvas.Fill(Path(ArchedRect(x0 + 14, 322, x0 + 40, 360)), Rgb(6, 18, 24));
        canvas.Fill(Path(Ellipse(x0 + 27, 344, 7, 8)), Rgb(110, 90, 44));
        s.Cornice(x0 - 4, x1 + 4, 306, 6, base, 170);
        Contour cupola{{x0 + 2, 306}};
        AppendArc(cupola, x0 + 27, 306, 25, 34, 180, 0, 30);
        canvas.FillShaded(Path(cupola), [&](double px, double py) {
            double u = (px - x0 - 27) / 25.0, v = (306 - py) / 34.0;
            double light = 0.5 + 0.5 * dm::Clamp01(0.6 - u * 0.8 + (1 - v) * 0.3);
            return Mix(Rgb(40, 70, 74), Rgb(90, 120, 110), 1 - v) * light;
        });
        canvas.Fill(Path(Rect(x0 + 25, 262, x0 + 29, 274)), p.metal);
        canvas.Fill(Path(Ellipse(x0 + 27, 262, 4, 4)), Rgb(120, 100, 60));
        s.Cross(x0 + 27, 236, 22);
    }

    s.FrontTown(-20, 262, 66, 130);
    s.FrontTown(548, 820, 66, 134);
    s.Street();
    s.Lamp(270, kGround + 2, 48);
    s.Lamp(532, kGround + 2, 48);
}

// 4: warm dusk; an arcaded palace with a clock turret.
void PaintPalazzoGenio(Canvas& canvas) {
    Palette p;
    p.sky = {Rgb(14, 8, 34), Rgb(62, 30, 76), Rgb(168, 78, 66), 0.5};
    p.horizonY = 500;
    p.cloud = Rgb(200, 110, 110);
    p.cloudStrength = 0.12;
    p.moon.x = 132;
    p.moon.y = 150;
    p.moon.radius = 22;
    p.moon.light = Rgb(255, 236, 200);
    p.moon.halo = Rgb(240, 150, 130);
    p.moon.haloStrength = 0.16;
    p.moon.phase = 132;
    p.moon.darkSide = Rgb(60, 30, 60);
    p.moon.seed = 14;
    p.starTint = Rgb(255, 236, 220);
    p.hillTop = Rgb(70, 34, 56);
    p.hillBottom = Rgb(30, 14, 30);
    p.hillRim = Rgb(200, 110, 100);
    p.stone = Rgb(112, 72, 70);
    p.flood = Rgb(220, 160, 110);
    p.roof = Rgb(88, 40, 36);
    p.metal = Rgb(34, 20, 24);
    p.street = Rgb(26, 14, 22);
    p.backTown = Town(Rgb(80, 42, 62), Rgb(84, 40, 50), 0.16, 0.4, Rgb(150, 74, 72));
    p.frontTown = Town(Rgb(40, 20, 34), Rgb(54, 26, 32), 0.32, 0, {});
    p.seed = 404;
    Scene s(canvas, p);
    s.Sky();
    PaintHorizonGlow(canvas, 520, 500, 520, 150, Rgb(255, 140, 80), 0.18);
    s.Hills(476, 16);
    s.BackTown(-10, 810, 520, 40, 80);

    const double base = kGround, x0 = 176, x1 = 624;
    const int bays = 7;
    const double bay = (x1 - x0) / bays;
    s.Roof({{x0 - 10, 396}, {x0 + 14, 380}, {x1 - 14, 380}, {x1 + 10, 396}});
    s.Wall(Rect(x0, 396, x1, base), base, 130);
    s.Cornice(x0 - 8, x1 + 8, 392, 6, base, 130);
    s.Cornice(x0 - 4, x1 + 4, 486, 5, base, 130);
    s.Cornice(x0 - 2, x1 + 2, 440, 3, base, 130);
    for (int i = 0; i < bays; ++i) {
        double cx = x0 + bay * (i + 0.5);
        // Ground floor: the arcade, lit from inside.
        canvas.Fill(Path(ArchedRect(cx - bay * 0.36, 500, cx + bay * 0.36, base)), Rgb(60, 30, 24));
        canvas.FillShaded(Path(ArchedRect(cx - bay * 0.36, 500, cx + bay * 0.36, base)), [&](double, double py) {
            return Mix(Rgb(70, 36, 26), Rgb(190, 110, 60), dm::Clamp01((py - 500) / (base - 500)));
        });
        canvas.Fill(Path(Ellipse(cx, 530, 2.5, 3.2)), Rgb(255, 220, 150));  // a lantern under the arch
        canvas.Glow(cx, 530, 26, Rgb(255, 170, 90), 0.2, 2.0);
        // Piano nobile: tall windows with pediments.
        bool lit = (i * 5 + 3) % 7 < 4;
        s.FramedWindow(cx - 7, 452, cx + 7, 482, lit, false, base, 130);
        s.Roof({{cx - 11, 450}, {cx, 443}, {cx + 11, 450}}, 1.4);
        // Top floor: small square windows.
        s.FramedWindow(cx - 5, 404, cx + 5, 416, (i * 3 + 1) % 5 < 2, false, base, 130);
        s.FramedWindow(cx - 5, 420, cx + 5, 432, false, false, base, 130);
    }
    // Pillars between the arches.
    for (int i = 0; i <= bays; ++i) {
        double px = x0 + bay * i;
        canvas.FillShaded(Path(Rect(px - 3, 496, px + 3, base)),
                          [&](double qx, double qy) { return s.Stone(qx, qy, base, 130, 1.25); });
    }
    // A balcony over the middle arch.
    double mid = x0 + bay * 3.5;
    canvas.Fill(Path(Rect(mid - 20, 482, mid + 20, 486)), p.metal);
    for (int k = 0; k <= 8; ++k) canvas.Fill(Path(Rect(mid - 19 + k * 4.6, 474, mid - 18 + k * 4.6, 482)), p.metal);
    canvas.Fill(Path(Rect(mid - 20, 473, mid + 20, 475)), p.metal);
    // The clock turret on the roof.
    s.Wall(Rect(mid - 24, 326, mid + 24, 392), base, 200);
    s.Cornice(mid - 28, mid + 28, 322, 5, base, 200);
    s.Clock(mid, 354, 14);
    s.Roof({{mid - 30, 322}, {mid, 300}, {mid + 30, 322}});
    canvas.Fill(Path(ArchedRect(mid - 6, 282, mid + 6, 300)), Rgb(30, 20, 26));
    canvas.Fill(Path(Ellipse(mid, 294, 3.5, 4)), Rgb(140, 110, 50));
    s.Roof({{mid - 9, 283}, {mid, 272}, {mid + 9, 283}});
    canvas.Fill(Path(Rect(mid - 1, 256, mid + 1, 272)), p.metal);
    canvas.Fill(Path({{mid + 1, 258}, {mid + 12, 261}, {mid + 1, 264}}), Rgb(150, 40, 40));  // a pennant

    s.FrontTown(-20, 160, 70, 130);
    s.FrontTown(640, 820, 70, 130);
    s.Street();
    for (double x : {150.0, 300.0, 500.0, 650.0}) s.Lamp(x, kGround + 2, 46);
}

// 5: green-blue moonlight; a sanctuary on its hill above the town.
void PaintSantuario(Canvas& canvas) {
    Palette p;
    p.sky = {Rgb(2, 10, 16), Rgb(12, 40, 50), Rgb(40, 86, 88), 0.6};
    p.cloud = Rgb(100, 160, 150);
    p.cloudStrength = 0.1;
    p.moon.x = 560;
    p.moon.y = 130;
    p.moon.radius = 38;
    p.moon.light = Rgb(236, 255, 238);
    p.moon.halo = Rgb(130, 230, 200);
    p.moon.haloStrength = 0.26;
    p.moon.phase = 20;
    p.moon.darkSide = Rgb(20, 50, 50);
    p.moon.seed = 15;
    p.starTint = Rgb(225, 255, 240);
    p.hillTop = Rgb(20, 56, 54);
    p.hillBottom = Rgb(8, 26, 28);
    p.hillRim = Rgb(90, 170, 150);
    p.stone = Rgb(74, 100, 96);
    p.flood = Rgb(206, 186, 140);
    p.roof = Rgb(70, 52, 44);
    p.metal = Rgb(16, 30, 30);
    p.street = Rgb(10, 22, 22);
    p.backTown = Town(Rgb(24, 60, 58), Rgb(34, 50, 46), 0.16, 0.3, Rgb(40, 86, 88));
    p.frontTown = Town(Rgb(12, 32, 34), Rgb(28, 30, 28), 0.3, 0, {});
    p.seed = 505;
    Scene s(canvas, p);
    s.Sky();
    s.Hills(486, 14);

    // The hill, moonlit on its left flank.
    Contour hill;
    for (int x = 90; x <= 720; x += 4) {
        double t = (x - 90) / 630.0;
        double bump = dm::Pow(dm::Sin(t * dm::kPi), 1.6);
        double y = 540 - 150 * bump - 10 * (Fbm1(x * 0.02, 77, 3) - 0.5);
        hill.push_back({static_cast<double>(x), y});
    }
    hill.push_back({720, 560});
    hill.push_back({90, 560});
    canvas.FillShaded(Path(hill), [&](double px, double py) {
        double grass = Fbm2(px / 14, py / 8, 88, 4);
        double lit = dm::Clamp01(0.6 - (px - 400) / 500.0);
        return Mix(Rgb(10, 34, 32), Rgb(30, 72, 62), lit * 0.7) * (0.75 + 0.5 * grass) *
               (1.0 - 0.3 * dm::Clamp01((py - 420) / 140));
    });
    // The path climbing it, with small lamps.
    Point path[] = {{250, 548}, {330, 520}, {290, 494}, {380, 468}, {350, 446}, {400, 420}};
    for (int i = 0; i + 1 < 6; ++i) canvas.Fill(Path(Capsule(path[i], path[i + 1], 2.2)), Rgb(70, 84, 70));
    for (int i = 0; i < 6; ++i) {
        canvas.Glow(path[i].x, path[i].y - 4, 14, Rgb(255, 190, 110), 0.28, 2.0);
        canvas.Fill(Path(Ellipse(path[i].x, path[i].y - 4, 1.4, 1.4)), Rgb(255, 230, 170));
    }
    // Cypresses along the ridge.
    for (double x : {190.0, 222.0, 478.0, 512.0, 548.0, 600.0}) {
        double t = (x - 90) / 630.0;
        double y = 540 - 150 * dm::Pow(dm::Sin(t * dm::kPi), 1.6) + 4;
        double h = 40 + dm::Fract(x * 0.37) * 18;
        Contour tree;
        AppendArc(tree, x, y - h * 0.45, 6.5, h * 0.55, 0, 360, 40);
        canvas.FillShaded(Path(tree), [&](double px, double py) {
            return Mix(Rgb(8, 24, 20), Rgb(24, 56, 44), dm::Clamp01((x - px) / 8 + 0.3)) *
                   (0.8 + 0.4 * Fbm2(px / 3, py / 3, 61, 2));
        });
    }

    // The sanctuary on the top: church, small dome, bell tower, portico.
    const double base = 412;
    s.Wall(Rect(342, 334, 446, base), base, 70);
    s.Wall({{338, 336}, {394, 298}, {450, 336}}, base, 70);
    s.Roof({{332, 338}, {394, 292}, {456, 338}, {450, 338}, {394, 300}, {338, 338}});
    s.Cornice(338, 450, 334, 3, base, 70);
    s.RoseWindow(394, 318, 7, base, 70);
    canvas.Fill(Path(Rect(350, 372, 438, 376)), p.stone * 0.5);
    for (int i = 0; i < 4; ++i) {  // the portico
        double x = 356 + i * 22;
        canvas.FillShaded(Path(ArchedRect(x, 380, x + 16, base)), [&](double, double py) {
            return Mix(Rgb(60, 40, 30), Rgb(200, 140, 80), dm::Clamp01((py - 380) / 32));
        });
    }
    canvas.Glow(394, 400, 60, Rgb(255, 180, 100), 0.14, 2.0);
    for (double x : {356.0, 426.0}) s.FramedWindow(x, 344, x + 7, 362, true, true, base, 70);
    // A small domed chapel on the left.
    s.Wall(Rect(308, 364, 338, base), base, 70, 0.85);
    s.Cornice(306, 340, 361, 3, base, 70);
    Contour dome{{309, 361}};
    AppendArc(dome, 323, 361, 14, 17, 180, 0, 24);
    canvas.FillShaded(Path(dome), [&](double px, double) {
        return Mix(Rgb(50, 80, 80), Rgb(110, 140, 130), dm::Clamp01((332 - px) / 22));
    });
    s.FramedWindow(320, 374, 326, 392, true, true, base, 70);
    s.Cross(323, 326, 16);
    s.Wall(Rect(452, 262, 480, base), base, 120);
    s.Wall(Rect(480, 262, 485, base), base, 120, 0.6);
    s.Cornice(450, 487, 300, 3, base, 120);
    canvas.Fill(Path(ArchedRect(459, 270, 473, 296)), Rgb(6, 20, 22));
    canvas.Fill(Path(Ellipse(466, 286, 4.5, 5)), Rgb(120, 100, 50));
    s.Cornice(449, 488, 258, 4, base, 120);
    s.Roof({{449, 258}, {468, 224}, {488, 258}});
    s.Cross(468, 200, 24);
    s.FramedWindow(463, 324, 469, 340, false, true, base, 120);

    s.FrontTown(-20, 820, 56, 104);
    s.Street();
    for (double x : {120.0, 420.0, 700.0}) s.Lamp(x, kGround + 2, 46);
}

}  // namespace

Picture MakeBackground(int number) {
    static const char* const names[] = {"sanmartino2.bmp", "cattedrale.bmp", "chiesacerreto.bmp", "palazzogenio.bmp",
                                        "santuario.bmp"};
    Canvas canvas(kWidth, kHeight);
    switch (number) {
        case 2:
            PaintCattedrale(canvas);
            break;
        case 3:
            PaintChiesaCerreto(canvas);
            break;
        case 4:
            PaintPalazzoGenio(canvas);
            break;
        case 5:
            PaintSantuario(canvas);
            break;
        default:
            PaintSanMartino(canvas);
            break;
    }
    return {names[(number - 1) % 5], kWidth, kHeight, canvas.ToBgr(true, 10 + number)};
}

}  // namespace Assets
