#include "release/minisign.h"

#include <QByteArrayList>

#include <sodium.h>

namespace lanterna {

namespace {

const QByteArray kUntrustedPrefix = QByteArrayLiteral("untrusted comment: ");
const QByteArray kTrustedPrefix = QByteArrayLiteral("trusted comment: ");
const QByteArray kLegacyAlgorithm = QByteArrayLiteral("Ed");
const QByteArray kPrehashedAlgorithm = QByteArrayLiteral("ED");
constexpr qsizetype kAlgorithmBytes = 2;
constexpr qsizetype kKeyIdBytes = 8;

bool SodiumReady() {
    static const bool ready = sodium_init() >= 0;
    return ready;
}

// The text's lines without their line ends; a last empty line (after the final LF) is dropped.
QByteArrayList Lines(const QByteArray& text) {
    QByteArrayList lines = text.split('\n');
    if (!lines.isEmpty() && lines.back().isEmpty())
        lines.removeLast();
    for (QByteArray& line : lines)
        if (line.endsWith('\r'))
            line.chop(1);
    return lines;
}

// Strict Base64 of exactly `size` bytes.
std::optional<QByteArray> DecodeExactly(const QByteArray& line, qsizetype size) {
    const auto decoded =
        QByteArray::fromBase64Encoding(line.trimmed(), QByteArray::AbortOnBase64DecodingErrors);
    if (!decoded || decoded.decoded.size() != size)
        return std::nullopt;
    return decoded.decoded;
}

} // namespace

std::optional<TMinisignKey> ParseMinisignKey(const QByteArray& text, QString& error) {
    if (text.size() > kMaxMinisignKeyBytes) {
        error = QStringLiteral("The public key file is larger than %1 bytes").arg(kMaxMinisignKeyBytes);
        return std::nullopt;
    }
    const QByteArrayList lines = Lines(text);
    const bool commented = lines.size() == 2 && lines[0].startsWith(kUntrustedPrefix);
    if (!commented && lines.size() != 1) {
        error = QStringLiteral("The public key file is not in minisign's format");
        return std::nullopt;
    }
    const std::optional<QByteArray> bytes =
        DecodeExactly(lines.back(), kAlgorithmBytes + kKeyIdBytes + crypto_sign_PUBLICKEYBYTES);
    if (!bytes || !bytes->startsWith(kLegacyAlgorithm)) {
        error = QStringLiteral("The public key is no Ed25519 key in minisign's format");
        return std::nullopt;
    }
    return TMinisignKey{bytes->mid(kAlgorithmBytes, kKeyIdBytes), bytes->mid(kAlgorithmBytes + kKeyIdBytes)};
}

std::optional<TMinisignSignature> ParseMinisignSignature(const QByteArray& text, QString& error) {
    error = QStringLiteral("The signature file is not in minisign's format");
    if (text.size() > kMaxMinisignSignatureBytes)
        return std::nullopt;
    const QByteArrayList lines = Lines(text);
    if (lines.size() != 4 || !lines[0].startsWith(kUntrustedPrefix) || !lines[2].startsWith(kTrustedPrefix))
        return std::nullopt;
    const std::optional<QByteArray> signature =
        DecodeExactly(lines[1], kAlgorithmBytes + kKeyIdBytes + crypto_sign_BYTES);
    const std::optional<QByteArray> global = DecodeExactly(lines[3], crypto_sign_BYTES);
    if (!signature || !global)
        return std::nullopt;
    const QByteArray algorithm = signature->left(kAlgorithmBytes);
    if (algorithm != kLegacyAlgorithm && algorithm != kPrehashedAlgorithm) {
        error = QStringLiteral("The signature's algorithm is not known");
        return std::nullopt;
    }
    error.clear();
    return TMinisignSignature{algorithm == kPrehashedAlgorithm, signature->mid(kAlgorithmBytes, kKeyIdBytes),
                              signature->mid(kAlgorithmBytes + kKeyIdBytes),
                              lines[2].mid(kTrustedPrefix.size()), *global};
}

QString VerifyMinisign(const TMinisignKey& key, const TMinisignSignature& signature,
                       const QByteArray& message) {
    if (!SodiumReady())
        return QStringLiteral("The cryptography library could not be started");
    if (signature.KeyId != key.KeyId)
        return QStringLiteral("The signature was made with another key");
    const auto* publicKey = reinterpret_cast<const unsigned char*>(key.PublicKey.constData());
    QByteArray signedBytes = message;
    if (signature.Prehashed) {
        signedBytes = QByteArray(crypto_generichash_BYTES_MAX, Qt::Uninitialized);
        crypto_generichash(reinterpret_cast<unsigned char*>(signedBytes.data()), crypto_generichash_BYTES_MAX,
                           reinterpret_cast<const unsigned char*>(message.constData()),
                           std::size_t(message.size()), nullptr, 0);
    }
    if (crypto_sign_verify_detached(reinterpret_cast<const unsigned char*>(signature.Signature.constData()),
                                    reinterpret_cast<const unsigned char*>(signedBytes.constData()),
                                    std::size_t(signedBytes.size()), publicKey) != 0)
        return QStringLiteral("The signature does not match the file");
    const QByteArray comment = signature.Signature + signature.TrustedComment;
    if (crypto_sign_verify_detached(
            reinterpret_cast<const unsigned char*>(signature.GlobalSignature.constData()),
            reinterpret_cast<const unsigned char*>(comment.constData()), std::size_t(comment.size()),
            publicKey) != 0)
        return QStringLiteral("The signature's trusted comment has been altered");
    return {};
}

} // namespace lanterna
