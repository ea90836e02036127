// The loading front on its own: a list of slides and a context, no control.
#include "slideshow/tests/slide_show_test_support.h"

#include "slideshow/internal/slide_loader.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTest>
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

namespace lanterna::testing {
namespace {

class FrontAlone : public ::testing::Test {
protected:
    FrontAlone() {
        Loader.OnPictureLoaded = [this](int index) { Events << QStringLiteral("picture %1").arg(index); };
        Loader.OnThumbnailLoaded = [this](int index) { Events << QStringLiteral("thumbnail %1").arg(index); };
        Loader.OnSourceLost = [this](int index) { Events << QStringLiteral("lost %1").arg(index); };
    }
    void AddPicture(const QString& name, int width, int height) {
        WritePicture(Dir.filePath(name), width, height);
        Items.Add()->SetLocation(Dir.filePath(name));
    }
    bool Settles() {
        return QTest::qWaitFor([this] { return !Loader.Loading(); }, 60000);
    }

    QTemporaryDir Dir;
    TSlideShowItems Items;
    TLoadContext Context = [] {
        TLoadContext context;
        context.ControlSize = QSize(400, 300);
        context.Selectable = [](int) { return true; };
        context.ThumbBox = QSize(50, 50);
        context.ThumbRule = {true, imNormal};
        return context;
    }();
    TSlideLoader Loader{Items, [this] { return Context; }};
    QStringList Events;
};

TEST_F(FrontAlone, BuildsEverySlideOnceAndKeepsPicturesOnlyInTheWindow) {
    for (int i = 0; i < 5; ++i)
        AddPicture(QStringLiteral("%1.png").arg(i), 40 + i, 30);
    Context.Updating = true;
    Loader.Start();
    QCoreApplication::processEvents();
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(Items.Items(i)->ThreadStatus(), stInitialized)
            << "nothing is built while the control is updating";
    Context.Updating = false;
    Loader.Schedule();
    ASSERT_TRUE(Settles()) << Events.join(", ").toStdString();
    ASSERT_EQ(Events.size(), 10) << Events.join(", ").toStdString();
    // The window (selected, next, previous) comes first, then the cursor walks the rest.
    EXPECT_EQ(Events.mid(0, 6), QStringList({"picture 0", "thumbnail 0", "picture 1", "thumbnail 1",
                                             "picture 4", "thumbnail 4"}));
    for (int i = 0; i < 5; ++i) {
        const TSlideShowItem* item = Items.Items(i);
        EXPECT_EQ(item->PictureSize(), QSize(40 + i, 30));
        EXPECT_EQ(item->ThreadStatus(), stLoaded);
        EXPECT_FALSE(item->Thumbnail().isNull());
        EXPECT_EQ(item->OriginalImage().isNull(), i == 2 || i == 3) << "slide " << i;
    }

    // A new selection moves the window: the slide left behind drops its picture, the one reached is
    // decoded again without a second build.
    Events.clear();
    Context.Selected = 2;
    Loader.Schedule();
    ASSERT_TRUE(QTest::qWaitFor([this] { return !Items.Items(3)->OriginalImage().isNull(); }, 60000));
    ASSERT_TRUE(Settles());
    EXPECT_TRUE(Items.Items(0)->OriginalImage().isNull());
    EXPECT_FALSE(Items.Items(2)->OriginalImage().isNull());
    EXPECT_TRUE(Events.isEmpty()) << Events.join(", ").toStdString();
}

TEST_F(FrontAlone, AStopWithASlideInHandLeavesItForTheNextLoader) {
    // The drawing handler holds the slide in the loader's hand until it is let go.
    std::atomic<bool> inHand = false;
    std::atomic<bool> release = false;
    Context.CustomDraw = [&](int, TGPGraphics&, const TGPRectF&, TSlideShowItemKind) {
        inHand = true;
        QElapsedTimer clock;
        clock.start();
        while (!release && clock.elapsed() < 60000)
            std::this_thread::yield();
    };
    Items.Add()->SetKind(ikCustom);
    Loader.Start();
    ASSERT_TRUE(QTest::qWaitFor([&] { return inHand.load(); }, 60000));
    release = true;
    Loader.Stop();
    EXPECT_EQ(Items.Items(0)->ThreadStatus(), stInitialized) << "the slide in hand waits for the next loader";
    EXPECT_TRUE(Loader.Loading());
    Loader.Start();
    ASSERT_TRUE(Settles());
    EXPECT_EQ(Items.Items(0)->ThreadStatus(), stLoaded);
    EXPECT_EQ(Events, QStringList({"picture 0", "thumbnail 0"}))
        << "the result of the stopped loader is dropped";
}

} // namespace
} // namespace lanterna::testing
