#pragma once
// Makes the window that owns it translucent as a whole, or transparent where it shows one colour.

#include "platform/types.h"

#include <QObject>
#include <QString>

#include <cstdint>

class QWidget;

namespace updater {

enum TLayerType : std::uint8_t { ltNone, ltAlphaBlend, ltColorKey };

// Raised when a TLayeredForm is placed where it cannot work.
class ELayeredFormError : public lanterna::Exception {
public:
    using Exception::Exception;
};

class TLayeredForm final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TLayeredForm)

public:
    // `owner` must be a window without another TLayeredForm; raises ELayeredFormError otherwise.
    explicit TLayeredForm(QObject* owner);

    std::uint8_t Alpha() const { return FAlpha; }
    // Applied at once while the layer type is ltAlphaBlend.
    void SetAlpha(std::uint8_t value);
    lanterna::TColor ColorKey() const { return FColorKey; }
    // Applied at once while the layer type is ltColorKey.
    void SetColorKey(lanterna::TColor value);
    TLayerType LayerType() const { return FLayerType; }
    // A different value applies its effect.
    void SetLayerType(TLayerType value);
    QString Version() const { return QStringLiteral("1.0.0.1"); }
    void SetVersion(const QString&) {}

    // To be called once the owner window is built: it is repainted with the effect.
    void Loaded();

private:
    void Apply();

    QWidget* FForm;
    std::uint8_t FAlpha = 255;
    lanterna::TColor FColorKey = lanterna::clBlack;
    TLayerType FLayerType = ltNone;
};

} // namespace updater
