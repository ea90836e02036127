#pragma once
// The thumbnail band of a slide show, along the bottom and along the left side, for a person to look at.

#include <QImage>

namespace lanterna {

// Each band scrolled half way with both handles showing, the first hovered and the second pressed, and
// the selected slide's cell highlighted.
QImage BandSheet();

} // namespace lanterna
