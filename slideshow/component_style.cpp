// The built-in colour schemes of the slide show.
#include "slideshow/slide_show.h"

#include "drawing/fill.h"

#include <array>

namespace lanterna {

namespace {

struct TStyleColors {
    TColor Background, BackgroundTo, Border;
    TColor Holder, HolderTo;
    TColor PlaceHolder;
    TColor Selected, SelectedTo, SelectedMirror, SelectedMirrorTo, SelectedBorder;
};

// 0 light, 1 blue, 2 silver, 3 olive, 4 dark.
constexpr std::array<TStyleColors, 5> kStyles{{
    {clWhite, clNone, clSilver, RGBColor(0xF0, 0xF0, 0xF0), clNone, clWhite, RGBColor(0xFF, 0xD9, 0xAA),
     RGBColor(0xFF, 0xBB, 0x6E), RGBColor(0xFE, 0xAE, 0x42), RGBColor(0xFE, 0xE1, 0x7A),
     RGBColor(0xFE, 0xAE, 0x42)},
    {RGBColor(0xDD, 0xEB, 0xF7), RGBColor(0xA5, 0xC8, 0xEC), RGBColor(0x6F, 0x96, 0xC6),
     RGBColor(0xE3, 0xEF, 0xFF), RGBColor(0xAF, 0xD2, 0xFF), clWhite, RGBColor(0xFF, 0xF1, 0xC9),
     RGBColor(0xFF, 0xD5, 0x8A), RGBColor(0xFF, 0xC6, 0x5C), RGBColor(0xFF, 0xE9, 0x9C),
     RGBColor(0xE3, 0xA7, 0x3C)},
    {RGBColor(0xF2, 0xF2, 0xF2), RGBColor(0xC9, 0xCC, 0xD1), RGBColor(0x8B, 0x8E, 0x94),
     RGBColor(0xEE, 0xEF, 0xF1), RGBColor(0xD2, 0xD4, 0xD9), clWhite, RGBColor(0xF5, 0xF6, 0xF8),
     RGBColor(0xD9, 0xDB, 0xE0), RGBColor(0xC4, 0xC7, 0xCE), RGBColor(0xE8, 0xEA, 0xEE),
     RGBColor(0x7E, 0x81, 0x88)},
    {RGBColor(0xEE, 0xF2, 0xDF), RGBColor(0xC6, 0xD1, 0xA5), RGBColor(0x8A, 0x99, 0x5C),
     RGBColor(0xF1, 0xF5, 0xE4), RGBColor(0xD4, 0xDE, 0xB6), clWhite, RGBColor(0xF8, 0xF3, 0xC4),
     RGBColor(0xE9, 0xDC, 0x86), RGBColor(0xDC, 0xC8, 0x5A), RGBColor(0xF1, 0xE8, 0xA6),
     RGBColor(0x9A, 0x8A, 0x3A)},
    {RGBColor(0x40, 0x40, 0x40), RGBColor(0x10, 0x10, 0x10), clBlack, RGBColor(0x30, 0x30, 0x30),
     RGBColor(0x18, 0x18, 0x18), RGBColor(0x60, 0x60, 0x60), RGBColor(0x70, 0x70, 0x70),
     RGBColor(0x50, 0x50, 0x50), RGBColor(0x40, 0x40, 0x40), RGBColor(0x60, 0x60, 0x60),
     RGBColor(0x90, 0x90, 0x90)},
}};

void Paint(TFill& fill, TColor color, TColor colorTo, TColor border) {
    fill.SetColor(color);
    fill.SetColorTo(colorTo);
    fill.SetGradientType(colorTo == clNone ? gtSolid : gtVertical);
    fill.SetBorderColor(border);
}

} // namespace

void TSlideShow::SetComponentStyle(int style) {
    if (style < 0 || style >= int(kStyles.size()))
        return;
    const TStyleColors& c = kStyles[std::size_t(style)];
    Paint(*FFill, c.Background, c.BackgroundTo, c.Border);
    Paint(*FBand.HolderFill(), c.Holder, c.HolderTo, c.Border);
    Paint(*FPlaceHolderFill, c.PlaceHolder, clNone, c.Border);
    TFill& selected = *FBand.SelectedFill();
    Paint(selected, c.Selected, c.SelectedTo, c.SelectedBorder);
    selected.SetColorMirror(c.SelectedMirror);
    selected.SetColorMirrorTo(c.SelectedMirrorTo);
    selected.SetGradientMirrorType(gtVertical);
    selected.SetGlow(gmGradient);
    selected.SetRounding(2);
}

} // namespace lanterna
