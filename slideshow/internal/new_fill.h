#pragma once
// A fill of the slide show's default look: one or two colours, a gradient and a silver border.

#include "drawing/fill.h"

#include <memory>

namespace lanterna {

inline std::unique_ptr<TFill> NewFill(TColor color, TColor colorTo, TGradientType type) {
    auto fill = std::make_unique<TFill>();
    fill->SetColor(color);
    fill->SetColorTo(colorTo);
    fill->SetGradientType(type);
    fill->SetBorderColor(clSilver);
    return fill;
}

} // namespace lanterna
