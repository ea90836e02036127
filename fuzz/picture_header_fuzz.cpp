// Any bytes as the start of a picture file: the probes answer a size or 0 x 0, never more than the
// bytes can back, and never crash or read past the end.
#include "drawing/image_probe.h"
#include "slideshow/internal/picture_decoder.h"

#include <QBuffer>
#include <QGuiApplication>
#include <QImageReader>

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    static int argc = 1;
    static char name[] = "picture_header_fuzz";
    static char* argv[] = {name, nullptr};
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static QGuiApplication app(argc, argv);
    QImageReader::setAllocationLimit(int(lanterna::TGPImage::kMaxDecodeBytes >> 20));
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    for (const char* ext : {".jpg", ".png", ".bmp", ".tif", ".gif", ".txt"}) {
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::ReadOnly);
        const QSize probed = lanterna::ProbeImageSize(buffer, QString::fromLatin1(ext));
        if (probed.width() < 0 || probed.height() < 0)
            std::abort();
    }
    QBuffer whole(&bytes);
    whole.open(QIODevice::ReadOnly);
    if (const int orientation = lanterna::ProbeOrientation(whole); orientation < 1 || orientation > 8)
        std::abort();
    const QSize decoded = lanterna::PictureSize(bytes);
    if (!decoded.isEmpty() &&
        qint64(decoded.width()) * decoded.height() * 4 > lanterna::kLargestDecodableBytes)
        std::abort();
    return 0;
}
