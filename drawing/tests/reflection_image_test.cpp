#include "drawing/reflection_image.h"
#include "drawing/tests/drawing_test_support.h"

#include <QEnterEvent>
#include <QTest>

using namespace lanterna;
using namespace lanterna::testing;

namespace {

bool Clear(QWidget& widget) {
    return BoxOf(Grabbed(widget), 0).contains(widget.rect());
}

// A control on a parent (so that it shows nothing where it paints nothing) with a fade.
struct Fixture {
    QWidget parent;
    TReflectionImage* control = new TReflectionImage(&parent);
    QImage picture = Pattern(6, 80); // every row its own colours
    Fixture(int start, int end, int size) {
        control->SetReflectionOpacityStart(start);
        control->SetReflectionOpacityEnd(end);
        control->SetReflectionSize(size);
    }
    void Load(const QImage& image) {
        QBuffer in;
        in.setData(Encode(image, "png"));
        in.open(QIODevice::ReadOnly);
        control->Picture().LoadFromStream(&in);
    }
    int RowAlpha(int row) const { return qAlpha(Px(control->ReflectionPic()->QtImage(), 0, row)); }
};

} // namespace

TEST(TReflectionImage, TheLogosReflectionFadesFrom150ToNothingOver60Rows) {
    Fixture f(150, 0, 60);
    f.Load(f.picture);
    ASSERT_NE(f.control->ReflectionPic(), nullptr);
    EXPECT_EQ(f.RowAlpha(0), 150);
    EXPECT_EQ(f.RowAlpha(30), 75);
    EXPECT_EQ(f.RowAlpha(59), 2) << "2.5 rounds to the even neighbour";
    EXPECT_EQ(f.RowAlpha(60), 0);
    EXPECT_EQ(f.RowAlpha(79), 0);
    // Row i of the reflection shows row H - 1 - i of the picture.
    for (int row : {0, 17, 45})
        EXPECT_TRUE(Near(Px(f.control->ReflectionPic()->QtImage(), 3, row) | 0xFF000000,
                         Px(f.picture, 3, 79 - row), 4))
            << row;

    // Painted: the picture, a one-pixel gap, then the reflection, cut off at the control's edge.
    f.control->SetAutoSize(true);
    ASSERT_EQ(f.control->size(), QSize(6, 80 + 60));
    QImage shot = Grabbed(*f.control);
    EXPECT_EQ(Px(shot, 2, 40), Px(f.picture, 2, 40));
    EXPECT_EQ(qAlpha(Px(shot, 2, 80)), 0);
    EXPECT_TRUE(Near(Px(shot, 2, 81), (Px(f.picture, 2, 79) & 0xFFFFFF) | 150u << 24));
    EXPECT_EQ(qAlpha(Px(shot, 2, 81 + 30)), 75);
    f.control->SetReflectionAxis(0);
    EXPECT_EQ(qAlpha(Px(Grabbed(*f.control), 2, 80)), 150) << "now right under the picture";
}

TEST(TReflectionImage, TransparentPixelsStayClearAndPartialOnesAreScaledByTheirRow) {
    QImage picture(3, 10, QImage::Format_ARGB32);
    picture.fill(qRgba(200, 100, 50, 255));
    picture.setPixel(0, 9, qRgba(0, 0, 0, 0));
    picture.setPixel(1, 9, qRgba(40, 80, 120, 128));
    Fixture f(150, 0, 60);
    f.Load(picture);
    const QImage& reflection = f.control->ReflectionPic()->QtImage();
    EXPECT_EQ(Px(reflection, 0, 0), 0u);
    EXPECT_TRUE(Near(Px(reflection, 1, 0), qRgba(40, 80, 120, 75)));
    EXPECT_TRUE(Near(Px(reflection, 2, 0), qRgba(200, 100, 50, 150), 1));
}

TEST(TReflectionImage, SettersIgnoreValuesOutOfRangeAndRebuildOnlyForTheFade) {
    Fixture f(150, 0, 60);
    f.Load(f.picture);
    auto built = [&] { return f.control->ReflectionPic()->QtImage().cacheKey(); };
    const qint64 first = built();
    f.control->SetReflectionOpacityStart(300);
    f.control->SetReflectionOpacityEnd(-1);
    f.control->SetReflectionSize(-5);
    f.control->SetReflectionOpacityStart(150);
    f.control->SetReflectionAxis(5);
    EXPECT_EQ(f.control->ReflectionOpacityStart(), 150);
    EXPECT_EQ(f.control->ReflectionOpacityEnd(), 0);
    EXPECT_EQ(f.control->ReflectionSize(), 60);
    EXPECT_EQ(built(), first) << "nothing was rebuilt";

    f.control->SetReflectionOpacityEnd(150);
    EXPECT_EQ(f.RowAlpha(59), 150) << "an even fade";
    EXPECT_EQ(f.RowAlpha(60), 0);
    f.control->SetReflectionSize(0);
    EXPECT_EQ(f.RowAlpha(0), 0);
}

TEST(TReflectionImage, AutoSizeFollowsThePictureAndTheReflectionSize) {
    Fixture f(255, 0, 100);
    f.Load(Pattern(10, 20));
    EXPECT_EQ(f.control->size(), QSize(32, 32)) << "the size of a new control, kept without AutoSize";
    f.control->SetAutoSize(true);
    EXPECT_EQ(f.control->size(), QSize(10, 120));
    f.control->SetReflectionSize(8);
    EXPECT_EQ(f.control->size(), QSize(10, 28));
    f.Load(Pattern(15, 5));
    EXPECT_EQ(f.control->size(), QSize(15, 13));
}

TEST(TReflectionImage, PicturesAreCopiedAndAnEmptyOrBrokenPictureShowsNothing) {
    Fixture f(255, 0, 100);
    EXPECT_TRUE(Clear(*f.control));
    TGPSimplePicture source;
    QBuffer in;
    in.setData(Encode(Pattern(5, 5), "png"));
    in.open(QIODevice::ReadOnly);
    source.LoadFromStream(&in);
    f.control->SetPicture(&source);
    source.Assign(nullptr);
    EXPECT_NE(f.control->ReflectionPic(), nullptr) << "the control keeps its own copy";

    f.control->SetPicture(nullptr);
    EXPECT_EQ(f.control->ReflectionPic(), nullptr);
    EXPECT_TRUE(Clear(*f.control));

    QBuffer junk;
    junk.setData("not a picture");
    junk.open(QIODevice::ReadOnly);
    f.control->Picture().LoadFromStream(&junk);
    EXPECT_FALSE(f.control->Picture().Empty());
    EXPECT_EQ(f.control->ReflectionPic(), nullptr);
    EXPECT_TRUE(Clear(*f.control));
}

TEST(TReflectionImage, ReportsTheMouseComingClickingAndLeaving) {
    Fixture f(255, 0, 100);
    std::vector<std::string> seen;
    f.control->OnMouseEnter = [&](TReflectionImage*) { seen.push_back("enter"); };
    f.control->OnMouseLeave = [&](TReflectionImage*) { seen.push_back("leave"); };
    f.control->OnClick = [&](TReflectionImage*) { seen.push_back("click"); };
    QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), QPointF(5, 5));
    QCoreApplication::sendEvent(f.control, &enter);
    EXPECT_TRUE(f.control->MouseInControl());
    QTest::mouseClick(f.control, Qt::LeftButton, {}, QPoint(5, 5));
    QTest::mouseClick(f.control, Qt::RightButton, {}, QPoint(5, 5));
    QEvent leave(QEvent::Leave);
    QCoreApplication::sendEvent(f.control, &leave);
    EXPECT_FALSE(f.control->MouseInControl());
    EXPECT_EQ(seen, (std::vector<std::string>{"enter", "click", "leave"}));
}
