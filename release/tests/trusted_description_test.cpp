// Which descriptions a program folder uses: everything without a key, with a key only what it
// signed, unexpired and naming its version; and the record of the installed release.
#include "platform/types.h"
#include "release/installed_version.h"
#include "release/trusted_description.h"
#include "testing/minisign_tool.h"
#include "testing/test_files.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using lanterna::CheckDescription;
using lanterna::ReadTrust;
using lanterna::TTrust;
using lanterna::testing::MinisignKeyPair;
using lanterna::testing::ReadFileBytes;
using lanterna::testing::WriteFileBytes;

namespace {

class TrustedDescription : public testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(FPair.Ready()); }
    QString Path(const char* name) const { return FDir.filePath(QString::fromLatin1(name)); }
    void TrustThePair() { ASSERT_TRUE(WriteFileBytes(Path("UpDate.pub"), FPair.PublicKey())); }
    // The folder's check of `description` as the pair signs it.
    QString Check(const QByteArray& description, const QDateTime& now = QDateTime::currentDateTimeUtc()) {
        EXPECT_TRUE(WriteFileBytes(Path("UpDate.dat"), description));
        EXPECT_TRUE(FPair.Sign(Path("UpDate.dat")));
        return CheckDescription(ReadTrust(FDir.path()), description,
                                ReadFileBytes(Path("UpDate.dat.minisig")), now);
    }

    QTemporaryDir FDir;
    MinisignKeyPair FPair;
};

} // namespace

TEST_F(TrustedDescription, WithoutAKeyEveryDescriptionIsUsedAsItIs) {
    const TTrust trust = ReadTrust(FDir.path());
    EXPECT_FALSE(trust.Signed());
    EXPECT_EQ(CheckDescription(trust, "anything", QByteArray()), QString());
}

TEST_F(TrustedDescription, WithAKeyOnlyASignedUnexpiredDescriptionWithAVersionIsUsed) {
    TrustThePair();
    const QDateTime now = QDateTime(QDate(2026, 12, 10), QTime(12, 0), Qt::UTC);
    EXPECT_EQ(Check("[UPDATE]\nVer=1.3\nFiles=0\n", now), QString());
    EXPECT_EQ(Check("[UPDATE]\nVer=1.3\nExpires=2026-12-10T12:00:01Z\n", now), QString());
    EXPECT_EQ(Check("[UPDATE]\nVer=1.3\nExpires=2026-12-10T12:00:00Z\n", now),
              QStringLiteral("The update description expired at 2026-12-10T12:00:00Z"));
    for (const char* expiry : {"2027-01-01", "2027-01-01T00:00:00+01:00", "2027-02-30T00:00:00Z", ""}) {
        EXPECT_NE(Check(QByteArray("[UPDATE]\nVer=1.3\nExpires=") + expiry + "\n", now), QString()) << expiry;
    }
    EXPECT_EQ(Check("[UPDATE]\nVer=latest\n", now),
              QStringLiteral("The update description names no version"));
    EXPECT_EQ(Check("[UPDATE]\nProductName=x\n", now),
              QStringLiteral("The update description names no version"));

    EXPECT_EQ(CheckDescription(ReadTrust(FDir.path()), "[UPDATE]\nVer=1.3\n", QByteArray(), now),
              QStringLiteral("The update description is not signed"));
    const QByteArray signature = ReadFileBytes(Path("UpDate.dat.minisig"));
    EXPECT_TRUE(CheckDescription(ReadTrust(FDir.path()), "[UPDATE]\nVer=9.9\n", signature, now)
                    .startsWith(QStringLiteral("The update description's signature is not valid")));
}

TEST_F(TrustedDescription, AKeyFileThatIsNoKeyTrustsNothing) {
    for (const QByteArray& text : {QByteArray(), QByteArray("not a key\n")}) {
        ASSERT_TRUE(WriteFileBytes(Path("UpDate.pub"), text));
        const TTrust trust = ReadTrust(FDir.path());
        EXPECT_TRUE(trust.Signed()) << "a damaged key must not turn the checks off";
        EXPECT_TRUE(trust.Error.startsWith(Path("UpDate.pub"))) << trust.Error.toStdString();
        EXPECT_EQ(CheckDescription(trust, "[UPDATE]\nVer=1.3\n", "sig"), trust.Error);
    }
    ASSERT_TRUE(QFile::remove(Path("UpDate.pub")));
    ASSERT_TRUE(QFile::link(Path("nowhere"), Path("UpDate.pub")));
    EXPECT_TRUE(ReadTrust(FDir.path()).Signed()) << "a dangling link is no absent key";
}

TEST_F(TrustedDescription, TheInstalledVersionIsTheRecordedOneOrTheProgramsOwn) {
    EXPECT_EQ(lanterna::InstalledVersion(FDir.path()), lanterna::ProgramVersion());
    lanterna::RecordInstalledVersion(FDir.path(), QStringLiteral("7.1"));
    EXPECT_EQ(lanterna::InstalledVersion(FDir.path()), QStringLiteral("7.1"));
    // A record older than the programs themselves (put in place by hand) gives way to them.
    lanterna::RecordInstalledVersion(FDir.path(), QStringLiteral("0.1"));
    EXPECT_EQ(lanterna::InstalledVersion(FDir.path()), lanterna::ProgramVersion());
    EXPECT_THROW(lanterna::RecordInstalledVersion(FDir.filePath(QStringLiteral("missing/folder")),
                                                  QStringLiteral("7.2")),
                 lanterna::Exception);
}
