#pragma once
// Enumerations and sets of the slide-show control and its slides.

#include "platform/types.h"

#include <cstdint>

namespace lanterna {

// The point lies in the rectangle, edges included: the hit test of pictures, cells and handles.
inline bool Contains(const TGPRectF& r, double x, double y) {
    return x >= r.X && x <= r.X + r.Width && y >= r.Y && y <= r.Y + r.Height;
}

// Loading state of a slide's picture and of its thumbnail.
enum TImageThreadStatus : std::uint8_t { stNone, stInitialized, stLoading, stLoaded };

enum TSlideShowItemKind : std::uint8_t { ikImage, ikControl, ikPreview, ikText, ikImageText, ikCustom };

// Side of the picture on which an image-and-text slide puts its text.
enum TSlideShowTextLocation : std::uint8_t { tlLeft, tlTop, tlRight, tlBottom };

enum TDescriptionPosition : std::uint8_t {
    dpTopLeft,
    dpTopCenter,
    dpTopRight,
    dpBottomLeft,
    dpBottomCenter,
    dpBottomRight
};

enum TVerticalAlignment : std::uint8_t { taAlignTop, taAlignBottom, taVerticalCenter };
enum TAlignment : std::uint8_t { taLeftJustify, taRightJustify, taCenter };

// imStretch scales every picture to the space; imNormal keeps smaller pictures at their size.
enum TSlideShowItemMode : std::uint8_t { imStretch, imNormal };

enum TSlideShowTransition : std::uint8_t { stFade, stPlaceHolder };
using TSlideShowTransitions = TSet<TSlideShowTransition>;

enum TSlideShowAnimation : std::uint8_t {
    saBottomLeftToTopRight,
    saBottomRightToTopLeft,
    saTopLeftToBottomRight,
    saTopRightToBottomLeft,
    saBottomToTop,
    saTopToBottom,
    saLeftToRight,
    saRightToLeft,
    saWipeBottomToTop,
    saWipeTopToBottom,
    saWipeLeftToRight,
    saWipeRightToLeft,
    saWipeBottomLeftToTopRight,
    saWipeBottomRightToTopLeft,
    saWipeTopLeftToBottomRight,
    saWipeTopRightToBottomLeft,
    saCheckBoard,
    saVerticalCheckBoard,
    saHorizontalCheckBoard,
    saEllipse,
    saRectangle,
    saRotate,
    saSpin,
    saSpiral,
    saFadeInOut,
    saTearHorizontal,
    saTearVertical,
    saTearRotate
};
inline constexpr int kAnimationMemberCount = saTearRotate + 1;
using TSlideShowAnimations = TSet<TSlideShowAnimation>;

enum TThumbNailPosition : std::uint8_t { tpLeft, tpTop, tpRight, tpBottom };

// A width and height in 64-bit floats, as the picture fit returns them.
struct TSizeD {
    double Width = 0, Height = 0;
    friend bool operator==(const TSizeD&, const TSizeD&) = default;
};

// The two opacities of a cross-fade and where they run to.
struct TFadeOpacities {
    std::uint8_t Current = 255; // the outgoing picture
    std::uint8_t CurrentTo = 0;
    std::uint8_t Next = 0; // the incoming picture
    std::uint8_t NextTo = 255;
};

} // namespace lanterna
