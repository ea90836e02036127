#pragma once
// Text of text slides and of image-and-text slides: measuring the text box and drawing the text.

#include "drawing/gp_graphics.h"
#include "slideshow/slide_show_types.h"

#include <QFont>
#include <QSize>
#include <QString>

namespace lanterna {

struct TTextStyle {
    QString Text;
    QFont Font;
    TColor Color = clBlack;
    int TextWidth = 100;
    int TextHeight = 100;
    bool AutoSize = true;
    bool Ellipsis = false;
    bool WordWrap = false;
    TVerticalAlignment VerticalAlignment = taVerticalCenter;
    TAlignment HorizontalAlignment = taCenter;
};

// The text box w x h: the measured text plus one, rounded, when AutoSize is on; else the set size.
QSize MeasureTextBox(const TTextStyle& style);

// Draws the text into `rect` with the style's font, colour, alignments, wrapping and ellipsis.
void DrawText(TGPGraphics& g, const TTextStyle& style, const TGPRectF& rect);

// Where the text and the picture of an image-and-text slide go, and the bitmap size they need.
struct TImageTextLayout {
    QSize Bitmap;
    TGPRectF TextRect;
    TGPRectF PictureRect;
};
TImageTextLayout LayoutImageText(QSize picture, QSize textBox, TSlideShowTextLocation location);

} // namespace lanterna
