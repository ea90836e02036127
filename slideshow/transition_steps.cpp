#include "slideshow/internal/transition_steps.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <random>

namespace lanterna {

bool AnimateSingle(float& v, float target, float delta, float margin) {
    if (double(target) - margin < v && v < double(target) + margin) {
        v = target;
        return false;
    }
    const float step = delta < 1.0f ? 1.0f : delta;
    if (v >= target)
        v -= step;
    else
        v += step;
    return true;
}

bool AnimateByte(std::uint8_t& b, std::uint8_t target, int delta, int margin) {
    if (target - margin < b && b < target + margin) {
        b = target;
        return false;
    }
    const int step = delta < 1 ? 1 : delta;
    b = static_cast<std::uint8_t>(std::clamp(target > b ? b + step : b - step, 0, 255));
    return true;
}

namespace {

int AtLeastOne(int factor) {
    return factor < 1 ? 1 : factor;
}

// The step is worked out in double precision and handed on as a float.
bool MoveEdge(float& v, float target, int factor) {
    const double delta = std::abs(double(target) - double(v)) / factor;
    return AnimateSingle(v, target, static_cast<float>(delta), 1.0f);
}

bool MoveOpacity(std::uint8_t& o, std::uint8_t target, int factor) {
    const double delta = std::abs(double(target) - double(o)) / factor;
    return AnimateByte(o, target, static_cast<int>(Round(delta)), 1);
}

} // namespace

bool MovePlaceHolder(TGPRectF& current, const TGPRectF& target, int factor) {
    const int f = AtLeastOne(factor);
    // Every edge moves on its own: no short-circuit.
    const bool x = MoveEdge(current.X, target.X, f);
    const bool y = MoveEdge(current.Y, target.Y, f);
    const bool w = MoveEdge(current.Width, target.Width, f);
    const bool h = MoveEdge(current.Height, target.Height, f);
    return x || y || w || h;
}

bool MoveOpacities(TFadeOpacities& fade, int factor) {
    const int f = AtLeastOne(factor);
    const bool current = MoveOpacity(fade.Current, fade.CurrentTo, f);
    const bool next = MoveOpacity(fade.Next, fade.NextTo, f);
    return current || next;
}

int AnimationCount(TSlideShowAnimations animations) {
    return animations.Count();
}

int AnimationMember(TSlideShowAnimations animations, int r) {
    if (r < 0)
        return -1;
    for (int a = 0; a < kAnimationMemberCount; ++a) {
        if (animations.Contains(static_cast<TSlideShowAnimation>(a)) && r-- == 0)
            return a;
    }
    return -1;
}

int RandomAnimation(TSlideShowAnimations animations) {
    const int count = AnimationCount(animations);
    if (count == 0)
        return -1;
    std::mt19937 generator(
        static_cast<std::uint32_t>(std::chrono::steady_clock::now().time_since_epoch().count()));
    std::uniform_int_distribution<int> draw(0, count - 1);
    return AnimationMember(animations, draw(generator));
}

} // namespace lanterna
