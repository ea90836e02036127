#include "slideshow/internal/full_screen_form.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QLayout>
#include <QVBoxLayout>

namespace lanterna {

TFullScreenForm::TFullScreenForm(QWidget* control)
    : QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint), FControl(control),
      FControlParent(control->parentWidget()), FControlGeometry(control->geometry()),
      FControlVisible(control->isVisibleTo(control->parentWidget())) {
    if (FControlParent && FControlParent->layout()) {
        auto* standIn = new QWidget(FControlParent);
        standIn->hide();
        if (QLayoutItem* replaced =
                FControlParent->layout()->replaceWidget(control, standIn, Qt::FindDirectChildrenOnly)) {
            delete replaced;
            FLayoutStandIn = standIn;
        } else {
            delete standIn;
        }
    }
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(control);
    control->show();
    // Key preview: the form sees the keys before the control does.
    control->installEventFilter(this);
    installEventFilter(this);
}

TFullScreenForm::~TFullScreenForm() {
    if (FControl && FControl->parentWidget() == this)
        RestoreControl();
}

void TFullScreenForm::RestoreControl() {
    FControl->removeEventFilter(this);
    layout()->removeWidget(FControl);
    FControl->setParent(FControlParent);
    if (FLayoutStandIn && FControlParent && FControlParent->layout()) {
        delete FControlParent->layout()->replaceWidget(FLayoutStandIn, FControl, Qt::FindDirectChildrenOnly);
        delete FLayoutStandIn;
    }
    FControl->setGeometry(FControlGeometry);
    FControl->setVisible(FControlVisible);
}

bool TFullScreenForm::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape &&
        OnEscape) {
        OnEscape();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void TFullScreenForm::closeEvent(QCloseEvent* event) {
    QWidget::closeEvent(event);
    if (OnClose)
        OnClose();
}

} // namespace lanterna
