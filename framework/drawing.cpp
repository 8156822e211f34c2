#include "framework/drawing.h"

#include "framework/gdi_guards.h"
#include "framework/gui_element.h"
#include "framework/shell.h"

namespace Orditex {

namespace {

SIZE BitmapSize(HBITMAP bitmap) {
    BITMAP info{};
    if (!bitmap || GetObjectW(bitmap, sizeof info, &info) == 0) return SIZE{0, 0};
    return SIZE{info.bmWidth, info.bmHeight};
}

// Keeps a DC's text and background colours for the length of a masked copy:
// a monochrome mask copied onto a colour DC takes those two colours for its
// black and white pixels, so they must be black and white.
class MaskColours {
public:
    explicit MaskColours(HDC target)
        : dc(target), text(SetTextColor(target, RGB(0, 0, 0))), back(SetBkColor(target, RGB(255, 255, 255))) {}
    ~MaskColours() {
        SetTextColor(dc, text);
        SetBkColor(dc, back);
    }
    MaskColours(const MaskColours&) = delete;
    MaskColours& operator=(const MaskColours&) = delete;

private:
    HDC dc;
    COLORREF text;
    COLORREF back;
};

}  // namespace

Drawing::Drawing(GUIElement* ownerElement) : owner(ownerElement) {}

Drawing::~Drawing() {
    EndDrawing();
}

void Drawing::OnDrawingError() {
    lastError = GetLastError();
}

HDC Drawing::CreateBackBuffer() {
    if (!dc) return nullptr;
    RECT area = paint.rcPaint;
    HWND window = WindowFromDC(dc);
    RECT client;
    if (window && GetClientRect(window, &client)) area = client;
    int32_t bufferWidth = area.right - area.left;
    int32_t bufferHeight = area.bottom - area.top;

    HDC memory = Made(CreateCompatibleDC(dc));
    if (!memory) {
        OnDrawingError();
        return nullptr;
    }
    HBITMAP bitmap = Made(CreateCompatibleBitmap(dc, bufferWidth, bufferHeight));
    if (!bitmap)
        OnDrawingError();
    else
        SelectObject(memory, bitmap);  // stays selected; released with the DC in EndDrawing
    return memory;
}

void Drawing::DrawString(int32_t x, int32_t y, int32_t width, int32_t height, const std::string& text, COLORREF colour,
                         FontSpec* font, TextAlign align) {
    DrawWideString(x, y, width, height, ToWide(text), colour, font, align);
}

void Drawing::DrawWideString(int32_t x, int32_t y, int32_t width, int32_t height, const std::wstring& text,
                             COLORREF colour, FontSpec* font, TextAlign align) {
    if (!dc) return;
    SetBkMode(dc, TRANSPARENT);

    wchar_t buffer[1024];
    size_t length = text.size() < 1023 ? text.size() : 1023;
    text.copy(buffer, length);
    buffer[length] = L'\0';

    UINT format = DT_LEFT;
    if (align == AlignRight)
        format = DT_RIGHT;
    else if (align == AlignCenter)
        format = DT_CENTER;

    Selection fontSelection(dc, font ? font->GetHandle() : nullptr);
    COLORREF previousColour = SetTextColor(dc, colour);
    if (width != 0 && height != 0) {
        RECT box{x, y, x + width, y + height};
        DrawTextW(dc, buffer, static_cast<int>(length), &box, format);
    } else {
        TextOutW(dc, x, y, buffer, static_cast<int>(length));
    }
    SetTextColor(dc, previousColour);
}

int32_t Drawing::GetFontHeight(FontSpec* font) {
    if (!dc || !font) return -1;
    Selection fontSelection(dc, font->GetHandle());
    TEXTMETRICW metrics;
    if (!GetTextMetricsW(dc, &metrics)) return -1;
    return metrics.tmHeight;
}

void Drawing::DrawRectangle(int32_t x, int32_t y, int32_t width, int32_t height, COLORREF colour) {
    if (!dc) return;
    GdiObject<HPEN> pen(CreatePen(PS_SOLID, 1, colour));
    Selection brushSelection(dc, GetStockObject(NULL_BRUSH));
    Selection penSelection(dc, pen);
    Rectangle(dc, x, y, x + width, y + height);
}

void Drawing::FillRectangle(int32_t x, int32_t y, int32_t width, int32_t height, COLORREF fillColour, int32_t penWidth,
                            COLORREF penColour) {
    if (!dc) return;
    GdiObject<HPEN> pen(penWidth > 0 ? CreatePen(PS_SOLID, penWidth, penColour) : CreatePen(PS_NULL, 1, 0));
    GdiObject<HBRUSH> brush(CreateSolidBrush(fillColour));
    Selection penSelection(dc, pen);
    Selection brushSelection(dc, brush);
    Rectangle(dc, x, y, x + width, y + height);
}

void Drawing::DrawImageAtOrigin(HBITMAP bitmap) {
    if (!dc || !bitmap) return;
    SIZE size = BitmapSize(bitmap);
    MemoryDc source(dc);
    if (!source) return OnDrawingError();
    Selection selection(source, bitmap);
    if (!BitBlt(dc, 0, 0, size.cx, size.cy, source, 0, 0, SRCCOPY)) OnDrawingError();
}

void Drawing::DrawImage(HBITMAP bitmap, int32_t x, int32_t y, int32_t width, int32_t height) {
    if (!dc || !bitmap) return;
    SIZE size = BitmapSize(bitmap);
    MemoryDc source(dc);
    if (!source) return OnDrawingError();
    Selection selection(source, bitmap);
    BOOL done = width != 0 && height != 0 ? StretchBlt(dc, x, y, width, height, source, 0, 0, size.cx, size.cy, SRCCOPY)
                                          : BitBlt(dc, x, y, size.cx, size.cy, source, 0, 0, SRCCOPY);
    if (!done) OnDrawingError();
}

void Drawing::DrawImagePart(HBITMAP bitmap, int32_t x, int32_t y, int32_t width, int32_t height, int32_t srcX,
                            int32_t srcY) {
    if (!dc || !bitmap) return;
    MemoryDc source(dc);
    if (!source) return OnDrawingError();
    Selection selection(source, bitmap);
    if (!BitBlt(dc, x, y, width, height, source, srcX, srcY, SRCCOPY)) OnDrawingError();
}

HBITMAP Drawing::CopyRegion(int32_t x, int32_t y, int32_t width, int32_t height) {
    if (!dc) return nullptr;
    MemoryDc target(dc);
    if (!target) {
        OnDrawingError();
        return nullptr;
    }
    HBITMAP copy = Made(CreateCompatibleBitmap(dc, width, height));
    if (!copy) {
        OnDrawingError();
        return nullptr;
    }
    {
        Selection selection(target, copy);
        if (!BitBlt(target, 0, 0, width, height, dc, x, y, SRCCOPY)) OnDrawingError();
    }
    return copy;
}

void Drawing::DrawImagePartTransparent(HBITMAP bitmap, int32_t x, int32_t y, int32_t width, int32_t height,
                                       int32_t srcY) {
    if (!dc || !bitmap) return;
    MemoryDc image(dc);
    MemoryDc mask(dc);
    if (!image || !mask) return OnDrawingError();
    // The mask covers just the cell being drawn: the same pixels as a mask of
    // the whole strip, at a tenth of the cost for a ten-frame strip.
    GdiObject<HBITMAP> maskBitmap(CreateBitmap(width, height, 1, 1, nullptr));
    if (!maskBitmap) return OnDrawingError();
    Selection maskSelection(mask, maskBitmap);
    Selection imageSelection(image, bitmap);

    // A cell may reach past the strip (below its end, wider than it, above
    // its first row): nothing is copied from there, so those mask pixels must
    // be white and leave the target as it is, as a mask of the whole strip
    // would. A new bitmap's pixels are undefined until written.
    if (!PatBlt(mask, 0, 0, width, height, WHITENESS)) OnDrawingError();
    // Pure black pixels of the picture become white in the mask, all others black.
    SetBkColor(image, RGB(0, 0, 0));
    if (!BitBlt(mask, 0, 0, width, height, image, 0, srcY, SRCCOPY)) OnDrawingError();

    MaskColours colours(dc);
    if (!BitBlt(dc, x, y, width, height, mask, 0, 0, SRCAND)) OnDrawingError();
    if (!BitBlt(dc, x, y, width, height, image, 0, srcY, SRCPAINT)) OnDrawingError();
}

void Drawing::DrawImageTransparent(HBITMAP bitmap, int32_t x, int32_t y, int32_t width, int32_t height) {
    if (!dc || !bitmap) return;
    SIZE size = BitmapSize(bitmap);
    MemoryDc image(dc);
    MemoryDc mask(dc);
    if (!image || !mask) return OnDrawingError();
    GdiObject<HBITMAP> maskBitmap(CreateBitmap(size.cx, size.cy, 1, 1, nullptr));
    if (!maskBitmap) return OnDrawingError();
    Selection maskSelection(mask, maskBitmap);
    Selection imageSelection(image, bitmap);

    SetBkColor(image, RGB(0, 0, 0));
    if (!BitBlt(mask, 0, 0, size.cx, size.cy, image, 0, 0, SRCCOPY)) OnDrawingError();

    MaskColours colours(dc);
    if (width != 0 && height != 0) {
        if (!StretchBlt(dc, x, y, width, height, mask, 0, 0, size.cx, size.cy, SRCAND)) OnDrawingError();
        if (!StretchBlt(dc, x, y, width, height, image, 0, 0, size.cx, size.cy, SRCPAINT)) OnDrawingError();
    } else {
        if (!BitBlt(dc, x, y, size.cx, size.cy, mask, 0, 0, SRCAND)) OnDrawingError();
        if (!BitBlt(dc, x, y, size.cx, size.cy, image, 0, 0, SRCPAINT)) OnDrawingError();
    }
}

HBITMAP Drawing::LoadBitmapFromFile(const std::string& path) {
    std::wstring widePath = ToWide(path);
    return Made(static_cast<HBITMAP>(
        LoadImageW(nullptr, widePath.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE | LR_CREATEDIBSECTION)));
}

void Drawing::EndDrawing() {
    if (ownsDc) {
        // A memory DC made for drawing keeps its picture bitmap selected for
        // its whole life; release the bitmap together with the DC.
        HGDIOBJ bitmap = dc ? GetCurrentObject(dc, OBJ_BITMAP) : nullptr;
        if (dc) DeleteDC(dc);
        if (bitmap) DeleteObject(bitmap);
        ownsDc = 0;
        dc = nullptr;
    } else if (dc) {
        EndPaint(owner ? owner->hwnd : nullptr, &paint);
        dc = nullptr;
    }
}

}  // namespace Orditex
