#include "support/gdi_support.h"

namespace TestSupport {

size_t GdiHeadroom() {
    std::vector<HBRUSH> brushes;
    brushes.reserve(70000);
    for (;;) {
        HBRUSH brush = CreateSolidBrush(RGB(1, 2, 3));
        if (!brush) break;
        brushes.push_back(brush);
        if (brushes.size() >= 1000000) break;
    }
    for (HBRUSH brush : brushes) DeleteObject(brush);
    return brushes.size();
}

}  // namespace TestSupport
