#pragma once
// The drawing of a slide show's parts onto a surface: the cached background, one slide's picture
// (plainly, or animated and faded during a slide change) and the description band over a picture.

#include "drawing/fill.h"
#include "slideshow/slide_show_types.h"
#include "slideshow/text_font.h"

#include <QRect>

#include <memory>

namespace lanterna {

// The background, rendered once with its fill into a bitmap of the control's size and copied on every
// repaint until it is invalidated.
class TBackgroundCache {
public:
    // The next Draw renders the bitmap again.
    void Invalidate() { FValid = false; }
    bool Valid() const { return FValid; }
    // Copies the bitmap to (0, 0), but for the pixels of `covered`, first rendering it with `fill` over
    // (0, 0, width - 1, height - 1) when the cache is not valid. A control without area has no bitmap and
    // draws nothing.
    void Draw(TGPGraphics& g, int width, int height, TFill& fill, const QRect& covered = {});
    const TGPBitmap* Bitmap() const { return FBitmap.get(); }

private:
    std::unique_ptr<TGPBitmap> FBitmap;
    bool FValid = false;
};

// How the pictures of a slide change are drawn.
struct TPictureAnimation {
    bool Fade = true;       // the opacity becomes the picture's alpha
    bool LoadEffect = true; // the incoming picture animates too, not only the outgoing one
    int Effect = -1;        // the TSlideShowAnimation ordinal; -1 draws nothing while animating
};

// A picture drawn with opacity below 255 is animated when it is the outgoing picture or the animation
// has LoadEffect; any other picture is drawn plainly.
bool Animates(std::uint8_t opacity, bool outgoing, const TPictureAnimation& animation);

// The colour matrix that draws with `opacity` as alpha (identity otherwise).
TColorMatrix OpacityMatrix(std::uint8_t opacity);

// Draws a slide's picture into r: animated at progress opacity / 255 when `animated`, else stretched at
// full alpha. A null picture draws nothing. The picture may come scaled to r's size already (see
// TScaledPictures), which spares resampling it, with a coarse copy for the fast frames of an animation.
// False when the picture is animated at progress 0: then nothing at all belongs to the slide in this
// paint, not even its description.
bool DrawSlidePicture(TGPGraphics& g, const QImage& picture, const TGPRectF& r, std::uint8_t opacity,
                      bool animated, const TPictureAnimation& animation, const QImage& coarse = QImage());

// The band of a description over the picture rectangle r: across its width at its top or bottom, as
// tall as the text laid out in r plus 5 pixels above and below, the text aligned by `position`.
void DrawDescription(TGPGraphics& g, const QString& description, const TTextFont& font,
                     TDescriptionPosition position, const TGPRectF& r, TFill& fill);

} // namespace lanterna
