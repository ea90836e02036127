#include "slideshow/scaled_pictures.h"

#include <algorithm>

namespace lanterna {

QImage TScaledPictures::Scaled(const QImage& picture, const TGPRectF& r) {
    const QSize size(int(Round(r.Width)), int(Round(r.Height)));
    if (picture.isNull() || size.isEmpty() || picture.size() == size)
        return picture;
    const qint64 key = picture.cacheKey();
    const auto found = std::find_if(FEntries.begin(), FEntries.end(),
                                    [&](const TEntry& e) { return e.Key == key && e.Size == size; });
    if (found != FEntries.end()) {
        std::rotate(FEntries.begin(), found, found + 1);
        return FEntries.front().Image;
    }
    QImage scaled = picture.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    if (scaled.isNull())
        return picture;
    if (scaled.format() != QImage::Format_ARGB32_Premultiplied)
        scaled.convertTo(QImage::Format_ARGB32_Premultiplied);
    FEntries.push_front({key, size, scaled});
    if (int(FEntries.size()) > FCapacity)
        FEntries.pop_back();
    return scaled;
}

} // namespace lanterna
