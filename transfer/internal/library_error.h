#pragma once
// The failures the engine reports: its own codes 0 to 8 with their texts, in one table; an HTTP
// status of 300 or above; and failures of the internet library, with a code that cannot be mistaken
// for either and the library's own text.

#include <QString>

#include <cstdint>

namespace lanterna {

struct TLibraryError {
    int Code = 0;
    QString Text;
};

// The engine's own failures. Each has its code and a text that the file, folder or server named
// follows; some codes have two texts, as the transfers have always reported them.
enum TEngineError : std::uint8_t {
    eeIdenticalFiles,  // 0: a copy onto itself
    eeOpenSource,      // 1
    eeZeroLength,      // 2: a source whose size cannot be told
    eeCreateFile,      // 3: the target of an HTTP download
    eeCreateTarget,    // 3: the target of an FTP download or a copy
    eeReadSource,      // 4
    eeWriteTarget,     // 5
    eeConnectServer,   // 6: the server of an HTTP upload
    eeConnectFtp,      // 6
    eeContentMismatch, // 7: a file that is not the size and SHA-256 its owner listed
    eeNoRoom,          // 8: a file that does not fit on its disk, made by NoRoomError
};

// The error `error` about `subject` (a path or a server).
TLibraryError EngineError(TEngineError error, const QString& subject);

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

// A file of `needed` bytes (for a file of unknown size, what it had reached) that does not fit into
// the `free` bytes of its disk less the `margin` kept free; `path` is the target.
TLibraryError NoRoomError(const QString& path, std::uint64_t needed, std::uint64_t free,
                          std::uint64_t margin);

} // namespace lanterna
