#pragma once
// The player's small utilities: the one blocking HTTP download it needs.

#include <QByteArray>
#include <QString>

#include <cstdint>

namespace player {

// The bounds of one download: the player's window is frozen while it runs.
struct TDownloadBounds {
    // The most bytes taken, counted as they arrive, whatever the server announced.
    std::uint64_t MaxBytes;
    // The whole transfer, connecting included.
    long OverallSeconds;
    // Fewer than LowSpeedBytes a second for LowSpeedSeconds ends the transfer.
    long LowSpeedBytes = 300;
    long LowSpeedSeconds = 30;
    // The reply must be a program for this platform, a binary or a script (so it is never empty).
    bool Program = false;
};

inline constexpr TDownloadBounds kDescriptionDownload{1024 * 1024, 60};
inline constexpr TDownloadBounds kUpdaterDownload{256 * 1024 * 1024, 600, 300, 30, true};

// What a server said to identify the body it sent ("ETag", "Last-Modified"), so that a later
// request can ask whether it changed. Empty when the server said nothing usable.
struct THttpValidators {
    QByteArray ETag;
    QByteArray LastModified;

    bool Empty() const { return ETag.isEmpty() && LastModified.isEmpty(); }
    bool operator==(const THttpValidators&) const = default;
};

// What a body must be to be kept: exactly `Size` bytes whose SHA-256 is `SHA256` (32 bytes).
struct TExpectedBody {
    std::uint64_t Size = 0;
    QByteArray SHA256;
};

// Fetches `url` with one HTTP GET and stores the reply body in `fileName`, replacing it only when
// the whole body has arrived within `bounds`. Raises lanterna::Exception with the reason on any
// failure, the previous file then being kept: "Cannot create file "<name>". <reason>" before any
// request when the file cannot be written, the reply's status line for an error status, or the
// transfer's own error text.
// With `validators`, the request carries them ("If-None-Match", "If-Modified-Since") and they are
// replaced by those of the body received. Returns false when the server answered "304 Not
// Modified" to them: the file is then left as it is. True when a body was stored.
// With `expected`, the body is hashed as it arrives, cut at its size, and kept only when it matches.
bool StahnoutSoubor(const QString& url, const QString& fileName,
                    const TDownloadBounds& bounds = kDescriptionDownload,
                    THttpValidators* validators = nullptr, const TExpectedBody* expected = nullptr);

} // namespace player
