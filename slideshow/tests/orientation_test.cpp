#include "slideshow/tests/paint_test_support.h"
#include "slideshow/tests/slide_show_test_support.h"

#include "drawing/fill.h"
#include "slideshow/internal/picture_decoder.h"
#include "testing/oriented_pictures.h"
#include "testing/test_files.h"

#include <QBuffer>
#include <gtest/gtest.h>

namespace lanterna::testing {
namespace {

constexpr int kWidth = 120, kHeight = 80;
constexpr int kJpegTolerance = 40;

// The colour of each quadrant, sampled at the quadrant's centre.
::testing::AssertionResult StandsUpright(const QImage& image, const QRectF& where) {
    const struct {
        double fx, fy;
        QRgb colour;
        const char* name;
    } quadrants[] = {{0.25, 0.25, kTopLeft, "top left"},
                     {0.75, 0.25, kTopRight, "top right"},
                     {0.25, 0.75, kBottomLeft, "bottom left"},
                     {0.75, 0.75, kBottomRight, "bottom right"}};
    for (const auto& q : quadrants) {
        const QPoint at(int(where.x() + q.fx * where.width()), int(where.y() + q.fy * where.height()));
        const QRgb seen = image.pixel(at);
        if (!SameColour(seen, q.colour, kJpegTolerance))
            return ::testing::AssertionFailure()
                   << q.name << " at (" << at.x() << ", " << at.y() << ") is #" << std::hex
                   << (seen & 0xFFFFFF) << ", wants #" << (q.colour & 0xFFFFFF);
    }
    return ::testing::AssertionSuccess();
}

QByteArray Photo(int orientation) {
    // Both byte orders occur in cameras' files.
    return OrientedJpeg(Quadrants(kWidth, kHeight), orientation, orientation % 2 == 0);
}

TEST(Orientation, EveryOrientationDecodesUprightAtItsUprightSizeAlsoWhenScaledDown) {
    for (int orientation = 1; orientation <= 8; ++orientation) {
        SCOPED_TRACE(orientation);
        const QByteArray bytes = Photo(orientation);
        EXPECT_EQ(PictureOrientation(bytes), orientation);
        const QSize natural = PictureSize(bytes);
        ASSERT_EQ(natural, QSize(kWidth, kHeight));
        const QImage full = DecodePicture(bytes, natural, natural);
        ASSERT_EQ(full.size(), natural);
        EXPECT_TRUE(StandsUpright(full, full.rect()));
        // The bound applies to the upright picture: a stored 80 x 120 on its side still fits 60 x 40.
        const QImage half = DecodePicture(bytes, natural, QSize(kWidth / 2, kHeight / 2));
        ASSERT_EQ(half.size(), QSize(kWidth / 2, kHeight / 2));
        EXPECT_TRUE(StandsUpright(half, half.rect()));
    }
}

TEST(Orientation, APictureWithoutTagOrWithABrokenOneIsShownAsStored) {
    const QByteArray plain = Encode(Quadrants(kWidth, kHeight), "PNG");
    EXPECT_EQ(PictureOrientation(plain), 1);
    EXPECT_EQ(PictureSize(plain), QSize(kWidth, kHeight));

    const QByteArray good = Photo(6);
    const int tiff = 2 + 4 + 6; // SOI, marker and length, "Exif\0\0"
    QByteArray outOfRange = good;
    outOfRange[tiff + 19] = 9; // big-endian value low byte
    outOfRange[tiff + 18] = 0;
    EXPECT_EQ(PictureOrientation(outOfRange), 1);
    QByteArray directoryPastTheEnd = good;
    directoryPastTheEnd[tiff + 4] = char(0x7F);
    EXPECT_EQ(PictureOrientation(directoryPastTheEnd), 1);
    QByteArray segmentPastTheEnd = good.left(2) + good.mid(2, 4);
    segmentPastTheEnd[4] = char(0xFF);
    EXPECT_EQ(PictureOrientation(segmentPastTheEnd), 1);
    QByteArray moreEntriesThanItHolds = good;
    moreEntriesThanItHolds[tiff + 8] = char(0xFF);
    moreEntriesThanItHolds[tiff + 9] = char(0xFF);
    moreEntriesThanItHolds[tiff + 11] = 0x11; // another tag than the orientation
    EXPECT_EQ(PictureOrientation(moreEntriesThanItHolds), 1);
}

// Slides of photos in all eight orientations, in a show that changes slides without a transition.
class OrientedSlides : public ::testing::Test {
protected:
    void SetUp() override {
        Show().resize(600, 400);
        Show().show();
        Show().SetThumbNails(false);
        Show().SetAnimation(false);
        TFill background;
        background.SetGradientType(gtSolid);
        background.SetColor(RGBColor(128, 128, 128));
        Show().SetFill(background);
        Show().BeginUpdate();
        for (int orientation = 1; orientation <= 8; ++orientation) {
            const QString path = Folder.filePath(QStringLiteral("o%1.jpg").arg(orientation));
            ASSERT_TRUE(WriteFileBytes(path, Photo(orientation)));
            Show().Items()->Add()->SetLocation(path);
        }
        Show().EndUpdate();
        ASSERT_TRUE(WaitLoaded(Show()));
    }
    TSlideShow& Show() { return Still.Show; }

    QTemporaryDir Folder;
    TStillShow Still;
};

TEST_F(OrientedSlides, EachIsLaidOutThumbnailedAndPaintedUpright) {
    // The thumbnails are made once the band is shown.
    Show().SetThumbNails(true);
    ASSERT_TRUE(WaitLoaded(Show()));
    for (int i = 0; i < 8; ++i) {
        SCOPED_TRACE(i + 1);
        Show().SetItemIndex(i);
        const TSlideShowItem* item = Show().Items()->Items(i);
        ASSERT_TRUE(
            QTest::qWaitFor([&] { return !Show().Loading() && !item->OriginalImage().isNull(); }, 60000))
            << "the selected slide was not decoded";
        EXPECT_EQ(item->PictureSize(), QSize(kWidth, kHeight));
        const TGPRectF r = item->ItemRect();
        EXPECT_EQ(QSizeF(r.Width, r.Height), QSizeF(kWidth, kHeight)) << "a small picture keeps its size";
        ASSERT_FALSE(item->Thumbnail().isNull());
        EXPECT_TRUE(StandsUpright(item->Thumbnail(), item->Thumbnail().rect()));
        const QImage frame = Show().grab().toImage().convertToFormat(QImage::Format_RGB32);
        EXPECT_TRUE(StandsUpright(frame, QRectF(r.X, r.Y, r.Width, r.Height)));
    }
}

} // namespace
} // namespace lanterna::testing
