#include "framework/drawing.h"
#include "framework/form.h"
#include "framework/gdi_guards.h"
#include "framework/gui_element.h"
#include "support/file_support.h"
#include "support/gdi_support.h"
#include "framework/sprite.h"
#include "support/window_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>

using namespace Orditex;
using namespace TestSupport;

namespace {

SIZE SizeOf(HBITMAP bitmap) {
    BITMAP info{};
    if (!GetObjectW(bitmap, sizeof info, &info)) return SIZE{0, 0};
    return SIZE{info.bmWidth, info.bmHeight};
}

// The masked copy of a cell done with a mask of the whole strip: the cell
// ANDed with the mask, then ORed with the picture.
void DrawCellWithWholeStripMask(HDC target, HBITMAP strip, int32_t x, int32_t y, int32_t width, int32_t height,
                                int32_t srcY) {
    SIZE size = SizeOf(strip);
    MemoryDc image(target);
    MemoryDc mask(target);
    GdiObject<HBITMAP> maskBitmap(CreateBitmap(size.cx, size.cy, 1, 1, nullptr));
    Selection maskSelection(mask, maskBitmap);
    Selection imageSelection(image, strip);
    SetBkColor(image, kBlack);
    BitBlt(mask, 0, 0, size.cx, size.cy, image, 0, 0, SRCCOPY);
    SetTextColor(target, kBlack);
    SetBkColor(target, RGB(255, 255, 255));
    BitBlt(target, x, y, width, height, mask, 0, srcY, SRCAND);
    BitBlt(target, x, y, width, height, image, 0, srcY, SRCPAINT);
}

}  // namespace

// ---- transparent copies -------------------------------------------------

TEST(DrawingTransparent, PureBlackShowsTheBackgroundNearBlackIsDrawn) {
    TestSurface surface(20, 20);
    // Odd text and background colours on the target must not tint the mask.
    SetTextColor(surface.dc, RGB(9, 8, 7));
    SetBkColor(surface.dc, RGB(1, 2, 3));
    GdiObject<HBITMAP> picture(NewPicture(3, 1, {kBlack, RGB(1, 1, 1), kRed}));

    surface.DrawImagePartTransparent(picture, 5, 5, 3, 1, 0);
    EXPECT_EQ(surface.At(5, 5), kBackground);
    EXPECT_EQ(surface.At(6, 5), RGB(1, 1, 1));
    EXPECT_EQ(surface.At(7, 5), kRed);

    surface.DrawImageTransparent(picture, 5, 10, 0, 0);
    EXPECT_EQ(surface.At(5, 10), kBackground);
    EXPECT_EQ(surface.At(6, 10), RGB(1, 1, 1));
    EXPECT_EQ(surface.At(7, 10), kRed);

    EXPECT_EQ(GetTextColor(surface.dc), RGB(9, 8, 7));
    EXPECT_EQ(GetBkColor(surface.dc), RGB(1, 2, 3));
    EXPECT_EQ(surface.errors, 0);
}

TEST(DrawingTransparent, ACellDrawsOnlyWhatItsStripHolds) {
    // Three 2 x 2 frames stacked: red, blue, then green with a black corner.
    GdiObject<HBITMAP> strip(NewPicture(2, 6,
                                        {kRed, kRed, kRed, kRed, kBlue, kBlue, kBlue, kBlue,  //
                                         kBlack, kGreen, kGreen, kGreen}));
    // The third frame; a cell running past the bottom; one wider than the
    // strip; one starting above it.
    const int32_t cells[][3] = {{2, 2, 4}, {2, 4, 4}, {5, 2, 2}, {2, 4, -2}};
    for (const auto& [width, height, srcY] : cells) {
        TestSurface surface(10, 10);
        TestSurface expected(10, 10);
        surface.DrawImagePartTransparent(strip, 3, 4, width, height, srcY);
        DrawCellWithWholeStripMask(expected.dc, strip, 3, 4, width, height, srcY);
        for (int py = 0; py < 10; ++py)
            for (int px = 0; px < 10; ++px)
                ASSERT_EQ(surface.At(px, py), expected.At(px, py)) << px << "," << py << " from row " << srcY;
        // Nothing is painted where the cell holds no part of the strip.
        int32_t top = 4 + std::max(0, -srcY);
        int32_t bottom = 4 + std::min(height, 6 - srcY);
        EXPECT_EQ(surface.CountNot(kBackground, 0, 0, 10, 10),
                  surface.CountNot(kBackground, 3, top, 3 + std::min(width, 2), bottom));
    }
}

TEST(DrawingKeptPictures, DrawTheSamePixelsWithoutMakingAnythingPerCopyAndLeaveNothingBehind) {
    // The strip of the cell test: red, blue, then green with a black corner.
    const std::vector<COLORREF> pixels{kRed,  kRed,  kRed,   kRed,   kBlue,  kBlue,
                                       kBlue, kBlue, kBlack, kGreen, kGreen, kGreen};
    GdiObject<HBITMAP> reference(NewPicture(2, 6, pixels));
    HBITMAP strip = NewPicture(2, 6, pixels);
    size_t headroom = GdiHeadroom();
    Drawing::KeepPicture(strip);
    Drawing::KeepPicture(strip);  // kept once

    {
        // Every copy, as a picture nobody keeps draws it, or for the cells as
        // the whole-strip mask draws them.
        const int32_t cells[][3] = {{2, 2, 4}, {2, 4, 4}, {5, 2, 2}, {2, 4, -2}};
        auto drawAll = [&](TestSurface& surface, HBITMAP picture, bool kept) {
            surface.DrawImageAtOrigin(picture);
            surface.DrawImage(picture, 3, 0, 0, 0);
            surface.DrawImage(picture, 6, 0, 4, 9);
            surface.DrawImagePart(picture, 11, 0, 2, 2, 0, 2);
            surface.DrawImageTransparent(picture, 14, 0, 0, 0);
            surface.DrawImageTransparent(picture, 17, 0, 4, 9);
            for (size_t i = 0; i < 4; ++i) {
                const auto& [width, height, srcY] = cells[i];
                int32_t x = 2 + 6 * static_cast<int32_t>(i);
                if (kept)
                    surface.DrawImagePartTransparent(picture, x, 12, width, height, srcY);
                else
                    DrawCellWithWholeStripMask(surface.dc, picture, x, 12, width, height, srcY);
            }
        };
        TestSurface expected(30, 20);
        drawAll(expected, reference, false);
        TestSurface surface(30, 20);
        drawAll(surface, strip, true);
        for (int py = 0; py < 20; ++py)
            for (int px = 0; px < 30; ++px) ASSERT_EQ(surface.At(px, py), expected.At(px, py)) << px << "," << py;
        EXPECT_EQ(surface.errors, 0);

        // Copies into it go through its DC as well.
        TestSurface source(10, 10, kBlue);
        ASSERT_TRUE(source.CopyRegionInto(strip, 0, 0, 2, 2));
        TestSurface copied(4, 4);
        copied.DrawImagePart(strip, 0, 0, 2, 2, 0, 0);
        EXPECT_EQ(copied.CountNot(kBlue, 0, 0, 2, 2), 0);

        // Its DC, its mask and its copy in the surface's format were made by
        // the first copies; later ones make nothing.
        int64_t made = gdiObjectsMade;
        drawAll(surface, strip, true);
        EXPECT_EQ(gdiObjectsMade, made);
    }
    Drawing::DeletePicture(strip);
    EXPECT_EQ(GetObjectType(strip), 0u);
    EXPECT_EQ(GdiHeadroom(), headroom + 1);  // the picture went too
}

TEST(DrawingTransparent, StretchedCopyKeepsMaskAndImageAligned) {
    GdiObject<HBITMAP> picture(NewPicture(2, 2, {kRed, kBlack, kBlack, kBlue}));
    TestSurface surface(10, 10);
    surface.DrawImageTransparent(picture, 2, 2, 4, 4);
    for (int py = 2; py < 4; ++py)
        for (int px = 2; px < 4; ++px) {
            EXPECT_EQ(surface.At(px, py), kRed);
            EXPECT_EQ(surface.At(px + 2, py), kBackground);
            EXPECT_EQ(surface.At(px, py + 2), kBackground);
            EXPECT_EQ(surface.At(px + 2, py + 2), kBlue);
        }
    EXPECT_EQ(surface.CountNot(kBackground, 0, 0, 10, 10), 8);
}

// ---- rectangles ---------------------------------------------------------

TEST(DrawingShapes, FillRectangleWithoutPenHasNoBorder) {
    TestSurface surface(20, 20);
    surface.FillRectangle(4, 5, 8, 6, kBlue, 0, kRed);
    // With the null pen GDI fills one pixel less to the right and bottom.
    EXPECT_EQ(surface.CountNot(kBlue, 4, 5, 11, 10), 0);
    EXPECT_EQ(surface.CountNot(kBackground, 0, 0, 20, 20), 7 * 5);

    // A 1-pixel pen of the fill colour covers the whole area.
    surface.FillRectangle(4, 5, 8, 6, kRed, 1, kRed);
    EXPECT_EQ(surface.CountNot(kRed, 4, 5, 12, 11), 0);
    EXPECT_EQ(surface.CountNot(kBackground, 0, 0, 20, 20), 8 * 6);
}

TEST(DrawingShapes, FillRectangleWithPenWidthTwoDrawsATwoPixelBorder) {
    TestSurface surface(30, 30);
    surface.FillRectangle(10, 10, 10, 10, kBlue, 2, kRed);
    int32_t middle = 15;
    int32_t redInRow = 0;
    int32_t redInColumn = 0;
    for (int32_t i = 0; i < 30; ++i) {
        if (surface.At(i, middle) == kRed) ++redInRow;
        if (surface.At(middle, i) == kRed) ++redInColumn;
    }
    EXPECT_EQ(redInRow, 4);
    EXPECT_EQ(redInColumn, 4);
    EXPECT_EQ(surface.CountNot(kBlue, 12, 12, 18, 18), 0);
}

TEST(DrawingShapes, DrawRectangleDrawsTheOutlineOnlyAndRestoresTheDc) {
    TestSurface surface(20, 20);
    HGDIOBJ pen = GetCurrentObject(surface.dc, OBJ_PEN);
    HGDIOBJ brush = GetCurrentObject(surface.dc, OBJ_BRUSH);
    surface.DrawRectangle(2, 3, 10, 8, kRed);
    EXPECT_EQ(surface.At(2, 3), kRed);
    EXPECT_EQ(surface.At(11, 10), kRed);
    EXPECT_EQ(surface.CountNot(kBackground, 3, 4, 11, 10), 0);
    EXPECT_EQ(surface.CountNot(kBackground, 0, 0, 20, 20), 2 * 10 + 2 * 6);
    EXPECT_EQ(GetCurrentObject(surface.dc, OBJ_PEN), pen);
    EXPECT_EQ(GetCurrentObject(surface.dc, OBJ_BRUSH), brush);
}

// ---- plain copies -------------------------------------------------------

TEST(DrawingImages, DrawImageStretchesOnlyWhenBothSizesAreGiven) {
    GdiObject<HBITMAP> picture(NewSolidPicture(10, 10, kRed));
    TestSurface surface(60, 60);
    surface.DrawImage(picture, 5, 5, 0, 40);
    EXPECT_EQ(surface.CountNot(kRed, 5, 5, 15, 15), 0);
    EXPECT_EQ(surface.CountNot(kBackground, 0, 0, 60, 60), 100);

    TestSurface stretched(60, 60);
    stretched.DrawImage(picture, 5, 5, 40, 20);
    EXPECT_EQ(stretched.CountNot(kRed, 5, 5, 45, 25), 0);
    EXPECT_EQ(stretched.CountNot(kBackground, 0, 0, 60, 60), 40 * 20);
}

TEST(DrawingImages, PartAndOriginCopies) {
    GdiObject<HBITMAP> picture(NewPicture(2, 2, {kRed, kGreen, kBlue, kBlack}));
    TestSurface surface(10, 10);
    surface.DrawImageAtOrigin(picture);
    EXPECT_EQ(surface.At(0, 0), kRed);
    EXPECT_EQ(surface.At(1, 0), kGreen);
    EXPECT_EQ(surface.At(0, 1), kBlue);
    EXPECT_EQ(surface.At(1, 1), kBlack);  // a plain copy has no transparency
    EXPECT_EQ(surface.At(2, 0), kBackground);

    surface.DrawImagePart(picture, 6, 7, 1, 1, 1, 0);
    EXPECT_EQ(surface.At(6, 7), kGreen);
    EXPECT_EQ(surface.CountNot(kBackground, 4, 4, 10, 10), 1);
}

TEST(DrawingImages, CopyRegionGivesTheCallerABitmapOfTheArea) {
    TestSurface surface(20, 20);
    surface.FillRectangle(5, 5, 3, 2, kBlue, 1, kBlue);
    GdiObject<HBITMAP> copy(surface.CopyRegion(4, 4, 5, 4));
    ASSERT_NE(static_cast<HBITMAP>(copy), nullptr);
    SIZE size = SizeOf(copy);
    EXPECT_EQ(size.cx, 5);
    EXPECT_EQ(size.cy, 4);

    TestSurface target(10, 10, kGreen);
    target.DrawImageAtOrigin(copy);
    EXPECT_EQ(target.At(0, 0), kBackground);
    EXPECT_EQ(target.At(1, 1), kBlue);
    EXPECT_EQ(target.At(3, 2), kBlue);
    EXPECT_EQ(target.At(4, 3), kBackground);
    EXPECT_EQ(target.At(5, 0), kGreen);
}

TEST(DrawingImages, LoadBitmapFromFileReadsABmpAndReportsAMissingFile) {
    TemporaryFolder folder(L"drawing");
    std::string path = folder.NarrowPath() + "\\picture.bmp";

    // A 3 x 2 bottom-up 24-bit file, rows padded to 4 bytes.
    const unsigned char rows[2][12] = {{0, 0, 255, 0, 255, 0, 255, 0, 0, 0, 0, 0},   // bottom: red green blue
                                       {0, 0, 0, 255, 255, 255, 0, 0, 0, 0, 0, 0}};  // top: black white black
    BITMAPFILEHEADER file{};
    BITMAPINFOHEADER header{};
    header.biSize = sizeof header;
    header.biWidth = 3;
    header.biHeight = 2;
    header.biPlanes = 1;
    header.biBitCount = 24;
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof file + sizeof header;
    file.bfSize = file.bfOffBits + sizeof rows;
    std::string bytes(reinterpret_cast<const char*>(&file), sizeof file);
    bytes.append(reinterpret_cast<const char*>(&header), sizeof header);
    bytes.append(reinterpret_cast<const char*>(rows), sizeof rows);
    ASSERT_NO_FATAL_FAILURE(WriteBytes(path, bytes));

    GdiObject<HBITMAP> loaded(Drawing::LoadBitmapFromFile(path));
    std::remove(path.c_str());
    ASSERT_NE(static_cast<HBITMAP>(loaded), nullptr);
    SIZE size = SizeOf(loaded);
    EXPECT_EQ(size.cx, 3);
    EXPECT_EQ(size.cy, 2);
    DIBSECTION section{};
    EXPECT_EQ(GetObjectW(loaded, sizeof section, &section), static_cast<int>(sizeof section));  // a DIB section

    TestSurface surface(5, 5);
    surface.DrawImageAtOrigin(loaded);
    EXPECT_EQ(surface.At(0, 0), kBlack);
    EXPECT_EQ(surface.At(1, 0), RGB(255, 255, 255));
    EXPECT_EQ(surface.At(0, 1), kRed);
    EXPECT_EQ(surface.At(1, 1), kGreen);
    EXPECT_EQ(surface.At(2, 1), kBlue);

    EXPECT_EQ(Drawing::LoadBitmapFromFile(folder.NarrowPath() + "\\no_such_picture.bmp"), nullptr);
}

// ---- text ---------------------------------------------------------------

TEST(DrawingText, RestoresColourAndFontAndLeavesTransparentMode) {
    TestSurface surface(100, 40);
    HGDIOBJ font = GetStockObject(ANSI_FIXED_FONT);
    SelectObject(surface.dc, font);
    SetTextColor(surface.dc, RGB(1, 2, 3));
    SetBkMode(surface.dc, OPAQUE);
    SetBkColor(surface.dc, kGreen);
    FontSpec face("Arial", 16);

    surface.DrawString(2, 2, 90, 30, "WWW", kBlue, &face, AlignLeft);
    EXPECT_EQ(GetTextColor(surface.dc), RGB(1, 2, 3));
    EXPECT_EQ(GetCurrentObject(surface.dc, OBJ_FONT), font);
    EXPECT_EQ(GetBkMode(surface.dc), TRANSPARENT);
    // Transparent mode: no green box behind the letters.
    EXPECT_EQ(surface.CountNot(kBackground, 0, 0, 100, 40) > 0, true);
    for (int py = 0; py < 40; ++py)
        for (int px = 0; px < 100; ++px) ASSERT_NE(surface.At(px, py), kGreen);

    // Without a font the DC's own font stays selected.
    surface.DrawString(2, 2, 0, 0, "x", kBlue, nullptr, AlignLeft);
    EXPECT_EQ(GetCurrentObject(surface.dc, OBJ_FONT), font);
}

TEST(DrawingText, LongTextIsCutToItsFirst1023Characters) {
    FontSpec face("Courier New", 14);
    std::string text(1022, '.');
    text += 'W';                    // character 1023: drawn
    text += std::string(477, 'W');  // characters 1024 to 1500: cut off
    ASSERT_EQ(text.size(), 1500u);

    for (bool boxed : {false, true}) {
        TestSurface surface(16000, 30);
        SelectObject(surface.dc, face.GetHandle());
        SIZE kept{};
        SIZE w{};
        std::wstring wide(text.begin(), text.end());
        ASSERT_TRUE(GetTextExtentPoint32W(surface.dc, wide.c_str(), 1023, &kept));
        ASSERT_TRUE(GetTextExtentPoint32W(surface.dc, L"W", 1, &w));
        ASSERT_LT(kept.cx + 300, 16000);

        surface.DrawString(0, 0, boxed ? 16000 : 0, boxed ? 30 : 0, text, kBlue, &face, AlignLeft);
        EXPECT_GT(surface.CountNot(kBackground, kept.cx - w.cx, 0, kept.cx, 30), 0) << "boxed " << boxed;
        EXPECT_EQ(surface.CountNot(kBackground, kept.cx + 2, 0, kept.cx + 300, 30), 0) << "boxed " << boxed;
    }
}

TEST(DrawingText, ZeroWidthOrHeightDrawsOneUnclippedLine) {
    FontSpec face("Arial", 20);
    // Width 0: the line runs past x + 5 and is not cut at any height.
    TestSurface wide(200, 60);
    wide.DrawString(2, 2, 0, 5, "WWWW", kBlue, &face, AlignLeft);
    EXPECT_GT(wide.CountNot(kBackground, 10, 0, 200, 60), 0);
    EXPECT_GT(wide.CountNot(kBackground, 0, 8, 200, 60), 0);

    TestSurface tall(200, 60);
    tall.DrawString(2, 2, 5, 0, "WWWW", kBlue, &face, AlignLeft);
    EXPECT_GT(tall.CountNot(kBackground, 10, 0, 200, 60), 0);

    // Both sizes given: clipped to the box.
    TestSurface boxed(200, 60);
    boxed.DrawString(2, 2, 5, 5, "WWWW", kBlue, &face, AlignLeft);
    EXPECT_GT(boxed.CountNot(kBackground, 2, 2, 7, 7), 0);
    EXPECT_EQ(boxed.CountNot(kBackground, 7, 0, 200, 60), 0);
    EXPECT_EQ(boxed.CountNot(kBackground, 0, 7, 200, 60), 0);

    // A line break starts a second line in a box, never on a single line.
    int32_t lineHeight = boxed.GetFontHeight(&face);
    ASSERT_GT(lineHeight, 0);
    TestSurface twoLines(200, 80);
    twoLines.DrawString(0, 0, 200, 80, "W\nW", kBlue, &face, AlignLeft);
    EXPECT_GT(twoLines.CountNot(kBackground, 0, lineHeight, 200, 80), 0);
    TestSurface oneLine(200, 80);
    oneLine.DrawString(0, 0, 0, 0, "W\nW", kBlue, &face, AlignLeft);
    EXPECT_EQ(oneLine.CountNot(kBackground, 0, lineHeight, 200, 80), 0);
}

TEST(DrawingText, AnUnknownAlignmentDrawsLeftAligned) {
    // Left, centre and right are compared with the game's texts on screen.
    FontSpec face("Arial", 16);
    TestSurface left(300, 30);
    TestSurface unknown(300, 30);
    left.DrawString(0, 0, 300, 30, "WW", kBlue, &face, AlignLeft);
    unknown.DrawString(0, 0, 300, 30, "WW", kBlue, &face, static_cast<TextAlign>(7));
    EXPECT_GT(left.CountNot(kBackground, 0, 0, 5, 30), 0);  // from the left edge
    for (int py = 0; py < 30; ++py)
        for (int px = 0; px < 300; ++px) ASSERT_EQ(unknown.At(px, py), left.At(px, py)) << px << "," << py;
}

TEST(DrawingText, NarrowTextIsCodePageText) {
    FontSpec face("Arial", 20);
    TestSurface narrow(100, 30);
    TestSurface wide(100, 30);
    narrow.DrawString(0, 0, 0, 0, "10\xB0", kBlue, &face, AlignLeft);
    wide.DrawWideString(0, 0, 0, 0, L"10\u00B0", kBlue, &face, AlignLeft);
    for (int py = 0; py < 30; ++py)
        for (int px = 0; px < 100; ++px) ASSERT_EQ(narrow.At(px, py), wide.At(px, py)) << px << "," << py;
}

TEST(DrawingText, GetFontHeightReadsTheFontAndRestoresTheDc) {
    TestSurface surface(10, 10);
    HGDIOBJ before = GetCurrentObject(surface.dc, OBJ_FONT);
    FontSpec face("Arial", 24);
    int32_t height = surface.GetFontHeight(&face);
    EXPECT_EQ(GetCurrentObject(surface.dc, OBJ_FONT), before);

    SelectObject(surface.dc, face.GetHandle());
    TEXTMETRICW metrics{};
    ASSERT_TRUE(GetTextMetricsW(surface.dc, &metrics));
    SelectObject(surface.dc, before);
    EXPECT_EQ(height, metrics.tmHeight);
    EXPECT_GT(height, 0);
    EXPECT_EQ(surface.GetFontHeight(nullptr), -1);
}

// ---- an idle surface and the end of drawing ------------------------------

TEST(DrawingIdle, ASurfaceWithoutDcDrawsNothingAndMakesNothing) {
    GdiObject<HBITMAP> picture(NewSolidPicture(4, 4, kRed));
    FontSpec face("Arial", 16);
    face.GetHandle();
    TestSurface idle(nullptr);
    size_t headroom = GdiHeadroom();

    idle.DrawString(0, 0, 10, 10, "abc", kRed, &face, AlignLeft);
    idle.DrawWideString(0, 0, 0, 0, L"abc", kRed, &face, AlignCenter);
    idle.DrawRectangle(0, 0, 5, 5, kRed);
    idle.FillRectangle(0, 0, 5, 5, kRed, 2, kBlue);
    idle.DrawImageAtOrigin(picture);
    idle.DrawImage(picture, 0, 0, 4, 4);
    idle.DrawImagePart(picture, 0, 0, 4, 4, 0, 0);
    idle.DrawImagePartTransparent(picture, 0, 0, 4, 4, 0);
    idle.DrawImageTransparent(picture, 0, 0, 4, 4);
    EXPECT_EQ(idle.GetFontHeight(&face), -1);
    EXPECT_EQ(idle.CopyRegion(0, 0, 4, 4), nullptr);
    EXPECT_EQ(idle.CreateBackBuffer(), nullptr);
    idle.EndDrawing();
    idle.EndDrawing();

    EXPECT_EQ(idle.errors, 0);
    EXPECT_EQ(idle.dc, nullptr);
    EXPECT_EQ(GdiHeadroom(), headroom);
}

TEST(DrawingIdle, EndDrawingLetsEachDcGoTheWayItCame) {
    Form form(Instance());
    Open(form);
    HDC lent = CreateCompatibleDC(nullptr);
    size_t headroom = GdiHeadroom();
    {
        Drawing surface(&form);
        surface.OwnMemoryDc(NewMemorySurface(30, 30, kBackground));
        HDC dc = surface.dc;
        HGDIOBJ bitmap = GetCurrentObject(dc, OBJ_BITMAP);
        ASSERT_NE(GetObjectType(dc), 0u);
        ASSERT_EQ(GetObjectType(bitmap), static_cast<DWORD>(OBJ_BITMAP));

        surface.EndDrawing();
        EXPECT_EQ(surface.dc, nullptr);
        EXPECT_EQ(surface.ownsDc, 0);
        EXPECT_EQ(GetObjectType(dc), 0u);
        EXPECT_EQ(GetObjectType(bitmap), 0u);
        surface.EndDrawing();  // idle again: nothing happens

        // Each way ends the one before, and so does dropping the surface: the
        // window's DC is given back, an owned one deleted, a lent one kept.
        for (int i = 0; i < 500; ++i) {
            surface.BorrowDc(lent);
            surface.OwnMemoryDc(NewMemorySurface(4, 4, kRed));
            ASSERT_NE(surface.BorrowWindowDc(), nullptr);
            ASSERT_NE(surface.BeginPainting(), nullptr);
            surface.OwnMemoryDc(NewMemorySurface(4, 4, kRed));
        }
    }
    EXPECT_EQ(GdiHeadroom(), headroom);
    EXPECT_EQ(GetObjectType(lent), static_cast<DWORD>(OBJ_MEMDC));
    DeleteDC(lent);
}

TEST(DrawingFailure, AFailedCopyCallsTheHookAndGoesOn) {
    TestSurface surface(10, 10);
    // No system makes a bitmap of this size.
    EXPECT_EQ(surface.CopyRegion(0, 0, 1 << 20, 1 << 20), nullptr);
    EXPECT_GE(surface.errors, 1);
    // The surface still draws afterwards.
    surface.FillRectangle(0, 0, 2, 2, kRed, 1, kRed);
    EXPECT_EQ(surface.At(1, 1), kRed);
}

// ---- the back buffer -----------------------------------------------------

TEST(DrawingBackBuffer, SizedFromTheWindowClientAreaOrTheUpdateRectangle) {
    Form form(Instance());
    form.captioned = false;  // a pop-up: the client area is the whole window
    form.SetSize(123, 45);
    Open(form);
    Drawing surface(&form);
    ASSERT_NE(surface.BorrowWindowDc(), nullptr);
    HDC buffer = surface.CreateBackBuffer();
    ASSERT_NE(buffer, nullptr);
    SIZE size = SizeOf(static_cast<HBITMAP>(GetCurrentObject(buffer, OBJ_BITMAP)));
    EXPECT_EQ(size.cx, 123);
    EXPECT_EQ(size.cy, 45);

    // Handed to a surface that owns it, the buffer takes its bitmap along.
    surface.OwnMemoryDc(buffer);
    surface.FillRectangle(0, 0, 123, 45, kRed, 1, kRed);
    EXPECT_EQ(GetPixel(buffer, 122, 44), kRed);

    // A memory DC has no window: the last paint's update rectangle sizes it.
    RECT part{5, 5, 35, 25};
    InvalidateRect(form.hwnd, &part, FALSE);
    ASSERT_NE(surface.BeginPainting(), nullptr);
    surface.OwnMemoryDc(NewMemorySurface(10, 10, kBackground));
    surface.OwnMemoryDc(surface.CreateBackBuffer());  // as a frame takes its back buffer
    ASSERT_NE(surface.dc, nullptr);
    size = SizeOf(static_cast<HBITMAP>(GetCurrentObject(surface.dc, OBJ_BITMAP)));
    EXPECT_EQ(size.cx, 30);
    EXPECT_EQ(size.cy, 20);
}

// ---- nothing leaks -------------------------------------------------------

TEST(DrawingLeaks, TenThousandDrawsLeaveTheGdiObjectCountUnchanged) {
    TestSurface surface(200, 100);
    GdiObject<HBITMAP> strip(NewPicture(4, 8, {kRed, kBlack, kRed, kBlack}));
    FontSpec face("Arial", 12);
    Sprite sprite(4, 4, strip);

    auto round = [&](int i) {
        surface.DrawImagePartTransparent(strip, i % 190, 5, 4, 4, 4);
        surface.DrawImageTransparent(strip, i % 190, 20, 8, 16);
        HBITMAP copy = surface.CopyRegion(i % 190, 0, 10, 10);
        surface.DrawImage(copy, 0, 50, 0, 0);
        DeleteObject(copy);
        sprite.x = i % 190;
        sprite.y = 60 + i % 30;
        sprite.SetFrame(i % 2);
        sprite.Draw(surface);
        surface.DrawString(i % 150, 30, 40, 20, "Livello 1", kBlue, &face, AlignCenter);
        surface.DrawString(i % 150, 40, 0, 0, "Punti", kBlue, &face, AlignLeft);
        surface.FillRectangle(0, 90, 10, 10, kGreen, 1, kRed);
        surface.DrawRectangle(0, 90, 10, 10, kRed);
    };
    round(0);  // the first round makes what is kept for good (the font)
    DWORD counted = GdiObjectsInUse();
    size_t headroom = GdiHeadroom();
    // The sprite holds one saved background before and after the loop.
    for (int i = 1; i <= 10000; ++i) round(i);
    EXPECT_EQ(surface.errors, 0);
    EXPECT_EQ(GdiObjectsInUse(), counted);
    EXPECT_EQ(GdiHeadroom(), headroom);
}
