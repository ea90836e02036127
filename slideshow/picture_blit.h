#pragma once
// A picture drawn through a rotation or scaling by a resampler of our own: the painting library's generic
// transformed-image path filters every pixel of the bounding box and is too slow for a full-screen
// picture that turns at the display's frame rate.

#include <QImage>
#include <QTransform>

#include <cstdint>

namespace lanterna {

enum TSampling : std::uint8_t { smNearest, smBilinear };

struct TBlitOptions {
    TSampling Sampling = smBilinear;
    // Pixels the picture's edge passes through get its coverage as alpha instead of all or nothing.
    bool Antialiased = true;
    // Use the wide vector loop when the processor has it; off gives the portable loop.
    bool Vector = true;
};

// Renders `picture` (ARGB32 premultiplied or RGB32) mapped by `transform` (from picture pixels to target
// pixels) into `target` (ARGB32 premultiplied), its pixels scaled by opacity / 255. Every target pixel
// is written; those the picture does not reach become transparent. False, leaving the target alone, for
// a format other than those, a null image or a transform that cannot be inverted or is not affine.
bool RenderTransformed(QImage& target, const QImage& picture, const QTransform& transform,
                       std::uint8_t opacity, const TBlitOptions& options = {});

// Whether the wide vector loop runs on this processor.
bool VectorBlitAvailable();

} // namespace lanterna
