#pragma once
// The stepping arithmetic of a slide change: the placeholder glides toward its new rectangle and the two
// opacities run toward their targets, each by a share of the remaining distance per step.

#include "platform/types.h"
#include "slideshow/slide_show_types.h"

#include <cstdint>

namespace lanterna {

// Moves v toward target by delta (at least 1.0); snaps it onto target, without counting as a move, once
// it lies strictly within margin of it. True when v moved.
bool AnimateSingle(float& v, float target, float delta, float margin);

// The same on a byte with integer steps (at least 1). The byte never leaves 0 .. 255.
bool AnimateByte(std::uint8_t& b, std::uint8_t target, int delta, int margin);

// One step of the placeholder: X, Y, Width and Height each cover 1/factor of their remaining distance
// (a factor below 1 counts as 1). True when any of them moved.
bool MovePlaceHolder(TGPRectF& current, const TGPRectF& target, int factor);

// One step of the cross-fade: each opacity covers 1/factor of its remaining distance, rounded halves to
// even (a factor below 1 counts as 1). True when either moved.
bool MoveOpacities(TFadeOpacities& fade, int factor);

// The number of members of the set.
int AnimationCount(TSlideShowAnimations animations);
// The member at position r (0-based) in ascending order of ordinal; -1 when there is none.
int AnimationMember(TSlideShowAnimations animations, int r);
// A member chosen uniformly at random from a generator seeded by the clock; -1 for an empty set.
int RandomAnimation(TSlideShowAnimations animations);

} // namespace lanterna
