#pragma once
// What the user-interface thread hands the loader thread for one slide, and what comes back.
// Both are plain values: the loader never touches a slide or a widget.

#include "drawing/gp_graphics.h"
#include "slideshow/internal/aspect_fit.h"
#include "slideshow/internal/text_render.h"
#include "slideshow/slide_show_types.h"

#include <QByteArray>
#include <QImage>
#include <QSize>
#include <QString>

#include <cstdint>
#include <functional>

namespace lanterna {

// Draws over a text, image-and-text or custom slide's bitmap; runs on the loader thread.
using TCustomDrawHandler =
    std::function<void(int itemIndex, TGPGraphics& g, const TGPRectF& r, TSlideShowItemKind kind)>;

struct TLoadJob {
    // Identifies the state of the slide the job was made from; a result whose tag no slide carries
    // any more is stale and dropped.
    std::uint64_t Tag = 0;
    int ItemIndex = 0;
    TSlideShowItemKind Kind = ikImage;
    QString Location;
    // The slide's picture data when its holder is not empty: it is decoded as it is, and the
    // source is not read again.
    bool HolderFilled = false;
    QByteArray HolderBytes;
    // ikControl: the control as captured on the user-interface thread.
    QImage ControlCapture;
    // ikText, ikImageText. The font travels as its description so that the loader owns its copy.
    TTextStyle TextStyle;
    QString TextFontDescription;
    TSlideShowTextLocation TextLocation = tlBottom;
    QSize CustomSize;
    TCustomDrawHandler CustomDraw;
    // Largest size to decode the picture at; empty when only the size and the thumbnail are wanted.
    QSize DecodeBound;
    // The size the slide is drawn at once its layout is known, else empty: then the size follows from the
    // picture's own size and PictureLayout. A picture that fits into DecodeBound is decoded at just that
    // size, so that it is drawn without a scaled copy beside it.
    QSize DrawnSize;
    TPictureLayout PictureLayout;
    // Only decode again a slide that was built before: its kept data when it has any, else its
    // source; no thumbnail, no drawing events.
    bool Redecode = false;
    // Thumbnail box and fit rule; an empty box asks for no thumbnail.
    QSize ThumbBox;
    TAspectRule ThumbRule;
};

struct TLoadResult {
    std::uint64_t Tag = 0;
    // The picture data was built: the slide's picture holder is not empty.
    bool Built = false;
    // Data the slide must keep because it cannot be read again (rendered or captured slides).
    QByteArray KeepBytes;
    QSize NaturalSize;
    // The picture decoded within DecodeBound at the size it is drawn at (null when not asked for, or not
    // sized).
    QImage Picture;
    QImage Thumbnail;
};

} // namespace lanterna
