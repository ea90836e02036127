#pragma once
// The size that the start of an image file declares, read the way each extension's header is laid
// out (".JPG", ".JPEG", ".PNG", ".BMP", ".TIF", ".TIFF", ".GIF"); 0 x 0 when the file does not start
// with the signature, the header gives no size, or the extension is another.

#include <QIODevice>
#include <QSize>
#include <QString>

namespace lanterna {

// From the device's current position; `extension` with its dot, in any letter case.
QSize ProbeImageSize(QIODevice& device, const QString& extension);
// From a regular file (nothing else is opened, so a FIFO never blocks).
QSize ProbeImageSize(const QString& fileName);

} // namespace lanterna
