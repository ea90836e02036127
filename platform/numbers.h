#pragma once
// Whole numbers as the INI files write them.

#include <QString>

#include <optional>

namespace lanterna {

// A signed decimal number, or a hexadecimal one after "0x"/"0X", within 32 bits; anything else
// (empty text, other characters, overflow) is no number.
std::optional<int> ParseInteger(const QString& text);

// ParseInteger, or `fallback` when the text is no number.
inline int StrToIntDef(const QString& text, int fallback) {
    return ParseInteger(text).value_or(fallback);
}

} // namespace lanterna
