#include "drawing/gradient_label.h"

#include <cmath>
#include <numbers>

namespace lanterna {

namespace {

enum TColumn : std::uint8_t { cLeft, cCenter, cRight };
enum TRow : std::uint8_t { rTop, rCenter, rBottom };

constexpr TColumn ColumnOf(TGradientLabelLocation location) {
    return TColumn(location % 3);
}

constexpr TRow RowOf(TGradientLabelLocation location) {
    return TRow(location / 3);
}

float Degrees(double radians) {
    return float(radians * 180.0 / std::numbers::pi);
}

} // namespace

TGPPointF TextOrigin(TGradientLabelLocation location, float boxW, float boxH, float w, float h,
                     int customLeft, int customTop) {
    if (location == plCustom)
        return {float(customLeft), float(customTop)};
    const float columns[] = {0, (boxW - w) / 2, boxW - w};
    const float rows[] = {0, (boxH - h) / 2, boxH - h};
    return {columns[ColumnOf(location)], rows[RowOf(location)]};
}

TGradientLabelCaption::TGradientLabelCaption() : FPicture(std::make_unique<TGPPicture>()) {
    FFont.setFamily(QStringLiteral("Tahoma"));
    FFont.setPointSize(20);
    FPicture->OnChange = [this](TPersistent*) { Changed(); };
}

TGradientLabelCaption::~TGradientLabelCaption() = default;

void TGradientLabelCaption::Changed() {
    if (OnChange)
        OnChange(this);
}

void TGradientLabelCaption::Assign(const TPersistent* source) {
    const auto* other = dynamic_cast<const TGradientLabelCaption*>(source);
    if (!other || other == this)
        return;
    FLocation = other->FLocation;
    FLeft = other->FLeft;
    FTop = other->FTop;
    FColorStart = other->FColorStart;
    FColorEnd = other->FColorEnd;
    FGradientType = other->FGradientType;
    FHatchStyle = other->FHatchStyle;
    FOpacityStart = other->FOpacityStart;
    FOpacityEnd = other->FOpacityEnd;
    FPicture->Assign(other->FPicture.get());
    FText = other->FText;
    Changed();
}

std::unique_ptr<TGPBrush> TGradientLabelCaption::MakeBrush(const TGPRectF& t) const {
    const ARGB s = AlphaColor(ColorToRGB(FColorStart), FOpacityStart);
    const ARGB e = FColorEnd == clNone ? s : AlphaColor(ColorToRGB(FColorEnd), FOpacityEnd);
    // Each linear brush runs from the start colour at one point of the text's box to the end colour at
    // another, with lines of equal colour square to the line between them. Glyphs may reach a little
    // beyond the measured box: mirrored tiles carry the gradient on there instead of starting it afresh.
    auto linear = [&](std::unique_ptr<TGPLinearGradientBrush> brush) -> std::unique_ptr<TGPBrush> {
        brush->SetWrapMode(WrapModeTileFlipXY);
        return brush;
    };
    const float diagonal = Degrees(std::atan2(t.Height, t.Width));
    switch (FGradientType) {
    case gtSolid:
        return std::make_unique<TGPSolidBrush>(s);
    case gtVertical:
        return linear(std::make_unique<TGPLinearGradientBrush>(t, s, e, LinearGradientModeVertical));
    case gtHorizontal:
        return linear(std::make_unique<TGPLinearGradientBrush>(t, s, e, LinearGradientModeHorizontal));
    case gtForwardDiagonal:
        return linear(std::make_unique<TGPLinearGradientBrush>(t, s, e, diagonal));
    case gtBackwardDiagonal:
        return linear(std::make_unique<TGPLinearGradientBrush>(t, s, e, 180 - diagonal));
    case gtHatch:
        return std::make_unique<TGPHatchBrush>(FHatchStyle, s, e);
    case gtTexture: {
        if (FPicture->Empty())
            return nullptr;
        const TGPImage image(FPicture->Data());
        return std::make_unique<TGPTextureBrush>(&image);
    }
    default:
        return nullptr;
    }
}

TGradientLabel::TGradientLabel(QWidget* parent)
    : QWidget(parent), FCaption(std::make_unique<TGradientLabelCaption>()),
      FCaptionShadow(std::make_unique<TGradientLabelCaption>()), FFill(std::make_unique<TFill>()) {
    resize(280, 50);
    // Windowless: the control has no background of its own, even when rendered on its own.
    setAttribute(Qt::WA_NoSystemBackground);
    for (TGradientLabelCaption* caption : {FCaption.get(), FCaptionShadow.get()})
        caption->OnChange = [this](TPersistent*) { Changed(); };
    FFill->OnChange = [this](TPersistent*) { Changed(); };
}

TGradientLabel::~TGradientLabel() = default;

void TGradientLabel::Changed() {
    if (FAssigning)
        return;
    update();
    if (OnChange)
        OnChange(this);
}

void TGradientLabel::Assign(const TGradientLabel& source) {
    if (&source == this)
        return;
    FAssigning = true;
    FFill->Assign(source.FFill.get());
    FCaption->Assign(source.FCaption.get());
    FCaptionShadow->Assign(source.FCaptionShadow.get());
    FTransparent = source.FTransparent;
    FWordWrap = source.FWordWrap;
    FTextRendering = source.FTextRendering;
    FCaptionShadowVisible = source.FCaptionShadowVisible;
    FCaptionShadowOffsetLeft = source.FCaptionShadowOffsetLeft;
    FCaptionShadowOffsetTop = source.FCaptionShadowOffsetTop;
    FAssigning = false;
    Changed();
}

TGPStringFormat TGradientLabel::Format(const TGradientLabelCaption& caption) const {
    if (!FWordWrap)
        return TGPStringFormat(StringFormatFlagsNoWrap);
    TGPStringFormat format;
    static constexpr StringAlignment kAlignments[] = {StringAlignmentNear, StringAlignmentCenter,
                                                      StringAlignmentFar};
    if (caption.Location() != plCustom)
        format.SetAlignment(kAlignments[ColumnOf(caption.Location())]);
    return format;
}

TGPRectF TGradientLabel::CaptionRect(TGPGraphics& graphics, const TGradientLabelCaption& caption,
                                     const TGPRectF& r, int dx, int dy) const {
    const std::unique_ptr<TGPFont> font = TGPGraphics::MakeFont(caption.Font());
    const TGPStringFormat format = Format(caption);
    TGPRectF box;
    graphics.MeasureString(caption.Text(), *font, r, &format, box);
    // The custom place is the main caption's, so that a shadow keeps to its offset from it.
    const TGPPointF origin = TextOrigin(caption.Location(), r.Width, r.Height, box.Width, box.Height,
                                        FCaption->Left(), FCaption->Top());
    return {origin.X + float(dx), origin.Y + float(dy), box.Width, box.Height};
}

void TGradientLabel::DrawCaption(TGPGraphics& graphics, const TGradientLabelCaption& caption,
                                 const TGPRectF& r, int dx, int dy) {
    const TGPRectF text = CaptionRect(graphics, caption, r, dx, dy);
    const std::unique_ptr<TGPBrush> brush = caption.MakeBrush(text);
    if (!brush)
        return;
    graphics.SetTextRenderingHint(FTextRendering == tClearType ? TextRenderingHintClearTypeGridFit
                                                               : TextRenderingHintAntiAliasGridFit);
    const std::unique_ptr<TGPFont> font = TGPGraphics::MakeFont(caption.Font());
    const TGPStringFormat format = Format(caption);
    graphics.DrawString(caption.Text(), *font, text, &format, *brush);
}

void TGradientLabel::paintEvent(QPaintEvent*) {
    if (width() < 2 || height() < 2)
        return;
    TGPGraphics graphics(this);
    graphics.SetSmoothingMode(SmoothingModeAntiAlias);
    TGPRectF r{0, 0, float(width() - 1), float(height() - 1)};
    if (!FTransparent)
        r = FFill->Fill(graphics, r);
    if (FCaptionShadowVisible && !FCaptionShadow->Text().isEmpty())
        DrawCaption(graphics, *FCaptionShadow, r, FCaptionShadowOffsetLeft, FCaptionShadowOffsetTop);
    if (!FCaption->Text().isEmpty())
        DrawCaption(graphics, *FCaption, r, 0, 0);
}

} // namespace lanterna
