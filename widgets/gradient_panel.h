#pragma once
// A panel painted with a fill (gradient body, mirrored lower half, rounded border, shadow) that other
// controls sit on. The fill is painted once into a bitmap per size or change of the fill, so that the
// controls on the panel repaint without painting the fill again.

#include "drawing/fill.h"

#include <QImage>
#include <QWidget>

#include <memory>

namespace lanterna {

class TGradientPanel : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TGradientPanel)

public:
    explicit TGradientPanel(QWidget* parent = nullptr);
    ~TGradientPanel() override;

    TFill& Fill() { return *FFill; }
    const TFill& Fill() const { return *FFill; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void Invalidate();

    std::unique_ptr<TFill> FFill;
    QImage FCache; // the painted fill; null when it must be painted again
};

} // namespace lanterna
