#pragma once
// Fonts by the names the windows were designed with.

#include <QFont>
#include <QString>

namespace lanterna {

// Registers the metric-compatible Tahoma and MS Sans Serif when they are installed.
// Safe to call more than once.
void RegisterFonts();

// A font of the given family whose character height is `pixelHeight` pixels; "Arial" when the
// family is not installed.
QFont MakeQFont(const QString& family, int pixelHeight, bool bold = false);

} // namespace lanterna
