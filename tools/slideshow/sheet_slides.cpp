#include "tools/slideshow/sheet_slides.h"

#include "slideshow/slide_show.h"
#include "testing/application.h"

#include <QCoreApplication>
#include <QPainter>

namespace lanterna {

QImage Picture(int w, int h, QColor tint, const QString& label) {
    QImage image(w, h, QImage::Format_ARGB32_Premultiplied);
    QPainter p(&image);
    const QColor quads[] = {tint.lighter(130), tint, tint.darker(130), tint.darker(170)};
    for (int i = 0; i < 4; ++i)
        p.fillRect(QRectF((i % 2) * w / 2.0, (i / 2) * h / 2.0, w / 2.0, h / 2.0), quads[i]);
    p.setPen(Qt::white);
    QFont font = p.font();
    font.setPixelSize(h * 2 / 3);
    font.setBold(true);
    p.setFont(font);
    p.drawText(QRect(0, 0, w, h), Qt::AlignCenter, label);
    return image;
}

bool LoadSlides(TSlideShow& show, const QStringList& files) {
    show.BeginUpdate();
    for (const QString& file : files)
        show.Items()->Add()->SetLocation(file);
    show.EndUpdate();
    return Settle(show);
}

bool Settle(const TSlideShow& show) {
    return testing::WaitFor([&] { return !show.Loading(); }, 300000);
}

} // namespace lanterna
