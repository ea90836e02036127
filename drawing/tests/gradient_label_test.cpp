#include "drawing/gradient_label.h"
#include "drawing/tests/drawing_test_support.h"
#include "platform/fonts.h"

using namespace lanterna;
using namespace lanterna::testing;

namespace {

// The box of the opaque pixels within `tolerance` of a colour; any opaque pixel without a colour.
QRect Inked(const QImage& image, std::optional<QRgb> color = {}, int tolerance = 40) {
    QRect box;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qAlpha(Px(image, x, y)) == 255 && (!color || Near(Px(image, x, y), *color, tolerance)))
                box |= QRect(x, y, 1, 1);
    return box;
}

// A label on a parent, so that it shows nothing where it paints nothing; Tahoma bold 48 pixels high.
struct Fixture {
    QWidget parent;
    TGradientLabel* label = new TGradientLabel(&parent);
    explicit Fixture(const QString& text = QStringLiteral("1.2")) {
        label->Caption().SetText(text);
        label->Caption().SetFont(MakeQFont(QStringLiteral("Tahoma"), 48, true));
    }
    TGPRectF CaptionRect(const TGradientLabelCaption& caption, int dx = 0, int dy = 0) {
        QImage scratch = Blank(1, 1);
        TGPGraphics graphics(scratch);
        const TGPRectF r{0, 0, float(label->width() - 1), float(label->height() - 1)};
        return label->CaptionRect(graphics, caption, r, dx, dy);
    }
    QImage Shot() { return Grabbed(*label); }
};

} // namespace

TEST(TGradientLabel, TextOriginPlacesTheTextInItsBox) {
    // A 100 x 40 text in the rectangle of a 280 x 50 label, which is 279 x 49.
    EXPECT_EQ(TextOrigin(plBottomRight, 279, 49, 100, 40, 7, -3), (TGPPointF{179, 9}));
    EXPECT_EQ(TextOrigin(plCenterCenter, 279, 49, 100, 40, 7, -3), (TGPPointF{89.5f, 4.5f}));
    EXPECT_EQ(TextOrigin(plTopRight, 279, 49, 100, 40, 7, -3), (TGPPointF{179, 0}));
    EXPECT_EQ(TextOrigin(plBottomLeft, 279, 49, 100, 40, 7, -3), (TGPPointF{0, 9}));
    EXPECT_EQ(TextOrigin(plCustom, 279, 49, 100, 40, 7, -3), (TGPPointF{7, -3}));
}

TEST(TGradientLabel, TheVersionLabelRunsFromLightBlueAtTheTopToDarkBlueAtTheBottom) {
    Fixture f;
    f.label->resize(181, 50);
    const QImage shot = f.Shot();
    const QRect ink = Inked(shot);
    ASSERT_FALSE(ink.isEmpty());
    EXPECT_NEAR(ink.center().x(), 90, 4) << "centred across";
    EXPECT_EQ(qAlpha(Px(shot, 0, 0)), 0) << "no background";
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
    Fixture f(QStringLiteral("12"));
    f.label->Caption().SetLocation(plBottomRight);
    const TGPRectF text = f.CaptionRect(f.label->Caption());
    EXPECT_FLOAT_EQ(text.X + text.Width, 279);
    EXPECT_FLOAT_EQ(text.Y + text.Height, 49);
    const QRect ink = Inked(f.Shot());
    EXPECT_TRUE(QRectF(text.X - 1, text.Y - 1, text.Width + 2, text.Height + 2).contains(QRectF(ink)));
    EXPECT_GT(ink.right(), 279 - 12);
    f.label->Caption().SetLocation(plTopLeft);
    EXPECT_LT(Inked(f.Shot()).left(), 8);
}

TEST(TGradientLabel, APixelHeightFontKeepsItsCharacterHeight) {
    Fixture pixels, points;
    QFont font(QStringLiteral("Tahoma"));
    font.setBold(true);
    font.setPointSize(36); // 48 pixels at 96 dots per inch
    points.label->Caption().SetFont(font);
    const TGPRectF a = pixels.CaptionRect(pixels.label->Caption());
    const TGPRectF b = points.CaptionRect(points.label->Caption());
    EXPECT_FLOAT_EQ(a.Width, b.Width);
    EXPECT_FLOAT_EQ(a.Height, b.Height);
    const int digits = Inked(pixels.Shot()).height();
    EXPECT_GE(digits, 30);
    EXPECT_LE(digits, 48);
}

TEST(TGradientLabel, LettersTakeTheirBrushFromTheGradientType) {
    Fixture f(QStringLiteral("MM"));
    TGradientLabelCaption& c = f.label->Caption();
    c.SetColorStart(clRed);
    c.SetColorEnd(clNone);
    for (TGradientType type : {gtVertical, gtBackwardDiagonal}) {
        c.SetGradientType(type);
        const QImage shot = f.Shot();
        EXPECT_EQ(Inked(shot, 0xFFFF0000, 0), Inked(shot)) << "without an end colour, solid " << int(type);
    }

    c.SetColorStart(clBlack);
    c.SetColorEnd(clWhite);
    // Horizontal: dark on the left, light on the right; backward diagonal: dark at the top right.
    c.SetGradientType(gtHorizontal);
    QImage shot = f.Shot();
    QRect ink = Inked(shot);
    EXPECT_LT(qGray(Px(shot, ink.left(), ink.bottom())), qGray(Px(shot, ink.right(), ink.bottom())));
    c.SetGradientType(gtBackwardDiagonal);
    shot = f.Shot();
    EXPECT_GT(qGray(Px(shot, ink.left(), ink.bottom())), qGray(Px(shot, ink.right(), ink.top() + 3)));

    c.SetColorStart(clRed);
    c.SetColorEnd(clBlue);
    c.SetGradientType(gtHatch);
    c.SetHatchStyle(HatchStyleLargeCheckerBoard);
    shot = f.Shot();
    EXPECT_FALSE(Inked(shot, 0xFFFF0000, 0).isEmpty());
    EXPECT_FALSE(Inked(shot, 0xFF0000FF, 0).isEmpty());

    c.SetGradientType(gtTexture);
    EXPECT_TRUE(Inked(f.Shot()).isEmpty()) << "a texture without a picture";
    QBuffer in;
    in.setData(Encode(Blank(4, 4, 0xFF00C000), "png"));
    in.open(QIODevice::ReadOnly);
    c.Picture().LoadFromStream(&in);
    shot = f.Shot();
    EXPECT_EQ(Inked(shot, 0xFF00C000, 0), Inked(shot));

    for (TGradientType type : {gtRadial, gtAngle, gtPath, gtNone}) {
        c.SetGradientType(type);
        EXPECT_TRUE(Inked(f.Shot()).isEmpty()) << int(type);
    }
}

TEST(TGradientLabel, TheShadowCaptionLiesUnderTheTextShiftedByItsOffsets) {
    Fixture f(QStringLiteral("12"));
    TGradientLabel& label = *f.label;
    label.resize(280, 80); // room around the text for the shadow to move in
    label.Caption().SetGradientType(gtSolid);
    label.Caption().SetColorStart(clRed);
    label.CaptionShadow().SetText(QStringLiteral("12"));
    label.CaptionShadow().SetFont(label.Caption().Font());
    label.CaptionShadow().SetGradientType(gtSolid);
    label.CaptionShadow().SetColorStart(clBlue);
    const QRect text = Inked(f.Shot(), 0xFFFF0000);
    EXPECT_TRUE(Inked(f.Shot(), 0xFF0000FF).isEmpty()) << "hidden until asked for";

    label.SetCaptionShadowVisible(true);
    QImage shot = f.Shot();
    EXPECT_EQ(Inked(shot, 0xFFFF0000), text) << "the text is painted over its shadow";
    EXPECT_EQ(Inked(shot, 0xFF0000FF).bottomRight(), text.bottomRight() + QPoint(1, 1));
    label.SetCaptionShadowOffsetLeft(6);
    label.SetCaptionShadowOffsetTop(-3);
    EXPECT_EQ(Inked(f.Shot(), 0xFF0000FF).topRight(), text.topRight() + QPoint(6, -3));

    // A custom place is the main caption's, for the shadow too.
    label.Caption().SetLocation(plCustom);
    label.Caption().SetLeft(20);
    label.CaptionShadow().SetLocation(plCustom);
    label.CaptionShadow().SetLeft(200);
    EXPECT_FLOAT_EQ(f.CaptionRect(label.CaptionShadow(), 6, -3).X, f.CaptionRect(label.Caption()).X + 6);
}

TEST(TGradientLabel, LongTextStaysOnOneLineUnlessWrapped) {
    Fixture f(QStringLiteral("Kelvra Slide Show"));
    f.label->resize(339, 130);
    const QRect oneLine = Inked(f.Shot());
    EXPECT_LE(oneLine.left(), 1) << "wider than the label and cut at its edges";
    EXPECT_GE(oneLine.right(), 337);
    EXPECT_LT(oneLine.height(), 60);
    f.label->SetWordWrap(true);
    const QRect wrapped = Inked(f.Shot());
    EXPECT_GT(wrapped.height(), 80) << "two lines";
    EXPECT_GT(wrapped.left(), 1);
    EXPECT_LT(wrapped.right(), 337);
}

TEST(TGradientLabel, AnOpaqueLabelPaintsItsFillUnderTheText) {
    Fixture f;
    f.label->Fill().SetColor(clYellow);
    f.label->Fill().SetColorTo(clNone);
    f.label->SetTransparent(false);
    const QImage shot = f.Shot();
    EXPECT_EQ(Px(shot, 2, 2), 0xFFFFFF00);
    EXPECT_EQ(Px(shot, 278, 48), 0xFFFFFF00);
    EXPECT_EQ(qAlpha(Px(shot, 279, 49)), 0) << "the rectangle ends one pixel short of the edge";
    EXPECT_FALSE(Inked(shot, 0xFF9FE0FF).isEmpty()) << "the text over it";
    f.label->resize(1, 50);
    EXPECT_TRUE(Inked(f.Shot()).isEmpty()) << "a label narrower than 2 pixels paints nothing";
}

TEST(TGradientLabel, ChangesAreAnnouncedAndAssignCopiesCaptionsWithoutTheirFonts) {
    TGradientLabel source;
    int changes = 0;
    source.OnChange = [&](TGradientLabel*) { ++changes; };
    source.Caption().SetText(QStringLiteral("--:--:--"));
    source.Caption().SetText(QStringLiteral("--:--:--"));
    source.Caption().SetFont(MakeQFont(QStringLiteral("Tahoma"), 32));
    source.Caption().SetGradientType(gtHatch);
    source.CaptionShadow().SetText(QStringLiteral("shadow"));
    source.Fill().SetColor(clAqua);
    source.SetTransparent(false);
    source.SetCaptionShadowOffsetTop(4);
    EXPECT_EQ(changes, 7) << "a value set again is no change";
    source.OnChange = nullptr;

    TGradientLabel target;
    const QFont font = target.Caption().Font();
    changes = 0;
    target.OnChange = [&](TGradientLabel*) { ++changes; };
    target.Assign(source);
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(target.Caption().Text(), QStringLiteral("--:--:--"));
    EXPECT_EQ(target.Caption().Font(), font);
    EXPECT_EQ(target.Caption().GradientType(), gtHatch);
    EXPECT_EQ(target.CaptionShadow().Text(), QStringLiteral("shadow"));
    EXPECT_EQ(target.Fill().Color(), clAqua);
    EXPECT_FALSE(target.Transparent());
    EXPECT_EQ(target.CaptionShadowOffsetTop(), 4);
    source.Caption().SetText(QStringLiteral("changed"));
    EXPECT_EQ(target.Caption().Text(), QStringLiteral("--:--:--")) << "a copy, not a share";
    target.Caption().SetText(QStringLiteral("after"));
    EXPECT_EQ(changes, 2) << "notices flow again after the copy";
}
