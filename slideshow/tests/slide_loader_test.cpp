// The loading front on its own: a list of slides and a context, no control.
#include "slideshow/tests/slide_show_test_support.h"

#include "slideshow/internal/slide_loader.h"
#include "testing/test_files.h"

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

TEST_F(FrontAlone, APictureIsDecodedAtTheSizeItIsDrawnAt) {
    AddPicture(QStringLiteral("wide.jpg"), 800, 600);
    // Before its size is known, the slide's picture is decoded at the size the control's layout will give it.
    Context.PictureLayout = {{300, 300}, {true, imNormal}, 100};
    Loader.Start();
    ASSERT_TRUE(Settles());
    TSlideShowItem* item = Items.Items(0);
    EXPECT_EQ(item->OriginalImage().size(), QSize(300, 225));
    EXPECT_EQ(item->OriginalImage().format(), QImage::Format_RGB32)
        << "an opaque picture is copied, not blended";

    // Laid out (a little smaller, as margins make it): decoded again at just that size, so that it is drawn
    // without a scaled copy beside it.
    item->SetLayout({10, 10, 280.4f, 210.6f}, {}, {}, {});
    Loader.Schedule();
    ASSERT_TRUE(QTest::qWaitFor([item] { return item->OriginalImage().size() == QSize(280, 211); }, 60000));

    // A layout larger than the picture (a small picture stretched) decodes it at its own size, never larger.
    item->SetLayout({0, 0, 1600, 1200}, {}, {}, {});
    Loader.Schedule();
    ASSERT_TRUE(QTest::qWaitFor([item] { return item->OriginalImage().size() == QSize(800, 600); }, 60000));
    ASSERT_TRUE(Settles());
    EXPECT_EQ(item->OriginalImage().size(), QSize(800, 600));
    EXPECT_EQ(Events, QStringList({"picture 0", "thumbnail 0"})) << "decoding again raises no events";
}

TEST_F(FrontAlone, NoThumbnailsAreMadeWhileTheControlShowsNoneAndAllOnceItDoes) {
    for (int i = 0; i < 3; ++i)
        AddPicture(QStringLiteral("%1.png").arg(i), 40, 30);
    AddPicture(QStringLiteral("broken.png"), 40, 30);
    ASSERT_TRUE(WriteFileBytes(Dir.filePath(QStringLiteral("broken.png")), "not a picture any more"));
    Context.ThumbBox = QSize();
    Loader.Start();
    ASSERT_TRUE(Settles());
    Events.sort();
    EXPECT_EQ(Events, QStringList({"picture 0", "picture 1", "picture 2", "picture 3"}));
    for (int i = 0; i < 3; ++i) {
        EXPECT_TRUE(Items.Items(i)->Thumbnail().isNull());
        EXPECT_EQ(Items.Items(i)->ThumbThreadStatus(), stInitialized);
    }

    Events.clear();
    Context.ThumbBox = QSize(20, 20);
    Loader.Restart();
    ASSERT_TRUE(Settles());
    EXPECT_EQ(Events, QStringList({"thumbnail 0", "thumbnail 1", "thumbnail 2"}))
        << "the pictures are not built again, and a slide without a size is not asked for a thumbnail";
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(Items.Items(i)->Thumbnail().size(), QSize(20, 15));
        EXPECT_EQ(Items.Items(i)->ThumbThreadStatus(), stLoaded);
    }
}

} // namespace
} // namespace lanterna::testing
