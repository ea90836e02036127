#pragma once
// Detached signatures in minisign's format, checked with libsodium: an Ed25519 signature of the
// message (legacy form) or of its BLAKE2b-512 hash (prehashed form), and a second signature that
// binds the trusted comment to the first.

#include <QByteArray>
#include <QString>

#include <optional>

namespace lanterna {

// An Ed25519 public key and the key number that signatures name it by.
struct TMinisignKey {
    QByteArray KeyId;     // 8 bytes
    QByteArray PublicKey; // 32 bytes
};

struct TMinisignSignature {
    bool Prehashed = true;
    QByteArray KeyId;           // 8 bytes
    QByteArray Signature;       // 64 bytes, of the message or of its hash
    QByteArray TrustedComment;  // the text after "trusted comment: "
    QByteArray GlobalSignature; // 64 bytes, of Signature followed by TrustedComment
};

// The larger texts are no key or signature file.
inline constexpr qsizetype kMaxMinisignKeyBytes = 4096;
inline constexpr qsizetype kMaxMinisignSignatureBytes = 16384;

// A public key file (an untrusted comment line, then the key in Base64), or the Base64 line alone.
// Nothing, and the reason in `error`, for anything else.
std::optional<TMinisignKey> ParseMinisignKey(const QByteArray& text, QString& error);

// A signature file: an untrusted comment, the signature, the trusted comment and its signature,
// one line each.
std::optional<TMinisignSignature> ParseMinisignSignature(const QByteArray& text, QString& error);

// Empty when `signature` is `key`'s signature of `message` and of its trusted comment; otherwise
// why it is not.
QString VerifyMinisign(const TMinisignKey& key, const TMinisignSignature& signature,
                       const QByteArray& message);

} // namespace lanterna
