#pragma once
// The round scroll handles at the two ends of the thumbnail band: where they sit and how they look.

#include "drawing/gp_graphics.h"
#include "slideshow/handle_appearance.h"
#include "slideshow/slide_show_types.h"

#include <cstdint>

namespace lanterna {

enum THandleSide : std::uint8_t { hsLeft, hsRight, hsTop, hsBottom };

// A band at the top or bottom runs along X; one at the left or right along Y.
inline bool Horizontal(TThumbNailPosition position) {
    return position == tpTop || position == tpBottom;
}

// Each channel moved `percent` of the way towards white, or towards black.
TColor Lighter(TColor color, int percent);
TColor Darker(TColor color, int percent);

// The square of a handle of diameter `size`, centred on the middle of one end of the band.
TGPRectF HandleRect(THandleSide side, const TGPRectF& band, int size);

// A half-disc inside the band with a gloss, an outline and an arrow; darker while pressed, lighter
// while only hovered.
void DrawHandle(TGPGraphics& g, THandleSide side, const TGPRectF& square, const THandleAppearance& look,
                bool down, bool hover);

} // namespace lanterna
