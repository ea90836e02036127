#include "platform/file_read.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <sys/stat.h>

namespace lanterna {
namespace {

class FileRead : public ::testing::Test {
protected:
    QString Path(const char* name) const { return FDir.filePath(QString::fromLatin1(name)); }
    void Write(const char* name, const QByteArray& bytes) {
        QFile file(Path(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }
    QTemporaryDir FDir;
};

TEST_F(FileRead, RegularFilesAndLinksToThemAreReadWholeWithinTheLimit) {
    Write("a.bin", QByteArray("abc\0def", 7));
    ASSERT_TRUE(QFile::link(Path("a.bin"), Path("link.bin")));
    Write("empty.bin", {});
    EXPECT_EQ(ReadRegularFile(Path("a.bin"), 7), QByteArray("abc\0def", 7));
    EXPECT_EQ(ReadRegularFile(Path("link.bin"), 100), QByteArray("abc\0def", 7));
    EXPECT_EQ(ReadRegularFile(Path("empty.bin"), 0), QByteArray());
    EXPECT_EQ(ReadRegularFile(Path("a.bin"), 6), std::nullopt);
}

TEST_F(FileRead, EveryOpenedFileGivesItsDescriptorBack) {
    Write("a.bin", "abc");
    const auto openDescriptors = [] { return QDir(QStringLiteral("/proc/self/fd")).count(); };
    const qsizetype before = openDescriptors();
    for (int i = 0; i < 50; ++i) {
        TRegularFile file;
        ASSERT_TRUE(file.Open(Path("a.bin")));
        EXPECT_EQ(file.File().readAll(), QByteArray("abc"));
        EXPECT_EQ(ReadRegularFile(Path("a.bin"), 3), QByteArray("abc"));
    }
    EXPECT_EQ(openDescriptors(), before);
}

TEST_F(FileRead, NothingThatIsNoRegularFileIsReadOrWaitedFor) {
    ASSERT_EQ(::mkfifo(QFile::encodeName(Path("fifo.png")).constData(), 0600), 0);
    ASSERT_TRUE(QFile::link(QStringLiteral("/dev/zero"), Path("zero.png")));
    ASSERT_TRUE(QDir(FDir.path()).mkdir(QStringLiteral("folder.png")));
    ASSERT_TRUE(QFile::link(Path("folder.png"), Path("folder-link.png")));
    Write("locked.png", "secret");
    QFile::setPermissions(Path("locked.png"), QFileDevice::Permissions());
    {
        // A sparse file far larger than memory.
        QFile sparse(Path("huge.img"));
        ASSERT_TRUE(sparse.open(QIODevice::WriteOnly));
        ASSERT_TRUE(sparse.resize(qint64(64) << 30));
    }
    for (const char* name :
         {"fifo.png", "zero.png", "folder.png", "folder-link.png", "missing.png", "huge.img"}) {
        SCOPED_TRACE(name);
        EXPECT_EQ(ReadRegularFile(Path(name), qint64(256) << 20), std::nullopt);
        TRegularFile file;
        EXPECT_EQ(file.Open(Path(name)), QByteArray(name) == "huge.img");
    }
    if (::geteuid() != 0) {
        EXPECT_EQ(ReadRegularFile(Path("locked.png"), 100), std::nullopt);
    }
}

} // namespace
} // namespace lanterna
