#include "framework/sprite.h"
#include "framework/gdi_guards.h"
#include "support/gdi_support.h"

#include <gtest/gtest.h>

using namespace Orditex;
using namespace TestSupport;

namespace {

// Frames of 2 x frameHeight, one colour each.
HBITMAP NewStrip(int32_t frameHeight, std::initializer_list<COLORREF> frameColours) {
    std::vector<COLORREF> pixels;
    for (COLORREF colour : frameColours) pixels.insert(pixels.end(), 2 * frameHeight, colour);
    return NewPicture(2, frameHeight * static_cast<int32_t>(frameColours.size()), pixels);
}

// The colours of a w x h bitmap, drawn onto a fresh surface.
std::vector<COLORREF> PixelsOf(HBITMAP bitmap, int32_t w, int32_t h) {
    TestSurface surface(w, h, RGB(9, 9, 9));
    surface.DrawImageAtOrigin(bitmap);
    std::vector<COLORREF> pixels;
    for (int32_t py = 0; py < h; ++py)
        for (int32_t px = 0; px < w; ++px) pixels.push_back(surface.At(px, py));
    return pixels;
}

}  // namespace

TEST(SpriteDraw, DrawingAgainInPlaceKeepsTheFirstSave) {
    TestSurface surface(20, 20);
    GdiObject<HBITMAP> strip(NewStrip(2, {kRed, kBlue}));
    Sprite sprite(2, 2, strip);
    sprite.x = 3;
    sprite.y = 4;
    sprite.Draw(surface);
    HBITMAP firstSave = sprite.savedBackground;

    sprite.SetFrame(1);
    POINT previous = sprite.Draw(surface);
    EXPECT_EQ(previous.x, 3);
    EXPECT_EQ(previous.y, 4);
    EXPECT_EQ(sprite.savedBackground, firstSave);
    EXPECT_EQ(PixelsOf(sprite.savedBackground, 2, 2), std::vector<COLORREF>(4, kBackground));
    EXPECT_EQ(surface.At(3, 4), kBlue);

    // Erasing after any number of draws in place brings back the background.
    sprite.Erase(surface);
    EXPECT_EQ(surface.CountNot(kBackground, 0, 0, 20, 20), 0);
}

TEST(SpriteDraw, MovingRestoresTheOldPlaceAndSavesTheNewOne) {
    TestSurface surface(20, 20);
    surface.FillRectangle(0, 10, 20, 10, kBlue, 1, kBlue);  // lower half blue
    GdiObject<HBITMAP> strip(NewStrip(4, {kRed}));
    Sprite sprite(2, 4, strip);
    sprite.x = 2;
    sprite.y = 2;
    sprite.Draw(surface);

    // Overlapping move: the old place is repaired before the new is saved.
    sprite.y = 4;
    POINT previous = sprite.Draw(surface);
    EXPECT_EQ(previous.x, 2);
    EXPECT_EQ(previous.y, 2);
    EXPECT_EQ(surface.At(2, 2), kBackground);
    EXPECT_EQ(surface.At(2, 3), kBackground);
    EXPECT_EQ(surface.At(2, 4), kRed);
    EXPECT_EQ(PixelsOf(sprite.savedBackground, 2, 4), std::vector<COLORREF>(8, kBackground));

    // Into the blue half and back out: both places are as they were.
    sprite.y = 12;
    sprite.Draw(surface);
    EXPECT_EQ(PixelsOf(sprite.savedBackground, 2, 4), std::vector<COLORREF>(8, kBlue));
    sprite.Erase(surface);
    EXPECT_EQ(surface.CountNot(kBackground, 0, 0, 20, 10), 0);
    EXPECT_EQ(surface.CountNot(kBlue, 0, 10, 20, 20), 0);
    EXPECT_FALSE(sprite.drawn);
    EXPECT_EQ(sprite.savedBackground, nullptr);
    EXPECT_EQ(sprite.lastX, -1);
    EXPECT_EQ(sprite.lastY, -1);
    EXPECT_EQ(sprite.Draw(surface).x, -1);  // erased counts as never drawn
}

TEST(SpriteDraw, MovesReuseOneSavedBackgroundWhileTheSizeHolds) {
    TestSurface surface(40, 20);
    surface.FillRectangle(20, 0, 20, 20, kBlue, 1, kBlue);  // right half blue
    // Kept ready, as the game keeps its pictures: drawing it makes nothing.
    HBITMAP strip = NewStrip(4, {kRed});
    Drawing::KeepPicture(strip);
    Sprite sprite(2, 4, strip);
    sprite.x = 2;
    sprite.y = 2;
    sprite.Draw(surface);
    HBITMAP saved = sprite.savedBackground;
    ASSERT_NE(saved, nullptr);

    int64_t made = gdiObjectsMade;
    for (int32_t x = 3; x <= 30; ++x) {
        sprite.x = x;
        sprite.Draw(surface);
    }
    EXPECT_EQ(sprite.savedBackground, saved);
    EXPECT_EQ(gdiObjectsMade, made);
    EXPECT_EQ(PixelsOf(sprite.savedBackground, 2, 4), std::vector<COLORREF>(8, kBlue));
    EXPECT_EQ(surface.CountNot(kBackground, 0, 0, 20, 20), 0);  // every place passed is whole again

    // Another size takes a copy of that size.
    sprite.width = 3;
    sprite.x = 5;
    sprite.Draw(surface);
    BITMAP info{};
    ASSERT_NE(GetObjectW(sprite.savedBackground, sizeof info, &info), 0);
    EXPECT_EQ(info.bmWidth, 3);
    EXPECT_EQ(info.bmHeight, 4);
    EXPECT_EQ(PixelsOf(sprite.savedBackground, 3, 4), std::vector<COLORREF>(12, kBackground));
    Drawing::DeletePicture(strip);
}

TEST(SpriteDraw, SetFrameTwoOnA40HighSpriteDrawsRows80To119) {
    GdiObject<HBITMAP> strip(NewStrip(40, {kRed, kBlue, RGB(0, 255, 0), RGB(1, 1, 1)}));
    TestSurface surface(10, 50);
    Sprite sprite(2, 40, strip);
    sprite.x = 1;
    sprite.y = 5;
    sprite.SetFrame(2);
    EXPECT_EQ(sprite.frame, 3);
    sprite.Draw(surface);
    EXPECT_EQ(surface.CountNot(RGB(0, 255, 0), 1, 5, 3, 45), 0);
    EXPECT_EQ(surface.CountNot(kBackground, 0, 0, 10, 5), 0);
    EXPECT_EQ(surface.CountNot(kBackground, 0, 45, 10, 50), 0);
}

TEST(SpriteDraw, TransparencyAndBackgroundSavingCanBeSwitchedOff) {
    GdiObject<HBITMAP> picture(NewPicture(2, 1, {kBlack, kRed}));
    TestSurface surface(10, 10);
    Sprite opaque(2, 1, picture);
    opaque.transparent = false;
    opaque.saveBackground = false;
    opaque.x = 4;
    opaque.y = 4;
    opaque.Draw(surface);
    EXPECT_EQ(surface.At(4, 4), kBlack);
    EXPECT_EQ(surface.At(5, 4), kRed);
    EXPECT_EQ(opaque.savedBackground, nullptr);
    EXPECT_TRUE(opaque.drawn);
    // Nothing saved: erasing leaves the picture alone.
    opaque.Erase(surface);
    EXPECT_EQ(surface.At(5, 4), kRed);
}

TEST(SpriteDraw, EraseRightAfterConstructionDoesNothing) {
    TestSurface surface(10, 10);
    GdiObject<HBITMAP> strip(NewStrip(2, {kRed}));
    Sprite sprite(2, 2, strip);
    sprite.Erase(surface);
    EXPECT_EQ(surface.CountNot(kBackground, 0, 0, 10, 10), 0);
    EXPECT_EQ(sprite.lastX, -1);
    EXPECT_FALSE(sprite.drawn);
    EXPECT_EQ(surface.errors, 0);
}

TEST(SpriteDraw, NoImageOrNoSurfaceStillKeepsTheBookkeeping) {
    TestSurface idle(nullptr);
    Sprite bare(10, 10);
    bare.x = 7;
    bare.y = 8;
    EXPECT_EQ(bare.Draw(idle).x, -1);
    EXPECT_EQ(bare.lastX, 7);
    EXPECT_EQ(bare.lastY, 8);
    EXPECT_EQ(bare.savedBackground, nullptr);

    TestSurface surface(20, 20);
    bare.x = 1;
    bare.Draw(surface);  // no picture: the surface is unchanged
    EXPECT_EQ(surface.CountNot(kBackground, 0, 0, 20, 20), 0);
}

TEST(SpriteLifetime, SerialsGrowAndOnlyOwnedPicturesAreDeleted) {
    Sprite first(1, 1);
    Sprite second(1, 1);
    EXPECT_GT(second.serial, first.serial);
    EXPECT_FALSE(first.sharedImage);
    EXPECT_EQ(first.image, nullptr);
    EXPECT_EQ(first.frame, 1);
    EXPECT_TRUE(first.saveBackground);
    EXPECT_TRUE(first.transparent);

    HBITMAP shared = NewSolidPicture(2, 2, kRed);
    HBITMAP owned = NewSolidPicture(2, 2, kRed);
    HBITMAP saved = nullptr;
    {
        Sprite borrowing(2, 2, shared);
        EXPECT_TRUE(borrowing.sharedImage);
        EXPECT_GT(borrowing.serial, second.serial);
        TestSurface surface(5, 5);
        borrowing.Draw(surface);
        saved = borrowing.savedBackground;
        ASSERT_NE(saved, nullptr);

        Sprite owning(2, 2);
        owning.image = owned;
    }
    EXPECT_EQ(GetObjectType(shared), static_cast<DWORD>(OBJ_BITMAP));
    EXPECT_EQ(GetObjectType(owned), 0u);
    EXPECT_EQ(GetObjectType(saved), 0u);
    DeleteObject(shared);
}
