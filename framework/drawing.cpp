#include "framework/drawing.h"

#include "framework/gdi_guards.h"
#include "framework/gui_element.h"
#include "framework/shell.h"

#include <algorithm>
#include <unordered_map>

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

// A bitmap made here, selected in a memory DC made here; Release deletes both.
struct OwnBitmap {
    bool Make(HDC like, HBITMAP made) {
        bitmap = made;
        dc = Made(CreateCompatibleDC(like));
        if (bitmap && dc) previous = SelectObject(dc, bitmap);
        if (!previous) Release();
        return dc != nullptr;
    }
    void Release() {
        if (dc) {
            if (previous) SelectObject(dc, previous);
            DeleteDC(dc);
        }
        if (bitmap) DeleteObject(bitmap);
        *this = OwnBitmap();
    }

    HDC dc = nullptr;
    HBITMAP bitmap = nullptr;
    HGDIOBJ previous = nullptr;
};

// A picture ready to copy from: its bitmap selected in a memory DC, and once
// asked for, the mask of its pure black pixels and a copy of it in the format
// of the DC it is drawn on.
class PreparedPicture {
public:
    bool Prepare(HDC like, HBITMAP picture) {
        size = BitmapSize(picture);
        dc = Made(CreateCompatibleDC(like));
        if (dc) previous = SelectObject(dc, picture);
        return previous != nullptr;
    }
    // White where the picture is pure black, black elsewhere; made on the
    // first call. None when it cannot be made.
    HDC Mask() {
        if (mask.dc || !dc) return mask.dc;
        if (!mask.Make(dc, Made(CreateBitmap(size.cx, size.cy, 1, 1, nullptr)))) return nullptr;
        // In a colour-to-monochrome copy the source's background colour
        // becomes white and every other colour black.
        SetBkColor(dc, RGB(0, 0, 0));
        BitBlt(mask.dc, 0, 0, size.cx, size.cy, dc, 0, 0, SRCCOPY);
        return mask.dc;
    }
    // The picture in the pixel format of the DC it is drawn on, made on the
    // first call: a copy between two DCs of one format converts nothing, and
    // converting (the game's pictures have 8 bits per pixel) costs more than
    // the copy itself. The picture's own DC when it cannot be made.
    HDC Converted(HDC target) {
        if (converted.dc || !dc) return converted.dc ? converted.dc : dc;
        if (!converted.Make(target, Made(CreateCompatibleBitmap(target, size.cx, size.cy)))) return dc;
        if (!BitBlt(converted.dc, 0, 0, size.cx, size.cy, dc, 0, 0, SRCCOPY)) {
            converted.Release();
            return dc;
        }
        return converted.dc;
    }
    // Everything made here is deleted; the picture itself is left alone.
    void Release() {
        mask.Release();
        converted.Release();
        if (dc) {
            if (previous) SelectObject(dc, previous);
            DeleteDC(dc);
        }
        *this = PreparedPicture();
    }

    HDC dc = nullptr;
    SIZE size{0, 0};

private:
    HGDIOBJ previous = nullptr;
    OwnBitmap mask;
    OwnBitmap converted;
};

// The kept pictures, by bitmap. A handful at most: the game's pictures and
// the sprites' saved backgrounds.
std::unordered_map<HBITMAP, PreparedPicture>& KeptPictures() {
    static std::unordered_map<HBITMAP, PreparedPicture> kept;
    return kept;
}

// The picture a copy reads from or writes to: the kept one, or one prepared
// for this copy alone and released at its end.
class PictureDc {
public:
    PictureDc(HDC like, HBITMAP bitmap) {
        auto found = KeptPictures().find(bitmap);
        if (found != KeptPictures().end()) {
            picture = &found->second;
        } else if (temporary.Prepare(like, bitmap)) {
            picture = &temporary;
        }
    }
    ~PictureDc() { temporary.Release(); }
    PictureDc(const PictureDc&) = delete;
    PictureDc& operator=(const PictureDc&) = delete;

    explicit operator bool() const { return picture != nullptr; }
    HDC Dc() const { return picture->dc; }
    SIZE Size() const { return picture->size; }
    HDC Mask() const { return picture->Mask(); }
    // What a transparent copy paints from: for a kept picture its copy in
    // the target's format, made once; for any other the picture itself
    // (converting it for one copy would cost more than it saves).
    HDC PaintSource(HDC target) const { return picture == &temporary ? picture->dc : picture->Converted(target); }

private:
    PreparedPicture temporary;
    PreparedPicture* picture = nullptr;
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
    PictureDc source(dc, bitmap);
    if (!source) return OnDrawingError();
    SIZE size = source.Size();
    if (!BitBlt(dc, 0, 0, size.cx, size.cy, source.Dc(), 0, 0, SRCCOPY)) OnDrawingError();
}

void Drawing::DrawImage(HBITMAP bitmap, int32_t x, int32_t y, int32_t width, int32_t height) {
    if (!dc || !bitmap) return;
    PictureDc source(dc, bitmap);
    if (!source) return OnDrawingError();
    SIZE size = source.Size();
    BOOL done = width != 0 && height != 0
                    ? StretchBlt(dc, x, y, width, height, source.Dc(), 0, 0, size.cx, size.cy, SRCCOPY)
                    : BitBlt(dc, x, y, size.cx, size.cy, source.Dc(), 0, 0, SRCCOPY);
    if (!done) OnDrawingError();
}

void Drawing::DrawImagePart(HBITMAP bitmap, int32_t x, int32_t y, int32_t width, int32_t height, int32_t srcX,
                            int32_t srcY) {
    if (!dc || !bitmap) return;
    PictureDc source(dc, bitmap);
    if (!source) return OnDrawingError();
    if (!BitBlt(dc, x, y, width, height, source.Dc(), srcX, srcY, SRCCOPY)) OnDrawingError();
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

bool Drawing::CopyRegionInto(HBITMAP target, int32_t x, int32_t y, int32_t width, int32_t height) {
    if (!dc || !target) return false;
    PictureDc copy(dc, target);
    if (!copy) {
        OnDrawingError();
        return false;
    }
    if (BitBlt(copy.Dc(), 0, 0, width, height, dc, x, y, SRCCOPY)) return true;
    OnDrawingError();
    return false;
}

void Drawing::DrawImagePartTransparent(HBITMAP bitmap, int32_t x, int32_t y, int32_t width, int32_t height,
                                       int32_t srcY) {
    if (!dc || !bitmap) return;
    PictureDc image(dc, bitmap);
    if (!image) return OnDrawingError();
    // Only the part of the cell that lies on the strip is copied: a cell may
    // reach past the strip (below its end, wider than it, above its first
    // row), and there the target keeps its pixels.
    SIZE strip = image.Size();
    int32_t top = std::max<int32_t>(srcY, 0);
    int32_t bottom = std::min<int32_t>(srcY + height, strip.cy);
    int32_t columns = std::min<int32_t>(width, strip.cx);
    if (columns <= 0 || bottom <= top) return;
    HDC mask = image.Mask();
    if (!mask) return OnDrawingError();

    MaskColours colours(dc);
    int32_t targetY = y + (top - srcY);
    if (!BitBlt(dc, x, targetY, columns, bottom - top, mask, 0, top, SRCAND)) OnDrawingError();
    if (!BitBlt(dc, x, targetY, columns, bottom - top, image.PaintSource(dc), 0, top, SRCPAINT)) OnDrawingError();
}

void Drawing::DrawImageTransparent(HBITMAP bitmap, int32_t x, int32_t y, int32_t width, int32_t height) {
    if (!dc || !bitmap) return;
    PictureDc image(dc, bitmap);
    if (!image) return OnDrawingError();
    HDC mask = image.Mask();
    if (!mask) return OnDrawingError();
    SIZE size = image.Size();

    MaskColours colours(dc);
    if (width != 0 && height != 0) {
        if (!StretchBlt(dc, x, y, width, height, mask, 0, 0, size.cx, size.cy, SRCAND)) OnDrawingError();
        if (!StretchBlt(dc, x, y, width, height, image.PaintSource(dc), 0, 0, size.cx, size.cy, SRCPAINT))
            OnDrawingError();
    } else {
        if (!BitBlt(dc, x, y, size.cx, size.cy, mask, 0, 0, SRCAND)) OnDrawingError();
        if (!BitBlt(dc, x, y, size.cx, size.cy, image.PaintSource(dc), 0, 0, SRCPAINT)) OnDrawingError();
    }
}

HBITMAP Drawing::LoadBitmapFromFile(const std::string& path) {
    std::wstring widePath = ToWide(path);
    return Made(static_cast<HBITMAP>(
        LoadImageW(nullptr, widePath.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE | LR_CREATEDIBSECTION)));
}

void Drawing::KeepPicture(HBITMAP bitmap) {
    if (!bitmap || KeptPictures().count(bitmap)) return;
    PreparedPicture picture;
    if (picture.Prepare(nullptr, bitmap))
        KeptPictures()[bitmap] = picture;
    else
        picture.Release();
}

void Drawing::DeletePicture(HBITMAP bitmap) {
    if (!bitmap) return;
    auto found = KeptPictures().find(bitmap);
    if (found != KeptPictures().end()) {
        found->second.Release();
        KeptPictures().erase(found);
    }
    DeleteObject(bitmap);
}

HDC Drawing::BeginPainting() {
    EndDrawing();
    lent = Lent::ByPaint;
    dc = BeginPaint(owner ? owner->hwnd : nullptr, &paint);
    return dc;
}

HDC Drawing::BorrowWindowDc() {
    EndDrawing();
    lent = Lent::ByWindow;
    dc = GetDC(owner ? owner->hwnd : nullptr);
    return dc;
}

void Drawing::OwnMemoryDc(HDC memory) {
    EndDrawing();
    dc = memory;
    ownsDc = memory ? 1 : 0;
}

void Drawing::BorrowDc(HDC foreign) {
    EndDrawing();
    lent = Lent::ByOther;
    dc = foreign;
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
        HWND window = owner ? owner->hwnd : nullptr;
        if (lent == Lent::ByPaint) EndPaint(window, &paint);
        if (lent == Lent::ByWindow) ReleaseDC(window, dc);
        // A DC lent by anyone else is theirs to release.
        dc = nullptr;
    }
}

}  // namespace Orditex
