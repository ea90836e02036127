#include "testing/small_disk.h"
#include "testing/test_files.h"
#include "testing/test_server.h"

#include "transfer/target_file.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <csignal>
#include <cstring>
#include <sys/resource.h>
#include <sys/stat.h>

using namespace lanterna;
using lanterna::testing::Pattern;
using lanterna::testing::ReadFileBytes;
using lanterna::testing::SmallDisk;
using lanterna::testing::WriteFileBytes;

namespace {

class TargetFile : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(Folder.isValid()); }
    QString Target() const { return Folder.filePath(QStringLiteral("file.bin")); }
    QStringList Files() const {
        return QDir(Folder.path()).entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
    }
    QByteArray Read() const {
        QFile file(Target());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
    }
    void WriteOld() const {
        QFile file(Target());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("old");
        file.close();
        ASSERT_EQ(::chmod(QFile::encodeName(Target()).constData(), 0750), 0);
    }
    static mode_t Mode(const QString& path) {
        struct stat info {};
        ::stat(QFile::encodeName(path).constData(), &info);
        return info.st_mode & 07777;
    }
    // Writes `bytes` over the target with a umask of 022, as a new file gets it.
    void Replace(const QByteArray& bytes) const {
        const mode_t previous = ::umask(022);
        TTargetFile file(Target(), 100);
        const bool opened = file.Open();
        ::umask(previous);
        ASSERT_TRUE(opened);
        ASSERT_EQ(file.Write(bytes.constData(), std::size_t(bytes.size())), TTargetFile::wrWritten);
        ASSERT_TRUE(file.Commit());
    }

    QTemporaryDir Folder;
};

} // namespace

TEST_F(TargetFile, ReplacesTheTargetOnlyWhenCommitted) {
    WriteOld();
    const QByteArray bytes = Pattern(3 * 1024 * 1024 + 123);
    TTargetFile file(Target(), bytes.size());
    ASSERT_TRUE(file.Open());
    // Small pieces fill batches, a large one goes straight through, then small ones again.
    qsizetype at = 0;
    for (const qsizetype piece : {4096, 1, 4095, 2 * 1024 * 1024, 7}) {
        ASSERT_EQ(file.Write(bytes.constData() + at, std::size_t(piece)), TTargetFile::wrWritten);
        at += piece;
    }
    ASSERT_EQ(file.Write(bytes.constData() + at, std::size_t(bytes.size() - at)), TTargetFile::wrWritten);
    EXPECT_EQ(Read(), "old") << "the target is untouched until the end";
    EXPECT_EQ(Files().size(), 2) << "the temporary file lies beside the target";
    ASSERT_TRUE(file.Commit());
    EXPECT_EQ(file.Size(), std::uint64_t(bytes.size()));
    EXPECT_EQ(Read(), bytes);
    EXPECT_EQ(Files(), QStringList({"file.bin"}));
    EXPECT_EQ(Mode(Target()), mode_t(0750)) << "a replaced file keeps its permissions";
}

TEST_F(TargetFile, ANewFileGetsTheUsualPermissions) {
    Replace("abc");
    EXPECT_EQ(Mode(Target()), mode_t(0644));
}

TEST_F(TargetFile, SpecialBitsStayBehindAndALinkLendsNoPermissions) {
    WriteOld();
    ASSERT_EQ(::chmod(QFile::encodeName(Target()).constData(), 07755), 0);
    Replace("new program");
    EXPECT_EQ(Mode(Target()), mode_t(0755)) << "no set-user-ID, set-group-ID or sticky bit";

    // The link itself is replaced; what it pointed to keeps its bytes and lends no permissions.
    const QString linked = Folder.filePath(QStringLiteral("linked.bin"));
    ASSERT_TRUE(WriteFileBytes(linked, "linked"));
    ASSERT_EQ(::chmod(QFile::encodeName(linked).constData(), 0700), 0);
    ASSERT_TRUE(QFile::remove(Target()));
    ASSERT_TRUE(QFile::link(linked, Target()));
    Replace("new");
    struct stat info {};
    ASSERT_EQ(::lstat(QFile::encodeName(Target()).constData(), &info), 0);
    EXPECT_TRUE(S_ISREG(info.st_mode)) << "the link is replaced by a file";
    EXPECT_EQ(Mode(Target()), mode_t(0644)) << "a new file's permissions, not those of the link's file";
    EXPECT_EQ(Read(), "new");
    EXPECT_EQ(ReadFileBytes(linked), "linked");
    EXPECT_EQ(Mode(linked), mode_t(0700));
}

TEST_F(TargetFile, EveryOtherEndingLeavesTheOldTargetAndNothingElse) {
    WriteOld();
    {
        TTargetFile dropped(Target(), 100);
        ASSERT_TRUE(dropped.Open());
        ASSERT_EQ(dropped.Write("new", 3), TTargetFile::wrWritten);
    }
    EXPECT_EQ(Files(), QStringList({"file.bin"})) << "destroyed without a commit";

    TTargetFile capped(Target(), 10);
    ASSERT_TRUE(capped.Open());
    EXPECT_EQ(capped.Write("0123456789", 10), TTargetFile::wrWritten) << "exactly the limit fits";
    EXPECT_EQ(capped.Write("x", 1), TTargetFile::wrTooLarge);
    EXPECT_EQ(Files(), QStringList({"file.bin"})) << "refused at once, before the end";
    EXPECT_FALSE(capped.Commit());
    EXPECT_EQ(Read(), "old");

    TTargetFile discarded(Target(), 100);
    ASSERT_TRUE(discarded.Open());
    discarded.Discard();
    EXPECT_FALSE(discarded.Commit());
    EXPECT_EQ(Read(), "old");
    EXPECT_EQ(Files(), QStringList({"file.bin"}));
}

TEST_F(TargetFile, WhatAKilledRunLeftIsRemovedByTheNextOneButNotALiveWritersFile) {
    const auto put = [&](const QString& name, qint64 ageSeconds) {
        QFile file(Folder.filePath(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("partial");
        ASSERT_TRUE(file.flush()); // a later flush would set the time anew
        ASSERT_TRUE(file.setFileTime(QDateTime::currentDateTimeUtc().addSecs(-ageSeconds),
                                     QFileDevice::FileModificationTime));
    };
    put(QStringLiteral(".file.bin.old1.part"), 2 * 60 * 60);
    put(QStringLiteral(".file.bin.live.part"), 10);
    put(QStringLiteral(".other.bin.old2.part"), 2 * 60 * 60);
    TTargetFile next(Target(), 100);
    ASSERT_TRUE(next.Open());
    ASSERT_EQ(next.Write("new", 3), TTargetFile::wrWritten);
    ASSERT_TRUE(next.Commit());
    EXPECT_EQ(Files(), QStringList({".file.bin.live.part", ".other.bin.old2.part", "file.bin"}))
        << "only this target's stale temporary goes";
    EXPECT_EQ(Read(), "new");
}

TEST_F(TargetFile, TheOwnerOfTheFolderRemovesEveryTemporaryAtOnce) {
    for (const QString name :
         {".file.bin.1a2b.part", ".other.bin.zz.part", ".notes.part", "keep.part", "sub/.file.bin.1a2b.part"})
        ASSERT_TRUE(WriteFileBytes(Folder.filePath(name), "partial"));
    ASSERT_TRUE(QFile::link(Folder.filePath("keep.part"), Folder.filePath(".link.bin.x1.part")));
    RemoveTemporaries(Folder.path());
    EXPECT_EQ(Files(), QStringList({".link.bin.x1.part", ".notes.part", "keep.part"}))
        << "fresh temporaries of any target go; other names, links and subfolders stay";
    EXPECT_TRUE(QFile::exists(Folder.filePath("sub/.file.bin.1a2b.part")));
}

TEST_F(TargetFile, AFullDiskKeepsTheOldFile) {
    const SmallDisk disk(4 * 1024 * 1024);
    if (!disk.Mounted())
        GTEST_SKIP() << "a small disk needs the right to mount a tmpfs: " << disk.Error().toStdString();
    const QString target = disk.FilePath(QStringLiteral("file.bin"));
    ASSERT_TRUE(WriteFileBytes(target, "old"));
    const QByteArray bytes = Pattern(6 * 1024 * 1024);
    TTargetFile file(target, UINT64_MAX);
    ASSERT_TRUE(file.Open());
    EXPECT_EQ(file.Write(bytes.constData(), std::size_t(bytes.size())), TTargetFile::wrFailed);
    EXPECT_EQ(file.ErrorString(), QString::fromLocal8Bit(std::strerror(ENOSPC)));
    EXPECT_FALSE(file.Commit());
    EXPECT_EQ(ReadFileBytes(target), "old");
    EXPECT_EQ(QDir(disk.Path()).entryList(QDir::Files | QDir::Hidden), QStringList({"file.bin"}));
    const TDiskRoom room = DiskRoom(disk.Path());
    EXPECT_GT(room.Free, 4u * 1024 * 1024 - 64 * 1024) << "the temporary's space is given back";
    EXPECT_EQ(room.Margin, 1024u * 1024) << "a small disk keeps the smallest margin";
}

TEST_F(TargetFile, FailuresOfTheSystemAreReported) {
    TTargetFile nowhere(Folder.filePath(QStringLiteral("missing/file.bin")), 100);
    EXPECT_FALSE(nowhere.Open());
    EXPECT_FALSE(nowhere.ErrorString().isEmpty());

    // A file size limit of the process makes the writes fail as a full disk would.
    WriteOld();
    rlimit previous{};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &previous), 0);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = previous;
    small.rlim_cur = 1024 * 1024;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    const QByteArray bytes = Pattern(3 * 1024 * 1024);
    TTargetFile full(Target(), std::uint64_t(bytes.size()));
    const bool opened = full.Open();
    const TTargetFile::TWriteResult written =
        opened ? full.Write(bytes.constData(), std::size_t(bytes.size())) : TTargetFile::wrWritten;
    ::setrlimit(RLIMIT_FSIZE, &previous);
    std::signal(SIGXFSZ, oldHandler);
    ASSERT_TRUE(opened);
    EXPECT_EQ(written, TTargetFile::wrFailed);
    EXPECT_FALSE(full.ErrorString().isEmpty());
    EXPECT_FALSE(full.Commit());
    EXPECT_EQ(Read(), "old");
    EXPECT_EQ(Files(), QStringList({"file.bin"}));
}
