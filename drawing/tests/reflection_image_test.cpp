#include "drawing/reflection_image.h"
#include "drawing/tests/drawing_test_support.h"

#include <QEnterEvent>
#include <QTest>

using namespace lanterna;
using namespace lanterna::testing;

namespace {

// A picture whose every row has its own colour, so that mirrored rows can be told apart.
QImage Rows(int w, int h) {
    QImage image(w, h, QImage::Format_ARGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            image.setPixel(x, y, qRgb((y * 3) & 0xFF, 255 - ((y * 7) & 0xFF), (x * 20) & 0xFF));
    return image;
}

void Load(TReflectionImage& control, const QImage& image) {
    QBuffer in;
    in.setData(Encode(image, "png"));
    in.open(QIODevice::ReadOnly);
    control.Picture().LoadFromStream(&in);
}

int RowAlpha(const TReflectionImage& control, int row) {
    return qAlpha(Px(control.ReflectionPic()->QtImage(), 0, row));
}

QImage Grabbed(QWidget& widget) {
    return widget.grab().toImage().convertToFormat(QImage::Format_ARGB32);
}

// The start window's logo: a reflection 60 rows high fading from 150 to nothing, one pixel below.
struct LogoFixture {
    QWidget parent;
    TReflectionImage* logo = new TReflectionImage(&parent);
    QImage picture = Rows(6, 80);
    LogoFixture() {
        logo->SetReflectionOpacityStart(150);
        logo->SetReflectionOpacityEnd(0);
        logo->SetReflectionSize(60);
        Load(*logo, picture);
    }
};

} // namespace

TEST(TReflectionImage, ANewControlIsSmallAndEmptyAndPaintsNothing) {
    QWidget parent;
    auto* control = new TReflectionImage(&parent);
    EXPECT_EQ(control->size(), QSize(32, 32));
    EXPECT_TRUE(control->Picture().Empty());
    EXPECT_EQ(control->ReflectionPic(), nullptr);
    EXPECT_EQ(control->ReflectionOpacityStart(), 255);
    EXPECT_EQ(control->ReflectionOpacityEnd(), 0);
    EXPECT_EQ(control->ReflectionSize(), 100);
    EXPECT_EQ(control->ReflectionAxis(), 1);
    EXPECT_FALSE(control->AutoSize());
    EXPECT_TRUE(BoxOf(Grabbed(*control), 0).contains(control->rect())) << "every pixel stays clear";
}

TEST(TReflectionImage, RowsFadeFromTheStartOpacityToNothingOverTheReflectionSize) {
    LogoFixture f;
    ASSERT_NE(f.logo->ReflectionPic(), nullptr);
    EXPECT_EQ(f.logo->ReflectionPic()->QtImage().size(), f.picture.size());
    EXPECT_EQ(RowAlpha(*f.logo, 0), 150);
    EXPECT_EQ(RowAlpha(*f.logo, 30), 75);
    EXPECT_EQ(RowAlpha(*f.logo, 59), 2) << "2.5 rounds to the even neighbour";
    for (int row = 60; row < 80; ++row)
        EXPECT_EQ(RowAlpha(*f.logo, row), 0) << row;
    for (int row = 1; row < 60; ++row)
        EXPECT_LE(RowAlpha(*f.logo, row), RowAlpha(*f.logo, row - 1)) << row;

    // Row i of the reflection shows row H - 1 - i of the picture.
    const QImage& reflection = f.logo->ReflectionPic()->QtImage();
    for (int row : {0, 17, 45})
        for (int x = 0; x < 6; ++x)
            EXPECT_TRUE(Near(Px(reflection, x, row) | 0xFF000000, Px(f.picture, x, 79 - row), 4))
                << x << "," << row;
}

TEST(TReflectionImage, PaintsThePictureAndBelowItTheReflectionAfterTheAxisGap) {
    LogoFixture f;
    f.logo->SetAutoSize(true);
    ASSERT_EQ(f.logo->size(), QSize(6, 80 + 60));
    QImage shot = Grabbed(*f.logo);
    for (int y : {0, 40, 79})
        EXPECT_TRUE(Near(Px(shot, 2, y), Px(f.picture, 2, y))) << y;
    EXPECT_EQ(qAlpha(Px(shot, 2, 80)), 0) << "the one-pixel gap";
    EXPECT_TRUE(Near(Px(shot, 2, 81), (Px(f.picture, 2, 79) & 0xFFFFFF) | 150u << 24));
    EXPECT_EQ(qAlpha(Px(shot, 2, 81 + 30)), 75);
    EXPECT_EQ(qAlpha(Px(shot, 2, 139)), RowAlpha(*f.logo, 58)) << "the last row that fits in the control";

    f.logo->SetReflectionAxis(0);
    shot = Grabbed(*f.logo);
    EXPECT_EQ(qAlpha(Px(shot, 2, 80)), 150) << "the reflection now starts right under the picture";
}

TEST(TReflectionImage, AnEvenFaintMirrorKeepsItsRowsUpToTheSize) {
    QWidget parent;
    auto* brand = new TReflectionImage(&parent);
    brand->SetReflectionOpacityStart(50);
    brand->SetReflectionOpacityEnd(50);
    brand->SetReflectionAxis(0);
    brand->SetAutoSize(true);
    Load(*brand, Rows(4, 120));
    EXPECT_EQ(brand->size(), QSize(4, 220));
    for (int row : {0, 50, 99})
        EXPECT_EQ(RowAlpha(*brand, row), 50) << row;
    for (int row : {100, 119})
        EXPECT_EQ(RowAlpha(*brand, row), 0) << row;
    const QImage shot = Grabbed(*brand);
    EXPECT_EQ(qAlpha(Px(shot, 1, 120)), 50);
    EXPECT_EQ(qAlpha(Px(shot, 1, 219)), 50);
}

TEST(TReflectionImage, TransparentPixelsStayClearAndPartialOnesAreScaledByTheirRow) {
    QImage picture(3, 10, QImage::Format_ARGB32);
    picture.fill(qRgba(200, 100, 50, 255));
    picture.setPixel(0, 9, qRgba(0, 0, 0, 0));
    picture.setPixel(1, 9, qRgba(40, 80, 120, 128));
    QWidget parent;
    auto* control = new TReflectionImage(&parent);
    control->SetReflectionOpacityStart(150);
    control->SetReflectionSize(60);
    Load(*control, picture);
    const QImage& reflection = control->ReflectionPic()->QtImage();
    EXPECT_EQ(Px(reflection, 0, 0), 0u);
    EXPECT_TRUE(Near(Px(reflection, 1, 0), qRgba(40, 80, 120, 75)));
    EXPECT_TRUE(Near(Px(reflection, 2, 0), qRgba(200, 100, 50, 150), 1));
}

TEST(TReflectionImage, SettersIgnoreValuesOutOfRangeAndRebuildOnlyForTheFade) {
    LogoFixture f;
    auto built = [&] { return f.logo->ReflectionPic()->QtImage().cacheKey(); };
    const qint64 first = built();

    f.logo->SetReflectionOpacityStart(300);
    f.logo->SetReflectionOpacityStart(-1);
    f.logo->SetReflectionOpacityEnd(256);
    f.logo->SetReflectionSize(-5);
    f.logo->SetReflectionOpacityStart(150);
    EXPECT_EQ(f.logo->ReflectionOpacityStart(), 150);
    EXPECT_EQ(f.logo->ReflectionOpacityEnd(), 0);
    EXPECT_EQ(f.logo->ReflectionSize(), 60);
    f.logo->SetReflectionAxis(5);
    EXPECT_EQ(built(), first) << "nothing was rebuilt";

    f.logo->SetReflectionOpacityEnd(150);
    EXPECT_NE(built(), first);
    EXPECT_EQ(RowAlpha(*f.logo, 59), 150);
    f.logo->SetReflectionSize(0);
    EXPECT_EQ(RowAlpha(*f.logo, 0), 0) << "a size of 0 leaves no visible row";
}

TEST(TReflectionImage, AutoSizeFollowsThePictureAndTheReflectionSize) {
    QWidget parent;
    auto* control = new TReflectionImage(&parent);
    Load(*control, Rows(10, 20));
    EXPECT_EQ(control->size(), QSize(32, 32)) << "without AutoSize the size stays";
    control->SetAutoSize(true);
    EXPECT_EQ(control->size(), QSize(10, 120));
    control->SetReflectionSize(8);
    EXPECT_EQ(control->size(), QSize(10, 28));
    Load(*control, Rows(15, 5));
    EXPECT_EQ(control->size(), QSize(15, 13));
}

TEST(TReflectionImage, PicturesAreCopiedAndAnEmptyOrBrokenPictureShowsNothing) {
    QWidget parent;
    auto* control = new TReflectionImage(&parent);
    TGPSimplePicture source;
    QBuffer in;
    in.setData(Encode(Rows(5, 5), "png"));
    in.open(QIODevice::ReadOnly);
    source.LoadFromStream(&in);
    control->SetPicture(&source);
    ASSERT_NE(control->ReflectionPic(), nullptr);
    source.Assign(nullptr);
    EXPECT_FALSE(control->Picture().Empty()) << "the control keeps its own copy";

    control->SetPicture(nullptr);
    EXPECT_TRUE(control->Picture().Empty());
    EXPECT_EQ(control->ReflectionPic(), nullptr);
    EXPECT_TRUE(BoxOf(Grabbed(*control), 0).contains(control->rect()));

    QBuffer junk;
    junk.setData("not a picture");
    junk.open(QIODevice::ReadOnly);
    control->Picture().LoadFromStream(&junk);
    EXPECT_FALSE(control->Picture().Empty());
    EXPECT_EQ(control->ReflectionPic(), nullptr);
    EXPECT_TRUE(BoxOf(Grabbed(*control), 0).contains(control->rect()));
}

TEST(TReflectionImage, ReportsTheMouseComingLeavingAndClicking) {
    QWidget parent;
    parent.resize(100, 100);
    auto* control = new TReflectionImage(&parent);
    std::vector<std::string> seen;
    control->OnMouseEnter = [&](TReflectionImage* sender) {
        EXPECT_EQ(sender, control);
        seen.push_back("enter");
    };
    control->OnMouseLeave = [&](TReflectionImage*) { seen.push_back("leave"); };
    control->OnClick = [&](TReflectionImage*) { seen.push_back("click"); };
    parent.show();

    QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), QPointF(5, 5));
    QCoreApplication::sendEvent(control, &enter);
    EXPECT_TRUE(control->MouseInControl());
    QTest::mouseClick(control, Qt::LeftButton, {}, QPoint(5, 5));
    QTest::mouseClick(control, Qt::RightButton, {}, QPoint(5, 5));
    QEvent leave(QEvent::Leave);
    QCoreApplication::sendEvent(control, &leave);
    EXPECT_FALSE(control->MouseInControl());
    EXPECT_EQ(seen, (std::vector<std::string>{"enter", "click", "leave"}));
}
