#include "support/gdi_support.h"

namespace TestSupport {

namespace {

// The objects left free by the first reading: far more than any test makes
// at a time, few enough to count in a moment. A leak larger than this starves
// the tests that follow in the same program, which then fail as well.
constexpr size_t kGdiReserve = 8192;

// Brushes made until the system refuses one (or a million, past any quota).
std::vector<HBRUSH> BrushesUntilRefused() {
    std::vector<HBRUSH> brushes;
    for (;;) {
        HBRUSH brush = CreateSolidBrush(RGB(1, 2, 3));
        if (!brush) break;
        brushes.push_back(brush);
        if (brushes.size() >= 1000000) break;
    }
    return brushes;
}

void DeleteBrushes(const std::vector<HBRUSH>& brushes) {
    for (HBRUSH brush : brushes) DeleteObject(brush);
}

// What fills the table, held to the end of the program.
struct HeldBrushes {
    HeldBrushes() : brushes(BrushesUntilRefused()) {
        for (size_t freed = 0; freed < kGdiReserve && !brushes.empty(); ++freed) {
            DeleteObject(brushes.back());
            brushes.pop_back();
        }
    }
    ~HeldBrushes() { DeleteBrushes(brushes); }
    std::vector<HBRUSH> brushes;
};

}  // namespace

size_t GdiHeadroom() {
    static HeldBrushes held;
    std::vector<HBRUSH> brushes = BrushesUntilRefused();
    DeleteBrushes(brushes);
    return brushes.size();
}

}  // namespace TestSupport
