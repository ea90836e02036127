#include "platform/fonts.h"
#include "widgets/color_button.h"
#include "widgets/gradient_panel.h"
#include "widgets/tests/widget_test_support.h"

#include <QEnterEvent>
#include <QSignalSpy>
#include <QTest>

using namespace lanterna;
using namespace lanterna::testing;

namespace {

// The largest difference of a colour channel.
int Distance(ARGB a, ARGB b) {
    int most = 0;
    for (int shift : {16, 8, 0})
        most = std::max(most, std::abs(Channel(a, shift) - Channel(b, shift)));
    return most;
}

// Every channel of `a` at least as high as that of `b`, and some channel higher.
bool Lighter(ARGB a, ARGB b) {
    return Distance(a, b) > 0 && Channel(a, 16) >= Channel(b, 16) && Channel(a, 8) >= Channel(b, 8) &&
           Channel(a, 0) >= Channel(b, 0);
}

// A button of the player's look on a parent, so that it shows nothing where it paints nothing.
struct ButtonFixture {
    QWidget parent;
    TColorButton* button;
    explicit ButtonFixture(TColor color)
        : button(new TColorButton(QStringLiteral("Pokračovat"), color, &parent)) {
        button->setFont(MakeQFont(QStringLiteral("Tahoma"), 13, true));
        button->setGeometry(10, 10, 115, 35);
    }
    // The face at a row, left of the caption.
    ARGB At(int y) { return Px(Grabbed(*button), 4, y); }
};

void Hover(QWidget* widget, bool in) {
    QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), QPointF(5, 5));
    QEvent leave(QEvent::Leave);
    QCoreApplication::sendEvent(widget, in ? static_cast<QEvent*>(&enter) : &leave);
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
        EXPECT_TRUE(Near(Px(shot, 57, 0), Opaque(f.button->Face().BorderColor()), 4));
        EXPECT_TRUE(Lighter(bottom, Px(shot, 57, 34))) << "the border is darker than the face";
        const QRect caption = BoxOf(shot, 0xFF000000);
        EXPECT_NEAR(caption.center().x(), 57, 3) << "black letters in the middle";
        EXPECT_NEAR(caption.center().y(), 17, 3);
    }
}

TEST(TColorButton, LightsUpUnderTheMouseTurnsOverWhilePressedAndFadesWhenDisabled) {
    ButtonFixture f(RGBColor(0x00, 0x80, 0xFF));
    const ARGB restTop = f.At(2);
    Hover(f.button, true);
    EXPECT_TRUE(Near(f.At(2), Opaque(f.button->FaceHot().Color()), 12));
    EXPECT_TRUE(Lighter(f.At(2), restTop));
    Hover(f.button, false);
    EXPECT_EQ(f.At(2), restTop);

    QSignalSpy clicked(f.button, &QPushButton::clicked);
    QTest::mousePress(f.button, Qt::LeftButton, {}, QPoint(50, 17));
    EXPECT_TRUE(Lighter(f.At(32), f.At(2))) << "pressed, the light comes from below";
    QTest::mouseRelease(f.button, Qt::LeftButton, {}, QPoint(50, 17));
    EXPECT_EQ(clicked.count(), 1);
    EXPECT_EQ(f.At(2), restTop);

    f.button->setEnabled(false);
    Hover(f.button, true);
    EXPECT_EQ(qAlpha(f.At(17)), TColorButton::kDisabledOpacity);
    EXPECT_TRUE(Near(f.At(2) | 0xFF000000, restTop, 3)) << "the resting face, not the lit one";
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
    EXPECT_GT(outlined(), 20);
    EXPECT_LT(outlined(), 80) << "dotted, not solid";
    QSignalSpy clicked(f.button, &QPushButton::clicked);
    QTest::keyClick(f.button, Qt::Key_Space);
    EXPECT_EQ(clicked.count(), 1);
}

TEST(TColorButton, ANewColourOrARestyledFaceShowsAtOnce) {
    ButtonFixture f(clLime);
    f.button->Face().SetColor(clBlue);
    f.button->Face().SetColorTo(clNone);
    EXPECT_EQ(f.At(32), Opaque(clBlue));
    f.button->SetColor(clYellow);
    EXPECT_LT(Distance(f.At(32), Opaque(clYellow)), 48) << "a new colour sets the faces anew";
}

TEST(TGradientPanel, PaintsTheSettingsLookAndRepaintsAfterAChange) {
    constexpr TColor kTop = RGBColor(0xE9, 0xF1, 0xFA), kMiddle = RGBColor(0xC7, 0xD8, 0xED),
                     kBottom = RGBColor(0xE7, 0xF2, 0xFF), kBorder = RGBColor(0x8D, 0xB2, 0xE3);
    QWidget parent;
    auto* panel = new TGradientPanel(&parent);
    panel->setGeometry(8, 8, 449, 273);
    TFill& fill = panel->Fill();
    fill.SetColor(kTop);
    fill.SetColorTo(kMiddle);
    fill.SetColorMirror(kMiddle);
    fill.SetColorMirrorTo(kBottom);
    fill.SetGradientMirrorType(gtVertical);
    fill.SetBorderColor(kBorder);
    fill.SetRounding(10);
    fill.SetShadowOffset(10);

    QImage shot = Grabbed(*panel);
    // The body covers 438 x 262 from the top left, its border on the outermost pixels; the shadow
    // takes the rest.
    for (QPoint p : {QPoint(220, 0), QPoint(0, 130), QPoint(220, 262), QPoint(438, 130)})
        EXPECT_TRUE(Near(Px(shot, p.x(), p.y()), Opaque(kBorder), 3)) << p.x() << "," << p.y();
    for (QPoint p : {QPoint(0, 0), QPoint(448, 0), QPoint(0, 272), QPoint(448, 272)})
        EXPECT_EQ(qAlpha(Px(shot, p.x(), p.y())), 0) << p.x() << "," << p.y();
    EXPECT_TRUE(Near(Px(shot, 220, 2), Opaque(kTop), 4));
    EXPECT_TRUE(Near(Px(shot, 220, 131), Opaque(kMiddle), 4));
    EXPECT_TRUE(Near(Px(shot, 220, 261), Opaque(kBottom), 4));
    for (QPoint p : {QPoint(440, 130), QPoint(220, 265)}) {
        const ARGB shadow = Px(shot, p.x(), p.y());
        EXPECT_GT(qAlpha(shadow), 20) << "a soft shadow at " << p.x() << "," << p.y();
        EXPECT_LT(qAlpha(shadow), 255);
        EXPECT_EQ(Channel(shadow, 16), Channel(shadow, 0)) << "grey";
    }

    fill.SetColorTo(clNone);
    EXPECT_EQ(Px(Grabbed(*panel), 220, 60), Opaque(kTop)) << "the painted fill is not kept after a change";
    panel->resize(200, 100);
    shot = Grabbed(*panel);
    EXPECT_TRUE(Near(Px(shot, 100, 89), Opaque(kBorder), 3)) << "nor after a resize";
    EXPECT_EQ(qAlpha(Px(shot, 199, 99)), 0);
}
