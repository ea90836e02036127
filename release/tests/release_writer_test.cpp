// The description the publishing tool writes for a folder of release files.
#include "platform/ini_text.h"
#include "release/release_writer.h"
#include "testing/test_files.h"

#include <QCryptographicHash>
#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <functional>
#include <vector>

using lanterna::TIniText;
using lanterna::TReleaseInfo;
using lanterna::WriteReleaseDescription;
using lanterna::testing::ReadFileBytes;
using lanterna::testing::WriteFileBytes;

namespace {

QString Value(const TIniText& text, const QString& key) {
    return text.Lookup(QStringLiteral("UPDATE"), key, 2047);
}

} // namespace

TEST(ReleaseWriter, ListsEveryFileButTheSignsOwnWithAddressSizeAndHash) {
    QTemporaryDir dir;
    const QByteArray program(300001, 'p');
    ASSERT_TRUE(WriteFileBytes(dir.filePath(QStringLiteral("Lanterna")), program));
    ASSERT_TRUE(WriteFileBytes(dir.filePath(QStringLiteral("my file.bin")), QByteArray()));
    ASSERT_TRUE(WriteFileBytes(dir.filePath(QStringLiteral("UpDate")), "#!/bin/sh\n"));
    for (const char* own : {"UpDate.pub", "slideshow.cfg", "UpDate.dat.minisig", "UpDate.state",
                            "UpDate.validators", "UpDate.healthy"})
        ASSERT_TRUE(WriteFileBytes(dir.filePath(QString::fromLatin1(own)), "own"));
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("sub")));
    ASSERT_TRUE(WriteFileBytes(dir.filePath(QStringLiteral("UpDate.dat")), "the old description"));

    QString error;
    const TReleaseInfo info{QStringLiteral("1.3"), QStringLiteral("Lanterna"),
                            QStringLiteral("http://updates.example/slideshow/"),
                            QStringLiteral("2027-01-01T00:00:00Z")};
    ASSERT_EQ(WriteReleaseDescription(dir.path(), info, error), 3) << error.toStdString();
    const TIniText text(ReadFileBytes(dir.filePath(QStringLiteral("UpDate.dat"))));
    EXPECT_EQ(Value(text, QStringLiteral("Ver")), QStringLiteral("1.3"));
    EXPECT_EQ(Value(text, QStringLiteral("ProductName")), QStringLiteral("Lanterna"));
    EXPECT_EQ(Value(text, QStringLiteral("Expires")), QStringLiteral("2027-01-01T00:00:00Z"));
    EXPECT_EQ(Value(text, QStringLiteral("Files")), QStringLiteral("3"));
    EXPECT_EQ(Value(text, QStringLiteral("File1")),
              QStringLiteral("http://updates.example/slideshow/Lanterna"));
    EXPECT_EQ(Value(text, QStringLiteral("File1Size")), QStringLiteral("300001"));
    EXPECT_EQ(Value(text, QStringLiteral("File1SHA256")),
              QString::fromLatin1(QCryptographicHash::hash(program, QCryptographicHash::Sha256).toHex()));
    EXPECT_EQ(Value(text, QStringLiteral("File2")),
              QStringLiteral("http://updates.example/slideshow/UpDate"));
    EXPECT_EQ(Value(text, QStringLiteral("File3")),
              QStringLiteral("http://updates.example/slideshow/my%20file.bin"));
    EXPECT_EQ(Value(text, QStringLiteral("File3Size")), QStringLiteral("0"));
    EXPECT_EQ(Value(text, QStringLiteral("File3SHA256")),
              QStringLiteral("e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855"));
    EXPECT_TRUE(Value(text, QStringLiteral("File4")).isNull());
}

TEST(ReleaseWriter, BadArgumentsWriteNothing) {
    QTemporaryDir dir;
    const TReleaseInfo good{
        QStringLiteral("1.3"), QStringLiteral("Lanterna"), QStringLiteral("http://h/x"), {}};
    const std::vector<std::function<void(TReleaseInfo&)>> spoilers = {
        [](TReleaseInfo& i) { i.Version = QStringLiteral("1.3-beta"); },
        [](TReleaseInfo& i) { i.ProductName = QStringLiteral("two\nlines"); },
        [](TReleaseInfo& i) { i.BaseUrl = QStringLiteral("ftp://h/x"); },
        [](TReleaseInfo& i) { i.BaseUrl = QStringLiteral("slideshow/"); },
        [](TReleaseInfo& i) { i.Expires = QStringLiteral("tomorrow"); },
    };
    for (const auto& spoil : spoilers) {
        TReleaseInfo info = good;
        spoil(info);
        QString error;
        EXPECT_EQ(WriteReleaseDescription(dir.path(), info, error), -1);
        EXPECT_FALSE(error.isEmpty());
    }
    EXPECT_TRUE(QDir(dir.path()).isEmpty());
    QString error;
    EXPECT_EQ(WriteReleaseDescription(dir.filePath(QStringLiteral("missing")), good, error), -1);
}
