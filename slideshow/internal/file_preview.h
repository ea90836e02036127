#pragma once
// A preview picture of any file: the file itself when it is a picture, else the desktop's
// thumbnail cache.

#include <QImage>
#include <QString>

namespace lanterna {

// A preview of at most width x height pixels, or a null image with `error` set.
QImage GetFileThumbnail(const QString& fileName, int width, int height, QString& error);

} // namespace lanterna
