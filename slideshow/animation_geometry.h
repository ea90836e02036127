#pragma once
// The 28 picture animations of a slide change: for a picture rectangle and a progress p (0 = fully out,
// 1 = fully in place), where the picture is drawn, through which clip and under which transform.

#include "drawing/gp_graphics.h"

#include <optional>
#include <vector>

namespace lanterna {

// One draw of the picture: the clip is set first, in the surface's own coordinates, then the transform;
// the picture is stretched into Dest (in the transformed coordinates).
struct TAnimationDraw {
    std::optional<TGPGraphicsPath> Clip{};
    CombineMode ClipMode = CombineModeReplace;
    // A clip made of rectangles that do not overlap, intersected with the surface's clip. The picture is
    // drawn through one rectangle at a time, which gives the same pixels as one draw through their union
    // at a fraction of the cost of a complex clip.
    std::vector<TGPRectF> Cells{};
    std::optional<TGPMatrix> Transform{};
    TGPRectF Dest{};
};

// The draws of animation `effect` (a TSlideShowAnimation ordinal) at progress p for the picture
// rectangle r; none for an effect that names no animation.
std::vector<TAnimationDraw> AnimationDraws(int effect, float p, const TGPRectF& r);

// Whether animation `effect` turns or scales the picture on its way, rather than moving or clipping it.
bool TurnsOrScales(int effect);

// Draws the whole picture into dest. A picture prepared at dest's size (within a pixel) is copied pixel for
// pixel at its own size instead of being resampled.
void DrawPicture(TGPGraphics& g, const TGPImage& picture, const TGPRectF& dest,
                 const TGPImageAttributes* attributes);

// With reference drawing on, every picture goes through the painting library's own smooth transformed
// drawing instead of the faster paths of this library: the output those are measured against. Off
// unless a tool turns it on.
void SetReferenceDrawing(bool on);
bool ReferenceDrawing();

// Draws the whole picture with animation `effect` at progress p into r, through `attributes`; the
// surface's clip and transform are reset after each draw. A turned or scaled picture that is sampled
// from its nearest pixels is read from `coarse` instead when that is not null: the same picture at a
// lower resolution (see TScaledPictures::Coarse).
void DrawAnimation(TGPGraphics& g, const TGPImage& picture, const TGPRectF& r, float p, int effect,
                   const TGPImageAttributes* attributes, const QImage& coarse = QImage());

} // namespace lanterna
