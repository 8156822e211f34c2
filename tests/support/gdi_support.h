// Helpers for tests that draw: memory surfaces whose pixels can be read
// back, small pictures built pixel by pixel, and a count of GDI objects.
#pragma once

#include "framework/drawing.h"

#include <windows.h>

#include <cstdint>
#include <cstddef>
#include <initializer_list>
#include <vector>

namespace TestSupport {

constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kGreen = RGB(0, 255, 0);
constexpr COLORREF kBlue = RGB(0, 0, 255);
constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr COLORREF kWhite = RGB(255, 255, 255);
// What a fresh TestSurface is filled with.
constexpr COLORREF kBackground = RGB(200, 100, 50);

// The header of a 32-bit top-down DIB of that size.
inline BITMAPINFO TopDown32(int32_t width, int32_t height) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    return info;
}

// A 32-bit top-down DIB section; the caller owns the handle.
inline HBITMAP NewDib(int32_t width, int32_t height, uint32_t** bits = nullptr) {
    BITMAPINFO info = TopDown32(width, height);
    void* memory = nullptr;
    HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &memory, nullptr, 0);
    if (bits) *bits = static_cast<uint32_t*>(memory);
    return bitmap;
}

// DIB pixels are 0x00RRGGBB, COLORREF values 0x00BBGGRR.
inline uint32_t DibPixel(COLORREF colour) {
    return (GetRValue(colour) << 16) | (GetGValue(colour) << 8) | GetBValue(colour);
}

// A picture of width x height filled row by row from colours (missing
// entries stay black).
inline HBITMAP NewPicture(int32_t width, int32_t height, const std::vector<COLORREF>& colours) {
    uint32_t* bits = nullptr;
    HBITMAP bitmap = NewDib(width, height, &bits);
    if (!bitmap) return nullptr;
    for (int32_t i = 0; i < width * height; ++i)
        bits[i] = i < static_cast<int32_t>(colours.size()) ? DibPixel(colours[i]) : 0;
    GdiFlush();
    return bitmap;
}

// A picture of one colour.
inline HBITMAP NewSolidPicture(int32_t width, int32_t height, COLORREF colour) {
    return NewPicture(width, height, std::vector<COLORREF>(static_cast<size_t>(width) * height, colour));
}

// A memory DC with a fresh 32-bit picture of the given size selected, filled
// with one colour: a Drawing that takes it over (OwnMemoryDc) releases both.
inline HDC NewMemorySurface(int32_t width, int32_t height, COLORREF fill) {
    HDC memory = CreateCompatibleDC(nullptr);
    SelectObject(memory, NewSolidPicture(width, height, fill));
    return memory;
}

// GDI objects of this process as the system counts them (0 where the
// system does not keep the count, as under Wine).
inline DWORD GdiObjectsInUse() {
    return GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
}

// Brushes made until the system refuses one (or a million, past any quota).
inline std::vector<HBRUSH> BrushesUntilRefused() {
    std::vector<HBRUSH> brushes;
    for (;;) {
        HBRUSH brush = CreateSolidBrush(RGB(1, 2, 3));
        if (!brush) break;
        brushes.push_back(brush);
        if (brushes.size() >= 1000000) break;
    }
    return brushes;
}

// How many more GDI objects this process can make right now, counted by
// making brushes until the system refuses one and releasing them again. Two
// readings differ exactly by the objects made and not released in between,
// on any system (the GDI handle table and the per-process quota are both
// finite). The first reading fills the table for the rest of the program
// down to a reserve of 8192 objects, so that every reading counts only that
// reserve and the objects released since: far more than any test makes at a
// time, few enough to count in a moment. A leak larger than the reserve
// starves the tests that follow in the same program, which then fail too.
inline size_t GdiHeadroom() {
    static struct HeldBrushes {
        std::vector<HBRUSH> brushes = BrushesUntilRefused();
        HeldBrushes() {
            for (size_t freed = 0; freed < 8192 && !brushes.empty(); ++freed) {
                DeleteObject(brushes.back());
                brushes.pop_back();
            }
        }
        ~HeldBrushes() {
            for (HBRUSH brush : brushes) DeleteObject(brush);
        }
    } held;
    std::vector<HBRUSH> brushes = BrushesUntilRefused();
    for (HBRUSH brush : brushes) DeleteObject(brush);
    return brushes.size();
}

// A surface that owns a memory DC of the given size, and counts the calls
// of its failure hook.
class TestSurface : public Orditex::Drawing {
public:
    TestSurface(int32_t width, int32_t height, COLORREF fill = kBackground) : Orditex::Drawing(nullptr) {
        OwnMemoryDc(NewMemorySurface(width, height, fill));
    }
    explicit TestSurface(std::nullptr_t) : Orditex::Drawing(nullptr) {}
    void OnDrawingError() override {
        ++errors;
        Orditex::Drawing::OnDrawingError();
    }
    COLORREF At(int32_t px, int32_t py) const { return GetPixel(dc, px, py); }
    // Pixels in the rectangle that differ from the colour.
    int32_t CountNot(COLORREF colour, int32_t left, int32_t top, int32_t right, int32_t bottom) const {
        int32_t count = 0;
        for (int32_t py = top; py < bottom; ++py)
            for (int32_t px = left; px < right; ++px)
                if (At(px, py) != colour) ++count;
        return count;
    }
    int errors = 0;
};

}  // namespace TestSupport
