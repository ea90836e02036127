#include "testing/oriented_pictures.h"

#include <QBuffer>
#include <QImageWriter>
#include <QtEndian>

namespace lanterna::testing {

QImage StoredForOrientation(const QImage& upright, int orientation) {
    // Per orientation: whether the stored rows run along the upright columns, and whether the upright
    // x (y) that a stored pixel shows counts from the right (bottom) edge.
    static constexpr struct {
        bool Sideways, FromRight, FromBottom;
    } kLayouts[9] = {{},
                     {false, false, false},
                     {false, true, false},
                     {false, true, true},
                     {false, false, true},
                     {true, false, false},
                     {true, true, false},
                     {true, true, true},
                     {true, false, true}};
    const auto layout = kLayouts[orientation >= 1 && orientation <= 8 ? orientation : 1];
    const int w = upright.width(), h = upright.height();
    QImage stored(layout.Sideways ? h : w, layout.Sideways ? w : h, QImage::Format_RGB32);
    for (int sy = 0; sy < stored.height(); ++sy) {
        for (int sx = 0; sx < stored.width(); ++sx) {
            int ux = layout.Sideways ? sy : sx;
            int uy = layout.Sideways ? sx : sy;
            if (layout.FromRight)
                ux = w - 1 - ux;
            if (layout.FromBottom)
                uy = h - 1 - uy;
            stored.setPixel(sx, sy, upright.pixel(ux, uy));
        }
    }
    return stored;
}

QByteArray ExifOrientationSegment(int orientation, bool bigEndian) {
    QByteArray tiff(26, '\0');
    char* t = tiff.data();
    const auto put16 = [&](int at, quint16 v) {
        bigEndian ? qToBigEndian(v, t + at) : qToLittleEndian(v, t + at);
    };
    const auto put32 = [&](int at, quint32 v) {
        bigEndian ? qToBigEndian(v, t + at) : qToLittleEndian(v, t + at);
    };
    t[0] = t[1] = bigEndian ? 'M' : 'I';
    put16(2, 42);
    put32(4, 8);       // the first directory follows the header
    put16(8, 1);       // one entry
    put16(10, 0x0112); // orientation
    put16(12, 3);      // short
    put32(14, 1);      // one value
    put16(18, quint16(orientation));
    // The next-directory offset stays 0: there is none.
    QByteArray segment("\xFF\xE1", 2);
    char length[2];
    qToBigEndian(quint16(2 + 6 + tiff.size()), length);
    segment.append(length, 2);
    segment.append("Exif\0\0", 6);
    segment.append(tiff);
    return segment;
}

QByteArray OrientedJpeg(const QImage& upright, int orientation, bool bigEndian) {
    QByteArray jpeg;
    QBuffer buffer(&jpeg);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "JPEG");
    writer.setQuality(95);
    writer.write(StoredForOrientation(upright, orientation));
    return jpeg.left(2) + ExifOrientationSegment(orientation, bigEndian) + jpeg.mid(2);
}

} // namespace lanterna::testing
