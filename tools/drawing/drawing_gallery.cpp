// Renders one sheet of labelled fills (every gradient type, mirrors, rounding types, shadows, glows,
// borders and focus, all hatch styles, textures and picture positions) into a PNG.
//
// Usage: drawing_gallery [output.png]   (default: drawing-gallery.png)
#include "drawing/fill.h"
#include "player/design/presentation_design.h"
#include "testing/application.h"

#include <QBuffer>
#include <QImageWriter>

#include <cstdio>
#include <functional>

using namespace lanterna;

namespace {

constexpr int kSheetWidth = 1240;
constexpr int kCellWidth = 200, kCellHeight = 104, kFillWidth = 180, kFillHeight = 70;
constexpr int kMargin = 20;

TGPPicture PictureFromImage(const QImage& image) {
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QImageWriter(&buffer, "png").write(image);
    buffer.close();
    buffer.open(QIODevice::ReadOnly);
    TGPPicture picture;
    picture.LoadFromStream(&buffer);
    return picture;
}

// A small picture with a clear top and left: an arrow on a yellow disc.
QImage Emblem(int size) {
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(0);
    TGPGraphics g(image);
    g.SetSmoothingMode(SmoothingModeAntiAlias);
    g.FillEllipse(TGPSolidBrush(0xFFFFC000), {0, 0, float(size), float(size)});
    const float s = float(size);
    const TGPPointF arrow[] = {{s * 0.5f, s * 0.15f}, {s * 0.8f, s * 0.5f},  {s * 0.6f, s * 0.5f},
                               {s * 0.6f, s * 0.85f}, {s * 0.4f, s * 0.85f}, {s * 0.4f, s * 0.5f},
                               {s * 0.2f, s * 0.5f}};
    g.FillPolygon(TGPSolidBrush(0xFF204080), arrow, 7);
    return image;
}

QImage Tile() {
    QImage image(16, 16, QImage::Format_ARGB32_Premultiplied);
    TGPGraphics g(image);
    g.Clear(0xFFE8F0FF);
    g.FillRectangle(TGPSolidBrush(0xFF6090D0), 0, 0, 8, 8);
    g.FillRectangle(TGPSolidBrush(0xFF90B8E8), 8, 8, 8, 8);
    return image;
}

class TSheet {
public:
    explicit TSheet(int height) : FImage(kSheetWidth, height, QImage::Format_ARGB32_Premultiplied) {
        FImage.fill(0xFFFFFFFF);
        FGraphics = std::make_unique<TGPGraphics>(FImage);
        FGraphics->SetTextRenderingHint(TextRenderingHintAntiAlias);
    }

    void Section(const QString& title) {
        NewRow();
        if (FY > kMargin)
            FY += 12;
        TGPFont font(QStringLiteral("DejaVu Sans"), 12, FontStyleBold);
        FGraphics->DrawString(title, font, {kMargin, float(FY), kSheetWidth - 2.0f * kMargin, 22}, nullptr,
                              TGPSolidBrush(0xFF202020));
        FY += 26;
    }

    // One labelled cell: a checkerboard (to show transparency) with the fill painted over it.
    void Cell(const QString& label, const std::function<void(TFill&)>& setUp, int w = kFillWidth,
              int h = kFillHeight, int cellWidth = kCellWidth, int cellHeight = kCellHeight) {
        if (FX + cellWidth > kSheetWidth - kMargin)
            NewRow();
        const float x = float(FX), y = float(FY);
        Checkers({x, y, float(w), float(h)});
        TFill fill;
        setUp(fill);
        FGraphics->SetSmoothingMode(SmoothingModeAntiAlias);
        fill.Fill(*FGraphics, {x, y, float(w), float(h)});
        FGraphics->ResetClip();
        TGPFont font(QStringLiteral("DejaVu Sans"), 8);
        TGPStringFormat format(StringFormatFlagsNoWrap);
        format.SetTrimming(StringTrimmingEllipsisCharacter);
        FGraphics->DrawString(label, font, {x, y + float(h) + 3, float(cellWidth - 8), 16}, &format,
                              TGPSolidBrush(0xFF404040));
        FX += cellWidth;
        FRowHeight = std::max(FRowHeight, cellHeight);
    }

    void NewRow() {
        if (FX > kMargin)
            FY += FRowHeight;
        FX = kMargin;
        FRowHeight = 0;
    }

    int Bottom() {
        NewRow();
        return FY + kMargin;
    }
    const QImage& Image() const { return FImage; }

private:
    void Checkers(const TGPRectF& r) {
        FGraphics->FillRectangle(TGPHatchBrush(HatchStyleLargeCheckerBoard, 0xFFDDDDDD, 0xFFF6F6F6), r);
    }

    QImage FImage;
    std::unique_ptr<TGPGraphics> FGraphics;
    int FX = kMargin, FY = kMargin, FRowHeight = 0;
};

void Gradient(TFill& f, TGradientType type) {
    f.SetGradientType(type);
    f.SetColor(RGBColor(0xFF, 0xD9, 0xAA));
    f.SetColorTo(RGBColor(0xC0, 0x40, 0x10));
    f.SetBorderColor(clGray);
}

// The pictures the texture and picture cells show.
struct TSheetPictures {
    TGPPicture TilePicture = PictureFromImage(Tile());
    TGPPicture EmblemPicture = PictureFromImage(Emblem(28));
};

void RenderGradientTypes(TSheet& sheet, const TSheetPictures& pictures) {
    sheet.Section(QStringLiteral("Gradient types (Color #FFD9AA to ColorTo #C04010)"));
    const std::pair<TGradientType, const char*> types[] = {{gtSolid, "gtSolid"},
                                                           {gtRadial, "gtRadial"},
                                                           {gtVertical, "gtVertical"},
                                                           {gtHorizontal, "gtHorizontal"},
                                                           {gtForwardDiagonal, "gtForwardDiagonal"},
                                                           {gtBackwardDiagonal, "gtBackwardDiagonal"},
                                                           {gtHatch, "gtHatch (Horizontal)"},
                                                           {gtPath, "gtPath (no body)"},
                                                           {gtNone, "gtNone (no body)"}};
    for (const auto& [type, name] : types)
        sheet.Cell(QString::fromLatin1(name), [type = type](TFill& f) { Gradient(f, type); });
    for (int angle : {30, 120, 225})
        sheet.Cell(QStringLiteral("gtAngle %1 degrees").arg(angle), [angle](TFill& f) {
            Gradient(f, gtAngle);
            f.SetAngle(angle);
        });
    sheet.Cell(QStringLiteral("gtTexture, ppTiled"), [&](TFill& f) {
        f.SetGradientType(gtTexture);
        f.SetBackGroundPicture(&pictures.TilePicture);
        f.SetBackGroundPicturePosition(ppTiled);
    });
    sheet.Cell(QStringLiteral("ColorTo clNone: solid"), [](TFill& f) {
        Gradient(f, gtVertical);
        f.SetColorTo(clNone);
    });
    sheet.Cell(QStringLiteral("Opacity 255 to OpacityTo 40"), [](TFill& f) {
        Gradient(f, gtHorizontal);
        f.SetOpacityTo(40);
    });
}

void RenderMirrored(TSheet& sheet) {
    sheet.Section(QStringLiteral("Mirrored bodies (lower half ColorMirror to ColorMirrorTo)"));
    auto mirrored = [](TFill& f, TGradientType upper, TGradientType lower) {
        f.SetGradientType(upper);
        f.SetColor(RGBColor(0xFF, 0xD9, 0xAA));
        f.SetColorTo(RGBColor(0xFF, 0xBB, 0x6E));
        f.SetColorMirror(RGBColor(0xFE, 0xAE, 0x42));
        f.SetColorMirrorTo(RGBColor(0xFE, 0xE1, 0x7A));
        f.SetGradientMirrorType(lower);
        f.SetBorderColor(RGBColor(0xFE, 0xAE, 0x42));
    };
    sheet.Cell(QStringLiteral("vertical / vertical"), [&](TFill& f) { mirrored(f, gtVertical, gtVertical); });
    sheet.Cell(QStringLiteral("vertical / solid"), [&](TFill& f) { mirrored(f, gtVertical, gtSolid); });
    sheet.Cell(QStringLiteral("horizontal / horizontal"),
               [&](TFill& f) { mirrored(f, gtHorizontal, gtHorizontal); });
    sheet.Cell(QStringLiteral("radial / radial"), [&](TFill& f) { mirrored(f, gtRadial, gtRadial); });
    sheet.Cell(QStringLiteral("vertical / vertical, rtBoth 12"), [&](TFill& f) {
        mirrored(f, gtVertical, gtVertical);
        f.SetRounding(12);
    });
    sheet.Cell(QStringLiteral("thumbnail selection"), [&](TFill& f) {
        mirrored(f, gtVertical, gtVertical);
        f.SetRounding(4);
        f.SetGlow(gmGradient);
    });
}

void RenderRoundings(TSheet& sheet) {
    sheet.Section(QStringLiteral("Rounding types (Rounding 14, border 2)"));
    const std::pair<TFillRoundingType, const char*> roundings[] = {
        {rtNone, "rtNone"}, {rtTop, "rtTop"},   {rtBottom, "rtBottom"},
        {rtBoth, "rtBoth"}, {rtLeft, "rtLeft"}, {rtRight, "rtRight"}};
    for (const auto& [type, name] : roundings)
        sheet.Cell(QString::fromLatin1(name), [type = type](TFill& f) {
            Gradient(f, gtVertical);
            f.SetRounding(14);
            f.SetRoundingType(type);
            f.SetBorderWidth(2);
            f.SetBorderColor(RGBColor(0x60, 0x30, 0x10));
        });
}

void RenderShadowsAndGlows(TSheet& sheet) {
    sheet.Section(QStringLiteral("Shadows (ShadowOffset 8) and glows"));
    const std::pair<TShadowType, const char*> shadows[] = {
        {stRightBottom, "stRightBottom"}, {stBottom, "stBottom"}, {stSurround, "stSurround"}};
    for (const auto& [type, name] : shadows)
        sheet.Cell(QString::fromLatin1(name), [type = type](TFill& f) {
            Gradient(f, gtVertical);
            f.SetRounding(8);
            f.SetShadowOffset(8);
            f.SetShadowType(type);
            f.SetShadowColor(clBlack);
        });
    const std::pair<TGlowMode, const char*> glows[] = {
        {gmGradient, "gmGradient"}, {gmRadial, "gmRadial"}, {gmRadialGradient, "gmRadialGradient"}};
    for (const auto& [mode, name] : glows)
        sheet.Cell(QString::fromLatin1(name), [mode = mode](TFill& f) {
            f.SetColor(RGBColor(0x10, 0x30, 0x70));
            f.SetColorTo(RGBColor(0x20, 0x60, 0xB0));
            f.SetRounding(10);
            f.SetGlow(mode);
            f.SetGlowRadialColor(RGBColor(0x00, 0xC0, 0xFF));
        });
}

void RenderPresentationFills(TSheet& sheet) {
    sheet.Section(QStringLiteral("The presentation's background, borders and focus"));
    sheet.Cell(
        QStringLiteral("presentation background (radial, radial glow #0080FF)"),
        [](TFill& f) { player::PresentationBackground(f); }, 380, 150, 400, 184);
    sheet.Cell(QStringLiteral("placeholder: white, silver border"), [](TFill& f) {
        f.SetColor(clWhite);
        f.SetColorTo(clNone);
        f.SetBorderColor(clSilver);
    });
    sheet.Cell(QStringLiteral("border 4, BorderOpacity 120"), [](TFill& f) {
        Gradient(f, gtVertical);
        f.SetBorderWidth(4);
        f.SetBorderColor(clNavy);
        f.SetBorderOpacity(120);
        f.SetRounding(6);
    });
    sheet.Cell(QStringLiteral("Focus, border 2, rounding 10"), [](TFill& f) {
        Gradient(f, gtVertical);
        f.SetBorderWidth(2);
        f.SetRounding(10);
        f.SetFocus(true);
    });
    sheet.Cell(QStringLiteral("description band (opacity 50)"), [](TFill& f) {
        f.SetColor(clWhite);
        f.SetColorTo(clNone);
        f.SetBorderColor(clSilver);
        f.SetOpacity(50);
    });
}

void RenderHatches(TSheet& sheet) {
    sheet.Section(QStringLiteral("Hatch styles 0 to 52 (foreground #204080, background #E0E8F0)"));
    for (int s = 0; s < HatchStyleTotal; ++s)
        sheet.Cell(
            QString::number(s),
            [s](TFill& f) {
                f.SetGradientType(gtHatch);
                f.SetHatchStyle(HatchStyle(s));
                f.SetColor(RGBColor(0x20, 0x40, 0x80));
                f.SetColorTo(RGBColor(0xE0, 0xE8, 0xF0));
            },
            40, 32, 50, 52);
}

// A light fill from #F0F0F0 to colorTo with a grey border, showing the emblem.
void EmblemOnLight(TFill& f, const TGPPicture& emblem, TColor colorTo) {
    f.SetColor(RGBColor(0xF0, 0xF0, 0xF0));
    f.SetColorTo(colorTo);
    f.SetBorderColor(clGray);
    f.SetPicture(&emblem);
}

// The emblem on a light fill, at every position, then stretched, sized and as a clipped background.
void RenderPicturePositions(TSheet& sheet, const TSheetPictures& pictures) {
    const TGPPicture& emblem = pictures.EmblemPicture;
    sheet.Section(QStringLiteral("Picture positions (a 28 x 28 picture in each fill)"));
    const std::pair<TFillPicturePosition, const char*> positions[] = {
        {ppTopLeft, "ppTopLeft"},           {ppTopCenter, "ppTopCenter"},
        {ppTopRight, "ppTopRight"},         {ppCenterLeft, "ppCenterLeft"},
        {ppCenterCenter, "ppCenterCenter"}, {ppCenterRight, "ppCenterRight"},
        {ppBottomLeft, "ppBottomLeft"},     {ppBottomCenter, "ppBottomCenter"},
        {ppBottomRight, "ppBottomRight"},   {ppTiled, "ppTiled"},
        {ppStretched, "ppStretched"},       {ppCustom, "ppCustom: at surface (0, 0), the sheet's corner"}};
    for (const auto& [position, name] : positions)
        sheet.Cell(QString::fromLatin1(name), [&, position = position](TFill& f) {
            EmblemOnLight(f, emblem, RGBColor(0xD0, 0xD0, 0xD0));
            f.SetPicturePosition(position);
        });
    sheet.Cell(QStringLiteral("ppStretched, aspect kept"), [&](TFill& f) {
        EmblemOnLight(f, emblem, clNone);
        f.SetPicturePosition(ppStretched);
        f.SetPictureAspectRatio(true);
    });
    sheet.Cell(QStringLiteral("psCustom 48 x 20, centred"), [&](TFill& f) {
        EmblemOnLight(f, emblem, clNone);
        f.SetPicturePosition(ppCenterCenter);
        f.SetPictureSize(psCustom);
        f.SetPictureWidth(48);
        f.SetPictureHeight(20);
    });
    sheet.Cell(QStringLiteral("background inside, stretched, rtBoth 20"), [&](TFill& f) {
        f.SetGradientType(gtTexture);
        f.SetBackGroundPicture(&emblem);
        f.SetBackGroundPicturePosition(ppStretched);
        f.SetBackGroundPictureMode(pmInsideFill);
        f.SetRounding(20);
        f.SetBorderColor(clGray);
    });
}

void Render(TSheet& sheet) {
    const TSheetPictures pictures;
    RenderGradientTypes(sheet, pictures);
    RenderMirrored(sheet);
    RenderRoundings(sheet);
    RenderShadowsAndGlows(sheet);
    RenderPresentationFills(sheet);
    RenderHatches(sheet);
    RenderPicturePositions(sheet, pictures);
}

} // namespace

int main(int argc, char** argv) {
    const auto app = lanterna::testing::OffscreenApplication(argc, argv);
    const QString output = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("drawing-gallery.png");

    // A first pass on a tall scratch sheet measures the height; the second paints the real one.
    TSheet measure(4000);
    Render(measure);
    TSheet sheet(measure.Bottom());
    Render(sheet);
    sheet.Bottom();

    QImageWriter writer(output, "png");
    if (!writer.write(sheet.Image())) {
        std::fprintf(stderr, "Cannot write %s: %s\n", qPrintable(output), qPrintable(writer.errorString()));
        return 1;
    }
    std::printf("%s: %d x %d\n", qPrintable(output), sheet.Image().width(), sheet.Image().height());
    return 0;
}
