// The title picture, the three interlude pictures and the plain picture.
#include "tools/font.h"
#include "tools/gem.h"
#include "tools/noise.h"
#include "tools/pictures.h"
#include "tools/sky.h"
#include "tools/town.h"

namespace Assets {

namespace {

constexpr int kWidth = 800, kHeight = 600;

Picture Finish(const char* name, const Canvas& canvas, uint64_t seed) {
    return {name, canvas.Width(), canvas.Height(), canvas.ToBgr(true, seed)};
}

// The dark town on the horizon of the title and interlude pictures.
void PaintSkyline(Canvas& canvas, Random& random, const Color& hillTop, const Color& hillBottom, const Color& wall,
                  const Color& rim, double baseY) {
    PaintRidge(canvas, baseY - 38, 22, 0.004, random.Next(), hillTop, hillBottom, rim);
    TownColors town;
    town.wall = wall;
    town.roof = wall * 0.8;
    town.litChance = 0.22;
    PaintHouses(canvas, random, -10, kWidth + 10, baseY + 6, 26, 60, town, 0.8);
    canvas.Fill(Path(Rect(0, baseY + 5, kWidth, kHeight)), wall * 0.7);
}

}  // namespace

Picture MakeLogo() {
    Canvas canvas(kWidth, kHeight);
    Random random(0x4C4F474FULL);
    PaintSkyGradient(canvas, {Rgb(3, 4, 16), Rgb(14, 14, 46), Rgb(58, 30, 74), 0.55}, 540);
    PaintClouds(canvas, Rgb(70, 60, 120), 0.10, 60, 470, 60, random.Next());
    StarField stars;
    stars.count = 520;
    stars.y1 = 520;
    stars.avoidX = 96;
    stars.avoidY = 104;
    stars.avoidRadius = 30;
    PaintStars(canvas, stars, random);
    Moon moon;
    moon.x = 96;
    moon.y = 104;
    moon.radius = 24;
    moon.phase = 118;
    moon.halo = Rgb(120, 110, 200);
    moon.haloStrength = 0.16;
    moon.darkSide = Rgb(16, 16, 40);
    moon.seed = 77;
    PaintMoon(canvas, moon);

    // Meteors fall from the upper right; none crosses the band under the
    // copyright line (x 230-720, y 150-185).
    Meteor big;
    big.head = {590, 94};
    big.tailEnd = {940, -176};
    big.width = 17;
    big.headRadius = 8.5;
    PaintMeteor(canvas, big, random);
    Meteor left;
    left.head = {118, 246};
    left.tailEnd = {262, 96};
    left.width = 7;
    left.headRadius = 4.5;
    PaintMeteor(canvas, left, random);
    Meteor low;
    low.head = {664, 446};
    low.tailEnd = {820, 330};
    low.width = 8;
    low.headRadius = 5;
    low.strength = 0.9;
    PaintMeteor(canvas, low, random);
    Meteor faint;
    faint.head = {352, 70};
    faint.tailEnd = {440, 12};
    faint.width = 3.5;
    faint.headRadius = 2.5;
    faint.strength = 0.7;
    PaintMeteor(canvas, faint, random);
    Meteor tiny;
    tiny.head = {196, 420};
    tiny.tailEnd = {262, 372};
    tiny.width = 3;
    tiny.headRadius = 2;
    tiny.strength = 0.6;
    PaintMeteor(canvas, tiny, random);

    PaintHorizonGlow(canvas, 400, 560, 460, 70, Rgb(255, 150, 90), 0.12);  // the lights of the town
    PaintSkyline(canvas, random, Rgb(30, 20, 48), Rgb(12, 8, 24), Rgb(10, 8, 20), Rgb(80, 60, 120), 548);

    TextStyle title;
    title.capHeight = 94;
    title.weight = 13;
    title.tracking = 6;
    title.slant = 0.16;
    title.fillTop = Rgb(255, 250, 205);
    title.fillMiddle = Rgb(255, 178, 48);
    title.fillBottom = Rgb(196, 46, 18);
    title.bevel = 0.55;
    title.bevelWidth = 5;
    title.outline = Rgb(26, 8, 4);
    title.outlineWidth = 3.5;
    title.side = Rgb(92, 24, 12);
    title.sideX = 5;
    title.sideY = 8;
    title.glow = Rgb(255, 120, 40);
    title.glowRadius = 20;
    title.glowStrength = 0.32;
    DrawText(canvas, "METEORNI", 400, 330, title);
    return Finish("logo.bmp", canvas, 1);
}

// Bold lettering with the common look of the interludes; the caller picks the colours.
TextStyle Lettering(double capHeight, Color top, Color middle, Color bottom, Color side, Color glow) {
    TextStyle t;
    t.capHeight = capHeight;
    t.weight = 13;
    t.tracking = 7;
    t.slant = 0.12;
    t.fillTop = top;
    t.fillMiddle = middle;
    t.fillBottom = bottom;
    t.bevel = 0.5;
    t.bevelWidth = 5;
    t.outline = Rgb(14, 8, 10);
    t.outlineWidth = 3.5;
    t.side = side;
    t.sideX = 4;
    t.sideY = 7;
    t.glow = glow;
    t.glowRadius = 22;
    t.glowStrength = 0.3;
    return t;
}

Picture MakeLevelDone() {
    Canvas canvas(kWidth, kHeight);
    Random random(0x4C4956ULL);
    PaintSkyGradient(canvas, {Rgb(4, 6, 24), Rgb(16, 24, 70), Rgb(46, 56, 120), 0.55}, 540);
    PaintHorizonGlow(canvas, 400, 300, 420, 210, Rgb(255, 190, 90), 0.16);
    StarField stars;
    stars.count = 420;
    stars.y1 = 540;
    PaintStars(canvas, stars, random);
    // Gems scattered round the lettering, like the ten just collected.
    const double gems[10][3] = {{80, 70, 1.6},   {210, 120, 1.1}, {640, 60, 1.8},  {720, 170, 1.2}, {40, 300, 1.3},
                                {700, 300, 1.5}, {120, 440, 1.2}, {560, 440, 1.0}, {340, 60, 1.0},  {440, 470, 1.4}};
    for (const auto& g : gems) {
        canvas.Glow(g[0] + 16 * g[2], g[1] + 16 * g[2], 30 * g[2], Rgb(120, 200, 255), 0.12, 2.0);
        PaintGem(canvas, g[0], g[1], g[2]);
    }
    for (int i = 0; i < 26; ++i)
        PaintStar(canvas, random.Range(30, 770), random.Range(40, 500), random.Range(0.8, 1.4), Rgb(255, 240, 200),
                  random.Range(0.5, 1.0), random.Range(3, 8));
    PaintSkyline(canvas, random, Rgb(24, 30, 66), Rgb(10, 12, 30), Rgb(8, 10, 24), Rgb(70, 90, 150), 552);
    TextStyle t =
        Lettering(84, Rgb(255, 252, 214), Rgb(255, 206, 70), Rgb(214, 120, 20), Rgb(110, 58, 10), Rgb(255, 200, 90));
    DrawText(canvas, "Livello", 400, 262, t);
    DrawText(canvas, "completato", 400, 392, t);
    return Finish("livello.bmp", canvas, 2);
}

Picture MakeLifeLost() {
    Canvas canvas(kWidth, kHeight);
    Random random(0x524550ULL);
    PaintSkyGradient(canvas, {Rgb(10, 4, 18), Rgb(40, 12, 38), Rgb(100, 30, 40), 0.55}, 540);
    PaintClouds(canvas, Rgb(150, 60, 80), 0.12, 40, 480, 60, random.Next());
    StarField stars;
    stars.count = 380;
    stars.y1 = 520;
    stars.tint = Rgb(255, 230, 230);
    PaintStars(canvas, stars, random);
    // The rock that did it, still burning across the sky.
    Meteor m;
    m.head = {250, 500};
    m.tailEnd = {860, 10};
    m.width = 26;
    m.headRadius = 12;
    m.hot = Rgb(255, 120, 50);
    m.cool = Rgb(160, 20, 40);
    m.strength = 0.85;
    PaintMeteor(canvas, m, random);
    for (int i = 0; i < 3; ++i) {
        Meteor small;
        small.head = {random.Range(80, 700), random.Range(60, 200)};
        small.tailEnd = {small.head.x + 90, small.head.y - 70};
        small.width = 3.5;
        small.headRadius = 2.5;
        small.strength = 0.6;
        PaintMeteor(canvas, small, random);
    }
    PaintHorizonGlow(canvas, 250, 560, 260, 90, Rgb(255, 100, 40), 0.25);
    PaintSkyline(canvas, random, Rgb(44, 16, 30), Rgb(18, 6, 14), Rgb(14, 6, 12), Rgb(150, 60, 70), 552);
    TextStyle t =
        Lettering(92, Rgb(255, 240, 200), Rgb(255, 150, 50), Rgb(200, 40, 20), Rgb(90, 16, 10), Rgb(255, 110, 50));
    DrawText(canvas, "Hai perso", 400, 262, t);
    DrawText(canvas, "una vita", 400, 396, t);
    return Finish("replay.bmp", canvas, 3);
}

Picture MakeGameOver() {
    Canvas canvas(kWidth, kHeight);
    Random random(0x474F56ULL);
    PaintSkyGradient(canvas, {Rgb(2, 2, 8), Rgb(16, 6, 16), Rgb(70, 10, 16), 0.6}, 540);
    StarField stars;
    stars.count = 300;
    stars.y1 = 500;
    stars.brightness = 0.7;
    PaintStars(canvas, stars, random);
    // A whole shower of rocks falling on the town.
    for (int i = 0; i < 9; ++i) {
        Meteor m;
        double x = random.Range(0, 820), y = random.Range(80, 520);
        double len = random.Range(80, 200);
        m.head = {x, y};
        m.tailEnd = {x + len * 0.78, y - len * 0.62};
        m.width = random.Range(3, 8);
        m.headRadius = m.width * 0.6;
        m.hot = Rgb(255, 110, 50);
        m.cool = Rgb(140, 20, 30);
        m.strength = random.Range(0.5, 0.9);
        PaintMeteor(canvas, m, random);
    }
    PaintHorizonGlow(canvas, 400, 580, 520, 120, Rgb(255, 60, 30), 0.3);
    PaintSkyline(canvas, random, Rgb(36, 8, 12), Rgb(14, 4, 6), Rgb(10, 4, 6), Rgb(160, 40, 30), 552);
    TextStyle t =
        Lettering(124, Rgb(255, 210, 200), Rgb(230, 40, 40), Rgb(120, 8, 16), Rgb(50, 4, 8), Rgb(255, 40, 30));
    t.glowStrength = 0.42;
    t.weight = 15;
    DrawText(canvas, "Game", 400, 272, t);
    DrawText(canvas, "over", 400, 440, t);
    return Finish("gameover.bmp", canvas, 4);
}

Picture MakeBlank() {
    Canvas canvas(kWidth, kHeight, Rgb(8, 10, 26));
    return {"blank.bmp", kWidth, kHeight, canvas.ToBgr(false, 0)};
}

}  // namespace Assets
