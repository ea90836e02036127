#include "widgets/reflection_label.h"

#include "drawing/reflection_image.h"
#include "platform/windows.h"

#include <QAbstractTextDocumentLayout>
#include <QMouseEvent>
#include <QPainter>
#include <QTextDocument>

#include <cmath>

namespace lanterna {

TReflectionLabel::TReflectionLabel(QWidget* parent) : QWidget(parent) {
    resize(217, 41);
    setAttribute(Qt::WA_NoSystemBackground);
}

TReflectionLabel::~TReflectionLabel() = default;

void TReflectionLabel::SetHTMLText(const QString& value) {
    const QString text = value.left(kMaxTextLength);
    if (text == FHTMLText)
        return;
    FHTMLText = text;
    Invalidate();
}

void TReflectionLabel::SetFontColor(TColor value) {
    if (value == FFontColor)
        return;
    FFontColor = value;
    Invalidate();
}

void TReflectionLabel::SetReflectionSize(int value) {
    if (value < 0 || value == FReflectionSize)
        return;
    FReflectionSize = value;
    Invalidate();
}

void TReflectionLabel::SetReflectionOpacity(int value) {
    if (value < 0 || value > 255 || value == FReflectionOpacity)
        return;
    FReflectionOpacity = value;
    Invalidate();
}

int TReflectionLabel::TextHeight() {
    if (FCache.size() != size())
        Build();
    return FTextHeight;
}

void TReflectionLabel::Invalidate() {
    FCache = QImage();
    update();
}

void TReflectionLabel::Build() {
    FTextHeight = 0;
    const int w = width(), h = height();
    if (w <= 0 || h <= 0)
        return;
    QTextDocument document;
    document.setDocumentMargin(0);
    document.setDefaultFont(font());
    document.setTextWidth(w);
    document.setHtml(FHTMLText);
    FTextHeight = std::min(h, int(std::ceil(document.size().height())));

    FCache = QImage(w, h, QImage::Format_ARGB32_Premultiplied);
    if (FCache.isNull())
        return;
    FCache.fill(Qt::transparent);
    if (FTextHeight <= 0)
        return;
    QImage text(w, FTextHeight, QImage::Format_ARGB32_Premultiplied);
    if (text.isNull())
        return;
    text.fill(Qt::transparent);
    {
        QPainter p(&text);
        QAbstractTextDocumentLayout::PaintContext context;
        context.palette.setColor(QPalette::Text, QColor::fromRgb(AlphaColor(FFontColor, 255)));
        document.documentLayout()->draw(&p, context);
    }
    QPainter p(&FCache);
    p.drawImage(0, 0, text);
    if (FReflectionSize > 0 && FTextHeight < h) {
        const QImage reflection = MakeReflection(text, FReflectionOpacity, 0, FReflectionSize);
        if (!reflection.isNull())
            p.drawImage(0, FTextHeight, reflection);
    }
}

void TReflectionLabel::paintEvent(QPaintEvent*) {
    // A hidden label learns of a new size only when it is shown or painted.
    if (FCache.size() != size())
        Build();
    if (!FCache.isNull())
        QPainter(this).drawImage(0, 0, FCache);
}

void TReflectionLabel::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    Invalidate();
}

void TReflectionLabel::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::FontChange)
        Invalidate();
}

void TReflectionLabel::mouseReleaseEvent(QMouseEvent* event) {
    QWidget::mouseReleaseEvent(event);
    if (IsClick(*this, *event) && OnClick)
        OnClick(this);
}

} // namespace lanterna
