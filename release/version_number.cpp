#include "release/version_number.h"

#include <QStringList>

#include <algorithm>
#include <optional>
#include <vector>

namespace lanterna {

namespace {

constexpr qsizetype kMaxParts = 8;
constexpr qsizetype kMaxDigits = 9;

std::optional<std::vector<long>> Parts(const QString& text) {
    const QStringList pieces = text.split(QLatin1Char('.'));
    if (pieces.size() > kMaxParts)
        return std::nullopt;
    std::vector<long> parts;
    for (const QString& piece : pieces) {
        const bool digits = !piece.isEmpty() && piece.size() <= kMaxDigits &&
                            std::all_of(piece.begin(), piece.end(), [](QChar c) {
                                return c >= QLatin1Char('0') && c <= QLatin1Char('9');
                            });
        if (!digits)
            return std::nullopt;
        parts.push_back(piece.toLong());
    }
    while (parts.size() > 1 && parts.back() == 0)
        parts.pop_back();
    return parts;
}

} // namespace

bool IsVersion(const QString& text) {
    return Parts(text).has_value();
}

bool IsNewerVersion(const QString& candidate, const QString& installed) {
    const auto a = Parts(candidate);
    const auto b = Parts(installed);
    return a && b && std::lexicographical_compare(b->begin(), b->end(), a->begin(), a->end());
}

} // namespace lanterna
