#pragma once
// Base64 of RFC 4648: the standard alphabet with "=" padding.

#include <QByteArray>

namespace lanterna {

QByteArray Base64Encode(const QByteArray& data);

} // namespace lanterna
