#include "updater/layered_form.h"

#include "drawing/fill.h"

#include <QBitmap>
#include <QImage>
#include <QWidget>

namespace updater {

namespace {

QWidget* FormOf(QObject* owner) {
    auto* form = qobject_cast<QWidget*>(owner);
    if (!form || !form->isWindow())
        throw ELayeredFormError(QStringLiteral("Control parent must be a form!"));
    if (!form->findChildren<TLayeredForm*>(Qt::FindDirectChildrenOnly).isEmpty())
        throw ELayeredFormError(QStringLiteral("Only one instance of TLayeredForm allowed on form"));
    return form;
}

} // namespace

TLayeredForm::TLayeredForm(QObject* owner) : QObject(nullptr), FForm(FormOf(owner)) {
    setParent(owner);
}

void TLayeredForm::SetAlpha(std::uint8_t value) {
    FAlpha = value;
    if (FLayerType == ltAlphaBlend)
        Apply();
}

void TLayeredForm::SetColorKey(lanterna::TColor value) {
    FColorKey = value;
    if (FLayerType == ltColorKey)
        Apply();
}

void TLayeredForm::SetLayerType(TLayerType value) {
    if (value == FLayerType)
        return;
    FLayerType = value;
    Apply();
}

void TLayeredForm::Loaded() {
    FForm->update();
}

void TLayeredForm::Apply() {
    switch (FLayerType) {
    case ltNone:
        FForm->setWindowOpacity(1.0);
        FForm->clearMask();
        break;
    case ltAlphaBlend:
        FForm->clearMask();
        FForm->setWindowOpacity(FAlpha / 255.0);
        break;
    case ltColorKey: {
        FForm->setWindowOpacity(1.0);
        FForm->clearMask();
        const lanterna::TColor key = lanterna::ColorToRGB(FColorKey);
        const QImage shown = FForm->grab().toImage();
        const QColor keyColor(lanterna::GetRValue(key), lanterna::GetGValue(key), lanterna::GetBValue(key));
        // Where the window shows the key colour, it lets through what lies behind it.
        const QBitmap mask = QBitmap::fromImage(shown.createMaskFromColor(keyColor.rgb(), Qt::MaskInColor));
        FForm->setMask(mask);
        break;
    }
    }
}

} // namespace updater
