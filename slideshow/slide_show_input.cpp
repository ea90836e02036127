// Keyboard and mouse of the slide show: navigation keys, focus, the wheel and the hover over the
// current picture.
#include "slideshow/slide_show.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QToolTip>
#include <QWheelEvent>

namespace lanterna {

void TSlideShow::keyPressEvent(QKeyEvent* event) {
    QWidget::keyPressEvent(event);
    switch (event->key()) {
    case Qt::Key_End:
        SetItemIndex(FItems->Count() - 1);
        break;
    case Qt::Key_Home:
        SetItemIndex(0);
        break;
    case Qt::Key_Left:
    case Qt::Key_Up:
        Previous();
        break;
    case Qt::Key_Right:
    case Qt::Key_Down:
        Next();
        break;
    default:
        return;
    }
    event->accept();
}

void TSlideShow::mousePressEvent(QMouseEvent* event) {
    QWidget::mousePressEvent(event);
    setFocus(Qt::MouseFocusReason);
}

void TSlideShow::mouseMoveEvent(QMouseEvent* event) {
    QWidget::mouseMoveEvent(event);
    const QPointF p = event->position();
    bool over = false;
    if (ValidIndex(FCurrentItemIndex) && Selectable(FCurrentItemIndex)) {
        const TGPRectF& r = FItems->Items(FCurrentItemIndex)->FItemRect;
        over = p.x() >= r.X && p.x() <= r.X + r.Width && p.y() >= r.Y && p.y() <= r.Y + r.Height;
    }
    if (over == FShowDes)
        return;
    FShowDes = over;
    FhoveredDescription = over ? FCurrentItemIndex : -1;
    Changed();
}

void TSlideShow::wheelEvent(QWheelEvent* event) {
    if (event->modifiers() != Qt::NoModifier) {
        QWidget::wheelEvent(event);
        return;
    }
    ScrollTo(FScrollPos - event->angleDelta().y());
    CalculateRects();
    update();
    event->accept();
}

void TSlideShow::leaveEvent(QEvent* event) {
    QWidget::leaveEvent(event);
    FShowDes = false;
    QToolTip::hideText();
    Changed();
}

void TSlideShow::focusOutEvent(QFocusEvent* event) {
    QWidget::focusOutEvent(event);
    QToolTip::hideText();
}

} // namespace lanterna
