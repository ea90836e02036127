#include "platform/fonts.h"
#include "widgets/glass_button.h"
#include "widgets/reflection_label.h"
#include "widgets/tests/widget_test_support.h"

#include <QEnterEvent>
#include <QTest>

using namespace lanterna;
using namespace lanterna::testing;

namespace {

// The updater's "Start" button on a parent, so that it shows nothing where it paints nothing.
struct StartButton {
    QWidget parent;
    TGlassButton* button = new TGlassButton(QStringLiteral("Start"), clGreen, &parent);
    int clicks = 0;
    StartButton() {
        button->setGeometry(82, 96, 167, 57);
        button->setFont(MakeQFont(QStringLiteral("Arial"), 16, true));
        button->SetShineColor(clLime);
        button->OnClick = [this](TGlassButton* sender) {
            EXPECT_EQ(sender, button);
            ++clicks;
        };
    }
    QImage Shot() { return Grabbed(*button); }
};

int Brightness(ARGB c) {
    return Channel(c, 16) + Channel(c, 8) + Channel(c, 0);
}

void Hover(QWidget* widget, bool in) {
    QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), QPointF(5, 5));
    QEvent leave(QEvent::Leave);
    QCoreApplication::sendEvent(widget, in ? static_cast<QEvent*>(&enter) : &leave);
}

} // namespace

TEST(TGlassButton, ShowsAGreenGlassFaceWithShineBordersAndAWhiteCaption) {
    StartButton f;
    const QImage shot = f.Shot();
    EXPECT_EQ(qAlpha(Px(shot, 0, 0)), 0) << "rounded corners show the parent";
    EXPECT_EQ(qAlpha(Px(shot, 166, 56)), 0);
    EXPECT_TRUE(Near(Px(shot, 40, 0), 0xFFFFFFFF, 8)) << "white outer border";
    EXPECT_TRUE(Near(Px(shot, 40, 1), 0xFF000000, 8)) << "black inner border";
    EXPECT_TRUE(Near(Px(shot, 0, 28), 0xFFFFFFFF, 8));
    EXPECT_TRUE(Near(Px(shot, 1, 28), 0xFF000000, 8));
    const ARGB low = Px(shot, 20, 48), high = Px(shot, 20, 8);
    EXPECT_GT(Channel(low, 8), 2 * std::max(Channel(low, 16), Channel(low, 0))) << "a green face";
    EXPECT_GT(Channel(high, 8), Channel(low, 8) + 40) << "the lime shine lights the upper half";
    // White letters in the middle.
    QRect letters;
    for (int y = 3; y < 54; ++y)
        for (int x = 3; x < 164; ++x)
            if (Brightness(Px(shot, x, y)) > 720)
                letters |= QRect(x, y, 1, 1);
    ASSERT_FALSE(letters.isEmpty());
    EXPECT_NEAR(letters.center().x(), 83, 3);
    EXPECT_NEAR(letters.center().y(), 28, 4);
    EXPECT_GT(letters.width(), 30) << "Arial 16 bold";
}

TEST(TGlassButton, GlowsUnderTheMouseClicksAndGreysOutWhenDisabled) {
    StartButton f;
    const ARGB rest = Px(f.Shot(), 83, 52);
    Hover(f.button, true);
    EXPECT_GT(Brightness(Px(f.Shot(), 83, 52)), Brightness(rest) + 60) << "the white glow at the bottom";
    Hover(f.button, false);
    EXPECT_EQ(Px(f.Shot(), 83, 52), rest);

    QTest::mouseClick(f.button, Qt::LeftButton, {}, QPoint(80, 30));
    EXPECT_EQ(f.clicks, 1);
    QTest::keyClick(f.button, Qt::Key_Space);
    EXPECT_EQ(f.clicks, 2);

    const ARGB enabledFace = Px(f.Shot(), 20, 48);
    f.button->setEnabled(false);
    const ARGB face = Px(f.Shot(), 20, 48);
    const int spread = std::max({Channel(face, 16), Channel(face, 8), Channel(face, 0)}) -
                       std::min({Channel(face, 16), Channel(face, 8), Channel(face, 0)});
    EXPECT_LT(spread, 60) << "a pale grey face";
    EXPECT_GT(Brightness(face), Brightness(enabledFace) + 200);
    QTest::mouseClick(f.button, Qt::LeftButton, {}, QPoint(80, 30));
    EXPECT_EQ(f.clicks, 2) << "no click while disabled";
}

TEST(TGlassButton, TheRedStopButtonTakesItsOwnColours) {
    QWidget parent;
    auto* stop = new TGlassButton(QStringLiteral("Zrušit"), clRed, &parent);
    stop->setGeometry(250, 96, 167, 57);
    stop->SetShineColor(RGBColor(0xFF, 0x80, 0x80));
    stop->SetOuterBorderColor(clBlack);
    const QImage shot = Grabbed(*stop);
    const ARGB low = Px(shot, 20, 48);
    EXPECT_GT(Channel(low, 16), 2 * std::max(Channel(low, 8), Channel(low, 0))) << "a red face";
    EXPECT_TRUE(Near(Px(shot, 40, 0), 0xFF000000, 8));
}

TEST(TReflectionLabel, ShowsCentredRichTextWithAFadingReflectionBelowIt) {
    QWidget parent;
    auto* label = new TReflectionLabel(&parent);
    label->setGeometry(8, 48, 409, 41);
    label->setFont(MakeQFont(QStringLiteral("MS Sans Serif"), 23, true));
    label->SetHTMLText(QStringLiteral("<p align=\"center\">wait..</p>"));
    const QImage shot = Grabbed(*label);
    const int textHeight = label->TextHeight();
    ASSERT_GT(textHeight, 15);
    ASSERT_LT(textHeight, 41);

    // Below the laid-out text only the reflection paints, and only faintly.
    auto below = [&](const QImage& image) {
        QRect box;
        int strongest = 0;
        for (int y = textHeight; y < 41; ++y)
            for (int x = 0; x < 409; ++x)
                if (const int alpha = qAlpha(Px(image, x, y)); alpha > 0) {
                    box |= QRect(x, y, 1, 1);
                    strongest = std::max(strongest, alpha);
                }
        return std::make_pair(box, strongest);
    };
    const QRect letters = InkBox(shot.copy(0, 0, 409, textHeight), 60);
    ASSERT_FALSE(letters.isEmpty()) << "black letters";
    EXPECT_NEAR(letters.center().x(), 204, 3) << "centred";
    EXPECT_GT(letters.width(), 40) << "MS Sans Serif 23 bold";
    const auto [reflection, strongest] = below(shot);
    ASSERT_FALSE(reflection.isEmpty()) << "a reflection under the text";
    EXPECT_LE(strongest, 50) << "at opacity 50";
    EXPECT_NEAR(reflection.center().x(), letters.center().x(), 2) << "mirrored in place";

    label->SetReflectionSize(0);
    EXPECT_TRUE(below(Grabbed(*label)).first.isEmpty()) << "no reflection at all";
    label->SetHTMLText(QStringLiteral("<p align=\"center\"><b>Lanterna</b></p>"));
    EXPECT_NE(Grabbed(*label), shot) << "a new text shows";
}

TEST(TReflectionLabel, ClicksAndKeepsItsTextWithinBounds) {
    TReflectionLabel label;
    int clicks = 0;
    label.OnClick = [&](TReflectionLabel*) { ++clicks; };
    QTest::mouseClick(&label, Qt::LeftButton, {}, QPoint(20, 10));
    EXPECT_EQ(clicks, 1);
    label.SetHTMLText(QString(100000, u'x'));
    EXPECT_EQ(label.HTMLText().size(), TReflectionLabel::kMaxTextLength);
    label.SetHTMLText(QStringLiteral("<p><b>unclosed <i>tags"));
    EXPECT_GT(label.TextHeight(), 0) << "broken HTML still shows its text";
    label.SetReflectionOpacity(300);
    EXPECT_EQ(label.ReflectionOpacity(), 50);
}
