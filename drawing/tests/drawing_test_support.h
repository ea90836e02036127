#pragma once
// Helpers shared by the drawing tests: blank surfaces, patterns and picture files.

#include "drawing/gp_graphics.h"
#include "testing/pictures.h"
#include "testing/test_files.h"

#include <QBuffer>
#include <QImage>
#include <QTemporaryDir>
#include <QtEndian>
#include <gtest/gtest.h>

namespace lanterna::testing {

inline QImage Blank(int w, int h, QRgb color = 0) {
    QImage image(w, h, QImage::Format_ARGB32_Premultiplied);
    image.fill(color);
    return image;
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
