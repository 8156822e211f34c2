#include "framework/gui_element.h"
#include "framework/shell.h"

namespace Orditex {

FontSpec::FontSpec() : face(L"System") {}

FontSpec::FontSpec(const std::string& faceName, int32_t cellHeight) : face(ToWide(faceName)), height(cellHeight) {}

FontSpec::~FontSpec() {
    if (handle) DeleteObject(handle);
}

HFONT FontSpec::GetHandle() {
    if (!handle) {
        handle = CreateFontW(height, 0, 0, 0, bold ? FW_BOLD : FW_NORMAL, italic, underline, FALSE, DEFAULT_CHARSET,
                             OUT_OUTLINE_PRECIS, CLIP_DEFAULT_PRECIS, CLEARTYPE_QUALITY, fixedPitch ? FIXED_PITCH : 0,
                             face.c_str());
    }
    return handle;
}

}  // namespace Orditex
