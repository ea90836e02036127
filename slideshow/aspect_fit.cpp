#include "slideshow/internal/aspect_fit.h"

#include "drawing/fill.h"

namespace lanterna {

TSizeD AspectSize(const TAspectRule& rule, double pw, double ph, double bw, double bh, double percentage) {
    if (!rule.AspectRatio)
        return {bw, bh};
    if (pw <= 0 || ph <= 0 || bw <= 0 || bh <= 0)
        return {};
    const TPictureMode mode = rule.ItemMode == imNormal ? pmNormal : pmStretch;
    const auto [w, h] = AspectFit(pw, ph, bw, bh, mode);
    // A picture kept at its own size is not scaled by the percentage either.
    if (mode == pmNormal && pw < bw && ph < bh)
        return {pw, ph};
    return {w * percentage / 100, h * percentage / 100};
}

TSizeD FittedSize(const TPictureLayout& layout, QSize picture) {
    return AspectSize(layout.Rule, picture.width(), picture.height(), layout.Box.Width, layout.Box.Height,
                      layout.Percentage);
}

} // namespace lanterna
