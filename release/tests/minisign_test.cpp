// Signatures made by the real minisign program, checked by ours, and what must not pass.
#include "release/minisign.h"
#include "testing/minisign_tool.h"
#include "testing/test_files.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

using lanterna::ParseMinisignKey;
using lanterna::ParseMinisignSignature;
using lanterna::TMinisignKey;
using lanterna::TMinisignSignature;
using lanterna::VerifyMinisign;
using lanterna::testing::MinisignKeyPair;
using lanterna::testing::ReadFileBytes;
using lanterna::testing::WriteFileBytes;

namespace {

class Minisign : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(FPair.Ready()) << "minisign could not make a key pair";
        QString error;
        const auto key = ParseMinisignKey(FPair.PublicKey(), error);
        ASSERT_TRUE(key) << error.toStdString();
        FKey = *key;
    }
    // The signature file minisign writes for `message`.
    QByteArray SignatureOf(const QByteArray& message, bool legacy,
                           const QString& comment = QStringLiteral("c")) {
        const QString file = FDir.filePath(QStringLiteral("message"));
        EXPECT_TRUE(WriteFileBytes(file, message));
        EXPECT_TRUE(FPair.Sign(file, legacy, comment));
        return ReadFileBytes(file + QStringLiteral(".minisig"));
    }
    QString Verify(const QByteArray& signatureText, const QByteArray& message) {
        QString error;
        const auto signature = ParseMinisignSignature(signatureText, error);
        if (!signature)
            return error;
        return VerifyMinisign(FKey, *signature, message);
    }

    QTemporaryDir FDir;
    MinisignKeyPair FPair;
    TMinisignKey FKey;
};

} // namespace

TEST_F(Minisign, BothFormsVerifyTheExactBytesAndTheirTrustedComment) {
    static const char raw[] = "[UPDATE]\r\nVer=1.3\r\n\0binary\xff";
    const QByteArray message(raw, sizeof raw - 1);
    for (const bool legacy : {false, true}) {
        SCOPED_TRACE(legacy ? "legacy" : "prehashed");
        const QByteArray signature =
            SignatureOf(message, legacy, QStringLiteral("timestamp:1\tfile:UpDate.dat"));
        QString error;
        const auto parsed = ParseMinisignSignature(signature, error);
        ASSERT_TRUE(parsed) << error.toStdString();
        EXPECT_EQ(parsed->Prehashed, !legacy);
        EXPECT_EQ(parsed->TrustedComment, "timestamp:1\tfile:UpDate.dat");
        EXPECT_EQ(Verify(signature, message), QString());

        // Line ends written on another system change nothing.
        QByteArray crlf = signature;
        crlf.replace("\n", "\r\n");
        EXPECT_EQ(Verify(crlf, message), QString());

        QByteArray altered = message;
        altered[5] = 'u';
        EXPECT_EQ(Verify(signature, altered), QStringLiteral("The signature does not match the file"));
        EXPECT_NE(Verify(signature, message + "\n"), QString());
        EXPECT_NE(Verify(signature, message.chopped(1)), QString());
    }
}

TEST_F(Minisign, AnEditedTrustedCommentOrAnotherKeyIsRefused) {
    const QByteArray message = "Files=0\n";
    const QByteArray signature = SignatureOf(message, false, QStringLiteral("timestamp:1"));
    QByteArray edited = signature;
    edited.replace("trusted comment: timestamp:1", "trusted comment: timestamp:2");
    EXPECT_EQ(Verify(edited, message), QStringLiteral("The signature's trusted comment has been altered"));

    MinisignKeyPair other;
    ASSERT_TRUE(other.Ready());
    const QString file = FDir.filePath(QStringLiteral("foreign"));
    ASSERT_TRUE(WriteFileBytes(file, message));
    ASSERT_TRUE(other.Sign(file));
    const QByteArray foreign = ReadFileBytes(file + QStringLiteral(".minisig"));
    EXPECT_EQ(Verify(foreign, message), QStringLiteral("The signature was made with another key"));

    // Another key that claims this key's number is still caught by the signature itself.
    QString error;
    auto forged = ParseMinisignSignature(foreign, error);
    ASSERT_TRUE(forged);
    forged->KeyId = FKey.KeyId;
    EXPECT_EQ(VerifyMinisign(FKey, *forged, message),
              QStringLiteral("The signature does not match the file"));
}

TEST(MinisignFormat, TextsThatAreNoKeyOrSignatureAreRefusedWithAReason) {
    QString error;
    const QByteArray key = "untrusted comment: minisign public key 19A0044F95F6F538\n"
                           "RWQ49faVTwSgGa4abMDEbaPR11eP+Z0w6/KX+cLgYH+6kRCHxaEDTX2W\n";
    ASSERT_TRUE(ParseMinisignKey(key, error));
    EXPECT_TRUE(ParseMinisignKey(key.split('\n')[1], error)) << "the Base64 line alone";
    for (const QByteArray& bad :
         {QByteArray(), QByteArray("\n\n"), key + "extra\n", key.left(key.size() - 10),
          QByteArray(key).replace("RWQ4", "RUQ4"), QByteArray(key).replace("untrusted", "trusted"),
          QByteArray(key).replace("X2W", "X2*"), key + QByteArray(5000, ' ')}) {
        error.clear();
        EXPECT_FALSE(ParseMinisignKey(bad, error)) << bad.toStdString();
        EXPECT_FALSE(error.isEmpty());
    }

    const QByteArray signature =
        "untrusted comment: signature from minisign secret key\n"
        "RUQ49faVTwSgGS0VW5r2uMDEdRpLMCguAgGFXXJFkAsmjNb7lVfwpNG/BQmtPXZGF4fX2qMQVDDli1i1upBaiEhmiRJq6/fE/"
        "Ag=\n"
        "trusted comment: tc here\n"
        "zppneOrTjfwMDzPv0duKEVrEiSGXsK98QE1pvPE5x/Yw+iwHoBdbQSZz8ncDrR4Vid0uZgNIXtVEvqJAqlG8AQ==\n";
    ASSERT_TRUE(ParseMinisignSignature(signature, error));
    const QByteArrayList lines = signature.split('\n');
    for (const QByteArray& bad : {QByteArray(), lines.mid(0, 3).join('\n'), signature + "more\n",
                                  QByteArray(signature).replace("RUQ4", "RXQ4"),
                                  QByteArray(signature).replace("trusted comment: tc", "comment: tc"),
                                  QByteArray(signature).replace("AQ==", "AQ="),
                                  QByteArray(signature).replace("tc here", QByteArray(20000, 't'))}) {
        EXPECT_FALSE(ParseMinisignSignature(bad, error)) << bad.toStdString();
        EXPECT_FALSE(error.isEmpty());
    }
}
