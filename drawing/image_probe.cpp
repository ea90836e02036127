#include "drawing/image_probe.h"

#include "platform/file_read.h"

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

} // namespace

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
    QFile file;
    if (!OpenRegularFile(file, fileName))
        return QSize(0, 0);
    return ProbeImageSize(file, QLatin1Char('.') + QFileInfo(fileName).suffix());
}

} // namespace lanterna
