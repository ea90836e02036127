#pragma once
// Pictures scaled smoothly to the size they are drawn at and kept while they are drawn at that size
// again, so that each frame of a slide change copies pixels instead of resampling a large picture.

#include "platform/types.h"

#include <QImage>

#include <deque>

namespace lanterna {

class TScaledPictures {
public:
    explicit TScaledPictures(int capacity = 3) : FCapacity(capacity) {}

    // The picture scaled to r's size rounded to whole pixels. The picture itself when it has that size
    // already, when a side rounds to nothing, or when the scaled copy cannot be made.
    QImage Scaled(const QImage& picture, const TGPRectF& r);
    void Clear() { FEntries.clear(); }

private:
    struct TEntry {
        qint64 Key;
        QSize Size;
        QImage Image;
    };
    std::deque<TEntry> FEntries; // most recently used first
    int FCapacity;
};

} // namespace lanterna
