#pragma once
// The presentation's look, shared by its window and by the tools that render or measure it.

namespace lanterna {
class TFill;
class TSlideShow;
} // namespace lanterna

namespace player {

// The background behind the slides: radial black to #004080, black border, radial glow in #0080FF.
void PresentationBackground(lanterna::TFill& fill);

// Every design value of the presentation's slide show: the background, white frames with silver
// borders, margins of 10, no thumbnails and no description.
void DesignSlideShow(lanterna::TSlideShow& show);

} // namespace player
