#include "slideshow/tests/slide_show_test_support.h"

#include <QLabel>
#include <QVBoxLayout>
#include <gtest/gtest.h>

namespace lanterna::testing {
namespace {

TEST(FullScreen, EscapePutsTheControlBackIntoItsLayoutSlot) {
    QWidget window;
    auto* layout = new QVBoxLayout(&window);
    layout->addWidget(new QLabel("above"));
    auto* show = new TSlideShow;
    show->SetRotation(false);
    layout->addWidget(show, 1);
    layout->addWidget(new QLabel("below"));
    window.resize(640, 480);
    window.show();
    const QRect before = show->geometry();

    show->FullScreen();
    ASSERT_TRUE(show->IsFullScreen());
    EXPECT_NE(show->parentWidget(), &window);
    EXPECT_TRUE(show->window()->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_TRUE(show->window()->windowFlags().testFlag(Qt::FramelessWindowHint));
    show->FullScreen();
    EXPECT_TRUE(show->IsFullScreen());

    QTest::keyClick(show, Qt::Key_Escape);
    EXPECT_FALSE(show->IsFullScreen());
    EXPECT_EQ(show->parentWidget(), &window);
    EXPECT_EQ(layout->indexOf(show), 1);
    EXPECT_EQ(layout->stretch(1), 1);
    EXPECT_TRUE(show->isVisible());
    QApplication::processEvents();
    EXPECT_EQ(show->geometry(), before);
}

TEST(FullScreen, NormalRestoresAPlacedControlExactly) {
    QWidget window;
    window.resize(800, 600);
    auto* show = new TSlideShow(&window);
    show->SetRotation(false);
    show->setGeometry(17, 23, 301, 205);
    window.show();

    show->FullScreen();
    show->Normal();
    EXPECT_FALSE(show->IsFullScreen());
    EXPECT_EQ(show->parentWidget(), &window);
    EXPECT_EQ(show->geometry(), QRect(17, 23, 301, 205));
    // Going full screen again works the same, with a new form.
    show->FullScreen();
    EXPECT_TRUE(show->IsFullScreen());
    show->Normal();
    EXPECT_EQ(show->geometry(), QRect(17, 23, 301, 205));
}

TEST(FullScreen, DestroyingTheControlWhileFullScreen) {
    QWidget window;
    QPointer<TSlideShow> show = new TSlideShow(&window);
    show->FullScreen();
    QPointer<QWidget> form = show->window();
    delete show;
    QApplication::processEvents();
    EXPECT_TRUE(show.isNull());
    EXPECT_TRUE(form.isNull());
}

} // namespace
} // namespace lanterna::testing
