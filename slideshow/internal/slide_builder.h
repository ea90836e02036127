#pragma once
// Builds one slide's picture on the loader thread: its data by kind, its size, the decoded picture
// and the thumbnail.

#include "slideshow/internal/load_job.h"

namespace lanterna {

// The preview size asked of the shell for ikPreview slides.
inline constexpr int kPreviewSize = 500;

TLoadResult BuildSlide(const TLoadJob& job);

} // namespace lanterna
