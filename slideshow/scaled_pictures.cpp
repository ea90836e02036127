#include "slideshow/scaled_pictures.h"

#include <QThreadPool>

#include <algorithm>
#include <chrono>
#include <memory>

namespace lanterna {

namespace {

QSize DrawnSize(const TGPRectF& r) {
    return {int(Round(r.Width)), int(Round(r.Height))};
}

bool NeedsScaling(const QImage& picture, QSize size) {
    return !picture.isNull() && !size.isEmpty() && picture.size() != size;
}

// Null when the copy cannot be made.
QImage ScaledCopy(const QImage& picture, QSize size) {
    QImage scaled = picture.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    if (!scaled.isNull() && scaled.format() != QImage::Format_ARGB32_Premultiplied)
        scaled.convertTo(QImage::Format_ARGB32_Premultiplied);
    return scaled;
}

bool Ready(const std::future<QImage>& pending) {
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
    return &FEntries.front();
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
    if (TEntry* entry = Find(picture, size)) {
        if (entry->Pending.valid()) {
            if (!Ready(entry->Pending))
                return picture;
            entry->Image = entry->Pending.get();
        }
        return entry->Image.isNull() ? picture : entry->Image;
    }
    QImage scaled = ScaledCopy(picture, size);
    if (scaled.isNull())
        return picture;
    Add({picture.cacheKey(), size, scaled, {}});
    return scaled;
}

void TScaledPictures::Prepare(const QImage& picture, const TGPRectF& r) {
    const QSize size = DrawnSize(r);
    if (!NeedsScaling(picture, size) || Find(picture, size))
        return;
    // The copy is made by one thread of the painting library's own pool. Called from any other thread,
    // the library splits a large scaling over all of that pool's threads, which then take every processor
    // from the user-interface thread for as long as it runs (dropped frames at 4K); inside the pool it is
    // done by that one thread alone. The job has its own reference to the pixels, so the picture's owner
    // may drop or change its picture meanwhile, and the cache may go before the job is done.
    auto made = std::make_shared<std::promise<QImage>>();
    Add({picture.cacheKey(), size, {}, made->get_future()});
    QThreadPool::globalInstance()->start([made, picture, size] {
        try {
            made->set_value(ScaledCopy(picture, size));
        } catch (...) {
            made->set_value(QImage()); // no memory for the copy: the picture is drawn scaled on the fly
        }
    });
}

bool TScaledPictures::Preparing() const {
    return std::any_of(FEntries.begin(), FEntries.end(),
                       [](const TEntry& e) { return e.Pending.valid() && !Ready(e.Pending); });
}

void TScaledPictures::Finish() {
    for (TEntry& entry : FEntries)
        if (entry.Pending.valid())
            entry.Pending.wait();
}

} // namespace lanterna
