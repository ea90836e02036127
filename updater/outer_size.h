#pragma once
// Keeps a top-level window at an outer size, its frame included. A window manager frames a window
// only after it is shown, and reports the frame's size by a property of the window that may come
// later still; so the client size is worked out again when the window is shown, moved or resized and
// when a property of its X window changes, and set when it no longer fits.

#include <QAbstractNativeEventFilter>
#include <QObject>
#include <QSize>

class QWidget;

namespace updater {

class TOuterSize final : public QObject, public QAbstractNativeEventFilter {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TOuterSize)

public:
    // Watches `window`, which owns this object.
    explicit TOuterSize(QWidget* window);
    ~TOuterSize() override;

    // A side of 0 keeps the window's client size on that side. A window of fixed size stays fixed.
    void SetOuterSize(QSize outer);
    QSize OuterSize() const { return FOuter; }

    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Apply();

    QWidget* FWindow;
    QSize FOuter;
};

} // namespace updater
