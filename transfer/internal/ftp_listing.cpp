#include "transfer/internal/ftp_listing.h"

#include "transfer/internal/date_time.h"

#include <QDateTime>
#include <QList>

namespace lanterna {

namespace {

constexpr std::int64_t kFileTimeTicksPerSecond = 10'000'000;
constexpr std::int64_t kSecondsFrom1601To1970 = 11'644'473'600;

QList<QByteArray> Lines(const QByteArray& text) {
    QList<QByteArray> lines;
    for (const QByteArray& line : text.split('\n')) {
        const QByteArray trimmed = line.endsWith('\r') ? line.chopped(1) : line;
        if (!trimmed.isEmpty())
            lines << trimmed;
    }
    return lines;
}

bool IsDotName(const QString& name) {
    return name == u"." || name == u"..";
}

std::int64_t FileTimeOf(const QDateTime& reading) {
    // The clock reading as written, taken as UTC so that no time-zone rule moves it.
    const QDateTime asWritten(reading.date(), reading.time(), Qt::UTC);
    return FileTimeFromUnixSeconds(asWritten.toSecsSinceEpoch());
}

int MonthOf(const QByteArray& name) {
    static constexpr const char* kMonths[] = {"jan", "feb", "mar", "apr", "may", "jun",
                                              "jul", "aug", "sep", "oct", "nov", "dec"};
    const QByteArray lower = name.toLower();
    for (int i = 0; i < 12; ++i)
        if (lower == kMonths[i])
            return i + 1;
    return 0;
}

// The fields of a line split at runs of blanks, and where each field starts.
struct TFields {
    QList<QByteArray> Words;
    QList<qsizetype> Starts;
};

TFields SplitFields(const QByteArray& line, int most) {
    TFields fields;
    qsizetype at = 0;
    while (at < line.size() && fields.Words.size() < most) {
        while (at < line.size() && line[at] == ' ')
            ++at;
        if (at >= line.size())
            break;
        const qsizetype start = at;
        while (at < line.size() && line[at] != ' ')
            ++at;
        fields.Words << line.mid(start, at - start);
        fields.Starts << start;
    }
    return fields;
}

// "-rw-r--r-- 1 owner group 1234 Jan 31 12:00 name" or "... Jan 31 2023 name".
bool ParseUnixLine(const QByteArray& line, QDate today, TFtpEntry& entry) {
    const QByteArray kinds = "-dlpscb";
    if (line.isEmpty() || !kinds.contains(line[0]))
        return false;
    const TFields fields = SplitFields(line, 9);
    if (fields.Words.size() < 9)
        return false;
    // The group may be missing; the size is the last number before the month.
    int month = 0;
    int monthField = -1;
    for (int i = 3; i <= 5 && monthField < 0; ++i)
        if ((month = MonthOf(fields.Words[i])) > 0)
            monthField = i;
    if (monthField < 0 || monthField + 3 > fields.Words.size())
        return false;
    bool sized = false;
    entry.Size = fields.Words[monthField - 1].toULongLong(&sized);
    const int day = fields.Words[monthField + 1].toInt();
    const QByteArray yearOrTime = fields.Words[monthField + 2];
    QTime time(0, 0);
    int year = yearOrTime.toInt();
    if (yearOrTime.contains(':')) {
        time = QTime::fromString(QString::fromLatin1(yearOrTime), QStringLiteral("hh:mm"));
        if (!time.isValid())
            time = QTime::fromString(QString::fromLatin1(yearOrTime), QStringLiteral("H:mm"));
        year = today.year();
        if (QDate(year, month, day) > today.addDays(1))
            --year;
    }
    const QDate date(year, month, day);
    if (!sized || !date.isValid() || !time.isValid())
        return false;
    // The name is the rest of the line after the date, spaces included.
    const qsizetype nameStart = fields.Starts[monthField + 2] + yearOrTime.size() + 1;
    QString name = QString::fromUtf8(line.mid(nameStart));
    if (line[0] == 'l') {
        const qsizetype arrow = name.indexOf(QStringLiteral(" -> "));
        if (arrow >= 0)
            name.truncate(arrow);
    }
    entry.Name = name;
    entry.Directory = line[0] == 'd';
    entry.FileTime = FileTimeOf(QDateTime(date, time));
    return !name.isEmpty();
}

// "01-31-24  12:00PM       <DIR>          name" or "01-31-24  12:00PM   1234 name".
bool ParseDosLine(const QByteArray& line, TFtpEntry& entry) {
    const TFields fields = SplitFields(line, 3);
    if (fields.Words.size() < 3)
        return false;
    QDate date = QDate::fromString(QString::fromLatin1(fields.Words[0]), QStringLiteral("MM-dd-yy"));
    if (!date.isValid())
        date = QDate::fromString(QString::fromLatin1(fields.Words[0]), QStringLiteral("MM-dd-yyyy"));
    else if (date.year() < 1970)
        date = date.addYears(100);
    const QTime time = QTime::fromString(QString::fromLatin1(fields.Words[1]), QStringLiteral("hh:mmAP"));
    if (!date.isValid() || !time.isValid())
        return false;
    const TFields rest = SplitFields(line, 4);
    if (rest.Words.size() < 4)
        return false;
    entry.Directory = rest.Words[2] == "<DIR>";
    bool sized = entry.Directory;
    if (!entry.Directory)
        entry.Size = rest.Words[2].toULongLong(&sized);
    entry.Name = QString::fromUtf8(line.mid(rest.Starts[3]));
    entry.FileTime = FileTimeOf(QDateTime(date, time));
    return sized && !entry.Name.isEmpty();
}

} // namespace

std::vector<TFtpEntry> ParseMachineListing(const QByteArray& text) {
    std::vector<TFtpEntry> entries;
    for (const QByteArray& line : Lines(text)) {
        // "fact=value;fact=value; name": the name follows the first blank.
        const qsizetype blank = line.indexOf(' ');
        if (blank < 0)
            continue;
        TFtpEntry entry;
        entry.Name = QString::fromUtf8(line.mid(blank + 1));
        bool listed = false;
        for (const QByteArray& fact : line.left(blank).split(';')) {
            const qsizetype equals = fact.indexOf('=');
            if (equals < 0)
                continue;
            const QByteArray key = fact.left(equals).toLower();
            const QByteArray value = fact.mid(equals + 1);
            if (key == "type") {
                const QByteArray type = value.toLower();
                entry.Directory = type == "dir";
                listed = type == "file" || type == "dir" || type.startsWith("os.unix=slink");
            } else if (key == "size") {
                entry.Size = value.toULongLong();
            } else if (key == "modify") {
                entry.FileTime = FileTimeFromMachineTime(value);
            }
        }
        if (listed && !entry.Name.isEmpty() && !IsDotName(entry.Name))
            entries.push_back(entry);
    }
    return entries;
}

std::vector<TFtpEntry> ParsePlainListing(const QByteArray& text, QDate today) {
    std::vector<TFtpEntry> entries;
    for (const QByteArray& line : Lines(text)) {
        TFtpEntry entry;
        if ((ParseUnixLine(line, today, entry) || ParseDosLine(line, entry)) && !IsDotName(entry.Name))
            entries.push_back(entry);
    }
    return entries;
}

std::int64_t FileTimeFromUnixSeconds(std::int64_t seconds) {
    return (seconds + kSecondsFrom1601To1970) * kFileTimeTicksPerSecond;
}

std::int64_t FileTimeFromMachineTime(const QByteArray& value) {
    const QDateTime reading =
        QDateTime::fromString(QString::fromLatin1(value.left(14)), QStringLiteral("yyyyMMddHHmmss"));
    return reading.isValid() ? FileTimeOf(reading) : 0;
}

double DateTimeFromFileTime(std::int64_t fileTime) {
    return DateTimeFromUnixSeconds(fileTime / kFileTimeTicksPerSecond - kSecondsFrom1601To1970);
}

bool IsPlainFileName(const QString& name) {
    return !name.isEmpty() && !IsDotName(name) && !name.contains(u'/') && !name.contains(u'\\') &&
           !name.contains(QChar(0));
}

} // namespace lanterna
