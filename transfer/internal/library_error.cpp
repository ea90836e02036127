#include "transfer/internal/library_error.h"

#include <QStringView>

#include <curl/curl.h>

#include <array>

namespace lanterna {

namespace {

constexpr int kOtherLibraryErrors = 13000;
constexpr qsizetype kMaximumText = 255;

struct TEngineErrorText {
    int Code;
    QStringView Text;
};

// In the order of TEngineError.
constexpr std::array<TEngineErrorText, eeNoRoom + 1> kEngineErrors{{
    {0, u"Cannot copy identical files "},
    {1, u"Cannot open source file "},
    {2, u"Zero length source file "},
    {3, u"Cannot create file "},
    {3, u"Cannot create target file "},
    {4, u"Error reading source file "},
    {5, u"Error writing to destination file "},
    {6, u"Cannot connect to server "},
    {6, u"Cannot connect to FTP server "},
    {7, u"File does not match its listed size and SHA-256 "},
    {8, u"Not enough disk space for %1: %2 bytes needed, %3 bytes free (%4 of them kept free)"},
}};

} // namespace

TLibraryError EngineError(TEngineError error, const QString& subject) {
    const TEngineErrorText& entry = kEngineErrors[error];
    return {entry.Code, entry.Text + subject};
}

int EngineErrorCode(int curlCode) {
    switch (curlCode) {
    case CURLE_OPERATION_TIMEDOUT:
        return 12002;
    case CURLE_URL_MALFORMAT:
        return 12005;
    case CURLE_UNSUPPORTED_PROTOCOL:
        return 12006;
    case CURLE_COULDNT_RESOLVE_HOST:
    case CURLE_COULDNT_RESOLVE_PROXY:
        return 12007;
    case CURLE_ABORTED_BY_CALLBACK:
        return 12017;
    case CURLE_COULDNT_CONNECT:
        return 12029;
    case CURLE_SEND_ERROR:
    case CURLE_PARTIAL_FILE:
        return 12030;
    case CURLE_RECV_ERROR:
        return 12031;
    case CURLE_WEIRD_SERVER_REPLY:
        return 12152;
    case CURLE_TOO_MANY_REDIRECTS:
        return 12156;
    default:
        return kOtherLibraryErrors + curlCode;
    }
}

TLibraryError LibraryError(int curlCode, const char* detail) {
    QString text = detail && *detail ? QString::fromUtf8(detail)
                                     : QString::fromUtf8(curl_easy_strerror(CURLcode(curlCode)));
    return {EngineErrorCode(curlCode), text.left(kMaximumText)};
}

TLibraryError HttpStatusError(long status) {
    return {int(status), QStringLiteral("Returned http error code ") + QString::number(status)};
}

TLibraryError UnfollowedRedirectError(long status) {
    TLibraryError error = HttpStatusError(status);
    error.Text += QStringLiteral(": the redirection names no usable Location");
    return error;
}

TLibraryError AnswerTooLargeError() {
    return LibraryError(CURLE_FILESIZE_EXCEEDED);
}

TLibraryError ShortAnswerError() {
    return LibraryError(CURLE_PARTIAL_FILE);
}

TLibraryError NoRoomError(const QString& path, std::uint64_t needed, std::uint64_t free,
                          std::uint64_t margin) {
    const TEngineErrorText& entry = kEngineErrors[eeNoRoom];
    // One pass, so that a path with "%1" in its name stays as it is.
    return {entry.Code, entry.Text.toString().arg(path, QString::number(needed), QString::number(free),
                                                  QString::number(margin))};
}

} // namespace lanterna
