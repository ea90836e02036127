#include "widgets/integer_format.h"

#include "platform/types.h"

namespace lanterna {

namespace {

// Widths and precisions beyond this are no sensible text for a widget and would only cost memory.
constexpr int kMaxWidth = 256;

[[noreturn]] void Invalid(const QString& format) {
    throw Exception(QStringLiteral("Format '%1' invalid or incompatible with argument").arg(format));
}

// Reads a run of digits at `i`; -1 when there is none.
int ReadNumber(const QString& format, qsizetype& i) {
    int value = -1;
    while (i < format.size() && format[i].isDigit()) {
        value = std::max(value, 0) * 10 + format[i].digitValue();
        if (value > kMaxWidth)
            Invalid(format);
        ++i;
    }
    return value;
}

} // namespace

QString FormatIntegers(const QString& format, std::span<const int> args) {
    QString out;
    std::size_t next = 0;
    for (qsizetype i = 0; i < format.size(); ++i) {
        if (format[i] != u'%') {
            out += format[i];
            continue;
        }
        if (++i >= format.size())
            Invalid(format);
        if (format[i] == u'%') {
            out += u'%';
            continue;
        }
        int number = ReadNumber(format, i);
        if (i < format.size() && format[i] == u':') {
            if (number < 0)
                Invalid(format);
            next = std::size_t(number);
            ++i;
            number = -1;
        }
        bool left = false;
        if (number < 0 && i < format.size() && format[i] == u'-') {
            left = true;
            ++i;
        }
        const int width = number >= 0 ? number : ReadNumber(format, i);
        int precision = -1;
        if (i < format.size() && format[i] == u'.') {
            ++i;
            precision = std::max(ReadNumber(format, i), 0);
        }
        if (i >= format.size() || next >= args.size())
            Invalid(format);
        const int arg = args[next++];
        QString digits;
        switch (format[i].toLower().unicode()) {
        case u'd':
            digits = QString::number(std::abs(qint64(arg)));
            break;
        case u'u':
            digits = QString::number(quint32(arg));
            break;
        case u'x':
            digits = QString::number(quint32(arg), 16).toUpper();
            break;
        default:
            Invalid(format);
        }
        if (precision > digits.size())
            digits = QString(precision - digits.size(), u'0') + digits;
        if (arg < 0 && format[i].toLower() == u'd')
            digits.prepend(u'-');
        out += left ? digits.leftJustified(width) : digits.rightJustified(std::max(width, 0));
    }
    return out;
}

} // namespace lanterna
