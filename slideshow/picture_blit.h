#pragma once
// A picture drawn through a rotation or scaling by a resampler of our own: the painting library's generic
// transformed-image path filters every pixel of the bounding box and is too slow for a full-screen
// picture that turns at the display's frame rate.

#include <QImage>
#include <QTransform>

#include <cstdint>

namespace lanterna {

// smBlocks gives each 2 x 2 block of target pixels the picture's nearest pixel at the block's centre: a
// quarter of the reads, for a picture that moves too fast for its finer detail to be followed.
enum TSampling : std::uint8_t { smNearest, smBilinear, smBlocks };

struct TBlitOptions {
    TSampling Sampling = smBilinear;
    // Pixels the picture's edge passes through get its coverage as alpha instead of all or nothing.
    bool Antialiased = true;
    // Use the wide vector loop when the processor has it; off gives the portable loop.
    bool Vector = true;
    // The picture goes over what the target holds instead of replacing it, and the pixels it does not
    // reach keep theirs: a picture drawn straight onto a surface, without a buffer between.
    bool Blend = false;
};

// Renders `picture` (ARGB32 premultiplied or RGB32) mapped by `transform` (from picture pixels to target
// pixels) into `target`, its pixels scaled by opacity / 255. The target is ARGB32 premultiplied; when
// blending it may also be RGB32, whose pixels stay opaque. Without blending every target pixel is written
// and those the picture does not reach become transparent. An RGB32 picture is opaque: blended, it is
// mixed with the target by the opacity alone, which is quicker than putting each pixel over it. False,
// leaving the target alone, for a format other than those, a null image or a transform that cannot be
// inverted or is not affine.
bool RenderTransformed(QImage& target, const QImage& picture, const QTransform& transform,
                       std::uint8_t opacity, const TBlitOptions& options = {});

// Whether the wide vector loop runs on this processor.
bool VectorBlitAvailable();

} // namespace lanterna
