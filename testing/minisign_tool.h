#pragma once
// The real minisign program, for tests that sign what the programs verify: a key pair of its own
// in a temporary folder, and detached signatures made with it.

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

namespace lanterna::testing {

class MinisignKeyPair {
public:
    // Generates a key pair without a password; Ready() tells whether minisign did.
    MinisignKeyPair();

    bool Ready() const { return FReady; }
    // The public key file's text, as a program folder's UpDate.pub holds it.
    QByteArray PublicKey() const;
    // Signs `file` into `file`.minisig; `legacy` signs the bytes themselves instead of their hash.
    // False when minisign failed.
    bool Sign(const QString& file, bool legacy = false,
              const QString& trustedComment = QStringLiteral("timestamp:0")) const;

private:
    QTemporaryDir FFolder;
    bool FReady = false;
};

} // namespace lanterna::testing
