#include "slideshow/slide_painter.h"

#include "slideshow/animation_geometry.h"

#include <QRegion>

namespace lanterna {

void TBackgroundCache::Draw(TGPGraphics& g, int width, int height, TFill& fill, const QRect& covered) {
    if (!FValid) {
        FBitmap.reset();
        if (width > 0 && height > 0) {
            FBitmap = std::make_unique<TGPBitmap>(width, height);
            TGPGraphics surface(*FBitmap);
            fill.Fill(surface, TGPRectF{0, 0, float(width - 1), float(height - 1)});
        }
        FValid = true;
    }
    if (!FBitmap || FBitmap->Status() != Ok)
        return;
    const QRect all(0, 0, FBitmap->GetWidth(), FBitmap->GetHeight());
    if ((covered & all).isEmpty()) {
        g.DrawImage(FBitmap.get(), 0, 0);
        return;
    }
    // The bands above and below the covered pixels, and the two beside them.
    for (const QRect& band : QRegion(all).subtracted(covered)) {
        const TGPRectF r{float(band.x()), float(band.y()), float(band.width()), float(band.height())};
        g.DrawImage(FBitmap.get(), r, r.X, r.Y, r.Width, r.Height, UnitPixel);
    }
}

bool Animates(std::uint8_t opacity, bool outgoing, const TPictureAnimation& animation) {
    return opacity < 255 && (animation.LoadEffect || outgoing);
}

TColorMatrix OpacityMatrix(std::uint8_t opacity) {
    TColorMatrix matrix;
    matrix.m[3][3] = opacity / 255.0f;
    return matrix;
}

bool DrawSlidePicture(TGPGraphics& g, const QImage& picture, const TGPRectF& r, std::uint8_t opacity,
                      bool animated, const TPictureAnimation& animation, const QImage& coarse) {
    if (picture.isNull())
        return true;
    const TGPImage image(picture);
    if (!animated) {
        DrawPicture(g, image, r, nullptr);
        return true;
    }
    const float p = opacity / 255.0f;
    if (p == 0.0f)
        return false;
    // Without fading the alpha stays whole: only the movement or clip follows the opacity.
    TGPImageAttributes attributes;
    attributes.SetColorMatrix(OpacityMatrix(animation.Fade ? opacity : 255));
    DrawAnimation(g, image, r, p, animation.Effect, &attributes, coarse);
    return true;
}

namespace {

StringAlignment Alignment(TDescriptionPosition position) {
    switch (position) {
    case dpTopCenter:
    case dpBottomCenter:
        return StringAlignmentCenter;
    case dpTopRight:
    case dpBottomRight:
        return StringAlignmentFar;
    default:
        return StringAlignmentNear;
    }
}

bool AtTop(TDescriptionPosition position) {
    return position == dpTopLeft || position == dpTopCenter || position == dpTopRight;
}

} // namespace

void DrawDescription(TGPGraphics& g, const QString& description, const TTextFont& font,
                     TDescriptionPosition position, const TGPRectF& r, TFill& fill) {
    if (description.isEmpty())
        return;
    const std::unique_ptr<TGPFont> gpFont = TGPGraphics::MakeFont(font.Font);
    TGPStringFormat format;
    format.SetLineAlignment(StringAlignmentCenter);
    format.SetAlignment(Alignment(position));
    const TGPSolidBrush brush(AlphaColor(font.Color, 255));
    TGPRectF measured;
    g.MeasureString(description, *gpFont, r, &format, measured);
    const float h = measured.Height;
    const TGPRectF band = AtTop(position) ? TGPRectF{r.X, r.Y, r.Width, h + 10}
                                          : TGPRectF{r.X, r.Y + r.Height - h - 10, r.Width, h + 10};
    fill.Fill(g, band);
    g.DrawString(description, *gpFont, band, &format, brush);
}

} // namespace lanterna
