#include "slideshow/aspect_fit.h"

namespace lanterna {

TSizeD AspectSize(const TAspectRule& rule, double pw, double ph, double bw, double bh, double percentage) {
    if (!rule.AspectRatio)
        return {bw, bh};
    if (pw <= 0 || ph <= 0 || bw <= 0 || bh <= 0)
        return {};
    if (pw < bw && ph < bh && rule.ItemMode == imNormal)
        return {pw, ph};
    if (bw / bh > pw / ph)
        return {bh * pw / ph * percentage / 100, bh * percentage / 100};
    return {bw * percentage / 100, bw * ph / pw * percentage / 100};
}

} // namespace lanterna
