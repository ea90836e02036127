#pragma once
// Photos as cameras store them: pixels on their side or mirrored, and an EXIF orientation tag
// that says how to turn them upright.

#include <QByteArray>
#include <QImage>

namespace lanterna::testing {

// The pixels a camera stores for the upright picture under EXIF orientation 1 .. 8, made from the
// tag's own definition (which side of the picture the stored first row and first column show).
QImage StoredForOrientation(const QImage& upright, int orientation);

// An APP1 segment ("Exif\0\0" and a TIFF block whose first directory holds only the orientation
// entry), in either byte order.
QByteArray ExifOrientationSegment(int orientation, bool bigEndian);

// A JPEG of the stored pixels (high quality) with the orientation segment right after its start.
QByteArray OrientedJpeg(const QImage& upright, int orientation, bool bigEndian);

} // namespace lanterna::testing
