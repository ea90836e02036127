#include "transfer/internal/transfer_clips.h"

#include <QPainter>
#include <QPainterPath>

#include <array>
#include <cmath>

namespace lanterna {

namespace {

constexpr QSize kFrameSize(272, 60);
constexpr int kLeftEnd = 36;
constexpr int kRightEnd = 236;

void DrawServer(QPainter& p, int centreX) {
    p.setPen(QPen(QColor(60, 60, 70), 1));
    for (int shelf = 0; shelf < 3; ++shelf) {
        const QRect box(centreX - 16, 12 + shelf * 12, 32, 10);
        p.setBrush(QColor(150, 160, 175));
        p.drawRect(box);
        p.setBrush(QColor(80, 220, 90));
        p.drawEllipse(QPoint(box.right() - 5, box.center().y()), 2, 2);
    }
}

void DrawFolder(QPainter& p, int centreX) {
    QPainterPath folder;
    folder.moveTo(centreX - 20, 18);
    folder.lineTo(centreX - 8, 18);
    folder.lineTo(centreX - 4, 22);
    folder.lineTo(centreX + 20, 22);
    folder.lineTo(centreX + 20, 46);
    folder.lineTo(centreX - 20, 46);
    folder.closeSubpath();
    p.setPen(QPen(QColor(140, 100, 20), 1));
    p.setBrush(QColor(240, 200, 80));
    p.drawPath(folder);
}

void DrawSheet(QPainter& p, QPointF centre) {
    const QRectF sheet(centre.x() - 7, centre.y() - 9, 14, 18);
    p.setPen(QPen(QColor(70, 70, 70), 1));
    p.setBrush(Qt::white);
    p.drawRect(sheet);
    for (int line = 0; line < 3; ++line)
        p.drawLine(QPointF(sheet.left() + 3, sheet.top() + 5 + line * 4),
                   QPointF(sheet.right() - 3, sheet.top() + 5 + line * 4));
}

TClip MakeClip(bool serverLeft, bool serverRight, int frames, int framesPerSecond) {
    TClip clip;
    clip.FramesPerSecond = framesPerSecond;
    for (int i = 0; i < frames; ++i) {
        QImage frame(kFrameSize, QImage::Format_ARGB32_Premultiplied);
        frame.fill(Qt::transparent);
        QPainter p(&frame);
        p.setRenderHint(QPainter::Antialiasing);
        serverLeft ? DrawServer(p, kLeftEnd) : DrawFolder(p, kLeftEnd);
        serverRight ? DrawServer(p, kRightEnd) : DrawFolder(p, kRightEnd);
        // The sheet flies along an arc from the left end to the right one.
        const double along = double(i) / frames;
        const double x = kLeftEnd + 24 + along * (kRightEnd - kLeftEnd - 48);
        const double y = 34 - 22 * std::sin(along * M_PI);
        DrawSheet(p, QPointF(x, y));
        clip.Frames.push_back(std::move(frame));
    }
    return clip;
}

} // namespace

const TClip& Clip(TClipKind kind) {
    static const std::array<TClip, 3> clips = {
        MakeClip(true, false, 31, 15),
        MakeClip(false, true, 26, 10),
        MakeClip(false, false, 26, 10),
    };
    return clips[kind];
}

TAnimate::TAnimate(QWidget* parent) : QWidget(parent) {
    resize(kFrameSize);
    connect(&FTimer, &QTimer::timeout, this, &TAnimate::NextFrame);
}

void TAnimate::Play(TClipKind kind) {
    FKind = kind;
    FFrame = 0;
    FActive = true;
    FTimer.setInterval(1000 / Clip(kind).FramesPerSecond);
    UpdateTimer();
    update();
}

void TAnimate::Stop() {
    FActive = false;
    UpdateTimer();
}

void TAnimate::UpdateTimer() {
    if (FActive && isVisible())
        FTimer.start();
    else
        FTimer.stop();
}

void TAnimate::NextFrame() {
    FFrame = (FFrame + 1) % int(Clip(FKind).Frames.size());
    update();
}

void TAnimate::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.drawImage(0, 0, Clip(FKind).Frames[FFrame]);
}

void TAnimate::showEvent(QShowEvent*) {
    UpdateTimer();
}

void TAnimate::hideEvent(QHideEvent*) {
    UpdateTimer();
}

} // namespace lanterna
