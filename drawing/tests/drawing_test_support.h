#pragma once
// Helpers shared by the drawing tests: blank surfaces, pixel reading and colour comparison.

#include "drawing/gp_graphics.h"
#include "platform/testing/test_files.h"

#include <QBuffer>
#include <QImage>
#include <QImageWriter>
#include <QTemporaryDir>
#include <QtEndian>
#include <gtest/gtest.h>

#include <cstdlib>

namespace lanterna::testing {

inline QImage Blank(int w, int h, QRgb color = 0) {
    QImage image(w, h, QImage::Format_ARGB32_Premultiplied);
    image.fill(color);
    return image;
}

// The unpremultiplied ARGB of a pixel.
inline ARGB Px(const QImage& image, int x, int y) {
    return image.pixelColor(x, y).rgba();
}

inline int Channel(ARGB c, int shift) {
    return int((c >> shift) & 0xFF);
}

// Every channel within `tolerance`.
inline ::testing::AssertionResult Near(ARGB actual, ARGB expected, int tolerance = 2) {
    for (int shift : {24, 16, 8, 0})
        if (std::abs(Channel(actual, shift) - Channel(expected, shift)) > tolerance)
            return ::testing::AssertionFailure() << "0x" << std::hex << actual << " is not within "
                                                 << std::dec << tolerance << " of 0x" << std::hex << expected;
    return ::testing::AssertionSuccess();
}

inline QByteArray Encode(const QImage& image, const char* format, int quality = -1) {
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, format);
    if (quality >= 0)
        writer.setQuality(quality);
    EXPECT_TRUE(writer.write(image)) << format << ": " << writer.errorString().toStdString();
    return buffer.data();
}

inline QString WriteFile(const QTemporaryDir& dir, const QString& name, const QByteArray& bytes) {
    const QString path = dir.filePath(name);
    EXPECT_TRUE(lanterna::testing::WriteFileBytes(path, bytes)) << path.toStdString();
    return path;
}

// A picture with a distinct colour at every pixel.
inline QImage Pattern(int w, int h) {
    QImage image(w, h, QImage::Format_ARGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            image.setPixel(x, y, qRgb((x * 37) & 0xFF, (y * 53) & 0xFF, ((x + y) * 11) & 0xFF));
    return image;
}

// The bounding box of the pixels whose colour is `color` (alpha included).
inline QRect BoxOf(const QImage& image, QRgb color) {
    QRect box;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (Px(image, x, y) == color)
                box |= QRect(x, y, 1, 1);
    return box;
}

inline quint32 Crc32(const QByteArray& bytes) {
    quint32 crc = 0xFFFFFFFF;
    for (char c : bytes) {
        crc ^= quint8(c);
        for (int k = 0; k < 8; ++k)
            crc = (crc >> 1) ^ (0xEDB88320 & (0 - (crc & 1)));
    }
    return ~crc;
}

// A PNG file whose header is changed to declare w x h, with its checksum mended.
inline QByteArray PngClaiming(QByteArray png, quint32 w, quint32 h) {
    qToBigEndian(w, png.data() + 16);
    qToBigEndian(h, png.data() + 20);
    qToBigEndian(Crc32(png.mid(12, 17)), png.data() + 29);
    return png;
}

} // namespace lanterna::testing
