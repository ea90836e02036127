#include "slideshow/tests/slide_show_test_support.h"

#include "drawing/fill.h"
#include "drawing/gp_picture.h"
#include "slideshow/internal/picture_decoder.h"

#include <QBuffer>
#include <QDir>
#include <QLabel>
#include <QSet>
#include <QThread>
#include <gtest/gtest.h>

#include <atomic>

#include <sys/stat.h>

namespace lanterna::testing {
namespace {

QImage Filled(int width, int height, QColor color) {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(color);
    return image;
}

class Loader : public ::testing::Test {
protected:
    Loader() {
        Show().SetThumbNails(false);
        Show().OnImageLoaded = [this](TSlideShow*, int index) {
            Loaded << index;
            LoadedOnUiThread &= QThread::currentThread() == qApp->thread();
        };
    }
    TSlideShowItem* Add(const QString& location, TSlideShowItemKind kind = ikImage) {
        TSlideShowItem* item = Show().Items()->Add();
        item->SetLocation(location);
        item->SetKind(kind);
        return item;
    }
    TSlideShow& Show() { return Still.Show; }
    TSlideShowItem* Item(int i) { return Show().Items()->Items(i); }
    QRgb PictureColor(int i) {
        return Item(i)->OriginalImage().pixel(Item(i)->OriginalImage().rect().center());
    }

    QTemporaryDir Dir;
    TStillShow Still;
    QList<int> Loaded;
    bool LoadedOnUiThread = true;
};

TEST_F(Loader, FolderOfPicturesWithATextFileBetween) {
    WritePicture(Dir.filePath("a.png"), 40, 30);
    WritePicture(Dir.filePath("b.jpg"), 60, 20);
    ASSERT_TRUE(WriteFileBytes(Dir.filePath("c.txt"), "not a picture"));
    WritePicture(Dir.filePath("d.bmp"), 10, 50);
    Show().AddItemsFromFolder(Dir.path() + "/*.*", ikImage, true, true, true);
    ASSERT_EQ(Show().Items()->Count(), 4);
    ASSERT_TRUE(WaitLoaded(Show()));
    EXPECT_EQ(Loaded.size(), 4);
    EXPECT_TRUE(LoadedOnUiThread);
    for (int i = 0; i < 4; ++i) {
        const TSlideShowItem* item = Item(i);
        const bool text = item->Location().endsWith(".txt");
        SCOPED_TRACE(item->Location().toStdString());
        EXPECT_EQ(item->ThreadStatus(), stLoaded);
        EXPECT_EQ(item->ThumbThreadStatus(), stInitialized) << "no thumbnail while the band is hidden";
        EXPECT_EQ(item->PictureSize().isEmpty(), text);
        EXPECT_EQ(item->ItemRect() == TGPRectF{}, text);
    }
    // The text file's slide still takes its turn, as an empty slide.
    const int textSlide = Item(0)->Location().endsWith(".txt") ? 0 : 1;
    Show().SetItemIndex(textSlide);
    EXPECT_EQ(Show().ItemIndex(), textSlide);
}

TEST_F(Loader, MissingFileStaysTakenWithoutEventsAndTheOthersLoad) {
    WritePicture(Dir.filePath("b.png"), 8, 8);
    Add(Dir.filePath("gone.png"));
    Add(Dir.filePath("b.png"));
    ASSERT_TRUE(WaitLoaded(Show()));
    EXPECT_EQ(Item(0)->ThreadStatus(), stLoading);
    EXPECT_EQ(Item(1)->ThreadStatus(), stLoaded);
    EXPECT_EQ(Loaded, QList<int>{1});
}

TEST_F(Loader, BrokenAndOversizedPicturesNeverCrash) {
    QByteArray broken = Encode(Filled(30, 20, Qt::green), "PNG");
    const qsizetype data = broken.indexOf("IDAT") + 4;
    for (qsizetype i = data; i < data + 8; ++i)
        broken[i] = char(0xFF);
    ASSERT_TRUE(WriteFileBytes(Dir.filePath("broken.png"), broken));
    QByteArray huge = Encode(Filled(16, 16, Qt::green), "JPG");
    const qsizetype frame = huge.indexOf("\xFF\xC0");
    for (qsizetype i = frame + 5; i < frame + 9; ++i)
        huge[i] = char(0xFD);
    ASSERT_TRUE(WriteFileBytes(Dir.filePath("huge.jpg"), huge));
    Add(Dir.filePath("broken.png"));
    Add(Dir.filePath("huge.jpg"));
    ASSERT_TRUE(WaitLoaded(Show()));

    // Sized but not decodable: laid out, with a transparent picture.
    EXPECT_EQ(Item(0)->PictureSize(), QSize(30, 20));
    EXPECT_FALSE(Item(0)->ItemRect() == TGPRectF{});
    EXPECT_EQ(Item(0)->OriginalImage().size(), QSize(30, 20));
    EXPECT_EQ(qAlpha(PictureColor(0)), 0);
    // A header too large to allocate: no size, no thumbnail, no layout.
    EXPECT_EQ(Item(1)->ThreadStatus(), stLoaded);
    EXPECT_TRUE(Item(1)->PictureSize().isEmpty());
    EXPECT_TRUE(Item(1)->ItemRect() == TGPRectF{});
}

TEST_F(Loader, ChangedSlideAloneIsBuiltAgainAndUpdatesStopPasses) {
    for (const char* text : {"first", "second", "third"})
        Add({}, ikText)->SetText(text);
    ASSERT_TRUE(WaitLoaded(Show()));
    ASSERT_EQ(Loaded, (QList<int>{0, 1, 2}));
    Loaded.clear();

    Item(1)->SetText("second, longer");
    ASSERT_TRUE(WaitLoaded(Show()));
    EXPECT_EQ(Loaded, QList<int>{1});

    Loaded.clear();
    Show().BeginUpdate();
    Show().UpdateImages();
    QTest::qWait(50);
    EXPECT_TRUE(Loaded.isEmpty());
    EXPECT_EQ(Item(2)->ThreadStatus(), stInitialized);
    Show().EndUpdate();
    ASSERT_TRUE(WaitLoaded(Show()));
    EXPECT_EQ(Loaded.size(), 3);
}

TEST_F(Loader, AssignedPictureDataIsDecodedAndTheFileIsNotRead) {
    WritePicture(Dir.filePath("file.png"), 50, 50);
    TSlideShowItem* item = Add(Dir.filePath("file.png"));
    QByteArray bytes = Encode(Filled(20, 10, Qt::blue), "PNG");
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    TGPPicture picture;
    picture.LoadFromStream(&buffer);
    item->SetImage(&picture);
    ASSERT_TRUE(WaitLoaded(Show()));
    EXPECT_EQ(item->PictureSize(), QSize(20, 10));
    EXPECT_EQ(PictureColor(0), QColor(Qt::blue).rgba());
    EXPECT_EQ(item->Image()->Data(), bytes);
}

TEST_F(Loader, TextSlidesAreTheTextBoxPlusTwoPixelsRound) {
    TSlideShowItem* fixed = Add({}, ikText);
    fixed->SetTextAutoSize(false);
    fixed->SetTextWidth(80);
    fixed->SetTextHeight(30);
    TSlideShowItem* measured = Add({}, ikText);
    measured->SetText("Word");
    TTextFont font;
    font.Font = QFont("Arial");
    font.Font.setPixelSize(20);
    font.Color = clBlue;
    measured->SetTextFont(&font);
    ASSERT_TRUE(WaitLoaded(Show()));
    EXPECT_EQ(fixed->PictureSize(), QSize(84, 34));
    // Kept as PNG data, since a rendered text cannot be read again from a file.
    EXPECT_EQ(PictureSize(fixed->Image()->Data()), QSize(84, 34));

    const QFontMetricsF metrics(font.Font);
    const QSize size = measured->PictureSize();
    EXPECT_NEAR(size.width(), metrics.horizontalAdvance("Word") + 5, 2);
    EXPECT_NEAR(size.height(), metrics.height() + 5, 2);
    bool blue = false;
    const QImage& picture = measured->OriginalImage();
    for (int y = 0; y < picture.height(); ++y) {
        for (int x = 0; x < picture.width(); ++x)
            blue |= qBlue(picture.pixel(x, y)) > 200 && qAlpha(picture.pixel(x, y)) > 200;
    }
    EXPECT_TRUE(blue);
}

TEST_F(Loader, ImageTextSlidesPutTheTextBesideThePicture) {
    WritePicture(Dir.filePath("p.png"), 100, 50, Qt::red);
    for (TSlideShowTextLocation location : {tlBottom, tlLeft}) {
        TSlideShowItem* item = Add(Dir.filePath("p.png"), ikImageText);
        item->SetTextAutoSize(false);
        item->SetTextWidth(30);
        item->SetTextHeight(20);
        item->SetTextLocation(location);
    }
    Add(Dir.filePath("missing.png"), ikImageText);
    Show().resize(1000, 1000);
    ASSERT_TRUE(WaitLoaded(Show()));
    EXPECT_EQ(Item(0)->PictureSize(), QSize(100, 74));
    EXPECT_EQ(Item(0)->OriginalImage().pixel(50, 25), QColor(Qt::red).rgba());
    EXPECT_EQ(Item(1)->PictureSize(), QSize(134, 50));
    EXPECT_EQ(Item(1)->OriginalImage().pixel(100, 25), QColor(Qt::red).rgba());
    EXPECT_EQ(qAlpha(Item(1)->OriginalImage().pixel(1, 1)), 0);
    EXPECT_EQ(Item(2)->ThreadStatus(), stLoading);
}

TEST_F(Loader, CustomSlidesAreDrawnOnTheLoaderThread) {
    TSlideShowItem* item = Add({}, ikCustom);
    item->SetCustomImageWidth(64);
    item->SetCustomImageHeight(32);
    std::atomic<bool> onLoader = false;
    TGPRectF drawnIn;
    Show().OnCustomDraw = [&](TSlideShow*, int index, TGPGraphics& g, const TGPRectF& r,
                              TSlideShowItemKind kind) {
        onLoader = QThread::currentThread() != qApp->thread() && index == 0 && kind == ikCustom;
        drawnIn = r;
        g.Clear(0xFF00FF00);
    };
    item->Update();
    ASSERT_TRUE(WaitLoaded(Show()));
    EXPECT_TRUE(onLoader);
    EXPECT_EQ(drawnIn, (TGPRectF{0, 0, 64, 32}));
    EXPECT_EQ(item->PictureSize(), QSize(64, 32));
    EXPECT_EQ(PictureColor(0), QColor(Qt::green).rgba());
}

TEST_F(Loader, AnErrorWhileDrawingOneSlideLeavesItEmptyAndTheLoaderGoesOn) {
    Add({}, ikCustom);
    Add({}, ikText);
    Show().OnCustomDraw = [](TSlideShow*, int index, TGPGraphics&, const TGPRectF&, TSlideShowItemKind) {
        if (index == 0)
            throw Exception("drawing failed");
    };
    Item(0)->Update();
    ASSERT_TRUE(WaitLoaded(Show()));
    EXPECT_EQ(Item(0)->ThreadStatus(), stLoading);
    EXPECT_EQ(Item(1)->ThreadStatus(), stLoaded);
    EXPECT_FALSE(Show().Loading());
    // Once the handler draws again, a change of the slide builds it.
    Show().OnCustomDraw = nullptr;
    Item(0)->Update();
    ASSERT_TRUE(WaitLoaded(Show()));
    EXPECT_EQ(Item(0)->ThreadStatus(), stLoaded);
}

TEST_F(Loader, ControlSlidesAreCapturedOnTheUserInterfaceThread) {
    auto* panel = new QLabel;
    panel->resize(40, 30);
    panel->setStyleSheet("background: magenta");
    panel->setAutoFillBackground(true);
    Add({}, ikControl)->SetControl(panel);
    auto* painted = new QLabel;
    painted->resize(20, 10);
    Add({}, ikControl)->SetControl(painted);
    Show().OnCustomDrawControl = [&](TSlideShow*, QWidget* control, int index, QImage& bmp) {
        if (control == painted && index == 1 && QThread::currentThread() == qApp->thread())
            bmp.fill(Qt::cyan);
        else
            control->render(&bmp);
    };
    ASSERT_TRUE(WaitLoaded(Show()));
    EXPECT_EQ(Item(0)->PictureSize(), QSize(40, 30));
    EXPECT_EQ(PictureColor(0), QColor(Qt::magenta).rgba());
    EXPECT_EQ(Item(1)->PictureSize(), QSize(20, 10));
    Show().SetItemIndex(1);
    EXPECT_EQ(PictureColor(1), QColor(Qt::cyan).rgba());

    // A new snapshot on request.
    EndTransition(Show());
    Show().SetItemIndex(0);
    EndTransition(Show());
    panel->setStyleSheet("background: yellow");
    Show().UpdateControlImage(panel);
    ASSERT_TRUE(WaitLoaded(Show()));
    EXPECT_EQ(PictureColor(0), QColor(Qt::yellow).rgba());
}

TEST_F(Loader, PreviewSlidesFitIntoFiveHundredPixels) {
    WritePicture(Dir.filePath("wide.png"), 1000, 600);
    ASSERT_TRUE(WriteFileBytes(Dir.filePath("notes.txt"), "no preview"));
    Add(Dir.filePath("wide.png"), ikPreview);
    Add(Dir.filePath("notes.txt"), ikPreview);
    ASSERT_TRUE(WaitLoaded(Show()));
    EXPECT_EQ(Item(0)->PictureSize(), QSize(500, 300));
    EXPECT_EQ(Item(1)->ThreadStatus(), stLoading);
}

TEST_F(Loader, DecodedPicturesFollowTheSelectionAndStayWithinTheScreen) {
    const QColor colors[] = {Qt::red, Qt::green, Qt::blue, Qt::yellow, Qt::cyan, Qt::magenta};
    const QSize natural(1800, 1200);
    for (int i = 0; i < 6; ++i) {
        const QString path = Dir.filePath(QString("%1.png").arg(i));
        WritePicture(path, natural.width(), natural.height(), colors[i]);
        Add(path);
    }
    ASSERT_TRUE(WaitLoaded(Show()));
    const auto decoded = [&] {
        QList<int> indices;
        for (int i = 0; i < 6; ++i) {
            if (!Item(i)->OriginalImage().isNull())
                indices << i;
        }
        return indices;
    };
    // The selected slide and the ones Next and Previous go to.
    EXPECT_EQ(decoded(), (QList<int>{0, 1, 5}));
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(Item(i)->PictureSize(), natural);
        EXPECT_FALSE(Item(i)->ItemRect() == TGPRectF{}) << "laid out, slide " << i;
    }
    QSize largest = Show().size();
    for (const QScreen* screen : QGuiApplication::screens())
        largest = largest.expandedTo(screen->geometry().size() * screen->devicePixelRatio());
    ASSERT_LT(largest.width(), natural.width());
    const QSize fit = FitWithin(natural, largest);
    EXPECT_EQ(Item(0)->OriginalImage().size(), DrawnSize(Item(0)->ItemRect())) << "the show draws it smaller";
    EXPECT_LE(Item(0)->OriginalImage().width(), fit.width());
    EXPECT_LE(Item(0)->OriginalImage().height(), fit.height());
    EXPECT_EQ(Item(0)->Image()->Data(), QByteArray());

    Show().Next();
    EndTransition(Show());
    ASSERT_TRUE(WaitLoaded(Show()));
    EXPECT_EQ(decoded(), (QList<int>{0, 1, 2}));
    EXPECT_EQ(PictureColor(2), QColor(Qt::blue).rgba());

    // A jump is decoded by the loader while the transition runs, never on the user-interface thread.
    Show().SetItemIndex(4);
    EXPECT_TRUE(Item(4)->OriginalImage().isNull());
    ASSERT_TRUE(QTest::qWaitFor([&] { return !Item(4)->OriginalImage().isNull(); }, 20000));
    EXPECT_EQ(PictureColor(4), QColor(Qt::cyan).rgba());
}

TEST_F(Loader, FilesThatAreNoPicturesOrTooLargeNeverHoldTheLoaderUp) {
    {
        QFile sparse(Dir.filePath("disk.img"));
        ASSERT_TRUE(sparse.open(QIODevice::WriteOnly));
        ASSERT_TRUE(sparse.resize(qint64(64) << 30));
    }
    ASSERT_EQ(::mkfifo(QFile::encodeName(Dir.filePath("fifo.png")).constData(), 0600), 0);
    ASSERT_TRUE(QFile::link("/dev/zero", Dir.filePath("zero.jpg")));
    ASSERT_TRUE(QDir(Dir.path()).mkdir("folder.png"));
    ASSERT_TRUE(QFile::link(Dir.filePath("folder.png"), Dir.filePath("folder-link.png")));
    WritePicture(Dir.filePath("good.png"), 30, 20, Qt::green);
    for (const char* name : {"disk.img", "fifo.png", "zero.jpg", "folder-link.png", "folder.png", "good.png"})
        Add(Dir.filePath(name));
    ASSERT_TRUE(WaitLoaded(Show(), 20000));
    for (int i = 0; i < 5; ++i) {
        SCOPED_TRACE(Item(i)->Location().toStdString());
        EXPECT_EQ(Item(i)->ThreadStatus(), stLoading);
        EXPECT_TRUE(Item(i)->PictureSize().isEmpty());
    }
    EXPECT_EQ(Item(5)->PictureSize(), QSize(30, 20));
    EXPECT_EQ(Loaded, QList<int>{5});
}

TEST_F(Loader, SlidesWhoseFilesVanishLeaveTheRotationAndNoEmptyFrameIsPainted) {
    QTemporaryDir stick;
    const QColor colors[] = {Qt::red, Qt::green, Qt::blue, Qt::yellow, Qt::cyan, Qt::magenta};
    for (int i = 0; i < 6; ++i) {
        const QString path = stick.filePath(QString("%1.png").arg(i));
        WritePicture(path, 40, 30, colors[i]);
        Add(path);
    }
    Show().resize(300, 200);
    TFill background;
    background.SetColor(clBlack);
    Show().SetFill(background);
    ASSERT_TRUE(WaitLoaded(Show()));
    ASSERT_TRUE(stick.remove());
    Show().SetRotation(true);
    // The selected slide and the two beside it stay decoded; the others go as the rotation comes to
    // them, and the centre of the show is always a picture or the background, never the white frame.
    QSet<int> shown;
    for (int turn = 0; turn < 12; ++turn) {
        Show().RotateTimerEvent();
        EndTransition(Show());
        ASSERT_TRUE(WaitLoaded(Show()));
        EndTransition(Show());
        const QRgb centre = Show().grab().toImage().pixel(150, 100);
        EXPECT_NE(centre, qRgb(255, 255, 255)) << "turn " << turn << ", slide " << Show().ItemIndex();
        if (!Item(Show().ItemIndex())->SourceLost())
            shown << Show().ItemIndex();
    }
    EXPECT_GE(shown.size(), 1);
    int lost = 0;
    for (int i = 0; i < 6; ++i)
        lost += Item(i)->SourceLost();
    EXPECT_GE(lost, 3);
    // The files come back: a change of the slides builds them again.
    for (int i = 0; i < 6; ++i) {
        QDir().mkpath(stick.path());
        WritePicture(Item(i)->Location(), 40, 30, colors[i]);
    }
    Show().UpdateImages();
    ASSERT_TRUE(WaitLoaded(Show()));
    for (int i = 0; i < 6; ++i)
        EXPECT_FALSE(Item(i)->SourceLost()) << i;
}

TEST_F(Loader, EverySlideOfARebuiltListIsLoaded) {
    for (int i = 0; i < 10; ++i)
        WritePicture(Dir.filePath(QString("%1.png").arg(i)), 20 + i, 20);
    const auto rebuild = [&](bool bracketed) {
        if (bracketed)
            Show().BeginUpdate();
        Show().Items()->Clear();
        Show().AddItemsFromFolder(Dir.path() + "/*.*", ikImage, true, true, true);
        if (bracketed)
            Show().EndUpdate();
        ASSERT_EQ(Show().Items()->Count(), 10);
        ASSERT_TRUE(WaitLoaded(Show(), 20000));
        for (int i = 0; i < 10; ++i) {
            EXPECT_EQ(Item(i)->ThreadStatus(), stLoaded) << i;
            EXPECT_FALSE(Item(i)->ItemRect() == TGPRectF{}) << i;
        }
    };
    for (const bool bracketed : {true, true, false, true})
        rebuild(bracketed);
}

TEST_F(Loader, AnimationSwitchedOffDuringATransitionLetsTheSlideStandAndLoadingGoOn) {
    for (int i = 0; i < 3; ++i) {
        const QString path = Dir.filePath(QString("%1.png").arg(i));
        WritePicture(path, 40, 30, i == 1 ? Qt::green : Qt::red);
        Add(path);
    }
    ASSERT_TRUE(WaitLoaded(Show()));
    Show().SetRotation(true);
    Show().SetItemIndex(1);
    ASSERT_TRUE(Show().Transition().Running());
    ASSERT_FALSE(Show().RotateTimer()->Enabled());
    Show().AnimateTimerEvent();
    Item(2)->Update();
    Show().SetAnimation(false);
    EXPECT_FALSE(Show().Transition().Running());
    EXPECT_EQ(Show().Transition().CurrentItemIndex(), 1);
    EXPECT_EQ(Show().Transition().NextItemIndex(), 1);
    EXPECT_TRUE(Show().RotateTimer()->Enabled());
    EXPECT_FALSE(Show().AnimateTimer()->Enabled());
    ASSERT_TRUE(WaitLoaded(Show()));
    EXPECT_EQ(Item(2)->ThreadStatus(), stLoaded);
    // The rotation goes on without transitions.
    Show().RotateTimerEvent();
    EXPECT_EQ(Show().Transition().CurrentItemIndex(), 2);
    EXPECT_FALSE(Show().Transition().Running());
}

TEST_F(Loader, StoppingAndDestroyingWhileLoadingIsSafe) {
    for (int i = 0; i < 20; ++i) {
        const QString path = Dir.filePath(QString("%1.jpg").arg(i));
        WritePicture(path, 800, 600);
        Add(path);
    }
    QTest::qWait(5);
    Show().StopThread();
    const int loaded = int(Loaded.size());
    QTest::qWait(30);
    EXPECT_EQ(Loaded.size(), loaded);
    Show().StartThread();
    ASSERT_TRUE(WaitLoaded(Show()));
    EXPECT_EQ(Loaded.size(), 20);

    auto* other = new TSlideShow;
    for (int i = 0; i < 20; ++i)
        other->Items()->Add()->SetLocation(Dir.filePath(QString("%1.jpg").arg(i)));
    QTest::qWait(5);
    delete other;
}

} // namespace
} // namespace lanterna::testing
