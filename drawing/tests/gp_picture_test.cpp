#include "drawing/gp_picture.h"
#include "drawing/tests/drawing_test_support.h"

#include <QElapsedTimer>
#include <QtEndian>

#include <vector>

using namespace lanterna;
using namespace lanterna::testing;

namespace {

QByteArray Gif(const QImage& image) {
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    EXPECT_TRUE(WriteGif(image, buffer));
    return buffer.data();
}

// Records the order of a holder's events.
struct TEvents {
    std::vector<std::string> seen;
    void Wire(TGPPictureData& picture) {
        picture.OnChange = [this](TPersistent*) { seen.push_back("change"); };
        picture.OnClear = [this](TPersistent*) { seen.push_back("clear"); };
    }
};

QByteArray Bytes(std::initializer_list<int> values) {
    QByteArray out;
    for (int v : values)
        out.append(char(v));
    return out;
}

// A minimal little-endian TIFF whose first directory holds the given width and height entries.
QByteArray Tiff(quint32 widthField, quint32 heightField, quint16 type = 4) {
    QByteArray tiff("II*\0", 4);
    char offset[4];
    qToLittleEndian(quint32(8), offset);
    tiff.append(offset, 4);
    auto entry = [&](quint16 tag, quint16 t, quint32 value) {
        char e[12];
        qToLittleEndian(tag, e);
        qToLittleEndian(t, e + 2);
        qToLittleEndian(quint32(1), e + 4);
        qToLittleEndian(value, e + 8);
        tiff.append(e, 12);
    };
    char count[2];
    qToLittleEndian(quint16(3), count);
    tiff.append(count, 2);
    entry(254, 4, 0);
    entry(256, type, widthField);
    entry(257, type, heightField);
    tiff.append(QByteArray(4, '\0'));
    return tiff;
}

class TPictureFiles : public ::testing::Test {
protected:
    QString Write(const QString& name, const QByteArray& bytes) { return WriteFile(FDir, name, bytes); }
    QSize Probe(const QString& name, const QByteArray& bytes) { return ProbeImageSize(Write(name, bytes)); }
    QTemporaryDir FDir;
};

} // namespace

TEST(TGPPicture, ANewHolderIsEmptyAndDrawsNothing) {
    TGPPicture picture;
    EXPECT_TRUE(picture.Empty());
    EXPECT_EQ(picture.Width(), 0);
    EXPECT_EQ(picture.Height(), 0);
    EXPECT_FALSE(picture.Transparent());
    EXPECT_EQ(picture.TransparentMode(), tmAuto);
    EXPECT_EQ(picture.TransparentColor(), clWhite);
    EXPECT_FALSE(picture.GetImageSizes());
    QImage image = Blank(10, 10);
    TGPGraphics g(image);
    picture.GPDraw(g, TRect{0, 0, 10, 10});
    picture.GPDraw(g, TGPRectF{0, 0, 10, 10});
    picture.FillRect(g, {0, 0, 10, 10});
    EXPECT_EQ(BoxOf(image, 0), QRect(0, 0, 10, 10));
    TGPSimplePicture simple;
    EXPECT_TRUE(simple.Empty());
    EXPECT_TRUE(simple.GetFileName().isEmpty());
}

TEST_F(TPictureFiles, JpegProbeReadsTheFrameHeaderBeforeAnyDecode) {
    const QString path = Write(QStringLiteral("photo.jpg"), Encode(Pattern(1024, 768), "jpeg", 50));
    TGPPicture picture;
    TEvents events;
    events.Wire(picture);
    picture.LoadFromFile(path);
    EXPECT_FALSE(picture.Empty());
    EXPECT_EQ(picture.Width(), 1024);
    EXPECT_EQ(picture.Height(), 768);
    EXPECT_EQ(events.seen, (std::vector<std::string>{"clear", "change"}));
    EXPECT_EQ(picture.PixelDepth(), 0) << "nothing decoded yet";
    EXPECT_TRUE(picture.GetImageSizes());
    EXPECT_EQ(picture.PixelDepth(), 24);
}

TEST_F(TPictureFiles, JpegMarkersWithoutSegmentsAndFillBytes) {
    // A restart-style marker, then the next byte taken as the marker: SOF0.
    EXPECT_EQ(Probe("a.JPG", Bytes({0xFF, 0xD8, 0xFF, 0x01, 0xC0, 0x00, 0x11, 0x08, 0x01, 0x00, 0x02, 0x00})),
              QSize(512, 256));
    // Fill bytes, a skipped APP1 segment, then a progressive frame.
    EXPECT_EQ(Probe("b.jpeg", Bytes({0xFF, 0xD8, 0xFF, 0xE1, 0x00, 0x05, 1,    2,    3,    0xFF,
                                     0xFF, 0xFF, 0xC2, 0x00, 0x11, 0x08, 0x00, 0x30, 0x00, 0x40})),
              QSize(64, 48));
    EXPECT_EQ(Probe("c.jpg", Bytes({0xFF, 0xD8, 0xFF, 0xD3, 0xC1, 0x00, 0x11, 0x08, 0x00, 0x02, 0x00, 0x03})),
              QSize(3, 2));
    // A segment not followed by 0xFF ends the search; so do the end of the file and a missing signature.
    EXPECT_EQ(Probe("d.jpg", Bytes({0xFF, 0xD8, 0xFF, 0xE0, 0x00, 0x04, 1, 2, 0x00, 0xC0})), QSize(0, 0));
    EXPECT_EQ(Probe("e.jpg", Bytes({0xFF, 0xD8, 0xFF, 0xC0, 0x00, 0x11})), QSize(0, 0));
    EXPECT_EQ(Probe("f.jpg", Bytes({0xFF, 0xD9, 0xFF, 0xC0, 0x00, 0x11, 0x08, 0x00, 0x02, 0x00, 0x03})),
              QSize(0, 0));
}

TEST_F(TPictureFiles, PngBmpTiffAndGifProbes) {
    EXPECT_EQ(Probe("p.png", Encode(Pattern(300, 200), "png")), QSize(300, 200));
    EXPECT_EQ(Probe("p.PNG", Encode(Pattern(3, 2), "png")), QSize(3, 2));
    EXPECT_EQ(Probe("b.bmp", Encode(Pattern(30, 20), "bmp")), QSize(30, 20));
    // The table reads the low 16 bits unsigned: a top-down bitmap's negative height shows as such.
    QByteArray topDown = Encode(Pattern(30, 20), "bmp");
    qToLittleEndian(qint32(-20), topDown.data() + 22);
    EXPECT_EQ(Probe("t.bmp", topDown), QSize(30, 65536 - 20));
    EXPECT_EQ(Probe("t.tif", Encode(Pattern(40, 25), "tiff")), QSize(40, 25));
    EXPECT_EQ(Probe("t.TIFF", Encode(Pattern(4, 5), "tiff")), QSize(4, 5));
    EXPECT_EQ(Probe("n.tif", Tiff(quint32(-10), 7)), QSize(10, 7)) << "absolute values";
    EXPECT_EQ(Probe("s.tif", Tiff(12, 9, 3)), QSize(12, 9)) << "16-bit entries";
    QByteArray bigEndian = Tiff(12, 9);
    bigEndian[0] = 'M';
    bigEndian[1] = 'M';
    EXPECT_EQ(Probe("m.tif", bigEndian), QSize(0, 0)) << "little-endian files only";
    EXPECT_EQ(Probe("g.gif", Gif(Pattern(17, 11))), QSize(17, 11));
    // Without a global colour table, the image descriptor follows the header and an extension.
    EXPECT_EQ(Probe("h.gif",
                    QByteArray("GIF89a\x05\x00\x06\x00\x00\x00\x00\x21\xFE\x01\x41\x00,\x00\x00\x00\x00\x07"
                               "\x00\x08\x00\x00",
                               28)),
              QSize(7, 8));
    EXPECT_EQ(Probe("x.dat", Encode(Pattern(3, 2), "png")), QSize(0, 0)) << "an extension the table lacks";
    EXPECT_EQ(Probe("missing.png", QByteArray()), QSize(0, 0));
}

TEST_F(TPictureFiles, LyingHeadersAndTextFiles) {
    const QByteArray png = Encode(Pattern(20, 10), "png");
    const QByteArray jpeg = Encode(Pattern(20, 10), "jpeg");
    EXPECT_EQ(Probe("png-named.jpg", png), QSize(0, 0));
    EXPECT_EQ(Probe("jpeg-named.png", jpeg), QSize(0, 0));
    EXPECT_EQ(Probe("png-named.gif", png), QSize(0, 0));
    EXPECT_EQ(Probe("png-named.bmp", png), QSize(0, 0));
    EXPECT_EQ(Probe("png-named.tif", png), QSize(0, 0));

    // A PNG behind an unknown extension: no provisional size, the decode finds the real one.
    TGPPicture dat;
    dat.LoadFromFile(Write(QStringLiteral("picture.dat"), png));
    EXPECT_FALSE(dat.Empty());
    EXPECT_EQ(dat.Width(), 0);
    EXPECT_TRUE(dat.GetImageSizes());
    EXPECT_EQ(dat.Width(), 20);
    EXPECT_EQ(dat.Height(), 10);

    // A text file named like a picture: taken, no size, draws nothing.
    TGPPicture text;
    text.LoadFromFile(Write(QStringLiteral("notes.png"), "Just a few words, not a picture.\n"));
    EXPECT_FALSE(text.Empty());
    EXPECT_EQ(text.Width(), 0);
    EXPECT_TRUE(text.GetImageSizes());
    EXPECT_EQ(text.Width(), 0);
    QImage image = Blank(10, 10);
    TGPGraphics g(image);
    text.GPDraw(g, TGPRectF{0, 0, 10, 10});
    text.FillRect(g, {0, 0, 10, 10});
    EXPECT_EQ(BoxOf(image, 0), QRect(0, 0, 10, 10));

    // A frame header that promises more than the file holds: provisional size, no decoded size.
    QByteArray liar = Bytes({0xFF, 0xD8, 0xFF, 0xC0, 0x00, 0x11, 0x08, 0x0B, 0xB8, 0x0F, 0xA0});
    liar.append(QByteArray(100, '\x55'));
    TGPPicture promised;
    promised.LoadFromFile(Write(QStringLiteral("liar.jpg"), liar));
    EXPECT_EQ(promised.Width(), 4000);
    EXPECT_EQ(promised.Height(), 3000);
    promised.GPDraw(g, TRect{0, 0, 10, 10});
    EXPECT_EQ(promised.Width(), 0) << "the decode corrects the size";
    EXPECT_EQ(BoxOf(image, 0), QRect(0, 0, 10, 10));
}

TEST_F(TPictureFiles, TruncatedFilesNeverBreakTheProbeOrTheDecode) {
    const std::pair<const char*, QByteArray> files[] = {{"t.jpg", Encode(Pattern(64, 48), "jpeg")},
                                                        {"t.png", Encode(Pattern(64, 48), "png")},
                                                        {"t.bmp", Encode(Pattern(64, 48), "bmp")},
                                                        {"t.tif", Encode(Pattern(64, 48), "tiff")},
                                                        {"t.gif", Gif(Pattern(64, 48))}};
    for (const auto& [name, bytes] : files) {
        for (int length : {0, 1, 2, 5, 9, 13, 17, 23, 30, int(bytes.size() / 2), int(bytes.size() - 1)}) {
            const QString path =
                Write(QStringLiteral("%1-%2").arg(length).arg(QString::fromLatin1(name)), bytes.left(length));
            const QSize probed = ProbeImageSize(path);
            EXPECT_TRUE(probed == QSize(0, 0) || probed == QSize(64, 48)) << name << " cut at " << length;
            TGPPicture picture;
            picture.LoadFromFile(path);
            picture.GetImageSizes();
            EXPECT_TRUE((picture.Width() == 0 && picture.Height() == 0) ||
                        (picture.Width() == 64 && picture.Height() == 48))
                << name << " cut at " << length;
        }
    }
}

TEST_F(TPictureFiles, PicturesClaimingGigabytesAreRefusedCleanly) {
    QByteArray jpeg = Encode(Pattern(16, 16), "jpeg");
    const int sof = int(jpeg.indexOf(QByteArray("\xFF\xC0", 2)));
    ASSERT_GT(sof, 0);
    qToBigEndian(quint16(65000), jpeg.data() + sof + 5);
    qToBigEndian(quint16(65000), jpeg.data() + sof + 7);
    QByteArray bmp = Encode(Pattern(16, 16), "bmp");
    qToLittleEndian(qint32(65000), bmp.data() + 18);
    qToLittleEndian(qint32(65000), bmp.data() + 22);
    QByteArray gif = Gif(Pattern(16, 16));
    qToLittleEndian(quint16(65000), gif.data() + 6);
    qToLittleEndian(quint16(65000), gif.data() + 8);
    const int descriptor = int(gif.indexOf(',', 13 + 768));
    qToLittleEndian(quint16(65000), gif.data() + descriptor + 5);
    qToLittleEndian(quint16(65000), gif.data() + descriptor + 7);
    const QByteArray png = PngClaiming(Encode(Pattern(16, 16), "png"), 65000, 65000);
    const std::pair<const char*, QByteArray> files[] = {{"huge.jpg", jpeg},
                                                        {"huge.bmp", bmp},
                                                        {"huge.gif", gif},
                                                        {"huge.png", png},
                                                        {"huge.tif", Tiff(65000, 65000)}};
    QElapsedTimer clock;
    clock.start();
    for (const auto& [name, bytes] : files) {
        TGPPicture picture;
        picture.LoadFromFile(Write(QString::fromLatin1(name), bytes));
        EXPECT_EQ(picture.Width(), 65000) << name << ": the header's claim, before any decode";
        EXPECT_TRUE(picture.GetImageSizes()) << name;
        EXPECT_EQ(picture.Width(), 0) << name << ": not decodable";
        EXPECT_EQ(picture.Height(), 0) << name;
        QImage image = Blank(8, 8);
        TGPGraphics g(image);
        picture.GPDraw(g, TGPRectF{0, 0, 8, 8});
        picture.FillRect(g, {0, 0, 8, 8});
        EXPECT_EQ(BoxOf(image, 0), QRect(0, 0, 8, 8)) << name;
    }
    EXPECT_LT(clock.elapsed(), 5000);
}

TEST_F(TPictureFiles, MissingFilesLeaveTheHolderEmptyWithoutEvents) {
    TGPPicture picture;
    TEvents events;
    events.Wire(picture);
    picture.LoadFromFile(FDir.filePath(QStringLiteral("nowhere.png")));
    EXPECT_TRUE(picture.Empty());
    EXPECT_TRUE(events.seen.empty());
    picture.LoadFromFile(Write(QStringLiteral("ok.png"), Encode(Pattern(3, 2), "png")));
    picture.LoadFromFile(FDir.filePath(QStringLiteral("nowhere.png")));
    EXPECT_TRUE(picture.Empty()) << "a failed load empties the holder";
    TGPSimplePicture simple;
    simple.LoadFromFile(FDir.filePath(QStringLiteral("nowhere.png")));
    EXPECT_TRUE(simple.Empty());
    EXPECT_TRUE(simple.GetFileName().isEmpty());
}

TEST_F(TPictureFiles, SimplePictureTakesItsSizeFromAFullDecodeAndKeepsTheName) {
    const QString path = Write(QStringLiteral("logo.dat"), Encode(Pattern(12, 7), "png"));
    TGPSimplePicture simple;
    TEvents events;
    events.Wire(simple);
    simple.LoadFromFile(path);
    EXPECT_EQ(simple.GetFileName(), path);
    EXPECT_EQ(simple.Width(), 12) << "decoded, whatever the extension";
    EXPECT_EQ(simple.Height(), 7);
    EXPECT_EQ(events.seen, (std::vector<std::string>{"clear", "change"}));
    QImage image = Blank(30, 30);
    TGPGraphics g(image);
    simple.DrawImage(g, 5, 5);
    EXPECT_EQ(Px(image, 5, 5), Pattern(12, 7).pixel(0, 0));
    EXPECT_EQ(Px(image, 16, 11), Pattern(12, 7).pixel(11, 6));
    EXPECT_EQ(Px(image, 17, 5), 0u);
    QImage stretched = Blank(30, 30);
    TGPGraphics s(stretched);
    simple.DrawImageRect(s, 0, 0, 24, 14);
    EXPECT_EQ(qAlpha(Px(stretched, 23, 13)), 255);
    EXPECT_EQ(Px(stretched, 25, 5), 0u);
    EXPECT_EQ(Px(stretched, 5, 15), 0u);
}

TEST(TGPPicture, StreamsFormDataAndEmptyStreams) {
    const QByteArray png = Encode(Pattern(6, 4), "png");
    QBuffer in;
    in.setData(png);
    in.open(QIODevice::ReadOnly);
    in.seek(3); // the whole stream is taken, from its start
    TGPPicture picture;
    TEvents events;
    events.Wire(picture);
    picture.LoadFromStream(&in);
    EXPECT_FALSE(picture.Empty());
    EXPECT_EQ(picture.Data(), png);
    EXPECT_EQ(picture.Width(), 6);
    EXPECT_EQ(events.seen, (std::vector<std::string>{"change"}));

    QBuffer empty;
    empty.open(QIODevice::ReadOnly);
    picture.LoadFromStream(&empty);
    picture.LoadFromStream(nullptr);
    EXPECT_EQ(picture.Data(), png) << "an empty stream is ignored";

    QBuffer out;
    out.open(QIODevice::WriteOnly);
    picture.SaveToStream(&out);
    EXPECT_EQ(out.data(), png);
    QBuffer form;
    form.open(QIODevice::WriteOnly);
    picture.WriteData(&form);
    EXPECT_EQ(form.data(), png);
    picture.SaveToStream(nullptr);

    TGPPicture read;
    TEvents quiet;
    quiet.Wire(read);
    in.seek(0);
    read.ReadData(&in);
    EXPECT_FALSE(read.Empty());
    EXPECT_EQ(read.Width(), 6);
    EXPECT_TRUE(quiet.seen.empty()) << "form data raises no OnChange";

    TGPSimplePicture simple;
    simple.LoadFromStream(&empty);
    EXPECT_FALSE(simple.Empty()) << "the simple holder takes an empty stream";
    EXPECT_TRUE(simple.Data().isEmpty());
    EXPECT_FALSE(simple.GetImageSizes());
    TGPSimplePicture simpleRead;
    simpleRead.LoadFromStream(&in);
    EXPECT_EQ(simpleRead.Width(), 6);
    QBuffer other;
    other.setData(Encode(Pattern(9, 9), "png"));
    other.open(QIODevice::ReadOnly);
    simpleRead.ReadData(&other);
    EXPECT_EQ(simpleRead.Width(), 6) << "the old size stays until GetImageSizes";
    simpleRead.GetImageSizes();
    EXPECT_EQ(simpleRead.Width(), 9);
}

TEST(TGPPicture, AssignFromPicturesGraphicsContainersAndNothing) {
    const QByteArray png = Encode(Pattern(5, 3), "png");
    QBuffer in;
    in.setData(png);
    in.open(QIODevice::ReadOnly);
    TGPPicture source;
    source.LoadFromStream(&in);

    TGPPicture copy;
    TEvents events;
    events.Wire(copy);
    copy.Assign(&source);
    EXPECT_EQ(copy.Data(), png);
    EXPECT_FALSE(copy.Empty());
    EXPECT_EQ(copy.Width(), 5);
    EXPECT_EQ(events.seen, (std::vector<std::string>{"change"}));

    events.seen.clear();
    copy.Assign(nullptr);
    EXPECT_TRUE(copy.Empty());
    EXPECT_TRUE(copy.Data().isEmpty());
    EXPECT_EQ(events.seen, (std::vector<std::string>{"change", "clear"}));

    TBitmap bitmap(Pattern(4, 4));
    copy.Assign(&bitmap);
    EXPECT_FALSE(copy.Empty());
    EXPECT_TRUE(copy.Data().startsWith("BM"));
    EXPECT_EQ(copy.Width(), 4);

    TPicture container;
    container.SetGraphic(std::make_unique<TBitmap>(Pattern(7, 2)));
    copy.Assign(&container);
    EXPECT_EQ(copy.Width(), 7);

    TGPSimplePicture simple;
    simple.LoadFromStream(&in);
    copy.Assign(&simple);
    EXPECT_EQ(copy.Data(), png) << "any other graphic saves itself";

    TPersistent stranger;
    copy.Assign(&stranger);
    EXPECT_TRUE(copy.Empty());
}

TEST(TGPSimplePicture, AssignTakesOnlyItsOwnKindBitmapsAndContainers) {
    const QByteArray png = Encode(Pattern(5, 3), "png");
    QBuffer in;
    in.setData(png);
    in.open(QIODevice::ReadOnly);
    TGPSimplePicture source;
    source.LoadFromStream(&in);
    TGPSimplePicture copy;
    copy.Assign(&source);
    EXPECT_EQ(copy.Data(), png);
    EXPECT_EQ(copy.Width(), 5);

    TGPPicture full;
    in.seek(0);
    full.LoadFromStream(&in);
    TGPSimplePicture fromFull;
    fromFull.Assign(&full);
    EXPECT_TRUE(fromFull.Empty()) << "a TGPPicture is not taken";

    TBitmap bitmap(Pattern(4, 4));
    copy.Assign(&bitmap);
    EXPECT_EQ(copy.Width(), 4);
    TEvents events;
    events.Wire(copy);
    copy.Assign(nullptr);
    EXPECT_TRUE(copy.Empty());
    EXPECT_EQ(events.seen, (std::vector<std::string>{"change", "clear"}));
}

TEST(TGPPicture, TransparentBitmapsAreKeyedByTheirBottomLeftPixel) {
    QImage bmp(32, 32, QImage::Format_RGB32);
    bmp.fill(qRgb(255, 0, 255));
    for (int y = 8; y < 24; ++y)
        for (int x = 8; x < 24; ++x)
            bmp.setPixel(x, y, qRgb(0, 128, 0));
    QBuffer in;
    in.setData(Encode(bmp, "bmp"));
    in.open(QIODevice::ReadOnly);
    TGPPicture picture;
    picture.LoadFromStream(&in);
    picture.SetTransparent(true);

    QImage atOwnSize = Blank(64, 64);
    {
        TGPGraphics g(atOwnSize);
        picture.GPDraw(g, TRect{0, 0, 64, 64});
    }
    EXPECT_EQ(Px(atOwnSize, 2, 2), 0u) << "the key colour is left out";
    EXPECT_EQ(Px(atOwnSize, 10, 10), 0xFF008000u);
    EXPECT_EQ(BoxOf(atOwnSize, 0xFF008000), QRect(8, 8, 16, 16)) << "32 x 32 whatever the rectangle";

    QImage stretched = Blank(64, 64);
    {
        TGPGraphics g(stretched);
        picture.GPDraw(g, TGPRectF{0, 0, 64, 64});
    }
    const QRect green = BoxOf(stretched, 0xFF008000);
    EXPECT_NEAR(green.left(), 17, 1);
    EXPECT_NEAR(green.right(), 46, 1);
    EXPECT_EQ(Px(stretched, 4, 4), 0u);

    picture.SetTransparentMode(tmFixed);
    picture.SetTransparentColor(RGBColor(0, 128, 0));
    QImage fixed = Blank(32, 32);
    {
        TGPGraphics g(fixed);
        picture.GPDraw(g, TRect{0, 0, 32, 32});
    }
    EXPECT_EQ(Px(fixed, 2, 2), 0xFFFF00FFu);
    EXPECT_EQ(Px(fixed, 10, 10), 0u);

    picture.SetTransparent(false);
    QImage opaque = Blank(64, 64);
    {
        TGPGraphics g(opaque);
        picture.GPDraw(g, TRect{0, 0, 64, 64});
    }
    EXPECT_EQ(Px(opaque, 2, 2), 0xFFFF00FFu);
    EXPECT_EQ(Px(opaque, 60, 60), 0xFFFF00FFu) << "stretched into the rectangle";
}

TEST(TGPPicture, CanvasDrawingOfBitmapsAndOtherFormats) {
    // Blue, with a red 2 x 2 block at the top left; the bottom-left pixel is blue.
    QImage bmp(4, 4, QImage::Format_RGB32);
    bmp.fill(qRgb(0, 0, 255));
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 2; ++x)
            bmp.setPixel(x, y, qRgb(255, 0, 0));
    QBuffer in;
    in.setData(Encode(bmp, "bmp"));
    in.open(QIODevice::ReadOnly);
    TGPPicture picture;
    picture.LoadFromStream(&in);
    QImage canvasImage = Blank(20, 20);
    {
        QPainter canvas(&canvasImage);
        picture.Draw(canvas, TRect{2, 2, 20, 20});
    }
    EXPECT_EQ(BoxOf(canvasImage, 0xFFFF0000), QRect(2, 2, 2, 2)) << "at its own size";
    EXPECT_EQ(Px(canvasImage, 5, 5), 0u) << "blue, the bottom-left colour, is left out";

    TGPSimplePicture simple;
    in.seek(0);
    simple.LoadFromStream(&in);
    QImage simpleImage = Blank(20, 20);
    {
        QPainter canvas(&simpleImage);
        simple.Draw(canvas, TRect{0, 0, 20, 20});
    }
    EXPECT_EQ(Px(simpleImage, 4, 4), 0xFFFF0000u) << "stretched";
    EXPECT_EQ(Px(simpleImage, 15, 15), 0u);

    QBuffer pngIn;
    pngIn.setData(Encode(bmp, "png"));
    pngIn.open(QIODevice::ReadOnly);
    TGPPicture png;
    png.LoadFromStream(&pngIn);
    QImage pngImage = Blank(20, 20);
    {
        QPainter canvas(&pngImage);
        png.Draw(canvas, TRect{0, 0, 20, 20});
    }
    EXPECT_EQ(Px(pngImage, 19, 19), 0xFF0000FFu) << "other formats stretch, without a key";
    EXPECT_EQ(Px(pngImage, 4, 4), 0xFFFF0000u);
}

TEST(TGPPicture, TextureFillIsAlignedToTheSurfaceOrigin) {
    const QImage tile = Pattern(5, 4);
    QBuffer in;
    in.setData(Encode(tile, "png"));
    in.open(QIODevice::ReadOnly);
    TGPPicture picture;
    picture.LoadFromStream(&in);
    QImage image = Blank(40, 40);
    TGPGraphics g(image);
    picture.FillRect(g, {7, 9, 20, 20});
    for (int y = 9; y < 29; ++y)
        for (int x = 7; x < 27; ++x)
            ASSERT_EQ(Px(image, x, y), tile.pixel(x % 5, y % 4));
    TGPGraphicsPath circle;
    circle.AddEllipse(20, 20, 18, 18);
    picture.FillPath(g, circle);
    EXPECT_EQ(Px(image, 29, 29), tile.pixel(29 % 5, 29 % 4));
    EXPECT_EQ(Px(image, 37, 21), 0u);
}

TEST(TGPPicture, UrlsAndResources) {
    QTemporaryDir dir;
    const QString path = WriteFile(dir, QStringLiteral("u.png"), Encode(Pattern(3, 3), "png"));
    for (const QString& prefix :
         {QStringLiteral("FILE://"), QStringLiteral("file://"), QStringLiteral("FiLe://")}) {
        TGPPicture picture;
        picture.LoadFromURL(prefix + path);
        EXPECT_FALSE(picture.Empty()) << prefix.toStdString();
        EXPECT_EQ(picture.Width(), 3);
    }
    TGPPicture web;
    web.LoadFromURL(QStringLiteral("http://example.invalid/u.png"));
    web.LoadFromURL(path);
    EXPECT_TRUE(web.Empty());

    TGPPicture resource;
    resource.LoadFromURL(QStringLiteral("res://resource.png"));
    EXPECT_FALSE(resource.Empty());
    EXPECT_EQ(resource.Width(), 3);
    EXPECT_EQ(resource.Height(), 2);
    TGPSimplePicture byName;
    byName.LoadFromResourceName(QStringLiteral("resource.png"));
    EXPECT_EQ(byName.Width(), 3);
    TGPPicture missing;
    missing.LoadFromResourceName(QStringLiteral("no-such-resource"));
    EXPECT_TRUE(missing.Empty());
    TGPPicture byId;
    byId.LoadFromResourceID(101);
    EXPECT_EQ(byId.Width(), 3);
    EXPECT_THROW(byId.LoadFromResourceID(999), EResNotFound);
}
