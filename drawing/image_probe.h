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

// How the stored pixels must be turned to stand upright, as the EXIF orientation tag of a JPEG's
// APP1 segment or of a TIFF's first directory says: 1 as stored, 2 mirrored left to right, 3 turned
// by 180 degrees, 4 mirrored top to bottom, 5 mirrored along the main diagonal, 6 turned 90 degrees
// clockwise, 7 mirrored along the other diagonal, 8 turned 90 degrees anticlockwise. 1 when the
// header carries no valid tag. Reads only the header segments, from the device's start.
int ProbeOrientation(QIODevice& device);
// Orientations 5 to 8 stand the picture on its side: its upright width is its stored height.
inline bool OrientationSwapsSides(int orientation) {
    return orientation >= 5 && orientation <= 8;
}

} // namespace lanterna
