#include "framework/drawing.h"
#include "framework/gdi_guards.h"
#include "framework/gui_element.h"

#include <gtest/gtest.h>

using namespace Orditex;

namespace {

// A 40 x 40 memory surface owned by the Drawing under test.
HDC NewMemorySurface(int size) {
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    SelectObject(memory, CreateCompatibleBitmap(screen, size, size));
    ReleaseDC(nullptr, screen);
    return memory;
}

}  // namespace

TEST(DrawingSmoke, BlackIsTransparentNearBlackIsDrawn) {
    Drawing surface(nullptr);
    surface.dc = NewMemorySurface(40);
    surface.ownsDc = 1;
    surface.FillRectangle(0, 0, 40, 40, RGB(200, 100, 50), 0, 0);

    // A 2 x 1 picture: pure black, then near-black.
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = 2;
    info.bmiHeader.biHeight = -1;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    GdiObject<HBITMAP> picture(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    ASSERT_NE(static_cast<HBITMAP>(picture), nullptr);
    static_cast<DWORD*>(bits)[0] = 0x000000;
    static_cast<DWORD*>(bits)[1] = 0x010101;
    GdiFlush();

    surface.DrawImagePartTransparent(picture, 5, 5, 2, 1, 0);
    EXPECT_EQ(GetPixel(surface.dc, 5, 5), RGB(200, 100, 50));
    EXPECT_EQ(GetPixel(surface.dc, 6, 5), RGB(1, 1, 1));
}
