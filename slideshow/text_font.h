#pragma once
// A slide's font: a face, size and style with the colour its text is drawn in.

#include "platform/types.h"

#include <QFont>
#include <QGuiApplication>

namespace lanterna {

struct TTextFont {
    QFont Font = QGuiApplication::font();
    TColor Color = clBlack;
    friend bool operator==(const TTextFont&, const TTextFont&) = default;
};

} // namespace lanterna
