#include "slideshow/scaled_pictures.h"

#include <algorithm>
#include <chrono>
#include <system_error>

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
    try {
        // The worker has its own reference to the pixels; the picture's owner may drop or change its
        // picture meanwhile without touching them.
        Add({picture.cacheKey(), size, {}, std::async(std::launch::async, [picture, size] {
                 return ScaledCopy(picture, size);
             })});
    } catch (const std::system_error&) {
        // No thread to be had: Scaled makes the copy when it is needed.
    }
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
