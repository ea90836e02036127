#include "slideshow/tests/slide_show_test_support.h"

#include "slideshow/internal/picture_decoder.h"

#include <QLabel>
#include <QMouseEvent>
#include <gtest/gtest.h>

namespace lanterna::testing {
namespace {

// Five slides that never load (custom slides of no size), so that only the selection rules act.
class Selection : public ::testing::Test {
protected:
    void SetUp() override {
        for (int i = 0; i < 5; ++i) {
            TSlideShowItem* item = Show().Items()->Add();
            item->SetKind(ikCustom);
            item->SetCustomImageWidth(0);
        }
    }
    TSlideShow& Show() { return Still.Show; }
    TSlideShowItem* Item(int i) { return Show().Items()->Items(i); }
    TStillShow Still;
};

TEST_F(Selection, SkipsInvisibleAndDisabledSlidesAndWrapsRound) {
    Item(2)->SetVisible(false);
    Show().SetItemIndex(1);
    Show().Next();
    EXPECT_EQ(Show().ItemIndex(), 3);
    Show().Previous();
    EXPECT_EQ(Show().ItemIndex(), 1);

    Show().SetItemIndex(4);
    Show().Next();
    EXPECT_EQ(Show().ItemIndex(), 0);
    Show().Previous();
    EXPECT_EQ(Show().ItemIndex(), 4);

    Item(4)->SetEnabled(false);
    Item(0)->SetVisible(false);
    Show().SetItemIndex(1);
    Show().Previous();
    EXPECT_EQ(Show().ItemIndex(), 3);
    Show().Next();
    EXPECT_EQ(Show().ItemIndex(), 1);
    Show().SetItemIndex(-7);
    EXPECT_EQ(Show().ItemIndex(), 3);
}

TEST_F(Selection, NothingSelectableChangesOnlyThePreviousIndex) {
    Show().SetItemIndex(2);
    for (int i = 0; i < 5; ++i)
        Item(i)->SetVisible(false);
    Show().SetItemIndex(3);
    EXPECT_EQ(Show().ItemIndex(), 2);
    EXPECT_EQ(Show().Transition().PreviousItemIndex(), 2);
}

TEST_F(Selection, SelectingTheSelectedSlideStartsNothing) {
    Show().SetItemIndex(3);
    EndTransition(Show());
    ASSERT_FALSE(Show().Transition().Running());
    Show().SetItemIndex(3);
    EXPECT_FALSE(Show().Transition().Running());
    EXPECT_EQ(Show().Transition().PreviousItemIndex(), 3);
}

TEST_F(Selection, TransitionStartState) {
    Show().SetAnimations({saBottomToTop, saSpin});
    Show().SetRotation(true);
    Show().SetItemIndex(2);
    EXPECT_TRUE(Show().Transition().Running());
    EXPECT_EQ(Show().Transition().PreviousItemIndex(), 0);
    EXPECT_EQ(Show().Transition().CurrentItemIndex(), 0);
    EXPECT_EQ(Show().Transition().CurrentOpacity(), 255);
    EXPECT_EQ(Show().Transition().NextOpacity(), 0);
    EXPECT_TRUE(Show().Transition().Effect() == saBottomToTop || Show().Transition().Effect() == saSpin);
    EXPECT_FALSE(Show().RotateTimer()->Enabled());
    EXPECT_TRUE(Show().AnimateTimer()->Enabled());

    // A new selection cuts the running transition short where it is.
    Show().SetAnimations({});
    Show().SetItemIndex(4);
    EXPECT_EQ(Show().Transition().CurrentItemIndex(), 2);
    EXPECT_EQ(Show().Transition().PreviousItemIndex(), 2);
    EXPECT_EQ(Show().Transition().Effect(), -1);

    // The end of the transition brings the rotation back.
    EndTransition(Show());
    EXPECT_FALSE(Show().Transition().Running());
    EXPECT_EQ(Show().Transition().CurrentItemIndex(), 4);
    EXPECT_EQ(Show().Transition().NextItemIndex(), 4);
    EXPECT_TRUE(Show().RotateTimer()->Enabled());
    EXPECT_FALSE(Show().AnimateTimer()->Enabled());

    Show().SetTransitions({});
    Show().SetItemIndex(1);
    EXPECT_EQ(Show().Transition().CurrentItemIndex(), 1);
}

TEST_F(Selection, WithoutAnimationTheNewSlideStandsAtOnce) {
    Show().SetAnimation(false);
    Show().SetRotation(true);
    Show().SetItemIndex(3);
    EXPECT_FALSE(Show().Transition().Running());
    EXPECT_EQ(Show().Transition().CurrentItemIndex(), 3);
    EXPECT_EQ(Show().Transition().NextItemIndex(), 3);
    EXPECT_TRUE(Show().RotateTimer()->Enabled());
}

TEST_F(Selection, RotationAdvancesAndStartsAgainAtTheFirstSelectableSlide) {
    Show().SetItemIndex(3);
    Show().RotateTimerEvent();
    EXPECT_EQ(Show().ItemIndex(), 4);
    Show().RotateTimerEvent();
    EXPECT_EQ(Show().ItemIndex(), 0);
    Item(0)->SetVisible(false);
    Show().SetItemIndex(4);
    Show().RotateTimerEvent();
    EXPECT_EQ(Show().ItemIndex(), 1);
}

TEST_F(Selection, SingleSlideRotatesInPlaceButNextFadesOverItself) {
    while (Show().Items()->Count() > 1)
        Show().Items()->Delete(1);
    Show().RotateTimerEvent();
    EXPECT_FALSE(Show().Transition().Running());
    Show().Next();
    EXPECT_EQ(Show().ItemIndex(), 0);
    EXPECT_TRUE(Show().Transition().Running());
}

TEST_F(Selection, KeysNavigate) {
    Show().SetItemIndex(2);
    QTest::keyClick(&Show(), Qt::Key_End);
    EXPECT_EQ(Show().ItemIndex(), 4);
    QTest::keyClick(&Show(), Qt::Key_Home);
    EXPECT_EQ(Show().ItemIndex(), 0);
    QTest::keyClick(&Show(), Qt::Key_Right);
    QTest::keyClick(&Show(), Qt::Key_Down);
    EXPECT_EQ(Show().ItemIndex(), 2);
    QTest::keyClick(&Show(), Qt::Key_Left);
    EXPECT_EQ(Show().ItemIndex(), 1);
    QTest::keyClick(&Show(), Qt::Key_Up);
    EXPECT_EQ(Show().ItemIndex(), 0);
    QTest::keyClick(&Show(), Qt::Key_A);
    EXPECT_EQ(Show().ItemIndex(), 0);
}

TEST_F(Selection, LeavingAControlSlideHidesItAndRetakesItsSnapshot) {
    auto* label = new QLabel("live");
    Item(0)->SetKind(ikControl);
    Item(0)->SetControl(label);
    Show().show();
    ASSERT_TRUE(label->isVisible());
    ASSERT_TRUE(WaitLoaded(Show()));
    ASSERT_EQ(Item(0)->ThreadStatus(), stLoaded);

    Show().SetItemIndex(1);
    EXPECT_FALSE(label->isVisible());
    EXPECT_EQ(Item(0)->ThreadStatus(), stInitialized);
    EndTransition(Show());
    Show().SetItemIndex(0);
    EndTransition(Show());
    EXPECT_TRUE(label->isVisible());
}

TEST(SelectionHover, OverTheCurrentPictureShowsTheDescription) {
    QTemporaryDir dir;
    WritePicture(dir.filePath("p.png"), 100, 80);
    TStillShow still;
    still.Show.SetThumbNails(false);
    still.Show.Items()->Add()->SetLocation(dir.filePath("p.png"));
    ASSERT_TRUE(WaitLoaded(still.Show));
    const TGPRectF r = still.Show.Items()->Items(0)->ItemRect();
    ASSERT_EQ(r, (TGPRectF{200, 160, 100, 80}));

    const auto move = [&](QPointF p) {
        QMouseEvent event(QEvent::MouseMove, p, still.Show.mapToGlobal(p), Qt::NoButton, Qt::NoButton,
                          Qt::NoModifier);
        QApplication::sendEvent(&still.Show, &event);
    };
    move(QPointF(300, 240));
    EXPECT_TRUE(still.Show.ShowDes());
    EXPECT_EQ(still.Show.HoveredDescription(), 0);
    move(QPointF(301, 240));
    EXPECT_FALSE(still.Show.ShowDes());
    EXPECT_EQ(still.Show.HoveredDescription(), -1);
    move(QPointF(200, 160));
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(&still.Show, &leave);
    EXPECT_FALSE(still.Show.ShowDes());
}

// Four pictures larger than the show draws them, the third one hidden.
void AddFourPictures(TSlideShow& show, const QTemporaryDir& dir) {
    show.SetThumbNails(false);
    show.BeginUpdate();
    for (int i = 0; i < 4; ++i) {
        const QString path = dir.filePath(QStringLiteral("%1.png").arg(i));
        WritePicture(path, 1000, 800);
        show.Items()->Add()->SetLocation(path);
    }
    show.Items()->Items(2)->SetVisible(false);
    show.EndUpdate();
}

TEST(SelectionAhead, WhileASlideStandsThePictureOfTheFollowingOneIsScaledAhead) {
    QTemporaryDir dir;
    TStillShow still;
    TSlideShow& show = still.Show;
    AddFourPictures(show, dir);
    ASSERT_TRUE(WaitLoaded(show));
    ASSERT_LT(show.Items()->Items(3)->ItemRect().Width, 1000);

    show.SetItemIndex(1);
    EndTransition(show);
    ASSERT_TRUE(WaitLoaded(show));
    show.FinishScaledPictures();
    for (int index : {1, 3})
        EXPECT_EQ(show.Items()->Items(index)->OriginalImage().size(),
                  DrawnSize(show.Items()->Items(index)->ItemRect()))
            << "decoded at the size it is drawn at, slide " << index;
    EXPECT_TRUE(show.PictureScaled(1));
    EXPECT_TRUE(show.PictureScaled(3)) << "the rotation's next slide, past the hidden one";
    EXPECT_FALSE(show.PictureScaled(2));
    EXPECT_FALSE(show.PictureScaled(3, true)) << "no animation of the show turns its pictures";
}

TEST(SelectionAhead, WhenTheNextChangeMayTurnItsPicturesBothGetTheirCoarseCopiesAhead) {
    QTemporaryDir dir;
    TStillShow still;
    TSlideShow& show = still.Show;
    show.SetAnimations(TSlideShowAnimations{saBottomToTop, saRotate});
    AddFourPictures(show, dir);
    ASSERT_TRUE(WaitLoaded(show));

    show.SetItemIndex(1);
    EXPECT_FALSE(show.PictureScaled(3, true)) << "nothing is made ahead during a transition";
    EndTransition(show);
    ASSERT_TRUE(WaitLoaded(show));
    show.FinishScaledPictures();
    EXPECT_TRUE(show.PictureScaled(1, true)) << "the slide standing, which the change turns out";
    EXPECT_TRUE(show.PictureScaled(3, true)) << "the slide that comes in";
    EXPECT_FALSE(show.PictureScaled(2, true)) << "hidden";
}

} // namespace
} // namespace lanterna::testing
