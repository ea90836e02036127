#pragma once
// Pictures and pixels for tests: encoding a picture, grabbing a widget, comparing colours within a
// tolerance.

#include <QByteArray>
#include <QImage>
#include <QRect>
#include <gtest/gtest.h>

class QWidget;

namespace lanterna::testing {

// A picture with the structure of a photo: broad colour gradients under fine grain, so that it
// compresses and decodes like one; each variant differs.
QImage PhotoLike(int width, int height, int variant);

// The picture in a file format ("png", "jpg", "bmp", ...); a failed write fails the test.
QByteArray Encode(const QImage& image, const char* format, int quality = -1);

// What the widget paints, in the given format.
QImage Grabbed(QWidget& widget, QImage::Format format = QImage::Format_ARGB32);

// The unpremultiplied ARGB of a pixel.
inline QRgb Px(const QImage& image, int x, int y) {
    return image.pixelColor(x, y).rgba();
}

// One channel of a colour: 24 alpha, 16 red, 8 green, 0 blue.
inline int Channel(QRgb color, int shift) {
    return int((color >> shift) & 0xFF);
}

// The bounding box of the pixels whose colour is `color` (alpha included).
QRect BoxOf(const QImage& image, QRgb color);

// The largest difference between two colours in one channel; alpha counts only `withAlpha`.
int ChannelDistance(QRgb a, QRgb b, bool withAlpha);
// Every channel, alpha included, within `tolerance`; a failure names both colours.
::testing::AssertionResult Near(QRgb actual, QRgb expected, int tolerance = 2);
// Red, green and blue within `tolerance`.
inline bool SameColour(QRgb a, QRgb b, int tolerance) {
    return ChannelDistance(a, b, false) <= tolerance;
}

} // namespace lanterna::testing
