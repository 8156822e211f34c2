// The asset generator's toolkit, piece by piece: its exact maths, the
// rasterizer, the sprite conversion, the file formats, the font and the
// determinism every committed file relies on.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include "tools/canvas.h"
#include "tools/det_math.h"
#include "tools/file_writers.h"
#include "tools/font.h"
#include "tools/noise.h"
#include "tools/pictures.h"
#include "tools/random.h"
#include "tools/sounds.h"

namespace {

using namespace Assets;

uint32_t U32(const std::vector<uint8_t>& d, size_t at) {
    return d[at] | (d[at + 1] << 8) | (d[at + 2] << 16) | (static_cast<uint32_t>(d[at + 3]) << 24);
}
uint16_t U16(const std::vector<uint8_t>& d, size_t at) {
    return static_cast<uint16_t>(d[at] | (d[at + 1] << 8));
}

// ---- Maths ------------------------------------------------------------------

TEST(DeterministicMath, AgreesWithTheLibraryOverWideRanges) {
    for (double x = -40.0; x <= 40.0; x += 0.0371) {
        EXPECT_NEAR(dm::Sin(x), std::sin(x), 1e-9) << x;
        EXPECT_NEAR(dm::Cos(x), std::cos(x), 1e-9) << x;
        EXPECT_NEAR(dm::Atan(x), std::atan(x), 1e-9) << x;
        EXPECT_NEAR(dm::Exp(x / 4) / std::exp(x / 4), 1.0, 1e-12) << x;
    }
    for (double x = 1e-6; x < 1e6; x *= 1.37) {
        EXPECT_NEAR(dm::Log(x), std::log(x), 1e-10) << x;
        EXPECT_NEAR(dm::Pow(x, 0.7) / std::pow(x, 0.7), 1.0, 1e-10) << x;
    }
}

TEST(DeterministicMath, Atan2CoversEveryQuadrantAndTheAxes) {
    const double values[] = {-3.0, -1.0, -0.2, 0.0, 0.2, 1.0, 3.0};
    for (double y : values)
        for (double x : values) EXPECT_NEAR(dm::Atan2(y, x), std::atan2(y, x), 1e-9) << y << "," << x;
}

TEST(DeterministicMath, EdgeValuesStayFinite) {
    EXPECT_EQ(dm::Exp(-1000), 0.0);
    EXPECT_TRUE(std::isfinite(dm::Exp(1000)));
    EXPECT_TRUE(std::isfinite(dm::Log(0)));
    EXPECT_EQ(dm::Pow(0, 2), 0.0);
    EXPECT_EQ(dm::Sqrt(-1), 0.0);
}

TEST(RandomNumbers, SameSeedSameSequenceAndIntegersHitBothEnds) {
    Random a(42), b(42), c(43);
    bool differs = false;
    for (int i = 0; i < 100; ++i) {
        uint64_t x = a.Next();
        EXPECT_EQ(x, b.Next());
        differs = differs || x != c.Next();
    }
    EXPECT_TRUE(differs);
    Random r(7);
    bool low = false, high = false;
    for (int i = 0; i < 2000; ++i) {
        int v = r.Int(3, 9);
        ASSERT_GE(v, 3);
        ASSERT_LE(v, 9);
        low = low || v == 3;
        high = high || v == 9;
        double u = r.Unit();
        ASSERT_GE(u, 0.0);
        ASSERT_LT(u, 1.0);
    }
    EXPECT_TRUE(low && high);
}

TEST(Noise, StaysInRangeAndClosesOnItselfAroundACircle) {
    for (double x = -5; x < 5; x += 0.173)
        for (double y = -5; y < 5; y += 0.291) {
            double n = Fbm2(x, y, 9, 5);
            ASSERT_GE(n, 0.0);
            ASSERT_LE(n, 1.0);
        }
    for (double a = 0; a < 6.3; a += 0.4)
        EXPECT_NEAR(LoopNoise(a, 1.5, 3, 3), LoopNoise(a + dm::kTwoPi, 1.5, 3, 3), 1e-9);
}

// ---- Rasterizer and canvas -------------------------------------------------

double CoveredArea(const Path& path, int w, int h, std::vector<double>* grid = nullptr) {
    double area = 0;
    if (grid) grid->assign(static_cast<size_t>(w) * h, 0.0);
    Rasterize(path, w, h, [&](int x, int y, double c) {
        area += c;
        if (grid) (*grid)[static_cast<size_t>(y) * w + x] += c;
    });
    return area;
}

TEST(Rasterizer, RectangleWithFractionalSidesCoversExactlyItsArea) {
    std::vector<double> grid;
    double area = CoveredArea(Path(Rect(0.25, 1.0, 3.5, 4.0)), 8, 8, &grid);
    EXPECT_NEAR(area, 3.25 * 3.0, 1e-9);
    EXPECT_NEAR(grid[1 * 8 + 0], 0.75, 1e-9);  // left edge at a quarter
    EXPECT_NEAR(grid[1 * 8 + 3], 0.5, 1e-9);   // right edge at a half
    EXPECT_EQ(grid[0 * 8 + 1], 0.0);           // nothing above the top
    EXPECT_EQ(grid[4 * 8 + 1], 0.0);           // nor below the bottom
}

TEST(Rasterizer, ReversedContourCutsAHole) {
    Path ring(Rect(0, 0, 10, 10));
    ring.Add(Reversed(Rect(3, 3, 7, 7)));
    std::vector<double> grid;
    EXPECT_NEAR(CoveredArea(ring, 10, 10, &grid), 100 - 16, 1e-9);
    EXPECT_EQ(grid[5 * 10 + 5], 0.0);
    EXPECT_NEAR(grid[1 * 10 + 1], 1.0, 1e-9);
}

TEST(Rasterizer, ShapesReachingPastTheCanvasAreClipped) {
    std::vector<double> grid;
    EXPECT_NEAR(CoveredArea(Path(Rect(-20, -20, 3, 2)), 5, 5, &grid), 6.0, 1e-9);
    EXPECT_EQ(CoveredArea(Path(Rect(50, 50, 60, 60)), 5, 5), 0.0);
    EXPECT_EQ(CoveredArea(Path(Contour{{1, 1}, {4, 1}}), 5, 5), 0.0);  // flat: nothing to fill
}

TEST(Rasterizer, CircleCoversPiRSquared) {
    EXPECT_NEAR(CoveredArea(Path(Ellipse(50, 50, 30, 30, 180)), 100, 100) / (dm::kPi * 900), 1.0, 0.005);
}

TEST(CanvasSprites, TransparentOnlyWhereNothingWasDrawn) {
    Canvas c(4, 1, {}, 0.0);
    c.Blend(1, 0, {0, 0, 0}, 1.0);       // a black outline pixel
    c.Blend(2, 0, {1, 0.5, 0.25}, 0.2);  // a faint edge
    c.Blend(3, 0, {1, 0.5, 0.25}, 0.6);  // a soft edge
    std::vector<uint8_t> px = c.ToSpriteBgr(Rgb(6, 6, 10), 0.3);
    EXPECT_EQ(px[0] + px[1] + px[2], 0) << "untouched pixel stays transparent";
    EXPECT_GT(px[3] + px[4] + px[5], 0) << "drawn black must not become transparent";
    EXPECT_EQ(px[6] + px[7] + px[8], 0) << "too faint to show";
    EXPECT_EQ(px[11], static_cast<uint8_t>(std::floor((0.6 + 0.4 * 6 / 255.0) * 255 + 0.5)))
        << "soft edge blends toward the edge colour";
}

TEST(CanvasSprites, OpaqueConversionWithoutDitherKeepsExactColours) {
    Canvas c(2, 1, Rgb(10, 20, 30));
    c.AddLight(1, 0, Rgb(100, 0, 0), 1.0);
    std::vector<uint8_t> px = c.ToBgr(false, 0);
    EXPECT_EQ(px, (std::vector<uint8_t>{30, 20, 10, 30, 20, 110}));
}

// ---- File formats ----------------------------------------------------------

TEST(FileFormats, ChecksumFoldsEveryByteIntoItsPlace) {
    std::vector<uint8_t> bytes;
    for (int i = 1; i <= 17; ++i) bytes.push_back(static_cast<uint8_t>(i));
    EXPECT_EQ(XorFoldChecksum(bytes), "1002030405060708090A0B0C0D0E0F10");
    EXPECT_EQ(XorFoldChecksum({}), std::string(32, '0'));
}

TEST(FileFormats, BmpIsBottomUpWithPaddedRows) {
    // 3 x 2 pixels: 9 bytes a row, padded to 12.
    std::vector<uint8_t> top{1, 2, 3, 4, 5, 6, 7, 8, 9}, bottom{11, 12, 13, 14, 15, 16, 17, 18, 19};
    const std::vector<uint8_t> pixels{1, 2, 3, 4, 5, 6, 7, 8, 9, 11, 12, 13, 14, 15, 16, 17, 18, 19};
    std::vector<uint8_t> bmp = EncodeBmp(3, 2, pixels);
    ASSERT_EQ(bmp.size(), 54u + 24u);
    EXPECT_EQ(bmp[0], 'B');
    EXPECT_EQ(bmp[1], 'M');
    EXPECT_EQ(U32(bmp, 2), bmp.size());
    EXPECT_EQ(U32(bmp, 10), 54u);
    EXPECT_EQ(U32(bmp, 18), 3u);
    EXPECT_EQ(U32(bmp, 22), 2u);
    EXPECT_EQ(U16(bmp, 28), 24);
    EXPECT_EQ(U32(bmp, 34), 24u);
    EXPECT_TRUE(std::equal(bottom.begin(), bottom.end(), bmp.begin() + 54));
    EXPECT_EQ(bmp[63] + bmp[64] + bmp[65], 0) << "padding is zero";
    EXPECT_TRUE(std::equal(top.begin(), top.end(), bmp.begin() + 66));
}

TEST(FileFormats, WaveHeaderDescribesMono16BitPcm) {
    std::vector<uint8_t> wav = EncodeWav({0, 1000, -1000}, 22050);
    ASSERT_EQ(wav.size(), 44u + 6u);
    EXPECT_EQ(std::memcmp(wav.data(), "RIFF", 4), 0);
    EXPECT_EQ(U32(wav, 4), wav.size() - 8);
    EXPECT_EQ(U16(wav, 20), 1);  // PCM
    EXPECT_EQ(U16(wav, 22), 1);  // mono
    EXPECT_EQ(U32(wav, 24), 22050u);
    EXPECT_EQ(U32(wav, 28), 44100u);
    EXPECT_EQ(U16(wav, 34), 16);
    EXPECT_EQ(U32(wav, 40), 6u);
    EXPECT_EQ(static_cast<int16_t>(U16(wav, 48)), -1000);
}

TEST(FileFormats, IconDirectoryPointsAtEachImageAndMasksTransparentPixels) {
    IconImage a{16, std::vector<uint8_t>(16 * 16 * 4, 255)}, b{32, std::vector<uint8_t>(32 * 32 * 4, 255)};
    a.bgra[3] = 0;  // top-left pixel of the 16-pixel image transparent
    std::vector<uint8_t> ico = EncodeIco({a, b});
    EXPECT_EQ(U16(ico, 2), 1);
    ASSERT_EQ(U16(ico, 4), 2);
    size_t end = 6 + 2 * 16;
    for (int i = 0; i < 2; ++i) {
        size_t entry = 6 + 16 * i;
        int size = i == 0 ? 16 : 32;
        EXPECT_EQ(ico[entry], size);
        EXPECT_EQ(U16(ico, entry + 6), 32);
        uint32_t bytes = U32(ico, entry + 8), offset = U32(ico, entry + 12);
        EXPECT_EQ(offset, end) << "images follow one another";
        EXPECT_EQ(bytes, 40u + size * size * 4 + size * 4) << "colour rows and mask rows";
        EXPECT_EQ(U32(ico, offset + 8), static_cast<uint32_t>(size * 2));
        end = offset + bytes;
    }
    EXPECT_EQ(end, ico.size());
    // The mask rows are stored bottom-up: the top row of the 16-pixel image
    // is the last mask row, and its first bit marks the transparent pixel.
    size_t lastMaskRow = U32(ico, 6 + 12) + 40 + 16 * 16 * 4 + 15 * 4;
    EXPECT_EQ(ico[lastMaskRow], 0x80);
    EXPECT_EQ(ico[lastMaskRow - 4], 0x00);
}

// ---- Lettering -------------------------------------------------------------

TEST(Font, HasEveryLetterTheGameWrites) {
    for (const char* text : {"METEORNI", "Livello completato", "Hai perso una vita", "Game over"})
        for (const char* p = text; *p; ++p) EXPECT_NE(FindGlyph(*p), nullptr) << "'" << *p << "' in " << text;
    for (char c = 'A'; c <= 'Z'; ++c) EXPECT_NE(FindGlyph(c), nullptr) << c;
    for (char c = 'a'; c <= 'z'; ++c) EXPECT_NE(FindGlyph(c), nullptr) << c;
    EXPECT_EQ(FindGlyph('\x7F'), nullptr);
    EXPECT_EQ(FindGlyph('\xB0'), nullptr);
}

TEST(Font, DrawsInsideTheMeasuredBoxAndScalesWithTheCapitalHeight) {
    TextStyle style;
    style.outlineWidth = 0;
    style.bevel = 0;
    const double width = MeasureText("Mi", style);
    style.capHeight = 50;
    EXPECT_NEAR(MeasureText("Mi", style), width / 2, 1e-9);

    Canvas c(200, 100, {}, 0.0);
    DrawText(c, "Mi", 100, 80, style);
    int inside = 0, outside = 0;
    const double left = 100 - width / 4, right = 100 + width / 4;
    for (int y = 0; y < 100; ++y)
        for (int x = 0; x < 200; ++x) {
            if (c.AlphaAt(x, y) < 0.5) continue;
            bool within = x + 0.5 >= left - 1 && x + 0.5 <= right + 1 && y + 0.5 >= 80 - 50 - 7 && y + 0.5 <= 80 + 7;
            (within ? inside : outside)++;
        }
    EXPECT_GT(inside, 400) << "the letters are drawn";
    EXPECT_EQ(outside, 0) << "nothing outside the measured box";
}

// ---- Whole assets ----------------------------------------------------------

TEST(Generator, SameOutputOnEveryRun) {
    EXPECT_EQ(MakeDiamond().bgr, MakeDiamond().bgr);
    EXPECT_EQ(MakePickupSound(), MakePickupSound());
}

TEST(Generator, SoundsHaveTheirLengthsAndStartAtRest) {
    std::vector<int16_t> pickup = MakePickupSound(), crash = MakeCrashSound();
    EXPECT_NEAR(static_cast<double>(pickup.size()) / kSampleRate, 0.25, 0.01);
    EXPECT_NEAR(static_cast<double>(crash.size()) / kSampleRate, 0.6, 0.01);
    EXPECT_EQ(pickup.front(), 0);
    EXPECT_EQ(crash.front(), 0);
    EXPECT_EQ(pickup.back(), 0);
    EXPECT_EQ(crash.back(), 0);
}

TEST(Generator, PicturesHaveTheSizesTheGameExpects) {
    Picture diamond = MakeDiamond(), ship = MakePlayerStrip(), rocks = MakeRockStrip();
    EXPECT_EQ(diamond.width * diamond.height * 3, static_cast<int>(diamond.bgr.size()));
    EXPECT_EQ(ship.width, 50);
    EXPECT_EQ(ship.height, 400);
    EXPECT_EQ(rocks.width, 45);
    EXPECT_EQ(rocks.height, 630);
    EXPECT_EQ(static_cast<int>(rocks.bgr.size()), 45 * 630 * 3);
}

}  // namespace
