#include "platform/numbers.h"

#include <cstdint>
#include <limits>

namespace lanterna {

namespace {

int HexDigit(QChar c) {
    const char16_t u = c.unicode();
    if (u >= u'0' && u <= u'9')
        return u - u'0';
    if (u >= u'a' && u <= u'f')
        return u - u'a' + 10;
    if (u >= u'A' && u <= u'F')
        return u - u'A' + 10;
    return -1;
}

} // namespace

std::optional<int> ParseInteger(const QString& text) {
    const QString t = text.trimmed();
    if (t.size() > 2 && t[0] == QLatin1Char('0') && (t[1] == QLatin1Char('x') || t[1] == QLatin1Char('X'))) {
        // Hexadecimal spans the 32 bits, so 0xFFFFFFFF is -1 as in a 32-bit integer.
        std::uint64_t value = 0;
        for (qsizetype i = 2; i < t.size(); ++i) {
            const int digit = HexDigit(t[i]);
            if (digit < 0)
                return std::nullopt;
            value = value * 16 + std::uint64_t(digit);
            if (value > std::numeric_limits<std::uint32_t>::max())
                return std::nullopt;
        }
        return static_cast<int>(static_cast<std::uint32_t>(value));
    }
    qsizetype i = 0;
    bool negative = false;
    if (i < t.size() && (t[i] == QLatin1Char('+') || t[i] == QLatin1Char('-'))) {
        negative = t[i] == QLatin1Char('-');
        ++i;
    }
    if (i == t.size())
        return std::nullopt;
    std::int64_t value = 0;
    for (; i < t.size(); ++i) {
        const char16_t c = t[i].unicode();
        if (c < u'0' || c > u'9')
            return std::nullopt;
        value = value * 10 + (c - u'0');
        if (value > std::int64_t(std::numeric_limits<int>::max()) + 1)
            return std::nullopt;
    }
    value = negative ? -value : value;
    if (value > std::numeric_limits<int>::max())
        return std::nullopt;
    return static_cast<int>(value);
}

} // namespace lanterna
