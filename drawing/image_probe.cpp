#include "drawing/image_probe.h"

#include "platform/file_read.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cstdlib>

namespace lanterna {

namespace {

// Reads the first bytes of a picture for the header probes; reads past the end report failure.
class THeaderReader {
public:
    explicit THeaderReader(QIODevice& file) : FFile(file) {}
    bool Byte(int& b) {
        char c;
        if (FFile.read(&c, 1) != 1)
            return false;
        b = std::uint8_t(c);
        return true;
    }
    bool Skip(qint64 n) {
        if (n < 0)
            return false;
        return FFile.seek(FFile.pos() + n) && FFile.pos() <= FFile.size();
    }
    bool Seek(qint64 pos) { return pos >= 0 && pos <= FFile.size() && FFile.seek(pos); }
    bool Be16(int& v) {
        int hi, lo;
        if (!Byte(hi) || !Byte(lo))
            return false;
        v = hi << 8 | lo;
        return true;
    }
    bool Le16(int& v) {
        int lo, hi;
        if (!Byte(lo) || !Byte(hi))
            return false;
        v = hi << 8 | lo;
        return true;
    }
    bool Le32(std::uint32_t& v) {
        int lo, hi;
        if (!Le16(lo) || !Le16(hi))
            return false;
        v = std::uint32_t(hi) << 16 | std::uint32_t(lo);
        return true;
    }
    bool U16(bool bigEndian, int& v) { return bigEndian ? Be16(v) : Le16(v); }
    bool U32(bool bigEndian, std::uint32_t& v) {
        int first, second;
        if (!U16(bigEndian, first) || !U16(bigEndian, second))
            return false;
        v = bigEndian ? std::uint32_t(first) << 16 | std::uint32_t(second)
                      : std::uint32_t(second) << 16 | std::uint32_t(first);
        return true;
    }
    QByteArray Read(qint64 n) { return FFile.read(n); }
    bool Starts(const char* signature, int length) {
        const QByteArray head = FFile.read(length);
        return head.size() == length && std::equal(head.begin(), head.end(), signature);
    }

private:
    QIODevice& FFile;
};

QSize ProbeJpeg(THeaderReader& in) {
    if (!in.Starts("\xFF\xD8", 2))
        return {};
    int b;
    if (!in.Byte(b))
        return {};
    while (b == 0xFF) {
        int m;
        if (!in.Byte(m))
            return {};
        // Markers without a segment (fill bytes, TEM, RSTn) are followed directly by another marker byte.
        while (m == 0xFF || m == 0x01 || (m >= 0xD0 && m <= 0xD7))
            if (!in.Byte(m))
                return {};
        if (m == 0xC0 || m == 0xC1 || m == 0xC2) {
            int height, width;
            if (!in.Skip(3) || !in.Be16(height) || !in.Be16(width))
                return {};
            return QSize(width, height);
        }
        int length;
        if (!in.Be16(length) || !in.Skip(length - 2) || !in.Byte(b))
            return {};
    }
    return {};
}

QSize ProbePng(THeaderReader& in) {
    int width, height;
    if (!in.Starts("\x89PNG\r\n\x1A\n", 8) || !in.Seek(18) || !in.Be16(width) || !in.Seek(22) ||
        !in.Be16(height))
        return {};
    return QSize(width, height);
}

QSize ProbeBmp(THeaderReader& in) {
    std::uint32_t values[6];
    if (!in.Starts("BM", 2))
        return {};
    for (std::uint32_t& v : values)
        if (!in.Le32(v))
            return {};
    return QSize(int(values[4] & 0xFFFF), int(values[5] & 0xFFFF));
}

QSize ProbeTiff(THeaderReader& in) {
    std::uint32_t directory;
    // Only little-endian files are read.
    if (!in.Starts("II*\0", 4) || !in.Le32(directory) || !in.Seek(directory))
        return {};
    int count;
    if (!in.Le16(count))
        return {};
    int width = -1, height = -1;
    for (int i = 0; i < count && (width < 0 || height < 0); ++i) {
        int tag, type;
        std::uint32_t n, value;
        if (!in.Le16(tag) || !in.Le16(type) || !in.Le32(n) || !in.Le32(value))
            return {};
        const int magnitude = int(std::min<std::int64_t>(std::llabs(std::int32_t(value)), 0x7FFFFFFF));
        if (tag == 256)
            width = magnitude;
        else if (tag == 257)
            height = magnitude;
    }
    if (width < 0 || height < 0)
        return {};
    return QSize(width, height);
}

QSize ProbeGif(THeaderReader& in) {
    int screenWidth, screenHeight, flags, ignored;
    if (!in.Starts("GIF", 3) || !in.Skip(3) || !in.Le16(screenWidth) || !in.Le16(screenHeight) ||
        !in.Byte(flags) || !in.Skip(2))
        return {};
    if ((flags & 0x80) && !in.Skip(3 * (qint64(1) << ((flags & 7) + 1))))
        return {};
    int b;
    do {
        if (!in.Byte(b))
            return {};
    } while (b != 0x2C);
    int left, top, width, height;
    if (!in.Le16(left) || !in.Le16(top) || !in.Le16(width) || !in.Le16(height) || !in.Byte(ignored))
        return {};
    return QSize(width, height);
}

constexpr int kOrientationTag = 0x0112;
constexpr int kShortType = 3;
// More directory entries than any camera writes: a corrupt count ends the search early.
constexpr int kMostDirectoryEntries = 1000;

// The orientation entry of the first directory of a TIFF structure that starts at the device's
// start (a TIFF file, or the block after "Exif\0\0" in a JPEG).
int TiffOrientation(THeaderReader& in) {
    int order0, order1, magic;
    std::uint32_t directory;
    if (!in.Seek(0) || !in.Byte(order0) || !in.Byte(order1) || order0 != order1 ||
        (order0 != 'I' && order0 != 'M'))
        return 1;
    const bool bigEndian = order0 == 'M';
    int count;
    if (!in.U16(bigEndian, magic) || magic != 42 || !in.U32(bigEndian, directory) || !in.Seek(directory) ||
        !in.U16(bigEndian, count))
        return 1;
    for (int i = 0; i < std::min(count, kMostDirectoryEntries); ++i) {
        int tag, type, value;
        std::uint32_t n, rest;
        if (!in.U16(bigEndian, tag) || !in.U16(bigEndian, type) || !in.U32(bigEndian, n))
            return 1;
        if (tag != kOrientationTag) {
            if (!in.U32(bigEndian, rest))
                return 1;
            continue;
        }
        // A short value sits in the first two bytes of the entry's value field.
        if (type != kShortType || n != 1 || !in.U16(bigEndian, value))
            return 1;
        return value >= 1 && value <= 8 ? value : 1;
    }
    return 1;
}

// The orientation in a JPEG's Exif APP1 segment; the search ends at the first frame or scan header,
// which come after it.
int JpegOrientation(THeaderReader& in) {
    if (!in.Starts("\xFF\xD8", 2))
        return 1;
    for (;;) {
        int b, m, length;
        if (!in.Byte(b) || b != 0xFF || !in.Byte(m))
            return 1;
        while (m == 0xFF)
            if (!in.Byte(m))
                return 1;
        if (m == 0x01 || (m >= 0xD0 && m <= 0xD7))
            continue;
        if ((m >= 0xC0 && m <= 0xCF && m != 0xC4 && m != 0xC8 && m != 0xCC) || m == 0xDA || m == 0xD9 ||
            !in.Be16(length) || length < 2)
            return 1;
        if (m == 0xE1) {
            // The segment is at most 64 KiB: it is read whole and its TIFF block parsed on its own.
            QByteArray segment = in.Read(length - 2);
            if (segment.size() != length - 2)
                return 1;
            if (!segment.startsWith(QByteArray("Exif\0\0", 6)))
                continue;
            segment.remove(0, 6);
            QBuffer block(&segment);
            block.open(QIODevice::ReadOnly);
            THeaderReader exif(block);
            return TiffOrientation(exif);
        }
        if (!in.Skip(length - 2))
            return 1;
    }
}

} // namespace

int ProbeOrientation(QIODevice& device) {
    if (!device.seek(0))
        return 1;
    THeaderReader in(device);
    const QByteArray head = device.peek(4);
    if (head.startsWith("\xFF\xD8"))
        return JpegOrientation(in);
    if (head == QByteArray("II*\0", 4) || head == QByteArray("MM\0*", 4))
        return TiffOrientation(in);
    return 1;
}

QSize ProbeImageSize(QIODevice& device, const QString& extension) {
    const QString ext = extension.toUpper();
    THeaderReader in(device);
    QSize size;
    if (ext == QLatin1String(".JPG") || ext == QLatin1String(".JPEG"))
        size = ProbeJpeg(in);
    else if (ext == QLatin1String(".PNG"))
        size = ProbePng(in);
    else if (ext == QLatin1String(".BMP"))
        size = ProbeBmp(in);
    else if (ext == QLatin1String(".TIFF") || ext == QLatin1String(".TIF"))
        size = ProbeTiff(in);
    else if (ext == QLatin1String(".GIF"))
        size = ProbeGif(in);
    return size.isValid() ? size : QSize(0, 0);
}

QSize ProbeImageSize(const QString& fileName) {
    TRegularFile file;
    if (!file.Open(fileName))
        return QSize(0, 0);
    return ProbeImageSize(file.File(), QLatin1Char('.') + QFileInfo(fileName).suffix());
}

} // namespace lanterna
