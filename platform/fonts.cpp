#include "platform/fonts.h"

#include <QDir>
#include <QFontDatabase>
#include <QFontMetrics>

namespace lanterna {

void RegisterFonts() {
    static bool done = false;
    if (done)
        return;
    done = true;
    // Wine's bold Tahoma renders with regular stroke weight here; without it the bold is synthesised
    // from the regular face, which reads as bold.
    const QDir wineFonts(QStringLiteral("/usr/share/wine/fonts"));
    for (const char* file : {"tahoma.ttf", "ms_sans_serif.ttf"}) {
        QString path = wineFonts.filePath(QString::fromLatin1(file));
        if (QFile::exists(path))
            QFontDatabase::addApplicationFont(path);
    }
}

QFont MakeQFont(const QString& family, int pixelHeight, bool bold) {
    QFont font(QFontDatabase::hasFamily(family) ? family : QStringLiteral("Arial"));
    font.setPixelSize(std::max(1, pixelHeight));
    font.setBold(bold);
    // A face that comes in fixed sizes only (Wine's MS Sans Serif) stays at its own size when asked for a
    // much larger one: a scalable face of the same kind reads better than text a size too small.
    if (QFontMetrics(font).height() * 4 < pixelHeight * 3)
        font.setFamily(QStringLiteral("Arial"));
    return font;
}

} // namespace lanterna
