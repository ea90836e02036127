#include "drawing/graphic.h"

#include <QBuffer>
#include <QFile>
#include <QImageReader>
#include <QImageWriter>
#include <QPainter>

namespace lanterna {

void TGraphic::LoadFromFile(const QString& fileName) {
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        throw EInOutError(QStringLiteral("Cannot open file \"%1\". %2").arg(fileName, file.errorString()));
    LoadFromStream(&file);
}

void TGraphic::SetTransparent(bool value) {
    if (FTransparent == value)
        return;
    FTransparent = value;
    Changed();
}

void TBitmap::Draw(QPainter& canvas, const TRect& rect) {
    if (FImage.isNull())
        return;
    QImage shown = FImage;
    if (Transparent()) {
        // The bottom-left pixel's colour is the transparent one.
        shown = FImage.convertToFormat(QImage::Format_ARGB32);
        const QRgb key = shown.pixel(0, shown.height() - 1) & 0xFFFFFF;
        for (int y = 0; y < shown.height(); ++y) {
            auto* line = reinterpret_cast<QRgb*>(shown.scanLine(y));
            for (int x = 0; x < shown.width(); ++x)
                if ((line[x] & 0xFFFFFF) == key)
                    line[x] = 0;
        }
    }
    canvas.drawImage(QRect(rect.Left, rect.Top, rect.Width(), rect.Height()), shown);
}

void TBitmap::LoadFromStream(QIODevice* stream) {
    if (!stream)
        return;
    QImageReader reader(stream, "bmp");
    SetImage(reader.read());
}

void TBitmap::SaveToStream(QIODevice* stream) const {
    if (!stream || FImage.isNull())
        return;
    QImageWriter writer(stream, "bmp");
    writer.write(FImage);
}

void TBitmap::Assign(const TPersistent* source) {
    if (const auto* bitmap = dynamic_cast<const TBitmap*>(source))
        SetImage(bitmap->FImage);
}

void TBitmap::SetImage(QImage image) {
    FImage = std::move(image);
    Changed();
}

} // namespace lanterna
