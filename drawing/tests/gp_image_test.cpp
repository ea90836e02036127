#include "drawing/gp_image.h"
#include "drawing/tests/drawing_test_support.h"

#include <QElapsedTimer>
#include <QRandomGenerator>
#include <QtEndian>

using namespace lanterna;
using namespace lanterna::testing;

namespace {

QImage Translucent(int w, int h) {
    QImage image = Pattern(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            if ((x + y) % 3 == 0)
                image.setPixel(x, y, 0x00000000);
    return image;
}

QByteArray Saved(const TGPImage& image, const char* mime) {
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    EXPECT_EQ(image.Save(buffer, QString::fromLatin1(mime)), Ok) << mime;
    return buffer.data();
}

} // namespace

TEST(TGPBitmap, NewBitmapsAreTransparent32BitArgb) {
    TGPBitmap bitmap(7, 5);
    EXPECT_EQ(bitmap.Status(), Ok);
    EXPECT_EQ(bitmap.GetWidth(), 7);
    EXPECT_EQ(bitmap.GetHeight(), 5);
    EXPECT_EQ(bitmap.GetPixelFormat(), 0x26200Au);
    EXPECT_EQ(GetPixelFormatSize(bitmap.GetPixelFormat()), 32);
    EXPECT_TRUE(bitmap.HasAlpha());
    EXPECT_FALSE(bitmap.HasPalette());
    ARGB c = 1;
    bitmap.GetPixel(3, 3, c);
    EXPECT_EQ(c, 0u);
    EXPECT_EQ(bitmap.SetPixel(1, 2, 0x80FF0000), Ok);
    bitmap.GetPixel(1, 2, c);
    EXPECT_TRUE(Near(c, 0x80FF0000, 1));
    EXPECT_EQ(bitmap.SetPixel(7, 0, 0), InvalidParameter);
    EXPECT_EQ(bitmap.GetPixel(-1, 0, c), InvalidParameter);
    // Drawing on it.
    TGPGraphics g(bitmap);
    g.FillRectangle(TGPSolidBrush(0xFF00FF00), 0, 0, 7, 5);
    bitmap.GetPixel(6, 4, c);
    EXPECT_EQ(c, 0xFF00FF00u);
}

TEST(TGPBitmap, ImpossibleSizesFailCleanly) {
    TGPBitmap zero(0, 10);
    EXPECT_EQ(zero.Status(), InvalidParameter);
    TGPBitmap huge(65535, 65535);
    EXPECT_EQ(huge.Status(), OutOfMemory);
    EXPECT_EQ(huge.GetWidth(), 0);
    TGPGraphics g(huge);
    EXPECT_EQ(g.GetLastStatus(), InvalidParameter);
}

TEST(TGPImage, DecodesEveryFormatFromBytes) {
    const QImage pattern = Pattern(9, 7);
    struct Case {
        const char* format;
        TGPImageFormat raw;
    };
    for (const Case& c : {Case{"png", ifPNG}, Case{"jpeg", ifJPEG}, Case{"bmp", ifBMP}, Case{"tiff", ifTIFF},
                          Case{"gif", ifGIF}}) {
        QByteArray bytes;
        if (std::string(c.format) == "gif") {
            QBuffer buffer;
            buffer.open(QIODevice::WriteOnly);
            ASSERT_TRUE(WriteGif(pattern, buffer));
            bytes = buffer.data();
        } else {
            bytes = Encode(pattern, c.format);
        }
        TGPImage image(bytes);
        EXPECT_EQ(image.Status(), Ok) << c.format;
        EXPECT_EQ(image.GetRawFormat(), c.raw) << c.format;
        EXPECT_EQ(image.GetWidth(), 9) << c.format;
        EXPECT_EQ(image.GetHeight(), 7) << c.format;
    }
    const TGPImage png(Encode(Translucent(5, 5), "png"));
    EXPECT_TRUE(png.HasAlpha());
    EXPECT_EQ(png.GetPixelFormat(), PixelFormat32bppARGB);
    const TGPImage jpeg(Encode(pattern, "jpeg"));
    EXPECT_EQ(jpeg.GetPixelFormat(), PixelFormat24bppRGB);
    EXPECT_FALSE(jpeg.HasAlpha());
    QImage indexed = pattern.convertToFormat(QImage::Format_Indexed8);
    const TGPImage palette(Encode(indexed, "bmp"));
    EXPECT_TRUE(palette.HasPalette());
    EXPECT_EQ(GetPixelFormatSize(palette.GetPixelFormat()), 8);
}

TEST(TGPImage, BytesThatAreNoImageGiveAnErrorAndNoSize) {
    TGPImage text(QByteArray("This is not a picture at all, just some text."));
    EXPECT_NE(text.Status(), Ok);
    EXPECT_EQ(text.GetWidth(), 0);
    EXPECT_EQ(text.GetHeight(), 0);
    TGPImage empty{QByteArray()};
    EXPECT_NE(empty.Status(), Ok);
    const QByteArray png = Encode(Pattern(50, 50), "png");
    TGPImage truncated(png.left(png.size() / 3));
    EXPECT_TRUE(truncated.Status() != Ok || truncated.GetWidth() == 50) << "never a half-made size";
}

TEST(TGPImage, AHeaderClaimingGigabytesIsRefusedQuickly) {
    QElapsedTimer clock;
    clock.start();
    TGPImage image(PngClaiming(Encode(Pattern(16, 16), "png"), 60000, 60000));
    EXPECT_EQ(image.Status(), OutOfMemory);
    EXPECT_EQ(image.GetWidth(), 0);
    EXPECT_LT(clock.elapsed(), 2000);
    QImage wide(1, 1, QImage::Format_RGB32);
    wide.fill(Qt::white);
    QByteArray bmp = Encode(wide, "bmp");
    // Width 40000, height 40000 in the info header.
    qToLittleEndian(qint32(40000), bmp.data() + 18);
    qToLittleEndian(qint32(40000), bmp.data() + 22);
    TGPImage bigBmp(bmp);
    EXPECT_NE(bigBmp.Status(), Ok);
    EXPECT_EQ(bigBmp.GetWidth(), 0);
}

TEST(TGPImage, ThumbnailsHaveTheAskedSize) {
    const TGPImage image(Pattern(64, 32));
    const auto thumb = image.GetThumbnailImage(16, 16);
    EXPECT_EQ(thumb->GetWidth(), 16);
    EXPECT_EQ(thumb->GetHeight(), 16);
    EXPECT_EQ(image.GetThumbnailImage(0, 16)->GetWidth(), 0);
}

TEST(TGPImage, EncodesToEveryMimeTypeAndBack) {
    const QImage source = Translucent(33, 21);
    const TGPImage image(source);
    for (const char* mime : {"image/png", "image/bmp", "image/tiff", "image/gif", "image/jpeg"}) {
        const TGPImage back(Saved(image, mime));
        ASSERT_EQ(back.Status(), Ok) << mime;
        EXPECT_EQ(back.GetWidth(), 33) << mime;
        EXPECT_EQ(back.GetHeight(), 21) << mime;
    }
    const TGPImage png(Saved(image, "image/png"));
    EXPECT_EQ(png.GetRawFormat(), ifPNG);
    for (int y = 0; y < 21; ++y)
        for (int x = 0; x < 33; ++x)
            ASSERT_EQ(png.QtImage().pixel(x, y), source.pixel(x, y)) << "PNG keeps every pixel";
    EXPECT_EQ(TGPImage(Saved(image, "image/jpeg")).GetRawFormat(), ifJPEG);
    EXPECT_EQ(TGPImage(Saved(image, "image/tiff")).GetRawFormat(), ifTIFF);
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    EXPECT_EQ(image.Save(buffer, QStringLiteral("image/x-unknown")), UnknownImageFormat);
    EXPECT_EQ(TGPImage().Save(buffer, QStringLiteral("image/png")), InvalidParameter);
}

TEST(WriteGif, KeepsUpTo256ColoursAndTransparencyExactly) {
    // Noise of 200 colours over enough pixels that the code table fills and restarts several times.
    QImage noise(300, 200, QImage::Format_ARGB32);
    QRandomGenerator random(7);
    std::vector<QRgb> colors;
    for (int i = 0; i < 200; ++i)
        colors.push_back(0xFF000000u | random.generate() % 0xFFFFFF);
    for (int y = 0; y < noise.height(); ++y)
        for (int x = 0; x < noise.width(); ++x)
            noise.setPixel(x, y, (x * y) % 17 == 0 ? 0u : colors[random.bounded(200)]);
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    ASSERT_TRUE(WriteGif(noise, buffer));
    const TGPImage back(buffer.data());
    ASSERT_EQ(back.Status(), Ok);
    EXPECT_EQ(back.GetRawFormat(), ifGIF);
    for (int y = 0; y < noise.height(); ++y)
        for (int x = 0; x < noise.width(); ++x) {
            const QRgb expected = noise.pixel(x, y);
            const QRgb actual = back.QtImage().pixel(x, y);
            if (qAlpha(expected) == 0)
                ASSERT_EQ(qAlpha(actual), 0) << x << "," << y;
            else
                ASSERT_EQ(actual, expected) << x << "," << y;
        }
}

TEST(WriteGif, QuantisesTrueColourToTheCube) {
    QImage gradient(256, 64, QImage::Format_RGB32);
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 256; ++x)
            gradient.setPixel(x, y, qRgb(x, y * 4, 255 - x));
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    ASSERT_TRUE(WriteGif(gradient, buffer));
    const TGPImage back(buffer.data());
    ASSERT_EQ(back.Status(), Ok);
    EXPECT_TRUE(Near(back.QtImage().pixel(128, 32), gradient.pixel(128, 32), 30));
    EXPECT_TRUE(Near(back.QtImage().pixel(0, 0), gradient.pixel(0, 0), 30));
}
