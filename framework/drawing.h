// A drawing surface over one device context: bitmap copies (plain, stretched,
// black-transparent), rectangles, text, region grabs and an off-screen buffer.
// A picture drawn again and again can be kept ready: its bitmap then stays
// selected in a DC of its own, with its transparency mask made once; any
// other picture gets temporary DCs (and mask) for each copy.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

namespace Orditex {

class GUIElement;
class FontSpec;

enum TextAlign : int32_t { AlignLeft = 0, AlignRight = 1, AlignCenter = 2 };

class Drawing {
public:
    explicit Drawing(GUIElement* ownerElement);
    virtual ~Drawing();  // ends drawing first
    Drawing(const Drawing&) = delete;
    Drawing& operator=(const Drawing&) = delete;

    GUIElement* owner = nullptr;
    HDC dc = nullptr;
    uint8_t ownsDc = 0;
    PAINTSTRUCT paint{};

    // The ways a surface comes to hold a DC. Each first ends what the
    // surface held before; EndDrawing then lets the DC go the way it came.
    // Paints the owner's window: BeginPaint now, EndPaint at the end.
    HDC BeginPainting();
    // Borrows the owner window's DC outside a paint: GetDC now, ReleaseDC at
    // the end.
    HDC BorrowWindowDc();
    // Takes a memory DC over: it is deleted at the end, together with the
    // bitmap selected in it.
    void OwnMemoryDc(HDC memory);
    // Draws on a DC that stays someone else's (the system's, for an
    // owner-drawn item): at the end it is only let go, never ended or deleted.
    void BorrowDc(HDC foreign);

    // A memory DC the size of the owner window's client area, with a
    // compatible bitmap selected for its whole life.
    HDC CreateBackBuffer();
    void DrawString(int32_t x, int32_t y, int32_t width, int32_t height, const std::string& text, COLORREF colour,
                    FontSpec* font, TextAlign align);
    void DrawWideString(int32_t x, int32_t y, int32_t width, int32_t height, const std::wstring& text, COLORREF colour,
                        FontSpec* font, TextAlign align);
    int32_t GetFontHeight(FontSpec* font);
    void DrawRectangle(int32_t x, int32_t y, int32_t width, int32_t height, COLORREF colour);
    void FillRectangle(int32_t x, int32_t y, int32_t width, int32_t height, COLORREF fillColour, int32_t penWidth,
                       COLORREF penColour);
    void DrawImageAtOrigin(HBITMAP bitmap);
    void DrawImage(HBITMAP bitmap, int32_t x, int32_t y, int32_t width, int32_t height);
    void DrawImagePart(HBITMAP bitmap, int32_t x, int32_t y, int32_t width, int32_t height, int32_t srcX, int32_t srcY);
    // A new bitmap owned by the caller, or none.
    HBITMAP CopyRegion(int32_t x, int32_t y, int32_t width, int32_t height);
    // The same copy into an existing bitmap of at least that size; false
    // when nothing could be copied.
    bool CopyRegionInto(HBITMAP target, int32_t x, int32_t y, int32_t width, int32_t height);
    void DrawImagePartTransparent(HBITMAP bitmap, int32_t x, int32_t y, int32_t width, int32_t height, int32_t srcY);
    void DrawImageTransparent(HBITMAP bitmap, int32_t x, int32_t y, int32_t width, int32_t height);
    static HBITMAP LoadBitmapFromFile(const std::string& path);
    // Keeps a picture ready to draw until DeletePicture: its bitmap stays
    // selected in a memory DC of its own; the mask of its pure black pixels
    // and a copy in the format of the surface it is drawn on are made at its
    // first transparent copy and kept with it (so its pixels must not change
    // after that). Every copy from or into it goes through its DC: a bitmap
    // can be selected in one DC only, so nothing else may select it meanwhile.
    static void KeepPicture(HBITMAP bitmap);
    // Releases what was kept for the picture, if anything, then deletes it.
    static void DeletePicture(HBITMAP bitmap);
    void EndDrawing();

    // Called after a failed GDI call; drawing goes on regardless.
    virtual void OnDrawingError();
    DWORD lastError = 0;  // the error code the hook read last

private:
    // Where a DC the surface does not own came from.
    enum class Lent : uint8_t { ByPaint, ByWindow, ByOther };
    Lent lent = Lent::ByPaint;
};

}  // namespace Orditex
