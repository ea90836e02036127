#include "transfer/internal/base64.h"

namespace lanterna {

QByteArray Base64Encode(const QByteArray& data) {
    static constexpr char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    QByteArray out;
    out.reserve((data.size() + 2) / 3 * 4);
    for (qsizetype i = 0; i < data.size(); i += 3) {
        const qsizetype left = data.size() - i;
        std::uint32_t group = std::uint32_t(std::uint8_t(data[i])) << 16;
        if (left > 1)
            group |= std::uint32_t(std::uint8_t(data[i + 1])) << 8;
        if (left > 2)
            group |= std::uint8_t(data[i + 2]);
        out += kAlphabet[(group >> 18) & 63];
        out += kAlphabet[(group >> 12) & 63];
        out += left > 1 ? kAlphabet[(group >> 6) & 63] : '=';
        out += left > 2 ? kAlphabet[group & 63] : '=';
    }
    return out;
}

} // namespace lanterna
