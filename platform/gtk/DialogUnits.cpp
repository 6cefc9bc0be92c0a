#include "DialogUnits.h"

namespace tessaly {

namespace {
// MulDiv: a * b / c rounded to nearest, halves away from zero.
int MulDiv(int a, int b, int c) {
    if (c == 0) return 0;
    const long long product = static_cast<long long>(a) * b;
    const long long half = (c < 0 ? -c : c) / 2;
    const long long adjusted = (product < 0) == (c < 0) ? product + half : product - half;
    return static_cast<int>(adjusted / c);
}
}  // namespace

DialogBaseUnits BaseUnitsFromFont(int alphabetWidth, int fontHeight) {
    DialogBaseUnits base;
    base.x = (alphabetWidth / 26 + 1) / 2;
    base.y = fontHeight;
    // A font too small to measure still gives a usable dialog.
    if (base.x < 1) base.x = 1;
    if (base.y < 1) base.y = 1;
    return base;
}

int HorizontalPixels(int dialogUnits, DialogBaseUnits base) { return MulDiv(dialogUnits, base.x, 4); }

int VerticalPixels(int dialogUnits, DialogBaseUnits base) { return MulDiv(dialogUnits, base.y, 8); }

}  // namespace tessaly
