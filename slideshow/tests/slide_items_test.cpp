#include "slideshow/tests/slide_show_test_support.h"

#include "drawing/gp_picture.h"

#include <QBuffer>
#include <QLabel>
#include <gtest/gtest.h>

namespace lanterna::testing {
namespace {

QByteArray PngBytes(int width, int height) {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::blue);
    return Encode(image, "PNG");
}

TEST(SlideShowItem, OnlyAChangedValueMakesTheLoaderBuildTheSlideAgain) {
    TStillShow still;
    TSlideShowItem* item = still.Show.Items()->Add();
    item->SetKind(ikText);
    item->SetText("one");
    int built = 0;
    still.Show.OnImageLoaded = [&](TSlideShow*, int) { ++built; };
    ASSERT_TRUE(WaitLoaded(still.Show));
    ASSERT_EQ(built, 1);
    const QSize oneWord = item->PictureSize();

    item->SetText("one");
    item->SetTextWidth(100);
    item->SetKind(ikText);
    EXPECT_EQ(item->ThreadStatus(), stLoaded);
    ASSERT_TRUE(WaitLoaded(still.Show));
    EXPECT_EQ(built, 1);

    item->SetText("one two three");
    EXPECT_EQ(item->ThreadStatus(), stInitialized);
    EXPECT_EQ(item->ThumbThreadStatus(), stInitialized);
    ASSERT_TRUE(WaitLoaded(still.Show));
    EXPECT_EQ(built, 2);
    EXPECT_GT(item->PictureSize().width(), oneWord.width());
}

TEST(SlideShowItem, PictureDataIsCopiedAndEmptiedByAChangeOfKind) {
    TStillShow still;
    TSlideShowItem* item = still.Show.Items()->Add();
    TGPPicture picture;
    QByteArray bytes = PngBytes(8, 6);
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    picture.LoadFromStream(&buffer);

    item->SetImage(&picture);
    EXPECT_NE(item->Image(), &picture);
    EXPECT_EQ(item->Image()->Data(), bytes);
    picture.Assign(nullptr);
    EXPECT_FALSE(item->Image()->Empty());

    item->SetKind(ikText);
    EXPECT_TRUE(item->Image()->Empty());
}

TEST(SlideShowItem, ControlMovesIntoTheShowAndIsForgottenWhenDestroyed) {
    TStillShow still;
    still.Show.Items()->Add();
    TSlideShowItem* second = still.Show.Items()->Add();
    auto* label = new QLabel("live");
    second->SetKind(ikControl);
    second->SetControl(label);
    EXPECT_EQ(label->parentWidget(), &still.Show);
    EXPECT_FALSE(label->isVisibleTo(&still.Show));

    TSlideShowItem* first = still.Show.Items()->Items(0);
    auto* selected = new QLabel("selected");
    first->SetControl(selected);
    EXPECT_TRUE(selected->isVisibleTo(&still.Show));

    delete label;
    EXPECT_EQ(second->Control(), nullptr);
}

TEST(SlideShowItems, AddInsertDeleteAndIndexErrors) {
    TStillShow still;
    TSlideShowItems& items = *still.Show.Items();
    int changes = 0;
    const auto changed = items.OnChange;
    items.OnChange = [&] {
        ++changes;
        changed();
    };
    items.Add()->SetText("a");
    items.Add()->SetText("c");
    items.Insert(1)->SetText("b");
    ASSERT_EQ(items.Count(), 3);
    EXPECT_EQ(items[0]->Text() + items[1]->Text() + items[2]->Text(), "abc");
    EXPECT_EQ(items[2]->Index(), 2);
    EXPECT_EQ(changes, 3);

    items.Delete(0);
    EXPECT_EQ(items[0]->Text(), "b");
    EXPECT_EQ(items[1]->Index(), 1);

    EXPECT_THROW(items.Items(2), EListError);
    EXPECT_THROW(items.Items(-1), EListError);
    EXPECT_THROW(items.Delete(5), EListError);
    EXPECT_THROW(items.Insert(3), EListError);
    try {
        items.Items(7);
    } catch (const EListError& error) {
        EXPECT_EQ(error.Message(), "List index out of bounds (7)");
    }

    items.Clear();
    EXPECT_EQ(items.Count(), 0);
    EXPECT_EQ(changes, 5);
}

TEST(SlideShowItems, AssignCopiesEverySlideWithItsProperties) {
    TStillShow source;
    TSlideShowItem* item = source.Show.Items()->Add();
    item->SetKind(ikImageText);
    item->SetText("caption");
    item->SetDescription("about");
    item->SetVisible(false);
    item->SetTextLocation(tlLeft);
    item->Tag = 7;
    TTextFont font;
    font.Color = clRed;
    item->SetTextFont(&font);
    source.Show.Items()->Add()->SetHint("second");

    TStillShow copy;
    copy.Show.SetItems(*source.Show.Items());
    ASSERT_EQ(copy.Show.Items()->Count(), 2);
    const TSlideShowItem* copied = copy.Show.Items()->Items(0);
    EXPECT_EQ(copied->Kind(), ikImageText);
    EXPECT_EQ(copied->Text(), "caption");
    EXPECT_EQ(copied->Description(), "about");
    EXPECT_FALSE(copied->Visible());
    EXPECT_EQ(copied->TextLocation(), tlLeft);
    EXPECT_EQ(copied->TextFont()->Color, clRed);
    EXPECT_EQ(copied->Tag, 7);
    EXPECT_EQ(copy.Show.Items()->Items(1)->Hint(), "second");
    EXPECT_EQ(copied->Collection(), copy.Show.Items());
}

} // namespace
} // namespace lanterna::testing
