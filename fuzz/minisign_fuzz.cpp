// Any bytes as a public key file and as a signature file: parsing never fails, and what parses
// can be checked against any message without a fault.
#include "release/minisign.h"

#include <cstdint>
#include <cstdlib>

using namespace lanterna;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    QString error;
    const std::optional<TMinisignKey> key = ParseMinisignKey(bytes, error);
    if (!key && error.isEmpty())
        std::abort(); // a refusal always says why
    if (key && (key->KeyId.size() != 8 || key->PublicKey.size() != 32))
        std::abort();
    const std::optional<TMinisignSignature> signature = ParseMinisignSignature(bytes, error);
    if (!signature)
        return 0;
    if (signature->KeyId.size() != 8 || signature->Signature.size() != 64 ||
        signature->GlobalSignature.size() != 64)
        std::abort();
    // A key that claims the signature's number: verification runs through and refuses.
    const TMinisignKey claimed{signature->KeyId, QByteArray(32, '\x01')};
    if (VerifyMinisign(claimed, *signature, bytes).isEmpty())
        std::abort();
    return 0;
}
