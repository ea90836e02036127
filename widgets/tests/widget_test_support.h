#pragma once
// Helpers shared by the widget tests: opaque colours, the box of the letters, counting paints.

#include "drawing/gp_types.h"
#include "testing/pictures.h"

#include <QEvent>
#include <QPaintEvent>
#include <QWidget>

namespace lanterna::testing {

inline ARGB Opaque(TColor color) {
    return AlphaColor(color, 255);
}

// The bounding box of the dark pixels: black letters on light colours.
inline QRect InkBox(const QImage& shot, int darkerThan = 90) {
    QRect box;
    for (int y = 0; y < shot.height(); ++y)
        for (int x = 0; x < shot.width(); ++x)
            if (qAlpha(Px(shot, x, y)) > 0 && qGray(Px(shot, x, y)) < darkerThan)
                box |= QRect(x, y, 1, 1);
    return box;
}

// Counts the paint events a widget receives and keeps the rectangles they cover.
class PaintCounter : public QObject {
public:
    explicit PaintCounter(QWidget* widget) { widget->installEventFilter(this); }
    int count = 0;
    QRegion painted;

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint) {
            ++count;
            painted += static_cast<QPaintEvent*>(event)->region();
        }
        return false;
    }
};

} // namespace lanterna::testing
