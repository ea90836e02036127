// Keyboard and mouse of the slide show: navigation keys, focus, the wheel, the hover over the current
// picture, and the thumbnail band's clicks, hover and hints.
#include "slideshow/slide_show.h"

#include <QHelpEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QToolTip>
#include <QWheelEvent>

namespace lanterna {

namespace {

bool IsArrow(int key) {
    return key == Qt::Key_Left || key == Qt::Key_Right || key == Qt::Key_Up || key == Qt::Key_Down;
}

bool IsTab(int key) {
    return key == Qt::Key_Tab || key == Qt::Key_Backtab;
}

} // namespace

void TSlideShow::SetTabStop(bool value) {
    FTabStop = value;
    // Off, the control is still focused by a click but no longer reached with Tab.
    setFocusPolicy(value ? Qt::StrongFocus : Qt::ClickFocus);
}

bool TSlideShow::event(QEvent* event) {
    if (event->type() == QEvent::ToolTip) {
        const auto* help = static_cast<QHelpEvent*>(event);
        if (const QString hint = ThumbnailHint(help->pos().x(), help->pos().y()); hint.isEmpty())
            QToolTip::hideText();
        else
            QToolTip::showText(help->globalPos(), hint, this);
        return true;
    }
    // Qt would move the focus on with Tab before the key handler saw it, and would hand an unused
    // Tab on to the window, which moves the focus too.
    if (event->type() == QEvent::KeyPress && FTabStop) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (IsTab(key->key())) {
            keyPressEvent(key);
            key->accept();
            return true;
        }
    }
    return QWidget::event(event);
}

void TSlideShow::keyPressEvent(QKeyEvent* event) {
    QWidget::keyPressEvent(event);
    if (!FTabStop && IsArrow(event->key())) {
        event->ignore();
        return;
    }
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
    FBand.PressHandles(event->position());
}

void TSlideShow::mouseMoveEvent(QMouseEvent* event) {
    QWidget::mouseMoveEvent(event);
    const QPointF p = event->position();
    if (FBand.HoverHandles(p)) {
        unsetCursor();
        return;
    }
    if (const int thumbnail = FBand.ItemAt(p.x(), p.y()); thumbnail < 0) {
        unsetCursor();
    } else {
        // The hand comes back also when the mouse returns to the thumbnail it left last.
        setCursor(Qt::PointingHandCursor);
        if (FBand.SetHoveredItem(thumbnail)) {
            QToolTip::hideText();
            Changed();
        }
    }
    bool over = false;
    const int current = FTransition.CurrentItemIndex();
    if (ValidIndex(current) && Selectable(current))
        over = Contains(FItems->Items(current)->ItemRect(), p.x(), p.y());
    if (over == FShowDes)
        return;
    FShowDes = over;
    FhoveredDescription = over ? current : -1;
    Changed();
}

void TSlideShow::mouseReleaseEvent(QMouseEvent* event) {
    QWidget::mouseReleaseEvent(event);
    if (FBand.ReleaseHandles())
        return;
    const int index = FBand.ItemAt(event->position().x(), event->position().y());
    if (index < 0)
        return;
    SetItemIndex(index);
    if (OnThumbClick)
        OnThumbClick(this, FItemIndex);
}

// Qt's own double-click handling runs the press first, as a second press of the handles.
void TSlideShow::mouseDoubleClickEvent(QMouseEvent* event) {
    QWidget::mouseDoubleClickEvent(event);
    const int index = FBand.ItemAt(event->position().x(), event->position().y());
    if (index >= 0 && OnThumbDblClick)
        OnThumbDblClick(this, index);
}

void TSlideShow::wheelEvent(QWheelEvent* event) {
    if (event->modifiers() != Qt::NoModifier) {
        QWidget::wheelEvent(event);
        return;
    }
    // One notch is 120 pixels of the band; ScrollTo lays out and repaints the band.
    ScrollTo(FBand.ScrollPos() - event->angleDelta().y());
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
