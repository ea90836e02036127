#include "drawing/tests/drawing_test_support.h"
#include "platform/fonts.h"
#include "widgets/color_button.h"
#include "widgets/gradient_panel.h"

#include <QEnterEvent>
#include <QSignalSpy>
#include <QTest>

using namespace lanterna;
using namespace lanterna::testing;

namespace {

QImage Grabbed(QWidget& widget) {
    return widget.grab().toImage().convertToFormat(QImage::Format_ARGB32);
}

ARGB Opaque(TColor color) {
    return AlphaColor(color, 255);
}

// The largest difference of a colour channel.
int Distance(ARGB a, ARGB b) {
    int most = 0;
    for (int shift : {16, 8, 0})
        most = std::max(most, std::abs(Channel(a, shift) - Channel(b, shift)));
    return most;
}

// Every channel of `a` at least as high as that of `b`, and some channel higher.
bool Lighter(ARGB a, ARGB b) {
    bool higher = false;
    for (int shift : {16, 8, 0}) {
        if (Channel(a, shift) < Channel(b, shift))
            return false;
        higher = higher || Channel(a, shift) > Channel(b, shift);
    }
    return higher;
}

// A button of the player's look on a parent, so that it shows nothing where it paints nothing.
struct ButtonFixture {
    QWidget parent;
    TColorButton* button;
    explicit ButtonFixture(TColor color, const QString& caption = QStringLiteral("Pokračovat"))
        : button(new TColorButton(caption, color, &parent)) {
        button->setFont(MakeQFont(QStringLiteral("Tahoma"), 13, true));
        button->setGeometry(10, 10, 115, 35);
    }
    // The face's colour at a row, in the middle column (the caption stays clear of the first rows).
    ARGB At(int y) { return Px(Grabbed(*button), 4, y); }
};

void Hover(QWidget* widget, bool in) {
    if (in) {
        QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), QPointF(5, 5));
        QCoreApplication::sendEvent(widget, &enter);
    } else {
        QEvent leave(QEvent::Leave);
        QCoreApplication::sendEvent(widget, &leave);
    }
}

} // namespace

TEST(TColorButton, TheFaceRunsFromALightTintAtTheTopToTheColourAtTheBottom) {
    for (TColor color : {clLime, RGBColor(0x00, 0x80, 0xFF), clGreen, clRed}) {
        ButtonFixture f(color);
        const QImage shot = Grabbed(*f.button);
        const ARGB top = Px(shot, 4, 2), bottom = Px(shot, 4, 32);
        EXPECT_TRUE(Near(top, Opaque(f.button->Face().Color()), 12)) << std::hex << color;
        // The gradient runs a pixel past the face and mixes its colours in linear light.
        EXPECT_LT(Distance(bottom, Opaque(color)), 48) << std::hex << color;
        EXPECT_GT(Distance(top, Opaque(color)), 100) << std::hex << color;
        EXPECT_TRUE(Lighter(top, bottom)) << std::hex << color;
        EXPECT_EQ(qAlpha(Px(shot, 0, 0)), 0) << "rounded corners show the parent";
        EXPECT_EQ(qAlpha(Px(shot, 114, 34)), 0);
        EXPECT_TRUE(Near(Px(shot, 57, 0), Opaque(f.button->Face().BorderColor()), 4)) << "the border";
        EXPECT_TRUE(Lighter(bottom, Px(shot, 57, 34))) << "the border is darker than the face";
    }
}

TEST(TColorButton, TheCaptionIsCentredInTheButtonTextColour) {
    ButtonFixture f(clLime);
    const QImage shot = Grabbed(*f.button);
    const QRect ink = BoxOf(shot, 0xFF000000);
    ASSERT_FALSE(ink.isEmpty()) << "black letters";
    EXPECT_NEAR(ink.center().x(), 57, 3);
    EXPECT_NEAR(ink.center().y(), 17, 3);
    EXPECT_GT(ink.width(), 50) << "the whole word";

    QPalette palette = f.button->palette();
    palette.setColor(QPalette::ButtonText, Qt::red);
    f.button->setPalette(palette);
    EXPECT_TRUE(BoxOf(Grabbed(*f.button), 0xFF000000).isEmpty());
    EXPECT_FALSE(BoxOf(Grabbed(*f.button), 0xFFFF0000).isEmpty());
}

TEST(TColorButton, LightsUpUnderTheMouseAndTurnsOverWhilePressed) {
    ButtonFixture f(RGBColor(0x00, 0x80, 0xFF));
    const ARGB restTop = f.At(2);

    Hover(f.button, true);
    EXPECT_TRUE(f.button->MouseInControl());
    EXPECT_TRUE(Lighter(f.At(2), restTop));
    EXPECT_TRUE(Near(f.At(2), Opaque(f.button->FaceHot().Color()), 12));
    Hover(f.button, false);
    EXPECT_EQ(f.At(2), restTop);

    QSignalSpy clicked(f.button, &QPushButton::clicked);
    QTest::mousePress(f.button, Qt::LeftButton, {}, QPoint(50, 17));
    ASSERT_TRUE(f.button->isDown());
    EXPECT_TRUE(Lighter(f.At(32), f.At(2))) << "pressed, the light comes from below";
    QTest::mouseRelease(f.button, Qt::LeftButton, {}, QPoint(50, 17));
    EXPECT_EQ(clicked.count(), 1);
    EXPECT_EQ(f.At(2), restTop);
}

TEST(TColorButton, ShowsKeyboardFocusAndClicksFromTheKeyboard) {
    ButtonFixture f(clLime);
    auto* other = new TColorButton(QStringLiteral("Nastavit"), clRed, &f.parent);
    other->setGeometry(10, 60, 106, 35);
    f.parent.show();
    f.parent.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&f.parent));
    // The dotted outline runs one pixel inside the border.
    auto outlined = [&] {
        const QImage shot = Grabbed(*f.button);
        int dark = 0;
        for (int x = 10; x < 105; ++x)
            dark += qGray(Px(shot, x, 1)) < 60;
        return dark;
    };
    other->setFocus();
    EXPECT_EQ(outlined(), 0);
    f.button->setFocus();
    ASSERT_TRUE(f.button->hasFocus());
    EXPECT_GT(outlined(), 20);
    EXPECT_LT(outlined(), 80) << "dotted, not solid";

    QSignalSpy clicked(f.button, &QPushButton::clicked);
    QTest::keyClick(f.button, Qt::Key_Space);
    EXPECT_EQ(clicked.count(), 1);
}

TEST(TColorButton, ADisabledButtonIsFadedAndIgnoresTheMouse) {
    ButtonFixture f(clGreen);
    f.button->setEnabled(false);
    EXPECT_EQ(qAlpha(f.At(17)), TColorButton::kDisabledOpacity);
    Hover(f.button, true);
    EXPECT_EQ(qAlpha(f.At(17)), TColorButton::kDisabledOpacity);
    QSignalSpy clicked(f.button, &QPushButton::clicked);
    QTest::mouseClick(f.button, Qt::LeftButton, {}, QPoint(50, 17));
    EXPECT_EQ(clicked.count(), 0);
}

TEST(TColorButton, ANewColourOrARestyledFaceShowsAtOnce) {
    ButtonFixture f(clLime);
    f.button->SetColor(clRed);
    EXPECT_EQ(f.button->Color(), clRed);
    EXPECT_LT(Distance(f.At(32), Opaque(clRed)), 48);
    f.button->Face().SetColor(clBlue);
    f.button->Face().SetColorTo(clNone);
    EXPECT_EQ(f.At(32), Opaque(clBlue));
    f.button->SetColor(clYellow);
    EXPECT_LT(Distance(f.At(32), Opaque(clYellow)), 48) << "a new colour sets the faces anew";
}

namespace {

// The settings window's panel: a blue-white gradient split in two halves, border, radius 10, shadow 10.
struct PanelFixture {
    QWidget parent;
    TGradientPanel* panel = new TGradientPanel(&parent);
    static constexpr TColor kTop = RGBColor(0xE9, 0xF1, 0xFA), kMiddle = RGBColor(0xC7, 0xD8, 0xED),
                            kBottom = RGBColor(0xE7, 0xF2, 0xFF), kBorder = RGBColor(0x8D, 0xB2, 0xE3);
    PanelFixture() {
        panel->setGeometry(8, 8, 449, 273);
        TFill& fill = panel->Fill();
        fill.SetColor(kTop);
        fill.SetColorTo(kMiddle);
        fill.SetColorMirror(kMiddle);
        fill.SetColorMirrorTo(kBottom);
        fill.SetGradientType(gtVertical);
        fill.SetGradientMirrorType(gtVertical);
        fill.SetBorderColor(kBorder);
        fill.SetRounding(10);
        fill.SetShadowOffset(10);
    }
};

} // namespace

TEST(TGradientPanel, PaintsTheSettingsLookWithBorderRoundedCornersAndShadow) {
    PanelFixture f;
    const QImage shot = Grabbed(*f.panel);
    // The body covers 438 x 262 from the top left (its border on the outermost pixels); the shadow takes
    // the rest.
    EXPECT_TRUE(Near(Px(shot, 220, 0), Opaque(PanelFixture::kBorder), 3));
    EXPECT_TRUE(Near(Px(shot, 0, 130), Opaque(PanelFixture::kBorder), 3));
    EXPECT_TRUE(Near(Px(shot, 220, 262), Opaque(PanelFixture::kBorder), 3));
    EXPECT_TRUE(Near(Px(shot, 438, 130), Opaque(PanelFixture::kBorder), 3));
    EXPECT_EQ(qAlpha(Px(shot, 0, 0)), 0);
    EXPECT_EQ(qAlpha(Px(shot, 448, 0)), 0);
    EXPECT_EQ(qAlpha(Px(shot, 0, 272)), 0);
    EXPECT_EQ(qAlpha(Px(shot, 448, 272)), 0);

    EXPECT_TRUE(Near(Px(shot, 220, 2), Opaque(PanelFixture::kTop), 4));
    EXPECT_TRUE(Near(Px(shot, 220, 131), Opaque(PanelFixture::kMiddle), 4));
    EXPECT_TRUE(Near(Px(shot, 220, 261), Opaque(PanelFixture::kBottom), 4));
    EXPECT_TRUE(Lighter(Px(shot, 220, 60), Px(shot, 220, 125)));
    EXPECT_TRUE(Lighter(Px(shot, 220, 250), Px(shot, 220, 140)));

    // Beyond the body's right and lower edges lies a soft grey shadow.
    for (QPoint p : {QPoint(440, 130), QPoint(220, 265)}) {
        const ARGB shadow = Px(shot, p.x(), p.y());
        EXPECT_GT(qAlpha(shadow), 20) << p.x() << "," << p.y();
        EXPECT_LT(qAlpha(shadow), 255) << p.x() << "," << p.y();
        EXPECT_EQ(Channel(shadow, 16), Channel(shadow, 0)) << "grey";
    }
}

TEST(TGradientPanel, RepaintsItsFillAfterAChangeOrAResize) {
    PanelFixture f;
    Grabbed(*f.panel);
    f.panel->Fill().SetColor(clRed);
    f.panel->Fill().SetColorTo(clNone);
    EXPECT_EQ(Px(Grabbed(*f.panel), 220, 2), 0xFFFF0000);

    f.panel->resize(200, 100);
    const QImage shot = Grabbed(*f.panel);
    EXPECT_EQ(shot.size(), QSize(200, 100));
    EXPECT_TRUE(Near(Px(shot, 100, 89), Opaque(PanelFixture::kBorder), 3)) << "the border follows the size";
    EXPECT_EQ(qAlpha(Px(shot, 199, 99)), 0);
}
