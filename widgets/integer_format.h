#pragma once
// Texts built from a format string and whole numbers, with the classic format specifiers:
// "%[index:][-][width][.precision]type" where type is d (decimal), u (unsigned decimal) or x (upper-case
// hexadecimal), and "%%" for a percent sign. Precision pads the digits with zeros; width pads with spaces,
// on the left unless "-" is given.

#include <QString>

#include <span>

namespace lanterna {

// Raises Exception naming the format when a specifier is malformed, of an unknown type or refers to an
// argument that is not there.
QString FormatIntegers(const QString& format, std::span<const int> args);

} // namespace lanterna
