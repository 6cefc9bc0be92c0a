// Dialog units: the dialog is laid out in units of its font, so it keeps its
// proportions whatever font and resolution the desktop uses. One horizontal
// unit is a quarter of the font's average character width, one vertical
// unit an eighth of its height.
#pragma once

namespace tessaly {

struct DialogBaseUnits {
    int x = 0;  // average character width, pixels
    int y = 0;  // character height, pixels
};

// The letters whose mean width is the font's average character width.
constexpr const char* kBaseUnitAlphabet = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";

// From the pixel width of kBaseUnitAlphabet and the font's line height,
// rounded as the Windows dialog manager rounds them.
DialogBaseUnits BaseUnitsFromFont(int alphabetWidth, int fontHeight);

// Pixels for a length in dialog units (rounded to nearest, halves away from 0).
int HorizontalPixels(int dialogUnits, DialogBaseUnits base);
int VerticalPixels(int dialogUnits, DialogBaseUnits base);

// The sizes the dialog takes from its template, in dialog units.
struct DialogSize {
    int width;
    int height;
};
constexpr DialogSize kPreviewSize{92, 69};       // the frame the live preview covers
constexpr int kExplanationWidth = 102;           // the wrapped explanatory texts
constexpr int kSliderWidth = 94;                 // each slider
constexpr int kButtonWidth = 50;                 // OK, About, Cancel
constexpr int kNoticeWidth = 183;                // the author's notice
constexpr int kAboutTextWidth = 161;             // the About box's description

}  // namespace tessaly
