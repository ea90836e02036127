#include "slideshow/internal/transition_steps.h"
#include "slideshow/tests/paint_test_support.h"
#include "slideshow/tests/slide_show_test_support.h"

#include "drawing/fill.h"

#include <QMouseEvent>
#include <gtest/gtest.h>

namespace lanterna::testing {
namespace {

constexpr QRgb kRed = qRgb(255, 0, 0), kBlue = qRgb(0, 0, 255), kGreen = qRgb(0, 160, 0);
constexpr QRgb kBackground = qRgb(128, 128, 128), kHolder = qRgb(255, 255, 255);

// A 600 x 400 slide show without thumbnails over a grey background: a content rectangle of
// (50, 50, 500, 300) in which the pictures keep their own size, centred. Slide 0 is a red 200 x 100
// picture, slide 1 a blue 300 x 200 one (so the placeholder grows by 50 pixels at each side), slide 2 a
// green 300 x 200 one (the same placeholder as slide 1). The animation clock is driven by the test.
class SlideChange : public ::testing::Test {
protected:
    void SetUp() override {
        Show().resize(600, 400);
        // Shown, so that grabbing a frame does not lay the control out again.
        Show().show();
        Show().SetThumbNails(false);
        TFill background;
        background.SetGradientType(gtSolid);
        background.SetColor(RGBColor(128, 128, 128));
        background.SetBorderColor(clNone);
        Show().SetFill(background);
        TFill holder;
        holder.SetGradientType(gtSolid);
        holder.SetColor(clWhite);
        holder.SetBorderColor(clNone);
        Show().SetPlaceHolderFill(holder);
        Show().SetHolderAnimationFactor(6);
        Show().SetFadeAnimationFactor(10);
        Show().SetAnimations({saBottomToTop});
        Show().Transition().Clock().SetSource([this] { return Now; });
        Show().BeginUpdate();
        AddPicture("red.png", 200, 100, kRed);
        AddPicture("blue.png", 300, 200, kBlue);
        AddPicture("green.png", 300, 200, kGreen);
        Show().EndUpdate();
        ASSERT_TRUE(WaitLoaded(Show()));
    }

    void AddPicture(const QString& name, int w, int h, QRgb color) {
        const QString path = Folder.filePath(name);
        WritePicture(path, w, h, QColor(color));
        Show().Items()->Add()->SetLocation(path);
    }

    TSlideShow& Show() { return Still.Show; }
    const TGPRectF& ItemRect(int i) { return Show().Items()->Items(i)->ItemRect(); }
    const TGPRectF& HolderRect(int i) { return Show().Items()->Items(i)->PlaceHolderRect(); }

    // One tick of the animation timer, one period after the last.
    void Tick(double ms = TTimer::kMinimumPeriod) {
        Now += ms;
        Show().AnimateTimerEvent();
    }
    // Ticks until the placeholder has arrived; the number of ticks it moved on.
    int TicksToPlace() {
        int moving = 0;
        for (Tick(); Show().Transition().AnimatingPlaceHolder() && moving < 200; Tick())
            ++moving;
        return moving;
    }
    QImage Grab() { return Grabbed(Show(), QImage::Format_RGB32); }
    QRgb At(const QImage& image, double x, double y) { return image.pixel(int(x), int(y)); }

    QTemporaryDir Folder;
    TStillShow Still;
    double Now = 5000;
};

TEST_F(SlideChange, PlaceHolderGlidesFirstThenThePicturesCrossFadeOneStepPerTick) {
    const TGPRectF from = HolderRect(0), to = HolderRect(1);
    ASSERT_EQ(to.Width - from.Width, 100) << "the longest edge travels 100 pixels";
    Show().Next();
    ASSERT_TRUE(Show().Transition().Running());
    EXPECT_EQ(Show().Transition().Effect(), int(saBottomToTop));

    int moving = 0;
    TGPRectF last = from;
    for (Tick(); Show().Transition().AnimatingPlaceHolder(); Tick()) {
        ++moving;
        const TGPRectF now = Show().Transition().CurrentPlaceHolder();
        EXPECT_LE(now.X, last.X);
        EXPECT_GT(now.Width, last.Width);
        last = now;
        EXPECT_EQ(Show().Transition().NextOpacity(), 0) << "no fade while the placeholder moves";
        EXPECT_EQ(Show().Transition().CurrentItemIndex(), 0) << "the old picture stays drawn";
        ASSERT_LT(moving, 100);
    }
    EXPECT_EQ(moving, 21);
    EXPECT_EQ(Show().Transition().CurrentPlaceHolder(), to);
    EXPECT_EQ(Show().Transition().NextOpacity(), 26) << "the fade begins on the tick the placeholder arrives";

    std::vector<int> incoming{Show().Transition().NextOpacity()};
    while (Show().Transition().AnimatingImage() && incoming.size() < 100) {
        EXPECT_EQ(Show().Transition().CurrentItemIndex(), 0);
        EXPECT_EQ(Show().Transition().NextItemIndex(), 1);
        EXPECT_EQ(Show().Transition().CurrentOpacity() + Show().Transition().NextOpacity(), 255);
        Tick();
        incoming.push_back(Show().Transition().NextOpacity());
    }
    EXPECT_EQ(std::vector<int>(incoming.begin(), incoming.begin() + 12),
              (std::vector<int>{26, 49, 70, 88, 105, 120, 134, 146, 157, 167, 176, 184}));
    EXPECT_EQ(incoming.size(), 42u) << "41 steps to 255, and the 42nd tick ends the change";
    EXPECT_FALSE(Show().Transition().Running());
    EXPECT_EQ(Show().Transition().CurrentItemIndex(), 1);
    EXPECT_EQ(Show().Transition().NextItemIndex(), 1);
    EXPECT_FALSE(Show().AnimateTimer()->Enabled()) << "the animation timer rests between slide changes";
}

TEST_F(SlideChange, APlaceHolderAlreadyAtItsTargetLetsTheFadeBeginOnTheFirstTick) {
    Show().SetItemIndex(1);
    TicksToPlace();
    while (Show().Transition().Running())
        Tick();
    Show().Next();
    Tick();
    EXPECT_FALSE(Show().Transition().AnimatingPlaceHolder());
    EXPECT_EQ(Show().Transition().NextOpacity(), 26);
}

TEST_F(SlideChange, WithoutPlaceHolderThereIsNoPlaceHolderPhase) {
    Show().SetPlaceHolder(false);
    Show().Next();
    Tick();
    EXPECT_EQ(Show().Transition().NextOpacity(), 26);
    const QImage frame = Grab();
    EXPECT_EQ(At(frame, HolderRect(1).X + 10, HolderRect(1).Y + 10), kBackground) << "no placeholder drawn";
}

TEST_F(SlideChange, LateTicksCatchUpSoTheChangeKeepsItsLengthInRealTime) {
    Show().Next();
    Tick(5 * TTimer::kMinimumPeriod);
    TGPRectF expected = HolderRect(0);
    for (int i = 0; i < 5; ++i)
        MovePlaceHolder(expected, HolderRect(1), 6);
    EXPECT_EQ(Show().Transition().CurrentPlaceHolder(), expected)
        << "one late tick takes the five steps it missed";

    const auto length = [this](double tickMs) {
        Show().SetItemIndex(0);
        while (Show().Transition().Running())
            Tick();
        const double start = Now;
        Show().Next();
        while (Show().Transition().Running() && Now - start < 10000)
            Tick(tickMs);
        return Now - start;
    };
    const double atSixty = length(1000.0 / 60);
    EXPECT_GT(atSixty, 900);
    EXPECT_LT(atSixty, 1100) << "about one second";
    EXPECT_NEAR(length(50), atSixty, 50 + 1000.0 / 60) << "twenty ticks a second take as long";
}

TEST_F(SlideChange, TheOldPictureStaysWholeOverTheMovingPlaceHolder) {
    Show().Next();
    Tick();
    Tick();
    ASSERT_TRUE(Show().Transition().AnimatingPlaceHolder());
    const QImage frame = Grab();
    const TGPRectF old = ItemRect(0), holder = Show().Transition().CurrentPlaceHolder();
    EXPECT_EQ(At(frame, old.X + old.Width / 2, old.Y + old.Height / 2), kRed);
    EXPECT_EQ(At(frame, holder.X + 3, holder.Y + 3), kHolder);
    EXPECT_EQ(At(frame, holder.X - 3, holder.Y + 3), kBackground);
}

// The colour of `top` drawn with alpha a over `bottom`.
QRgb Over(QRgb top, double a, QRgb bottom) {
    const auto mix = [a](int t, int b) { return int(std::lround(t * a + b * (1 - a))); };
    return qRgb(mix(qRed(top), qRed(bottom)), mix(qGreen(top), qGreen(bottom)),
                mix(qBlue(top), qBlue(bottom)));
}

TEST_F(SlideChange, TheOutgoingPictureIsDrawnOverTheIncomingOneWithItsOpacityAsAlpha) {
    Show().SetAnimations({saFadeInOut});
    Show().SetItemIndex(1);
    TicksToPlace();
    while (Show().Transition().Running())
        Tick();
    Show().Next(); // blue to green, in the same rectangle
    for (int i = 0; i < 5; ++i)
        Tick();
    const double in = Show().Transition().NextOpacity() / 255.0,
                 out = Show().Transition().CurrentOpacity() / 255.0;
    ASSERT_GT(in, 0.3);
    ASSERT_LT(in, 0.7);
    const QRgb seen = At(Grab(), 300, 200);
    EXPECT_TRUE(SameColour(seen, Over(kBlue, out, Over(kGreen, in, kHolder)), 3));
    EXPECT_FALSE(SameColour(seen, Over(kGreen, in, Over(kBlue, out, kHolder)), 10));
}

TEST_F(SlideChange, WithoutLoadEffectTheIncomingPictureShowsWholeUnderTheSinkingOldOne) {
    Show().SetItemIndex(1);
    TicksToPlace();
    while (Show().Transition().Running())
        Tick();
    Show().Next(); // blue sinks, green comes in
    Tick();
    const TGPRectF r = ItemRect(2);
    // The old picture has sunk by a tenth of its height; the new one is still far below.
    const double top = r.Y + 5, x = r.X + r.Width / 2;
    EXPECT_EQ(At(Grab(), x, top), kHolder);

    Show().SetLoadEffect(false);
    EXPECT_EQ(At(Grab(), x, top), kGreen) << "drawn whole, at full alpha";
}

TEST_F(SlideChange, WithoutAnimationsThePicturesVanishDuringTheFade) {
    Show().SetAnimations({});
    Show().SetItemIndex(1);
    TicksToPlace();
    ASSERT_TRUE(Show().Transition().AnimatingImage());
    const TGPRectF r = ItemRect(1);
    EXPECT_EQ(At(Grab(), r.X + r.Width / 2, r.Y + r.Height / 2), kHolder);
    while (Show().Transition().Running())
        Tick();
    EXPECT_EQ(At(Grab(), r.X + r.Width / 2, r.Y + r.Height / 2), kBlue) << "shown only at the end";
}

TEST_F(SlideChange, AnOpaquePlaceHolderSparesTheBackgroundUnderItWithoutChangingTheFrame) {
    // Rendered over a colour the show never paints, which stays wherever nothing is painted.
    const auto frame = [&] {
        QImage canvas(Show().size(), QImage::Format_ARGB32_Premultiplied);
        canvas.fill(qRgb(255, 0, 255));
        Show().render(&canvas);
        return canvas;
    };
    Show().Next();
    Tick();
    Tick();
    ASSERT_TRUE(Show().Transition().AnimatingPlaceHolder());
    const TGPRectF holder = Show().Transition().CurrentPlaceHolder();
    EXPECT_NE(holder.X, std::round(holder.X)) << "a placeholder edge between pixels";
    ASSERT_TRUE(Show().PlaceHolderFill()->PaintsOpaqueBody());
    const QImage spared = frame();
    // Not quite opaque, the whole background is drawn under it; unannounced, so that the show is not laid
    // out again and the placeholder stays where it is.
    TFill* fill = Show().PlaceHolderFill();
    fill->BeginUpdate();
    fill->SetOpacity(254);
    const QImage whole = frame();
    fill->SetOpacity(255);
    fill->EndUpdate();
    for (int y = 0; y < spared.height(); ++y)
        for (int x = 0; x < spared.width(); ++x) {
            const QRgb a = spared.pixel(x, y), b = whole.pixel(x, y);
            ASSERT_TRUE(SameColour(a, b, 1))
                << x << ", " << y << ": 0x" << std::hex << a << " against 0x" << b;
        }
}

TEST_F(SlideChange, TheBackgroundIsRenderedAgainAfterAFillChangeOrAResize) {
    EXPECT_EQ(At(Grab(), 5, 5), kBackground);
    Show().Fill()->SetColor(RGBColor(0, 0, 90));
    EXPECT_EQ(At(Grab(), 5, 5), qRgb(0, 0, 90));
    Show().resize(700, 500);
    const QImage larger = Grab();
    EXPECT_EQ(larger.size(), QSize(700, 500));
    EXPECT_EQ(At(larger, 690, 490), qRgb(0, 0, 90));
}

TEST_F(SlideChange, TheDescriptionBandShowsWhileTheMouseIsOverTheCurrentPicture) {
    TFill band;
    band.SetGradientType(gtSolid);
    band.SetColor(RGBColor(0, 160, 0));
    band.SetBorderColor(clNone);
    Show().SetDescriptionFill(band);
    Show().Items()->Items(0)->SetDescription(QStringLiteral("Red"));
    ASSERT_TRUE(WaitLoaded(Show()));
    const TGPRectF r = ItemRect(0);
    const auto hover = [&](QPointF at) {
        QMouseEvent move(QEvent::MouseMove, at, Show().mapToGlobal(at), Qt::NoButton, Qt::NoButton,
                         Qt::NoModifier);
        QCoreApplication::sendEvent(&Show(), &move);
    };
    const QPointF bandPoint(r.X + 4, r.Y + r.Height - 3);
    EXPECT_EQ(At(Grab(), bandPoint.x(), bandPoint.y()), kRed);
    hover(QPointF(r.X + r.Width / 2, r.Y + r.Height / 2));
    ASSERT_TRUE(Show().ShowDes());
    EXPECT_EQ(At(Grab(), bandPoint.x(), bandPoint.y()), kGreen) << "a band across the bottom of the picture";
    EXPECT_EQ(At(Grab(), r.X + 4, r.Y + 3), kRed);
    hover(QPointF(5, 5));
    EXPECT_EQ(At(Grab(), bandPoint.x(), bandPoint.y()), kRed);

    Show().SetShowDescription(false);
    hover(QPointF(r.X + r.Width / 2, r.Y + r.Height / 2));
    EXPECT_EQ(At(Grab(), bandPoint.x(), bandPoint.y()), kRed);
}

} // namespace
} // namespace lanterna::testing
