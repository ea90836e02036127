#pragma once
// A whole-number field with up and down buttons. Any value set into it is forced into its range;
// read back, an empty field gives 0 and text that is no number gives the range's minimum.

#include <QWidget>

class QLineEdit;
class QToolButton;

namespace lanterna {

class TSpinEdit final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TSpinEdit)

public:
    explicit TSpinEdit(QWidget* parent = nullptr);

    int MinValue() const { return FMinValue; }
    int MaxValue() const { return FMaxValue; }
    void SetRange(int minValue, int maxValue);

    int Value() const;
    void SetValue(int value);

    QString Text() const;
    void SetText(const QString& text);

    QLineEdit* Editor() const { return FEditor; }

protected:
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    int CheckValue(int value) const;
    void Step(int delta);

    QLineEdit* FEditor;
    QToolButton* FUp;
    QToolButton* FDown;
    int FMinValue = 0;
    int FMaxValue = 0;
};

} // namespace lanterna
