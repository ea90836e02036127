#include "testing/pictures.h"

#include <QBuffer>
#include <QImageWriter>
#include <QWidget>

#include <algorithm>
#include <cstdint>
#include <cstdlib>

namespace lanterna::testing {

QImage PhotoLike(int width, int height, int variant) {
    QImage image(width, height, QImage::Format_RGB32);
    std::uint32_t noise = 2463534242u + std::uint32_t(variant) * 7919u;
    for (int y = 0; y < height; ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < width; ++x) {
            noise ^= noise << 13;
            noise ^= noise >> 17;
            noise ^= noise << 5;
            const int grain = int(noise & 31) - 16;
            const int r = (x * 255 / width + variant * 40) % 256;
            const int g = y * 255 / height;
            const int b = ((x + y) / 24 + variant * 30) % 256;
            line[x] = qRgb(qBound(0, r + grain, 255), qBound(0, g + grain, 255), qBound(0, b + grain, 255));
        }
    }
    return image;
}

QByteArray Encode(const QImage& image, const char* format, int quality) {
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, format);
    if (quality >= 0)
        writer.setQuality(quality);
    EXPECT_TRUE(writer.write(image)) << format << ": " << writer.errorString().toStdString();
    return buffer.data();
}

QImage Grabbed(QWidget& widget, QImage::Format format) {
    return widget.grab().toImage().convertToFormat(format);
}

QRect BoxOf(const QImage& image, QRgb color) {
    QRect box;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (Px(image, x, y) == color)
                box |= QRect(x, y, 1, 1);
    return box;
}

int ChannelDistance(QRgb a, QRgb b, bool withAlpha) {
    int distance = std::max(
        {std::abs(qRed(a) - qRed(b)), std::abs(qGreen(a) - qGreen(b)), std::abs(qBlue(a) - qBlue(b))});
    if (withAlpha)
        distance = std::max(distance, std::abs(qAlpha(a) - qAlpha(b)));
    return distance;
}

::testing::AssertionResult Near(QRgb actual, QRgb expected, int tolerance) {
    if (ChannelDistance(actual, expected, true) <= tolerance)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "0x" << std::hex << actual << " is not within " << std::dec
                                         << tolerance << " of 0x" << std::hex << expected;
}

} // namespace lanterna::testing
