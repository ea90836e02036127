#pragma once
// The entries of an FTP folder listing, read from the machine-readable form (MLSD) or from the
// plain forms servers send for LIST (Unix "ls -l" lines and DOS lines).

#include <QByteArray>
#include <QDate>
#include <QString>

#include <cstdint>
#include <vector>

namespace lanterna {

struct TFtpEntry {
    QString Name;
    bool Directory = false;
    std::uint64_t Size = 0;
    // 100-ns units since 1 January 1601, the clock reading as the server gives it; 0 when unknown.
    std::int64_t FileTime = 0;
};

// File attribute bits of a listing entry.
constexpr std::uint32_t kFileAttributeDirectory = 0x10;
constexpr std::uint32_t kFileAttributeNormal = 0x80;

// Lines that cannot be read, "." and ".." are left out.
std::vector<TFtpEntry> ParseMachineListing(const QByteArray& text);
// `today` places dates that a Unix line gives without a year: within the last year up to tomorrow.
std::vector<TFtpEntry> ParsePlainListing(const QByteArray& text, QDate today);

std::int64_t FileTimeFromUnixSeconds(std::int64_t seconds);
// "20240131120000" or "20240131120000.123" (MLSD, MLST, MDTM), taken as written; 0 when unreadable.
std::int64_t FileTimeFromMachineTime(const QByteArray& value);
// The date-time of the same clock reading.
double DateTimeFromFileTime(std::int64_t fileTime);

// A name that can become a file of a local folder as it is: no separator, not "." or "..".
bool IsPlainFileName(const QString& name);

} // namespace lanterna
