#pragma once
// The names of the 28 slide-change animations, by ordinal, for the tools' printouts and labels.

#include "slideshow/slide_show_types.h"

namespace lanterna {

inline constexpr const char* kAnimationNames[kAnimationMemberCount] = {"saBottomLeftToTopRight",
                                                                       "saBottomRightToTopLeft",
                                                                       "saTopLeftToBottomRight",
                                                                       "saTopRightToBottomLeft",
                                                                       "saBottomToTop",
                                                                       "saTopToBottom",
                                                                       "saLeftToRight",
                                                                       "saRightToLeft",
                                                                       "saWipeBottomToTop",
                                                                       "saWipeTopToBottom",
                                                                       "saWipeLeftToRight",
                                                                       "saWipeRightToLeft",
                                                                       "saWipeBottomLeftToTopRight",
                                                                       "saWipeBottomRightToTopLeft",
                                                                       "saWipeTopLeftToBottomRight",
                                                                       "saWipeTopRightToBottomLeft",
                                                                       "saCheckBoard",
                                                                       "saVerticalCheckBoard",
                                                                       "saHorizontalCheckBoard",
                                                                       "saEllipse",
                                                                       "saRectangle",
                                                                       "saRotate",
                                                                       "saSpin",
                                                                       "saSpiral",
                                                                       "saFadeInOut",
                                                                       "saTearHorizontal",
                                                                       "saTearVertical",
                                                                       "saTearRotate"};

} // namespace lanterna
