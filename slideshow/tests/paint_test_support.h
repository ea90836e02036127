#pragma once
// Helpers shared by the slide-show painting tests: a picture whose quadrants have distinct colours, and
// a check of a rendered canvas against a model of where each canvas point shows which picture point.

#include "testing/pictures.h"

#include <QImage>
#include <QPainter>
#include <QRectF>
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

namespace lanterna::testing {

inline constexpr QRgb kTopLeft = qRgb(220, 30, 30);
inline constexpr QRgb kTopRight = qRgb(30, 200, 30);
inline constexpr QRgb kBottomLeft = qRgb(30, 30, 220);
inline constexpr QRgb kBottomRight = qRgb(230, 210, 20);
inline constexpr QRgb kBlank = qRgb(255, 255, 255);

inline QImage Quadrants(int w, int h) {
    QImage image(w, h, QImage::Format_ARGB32_Premultiplied);
    QPainter p(&image);
    p.fillRect(0, 0, w / 2, h / 2, QColor(kTopLeft));
    p.fillRect(w / 2, 0, w - w / 2, h / 2, QColor(kTopRight));
    p.fillRect(0, h / 2, w / 2, h - h / 2, QColor(kBottomLeft));
    p.fillRect(w / 2, h / 2, w - w / 2, h - h / 2, QColor(kBottomRight));
    return image;
}

inline QImage Canvas(int w, int h, QRgb color = kBlank) {
    QImage image(w, h, QImage::Format_ARGB32_Premultiplied);
    image.fill(color);
    return image;
}

// How far a point lies inside a rectangle: positive inside, negative outside.
inline double Depth(const QRectF& r, QPointF pt) {
    return std::min({pt.x() - r.left(), r.right() - pt.x(), pt.y() - r.top(), r.bottom() - pt.y()});
}

// Where a canvas point shows the picture: how deep inside the visible area it lies and which point of
// the picture (in the picture's own pixels) it shows there.
struct Seen {
    double Depth;
    QPointF Local;
};
using Model = std::function<Seen(QPointF canvasPoint)>;

// Samples the canvas on a grid: points well inside the visible area must show the quadrant colour of the
// picture point the model names, points well outside must be blank; points near an edge are skipped.
inline ::testing::AssertionResult Shows(const QImage& canvas, QSize picture, const Model& model,
                                        double margin = 2.5, int step = 7) {
    int checked = 0;
    for (int y = step / 2; y < canvas.height(); y += step)
        for (int x = step / 2; x < canvas.width(); x += step) {
            const QPointF pt(x + 0.5, y + 0.5);
            const Seen seen = model(pt);
            const QRgb actual = canvas.pixel(x, y);
            QRgb expected;
            if (seen.Depth < -margin) {
                expected = kBlank;
            } else if (seen.Depth > margin && std::abs(seen.Local.x() - picture.width() / 2.0) > margin &&
                       std::abs(seen.Local.y() - picture.height() / 2.0) > margin) {
                const bool left = seen.Local.x() < picture.width() / 2.0;
                const bool top = seen.Local.y() < picture.height() / 2.0;
                expected = top ? (left ? kTopLeft : kTopRight) : (left ? kBottomLeft : kBottomRight);
            } else {
                continue;
            }
            ++checked;
            if (!SameColour(actual, expected, 12))
                return ::testing::AssertionFailure() << "at (" << x << ", " << y << ") 0x" << std::hex
                                                     << actual << " instead of 0x" << expected;
        }
    if (checked == 0)
        return ::testing::AssertionFailure() << "no point could be checked";
    return ::testing::AssertionSuccess() << checked << " points";
}

} // namespace lanterna::testing
