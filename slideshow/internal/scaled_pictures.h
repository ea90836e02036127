#pragma once
// Pictures scaled smoothly to the size they are drawn at and kept while they are drawn at that size
// again, so that each frame of a slide change copies pixels instead of resampling a large picture. A copy
// can be made ahead on a worker thread, so that the first frame of a slide change does not wait for it;
// the cache may be cleared or destroyed while copies are still being made. A copy made ahead may come
// with a coarse one at half its size, for the frames in which a picture turns too fast for its detail
// to be seen. Copies are premultiplied, or RGB32 when every pixel of the picture is opaque.

#include "platform/types.h"

#include <QImage>

#include <deque>
#include <future>

namespace lanterna {

class TScaledPictures {
public:
    explicit TScaledPictures(int capacity = 3) : FCapacity(capacity) {}
    Q_DISABLE_COPY_MOVE(TScaledPictures)

    // The picture scaled to r's size rounded to whole pixels. The picture itself when it has that size
    // already, when a side rounds to nothing, when the scaled copy cannot be made, or while the copy is
    // being made ahead (the picture is then drawn scaled on the fly). A copy that was not asked for ahead
    // is made at once.
    QImage Scaled(const QImage& picture, const TGPRectF& r);
    // The coarse copy of the picture scaled to r's size: half its width and height, rounded up. Null
    // unless it was made ahead and is done.
    QImage Coarse(const QImage& picture, const TGPRectF& r);
    // Starts making the copy Scaled will hand out for picture and r on a worker thread, with its coarse
    // copy when `coarse`, unless what is asked for is kept. For a copy kept without its coarse one, and
    // for a picture that has r's size already, only the coarse copy is made.
    void Prepare(const QImage& picture, const TGPRectF& r, bool coarse = true);
    // Whether a copy is still being made.
    bool Preparing() const;
    // Whether the picture is ready to be drawn into r: it has r's size, or its copy is kept or being
    // made; with its coarse copy kept or being made when `coarse`.
    bool Kept(const QImage& picture, const TGPRectF& r, bool coarse = false) const;
    // Waits until every copy being made is done.
    void Finish();
    void Clear() { FEntries.clear(); }

private:
    struct TCopies {
        QImage Image;
        QImage Coarse;
    };
    struct TEntry {
        qint64 Key;
        QSize Size;
        TCopies Copies;
        std::future<TCopies> Pending; // valid while copies are being made
        bool WithCoarse = false;      // the coarse copy is made or being made
    };
    // The entry for picture at size, moved to the front, with the copies made ahead taken in once they
    // are done; null when there is none.
    TEntry* Find(const QImage& picture, QSize size);
    void Add(TEntry entry);
    std::deque<TEntry> FEntries; // most recently used first
    int FCapacity;
};

} // namespace lanterna
