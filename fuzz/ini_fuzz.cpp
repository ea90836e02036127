// Any bytes as an INI file: reading never fails, and writing one key changes only that key's line.
#include "platform/ini_text.h"

#include <cstdint>
#include <cstdlib>

using lanterna::TIniText;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    TIniText text(bytes);
    const QString section = QStringLiteral("Global"), key = QStringLiteral("SlideDirectory");
    (void)text.Lookup(section, QStringLiteral("RotateInterval"), 2047);
    (void)text.SectionExists(QStringLiteral("Other"));
    const QString value = QStringLiteral("/média/x");
    text.Write(section, key, value);
    const QByteArray written = text.Bytes();
    const TIniText again(written);
    // The key reads back what was written.
    if (again.Lookup(section, key, 2047) != value)
        std::abort();
    // Writing the same value again changes nothing.
    TIniText twice(written);
    twice.Write(section, key, value);
    if (twice.Bytes() != written)
        std::abort();
    return 0;
}
