#pragma once
// Failures of the internet library as the engine reports them: a code that cannot be mistaken for
// the engine's own codes 0 to 8 or an HTTP status, and the library's own text.

#include <QString>

#include <cstdint>

namespace lanterna {

struct TLibraryError {
    int Code = 0;
    QString Text;
};

// The well-known internet-library numbers for the failures that have one (12002 time-out,
// 12007 name not resolved, 12029 cannot connect, 12030 connection aborted, 12031 connection
// reset, ...); any other library result n becomes 13000 + n.
int EngineErrorCode(int curlCode);

// The error of a library result; `detail` (the library's error buffer) replaces its generic text
// when not empty. The text is cut at 255 characters.
TLibraryError LibraryError(int curlCode, const char* detail = nullptr);

// An HTTP answer with a status of 300 or above.
TLibraryError HttpStatusError(long status);

// A redirection that names no usable place to go.
TLibraryError UnfollowedRedirectError(long status);

// An answer larger than the engine accepts.
TLibraryError AnswerTooLargeError();

// An answer that ended before the length it announced.
TLibraryError ShortAnswerError();

// The engine's code for a file whose bytes are not the size and SHA-256 its owner listed.
inline constexpr int kContentMismatchCode = 7;
// A downloaded file that is not the one its owner listed (`path` is the target).
TLibraryError ContentMismatchError(const QString& path);

// The engine's code for a file refused because it does not fit on its disk.
inline constexpr int kNoRoomCode = 8;
// A file of `needed` bytes (for a file of unknown size, what it had reached) that does not fit into
// the `free` bytes of its disk less the `margin` kept free; `path` is the target.
TLibraryError NoRoomError(const QString& path, std::uint64_t needed, std::uint64_t free,
                          std::uint64_t margin);

} // namespace lanterna
