#pragma once
// A label that shows rich text given as HTML (such as `<p align="center">wait..</p>`) with a mirrored
// copy of it below that fades out, as if the text stood on a glossy floor. Text and reflection are drawn
// once into a bitmap per change of text, font, size or reflection; a paint only draws that bitmap. The
// control is a transparent child widget: its parent shows around the letters.

#include "platform/types.h"

#include <QImage>
#include <QWidget>

#include <functional>

namespace lanterna {

class TReflectionLabel : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TReflectionLabel)

public:
    // Longer texts are cut to this many characters: a label shows a line or two, not a document.
    static constexpr int kMaxTextLength = 4096;

    explicit TReflectionLabel(QWidget* parent = nullptr);
    ~TReflectionLabel() override;

    // The text in HTML; plain text shows as it is. The widget's font is the text's default font.
    const QString& HTMLText() const { return FHTMLText; }
    void SetHTMLText(const QString& value);
    // The colour of text that the HTML does not colour itself.
    TColor FontColor() const { return FFontColor; }
    void SetFontColor(TColor value);
    // Rows of the reflection under the text; 0 shows none. Negative values are ignored.
    int ReflectionSize() const { return FReflectionSize; }
    void SetReflectionSize(int value);
    // The reflection's opacity next to the text (0..255); it fades to nothing over ReflectionSize rows.
    int ReflectionOpacity() const { return FReflectionOpacity; }
    // A value outside 0..255 is ignored.
    void SetReflectionOpacity(int value);

    // The height of the laid-out text: the reflection begins there.
    int TextHeight();

    std::function<void(TReflectionLabel* sender)> OnClick;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void Invalidate();
    void Build();

    QString FHTMLText;
    TColor FFontColor = clBlack;
    int FReflectionSize = 20;
    int FReflectionOpacity = 50;
    QImage FCache; // text and reflection; null when they must be drawn again
    int FTextHeight = 0;
};

} // namespace lanterna
