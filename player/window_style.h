#pragma once
// The look the player's windows share.

#include "platform/types.h"
#include "widgets/color_button.h"

#include <QRect>
#include <QSize>
#include <QString>

namespace player {

// A fixed-size window with a black background and the windows' Tahoma 11.
void StyleFixedWindow(QWidget* window, QSize clientSize);

// A coloured button with its caption in Tahoma 13 bold black, placed at `geometry`.
lanterna::TColorButton* MakeButton(QWidget* parent, const QString& caption, lanterna::TColor color,
                                   const QRect& geometry);

} // namespace player
