#pragma once
// How a picture is fitted into a box: the rule shared by the slide layout and the thumbnails.

#include "slideshow/slide_show_types.h"

#include <QSize>

namespace lanterna {

// The fit rule of a control: AspectRatio off stretches to the box; imNormal keeps smaller pictures.
struct TAspectRule {
    bool AspectRatio = true;
    TSlideShowItemMode ItemMode = imNormal;
};

// The size at which a picture of pw x ph is shown in a box of bw x bh at `percentage` of the fit.
TSizeD AspectSize(const TAspectRule& rule, double pw, double ph, double bw, double bh, double percentage);

// Where a control shows its slides' pictures: fitted into Box by Rule at Percentage of the fit.
struct TPictureLayout {
    TSizeD Box;
    TAspectRule Rule;
    double Percentage = 100;
};

// The size at which the layout shows a picture of `picture` size.
TSizeD FittedSize(const TPictureLayout& layout, QSize picture);

} // namespace lanterna
