#pragma once
// The borderless, stay-on-top window that holds the slide show while it is full screen, and
// remembers where the control was so that it can be put back exactly.

#include <QPointer>
#include <QRect>
#include <QWidget>

#include <functional>

namespace lanterna {

class TFullScreenForm final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TFullScreenForm)

public:
    // Takes `control` out of its place (parent, layout slot, geometry) and fills the form with it.
    explicit TFullScreenForm(QWidget* control);
    // Gives the control back if it is still here, so that freeing the form never frees the control.
    ~TFullScreenForm() override;
    // Puts the control back where it was taken from.
    void RestoreControl();

    // Escape pressed in the form (key preview).
    std::function<void()> OnEscape;
    // The form was closed.
    std::function<void()> OnClose;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    const QPointer<QWidget> FControl;
    QPointer<QWidget> FControlParent;
    QRect FControlGeometry;
    bool FControlVisible;
    // Stands in the parent's layout while the control is away, so that it returns to its slot.
    QPointer<QWidget> FLayoutStandIn;
};

} // namespace lanterna
