// Tiny owners for temporary GDI objects, so that no early return can leak a
// device context, a pen, a brush or a mask. Declare the DC first, then the
// object, then the selection: they are released in the reverse order.
#pragma once

#include <windows.h>

#include <cstdint>

namespace Orditex {

// GDI objects the drawing code has made since the program started. Only the
// benchmark reads it, to show what a play step costs in objects.
inline int64_t gdiObjectsMade = 0;

// Counts a newly made GDI object and hands it on.
template <typename Handle>
Handle Made(Handle handle) {
    if (handle) ++gdiObjectsMade;
    return handle;
}

// A memory DC compatible with another, deleted at scope end.
class MemoryDc {
public:
    explicit MemoryDc(HDC compatible) : dc(Made(CreateCompatibleDC(compatible))) {}
    ~MemoryDc() {
        if (dc) DeleteDC(dc);
    }
    MemoryDc(const MemoryDc&) = delete;
    MemoryDc& operator=(const MemoryDc&) = delete;
    operator HDC() const { return dc; }

private:
    HDC dc;
};

// A GDI object (pen, brush, bitmap) deleted at scope end.
template <typename Handle>
class GdiObject {
public:
    explicit GdiObject(Handle handle) : object(Made(handle)) {}
    ~GdiObject() {
        if (object) DeleteObject(object);
    }
    GdiObject(const GdiObject&) = delete;
    GdiObject& operator=(const GdiObject&) = delete;
    operator Handle() const { return object; }

private:
    Handle object;
};

// Selects an object into a DC and selects the previous one back at scope end.
class Selection {
public:
    Selection(HDC target, HGDIOBJ object)
        : dc(target), previous(target && object ? SelectObject(target, object) : nullptr) {}
    ~Selection() {
        if (dc && previous) SelectObject(dc, previous);
    }
    Selection(const Selection&) = delete;
    Selection& operator=(const Selection&) = delete;

private:
    HDC dc;
    HGDIOBJ previous;
};

}  // namespace Orditex
