#pragma once
// Whether a program folder trusts an update description: with a public key (UpDate.pub) in the
// folder, only a description signed by that key, not expired and naming its version is used;
// without one, every description is used as it is.

#include "release/minisign.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>

#include <optional>

namespace lanterna {

struct TTrust {
    // Set when only descriptions signed by this key may be used.
    std::optional<TMinisignKey> Key;
    // Why UpDate.pub, which exists, is no key: then no description may be used at all.
    QString Error;

    bool Signed() const { return Key.has_value() || !Error.isEmpty(); }
};

// The trust of the program folder `folder`.
TTrust ReadTrust(const QString& folder);

// Empty when `description` may be used under `trust`: signed by its key with `signature`, its
// `Expires` (when given) still ahead of `now`, its `Ver` a version. Otherwise why not.
QString CheckDescription(const TTrust& trust, const QByteArray& description, const QByteArray& signature,
                         const QDateTime& now = QDateTime::currentDateTimeUtc());

// The moment a description stops being valid: "YYYY-MM-DDTHH:MM:SSZ"; an invalid moment otherwise.
QDateTime ParseExpiry(const QString& text);

} // namespace lanterna
