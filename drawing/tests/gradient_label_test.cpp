#include "drawing/gradient_label.h"
#include "drawing/tests/drawing_test_support.h"
#include "platform/fonts.h"

using namespace lanterna;
using namespace lanterna::testing;

namespace {

QImage Grabbed(QWidget& widget) {
    return widget.grab().toImage().convertToFormat(QImage::Format_ARGB32);
}

// The box of the pixels that are at least half opaque.
QRect Inked(const QImage& image) {
    QRect box;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qAlpha(Px(image, x, y)) >= 128)
                box |= QRect(x, y, 1, 1);
    return box;
}

// The box of the opaque pixels near a colour.
QRect InkedIn(const QImage& image, QRgb color, int tolerance = 40) {
    QRect box;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qAlpha(Px(image, x, y)) == 255 && Near(Px(image, x, y), color, tolerance))
                box |= QRect(x, y, 1, 1);
    return box;
}

// A label on a parent, so that it shows nothing where it paints nothing.
struct LabelFixture {
    QWidget parent;
    TGradientLabel* label = new TGradientLabel(&parent);
    explicit LabelFixture(const QString& text = QStringLiteral("1.2")) {
        label->Caption().SetText(text);
        label->Caption().SetFont(MakeQFont(QStringLiteral("Tahoma"), 48, true));
    }
    TGPRectF CaptionRect(const TGradientLabelCaption& caption, int dx = 0, int dy = 0) {
        QImage scratch = Blank(1, 1);
        TGPGraphics graphics(scratch);
        const TGPRectF r{0, 0, float(label->width() - 1), float(label->height() - 1)};
        return label->CaptionRect(graphics, caption, r, dx, dy);
    }
};

QRectF ToQt(const TGPRectF& r) {
    return QRectF(r.X, r.Y, r.Width, r.Height);
}

} // namespace

TEST(TGradientLabel, TextOriginPlacesTheTextInItsBox) {
    // A 100 x 40 text in the rectangle of a 280 x 50 label, which is 279 x 49.
    struct Case {
        TGradientLabelLocation location;
        TGPPointF expected;
    };
    for (const Case& c :
         {Case{plTopLeft, {0, 0}}, Case{plTopCenter, {89.5f, 0}}, Case{plTopRight, {179, 0}},
          Case{plCenterLeft, {0, 4.5f}}, Case{plCenterCenter, {89.5f, 4.5f}},
          Case{plCenterRight, {179, 4.5f}}, Case{plBottomLeft, {0, 9}}, Case{plBottomCenter, {89.5f, 9}},
          Case{plBottomRight, {179, 9}}, Case{plCustom, {7, -3}}})
        EXPECT_EQ(TextOrigin(c.location, 279, 49, 100, 40, 7, -3), c.expected) << int(c.location);
}

TEST(TGradientLabel, Defaults) {
    TGradientLabel label;
    EXPECT_EQ(label.size(), QSize(280, 50));
    EXPECT_TRUE(label.Transparent());
    EXPECT_FALSE(label.WordWrap());
    EXPECT_FALSE(label.CaptionShadowVisible());
    EXPECT_EQ(label.CaptionShadowOffsetLeft(), 1);
    EXPECT_EQ(label.CaptionShadowOffsetTop(), 1);
    EXPECT_EQ(label.TextRendering(), tAntiAlias);
    const TGradientLabelCaption& c = label.Caption();
    EXPECT_TRUE(c.Text().isEmpty());
    EXPECT_EQ(c.Font().pointSize(), 20);
    EXPECT_EQ(c.Location(), plCenterCenter);
    EXPECT_EQ(c.ColorStart(), RGBColor(0x9F, 0xE0, 0xFF));
    EXPECT_EQ(c.ColorEnd(), RGBColor(0x00, 0x4F, 0x75));
    EXPECT_EQ(c.GradientType(), gtVertical);
    EXPECT_EQ(c.OpacityStart(), 255);
    EXPECT_TRUE(c.Picture().Empty());
}

TEST(TGradientLabel, TheVersionLabelRunsFromLightBlueAtTheTopToDarkBlueAtTheBottom) {
    LabelFixture f;
    f.label->resize(181, 50);
    const QImage shot = Grabbed(*f.label);
    const QRect ink = Inked(shot);
    ASSERT_FALSE(ink.isEmpty());
    EXPECT_NEAR(ink.center().x(), 90, 4) << "centred across";
    EXPECT_EQ(qAlpha(Px(shot, 0, 0)), 0) << "no background";

    // The gradient spans the text's line box; the letters' own top and bottom lie within it.
    const QRectF line = ToQt(f.CaptionRect(f.label->Caption()));
    auto expectedAt = [&](int y) {
        return TGPLinearGradientBrush::Interpolate(0xFF9FE0FF, 0xFF004F75,
                                                   (y + 0.5 - line.top()) / line.height(), false);
    };
    for (int y : {ink.top() + 1, ink.bottom() - 1}) {
        int checked = 0;
        for (int x = ink.left(); x <= ink.right(); ++x)
            if (qAlpha(Px(shot, x, y)) == 255) {
                EXPECT_TRUE(Near(Px(shot, x, y), expectedAt(y), 6)) << x << "," << y;
                ++checked;
            }
        EXPECT_GT(checked, 0) << y;
    }
    // Red runs from 0x9F in the light blue to none in the dark blue, also on the letters' very edges.
    auto meanRed = [&](int y) {
        int sum = 0, n = 0;
        for (int x = ink.left(); x <= ink.right(); ++x)
            if (qAlpha(Px(shot, x, y)) > 0) {
                sum += Channel(Px(shot, x, y), 16);
                ++n;
            }
        return n ? sum / n : -1;
    };
    EXPECT_GT(meanRed(ink.top()), 0x80);
    EXPECT_LT(meanRed(ink.bottom()), 0x40);
}

TEST(TGradientLabel, BottomRightPutsTheTextAgainstTheRectanglesFarCorner) {
    LabelFixture f(QStringLiteral("12"));
    f.label->Caption().SetLocation(plBottomRight);
    f.label->Caption().SetGradientType(gtSolid);
    const TGPRectF text = f.CaptionRect(f.label->Caption());
    EXPECT_FLOAT_EQ(text.X + text.Width, 279);
    EXPECT_FLOAT_EQ(text.Y + text.Height, 49);
    const QRect ink = Inked(Grabbed(*f.label));
    ASSERT_FALSE(ink.isEmpty());
    EXPECT_TRUE(ToQt(text).adjusted(-1, -1, 1, 1).contains(QRectF(ink)))
        << "the letters lie in the text's box";
    EXPECT_GT(ink.right(), 279 - 12);

    f.label->Caption().SetLocation(plTopLeft);
    const QRect moved = Inked(Grabbed(*f.label));
    EXPECT_LT(moved.left(), 8);
    EXPECT_NEAR(moved.width(), ink.width(), 1);
    EXPECT_NEAR(moved.height(), ink.height(), 1);
}

TEST(TGradientLabel, APixelHeightFontKeepsItsCharacterHeight) {
    LabelFixture pixels;
    LabelFixture points;
    QFont font(QStringLiteral("Tahoma"));
    font.setBold(true);
    font.setPointSize(36); // 48 pixels at 96 dots per inch
    points.label->Caption().SetFont(font);
    const TGPRectF a = pixels.CaptionRect(pixels.label->Caption());
    const TGPRectF b = points.CaptionRect(points.label->Caption());
    EXPECT_FLOAT_EQ(a.Width, b.Width);
    EXPECT_FLOAT_EQ(a.Height, b.Height);
    EXPECT_GE(a.Height, 40);
    EXPECT_LT(a.Height, 70);

    const QRect ink = Inked(Grabbed(*pixels.label));
    EXPECT_GE(ink.height(), 30) << "digits of a 48-pixel font";
    EXPECT_LE(ink.height(), 48);
}

TEST(TGradientLabel, WithoutAnEndColourTheLettersAreSolid) {
    LabelFixture f(QStringLiteral("88"));
    f.label->Caption().SetColorStart(clRed);
    f.label->Caption().SetColorEnd(clNone);
    for (TGradientType type : {gtVertical, gtHorizontal, gtForwardDiagonal, gtBackwardDiagonal}) {
        f.label->Caption().SetGradientType(type);
        const QImage shot = Grabbed(*f.label);
        int opaque = 0;
        for (int y = 0; y < shot.height(); ++y)
            for (int x = 0; x < shot.width(); ++x)
                if (qAlpha(Px(shot, x, y)) == 255) {
                    ++opaque;
                    ASSERT_EQ(Px(shot, x, y), 0xFFFF0000) << int(type) << " at " << x << "," << y;
                }
        EXPECT_GT(opaque, 50) << int(type);
    }
}

TEST(TGradientLabel, LinearTypesRunTheirOwnWay) {
    LabelFixture f(QStringLiteral("MMMM"));
    f.label->Caption().SetColorStart(clBlack);
    f.label->Caption().SetColorEnd(clWhite);
    auto grey = [](const QImage& shot, int x, int y) {
        const int g = Channel(Px(shot, x, y), 8);
        return qAlpha(Px(shot, x, y)) == 255 ? g : -1;
    };
    // Mean grey of the opaque letter pixels in a corner region of the ink box.
    auto mean = [&](const QImage& shot, const QRect& ink, bool right, bool bottom) {
        const int w = ink.width() / 4, h = ink.height() / 4;
        const QRect part(right ? ink.right() - w : ink.left(), bottom ? ink.bottom() - h : ink.top(), w, h);
        int sum = 0, n = 0;
        for (int y = part.top(); y <= part.bottom(); ++y)
            for (int x = part.left(); x <= part.right(); ++x)
                if (int g = grey(shot, x, y); g >= 0) {
                    sum += g;
                    ++n;
                }
        EXPECT_GT(n, 0);
        return n ? sum / n : -1;
    };
    struct Case {
        TGradientType type;
        bool darkRight, darkBottom, lightRight, lightBottom;
    };
    for (const Case& c :
         {Case{gtHorizontal, false, false, true, false}, Case{gtForwardDiagonal, false, false, true, true},
          Case{gtBackwardDiagonal, true, false, false, true}}) {
        f.label->Caption().SetGradientType(c.type);
        const QImage shot = Grabbed(*f.label);
        const QRect ink = Inked(shot);
        EXPECT_LT(mean(shot, ink, c.darkRight, c.darkBottom) + 80,
                  mean(shot, ink, c.lightRight, c.lightBottom))
            << int(c.type);
    }
}

TEST(TGradientLabel, HatchAndTextureFillTheLettersAndOtherTypesDrawNothing) {
    LabelFixture f(QStringLiteral("MM"));
    f.label->Caption().SetColorStart(clRed);
    f.label->Caption().SetColorEnd(clBlue);
    f.label->Caption().SetGradientType(gtHatch);
    f.label->Caption().SetHatchStyle(HatchStyleLargeCheckerBoard);
    QImage shot = Grabbed(*f.label);
    EXPECT_FALSE(InkedIn(shot, 0xFFFF0000, 0).isEmpty());
    EXPECT_FALSE(InkedIn(shot, 0xFF0000FF, 0).isEmpty());

    f.label->Caption().SetGradientType(gtTexture);
    EXPECT_TRUE(Inked(Grabbed(*f.label)).isEmpty()) << "a texture without a picture";
    QImage green(4, 4, QImage::Format_ARGB32);
    green.fill(0xFF00C000);
    QBuffer in;
    in.setData(Encode(green, "png"));
    in.open(QIODevice::ReadOnly);
    f.label->Caption().Picture().LoadFromStream(&in);
    shot = Grabbed(*f.label);
    EXPECT_FALSE(InkedIn(shot, 0xFF00C000, 0).isEmpty());
    EXPECT_TRUE(InkedIn(shot, 0xFFFF0000, 60).isEmpty());

    for (TGradientType type : {gtRadial, gtAngle, gtPath, gtNone}) {
        f.label->Caption().SetGradientType(type);
        EXPECT_TRUE(Inked(Grabbed(*f.label)).isEmpty()) << int(type);
    }
}

TEST(TGradientLabel, TheShadowCaptionLiesUnderTheTextShiftedByItsOffsets) {
    LabelFixture f(QStringLiteral("12"));
    TGradientLabel& label = *f.label;
    label.resize(280, 80); // room around the text for the shadow to move in
    label.Caption().SetGradientType(gtSolid);
    label.Caption().SetColorStart(clRed);
    label.CaptionShadow().SetText(QStringLiteral("12"));
    label.CaptionShadow().SetFont(label.Caption().Font());
    label.CaptionShadow().SetGradientType(gtSolid);
    label.CaptionShadow().SetColorStart(clBlue);
    const QRect text = InkedIn(Grabbed(label), 0xFFFF0000);
    EXPECT_TRUE(InkedIn(Grabbed(label), 0xFF0000FF).isEmpty()) << "hidden until asked for";

    label.SetCaptionShadowVisible(true);
    QImage shot = Grabbed(label);
    EXPECT_EQ(InkedIn(shot, 0xFFFF0000), text) << "the text is painted over its shadow";
    const QRect shadow = InkedIn(shot, 0xFF0000FF);
    EXPECT_EQ(shadow.bottomRight(), text.bottomRight() + QPoint(1, 1));

    label.SetCaptionShadowOffsetLeft(6);
    label.SetCaptionShadowOffsetTop(-3);
    shot = Grabbed(label);
    EXPECT_EQ(InkedIn(shot, 0xFF0000FF).topRight(), text.topRight() + QPoint(6, -3));

    // A custom place is the main caption's, for the shadow too.
    label.Caption().SetLocation(plCustom);
    label.Caption().SetLeft(20);
    label.Caption().SetTop(0);
    label.CaptionShadow().SetLocation(plCustom);
    label.CaptionShadow().SetLeft(200);
    const TGPRectF main = f.CaptionRect(label.Caption());
    const TGPRectF shade = f.CaptionRect(label.CaptionShadow(), 6, -3);
    EXPECT_FLOAT_EQ(shade.X, main.X + 6);
    EXPECT_FLOAT_EQ(shade.Y, main.Y - 3);
}

TEST(TGradientLabel, LongTextStaysOnOneLineUnlessWrapped) {
    LabelFixture f(QStringLiteral("Kelvra Slide Show"));
    f.label->resize(339, 130);
    const QRect oneLine = Inked(Grabbed(*f.label));
    EXPECT_LE(oneLine.left(), 1) << "the line is wider than the label and cut at its edges";
    EXPECT_GE(oneLine.right(), 337);
    EXPECT_LT(oneLine.height(), 60);

    f.label->SetWordWrap(true);
    const QRect wrapped = Inked(Grabbed(*f.label));
    EXPECT_GT(wrapped.height(), 80) << "two lines";
    EXPECT_GT(wrapped.left(), 1);
    EXPECT_LT(wrapped.right(), 337);
    const TGPRectF box = f.CaptionRect(f.label->Caption());
    EXPECT_LE(box.Width, 339);
}

TEST(TGradientLabel, AnOpaqueLabelPaintsItsFillUnderTheText) {
    LabelFixture f;
    EXPECT_EQ(qAlpha(Px(Grabbed(*f.label), 2, 2)), 0);
    f.label->Fill().SetColor(clYellow);
    f.label->Fill().SetColorTo(clNone);
    f.label->SetTransparent(false);
    const QImage shot = Grabbed(*f.label);
    EXPECT_EQ(Px(shot, 2, 2), 0xFFFFFF00);
    EXPECT_EQ(Px(shot, 278, 48), 0xFFFFFF00);
    EXPECT_EQ(qAlpha(Px(shot, 279, 49)), 0) << "the rectangle ends one pixel short of the edge";
    EXPECT_FALSE(InkedIn(shot, 0xFF9FE0FF, 30).isEmpty()) << "the text over it";

    f.label->resize(1, 50);
    EXPECT_TRUE(Inked(Grabbed(*f.label)).isEmpty()) << "a label narrower than 2 pixels paints nothing";
}

TEST(TGradientLabel, ChangesRepaintAndAreAnnounced) {
    TGradientLabel label;
    int changes = 0;
    label.OnChange = [&](TGradientLabel* sender) {
        EXPECT_EQ(sender, &label);
        ++changes;
    };
    label.Caption().SetText(QStringLiteral("x"));
    label.Caption().SetText(QStringLiteral("x"));
    label.Caption().SetFont(MakeQFont(QStringLiteral("Tahoma"), 32));
    label.CaptionShadow().SetColorStart(clRed);
    label.Fill().SetColor(clRed);
    label.SetWordWrap(true);
    label.SetWordWrap(true);
    EXPECT_EQ(changes, 5) << "a value set again is no change";
}

TEST(TGradientLabel, AssignCopiesCaptionsWithoutTheirFontsAndAnnouncesOnce) {
    TGradientLabel source;
    source.Caption().SetText(QStringLiteral("--:--:--"));
    source.Caption().SetFont(MakeQFont(QStringLiteral("Tahoma"), 32));
    source.Caption().SetLocation(plBottomLeft);
    source.Caption().SetColorEnd(clNone);
    source.Caption().SetOpacityStart(100);
    source.Caption().SetGradientType(gtHatch);
    source.Caption().SetHatchStyle(HatchStyleWeave);
    source.CaptionShadow().SetText(QStringLiteral("shadow"));
    source.Fill().SetColor(clAqua);
    source.SetTransparent(false);
    source.SetWordWrap(true);
    source.SetTextRendering(tClearType);
    source.SetCaptionShadowVisible(true);
    source.SetCaptionShadowOffsetLeft(3);
    source.SetCaptionShadowOffsetTop(4);

    TGradientLabel target;
    const QFont before = target.Caption().Font();
    int changes = 0;
    target.OnChange = [&](TGradientLabel*) { ++changes; };
    target.Assign(source);
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(target.Caption().Text(), QStringLiteral("--:--:--"));
    EXPECT_EQ(target.Caption().Font(), before);
    EXPECT_EQ(target.Caption().Location(), plBottomLeft);
    EXPECT_EQ(target.Caption().ColorEnd(), clNone);
    EXPECT_EQ(target.Caption().OpacityStart(), 100);
    EXPECT_EQ(target.Caption().GradientType(), gtHatch);
    EXPECT_EQ(target.Caption().HatchStyle(), HatchStyleWeave);
    EXPECT_EQ(target.CaptionShadow().Text(), QStringLiteral("shadow"));
    EXPECT_EQ(target.Fill().Color(), clAqua);
    EXPECT_FALSE(target.Transparent());
    EXPECT_TRUE(target.WordWrap());
    EXPECT_EQ(target.TextRendering(), tClearType);
    EXPECT_TRUE(target.CaptionShadowVisible());
    EXPECT_EQ(target.CaptionShadowOffsetLeft(), 3);
    EXPECT_EQ(target.CaptionShadowOffsetTop(), 4);

    source.Caption().SetText(QStringLiteral("changed"));
    EXPECT_EQ(target.Caption().Text(), QStringLiteral("--:--:--")) << "a copy, not a share";
    changes = 0;
    target.Caption().SetText(QStringLiteral("after"));
    EXPECT_EQ(changes, 1) << "notices flow again after the copy";
}
