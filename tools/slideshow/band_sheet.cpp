#include "tools/slideshow/band_sheet.h"

#include "slideshow/slide_show.h"
#include "tools/slideshow/sheet_slides.h"

#include <QCoreApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QTemporaryDir>

namespace lanterna {
namespace {

void Mouse(TSlideShow& show, QEvent::Type type, const TGPRectF& handle) {
    const QPointF p(handle.X + handle.Width / 2, handle.Y + handle.Height / 2);
    const bool press = type == QEvent::MouseButtonPress;
    QMouseEvent event(type, p, show.mapToGlobal(p), press ? Qt::LeftButton : Qt::NoButton,
                      press ? Qt::LeftButton : Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&show, &event);
}

QImage Band(const QStringList& files, TThumbNailPosition position, int w, int h, int selected) {
    TSlideShow show;
    show.resize(w, h);
    show.SetRotation(false);
    show.SetAnimation(false);
    show.SetThumbNailPosition(position);
    show.show();
    if (!LoadSlides(show, files))
        return {};
    show.SetItemIndex(selected);
    if (!Settle(show))
        return {};
    show.ScrollTo(show.MaxScrollPos() / 2);
    const bool horizontal = Horizontal(position);
    Mouse(show, QEvent::MouseMove, show.Band().HandleRect(horizontal ? hsLeft : hsTop));
    Mouse(show, QEvent::MouseButtonPress, show.Band().HandleRect(horizontal ? hsRight : hsBottom));
    return show.grab().toImage();
}

} // namespace

QImage BandSheet() {
    QTemporaryDir folder;
    QStringList files;
    for (int i = 0; i < 10; ++i) {
        files << folder.filePath(QStringLiteral("%1.png").arg(i));
        Picture(i % 2 ? 300 : 400, 300, QColor::fromHsv(i * 36, 160, 220), QString::number(i))
            .save(files.back());
    }
    const QImage across = Band(files, tpBottom, 720, 420, 4);
    const QImage down = Band(files, tpLeft, 480, 620, 4);
    if (across.isNull() || down.isNull())
        return {};
    QImage sheet(across.width() + down.width() + 10, std::max(across.height(), down.height()),
                 QImage::Format_RGB32);
    sheet.fill(Qt::white);
    QPainter p(&sheet);
    p.drawImage(0, 0, across);
    p.drawImage(across.width() + 10, 0, down);
    return sheet;
}

} // namespace lanterna
