#pragma once
// Tints and shades of a colour for the faces of the styled buttons.

#include "drawing/fill.h"

namespace lanterna {

// A colour mixed with another: `amount` 0 gives `color`, 1 gives `with`.
inline TColor MixColor(TColor color, TColor with, double amount) {
    const TColor a = ColorToRGB(color), b = ColorToRGB(with);
    auto mix = [&](std::uint8_t x, std::uint8_t y) { return std::uint8_t(Round(x + (y - x) * amount)); };
    return RGBColor(mix(GetRValue(a), GetRValue(b)), mix(GetGValue(a), GetGValue(b)),
                    mix(GetBValue(a), GetBValue(b)));
}

} // namespace lanterna
