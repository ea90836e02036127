#pragma once
// A text field for a folder with a browse button that opens a folder chooser.

#include <QWidget>

#include <functional>

class QLineEdit;
class QToolButton;

namespace lanterna {

class TDirectoryEdit final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TDirectoryEdit)

public:
    static constexpr int kButtonWidth = 18;

    explicit TDirectoryEdit(QWidget* parent = nullptr);

    QString Text() const;
    void SetText(const QString& text);

    // Opens the chooser (titled "Select Directory") and takes the chosen folder, if any.
    void Browse();

    // The folder chooser: title, starting folder -> chosen folder or empty. Tests replace it.
    std::function<QString(QWidget* parent, const QString& title, const QString& start)> ChooseFolder;

    QLineEdit* Editor() const { return FEditor; }
    QToolButton* BrowseButton() const { return FButton; }

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    QLineEdit* FEditor;
    QToolButton* FButton;
};

} // namespace lanterna
