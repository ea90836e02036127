#include "slideshow/internal/scaled_pictures.h"

#include "slideshow/internal/picture_decoder.h"

#include <QThreadPool>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <memory>

namespace lanterna {

namespace {

bool NeedsScaling(const QImage& picture, QSize size) {
    return !picture.isNull() && !size.isEmpty() && picture.size() != size;
}

// A drawable bitmap (DrawableBitmap); null when the copy cannot be made.
QImage ScaledCopy(const QImage& picture, QSize size) {
    return DrawableBitmap(picture.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
}

// The coarse copy: half the width and height, each pixel the mean of the four it stands for.
QImage CoarseCopy(const QImage& picture) {
    if (picture.isNull())
        return {};
    return ScaledCopy(picture, {(picture.width() + 1) / 2, (picture.height() + 1) / 2});
}

template <typename T> bool Ready(const std::future<T>& pending) {
    return pending.wait_for(std::chrono::seconds(0)) == std::future_status::ready;
}

} // namespace

TScaledPictures::TEntry* TScaledPictures::Find(const QImage& picture, QSize size) {
    const qint64 key = picture.cacheKey();
    const auto found = std::find_if(FEntries.begin(), FEntries.end(),
                                    [&](const TEntry& e) { return e.Key == key && e.Size == size; });
    if (found == FEntries.end())
        return nullptr;
    std::rotate(FEntries.begin(), found, found + 1);
    TEntry& entry = FEntries.front();
    if (entry.Pending.valid() && Ready(entry.Pending))
        entry.Copies = entry.Pending.get();
    return &entry;
}

void TScaledPictures::Add(TEntry entry) {
    FEntries.push_front(std::move(entry));
    if (int(FEntries.size()) > FCapacity)
        FEntries.pop_back();
}

QImage TScaledPictures::Scaled(const QImage& picture, const TGPRectF& r) {
    const QSize size = DrawnSize(r);
    if (!NeedsScaling(picture, size))
        return picture;
    if (const TEntry* entry = Find(picture, size))
        return entry->Copies.Image.isNull() ? picture : entry->Copies.Image;
    QImage scaled = ScaledCopy(picture, size);
    if (scaled.isNull())
        return picture;
    Add({picture.cacheKey(), size, {scaled, {}}, {}});
    return scaled;
}

QImage TScaledPictures::Coarse(const QImage& picture, const TGPRectF& r) {
    const TEntry* entry = Find(picture, DrawnSize(r));
    return entry ? entry->Copies.Coarse : QImage();
}

void TScaledPictures::Prepare(const QImage& picture, const TGPRectF& r, bool coarse) {
    const QSize size = DrawnSize(r);
    // A picture decoded at the size it is drawn at is drawn as it is; it may still want a coarse copy.
    const bool scale = NeedsScaling(picture, size);
    if (picture.isNull() || size.isEmpty() || (!scale && !coarse))
        return;
    TEntry* entry = Find(picture, size);
    // A kept copy that failed, that is being made, whose coarse copy is there or is not asked for, needs
    // nothing more.
    if (entry && (entry->Pending.valid() || (scale && entry->Copies.Image.isNull()) ||
                  !entry->Copies.Coarse.isNull() || !coarse))
        return;
    // The copies are made by one thread of the painting library's own pool. Called from any other
    // thread, the library splits a large scaling over all of that pool's threads, which then take every
    // processor from the user-interface thread for as long as it runs (dropped frames at 4K); inside the
    // pool it is done by that one thread alone. The job has its own reference to the pixels, so the
    // picture's owner may drop or change its picture meanwhile, and the cache may go before the job is
    // done.
    auto made = std::make_shared<std::promise<TCopies>>();
    const QImage kept = entry ? entry->Copies.Image : QImage();
    if (entry) {
        entry->Pending = made->get_future();
        entry->WithCoarse = coarse;
    } else {
        Add({picture.cacheKey(), size, {}, made->get_future(), coarse});
    }
    QThreadPool::globalInstance()->start([made, picture, kept, size, scale, coarse] {
        TCopies copies{kept, {}};
        try {
            if (scale && copies.Image.isNull())
                copies.Image = ScaledCopy(picture, size);
            if (coarse)
                copies.Coarse = CoarseCopy(scale ? copies.Image : picture);
        } catch (...) {
            // No memory for a copy: what is missing is drawn from the picture, scaled on the fly.
        }
        made->set_value(std::move(copies));
    });
}

bool TScaledPictures::Preparing() const {
    return std::any_of(FEntries.begin(), FEntries.end(),
                       [](const TEntry& e) { return e.Pending.valid() && !Ready(e.Pending); });
}

bool TScaledPictures::Kept(const QImage& picture, const TGPRectF& r, bool coarse) const {
    const qint64 key = picture.cacheKey();
    const QSize size = DrawnSize(r);
    const bool scale = NeedsScaling(picture, size);
    if (!picture.isNull() && !scale && !coarse)
        return true;
    return std::any_of(FEntries.begin(), FEntries.end(), [&](const TEntry& e) {
        return e.Key == key && e.Size == size && (e.Pending.valid() || !scale || !e.Copies.Image.isNull()) &&
               (!coarse || e.WithCoarse);
    });
}

void TScaledPictures::Finish() {
    for (TEntry& entry : FEntries)
        if (entry.Pending.valid())
            entry.Pending.wait();
}

} // namespace lanterna
