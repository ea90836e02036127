#include "transfer/internal/formats.h"

#include "platform/types.h"

#include <QLocale>

namespace lanterna {

namespace {

// n ÷ unit with two decimals, rounded halves to even on the exact decimal value.
QString Hundredths(std::int64_t n, std::int64_t unit) {
    const std::int64_t step = unit / 100;
    std::int64_t q = n / step;
    const std::int64_t r = n % step;
    if (2 * r > step || (2 * r == step && q % 2 != 0))
        ++q;
    const auto cents = int(q % 100);
    return QString::number(q / 100) + QLocale().decimalPoint() + QChar(u'0' + cents / 10) +
           QChar(u'0' + cents % 10);
}

QString Scaled(std::int64_t n, const QString& bytesUnit, const QString& kiloUnit, const QString& megaUnit) {
    if (n < 1000)
        return QString::number(n) + bytesUnit;
    if (n < 1000000)
        return Hundredths(n, 1000) + kiloUnit;
    return Hundredths(n, 1000000) + megaUnit;
}

} // namespace

QString SizeText(std::uint32_t n) {
    return Scaled(n, QStringLiteral(" bytes"), QStringLiteral(" Kb"), QStringLiteral(" Mb"));
}

QString RateText(std::int64_t n) {
    return Scaled(n, QStringLiteral(" bytes/sec"), QStringLiteral(" Kb/sec"), QStringLiteral(" Mb/sec"));
}

QString TimeText(double elapsed, std::uint32_t done, std::uint32_t total) {
    double x = elapsed;
    if (done > 0 && total > 0 && done < total)
        x = double(total - done) / done * elapsed;
    const std::int64_t ms = Round(x);
    const std::int64_t s = Round(ms / 1000.0);
    const std::int64_t m = Round(s / 60.0);
    const std::int64_t h = Round(m / 60.0);
    if (m == 0 && h == 0)
        return QString::number(s) + QStringLiteral(" sec.");
    if (h > 0)
        return QString::number(m / 60) + QStringLiteral("h ") + QString::number(m % 60);
    return QString::number(m) + QStringLiteral(" minutes");
}

} // namespace lanterna
