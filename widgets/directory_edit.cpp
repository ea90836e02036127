#include "widgets/directory_edit.h"

#include <QFileDialog>
#include <QLineEdit>
#include <QToolButton>

namespace lanterna {

TDirectoryEdit::TDirectoryEdit(QWidget* parent)
    : QWidget(parent), FEditor(new QLineEdit(this)), FButton(new QToolButton(this)) {
    FButton->setText(QStringLiteral("…"));
    FButton->setFocusPolicy(Qt::NoFocus);
    setFocusProxy(FEditor);
    ChooseFolder = [](QWidget* parent, const QString& title, const QString& start) {
        return QFileDialog::getExistingDirectory(parent, title, start);
    };
    connect(FButton, &QToolButton::clicked, this, &TDirectoryEdit::Browse);
}

QString TDirectoryEdit::Text() const {
    return FEditor->text();
}

void TDirectoryEdit::SetText(const QString& text) {
    FEditor->setText(text);
}

void TDirectoryEdit::Browse() {
    const QString chosen = ChooseFolder(window(), QStringLiteral("Select Directory"), Text());
    if (!chosen.isEmpty())
        SetText(chosen);
}

void TDirectoryEdit::resizeEvent(QResizeEvent*) {
    FEditor->setGeometry(0, 0, width() - kButtonWidth, height());
    FButton->setGeometry(width() - kButtonWidth, 0, kButtonWidth, height());
}

} // namespace lanterna
