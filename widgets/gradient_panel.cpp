#include "widgets/gradient_panel.h"

#include <QPainter>

namespace lanterna {

TGradientPanel::TGradientPanel(QWidget* parent) : QWidget(parent), FFill(std::make_unique<TFill>()) {
    // Around the rounded corners and the shadow the parent shows through.
    setAttribute(Qt::WA_NoSystemBackground);
    FFill->OnChange = [this](TPersistent*) { Invalidate(); };
}

TGradientPanel::~TGradientPanel() = default;

void TGradientPanel::Invalidate() {
    FCache = QImage();
    update();
}

void TGradientPanel::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    Invalidate();
}

void TGradientPanel::paintEvent(QPaintEvent*) {
    if (width() <= 0 || height() <= 0)
        return;
    const qreal ratio = devicePixelRatioF();
    if (FCache.isNull()) {
        FCache = QImage((QSizeF(size()) * ratio).toSize(), QImage::Format_ARGB32_Premultiplied);
        FCache.setDevicePixelRatio(ratio);
        FCache.fill(Qt::transparent);
        TGPGraphics graphics(FCache);
        graphics.SetSmoothingMode(SmoothingModeAntiAlias);
        // Half-pixel edges put a one-pixel border on whole pixels.
        FFill->Fill(graphics, {0.5f, 0.5f, float(width() - 1), float(height() - 1)});
    }
    QPainter(this).drawImage(0, 0, FCache);
}

} // namespace lanterna
