#pragma once
// A colour scheme handed to styled components: brush, border and text colour per state.

#include "platform/types.h"

namespace lanterna {

struct TColorTone {
    TColor BrushColor = clNone;
    TColor BorderColor = clNone;
    TColor TextColor = clNone;
};

struct TColorTones {
    TColorTone Background;
    TColorTone Foreground;
    TColorTone Selected;
    TColorTone Hover;
    TColorTone Disabled;
};

} // namespace lanterna
