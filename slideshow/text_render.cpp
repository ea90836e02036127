#include "slideshow/internal/text_render.h"

#include "slideshow/internal/picture_decoder.h"

#include <algorithm>

namespace lanterna {

namespace {

constexpr float kMeasureHeight = 10000;

// Without wrapping: the no-wrap flag, and an ellipsis at a word when asked for. With wrapping:
// no flags and no trimming.
TGPStringFormat MakeFormat(const TTextStyle& style) {
    TGPStringFormat format(style.WordWrap ? 0 : StringFormatFlagsNoWrap);
    format.SetTrimming(!style.WordWrap && style.Ellipsis ? StringTrimmingEllipsisWord : StringTrimmingNone);
    return format;
}

StringAlignment Horizontal(TAlignment alignment) {
    switch (alignment) {
    case taLeftJustify:
        return StringAlignmentNear;
    case taRightJustify:
        return StringAlignmentFar;
    case taCenter:
        break;
    }
    return StringAlignmentCenter;
}

StringAlignment Vertical(TVerticalAlignment alignment) {
    switch (alignment) {
    case taAlignTop:
        return StringAlignmentNear;
    case taAlignBottom:
        return StringAlignmentFar;
    case taVerticalCenter:
        break;
    }
    return StringAlignmentCenter;
}

} // namespace

QSize MeasureTextBox(const TTextStyle& style) {
    if (!style.AutoSize)
        return {style.TextWidth, style.TextHeight};
    QImage scratch = NewBitmap(QSize(1, 1));
    TGPGraphics g(scratch);
    const auto font = TGPGraphics::MakeFont(style.Font);
    const TGPStringFormat format = MakeFormat(style);
    TGPRectF box;
    g.MeasureString(style.Text, *font, TGPRectF{0, 0, float(style.TextWidth), kMeasureHeight}, &format, box);
    return {int(Round(box.Width + 1)), int(Round(box.Height + 1))};
}

void DrawText(TGPGraphics& g, const TTextStyle& style, const TGPRectF& rect) {
    const auto font = TGPGraphics::MakeFont(style.Font);
    const TGPSolidBrush brush(AlphaColor(style.Color, 255));
    TGPStringFormat format = MakeFormat(style);
    format.SetLineAlignment(Vertical(style.VerticalAlignment));
    format.SetAlignment(Horizontal(style.HorizontalAlignment));
    g.DrawString(style.Text, *font, rect, &format, brush);
}

TImageTextLayout LayoutImageText(QSize picture, QSize textBox, TSlideShowTextLocation location) {
    const float pw = float(picture.width()), ph = float(picture.height());
    const int w = textBox.width(), h = textBox.height();
    TImageTextLayout layout;
    if (location == tlTop || location == tlBottom) {
        layout.Bitmap = QSize(std::max(picture.width(), w + 4), picture.height() + h + 4);
        const float bw = float(layout.Bitmap.width()), bh = float(layout.Bitmap.height());
        const float pictureX = (bw - pw) / 2;
        if (location == tlTop) {
            layout.TextRect = {2, 2, bw - 4, float(h)};
            layout.PictureRect = {pictureX, float(h + 2), pw, ph};
        } else {
            layout.TextRect = {2, bh - h - 2, bw - 4, float(h)};
            layout.PictureRect = {pictureX, 0, pw, ph};
        }
    } else {
        layout.Bitmap = QSize(picture.width() + w + 4, std::max(picture.height(), h + 4));
        const float bw = float(layout.Bitmap.width()), bh = float(layout.Bitmap.height());
        if (location == tlLeft) {
            layout.TextRect = {2, 2, float(w), bh - 4};
            layout.PictureRect = {float(w + 2), 0, pw, ph};
        } else {
            layout.TextRect = {bw - w - 2, 2, float(w), bh - 4};
            layout.PictureRect = {0, 0, pw, ph};
        }
    }
    return layout;
}

} // namespace lanterna
